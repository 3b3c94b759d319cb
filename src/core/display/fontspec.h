// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QImage>
#include <QRgb>
#include <QString>

/// An outline font as the program carries it: what QFont lacks (colour, character
/// set) plus a signed point size. A size s > 0 is an em height of MulDiv(s, 96, 72)
/// pixels; s < 0 is a cell height (ascent + descent) of MulDiv(-s, 96, 72) pixels;
/// 0 (and the "not fitted" marker 9999) draws nothing.
struct FontSpec
{
    QString Name;
    int Charset = 1; // DEFAULT_CHARSET
    int Size = 0;
    bool Bold = false;
    bool Italic = false;
    QRgb Color = 0x000000;

    friend bool operator==(const FontSpec &a, const FontSpec &b)
    {
        return a.Name == b.Name && a.Charset == b.Charset && a.Size == b.Size && a.Bold == b.Bold
            && a.Italic == b.Italic && a.Color == b.Color;
    }
    friend bool operator!=(const FontSpec &a, const FontSpec &b) { return !(a == b); }
};

namespace TextRaster {

constexpr int kUnfittedSize = 9999;

/// The largest pixel size drawn. No fitting comes near it (400 points are 533
/// pixels); larger sizes draw nothing instead of rendering glyphs of many
/// megabytes.
constexpr int kMaxPixelSize = 2048;

/// The QFont used for every glyph drawing: no anti-aliasing, no glyphs borrowed
/// from other fonts, full hinting, integer pixel size from the signed point size.
/// Returns false (and leaves \a out untouched) for sizes that draw nothing:
/// 0, kUnfittedSize, and sizes of less than one or more than kMaxPixelSize pixels.
bool toQFont(const FontSpec &fontSpec, QFont &out);

/// The pixel size toQFont gives \a fontSpec, 0 for sizes that draw nothing.
int pixelSize(const FontSpec &fontSpec);

/// A scratch raster for text: Format_ARGB32 at 96 dpi.
QImage newRaster(int width, int height, QRgb fill);

/// Draws \a text with \a fontSpec into \a raster (Format_ARGB32; RGB32 and
/// ARGB32_Premultiplied are written alike, other formats are converted there and
/// back) so that the top-left of the first character cell lies at (x, y): the
/// baseline is at y + ascent.
///
/// The text is composed from glyph images (GlyphImageCache): each character is
/// rendered once per font, style and pixel size by QPainter without
/// anti-aliasing, and copied at integer positions, so a text drawn at another
/// origin is exactly the same pixels shifted. Character i starts at
/// x + round(a), where a is the sum of the horizontal advances (fractional, as
/// QFontMetricsF reports them) of the characters before it, rounded to the
/// nearest integer once per character; there is no kerning (the fonts are set
/// up without it). Characters are Unicode code points (surrogate pairs joined).
///
/// Where a glyph has ink the pixel becomes the colour with alpha 0xFF; every
/// other pixel is left as it is; nothing is drawn outside the raster. Callers
/// that need raw LED values mask with 0x00FFFFFF.
void drawText(QImage &raster, int x, int y, const FontSpec &fontSpec, const QString &text);

} // namespace TextRaster
