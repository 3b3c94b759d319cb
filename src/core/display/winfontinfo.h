// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "display/fontspec.h"
#include "util/trect.h"

#include <QChar>
#include <QImage>
#include <QPoint>
#include <QString>

#include <array>

struct GlyphImage;

/// Outline-font renderer with automatic sizing: for one rectangle size and one
/// font it finds the largest point size at which every sample character fits,
/// measures the largest glyph box and computes, per character and style, the
/// drawing origin that puts the glyph's ink at the chosen alignment.
///
/// Everything works on pixels: a glyph is drawn (white on opaque black) into
/// ScratchBitmap, a raster of the fit rectangle's size, and moved or resized
/// until its ink sits where it must. Every drawing is composed from glyph
/// images (TextRaster::drawText), so a glyph drawn at another origin is the
/// same ink shifted; the pixel stepping therefore reads rows and columns of the
/// glyph image directly instead of redrawing at every step, with results
/// identical to redrawing. SetReferenceMode(true) makes every step a full
/// redraw into ScratchBitmap and a scan of it: the slow reference the fast
/// path is compared with. Outside reference mode ScratchBitmap only has the
/// fit rectangle's size; nothing is drawn into it.
///
/// Style-indexed arrays use the style number 1..4 (1 regular, 2 bold,
/// 3 italic, 4 bold italic) as index; entry 0 is unused.
class TWinFontInfo
{
public:
    static constexpr int NotComputed = 9999;

    TWinFontInfo();
    explicit TWinFontInfo(const FontSpec *font);
    explicit TWinFontInfo(const FontSpec &font);

    TWinFontInfo(const TWinFontInfo &) = delete;
    TWinFontInfo &operator=(const TWinFontInfo &) = delete;

    // Fields.
    QImage ScratchBitmap; ///< Format_ARGB32, FitRect's size
    TRect FitRect;
    QString SampleChars;
    int StyleIndex = 1;
    int HorzAlign = 1; ///< 0 left, 1 centre, 2 right
    int VertAlign = 1; ///< 0 top, 1 middle, 2 bottom
    bool FitEnabled = true;
    std::array<int, 5> StyleSize{};          ///< fitted point size per style, 9999 = not fitted
    std::array<TRect, 5> StyleExtent{};      ///< Right/Bottom = largest ink width/height
    std::array<QString, 5> StyleKeyChars{};  ///< empty, or (char of max height, char of max width)
    int XOffsets[256][5];                    ///< by Windows-1252 byte and style; 9999 = not computed
    int YOffsets[256][5];

    // Operations.
    void SetFont(const FontSpec &font);
    void SetSampleChars(const QString &text);
    void SetFitRect(const TRect &rect);
    void SetBold(bool on);
    void SetItalic(bool on);
    void SetHorzAlign(int mode);
    void SetVertAlign(int mode);
    /// The scratch font; callers may change its name, size or style directly.
    FontSpec &Font() { return m_font; }
    const FontSpec &Font() const { return m_font; }
    int FontSize() const { return m_font.Size; }
    TRect GetExtent() const { return StyleExtent[StyleIndex]; }
    int CharXOffset(QChar ch);
    int CharYOffset(QChar ch);
    /// Both cached offsets of \a ch for the current style (computed on first use).
    QPoint CharOffsets(QChar ch);

    /// Literal pixel stepping with a full redraw per step (the slow reference).
    void SetReferenceMode(bool on) { m_referenceMode = on; }
    bool ReferenceMode() const { return m_referenceMode; }

    /// What the raster shows after the last alignment: empty columns/rows from
    /// each side up to the first ink (the full width/height each when there is
    /// no ink), and whether the last column/row is empty.
    struct RasterState
    {
        int EmptyLeft = 0;
        int EmptyRight = 0;
        int EmptyTop = 0;
        int EmptyBottom = 0;
        bool LastColEmpty = true;
        bool LastRowEmpty = true;
    };

    /// Drops the glyph images of every font (cold-path benchmarks; fonts added
    /// or removed through QGuiApplication do this by themselves).
    static void ClearGlyphCache();

    // Internal steps, public for tests and the reference comparison.
    void AlignGlyph(QChar ch, int &x, int &y);
    int FitSize(TRect &extent);
    void MeasureGlyph(QChar ch, TRect &extent);
    void ComputeOffsets(QChar ch, int &x, int &y);
    void Refit();
    void ResetSizes();
    void ResetOffsets();
    void ClearKeyChars();
    void ResetStyle();
    bool RowEmpty(int row) const;
    bool ColEmpty(int col) const;
    const RasterState &LastRaster() const { return m_raster; }

private:
    void init(const FontSpec *font);
    void updateStyleIndex();
    void refitAfterChange();
    void drawScratch(QChar ch, int x, int y);
    void alignLiteral(QChar ch, int &x, int &y);
    void alignFast(const GlyphImage *glyph, int &x, int &y);
    RasterState rasterState(const GlyphImage *glyph, int x, int y) const;
    void scanRaster();

    FontSpec m_font;
    RasterState m_raster;
    bool m_referenceMode = false;
};
