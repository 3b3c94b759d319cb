// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledmatrix/ledmatrix.h"

#include "display/userfont.h"
#include "util/win1252.h"

#include <limits>

namespace {
constexpr quint32 kLedOn = 0x00FFFFFF;
constexpr quint32 kLedOff = 0x00000000;
} // namespace

// Every pixel of a character's cell is written: lit for 1 bits, unlit for 0 bits,
// unlit for characters without a glyph and for columns beyond a row's bytes.
void LedMatrix::DrawGlyphText(int x, int y, const TUserFont &font, const QString &text)
{
    const QByteArray bytes = Win1252::fromUnicode(text);
    const int w = font.GlyphWidth;
    const int h = font.GlyphHeight;
    const int advance = font.Pitch;
    const int n = int(bytes.size());

    if (w > 0 && h > 0 && !m_content.isNull()) {
        const int rowBytes = font.BytesPerGlyph / w;
        const int rasterW = m_content.width();
        const int rasterH = m_content.height();
        for (int i = 0; i < n; ++i) {
            const int code = quint8(bytes[i]);
            const bool hasGlyph = font.HasGlyph(code);
            const qint64 cellX = qint64(x) + qint64(i) * advance;
            if (cellX >= rasterW) {
                if (advance > 0)
                    break;
                continue;
            }
            if (cellX + w <= 0)
                continue;
            for (int r = 0; r < h; ++r) {
                const qint64 py = qint64(y) + r;
                if (py < 0 || py >= rasterH)
                    continue;
                auto *line = reinterpret_cast<quint32 *>(m_content.scanLine(int(py)));
                for (int c = 0; c < w; ++c) {
                    const qint64 px = cellX + c;
                    if (px < 0 || px >= rasterW)
                        continue;
                    bool lit = false;
                    if (hasGlyph && c < rowBytes * 8) {
                        const quint8 b = font.GlyphByte(code, r * rowBytes + c / 8);
                        lit = (b >> (7 - c % 8)) & 1;
                    }
                    line[px] = lit ? kLedOn : kLedOff;
                }
            }
        }
    }

    const qint64 right = qint64(x) + qint64(n) * advance + advance;
    const qint64 bottom = qint64(y) + h;
    constexpr qint64 lo = std::numeric_limits<int>::min();
    constexpr qint64 hi = std::numeric_limits<int>::max();
    touchArea(TRect(x, y, int(qBound(lo, right, hi)), int(qBound(lo, bottom, hi))));
}
