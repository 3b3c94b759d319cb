// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/winfontinfo.h"

#include "display/glyphimagecache.h"
#include "util/win1252.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

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

namespace {

/// Draws, on a second thread, the glyph images a full refit is about to ask for,
/// starting with the style the refit fits last and going backwards, while the
/// refit itself goes forwards; the two meet in the middle and the refit finds
/// most images ready. What the refit decides is untouched: a prefetched image is
/// the same image the refit would draw itself. The sizes follow the refit's own
/// descent from the height of the fitting rectangle down to the first size whose
/// ink box fits the rectangle.
class RefitPrefetch
{
public:
    /// \a styles in the order the refit fits them, each (bold, italic) with the
    /// characters it is fitted to.
    RefitPrefetch(int width, int height, std::vector<std::pair<FontSpec, QString>> styles)
        : m_width(width), m_height(height), m_styles(std::move(styles))
    {
        m_thread = std::thread([this] { run(); });
    }
    ~RefitPrefetch()
    {
        m_refitStep.store(int(m_styles.size()));
        m_thread.join();
    }
    RefitPrefetch(const RefitPrefetch &) = delete;
    RefitPrefetch &operator=(const RefitPrefetch &) = delete;

    /// The refit starts fitting style \a step (0-based, in refit order).
    void Reached(int step) { m_refitStep.store(step); }

private:
    void run()
    {
        GlyphImageCache &cache = GlyphImageCache::instance();
        for (int step = int(m_styles.size()) - 1; step > m_refitStep.load(); --step) {
            FontSpec styleFont = m_styles[size_t(step)].first;
            const QString &chars = m_styles[size_t(step)].second;
            for (const QChar ch : chars) {
                for (int size = m_height; size > 0; --size) {
                    if (step <= m_refitStep.load())
                        return;
                    styleFont.Size = size;
                    const GlyphImagePtr glyph = cache.Glyph(styleFont, ch.unicode());
                    if (!glyph || !glyph->HasInk)
                        break;
                    if (glyph->Right - glyph->Left < m_width && glyph->Bottom - glyph->Top < m_height)
                        break;
                }
            }
        }
    }

    const int m_width;
    const int m_height;
    const std::vector<std::pair<FontSpec, QString>> m_styles;
    std::atomic<int> m_refitStep{0};
    std::thread m_thread;
};

} // namespace

void TWinFontInfo::Refit()
{
    // Styles in fitting order: StyleIndex 1 plain, 2 bold, 4 bold italic, 3 italic.
    std::unique_ptr<RefitPrefetch> prefetch;
    if (!m_referenceMode && std::thread::hardware_concurrency() > 1) {
        std::vector<std::pair<FontSpec, QString>> styles;
        const std::pair<bool, bool> order[] = {{false, false}, {true, false}, {true, true}, {false, true}};
        const int index[] = {1, 2, 4, 3};
        for (int i = 0; i < 4; ++i) {
            FontSpec styleFont = m_font;
            styleFont.Bold = order[i].first;
            styleFont.Italic = order[i].second;
            const QString &keys = StyleKeyChars[size_t(index[i])];
            styles.emplace_back(styleFont, keys.isEmpty() ? SampleChars : keys);
        }
        // Worth a thread only when the images are not there yet (a font not used
        // before at this size).
        FontSpec last = styles.back().first;
        last.Size = FitRect.Bottom - FitRect.Top;
        const QString &lastChars = styles.back().second;
        if (!lastChars.isEmpty() && !GlyphImageCache::instance().Contains(last, lastChars.front().unicode()))
            prefetch = std::make_unique<RefitPrefetch>(FitRect.Right - FitRect.Left,
                                                       FitRect.Bottom - FitRect.Top, std::move(styles));
    }
    auto reached = [&](int step) {
        if (prefetch)
            prefetch->Reached(step);
    };
    StyleSize[1] = FitSize(StyleExtent[1]);
    reached(1);
    SetBold(true);
    StyleSize[2] = FitSize(StyleExtent[2]);
    reached(2);
    SetItalic(true);
    StyleSize[4] = FitSize(StyleExtent[4]);
    reached(3);
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

// The stepping on the glyph image instead of on drawings: the drawing at any
// origin is the image shifted and clipped to the raster, so row 0 and column 0
// of a drawing at (px, py) are row -py and column -px of the image, within the
// stretch the raster shows.
void TWinFontInfo::alignFast(const GlyphImage *glyph, int &x, int &y)
{
    const int w = ScratchBitmap.width();
    const int h = ScratchBitmap.height();
    stepAlign(
        x, y, [](int, int) {},
        [&](int px, int py) { return !glyph || !glyph->RowInk(-py, -px, w - 1 - px); },
        [&](int px, int py) { return !glyph || !glyph->ColInk(-px, -py, h - 1 - py); });
    m_raster = rasterState(glyph, x, y);
}

// What scanRaster would find after drawing the glyph at (x, y).
TWinFontInfo::RasterState TWinFontInfo::rasterState(const GlyphImage *glyph, int x, int y) const
{
    const int w = std::max(ScratchBitmap.width(), 0);
    const int h = std::max(ScratchBitmap.height(), 0);
    RasterState s;
    s.EmptyLeft = s.EmptyRight = w;
    s.EmptyTop = s.EmptyBottom = h;
    if (!glyph || !glyph->HasInk)
        return s;
    // Glyph rows and columns the raster shows.
    const qint64 rowA = std::max<qint64>(glyph->Top, -qint64(y));
    const qint64 rowB = std::min<qint64>(glyph->Bottom, qint64(h) - 1 - y);
    const qint64 colA = std::max<qint64>(glyph->Left, -qint64(x));
    const qint64 colB = std::min<qint64>(glyph->Right, qint64(w) - 1 - x);
    if (rowA > rowB || colA > colB)
        return s;
    qint64 first = -1, last = -1, left = colB + 1, right = colA - 1;
    if (rowA == glyph->Top && rowB == glyph->Bottom && colA == glyph->Left && colB == glyph->Right) {
        first = rowA;
        last = rowB;
        left = colA;
        right = colB;
    } else {
        for (qint64 gy = rowA; gy <= rowB; ++gy) {
            const size_t row = size_t(gy - glyph->Top);
            const int end = glyph->RowStart[row + 1];
            bool any = false;
            for (int i = glyph->RowStart[row]; i < end; ++i) {
                const qint64 a = std::max<qint64>(glyph->RowRuns[size_t(i)].first, colA);
                const qint64 b = std::min<qint64>(glyph->RowRuns[size_t(i)].second, colB);
                if (a > b)
                    continue;
                any = true;
                left = std::min(left, a);
                right = std::max(right, b);
            }
            if (any) {
                if (first < 0)
                    first = gy;
                last = gy;
            }
        }
        if (first < 0)
            return s;
    }
    s.EmptyLeft = int(left + x);
    s.EmptyRight = int(w - 1 - (right + x));
    s.EmptyTop = int(first + y);
    s.EmptyBottom = int(h - 1 - (last + y));
    s.LastColEmpty = s.EmptyRight != 0;
    s.LastRowEmpty = s.EmptyBottom != 0;
    return s;
}

void TWinFontInfo::AlignGlyph(QChar ch, int &x, int &y)
{
    if (m_referenceMode) {
        alignLiteral(ch, x, y);
        return;
    }
    const GlyphImagePtr glyph = GlyphImageCache::instance().Glyph(m_font, ch.unicode());
    alignFast(glyph.get(), x, y);
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
    GlyphImageCache::instance().Clear();
}
