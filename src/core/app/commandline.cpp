// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commandline.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

CommandLine CommandLine::Parse(const QStringList &parameters)
{
    CommandLine c;
    for (qsizetype i = 0; i < qMin<qsizetype>(2, parameters.size()); ++i) {
        const QString &p = parameters.at(i);
        if (p.compare(u"/NOSPLASH"_s, Qt::CaseInsensitive) == 0)
            c.NoSplash = true;
        else if (!p.isEmpty() && QFileInfo(p).isFile())
            c.ProjectFile = QFileInfo(p).absoluteFilePath();
    }
    return c;
}
