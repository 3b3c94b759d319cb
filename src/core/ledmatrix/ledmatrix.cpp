// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledmatrix/ledmatrix.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__GNUC__) && defined(__x86_64__)
#define ORV_AVX2_PATH 1
#include <immintrin.h>
#else
#define ORV_AVX2_PATH 0
#endif

// Scratch memory of the softening, kept between paints.
struct SoftenScratch
{
    std::vector<quint16> colSums;
    std::vector<quint32> rows;
};

namespace {

constexpr quint32 kLit = 0x00FFFFFFu;
constexpr quint32 kColorMask = 0x00FFFFFFu;

constexpr quint32 kSegDown = 0x01000000u;
constexpr quint32 kSegRight = 0x02000000u;
constexpr quint32 kSegUp = 0x04000000u;
constexpr quint32 kSegLeft = 0x08000000u;
constexpr quint32 kSegFill = 0x00FF0000u;

// Softening passes run together in one sweep over the image.
constexpr int kMaxFusedPasses = 8;

// Largest control side we accept; larger geometry is refused like an invalid value.
constexpr qint64 kMaxSide = 32767;

QImage newStateRaster(int w, int h)
{
    QImage img(qMax(0, w), qMax(0, h), QImage::Format_ARGB32);
    if (!img.isNull())
        img.fill(0u);
    return img;
}

inline quint32 rawPixel(const QImage &img, int x, int y)
{
    if (x < 0 || y < 0 || x >= img.width() || y >= img.height())
        return 0;
    return reinterpret_cast<const quint32 *>(img.constScanLine(y))[x];
}

inline void setRawPixel(QImage &img, int x, int y, quint32 v)
{
    if (x < 0 || y < 0 || x >= img.width() || y >= img.height())
        return;
    reinterpret_cast<quint32 *>(img.scanLine(y))[x] = v;
}

inline void orRawPixel(QImage &img, int x, int y, quint32 v)
{
    if (x < 0 || y < 0 || x >= img.width() || y >= img.height())
        return;
    reinterpret_cast<quint32 *>(img.scanLine(y))[x] |= v;
}

// Fills [x0, x1) x [y0, y1), clipped to the raster.
void fillRaw(QImage &img, qint64 x0, qint64 y0, qint64 x1, qint64 y1, quint32 v)
{
    x0 = qMax<qint64>(x0, 0);
    y0 = qMax<qint64>(y0, 0);
    x1 = qMin<qint64>(x1, img.width());
    y1 = qMin<qint64>(y1, img.height());
    if (x0 >= x1 || y0 >= y1)
        return;
    for (qint64 y = y0; y < y1; ++y) {
        quint32 *line = reinterpret_cast<quint32 *>(img.scanLine(int(y)));
        std::fill(line + x0, line + x1, v);
    }
}

inline int clampInt(qint64 v)
{
    return int(std::clamp<qint64>(v, INT_MIN, INT_MAX));
}

// One softening pass over an inner row: every inner pixel becomes the sum of its
// eight neighbours times 2, divided by 16, per channel, with alpha 255; the two
// border pixels are copied. The sums of the three rows of each column are formed
// first (four 16-bit channels per pixel, in vs); the eight-neighbour sum is
// then the 3 x 3 box of them minus the centre, and 2 * sum / 16 == sum / 8 never
// exceeds 255, so no clamping is needed. The vector loops handle four pixels at a
// time; the plain loops finish the row from where they stopped.
void columnSumsFrom(int x, const quint32 *up, const quint32 *mid, const quint32 *dn, int w, quint16 *vs)
{
    for (; x < w; ++x) {
        for (int k = 0; k < 4; ++k) {
            const int sh = 8 * k;
            vs[4 * x + k] = quint16(((up[x] >> sh) & 0xFFu) + ((mid[x] >> sh) & 0xFFu) + ((dn[x] >> sh) & 0xFFu));
        }
    }
}

void neighbourAveragesFrom(int x, const quint32 *mid, quint32 *out, int w, const quint16 *vs)
{
    for (; x < w - 1; ++x) {
        quint32 v = 0xFF000000u;
        for (int k = 0; k < 3; ++k) {
            const int sum = vs[4 * (x - 1) + k] + vs[4 * x + k] + vs[4 * (x + 1) + k]
                - int((mid[x] >> (8 * k)) & 0xFFu);
            v |= quint32(qBound(0, 2 * sum / 16, 255)) << (8 * k);
        }
        out[x] = v;
    }
}

void convolveRowPlain(const quint32 *up, const quint32 *mid, const quint32 *dn, quint32 *out, int w,
                      quint16 *vs)
{
    int x = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; x + 4 <= w; x += 4) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(up + x));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(mid + x));
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i *>(dn + x));
        const __m128i lo = _mm_add_epi16(_mm_add_epi16(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero)),
                                         _mm_unpacklo_epi8(c, zero));
        const __m128i hi = _mm_add_epi16(_mm_add_epi16(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero)),
                                         _mm_unpackhi_epi8(c, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(vs + 4 * x), lo);
        _mm_storeu_si128(reinterpret_cast<__m128i *>(vs + 4 * x + 8), hi);
    }
#endif
    columnSumsFrom(x, up, mid, dn, w, vs);

    const quint32 first = mid[0];
    const quint32 last = mid[w - 1];
    x = 1;
#if defined(__SSE2__)
    const __m128i alpha = _mm_set1_epi32(int(0xFF000000u));
    auto load = [](const quint16 *q) { return _mm_loadu_si128(reinterpret_cast<const __m128i *>(q)); };
    for (; x + 4 <= w - 1; x += 4) {
        const quint16 *c = vs + 4 * x;
        const __m128i centre = _mm_loadu_si128(reinterpret_cast<const __m128i *>(mid + x));
        __m128i lo = _mm_add_epi16(_mm_add_epi16(load(c - 4), load(c)), load(c + 4));
        __m128i hi = _mm_add_epi16(_mm_add_epi16(load(c + 4), load(c + 8)), load(c + 12));
        lo = _mm_srli_epi16(_mm_sub_epi16(lo, _mm_unpacklo_epi8(centre, zero)), 3);
        hi = _mm_srli_epi16(_mm_sub_epi16(hi, _mm_unpackhi_epi8(centre, zero)), 3);
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + x), _mm_or_si128(_mm_packus_epi16(lo, hi), alpha));
    }
#endif
    neighbourAveragesFrom(x, mid, out, w, vs);
    out[0] = first;
    out[w - 1] = last;
}

#if ORV_AVX2_PATH
// The same with 256-bit registers: four pixels widen to one register of sixteen
// 16-bit channels, so the column sums stay in pixel order.
__attribute__((target("avx2"))) inline __m256i widen4(const quint32 *q)
{
    return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i *>(q)));
}

__attribute__((target("avx2"))) inline __m256i load16(const quint16 *q)
{
    return _mm256_loadu_si256(reinterpret_cast<const __m256i *>(q));
}

__attribute__((target("avx2"))) void convolveRowAvx2(const quint32 *up, const quint32 *mid, const quint32 *dn,
                                                     quint32 *out, int w, quint16 *vs)
{
    int x = 0;
    for (; x + 4 <= w; x += 4) {
        const __m256i sum = _mm256_add_epi16(_mm256_add_epi16(widen4(up + x), widen4(mid + x)), widen4(dn + x));
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(vs + 4 * x), sum);
    }
    columnSumsFrom(x, up, mid, dn, w, vs);

    const quint32 first = mid[0];
    const quint32 last = mid[w - 1];
    x = 1;
    const __m128i alpha = _mm_set1_epi32(int(0xFF000000u));
    for (; x + 4 <= w - 1; x += 4) {
        const quint16 *c = vs + 4 * x;
        __m256i s = _mm256_add_epi16(_mm256_add_epi16(load16(c - 4), load16(c)), load16(c + 4));
        s = _mm256_srli_epi16(_mm256_sub_epi16(s, widen4(mid + x)), 3);
        const __m128i packed = _mm_packus_epi16(_mm256_castsi256_si128(s), _mm256_extracti128_si256(s, 1));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + x), _mm_or_si128(packed, alpha));
    }
    neighbourAveragesFrom(x, mid, out, w, vs);
    out[0] = first;
    out[w - 1] = last;
}
#endif

using ConvolveRowFn = void (*)(const quint32 *, const quint32 *, const quint32 *, quint32 *, int, quint16 *);

// The wide path when the processor has it; ORV_NO_AVX2 in the environment keeps
// the plain one (the tests compare both with the definition).
ConvolveRowFn pickConvolveRow()
{
#if ORV_AVX2_PATH
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2 && !qEnvironmentVariableIsSet("ORV_NO_AVX2"))
        return convolveRowAvx2;
#endif
    return convolveRowPlain;
}

// \a passes softening passes from src into dst (same size, 32-bit pixels, distinct
// images). All passes run in one sweep over the rows: pass j produces row s - j
// while pass j - 1 produces row s - j + 1, so every intermediate pass needs only
// a ring of three rows and the image is read and written once. Border rows and
// columns stay as in src, as they do after every single pass.
void convolvePasses(const QImage &src, QImage &dst, int passes, SoftenScratch &scratch)
{
    const int w = src.width();
    const int h = src.height();
    const size_t rowBytes = size_t(w) * 4;
    if (passes <= 0 || h <= 2 || w <= 2) {
        for (int y = 0; y < h; ++y)
            std::memcpy(dst.scanLine(y), src.constScanLine(y), rowBytes);
        return;
    }
    if (passes > kMaxFusedPasses) {
        // Many passes: sweeps of a bounded number of passes each, so the row rings
        // stay small whatever the pass count.
        convolvePasses(src, dst, kMaxFusedPasses, scratch);
        for (int done = kMaxFusedPasses; done < passes; done += kMaxFusedPasses) {
            const QImage previous = dst.copy();
            convolvePasses(previous, dst, qMin(kMaxFusedPasses, passes - done), scratch);
        }
        return;
    }
    const ConvolveRowFn convolveRow = pickConvolveRow();
    scratch.colSums.resize(size_t(w) * 4);
    // Rings of the passes 1 .. passes-1; pass 0 is src, the last pass writes dst.
    scratch.rows.resize(size_t(passes - 1) * 3 * size_t(w));
    auto ringRow = [&](int level, int row) -> quint32 * {
        return scratch.rows.data() + (size_t(level - 1) * 3 + size_t(row % 3)) * size_t(w);
    };
    auto levelRow = [&](int level, int row) -> const quint32 * {
        if (level == 0)
            return reinterpret_cast<const quint32 *>(src.constScanLine(row));
        return ringRow(level, row);
    };

    for (int step = 0; step < h + passes; ++step) {
        for (int level = 1; level <= passes; ++level) {
            const int r = step - level;
            if (r < 0 || r >= h)
                continue;
            quint32 *out = level == passes ? reinterpret_cast<quint32 *>(dst.scanLine(r)) : ringRow(level, r);
            if (r == 0 || r == h - 1)
                std::memcpy(out, src.constScanLine(r), rowBytes);
            else
                convolveRow(levelRow(level - 1, r - 1), levelRow(level - 1, r), levelRow(level - 1, r + 1), out, w,
                            scratch.colSums.data());
        }
    }
}

} // namespace

LedMatrix::LedMatrix(QObject *parent) : QObject(parent)
{
    m_content = newStateRaster(m_countX, m_countY);
    m_mark = newStateRaster(m_countX, m_countY);
    m_frame = newStateRaster(m_countX + 1, m_countY + 1);
    m_width = (m_ledSize + m_ledDistance) * m_countX + m_ledDistance;
    m_height = (m_ledSize + m_ledDistance) * m_countY + m_ledDistance;
    m_screen = QImage(m_width, m_height, QImage::Format_ARGB32);
    m_screen.fill(m_colorBG);
    m_dirty = m_screen.rect();
    m_pending = Pending::Full;
    Redraw();
}

LedMatrix::~LedMatrix() = default;

// ---------------------------------------------------------------- properties

void LedMatrix::SetColorBG(QRgb c)
{
    m_colorBG = c & kColorMask;
    if (!m_screen.isNull())
        m_screen.fill(m_colorBG);
    m_dirty = m_screen.rect();
    touchAll();
    Redraw();
}

#define ORV_COLOR_SETTER(Name, member)                                                             \
    void LedMatrix::Set##Name(QRgb c)                                                              \
    {                                                                                              \
        member = c & kColorMask;                                                                   \
        touchAll();                                                                                \
        Redraw();                                                                                  \
    }

ORV_COLOR_SETTER(ColorOn, m_colorOn)
ORV_COLOR_SETTER(ColorOff, m_colorOff)
ORV_COLOR_SETTER(ColorUnk, m_colorUnk)
ORV_COLOR_SETTER(BoxColorOn, m_boxColorOn)
ORV_COLOR_SETTER(BoxColorOff, m_boxColorOff)
ORV_COLOR_SETTER(BoxColorUnk, m_boxColorUnk)
ORV_COLOR_SETTER(FrameColor, m_frameColor)

#undef ORV_COLOR_SETTER

bool LedMatrix::geometryFits(int size, int distance, int countX, int countY)
{
    const qint64 p = qint64(size) + distance;
    return p * countX + distance <= kMaxSide && p * countY + distance <= kMaxSide;
}

void LedMatrix::SetLEDSize(int size)
{
    // The size is a byte; 0 and values outside are ignored.
    if (size == m_ledSize || size <= 0 || size > 255
        || !geometryFits(size, m_ledDistance, m_countX, m_countY))
        return;
    m_ledSize = size;
    applyGeometry();
    Redraw();
}

void LedMatrix::SetLEDDistance(int distance)
{
    if (distance == m_ledDistance || distance < 0 || distance > 255
        || !geometryFits(m_ledSize, distance, m_countX, m_countY))
        return;
    m_ledDistance = distance;
    applyGeometry();
    Redraw();
}

void LedMatrix::SetLEDCountX(int count)
{
    if (count == m_countX || count <= 0 || !geometryFits(m_ledSize, m_ledDistance, count, m_countY))
        return;
    m_countX = count;
    resizeStateRasters();
    applyGeometry();
    Redraw();
}

void LedMatrix::SetLEDCountY(int count)
{
    if (count == m_countY || count <= 0 || !geometryFits(m_ledSize, m_ledDistance, m_countX, count))
        return;
    m_countY = count;
    resizeStateRasters();
    applyGeometry();
    Redraw();
}

void LedMatrix::resizeStateRasters()
{
    m_content = newStateRaster(m_countX, m_countY);
    m_mark = newStateRaster(m_countX, m_countY);
    m_frame = newStateRaster(m_countX + 1, m_countY + 1);
}

void LedMatrix::applyGeometry()
{
    const int p = m_ledSize + m_ledDistance;
    const int w = p * m_countX + m_ledDistance;
    const int h = p * m_countY + m_ledDistance;
    const bool changed = w != m_width || h != m_height;
    m_width = w;
    m_height = h;
    m_screen = QImage(m_width, m_height, QImage::Format_ARGB32);
    if (!m_screen.isNull())
        m_screen.fill(m_colorBG);
    m_dirty = m_screen.rect();
    touchAll();
    if (changed)
        Q_EMIT sizeChanged(m_width, m_height);
}

// ---------------------------------------------------------------- operations

void LedMatrix::Render()
{
    if (m_screen.width() != m_width || m_screen.height() != m_height) {
        m_screen = QImage(m_width, m_height, QImage::Format_ARGB32);
        if (!m_screen.isNull())
            m_screen.fill(m_colorBG);
        m_dirty = m_screen.rect();
        m_pending = Pending::Full;
    }

    int x0 = 0, y0 = 0, x1 = m_countX - 1, y1 = m_countY - 1;
    if (m_pending == Pending::Area) {
        x0 = qMax(x0, m_pendingArea.Left);
        y0 = qMax(y0, m_pendingArea.Top);
        x1 = qMin(x1, m_pendingArea.Right);
        y1 = qMin(y1, m_pendingArea.Bottom);
    }
    m_pending = Pending::None;
    if (m_screen.isNull() || x0 > x1 || y0 > y1)
        return;

    const int size = m_ledSize;
    const int dist = m_ledDistance;
    const int p = size + dist;
    const int sw = m_screen.width();
    const int sh = m_screen.height();
    // Pixels this render may change: the cells with their gap lines, plus the frame
    // segments that reach out from the grid points on the area's edges.
    m_dirty |= QRect(QPoint(p * x0 - size, p * y0 - size),
                     QPoint(x1 == m_countX - 1 ? sw - 1 : p * (x1 + 1) + size,
                            y1 == m_countY - 1 ? sh - 1 : p * (y1 + 1) + size))
                   .intersected(m_screen.rect());

    if (dist > 0) {
        // Up to and including the gap line after the last cell; at the right and
        // bottom edge the whole rest of the control, so that with gaps wider than
        // one pixel no frame pixel outside the last grid line is left behind.
        const qint64 fx1 = x1 == m_countX - 1 ? sw : qint64(p) * (x1 + 1) + 1;
        const qint64 fy1 = y1 == m_countY - 1 ? sh : qint64(p) * (y1 + 1) + 1;
        fillRaw(m_screen, qint64(p) * x0, qint64(p) * y0, fx1, fy1, m_colorBG);

        const quint32 fc = m_frameColor;
        const int fw = m_frame.width();
        const int fh = m_frame.height();
        for (int gy = y0; gy <= y1 + 1 && gy < fh; ++gy) {
            const quint32 *frow = reinterpret_cast<const quint32 *>(m_frame.constScanLine(gy));
            const int py = p * gy;
            for (int gx = x0; gx <= x1 + 1 && gx < fw; ++gx) {
                const quint32 word = frow[gx];
                if ((word & 0x0F000000u) == 0)
                    continue;
                const int px = p * gx;
                if (px >= sw)
                    continue;
                if (word & kSegDown) {
                    for (int j = 0; j <= size; ++j) {
                        if (py + j >= sh)
                            break;
                        reinterpret_cast<quint32 *>(m_screen.scanLine(py + j))[px] = fc;
                    }
                }
                if ((word & kSegRight) && py < sh) {
                    quint32 *line = reinterpret_cast<quint32 *>(m_screen.scanLine(py));
                    const int end = qMin(px + size, sw - 1);
                    for (int x = px; x <= end; ++x)
                        line[x] = fc;
                }
                if (word & kSegUp) {
                    for (int j = 0; j <= size; ++j) {
                        const int y = py - j;
                        if (y < 0)
                            break;
                        if (y < sh)
                            reinterpret_cast<quint32 *>(m_screen.scanLine(y))[px] = fc;
                    }
                }
                if ((word & kSegLeft) && py < sh) {
                    quint32 *line = reinterpret_cast<quint32 *>(m_screen.scanLine(py));
                    const int start = qMax(px - size, 0);
                    for (int x = start; x <= px; ++x)
                        line[x] = fc;
                }
            }
        }
    }

    // LED squares, one row of LEDs at a time: colours first, then the pixel rows.
    const int n = x1 - x0 + 1;
    std::vector<quint32> colours(size_t(n), 0);
    const quint32 table[2][3] = {{m_colorOff, m_colorOn, m_colorUnk},
                                 {m_boxColorOff, m_boxColorOn, m_boxColorUnk}};
    for (int y = y0; y <= y1; ++y) {
        const quint32 *crow = y < m_content.height()
            ? reinterpret_cast<const quint32 *>(m_content.constScanLine(y))
            : nullptr;
        const quint32 *mrow = y < m_mark.height()
            ? reinterpret_cast<const quint32 *>(m_mark.constScanLine(y))
            : nullptr;
        const int cw = crow ? m_content.width() : 0;
        const int mw = mrow ? m_mark.width() : 0;
        for (int i = 0; i < n; ++i) {
            const int x = x0 + i;
            const quint32 v = x < cw ? crow[x] : 0u;
            const int state = v == 0u ? 0 : (v == kLit ? 1 : 2);
            const int marked = (x < mw && mrow[x] == kLit) ? 1 : 0;
            colours[size_t(i)] = table[marked][state];
        }
        const int top = p * y + dist;
        for (int k = 0; k < size && top + k < sh; ++k) {
            quint32 *line = reinterpret_cast<quint32 *>(m_screen.scanLine(top + k)) + dist;
            if (size == 1) {
                for (int i = 0; i < n; ++i)
                    line[p * (x0 + i)] = colours[size_t(i)];
            } else {
                for (int i = 0; i < n; ++i) {
                    quint32 *q = line + p * (x0 + i);
                    const quint32 c = colours[size_t(i)];
                    for (int s = 0; s < size; ++s)
                        q[s] = c;
                }
            }
        }
    }
}

void LedMatrix::Redraw()
{
    if (!m_enaUpdate)
        return;
    Render();
    Q_EMIT updateRequested();
}

void LedMatrix::RedrawNow()
{
    if (!m_enaUpdate)
        return;
    Render();
    Q_EMIT paintRequested();
}

void LedMatrix::ClearAll()
{
    m_content.fill(0u);
    m_mark.fill(0u);
    m_frame.fill(0u);
    touchAll();
    Redraw();
}

void LedMatrix::ClearMarks()
{
    m_mark.fill(0u);
    m_frame.fill(0u);
    touchAll();
}

void LedMatrix::ClearArea(const TRect &r)
{
    fillRaw(m_content, r.Left, r.Top, qint64(r.Right) + 1, qint64(r.Bottom) + 1, 0u);
    // One more column and row, so the gap lines on the right and bottom are rebuilt too.
    touchArea(TRect(r.Left, r.Top, clampInt(qint64(r.Right) + 1), clampInt(qint64(r.Bottom) + 1)));
    Redraw();
}

void LedMatrix::MarkRect(const TRect &r)
{
    const int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
    const int fw = m_frame.width();
    const int fh = m_frame.height();
    // Grid loops run over the clipped ranges only; a point outside the raster is dropped.
    auto rowRange = [&](qint64 from, qint64 to, auto &&fn) {
        for (qint64 v = qMax<qint64>(from, 0); v <= qMin<qint64>(to, fh - 1); ++v)
            fn(int(v));
    };
    auto colRange = [&](qint64 from, qint64 to, auto &&fn) {
        for (qint64 v = qMax<qint64>(from, 0); v <= qMin<qint64>(to, fw - 1); ++v)
            fn(int(v));
    };
    // Left edge: downward segments.
    rowRange(T, B, [&](int y) { orRawPixel(m_frame, L, y, kSegDown | kSegFill); });
    // Bottom edge: rightward segments.
    if (qint64(B) + 1 <= INT_MAX)
        colRange(L, R, [&](int x) { orRawPixel(m_frame, x, B + 1, kSegRight | kSegFill); });
    // Right edge: upward segments.
    if (qint64(R) + 1 <= INT_MAX)
        rowRange(qint64(T) + 1, qint64(B) + 1,
                 [&](int y) { orRawPixel(m_frame, R + 1, y, kSegUp | kSegFill); });
    // Top edge: leftward segments.
    colRange(qint64(L) + 1, qint64(R) + 1,
             [&](int x) { orRawPixel(m_frame, x, T, kSegLeft | kSegFill); });

    fillRaw(m_mark, L, T, qint64(R) + 1, qint64(B) + 1, kLit);
    touchAll();
}

void LedMatrix::DrawFontText(const TRect &r, int dx, int dy, const FontSpec &font,
                             const QString &text)
{
    const qint64 w = qint64(r.Right) - r.Left + 1;
    const qint64 h = qint64(r.Bottom) - r.Top + 1;
    if (w <= 0 || h <= 0)
        return;
    // Only the part of the window that lies on the matrix can change anything; the
    // scratch raster covers that part, with the text origin moved by the same amount.
    const qint64 cl = qMax<qint64>(r.Left, 0);
    const qint64 ct = qMax<qint64>(r.Top, 0);
    const qint64 cr = qMin<qint64>(r.Right, qint64(m_content.width()) - 1);
    const qint64 cb = qMin<qint64>(r.Bottom, qint64(m_content.height()) - 1);
    if (cl <= cr && ct <= cb) {
        const int sw = int(cr - cl + 1);
        const int sh = int(cb - ct + 1);
        QImage scratch = TextRaster::newRaster(sw, sh, 0x00000000u);
        if (!scratch.isNull()) {
            TextRaster::drawText(scratch, clampInt(dx - (cl - r.Left)), clampInt(dy - (ct - r.Top)),
                                 font, text);
            for (int y = 0; y < sh; ++y) {
                const quint32 *src = reinterpret_cast<const quint32 *>(scratch.constScanLine(y));
                quint32 *dst = reinterpret_cast<quint32 *>(m_content.scanLine(int(ct) + y)) + cl;
                for (int x = 0; x < sw; ++x)
                    dst[x] = src[x] & kColorMask;
            }
        }
    }
    touchArea(r);
}

void LedMatrix::PutBitmap(QImage &source, const TRect &r, bool stretch)
{
    const qint64 w = qint64(r.Right) - r.Left + 1;
    const qint64 h = qint64(r.Bottom) - r.Top + 1;
    if (source.isNull() || source.width() <= 0 || source.height() <= 0 || w <= 0 || h <= 0)
        return;
    if (source.format() != QImage::Format_ARGB32 && source.format() != QImage::Format_RGB32)
        source.convertTo(QImage::Format_ARGB32);
    if (source.format() == QImage::Format_RGB32)
        source.reinterpretAsFormat(QImage::Format_ARGB32);
    const int srcW = source.width();
    const int srcH = source.height();
    for (int y = 0; y < srcH; ++y) {
        quint32 *line = reinterpret_cast<quint32 *>(source.scanLine(y));
        for (int x = 0; x < srcW; ++x)
            line[x] &= kColorMask;
    }

    // Destination cells that lie on the matrix, as offsets inside the rectangle.
    const qint64 ox0 = qMax<qint64>(0, -qint64(r.Left));
    const qint64 oy0 = qMax<qint64>(0, -qint64(r.Top));
    qint64 ox1 = qMin<qint64>(w - 1, qint64(m_content.width()) - 1 - r.Left);
    qint64 oy1 = qMin<qint64>(h - 1, qint64(m_content.height()) - 1 - r.Top);
    if (!stretch) {
        // Source window (0,0)..(w-1,h-1); a smaller source leaves the rest as it was.
        ox1 = qMin<qint64>(ox1, srcW - 1);
        oy1 = qMin<qint64>(oy1, srcH - 1);
        for (qint64 oy = oy0; oy <= oy1; ++oy) {
            const quint32 *src = reinterpret_cast<const quint32 *>(source.constScanLine(int(oy)));
            quint32 *dst = reinterpret_cast<quint32 *>(m_content.scanLine(int(r.Top + oy)));
            for (qint64 ox = ox0; ox <= ox1; ++ox)
                dst[r.Left + ox] = src[ox];
        }
    } else {
        // Nearest neighbour: destination offset x samples source column x * srcW / w
        // (integer division), rows likewise.
        for (qint64 oy = oy0; oy <= oy1; ++oy) {
            const int sy = int(oy * srcH / h);
            const quint32 *src = reinterpret_cast<const quint32 *>(source.constScanLine(sy));
            quint32 *dst = reinterpret_cast<quint32 *>(m_content.scanLine(int(r.Top + oy)));
            for (qint64 ox = ox0; ox <= ox1; ++ox)
                dst[r.Left + ox] = src[ox * srcW / w];
        }
    }
    touchAll();
}

void LedMatrix::GetBitmap(const TRect &r, QImage &dest) const
{
    const qint64 w = qint64(r.Right) - r.Left + 1;
    const qint64 h = qint64(r.Bottom) - r.Top + 1;
    if (w <= 0 || h <= 0 || w > INT_MAX || h > INT_MAX) {
        dest = QImage();
        return;
    }
    dest = QImage(int(w), int(h), QImage::Format_ARGB32);
    if (dest.isNull())
        return;
    dest.fill(0u);
    const qint64 ox0 = qMax<qint64>(0, -qint64(r.Left));
    const qint64 oy0 = qMax<qint64>(0, -qint64(r.Top));
    const qint64 ox1 = qMin<qint64>(w - 1, qint64(m_content.width()) - 1 - r.Left);
    const qint64 oy1 = qMin<qint64>(h - 1, qint64(m_content.height()) - 1 - r.Top);
    for (qint64 oy = oy0; oy <= oy1; ++oy) {
        const quint32 *src = reinterpret_cast<const quint32 *>(m_content.constScanLine(int(r.Top + oy)));
        quint32 *dst = reinterpret_cast<quint32 *>(dest.scanLine(int(oy)));
        for (qint64 ox = ox0; ox <= ox1; ++ox)
            dst[ox] = src[r.Left + ox];
    }
}

QImage LedMatrix::Paint() const
{
    if (!m_softenOut || m_softenCount <= 0 || m_screen.isNull())
        return m_screen;
    if (!m_softScratch)
        m_softScratch = std::make_unique<SoftenScratch>();
    const int n = m_softenCount;
    const QRect all = m_screen.rect();
    // A pass spreads a change by one pixel: n passes change the softened image only
    // within n pixels of the changed screen pixels, and computing that part needs
    // n more pixels of input around it (image edges are edges there too).
    const QRect out = m_dirty.isEmpty() ? QRect() : m_dirty.adjusted(-n, -n, n, n).intersected(all);
    const QRect in = out.adjusted(-n, -n, n, n).intersected(all);
    const bool reusable = m_softPasses == n && m_soft.size() == m_screen.size() && m_soft.isDetached();
    if (reusable && out.isEmpty())
        return m_soft;
    if (reusable && qint64(in.width()) * in.height() < qint64(all.width()) * all.height() / 2) {
        const QImage part = m_screen.copy(in);
        QImage softPart(part.size(), QImage::Format_ARGB32);
        if (!part.isNull() && !softPart.isNull()) {
            convolvePasses(part, softPart, n, *m_softScratch);
            const int dx = out.left() - in.left();
            const size_t bytes = size_t(out.width()) * 4;
            for (int y = out.top(); y <= out.bottom(); ++y)
                std::memcpy(reinterpret_cast<quint32 *>(m_soft.scanLine(y)) + out.left(),
                            reinterpret_cast<const quint32 *>(softPart.constScanLine(y - in.top())) + dx, bytes);
            m_dirty = QRect();
            return m_soft;
        }
    }
    // Whole image. A buffer still held by a caller from an earlier paint is
    // replaced instead of detached (no copy).
    if (m_soft.size() != m_screen.size() || !m_soft.isDetached())
        m_soft = QImage(m_screen.size(), QImage::Format_ARGB32);
    if (m_soft.isNull())
        return m_screen;
    convolvePasses(m_screen, m_soft, n, *m_softScratch);
    m_softPasses = n;
    m_dirty = QRect();
    return m_soft;
}

void LedMatrix::Convolve3x3(QImage &raster)
{
    if (raster.isNull())
        return;
    if (raster.format() != QImage::Format_ARGB32 && raster.format() != QImage::Format_RGB32)
        raster.convertTo(QImage::Format_ARGB32);
    const QImage snapshot = raster.copy();
    SoftenScratch scratch;
    convolvePasses(snapshot, raster, 1, scratch);
}

// ---------------------------------------------------------------- raw access

quint32 LedMatrix::contentPixel(int x, int y) const
{
    return rawPixel(m_content, x, y);
}

void LedMatrix::setContentPixel(int x, int y, quint32 v)
{
    setRawPixel(m_content, x, y, v);
    touchAll();
}

QPoint LedMatrix::PixelToLED(int x, int y) const
{
    const int cw = m_countX > 0 ? m_width / m_countX : 0;
    const int ch = m_countY > 0 ? m_height / m_countY : 0;
    return QPoint(cw > 0 ? x / cw : 0, ch > 0 ? y / ch : 0);
}

void LedMatrix::touchArea(const TRect &r)
{
    if (r.Right < r.Left || r.Bottom < r.Top)
        return;
    switch (m_pending) {
    case Pending::Full:
        return;
    case Pending::None:
        m_pendingArea = r;
        m_pending = Pending::Area;
        return;
    case Pending::Area:
        m_pendingArea.Left = qMin(m_pendingArea.Left, r.Left);
        m_pendingArea.Top = qMin(m_pendingArea.Top, r.Top);
        m_pendingArea.Right = qMax(m_pendingArea.Right, r.Right);
        m_pendingArea.Bottom = qMax(m_pendingArea.Bottom, r.Bottom);
        return;
    }
}

// ---------------------------------------------------------------- hint and cursor

void LedMatrix::SetHint(const QString &hint)
{
    if (hint == m_hint)
        return;
    m_hint = hint;
    Q_EMIT hintChanged();
}

void LedMatrix::SetHintEnabled(bool on)
{
    if (on == m_hintEnabled)
        return;
    m_hintEnabled = on;
    Q_EMIT hintChanged();
}

void LedMatrix::SetCursor(CursorShape shape)
{
    if (shape == m_cursor)
        return;
    m_cursor = shape;
    Q_EMIT cursorChanged(shape);
}
