// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "project/projectrecord.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class QIODevice;

/// The TrueType files carried after the project record, kept as opaque bytes.
struct FontSection
{
    /// Names are used as given (cut to 30 characters when written); Count and the
    /// sizes are taken from Files when writing.
    FontHeader Header;
    QList<QByteArray> Files;
    /// Why a font section present in the file was not taken (empty when it was, or
    /// when there was none).
    QString Refused;

    bool isEmpty() const { return Files.isEmpty(); }
};

/// What a project file holds.
struct ProjectFileContents
{
    ProjectRecord Record;
    FontSection Fonts;
};

/// The result of reading a project file: the contents, or an error. Warnings name
/// what was repaired or left out (the contents are still usable).
struct ProjectReadResult
{
    std::optional<ProjectFileContents> Contents;
    /// The message for the user, e.g. "error -5" for data that are not bzip2.
    QString Error;
    /// Where the error occurred: the file and the decompressed byte offset.
    QString Where;
    QStringList Warnings;

    bool ok() const { return Contents.has_value(); }
};

/// The result of ConvertOldProject.
struct ConvertResult
{
    enum class Status {
        CurrentFormat, ///< The file is in the current format and was not touched.
        Converted,     ///< The file was rewritten in the current format.
        Failed,        ///< Nothing was replaced; Error says why.
    };
    Status Result = Status::Failed;
    QString Error;
};

/// Reading and writing project files: one bzip2 stream holding ProjectRecord,
/// optionally followed by FontHeader and the embedded font files.
class ProjectFile
{
public:
    /// Embedded font files larger than this are not accepted by the reader.
    static constexpr qint32 kMaxFontFileSize = 64 * 1024 * 1024;

    /// Reads the file at \a path (opened for reading only). Everything is decoded
    /// and checked before the result is returned: values the editor cannot use
    /// are clamped or emptied with a warning (ProjectRecord::sanitize), an invalid
    /// or cut-short font section is dropped with a warning. A stream that ends
    /// inside the record leaves the rest of it zero. A record in the older format
    /// is converted in memory (with a warning).
    static ProjectReadResult read(const QString &path);
    /// The same for the bytes of a file; \a name is used in messages.
    static ProjectReadResult decode(const QByteArray &fileBytes, const QString &name = QString());
    /// The same for content that is already decompressed.
    static ProjectReadResult decodeContent(const QByteArray &content, const QString &name = QString());

    /// Writes \a record (with FormatMark 1) and, when \a fonts holds files, the font
    /// section, as one bzip2 stream. The file is replaced only when everything was
    /// written: a failed save leaves the previous file as it was. Errors read
    /// "Error: " followed by the system's message.
    static bool write(const QString &path, const ProjectRecord &record, const FontSection &fonts,
                      QString *error);
    /// The decompressed content that write() stores.
    static QByteArray content(const ProjectRecord &record, const FontSection &fonts);

    /// Rewrites a file of the older format (974511-byte record, FormatMark 0) in the
    /// current format: written to the file with the extension ".$$$" in the same
    /// folder, which then replaces the original by an atomic rename. A file in the
    /// current format is only read. An older-format record shorter than 974511
    /// bytes is not converted. On failure the original stays as it was, and so does
    /// the ".$$$" file when only the final rename failed.
    static ConvertResult ConvertOldProject(const QString &path);
    /// The path of the temporary file ConvertOldProject writes for \a path.
    static QString convertTempPath(const QString &path);

private:
    static ProjectReadResult readDevice(QIODevice *device, const QString &name);
};
