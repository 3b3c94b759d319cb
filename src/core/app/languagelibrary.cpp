// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/languagelibrary.h"

#include <QFile>

using namespace Qt::StringLiterals;

bool LanguageLibrary::Load(const QString &fileName, QString *error)
{
    m_loaded = false;
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = fileName + u": "_s + f.errorString();
        return false;
    }
    QByteArray data = f.readAll();
    // Keep the old bytes until the translator no longer refers to them.
    QByteArray previous = m_data;
    m_data = data;
    if (m_data.isEmpty()
        || !m_translator.load(reinterpret_cast<const uchar *>(m_data.constData()), int(m_data.size()))) {
        if (error)
            *error = fileName + u": keine gültige Sprachdatei"_s;
        return false;
    }
    m_loaded = true;
    return true;
}
