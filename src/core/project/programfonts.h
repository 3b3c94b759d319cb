// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "project/fontservices.h"

#include <QList>
#include <QString>
#include <QStringList>

struct FontSection;

/// The TrueType files of the program's fonts folder, added for the running program:
/// what was added (AddedFontFiles) is removed again at shut-down. The editor and the
/// command-line tool install a project's embedded fonts through it.
class ProgramFonts
{
public:
    /// \a services null: the system's (QFontDatabase).
    explicit ProgramFonts(const QString &folder, FontServices *services = nullptr);

    QString Folder() const { return m_folder; }
    FontServices &Services() const { return *m_services; }

    struct ScanResult
    {
        /// The family names (name ID 1) of the files that could be added, each once
        /// (letter case ignored), in file order.
        QStringList Families;
        /// The names the font database gives the added files' families.
        QStringList DatabaseFamilies;
    };

    /// Adds every "*.ttf" file of the folder (sorted by name) again: a file added
    /// before is removed first, so that a replaced file is read anew; a file that
    /// adds no font is skipped (and no longer counts as added).
    ScanResult AddFolderFonts();

    /// The full paths of the files added, each once, in the order they were first added.
    QStringList AddedFontFiles() const;
    /// Removes every added file from the font database, in list order.
    void RemoveAddedFonts();

    /// Writes the files of \a section into the folder (FontEmbedding::ExtractFonts) and
    /// adds the folder's fonts again (AddFolderFonts, result in \a scan). False with
    /// \a error when the section is unusable or a file cannot be written; the folder's
    /// fonts are added again in either case.
    bool InstallEmbedded(const FontSection &section, ScanResult *scan, QString *error);

private:
    struct Added
    {
        QString Path;
        int Id = -1;
    };

    QString m_folder;
    FontServices *m_services;
    QList<Added> m_added;
};
