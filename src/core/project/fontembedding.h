// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "project/projectfile.h"

#include <QString>
#include <QStringList>

class FontFiles;

/// The TrueType files carried in a project file: the section built from a family's
/// files when saving, and the files written back into the fonts folder when a
/// project's family is missing.
class FontEmbedding
{
public:
    /// A stored file name keeps at most this many characters.
    static constexpr int kMaxNameChars = FontHeader::kNameField - 1;

    /// The section for the first (at most eight) of \a files, in the given order: the
    /// file names without folder, cut to 30 characters, the sizes and the bytes as
    /// they are now. A file that cannot be read, or is larger than
    /// ProjectFile::kMaxFontFileSize, is left out with a line in \a warnings.
    static FontSection BuildFontSection(const QStringList &files, QStringList *warnings = nullptr);

    /// What saving embeds for the floor font \a family: the files \a finder finds for
    /// the family name as it is stored (cut to 41 characters), at most eight; an empty
    /// section when none are found.
    static FontSection ForFamily(const QString &family, const FontFiles &finder, QStringList *warnings = nullptr);

    /// A stored name made a plain file name in the fonts folder: folders and control
    /// characters are removed, the rest is cut to 30 characters, a name of dots only
    /// is dropped (an empty result becomes
    /// "font<index + 1>"), and ".ttf" is appended when the name does not end with it
    /// (a name cut to 30 characters may have lost it).
    static QString SafeFileName(const QByteArray &storedName, int index);

    /// Why the section cannot be extracted (too many files, a file too large, sizes
    /// that disagree with the header), or an empty text.
    static QString CheckSection(const FontSection &section);

    /// Writes the files of \a section into \a folder (created when missing), each
    /// under its SafeFileName. Every file is written to a temporary file in the folder
    /// first and then renamed over the old one, so a font in use is never rewritten
    /// in place. On an error the files written so far stay; \a error says what failed.
    static bool ExtractFonts(const FontSection &section, const QString &folder, QStringList *written,
                             QString *error);
};
