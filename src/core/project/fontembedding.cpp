// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/fontembedding.h"

#include "project/fontfiles.h"
#include "util/win1252.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("FontEmbedding", text);
}

} // namespace

FontSection FontEmbedding::BuildFontSection(const QStringList &files, QStringList *warnings)
{
    FontSection section;
    for (const QString &path : files) {
        if (section.Files.size() >= FontHeader::kMaxFiles)
            break;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            if (warnings)
                warnings->append(tr("Font-Datei %1 nicht eingebettet: %2").arg(path, file.errorString()));
            continue;
        }
        if (file.size() > ProjectFile::kMaxFontFileSize) {
            if (warnings)
                warnings->append(tr("Font-Datei %1 nicht eingebettet: größer als %2 Bytes")
                                     .arg(path)
                                     .arg(ProjectFile::kMaxFontFileSize));
            continue;
        }
        QByteArray data = file.readAll();
        if (file.error() != QFileDevice::NoError || data.size() > ProjectFile::kMaxFontFileSize) {
            if (warnings)
                warnings->append(tr("Font-Datei %1 nicht eingebettet: %2").arg(path, file.errorString()));
            continue;
        }
        const int i = int(section.Files.size());
        section.Header.FileNames[size_t(i)] = Win1252::fromUnicode(QFileInfo(path).fileName()).left(kMaxNameChars);
        section.Header.FileSizes[size_t(i)] = qint32(data.size());
        section.Files.append(std::move(data));
    }
    section.Header.Count = qint32(section.Files.size());
    return section;
}

FontSection FontEmbedding::ForFamily(const QString &family, const FontFiles &finder, QStringList *warnings)
{
    const QString stored = Win1252::toUnicode(Win1252::fromUnicode(family).left(ProjectRecord::kFontNameChars));
    QStringList files;
    if (!finder.FindFontFiles(stored, files))
        return FontSection();
    return BuildFontSection(files, warnings);
}

QString FontEmbedding::SafeFileName(const QByteArray &storedName, int index)
{
    QString name = Win1252::toUnicode(storedName);
    const qsizetype slash = qMax(name.lastIndexOf(u'/'), name.lastIndexOf(u'\\'));
    if (slash >= 0)
        name = name.mid(slash + 1);
    QString plain;
    plain.reserve(name.size());
    for (QChar c : std::as_const(name)) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c.category() == QChar::Other_Control)
            continue;
        plain.append(c);
    }
    // As long as a stored name can be, so that a name given here is extracted
    // exactly as it would be after a round trip through a project file.
    plain.truncate(kMaxNameChars);
    // Without the extension nothing but dots (or nothing at all) is no usable name.
    QString stem = FontFiles::IsTtfName(plain) ? plain.chopped(4) : plain;
    bool onlyDots = true;
    for (QChar c : std::as_const(stem))
        onlyDots = onlyDots && c == u'.';
    if (onlyDots)
        plain = QStringLiteral("font%1").arg(index + 1);
    if (!FontFiles::IsTtfName(plain))
        plain += QLatin1String(".ttf");
    return plain;
}

QString FontEmbedding::CheckSection(const FontSection &section)
{
    const qsizetype count = section.Files.size();
    if (section.Header.Count < 0 || section.Header.Count > FontHeader::kMaxFiles || count > FontHeader::kMaxFiles)
        return tr("Anzahl %1 außerhalb von 0..%2").arg(qMax<qsizetype>(section.Header.Count, count)).arg(FontHeader::kMaxFiles);
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype size = section.Files[i].size();
        if (size > ProjectFile::kMaxFontFileSize)
            return tr("Datei %1: Größe %2 ungültig").arg(i + 1).arg(size);
        if (section.Header.FileSizes[size_t(i)] != size)
            return tr("Datei %1: Größe %2 statt %3").arg(i + 1).arg(size).arg(section.Header.FileSizes[size_t(i)]);
    }
    return QString();
}

bool FontEmbedding::ExtractFonts(const FontSection &section, const QString &folder, QStringList *written,
                                 QString *error)
{
    const auto fail = [error](const QString &message) {
        if (error)
            *error = message;
        return false;
    };
    const QString problem = CheckSection(section);
    if (!problem.isEmpty())
        return fail(tr("Eingebettete Fonts werden nicht verwendet: %1").arg(problem));
    if (section.Files.isEmpty())
        return true;
    if (!QDir().mkpath(folder))
        return fail(tr("Der Ordner %1 kann nicht angelegt werden").arg(folder));
    const QDir dir(folder);
    for (qsizetype i = 0; i < section.Files.size(); ++i) {
        const QString path = dir.filePath(SafeFileName(section.Header.FileNames[size_t(i)], int(i)));
        // QSaveFile writes beside the target under another name and renames it at the
        // end; an older file of the same name that is in use keeps its contents.
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return fail(tr("%1: %2").arg(path, file.errorString()));
        if (file.write(section.Files[i]) != section.Files[i].size()) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return fail(tr("%1: %2").arg(path, reason));
        }
        if (!file.commit())
            return fail(tr("%1: %2").arg(path, file.errorString()));
        if (written && !written->contains(path))
            written->append(path);
    }
    return true;
}
