// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

/// A fixed-cell bitmap font read from a ".fnt" text file.
///
/// The file holds one value per line (line breaks CR LF, LF or CR):
///   1 font name (the first 15 characters are kept)
///   2 GlyphWidth, 3 GlyphHeight, 4 Pitch, 5 FirstChar, 6 LastChar, 7 BytesPerGlyph
///     (integers: decimal, or hexadecimal after a leading "$"; FirstChar and LastChar
///     keep their low 8 bits)
///   8... glyph data, 8 bytes a line as 16 hexadecimal digits, first byte first;
///     (LastChar - FirstChar + 1) x BytesPerGlyph div 8 lines, later lines are ignored.
///
/// A glyph is GlyphHeight rows of BytesPerGlyph div GlyphWidth bytes each, top row
/// first, most significant bit of a row's first byte leftmost.
///
/// The reader accepts a file only when it can be drawn safely:
///   - every line up to the last data line is present;
///   - GlyphWidth, GlyphHeight and Pitch are 1..kMaxGlyphSize, BytesPerGlyph is
///     1..kMaxBytesPerGlyph;
///   - FirstChar <= LastChar (after taking the low 8 bits);
///   - a glyph's rows fit its bytes: R = BytesPerGlyph div GlyphWidth >= 1 and
///     GlyphHeight x R <= BytesPerGlyph (columns beyond the 8 x R bits of a row are unlit);
///   - each data line starts with 16 hexadecimal digits.
/// When the data size is not a multiple of 8, the bytes after the last full data line
/// are 0. A refused file leaves the font empty; the error text names the file and the
/// line.
class TUserFont
{
public:
    static constexpr int kMaxGlyphSize = 256;
    static constexpr int kMaxBytesPerGlyph = 8192;
    static constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

    TUserFont() = default;
    /// Loads \a fileName; on failure the font stays empty and \a error (if given) says why.
    explicit TUserFont(const QString &fileName, QString *error = nullptr);

    QString FontName;
    int GlyphWidth = 0;
    int GlyphHeight = 0;
    int Pitch = 0;
    int BytesPerGlyph = 0;
    QByteArray GlyphData;
    quint8 FirstChar = 0;
    quint8 LastChar = 0;

    void Clear();
    bool IsEmpty() const { return GlyphData.isEmpty(); }

    /// Reads a .fnt file. A missing file gives the text "<fileName> nicht vorhanden".
    bool LoadFromFile(const QString &fileName, QString *error = nullptr);
    /// Reads the bytes of a .fnt file; \a name is the file name used in error texts.
    bool LoadFromData(const QByteArray &data, const QString &name, QString *error = nullptr);

    /// Whether \a code has a glyph (FirstChar..LastChar of a loaded font).
    bool HasGlyph(int code) const;
    /// Byte \a index of the glyph of \a code; 0 for a code without a glyph or an
    /// index outside the glyph.
    quint8 GlyphByte(int code, int index) const;
};
