// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/winfontglyphcache.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QHashFunctions>

#include <algorithm>
#include <atomic>

namespace {

constexpr QRgb kBlack = 0xFF000000u;
constexpr int kMaxGlyphs = 60000;
constexpr int kMaxAligns = 400000;

inline bool isInk(QRgb px)
{
    return (px & 0x00FFFFFFu) != 0;
}

bool anyRun(const std::vector<int> &start, const std::vector<std::pair<int, int>> &runs, int line,
            int a, int b)
{
    const int end = start[size_t(line) + 1];
    for (int i = start[size_t(line)]; i < end; ++i) {
        const auto &r = runs[size_t(i)];
        if (r.first > b)
            return false;
        if (r.second >= a)
            return true;
    }
    return false;
}

} // namespace

bool WinFontGlyphInk::RowInk(int gy, int a, int b) const
{
    if (!HasInk || gy < Top || gy > Bottom)
        return false;
    a = std::max(a, Left);
    b = std::min(b, Right);
    if (a > b)
        return false;
    return anyRun(RowStart, RowRuns, gy - Top, a, b);
}

bool WinFontGlyphInk::ColInk(int gx, int a, int b) const
{
    if (!HasInk || gx < Left || gx > Right)
        return false;
    a = std::max(a, Top);
    b = std::min(b, Bottom);
    if (a > b)
        return false;
    return anyRun(ColStart, ColRuns, gx - Left, a, b);
}

namespace {

bool fullRun(const std::vector<int> &start, const std::vector<std::pair<int, int>> &runs, int line,
             int a, int b)
{
    const int end = start[size_t(line) + 1];
    for (int i = start[size_t(line)]; i < end; ++i) {
        const auto &r = runs[size_t(i)];
        if (r.first > a)
            return false;
        if (r.second >= b)
            return true;
    }
    return false;
}

} // namespace

bool WinFontGlyphInk::RowFull(int gy, int a, int b) const
{
    if (!HasInk || gy < Top || gy > Bottom || a < Left || b > Right)
        return false;
    return fullRun(RowStart, RowRuns, gy - Top, a, b);
}

bool WinFontGlyphInk::ColFull(int gx, int a, int b) const
{
    if (!HasInk || gx < Left || gx > Right || a < Top || b > Bottom)
        return false;
    return fullRun(ColStart, ColRuns, gx - Left, a, b);
}

int WinFontGlyphInk::RowCertain(int gy, int a, int b) const
{
    if (a > b)
        return 0;
    if (!RowInk(gy - 1, a - 1, b + 1) && !RowInk(gy, a - 1, b + 1) && !RowInk(gy + 1, a - 1, b + 1))
        return 0;
    if (gy < Top || gy > Bottom)
        return -1;
    const int end = RowStart[size_t(gy - Top) + 1];
    for (int i = RowStart[size_t(gy - Top)]; i < end; ++i) {
        const int lo = std::max(RowRuns[size_t(i)].first + 1, a);
        const int hi = std::min(RowRuns[size_t(i)].second - 1, b);
        for (int gx = lo; gx <= hi; ++gx)
            if (RowFull(gy - 1, gx - 1, gx + 1) && RowFull(gy + 1, gx - 1, gx + 1))
                return 1;
    }
    return -1;
}

int WinFontGlyphInk::ColCertain(int gx, int a, int b) const
{
    if (a > b)
        return 0;
    if (!ColInk(gx - 1, a - 1, b + 1) && !ColInk(gx, a - 1, b + 1) && !ColInk(gx + 1, a - 1, b + 1))
        return 0;
    if (gx < Left || gx > Right)
        return -1;
    const int end = ColStart[size_t(gx - Left) + 1];
    for (int i = ColStart[size_t(gx - Left)]; i < end; ++i) {
        const int lo = std::max(ColRuns[size_t(i)].first + 1, a);
        const int hi = std::min(ColRuns[size_t(i)].second - 1, b);
        for (int gy = lo; gy <= hi; ++gy)
            if (ColFull(gx - 1, gy - 1, gy + 1) && ColFull(gx + 1, gy - 1, gy + 1))
                return 1;
    }
    return -1;
}

size_t qHash(const WinFontGlyphCache::GlyphKey &key, size_t seed)
{
    return qHashMulti(seed, key.Name, key.Size, key.Bold, key.Italic, key.Ch);
}

size_t qHash(const WinFontGlyphCache::AlignKey &key, size_t seed)
{
    return qHashMulti(seed, key.Glyph, key.Width, key.Height, key.X0, key.Y0);
}

namespace {

// Bumped whenever the fonts of the application change; every thread's cache
// starts afresh when it sees a new value.
std::atomic<int> g_generation{0};

} // namespace

WinFontGlyphCache &WinFontGlyphCache::instance()
{
    static const bool watching = [] {
        // Fonts added or removed at run time change what a family name draws.
        if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
            QObject::connect(app, &QGuiApplication::fontDatabaseChanged, app, [] { ++g_generation; });
        return true;
    }();
    Q_UNUSED(watching);
    thread_local WinFontGlyphCache cache;
    const int generation = g_generation.load();
    if (cache.m_generation != generation) {
        cache.Clear();
        cache.m_generation = generation;
    }
    return cache;
}

void WinFontGlyphCache::Invalidate()
{
    ++g_generation;
}

void WinFontGlyphCache::Clear()
{
    m_glyphIndex.clear();
    m_inks.clear();
    m_aligns.clear();
    m_checked.clear();
    m_edgeTests.clear();
}

int WinFontGlyphCache::Glyph(const FontSpec &font, QChar ch)
{
    GlyphKey key{font.Name, font.Size, font.Bold, font.Italic, ch.unicode()};
    const auto it = m_glyphIndex.constFind(key);
    if (it != m_glyphIndex.constEnd())
        return *it;
    if (m_inks.size() >= size_t(kMaxGlyphs))
        Clear();
    auto ink = std::make_unique<WinFontGlyphInk>();
    capture(font, ch, *ink);
    const int index = int(m_inks.size());
    m_inks.push_back(std::move(ink));
    m_glyphIndex.insert(key, index);
    return index;
}

bool WinFontGlyphCache::FindAlign(int glyph, int width, int height, int x0, int y0,
                                  AlignResult &out) const
{
    const auto it = m_aligns.constFind(AlignKey{glyph, width, height, x0, y0});
    if (it == m_aligns.constEnd())
        return false;
    out = *it;
    return true;
}

void WinFontGlyphCache::StoreAlign(int glyph, int width, int height, int x0, int y0,
                                   const AlignResult &result)
{
    if (m_aligns.size() >= kMaxAligns)
        m_aligns.clear();
    m_aligns.insert(AlignKey{glyph, width, height, x0, y0}, result);
}

bool WinFontGlyphCache::FindChecked(int glyph, int width, int height, int x, int y,
                                    TWinFontInfo::RasterState &out) const
{
    const auto it = m_checked.constFind(AlignKey{glyph, width, height, x, y});
    if (it == m_checked.constEnd())
        return false;
    out = *it;
    return true;
}

void WinFontGlyphCache::StoreChecked(int glyph, int width, int height, int x, int y,
                                     const TWinFontInfo::RasterState &state)
{
    if (m_checked.size() >= kMaxAligns)
        m_checked.clear();
    m_checked.insert(AlignKey{glyph, width, height, x, y}, state);
}

bool WinFontGlyphCache::FindEdgeTest(int glyph, int width, int height, int x, int y,
                                     EdgeTest &out) const
{
    const auto it = m_edgeTests.constFind(AlignKey{glyph, width, height, x, y});
    if (it == m_edgeTests.constEnd())
        return false;
    out = *it;
    return true;
}

void WinFontGlyphCache::StoreEdgeTest(int glyph, int width, int height, int x, int y,
                                      const EdgeTest &test)
{
    if (m_edgeTests.size() >= kMaxAligns)
        m_edgeTests.clear();
    m_edgeTests.insert(AlignKey{glyph, width, height, x, y}, test);
}

void WinFontGlyphCache::capture(const FontSpec &font, QChar ch, WinFontGlyphInk &ink)
{
    FontSpec fontSpec = font;
    fontSpec.Color = 0x00FFFFFFu;
    QFont qfont;
    if (!TextRaster::toQFont(fontSpec, qfont)) {
        // Sizes that draw nothing.
        ink.Valid = true;
        ink.HasInk = false;
        return;
    }

    // Beyond what any fitting reaches (400 points) a capture would need a huge
    // raster; such glyphs are aligned by redrawing in the fit raster instead.
    constexpr int kMaxPixelSize = 1024;
    if (qfont.pixelSize() > kMaxPixelSize) {
        ink.Valid = false;
        return;
    }

    static QImage metricsDevice = TextRaster::newRaster(1, 1, kBlack);
    const QFontMetrics fm(qfont, &metricsDevice);
    const QString text(ch);
    const QRect br = fm.boundingRect(ch);
    const int ascent = fm.ascent();
    int margin = 4 + qfont.pixelSize() / 16;
    bool lookedWide = false;

    for (int attempt = 0; attempt < 6; ++attempt, margin *= 2) {
        const int w = std::max(br.width(), 1) + 2 * margin;
        const int h = std::max(br.height(), 1) + 2 * margin;
        if (qint64(w) * h > qint64(4) * kMaxPixelSize * kMaxPixelSize)
            break;
        // Origin so that the metric box starts at (margin, margin).
        const int ox = margin - br.left();
        const int oy = margin - br.top() - ascent;
        QImage img = TextRaster::newRaster(w, h, kBlack);
        TextRaster::drawText(img, ox, oy, fontSpec, text);

        int minX = w, maxX = -1, minY = h, maxY = -1;
        for (int y = 0; y < h; ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
            for (int x = 0; x < w; ++x) {
                if (isInk(line[x])) {
                    minX = std::min(minX, x);
                    maxX = std::max(maxX, x);
                    minY = std::min(minY, y);
                    maxY = std::max(maxY, y);
                }
            }
        }
        if (maxX < 0) {
            // Nothing drawn although the metrics promise ink (a glyph too small
            // to leave a pixel, or metrics that are off): look once more with
            // room of two em on every side before taking it as blank.
            if (!br.isEmpty() && !lookedWide) {
                lookedWide = true;
                margin = qfont.pixelSize() + 32; // doubled by the loop step
                continue;
            }
            ink.Valid = true;
            ink.HasInk = false;
            return;
        }
        if (minX == 0 || minY == 0 || maxX == w - 1 || maxY == h - 1)
            continue; // ink may go on beyond the raster: capture again with more room

        ink.Valid = true;
        ink.HasInk = true;
        ink.Left = minX - ox;
        ink.Right = maxX - ox;
        ink.Top = minY - oy;
        ink.Bottom = maxY - oy;
        const int bw = maxX - minX + 1;
        const int bh = maxY - minY + 1;

        ink.RowStart.assign(size_t(bh) + 1, 0);
        ink.RowRuns.clear();
        for (int y = 0; y < bh; ++y) {
            ink.RowStart[size_t(y)] = int(ink.RowRuns.size());
            const auto *line = reinterpret_cast<const QRgb *>(img.constScanLine(minY + y)) + minX;
            int x = 0;
            while (x < bw) {
                if (!isInk(line[x])) {
                    ++x;
                    continue;
                }
                const int x0 = x;
                while (x < bw && isInk(line[x]))
                    ++x;
                ink.RowRuns.emplace_back(x0 + ink.Left, x - 1 + ink.Left);
            }
        }
        ink.RowStart[size_t(bh)] = int(ink.RowRuns.size());

        ink.ColStart.assign(size_t(bw) + 1, 0);
        ink.ColRuns.clear();
        for (int x = 0; x < bw; ++x) {
            ink.ColStart[size_t(x)] = int(ink.ColRuns.size());
            int y = 0;
            while (y < bh) {
                if (!isInk(reinterpret_cast<const QRgb *>(img.constScanLine(minY + y))[minX + x])) {
                    ++y;
                    continue;
                }
                const int y0 = y;
                while (y < bh && isInk(reinterpret_cast<const QRgb *>(img.constScanLine(minY + y))[minX + x]))
                    ++y;
                ink.ColRuns.emplace_back(y0 + ink.Top, y - 1 + ink.Top);
            }
        }
        ink.ColStart[size_t(bw)] = int(ink.ColRuns.size());
        return;
    }
    ink.Valid = false; // never captured whole: alignments of this glyph step literally
}
