// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledmatrix/ledmatrix.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

namespace {

constexpr quint32 kLit = 0x00FFFFFFu;
constexpr quint32 kColorMask = 0x00FFFFFFu;

constexpr quint32 kSegDown = 0x01000000u;
constexpr quint32 kSegRight = 0x02000000u;
constexpr quint32 kSegUp = 0x04000000u;
constexpr quint32 kSegLeft = 0x08000000u;
constexpr quint32 kSegFill = 0x00FF0000u;

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

// One softening pass from src into dst (same size, 32-bit pixels): every inner
// pixel becomes the sum of its eight neighbours times 2, divided by 16, per
// channel, with alpha 255; border pixels are copied unchanged.
void convolvePass(const QImage &src, QImage &dst)
{
    const int w = src.width();
    const int h = src.height();
    const qsizetype rowBytes = qsizetype(w) * 4;
    if (h <= 2 || w <= 2) {
        for (int y = 0; y < h; ++y)
            std::memcpy(dst.scanLine(y), src.constScanLine(y), size_t(rowBytes));
        return;
    }
    std::memcpy(dst.scanLine(0), src.constScanLine(0), size_t(rowBytes));
    std::memcpy(dst.scanLine(h - 1), src.constScanLine(h - 1), size_t(rowBytes));

    // Column sums of the three rows, red and blue in one word (16-bit lanes), green in another.
    std::vector<quint32> colRB(static_cast<size_t>(w));
    std::vector<quint32> colG(static_cast<size_t>(w));
    for (int y = 1; y < h - 1; ++y) {
        const quint32 *up = reinterpret_cast<const quint32 *>(src.constScanLine(y - 1));
        const quint32 *mid = reinterpret_cast<const quint32 *>(src.constScanLine(y));
        const quint32 *dn = reinterpret_cast<const quint32 *>(src.constScanLine(y + 1));
        quint32 *out = reinterpret_cast<quint32 *>(dst.scanLine(y));
        quint32 *rb = colRB.data();
        quint32 *g = colG.data();
        for (int x = 0; x < w; ++x) {
            const quint32 a = up[x], b = mid[x], c = dn[x];
            rb[x] = (a & 0x00FF00FFu) + (b & 0x00FF00FFu) + (c & 0x00FF00FFu);
            g[x] = (a & 0x0000FF00u) + (b & 0x0000FF00u) + (c & 0x0000FF00u);
        }
        out[0] = mid[0];
        out[w - 1] = mid[w - 1];
        for (int x = 1; x < w - 1; ++x) {
            const quint32 c = mid[x];
            // Sum of the eight neighbours = 3x3 box minus the centre; 2*S/16 == S/8.
            const quint32 sRB = rb[x - 1] + rb[x] + rb[x + 1] - (c & 0x00FF00FFu);
            const quint32 sG = g[x - 1] + g[x] + g[x + 1] - (c & 0x0000FF00u);
            out[x] = 0xFF000000u | ((sRB >> 3) & 0x00FF00FFu) | ((sG >> 3) & 0x0000FF00u);
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

    if (dist > 0) {
        fillRaw(m_screen, qint64(p) * x0, qint64(p) * y0, qint64(p) * (x1 + 1) + 1,
                qint64(p) * (y1 + 1) + 1, m_colorBG);

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
    // Two reused buffers, passes alternate between them; a buffer still held by a
    // caller from an earlier paint is replaced instead of detached (no copy).
    auto prepare = [this](QImage &buf) {
        if (buf.size() != m_screen.size() || !buf.isDetached())
            buf = QImage(m_screen.size(), QImage::Format_ARGB32);
    };
    prepare(m_softA);
    prepare(m_softB);
    if (m_softA.isNull() || m_softB.isNull())
        return m_screen;
    const QImage *src = &m_screen;
    QImage *dst = &m_softA;
    for (int pass = 0; pass < m_softenCount; ++pass) {
        convolvePass(*src, *dst);
        src = dst;
        dst = (dst == &m_softA) ? &m_softB : &m_softA;
    }
    return *src;
}

void LedMatrix::Convolve3x3(QImage &raster)
{
    if (raster.isNull())
        return;
    if (raster.format() != QImage::Format_ARGB32 && raster.format() != QImage::Format_RGB32)
        raster.convertTo(QImage::Format_ARGB32);
    const QImage snapshot = raster.copy();
    convolvePass(snapshot, raster);
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
