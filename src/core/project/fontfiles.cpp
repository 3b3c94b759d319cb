// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/fontfiles.h"

#include "project/ttfcomp.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>

#include <fontconfig/fontconfig.h>

#include <algorithm>

namespace {

bool isBlankOrControl(QChar c)
{
    return c.unicode() <= 0x20 || c.category() == QChar::Other_Control;
}

/// The identity of a file for finding duplicates: its canonical path, or the cleaned
/// path when it cannot be resolved.
QString identity(const QFileInfo &info)
{
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

} // namespace

QStringList FontFiles::SystemFontFolders()
{
    QStringList folders;
    if (!FcInit())
        return folders;
    FcStrList *dirs = FcConfigGetFontDirs(nullptr);
    if (!dirs)
        return folders;
    while (FcChar8 *dir = FcStrListNext(dirs)) {
        const QString folder = QDir::cleanPath(QFile::decodeName(reinterpret_cast<const char *>(dir)));
        if (!folder.isEmpty() && !folders.contains(folder))
            folders.append(folder);
    }
    FcStrListDone(dirs);
    return folders;
}

QString FontFiles::FamilyKey(const QString &family)
{
    qsizetype first = 0;
    qsizetype last = family.size();
    while (first < last && isBlankOrControl(family[first]))
        ++first;
    while (last > first && isBlankOrControl(family[last - 1]))
        --last;
    QString key = family.mid(first, last - first);
    for (QChar &c : key) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - u'a' + u'A');
    }
    return key;
}

bool FontFiles::IsTtfName(const QString &fileName)
{
    return fileName.endsWith(QLatin1String(".ttf"), Qt::CaseInsensitive);
}

QStringList FontFiles::TtfFilesIn(const QStringList &folders, bool recursive)
{
    QSet<QString> seen;
    QStringList files;
    const auto take = [&seen, &files](const QFileInfo &info) {
        if (!info.isFile() || !IsTtfName(info.fileName()))
            return;
        const QString id = identity(info);
        if (seen.contains(id))
            return;
        seen.insert(id);
        files.append(QDir::cleanPath(info.absoluteFilePath()));
    };
    for (const QString &folder : folders) {
        if (folder.isEmpty() || !QFileInfo(folder).isDir())
            continue;
        // Links to folders are not followed: they could lead in a circle; the folders
        // they point to are listed by fontconfig on their own.
        QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                        recursive ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags);
        while (it.hasNext()) {
            it.next();
            take(it.fileInfo());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

QStringList FontFiles::EffectiveSystemFolders() const
{
    if (UseGivenSystemFolders || !SystemFolders.isEmpty())
        return SystemFolders;
    return SystemFontFolders();
}

bool FontFiles::FindFontFiles(const QString &family, QStringList &list) const
{
    list.clear();
    const QString key = FamilyKey(family);
    if (key.isEmpty())
        return false;
    TTtfComp ttf;
    ttf.InclFontSubFamName = false;
    ttf.InclFontFullName = false;
    const auto search = [&](const QStringList &files) {
        for (const QString &file : files) {
            if (ttf.ReadNames(file) && FamilyKey(ttf.FamilyName) == key)
                list.append(file);
        }
    };
    search(TtfFilesIn(EffectiveSystemFolders(), true));
    if (!list.isEmpty())
        return true;
    if (!ProgramFontsFolder.isEmpty())
        search(TtfFilesIn({ProgramFontsFolder}, false));
    return !list.isEmpty();
}
