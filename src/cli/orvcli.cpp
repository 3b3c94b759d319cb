// SPDX-License-Identifier: GPL-3.0-or-later
#include "orvcli.h"

#include "app/layoutreport.h"
#include "display/layouts.h"
#include "display/userfont.h"

using namespace Qt::StringLiterals;

OrvCli::OrvCli(const AppContext &context, QTextStream &out, QTextStream &err)
    : m_context(context), m_out(out), m_err(err)
{
}

int OrvCli::Layouts()
{
    // The layouts need both bitmap fonts, as in the editor.
    TUserFont font1;
    TUserFont font2;
    QString error;
    if (!font1.LoadFromFile(m_context.FilePath(u"terminal1.fnt"_s), &error)
        || !font2.LoadFromFile(m_context.FilePath(u"terminal2.fnt"_s), &error)) {
        m_err << error << Qt::endl;
        return 1;
    }
    const DisplayLayouts layouts(&font1, &font2);
    m_out << LayoutReport::Text(layouts);
    m_out.flush();
    return 0;
}

int OrvCli::Demo()
{
    m_out << "Kelvra ORV-Editor " << QStringLiteral(ORV_VERSION) << Qt::endl;
    m_out << "Program folder: " << m_context.ProgramFolder() << Qt::endl << Qt::endl;
    return Layouts();
}
