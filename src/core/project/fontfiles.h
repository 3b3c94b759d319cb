// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

/// Finds the TrueType files of a font family: first in the system's font folders,
/// then in the program's own fonts folder.
class FontFiles
{
public:
    /// The folders searched first (each recursively). Empty by default: take them from
    /// SystemFontFolders(). Tests put their own folders here.
    QStringList SystemFolders;
    /// When true, SystemFolders is used even when it is empty (no system folders).
    bool UseGivenSystemFolders = false;
    /// The program's fonts folder (not recursive); empty for none.
    QString ProgramFontsFolder;

    /// The font folders fontconfig knows, cleaned, without duplicates, in the order
    /// fontconfig lists them.
    static QStringList SystemFontFolders();

    /// The family name as compared: leading and trailing blanks and control
    /// characters removed, the letters a-z in upper case (nothing else changed).
    static QString FamilyKey(const QString &family);
    /// True when the file name ends with ".ttf" in any letter case.
    static bool IsTtfName(const QString &fileName);
    /// The "*.ttf" files in \a folders (each searched recursively when \a recursive),
    /// every file once even when folders overlap or links point to the same file,
    /// sorted by path.
    static QStringList TtfFilesIn(const QStringList &folders, bool recursive);

    /// The system folders in effect (SystemFolders or SystemFontFolders()).
    QStringList EffectiveSystemFolders() const;

    /// Fills \a list with the full paths of the .ttf files whose family name (name ID 1)
    /// matches \a family: those of the system folders when there are any, otherwise
    /// those of the program's fonts folder. True when at least one was found.
    bool FindFontFiles(const QString &family, QStringList &list) const;
};
