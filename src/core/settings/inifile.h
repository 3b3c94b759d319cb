// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

/// A Windows INI file, read and written the way the Windows profile functions do.
///
/// Every call opens the file, reads or rewrites it and closes it again; nothing is
/// cached, so edits made by someone else between two calls are seen. The file is
/// Windows-1252 text with CR LF or LF line ends.
///
/// Reading: section and key names match without regard to case, the first matching
/// section and, inside it, the first matching key win. Values are trimmed and one
/// pair of matching quotes around them is removed; "Key=" reads as an empty text,
/// not as the default. Integers are decimal or "$" followed by hexadecimal digits;
/// anything else (also "false") gives the default. Booleans are integers, any
/// value other than 0 meaning true.
///
/// Writing: an existing key is replaced in place, a new key is appended after the
/// last entry of its section, a new section is appended at the end of the file.
/// The file is replaced atomically; a failed write leaves the old file untouched
/// and returns false with ErrorString() saying why.
class IniFile
{
public:
    explicit IniFile(const QString &fileName);

    QString FileName() const { return m_fileName; }

    QString ReadString(const QString &section, const QString &key, const QString &def) const;
    int ReadInteger(const QString &section, const QString &key, int def) const;
    bool ReadBool(const QString &section, const QString &key, bool def) const;
    /// True when the section holds the key (with any value, also an empty one).
    bool ValueExists(const QString &section, const QString &key) const;

    bool WriteString(const QString &section, const QString &key, const QString &value);
    bool WriteInteger(const QString &section, const QString &key, int value);
    bool WriteBool(const QString &section, const QString &key, bool value);

    QString ErrorString() const { return m_error; }

    /// Integer text as the reader understands it: optional sign and decimal digits,
    /// or "$" and up to eight hexadecimal digits (a 32-bit pattern, so "$FFFFFFFF"
    /// is -1). Surrounding blanks are ignored. Returns \a def for anything else.
    static int ParseInteger(const QString &text, int def);

private:
    bool findValue(const QString &section, const QString &key, QString *value) const;

    QString m_fileName;
    QString m_error;
};
