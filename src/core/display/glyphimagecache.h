// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "display/fontspec.h"

#include <QHash>
#include <QMutex>
#include <QString>

#include <memory>
#include <utility>
#include <vector>

/// One character of one font at one pixel size, drawn once by QPainter (no
/// anti-aliasing) at an integer origin and kept as the runs of its ink. Every
/// outline-font text of the program is composed from these images, so a glyph
/// drawn at any other origin is exactly the same ink shifted.
///
/// Coordinates are relative to the top-left of the character cell (the
/// baseline lies at y = Ascent).
struct GlyphImage
{
    bool HasInk = false;
    int Left = 0; ///< ink box, inclusive
    int Top = 0;
    int Right = -1;
    int Bottom = -1;
    int Ascent = 0;
    qreal Advance = 0; ///< pen advance to the next character
    std::vector<int> RowStart; ///< per ink-box row: first index into RowRuns (one extra at the end)
    std::vector<std::pair<int, int>> RowRuns; ///< [x0, x1] of ink, cell-relative

    /// Any ink in row \a gy between the columns \a a and \a b (inclusive)?
    bool RowInk(int gy, int a, int b) const;
    /// Any ink in column \a gx between the rows \a a and \a b (inclusive)?
    bool ColInk(int gx, int a, int b) const;
};

using GlyphImagePtr = std::shared_ptr<const GlyphImage>;

/// The process-wide store of glyph images, keyed by family, style, pixel size
/// and character. Thread-safe: lookups are serialised by one mutex, glyphs are
/// drawn outside it (threads may draw at once), and an image handed out stays
/// valid while its pointer is held, even
/// when the cache drops it. Bounded: beyond MaxGlyphs images the least recently
/// used half is dropped. Emptied when the application's fonts change
/// (QGuiApplication::fontDatabaseChanged), since a family name may then draw
/// another font.
class GlyphImageCache
{
public:
    static constexpr int MaxGlyphs = 20000;

    static GlyphImageCache &instance();

    /// The image of \a ch (a Unicode code point) in \a fontSpec, rendered on
    /// first use. Null for sizes that draw nothing (0, the "not fitted" 9999,
    /// sizes below one pixel).
    GlyphImagePtr Glyph(const FontSpec &fontSpec, char32_t ch);

    /// Whether the image of \a ch in \a fontSpec is kept (nothing is drawn).
    bool Contains(const FontSpec &fontSpec, char32_t ch) const;

    /// Drops every image, and the calling thread's fonts at the sizes used.
    void Clear();
    int Count() const;
    /// Images rendered since the program started (for benchmarks and tests).
    qint64 Renderings() const;

    struct Key
    {
        QString Family;
        int PixelSize = 0;
        bool Bold = false;
        bool Italic = false;
        char32_t Ch = 0;
        friend bool operator==(const Key &a, const Key &b)
        {
            return a.PixelSize == b.PixelSize && a.Ch == b.Ch && a.Bold == b.Bold
                && a.Italic == b.Italic && a.Family == b.Family;
        }
    };

private:
    GlyphImageCache() = default;
    struct Entry
    {
        GlyphImagePtr Image;
        quint64 LastUse = 0;
    };
    void evictLocked();

    mutable QMutex m_mutex;
    QHash<Key, Entry> m_entries;
    quint64 m_tick = 0;
    qint64 m_renderings = 0;
    int m_generation = 0;
};

size_t qHash(const GlyphImageCache::Key &key, size_t seed = 0);
