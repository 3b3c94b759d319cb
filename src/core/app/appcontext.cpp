// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/appcontext.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

AppContext::AppContext(const QString &programFolder, const QString &baseName)
    : m_folder(QDir::cleanPath(programFolder)), m_baseName(baseName)
{
}

AppContext AppContext::FromApplication()
{
    // The editor and the command-line tool share one settings file.
    return AppContext(QCoreApplication::applicationDirPath(), u"orvedit"_s);
}

QString AppContext::FilePath(const QString &name) const
{
    return m_folder + u'/' + name;
}

QString AppContext::SettingsPath() const
{
    return FilePath(m_baseName + u".ini"_s);
}

QString AppContext::LanguageLibraryPath() const
{
    return FilePath(u"orvedit.eng"_s);
}

QString AppContext::SplashPicturePath() const
{
    return FilePath(u"splash.jpg"_s);
}

QString AppContext::ManualPath() const
{
    return FilePath(u"orvedit.html"_s);
}

QString AppContext::ProjectFolder() const
{
    return FilePath(u"project"_s);
}

QString AppContext::TmpFolder() const
{
    return FilePath(u"tmp"_s);
}

QString AppContext::FontsFolder() const
{
    const QString userData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return ChooseFontsFolder(m_folder, userData.isEmpty() ? QString() : userData + u"/fonts"_s);
}

QString AppContext::ChooseFontsFolder(const QString &programFolder, const QString &userDataFolder)
{
    const QString own = QDir::cleanPath(programFolder) + u"/fonts"_s;
    if (userDataFolder.isEmpty())
        return own;
    const QFileInfo ownInfo(own);
    // An existing "fonts" folder must take new files; a missing one must be creatable.
    const bool usable = ownInfo.exists() ? ownInfo.isDir() && ownInfo.isWritable()
                                         : QFileInfo(programFolder).isWritable();
    return usable ? own : QDir::cleanPath(userDataFolder);
}

bool AppContext::CreateFolders(QString *error) const
{
    for (const QString &folder : {ProjectFolder(), TmpFolder()}) {
        if (!QDir().mkpath(folder)) {
            if (error)
                *error = folder;
            return false;
        }
    }
    return true;
}
