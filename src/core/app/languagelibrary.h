// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QTranslator>

/// The English language library "orvedit.eng": a compiled Qt translation loaded
/// from exactly that file (QTranslator's own file search would try other names
/// first). The texts of the program are German; the library replaces them.
class LanguageLibrary
{
public:
    LanguageLibrary() = default;
    LanguageLibrary(const LanguageLibrary &) = delete;
    LanguageLibrary &operator=(const LanguageLibrary &) = delete;

    /// Reads and checks \a fileName. False with \a error when the file is missing,
    /// unreadable or not a translation; the library then stays unloaded.
    bool Load(const QString &fileName, QString *error = nullptr);
    bool IsLoaded() const { return m_loaded; }
    /// The translator to install; it lives as long as this object.
    QTranslator *Translator() { return &m_translator; }

private:
    QByteArray m_data; // the translator reads from these bytes for its whole life
    QTranslator m_translator;
    bool m_loaded = false;
};
