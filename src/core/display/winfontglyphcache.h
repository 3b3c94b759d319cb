// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "display/fontspec.h"
#include "display/winfontinfo.h"

#include <QChar>
#include <QHash>
#include <QString>

#include <memory>
#include <utility>
#include <vector>

/// The ink of one glyph (font name, point size, style, character) drawn once
/// through TextRaster::drawText, kept as runs relative to the drawing origin,
/// so that what a raster shows for any other origin can be answered without
/// drawing.
struct WinFontGlyphInk
{
    bool Valid = false;   ///< the whole glyph was captured
    bool Trusted = true;  ///< no real drawing has differed from the shifted capture
    bool HasInk = false;
    int Left = 0;         ///< ink box relative to the origin, inclusive
    int Top = 0;
    int Right = -1;
    int Bottom = -1;
    std::vector<int> RowStart; ///< per ink-box row: first index into RowRuns (one extra at the end)
    std::vector<std::pair<int, int>> RowRuns; ///< [x0, x1] of ink, origin-relative
    std::vector<int> ColStart;
    std::vector<std::pair<int, int>> ColRuns; ///< [y0, y1] of ink, origin-relative

    /// Any ink in glyph row \a gy between the glyph columns \a a and \a b?
    bool RowInk(int gy, int a, int b) const;
    /// Any ink in glyph column \a gx between the glyph rows \a a and \a b?
    bool ColInk(int gx, int a, int b) const;
    /// Ink in every pixel of glyph row \a gy from column \a a to \a b?
    bool RowFull(int gy, int a, int b) const;
    bool ColFull(int gx, int a, int b) const;

    /// Whether glyph row \a gy holds ink between the columns \a a and \a b in
    /// a way that a drawing at another origin cannot change: 1 surely ink (a
    /// pixel there whose eight neighbours are ink too), 0 surely none (no ink
    /// within one pixel of that stretch), -1 too close to an edge to tell.
    int RowCertain(int gy, int a, int b) const;
    int ColCertain(int gx, int a, int b) const;
};

/// Cache of glyph ink and of finished alignments, shared by every TWinFontInfo
/// of a thread (one cache per thread). Dropped when the application's fonts
/// change (QGuiApplication::fontDatabaseChanged) or on Invalidate().
class WinFontGlyphCache
{
public:
    struct AlignResult
    {
        int X = 0;
        int Y = 0;
        TWinFontInfo::RasterState State;
    };

    static WinFontGlyphCache &instance();

    /// Index of the glyph's ink entry, capturing it on first use.
    int Glyph(const FontSpec &font, QChar ch);
    WinFontGlyphInk &Ink(int index) { return *m_inks[size_t(index)]; }

    bool FindAlign(int glyph, int width, int height, int x0, int y0, AlignResult &out) const;
    void StoreAlign(int glyph, int width, int height, int x0, int y0, const AlignResult &result);

    /// What a real drawing at (x, y) in a raster of the given size showed, once
    /// it was found to agree with the capture.
    bool FindChecked(int glyph, int width, int height, int x, int y,
                     TWinFontInfo::RasterState &out) const;
    void StoreChecked(int glyph, int width, int height, int x, int y,
                      const TWinFontInfo::RasterState &state);

    /// Row 0 and column 0 of a real drawing at (x, y) in a raster of the given size.
    struct EdgeTest
    {
        bool Row0Empty = true;
        bool Col0Empty = true;
    };
    bool FindEdgeTest(int glyph, int width, int height, int x, int y, EdgeTest &out) const;
    void StoreEdgeTest(int glyph, int width, int height, int x, int y, const EdgeTest &test);

    void Clear();
    /// Drops the caches of every thread (each one clears on its next use).
    static void Invalidate();

    struct GlyphKey
    {
        QString Name;
        int Size = 0;
        bool Bold = false;
        bool Italic = false;
        char16_t Ch = 0;
        friend bool operator==(const GlyphKey &a, const GlyphKey &b)
        {
            return a.Size == b.Size && a.Ch == b.Ch && a.Bold == b.Bold && a.Italic == b.Italic
                && a.Name == b.Name;
        }
    };
    struct AlignKey
    {
        int Glyph = 0;
        int Width = 0;
        int Height = 0;
        int X0 = 0;
        int Y0 = 0;
        friend bool operator==(const AlignKey &a, const AlignKey &b)
        {
            return a.Glyph == b.Glyph && a.Width == b.Width && a.Height == b.Height && a.X0 == b.X0
                && a.Y0 == b.Y0;
        }
    };

private:
    WinFontGlyphCache() = default;
    static void capture(const FontSpec &font, QChar ch, WinFontGlyphInk &ink);

    QHash<GlyphKey, int> m_glyphIndex;
    std::vector<std::unique_ptr<WinFontGlyphInk>> m_inks;
    QHash<AlignKey, AlignResult> m_aligns;
    QHash<AlignKey, TWinFontInfo::RasterState> m_checked; // X0/Y0 hold the drawing origin
    QHash<AlignKey, EdgeTest> m_edgeTests; // X0/Y0 hold the drawing origin
    int m_generation = 0;
};

size_t qHash(const WinFontGlyphCache::GlyphKey &key, size_t seed = 0);
size_t qHash(const WinFontGlyphCache::AlignKey &key, size_t seed = 0);
