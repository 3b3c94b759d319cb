// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/winfontinfo.h"

#include "display/winfontglyphcache.h"
#include "util/win1252.h"

#include <algorithm>

namespace {

constexpr QRgb kBlack = 0xFF000000u;
constexpr QRgb kWhite = 0x00FFFFFFu;
constexpr int kStepLimit = 300;

inline bool isInk(QRgb px)
{
    return (px & 0x00FFFFFFu) != 0;
}

/// The one-pixel stepping of the alignment. \a draw puts the glyph at (x, y);
/// \a rowEmpty / \a colEmpty answer for row 0 / column 0 of what is drawn.
template<class Draw, class RowEmpty, class ColEmpty>
void stepAlign(int &x, int &y, Draw draw, RowEmpty rowEmpty, ColEmpty colEmpty)
{
    draw(x, y);
    auto vertical = [&] {
        while (!rowEmpty(x, y)) {
            ++y;
            draw(x, y);
            if (y > kStepLimit)
                break;
        }
        while (rowEmpty(x, y)) {
            --y;
            draw(x, y);
            if (y < -kStepLimit)
                break;
        }
    };
    vertical();
    while (!colEmpty(x, y)) {
        ++x;
        draw(x, y);
        if (x > kStepLimit)
            break;
    }
    while (colEmpty(x, y)) {
        --x;
        draw(x, y);
        if (x < -kStepLimit)
            break;
    }
    vertical();
}

} // namespace

TWinFontInfo::TWinFontInfo()
{
    init(nullptr);
}

TWinFontInfo::TWinFontInfo(const FontSpec *font)
{
    init(font);
}

TWinFontInfo::TWinFontInfo(const FontSpec &font)
{
    init(&font);
}

void TWinFontInfo::init(const FontSpec *font)
{
    ScratchBitmap = TextRaster::newRaster(0, 0, kBlack);
    if (font)
        m_font = *font;
    m_font.Color = kWhite;
    FitRect = TRect(0, 0, 0, 0);
    SampleChars.clear();
    HorzAlign = 1;
    VertAlign = 1;
    FitEnabled = true;
    m_font.Bold = false;
    m_font.Italic = false;
    StyleIndex = 1;
    StyleSize.fill(NotComputed);
    ResetSizes();
    ResetOffsets();
    ClearKeyChars();
}

void TWinFontInfo::updateStyleIndex()
{
    StyleIndex = 1 + (m_font.Bold ? 1 : 0) + (m_font.Italic ? 2 : 0);
}

void TWinFontInfo::ResetSizes()
{
    StyleSize.fill(NotComputed);
    StyleExtent.fill(TRect(0, 0, 0, 0));
    ResetOffsets();
    ResetStyle();
}

void TWinFontInfo::ResetOffsets()
{
    for (int c = 0; c < 256; ++c) {
        for (int s = 0; s < 5; ++s) {
            XOffsets[c][s] = NotComputed;
            YOffsets[c][s] = NotComputed;
        }
    }
}

void TWinFontInfo::ClearKeyChars()
{
    for (QString &k : StyleKeyChars)
        k.clear();
}

void TWinFontInfo::ResetStyle()
{
    m_font.Bold = false;
    m_font.Italic = false;
    StyleIndex = 1;
    if (StyleSize[1] != NotComputed)
        m_font.Size = StyleSize[1];
}

void TWinFontInfo::SetBold(bool on)
{
    m_font.Bold = on;
    updateStyleIndex();
    if (StyleSize[StyleIndex] != NotComputed)
        m_font.Size = StyleSize[StyleIndex];
}

void TWinFontInfo::SetItalic(bool on)
{
    m_font.Italic = on;
    updateStyleIndex();
    if (StyleSize[StyleIndex] != NotComputed)
        m_font.Size = StyleSize[StyleIndex];
}

void TWinFontInfo::SetHorzAlign(int mode)
{
    HorzAlign = mode;
    ResetOffsets();
}

void TWinFontInfo::SetVertAlign(int mode)
{
    VertAlign = mode;
    ResetOffsets();
}

void TWinFontInfo::SetFont(const FontSpec &font)
{
    if (font.Name != m_font.Name || font.Charset != m_font.Charset) {
        m_font = font;
        m_font.Color = kWhite;
        ClearKeyChars();
        if (!FitRect.IsZero() && !SampleChars.isEmpty() && FitEnabled) {
            ResetSizes();
            ResetOffsets();
            ResetStyle();
            Refit();
        }
    }
    SetBold(font.Bold);
    SetItalic(font.Italic);
}

void TWinFontInfo::SetSampleChars(const QString &text)
{
    if (text == SampleChars)
        return;
    SampleChars = text;
    if (!FitRect.IsZero() && !text.isEmpty() && FitEnabled) {
        ResetSizes();
        ResetOffsets();
        ClearKeyChars();
        ResetStyle();
        Refit();
        ResetStyle();
        SetBold(m_font.Bold);
        SetItalic(m_font.Italic);
    }
}

void TWinFontInfo::SetFitRect(const TRect &rect)
{
    if (rect.Width() == FitRect.Width() && rect.Height() == FitRect.Height())
        return;
    FitRect = rect;
    ScratchBitmap = TextRaster::newRaster(rect.Width(), rect.Height(), kBlack);
    if (!FitRect.IsZero() && !SampleChars.isEmpty() && FitEnabled) {
        ResetSizes();
        ResetOffsets();
        ResetStyle();
        Refit();
        ResetStyle();
        SetBold(m_font.Bold);
        SetItalic(m_font.Italic);
    }
}

void TWinFontInfo::Refit()
{
    StyleSize[1] = FitSize(StyleExtent[1]);
    SetBold(true);
    StyleSize[2] = FitSize(StyleExtent[2]);
    SetItalic(true);
    StyleSize[4] = FitSize(StyleExtent[4]);
    SetBold(false);
    StyleSize[3] = FitSize(StyleExtent[3]);
}

void TWinFontInfo::drawScratch(QChar ch, int x, int y)
{
    ScratchBitmap.fill(kBlack);
    m_font.Color = kWhite;
    TextRaster::drawText(ScratchBitmap, x, y, m_font, QString(ch));
}

bool TWinFontInfo::RowEmpty(int row) const
{
    if (row < 0 || row >= ScratchBitmap.height())
        return true;
    const auto *line = reinterpret_cast<const QRgb *>(ScratchBitmap.constScanLine(row));
    const int w = ScratchBitmap.width();
    for (int x = 0; x < w; ++x)
        if (isInk(line[x]))
            return false;
    return true;
}

bool TWinFontInfo::ColEmpty(int col) const
{
    if (col < 0 || col >= ScratchBitmap.width())
        return true;
    const int h = ScratchBitmap.height();
    for (int y = 0; y < h; ++y)
        if (isInk(reinterpret_cast<const QRgb *>(ScratchBitmap.constScanLine(y))[col]))
            return false;
    return true;
}

void TWinFontInfo::scanRaster()
{
    const int w = ScratchBitmap.width();
    const int h = ScratchBitmap.height();
    std::vector<char> colInk(size_t(std::max(w, 0)), 0);
    int firstRow = -1;
    int lastRow = -1;
    for (int y = 0; y < h; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(ScratchBitmap.constScanLine(y));
        bool any = false;
        for (int x = 0; x < w; ++x) {
            if (isInk(line[x])) {
                colInk[size_t(x)] = 1;
                any = true;
            }
        }
        if (any) {
            if (firstRow < 0)
                firstRow = y;
            lastRow = y;
        }
    }
    int firstCol = -1;
    int lastCol = -1;
    for (int x = 0; x < w; ++x) {
        if (colInk[size_t(x)]) {
            if (firstCol < 0)
                firstCol = x;
            lastCol = x;
        }
    }
    RasterState s;
    if (firstRow < 0) {
        s.EmptyLeft = s.EmptyRight = std::max(w, 0);
        s.EmptyTop = s.EmptyBottom = std::max(h, 0);
        s.LastColEmpty = s.LastRowEmpty = true;
    } else {
        s.EmptyLeft = firstCol;
        s.EmptyRight = w - 1 - lastCol;
        s.EmptyTop = firstRow;
        s.EmptyBottom = h - 1 - lastRow;
        s.LastColEmpty = lastCol != w - 1;
        s.LastRowEmpty = lastRow != h - 1;
    }
    m_raster = s;
}

void TWinFontInfo::alignLiteral(QChar ch, int &x, int &y)
{
    stepAlign(
        x, y, [&](int px, int py) { drawScratch(ch, px, py); },
        [&](int, int) { return RowEmpty(0); }, [&](int, int) { return ColEmpty(0); });
    scanRaster();
}

// Runs the stepping on the captured ink instead of redrawing at every step.
// A step whose row or column test the capture answers beyond doubt (ink well
// inside the glyph, or no ink within a pixel) needs no drawing; a test near an
// edge of the ink, where a drawing at another origin may differ by a pixel, is
// answered by a real drawing at that origin. The origin found is then drawn
// for real (the raster state comes from that drawing) and compared with the
// capture. False (nothing decided) when the glyph could not be captured whole
// or a drawing ever differed from it away from the edges of its ink.
bool TWinFontInfo::alignFast(int glyph, QChar ch, int &x, int &y)
{
    WinFontGlyphInk &ink = WinFontGlyphCache::instance().Ink(glyph);
    if (!ink.Valid || !ink.Trusted)
        return false;
    const int w = ScratchBitmap.width();
    const int h = ScratchBitmap.height();
    const bool visible = w > 0 && h > 0;
    bool drawn = false;
    int drawnX = 0;
    int drawnY = 0;
    auto drawAt = [&](int px, int py) {
        if (!drawn || px != drawnX || py != drawnY) {
            drawScratch(ch, px, py);
            drawn = true;
            drawnX = px;
            drawnY = py;
        }
    };
    // What a real drawing shows in row 0 and column 0; the same origins come
    // up again in later alignments of the glyph (fitting, measuring, offsets).
    WinFontGlyphCache &cache = WinFontGlyphCache::instance();
    auto realTest = [&](int px, int py) {
        WinFontGlyphCache::EdgeTest t;
        if (!cache.FindEdgeTest(glyph, w, h, px, py, t)) {
            drawAt(px, py);
            t.Row0Empty = RowEmpty(0);
            t.Col0Empty = ColEmpty(0);
            cache.StoreEdgeTest(glyph, w, h, px, py, t);
        }
        return t;
    };
    int fx = x;
    int fy = y;
    stepAlign(
        fx, fy, [](int, int) {},
        [&](int px, int py) {
            if (!visible)
                return true;
            const int certain = ink.RowCertain(-py, -px, w - 1 - px);
            if (certain >= 0)
                return certain == 0;
            return realTest(px, py).Row0Empty;
        },
        [&](int px, int py) {
            if (!visible)
                return true;
            const int certain = ink.ColCertain(-px, -py, h - 1 - py);
            if (certain >= 0)
                return certain == 0;
            return realTest(px, py).Col0Empty;
        });

    if (cache.FindChecked(glyph, w, h, fx, fy, m_raster)) {
        x = fx;
        y = fy;
        return true;
    }
    drawAt(fx, fy);
    std::vector<char> expected(size_t(std::max(w, 0)));
    for (int ry = 0; ry < h; ++ry) {
        std::fill(expected.begin(), expected.end(), 0);
        const int gy = ry - fy;
        if (ink.HasInk && gy >= ink.Top && gy <= ink.Bottom) {
            const int end = ink.RowStart[size_t(gy - ink.Top) + 1];
            for (int i = ink.RowStart[size_t(gy - ink.Top)]; i < end; ++i) {
                const int a = std::max(ink.RowRuns[size_t(i)].first + fx, 0);
                const int b = std::min(ink.RowRuns[size_t(i)].second + fx, w - 1);
                for (int rx = a; rx <= b; ++rx)
                    expected[size_t(rx)] = 1;
            }
        }
        // A pixel may differ from the capture only along an edge of the ink;
        // anywhere else the capture is wrong and the steps decided from it too.
        const auto *line = reinterpret_cast<const QRgb *>(ScratchBitmap.constScanLine(ry));
        for (int rx = 0; rx < w; ++rx) {
            const bool captured = expected[size_t(rx)] != 0;
            if (isInk(line[rx]) == captured)
                continue;
            const int gx = rx - fx;
            const bool alongEdge = captured
                ? !(ink.RowFull(gy - 1, gx - 1, gx + 1) && ink.RowFull(gy, gx - 1, gx + 1)
                    && ink.RowFull(gy + 1, gx - 1, gx + 1))
                : ink.RowInk(gy - 1, gx - 1, gx + 1) || ink.RowInk(gy, gx - 1, gx + 1)
                    || ink.RowInk(gy + 1, gx - 1, gx + 1);
            if (!alongEdge) {
                ink.Trusted = false;
                return false;
            }
        }
    }
    x = fx;
    y = fy;
    scanRaster();
    cache.StoreChecked(glyph, w, h, fx, fy, m_raster);
    return true;
}

void TWinFontInfo::AlignGlyph(QChar ch, int &x, int &y)
{
    // A raster without pixels shows nothing whatever is drawn: the stepping
    // runs to its limits without drawing a glyph.
    if (m_referenceMode || ScratchBitmap.isNull()) {
        alignLiteral(ch, x, y);
        return;
    }
    WinFontGlyphCache &cache = WinFontGlyphCache::instance();
    const int glyph = cache.Glyph(m_font, ch);
    const int w = ScratchBitmap.width();
    const int h = ScratchBitmap.height();
    WinFontGlyphCache::AlignResult r;
    if (cache.FindAlign(glyph, w, h, x, y, r)) {
        x = r.X;
        y = r.Y;
        m_raster = r.State;
        return;
    }
    const int x0 = x;
    const int y0 = y;
    if (!alignFast(glyph, ch, x, y))
        alignLiteral(ch, x, y);
    cache.StoreAlign(glyph, w, h, x0, y0, {x, y, m_raster});
}

int TWinFontInfo::FitSize(TRect &extent)
{
    const bool haveKeys = !StyleKeyChars[StyleIndex].isEmpty();
    const QString chars = haveKeys ? StyleKeyChars[StyleIndex] : SampleChars;
    int best = 400;
    for (const QChar ch : chars) {
        int x = 0;
        int y = 0;
        m_font.Size = FitRect.Bottom - FitRect.Top;
        AlignGlyph(ch, x, y);
        while (m_raster.LastColEmpty && m_raster.LastRowEmpty) {
            if (m_font.Size >= best)
                break;
            ++m_font.Size;
            AlignGlyph(ch, x, y);
        }
        while (!m_raster.LastColEmpty) {
            --m_font.Size;
            AlignGlyph(ch, x, y);
            if (m_font.Size <= 0)
                break;
        }
        while (!m_raster.LastRowEmpty) {
            --m_font.Size;
            AlignGlyph(ch, x, y);
            if (m_font.Size <= 0)
                break;
        }
        if (m_font.Size < best)
            best = m_font.Size;
    }
    m_font.Size = best;

    int maxH = -1;
    int maxW = -1;
    QChar charH;
    QChar charW;
    bool seenH = false;
    bool seenW = false;
    for (const QChar ch : chars) {
        int x = 0;
        int y = 0;
        AlignGlyph(ch, x, y);
        MeasureGlyph(ch, extent);
        if (!haveKeys) {
            if (extent.Right > maxW) {
                maxW = extent.Right;
                charW = ch;
                seenW = true;
            }
            if (extent.Bottom > maxH) {
                maxH = extent.Bottom;
                charH = ch;
                seenH = true;
            }
        }
    }
    if (!haveKeys && seenH && seenW)
        StyleKeyChars[StyleIndex] = QString(charH) + QString(charW);
    return best;
}

void TWinFontInfo::MeasureGlyph(QChar, TRect &extent)
{
    const int w = ScratchBitmap.width();
    const int h = ScratchBitmap.height();
    const int inkW = std::min(w - (m_raster.EmptyLeft + m_raster.EmptyRight), FitRect.Right - FitRect.Left);
    const int inkH = std::min(h - (m_raster.EmptyTop + m_raster.EmptyBottom), FitRect.Bottom - FitRect.Top);
    extent.Right = std::max(extent.Right, inkW);
    extent.Bottom = std::max(extent.Bottom, inkH);
}

void TWinFontInfo::ComputeOffsets(QChar ch, int &x, int &y)
{
    SetBold(m_font.Bold);
    SetItalic(m_font.Italic);
    x = 0;
    y = 0;
    AlignGlyph(ch, x, y);
    if (HorzAlign > 0) {
        const int e = m_raster.EmptyLeft + m_raster.EmptyRight;
        if (HorzAlign == 1)
            x += e / 2;
        else if (HorzAlign == 2)
            x += e;
    }
    if (VertAlign > 0) {
        const int e = m_raster.EmptyTop + m_raster.EmptyBottom;
        if (VertAlign == 1)
            y += e / 2;
        else if (VertAlign == 2)
            y += e;
    }
}

namespace {

// The offset tables are indexed by the Windows-1252 byte; a character outside
// that code page has no entry of its own (it would share the one of '?').
bool tableIndex(QChar ch, int &index)
{
    const uchar b = Win1252::fromUnicode(ch);
    index = b;
    return Win1252::toUnicode(b) == ch;
}

} // namespace

QPoint TWinFontInfo::CharOffsets(QChar ch)
{
    m_font.Size = StyleSize[StyleIndex];
    int index = 0;
    const bool inTable = tableIndex(ch, index);
    if (inTable && XOffsets[index][StyleIndex] != NotComputed)
        return QPoint(XOffsets[index][StyleIndex], YOffsets[index][StyleIndex]);
    int x = 0;
    int y = 0;
    ComputeOffsets(ch, x, y);
    if (inTable) {
        XOffsets[index][StyleIndex] = x;
        YOffsets[index][StyleIndex] = y;
    }
    return QPoint(x, y);
}

int TWinFontInfo::CharXOffset(QChar ch)
{
    return CharOffsets(ch).x();
}

int TWinFontInfo::CharYOffset(QChar ch)
{
    return CharOffsets(ch).y();
}

void TWinFontInfo::ClearGlyphCache()
{
    WinFontGlyphCache::Invalidate();
}
