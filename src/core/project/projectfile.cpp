// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/projectfile.h"

#include "project/bz2stream.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ProjectFile", text);
}

QString errorPrefix()
{
    return QStringLiteral("Error: ");
}

QString whereText(const QString &name, qint64 offset)
{
    return tr("%1, Byte %2 des entpackten Inhalts").arg(name).arg(offset);
}

/// Why an embedded file name cannot be used as a plain file name in a folder, or
/// an empty text when it can.
QString badFontName(const QByteArray &name)
{
    if (name.isEmpty())
        return tr("leerer Dateiname");
    if (name == "." || name == "..")
        return tr("ungültiger Dateiname");
    for (char c : name) {
        const uchar u = uchar(c);
        if (u < 0x20 || u == 0x7F)
            return tr("Steuerzeichen im Dateinamen");
        if (c == '/' || c == '\\' || c == ':')
            return tr("Ordner im Dateinamen");
    }
    return QString();
}

/// Why the header cannot be used, or an empty text.
QString badFontHeader(const FontHeader &h)
{
    if (h.Count < 0 || h.Count > FontHeader::kMaxFiles)
        return tr("Anzahl %1 außerhalb von 0..%2").arg(h.Count).arg(FontHeader::kMaxFiles);
    for (int i = 0; i < h.Count; ++i) {
        const qint32 size = h.FileSizes[size_t(i)];
        if (size < 0 || size > ProjectFile::kMaxFontFileSize)
            return tr("Datei %1: Größe %2 ungültig").arg(i + 1).arg(size);
        const QString why = badFontName(h.FileNames[size_t(i)]);
        if (!why.isEmpty())
            return tr("Datei %1: %2").arg(i + 1).arg(why);
    }
    return QString();
}

ProjectReadResult failure(const QString &error, const QString &where)
{
    ProjectReadResult r;
    r.Error = error;
    r.Where = where;
    return r;
}

/// Decompressed content straight from memory, read like a stream.
class BytesSource
{
public:
    explicit BytesSource(const QByteArray &data) : m_data(data) {}
    QByteArray read(qint64 maxSize)
    {
        const QByteArray part = m_data.mid(m_pos, maxSize);
        m_pos += part.size();
        return part;
    }
    bool hasError() const { return false; }
    QString errorString() const { return QString(); }
    qint64 totalOut() const { return m_pos; }

private:
    const QByteArray &m_data;
    qint64 m_pos = 0;
};

template<class Source>
ProjectReadResult parseContent(Source &stream, const QString &name)
{
    const auto streamFailure = [&stream, &name]() {
        return failure(stream.errorString(), whereText(name, stream.totalOut()));
    };

    ProjectReadResult result;
    QByteArray bytes = stream.read(ProjectRecord::kFormatMarkOffset + 1);
    if (stream.hasError())
        return streamFailure();
    const bool current = bytes.size() > ProjectRecord::kFormatMarkOffset
        && bytes[ProjectRecord::kFormatMarkOffset] != 0;
    const int recordSize = current ? ProjectRecord::kSize : ProjectRecord::kOldSize;
    bytes += stream.read(recordSize - bytes.size());
    if (stream.hasError())
        return streamFailure();
    if (!current) {
        if (bytes.size() < ProjectRecord::kOldSize)
            return failure(tr("Das Projekt im älteren Format ist unvollständig (%1 von %2 Bytes)")
                               .arg(bytes.size())
                               .arg(ProjectRecord::kOldSize),
                           whereText(name, bytes.size()));
        bytes = ProjectRecord::convertOldRecord(bytes);
        result.Warnings.append(tr("Das Projekt hat das ältere Format und wurde beim Lesen umgewandelt"));
    }

    ProjectFileContents contents;
    contents.Record = ProjectRecord::fromBytes(bytes);
    bytes.clear();

    // The font section: its header, then the files in header order.
    const qint64 headerOffset = stream.totalOut();
    const QByteArray headerBytes = stream.read(FontHeader::kSize);
    if (stream.hasError())
        return streamFailure();
    if (!headerBytes.isEmpty()) {
        const FontHeader header = FontHeader::fromBytes(headerBytes);
        QString dropped;
        if (headerBytes.size() < FontHeader::kSize) {
            dropped = tr("Kopf unvollständig");
        } else {
            dropped = badFontHeader(header);
        }
        QList<QByteArray> files;
        for (int i = 0; dropped.isEmpty() && i < header.Count; ++i) {
            const qint32 size = header.FileSizes[size_t(i)];
            QByteArray data = stream.read(size);
            if (stream.hasError())
                return streamFailure();
            if (data.size() < size)
                dropped = tr("Datei %1 unvollständig (%2 von %3 Bytes)").arg(i + 1).arg(data.size()).arg(size);
            files.append(std::move(data));
        }
        if (dropped.isEmpty()) {
            contents.Fonts.Header = header;
            contents.Fonts.Files = files;
        } else {
            contents.Fonts.Refused = dropped;
            result.Warnings.append(tr("Eingebettete Fonts werden nicht verwendet: %1 (%2)")
                                       .arg(dropped, whereText(name, headerOffset)));
        }
    }

    contents.Record.sanitize(result.Warnings);
    result.Contents = std::move(contents);
    return result;
}

} // namespace

ProjectReadResult ProjectFile::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(file.errorString(), path);
    return readDevice(&file, path);
}

ProjectReadResult ProjectFile::decode(const QByteArray &fileBytes, const QString &name)
{
    QBuffer buffer;
    buffer.setData(fileBytes);
    buffer.open(QIODevice::ReadOnly);
    return readDevice(&buffer, name);
}

ProjectReadResult ProjectFile::readDevice(QIODevice *device, const QString &name)
{
    Bz2Stream stream(device, Bz2Stream::Mode::Decompress);
    return parseContent(stream, name);
}

ProjectReadResult ProjectFile::decodeContent(const QByteArray &content, const QString &name)
{
    BytesSource source(content);
    return parseContent(source, name);
}

QByteArray ProjectFile::content(const ProjectRecord &record, const FontSection &fonts)
{
    QByteArray out = record.toBytes();
    out[ProjectRecord::kFormatMarkOffset] = 1;
    const int count = int(qMin<qsizetype>(fonts.Files.size(), FontHeader::kMaxFiles));
    if (count > 0) {
        FontHeader header = fonts.Header;
        header.Count = count;
        for (int i = 0; i < FontHeader::kMaxFiles; ++i) {
            if (i < count) {
                header.FileSizes[size_t(i)] = qint32(fonts.Files[i].size());
            } else {
                header.FileNames[size_t(i)].clear();
                header.FileSizes[size_t(i)] = 0;
            }
        }
        out += header.toBytes();
        for (int i = 0; i < count; ++i)
            out += fonts.Files[i];
    }
    return out;
}

bool ProjectFile::write(const QString &path, const ProjectRecord &record, const FontSection &fonts,
                        QString *error)
{
    const auto fail = [error](const QString &message) {
        if (error)
            *error = errorPrefix() + message;
        return false;
    };
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    const QByteArray data = content(record, fonts);
    {
        Bz2Stream stream(&file, Bz2Stream::Mode::Compress);
        if (!stream.write(data) || !stream.finish()) {
            file.cancelWriting();
            return fail(stream.errorString());
        }
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

QString ProjectFile::convertTempPath(const QString &path)
{
    // The same name with the extension replaced, as long as that does not name the
    // file itself.
    const int slash = int(path.lastIndexOf(QLatin1Char('/')));
    const int dot = int(path.lastIndexOf(QLatin1Char('.')));
    const QString base = dot > slash ? path.left(dot) : path;
    QString temp = base + QStringLiteral(".$$$");
    if (temp == path)
        temp = path + QStringLiteral(".$$$");
    return temp;
}

ConvertResult ProjectFile::ConvertOldProject(const QString &path)
{
    ConvertResult result;
    const auto fail = [&result](const QString &message) {
        result.Result = ConvertResult::Status::Failed;
        result.Error = message;
        return result;
    };

    QByteArray record;
    QByteArray header;
    QList<QByteArray> files;
    {
        QFile source(path);
        if (!source.open(QIODevice::ReadOnly))
            return fail(source.errorString());
        Bz2Stream stream(&source, Bz2Stream::Mode::Decompress);
        record = stream.read(ProjectRecord::kOldSize);
        if (stream.hasError())
            return fail(stream.errorString());
        if (record.size() > ProjectRecord::kFormatMarkOffset && record[ProjectRecord::kFormatMarkOffset] != 0) {
            result.Result = ConvertResult::Status::CurrentFormat;
            return result;
        }
        if (record.size() < ProjectRecord::kOldSize)
            return fail(tr("%1: Das Projekt im älteren Format ist unvollständig (%2 von %3 Bytes) "
                           "und wird nicht umgewandelt")
                            .arg(path)
                            .arg(record.size())
                            .arg(ProjectRecord::kOldSize));
        header = stream.read(FontHeader::kSize);
        if (stream.hasError())
            return fail(stream.errorString());
        header.append(QByteArray(FontHeader::kSize - header.size(), '\0'));
        const FontHeader fh = FontHeader::fromBytes(header);
        if (fh.Count < 0 || fh.Count > FontHeader::kMaxFiles)
            return fail(tr("%1: Eingebettete Fonts: Anzahl %2 außerhalb von 0..%3; nicht umgewandelt")
                            .arg(path)
                            .arg(fh.Count)
                            .arg(FontHeader::kMaxFiles));
        for (int i = 0; i < fh.Count; ++i) {
            const qint32 size = fh.FileSizes[size_t(i)];
            if (size < 0 || size > kMaxFontFileSize)
                return fail(tr("%1: Eingebettete Fonts: Datei %2 hat die ungültige Größe %3; nicht umgewandelt")
                                .arg(path)
                                .arg(i + 1)
                                .arg(size));
            QByteArray data = stream.read(size);
            if (stream.hasError())
                return fail(stream.errorString());
            if (data.size() < size)
                return fail(tr("%1: Eingebettete Fonts: Datei %2 unvollständig; nicht umgewandelt")
                                .arg(path)
                                .arg(i + 1));
            files.append(std::move(data));
        }
    }

    const QString tempPath = convertTempPath(path);
    {
        QFile temp(tempPath);
        if (!temp.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return fail(tr("%1: %2").arg(tempPath, temp.errorString()));
        bool ok = true;
        QString message;
        {
            Bz2Stream stream(&temp, Bz2Stream::Mode::Compress);
            ok = stream.write(ProjectRecord::convertOldRecord(record)) && stream.write(header);
            for (int i = 0; ok && i < files.size(); ++i)
                ok = stream.write(files[i]);
            ok = ok && stream.finish();
            if (!ok)
                message = stream.errorString();
        }
        if (ok && (!temp.flush() || ::fsync(temp.handle()) != 0)) {
            ok = false;
            message = temp.errorString();
        }
        temp.close();
        if (!ok) {
            QFile::remove(tempPath);
            return fail(tr("%1: %2").arg(tempPath, message));
        }
        temp.setPermissions(QFile::permissions(path));
    }

    if (std::rename(QFile::encodeName(tempPath).constData(), QFile::encodeName(path).constData()) != 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        return fail(tr("Die umgewandelte Datei %1 konnte %2 nicht ersetzen (%3); beide Dateien bleiben erhalten")
                        .arg(tempPath, path, reason));
    }
    result.Result = ConvertResult::Status::Converted;
    return result;
}
