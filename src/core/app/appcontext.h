// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

/// Where the program lives: the program folder holds the settings file, the
/// language library, the bitmap fonts, the templates and the folders "project"
/// and "tmp". The editor and the command-line tool use the folder of their
/// executable; tests pass a folder of their own.
class AppContext
{
public:
    /// \a programFolder without a trailing slash; \a baseName names the settings
    /// file (baseName + ".ini").
    explicit AppContext(const QString &programFolder, const QString &baseName = QStringLiteral("orvedit"));

    /// The folder of the running executable (needs a QCoreApplication).
    static AppContext FromApplication();

    QString ProgramFolder() const { return m_folder; }
    /// A file in the program folder.
    QString FilePath(const QString &name) const;
    QString SettingsPath() const;
    QString LanguageLibraryPath() const;
    QString SplashPicturePath() const;
    QString ManualPath() const;
    QString ProjectFolder() const;
    QString TmpFolder() const;
    /// The folder of the TrueType files taken from projects: "fonts" in the program
    /// folder, or, when that folder cannot be written (or made), "fonts" in the user's
    /// data folder (QStandardPaths::AppDataLocation). The editor and the command-line
    /// tool both use it.
    QString FontsFolder() const;
    /// The choice FontsFolder() makes, for any program folder and user data folder.
    static QString ChooseFontsFolder(const QString &programFolder, const QString &userDataFolder);

    /// Creates "project" and "tmp" (and missing parents). False with \a error when
    /// one of them cannot be made.
    bool CreateFolders(QString *error = nullptr) const;

private:
    QString m_folder;
    QString m_baseName;
};
