// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/fontspec.h"

#include "display/glyphimagecache.h"
#include "util/trect.h"

#include <QFontMetrics>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>

#include <algorithm>

namespace TextRaster {

namespace {

constexpr int kDotsPerMeter96 = 3780; // 96 dpi

QFont baseFont(const FontSpec &fontSpec)
{
    QFont f(fontSpec.Name);
    f.setBold(fontSpec.Bold);
    f.setItalic(fontSpec.Italic);
    f.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoFontMerging));
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setKerning(false);
    return f;
}

// Pixel size whose ascent + descent is at most cellHeight, as large as possible.
int pixelSizeForCell(const QFont &base, int cellHeight)
{
    static QMutex mutex;
    static QHash<QString, int> cache;
    const QString key = base.family() + QChar(u'|') + QString::number(base.bold())
        + QString::number(base.italic()) + QChar(u'|') + QString::number(cellHeight);
    {
        QMutexLocker lock(&mutex);
        const auto it = cache.constFind(key);
        if (it != cache.constEnd())
            return *it;
    }

    auto cellAt = [&](int px) {
        QFont f(base);
        f.setPixelSize(px);
        QFontMetrics m(f);
        return m.ascent() + m.descent();
    };
    // Starts near the answer and steps at most to one beyond the largest drawn
    // size (the caller limits cellHeight, so the steps are few).
    int px = qBound(1, cellHeight, kMaxPixelSize + 1);
    const int ref = cellAt(1000);
    if (ref > 0)
        px = qBound(1, int(qint64(cellHeight) * 1000 / ref), kMaxPixelSize + 1);
    while (px > 1 && cellAt(px) > cellHeight)
        --px;
    while (px <= kMaxPixelSize && cellAt(px + 1) <= cellHeight)
        ++px;
    QMutexLocker lock(&mutex);
    cache.insert(key, px);
    return px;
}

} // namespace

bool toQFont(const FontSpec &fontSpec, QFont &out)
{
    if (fontSpec.Size == 0 || fontSpec.Size == kUnfittedSize)
        return false;
    QFont f = baseFont(fontSpec);
    if (fontSpec.Size > 0) {
        const int px = MulDiv(fontSpec.Size, 96, 72);
        if (px <= 0 || px > kMaxPixelSize)
            return false;
        f.setPixelSize(px);
    } else {
        const int cell = MulDiv(-fontSpec.Size, 96, 72);
        // No font has a cell of less than half its pixel size.
        if (cell <= 0 || cell > 2 * kMaxPixelSize)
            return false;
        const int px = pixelSizeForCell(f, cell);
        if (px > kMaxPixelSize)
            return false;
        f.setPixelSize(px);
    }
    out = f;
    return true;
}

int pixelSize(const FontSpec &fontSpec)
{
    if (fontSpec.Size == 0 || fontSpec.Size == kUnfittedSize)
        return 0;
    if (fontSpec.Size > 0) {
        const int px = MulDiv(fontSpec.Size, 96, 72);
        return px > 0 && px <= kMaxPixelSize ? px : 0;
    }
    QFont f;
    return toQFont(fontSpec, f) ? f.pixelSize() : 0;
}

QImage newRaster(int width, int height, QRgb fill)
{
    QImage img(qMax(0, width), qMax(0, height), QImage::Format_ARGB32);
    img.setDotsPerMeterX(kDotsPerMeter96);
    img.setDotsPerMeterY(kDotsPerMeter96);
    img.fill(fill);
    return img;
}

namespace {

// Sets the ink of \a glyph with its cell origin at (x, y); the raster is
// Format_ARGB32 (or another 32-bit format with the same pixel layout).
void blit(QImage &raster, qint64 x, qint64 y, const GlyphImage &glyph, QRgb color)
{
    if (!glyph.HasInk)
        return;
    const qint64 w = raster.width();
    const qint64 h = raster.height();
    const qint64 firstRow = std::max<qint64>(glyph.Top, -y);
    const qint64 lastRow = std::min<qint64>(glyph.Bottom, h - 1 - y);
    if (x + glyph.Right < 0 || x + glyph.Left >= w)
        return;
    for (qint64 gy = firstRow; gy <= lastRow; ++gy) {
        auto *line = reinterpret_cast<QRgb *>(raster.scanLine(int(y + gy)));
        const size_t row = size_t(gy - glyph.Top);
        const int end = glyph.RowStart[row + 1];
        for (int i = glyph.RowStart[row]; i < end; ++i) {
            const qint64 a = std::max<qint64>(x + glyph.RowRuns[size_t(i)].first, 0);
            const qint64 b = std::min<qint64>(x + glyph.RowRuns[size_t(i)].second, w - 1);
            if (a <= b)
                std::fill(line + a, line + b + 1, color);
        }
    }
}

} // namespace

void drawText(QImage &raster, int x, int y, const FontSpec &fontSpec, const QString &text)
{
    if (raster.isNull() || text.isEmpty() || pixelSize(fontSpec) <= 0)
        return;
    const QImage::Format format = raster.format();
    if (format != QImage::Format_ARGB32 && format != QImage::Format_RGB32
        && format != QImage::Format_ARGB32_Premultiplied) {
        QImage argb = raster.convertToFormat(QImage::Format_ARGB32);
        drawText(argb, x, y, fontSpec, text);
        raster = argb.convertToFormat(format);
        return;
    }
    // Opaque, so the same value in premultiplied form.
    const QRgb color = fontSpec.Color | 0xFF000000u;
    GlyphImageCache &cache = GlyphImageCache::instance();
    qreal pen = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t ch = text.at(i).unicode();
        if (QChar::isHighSurrogate(ch) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ch = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            ++i;
        }
        const GlyphImagePtr glyph = cache.Glyph(fontSpec, ch);
        if (!glyph)
            return;
        blit(raster, qint64(x) + qRound64(pen), y, *glyph, color);
        pen += glyph->Advance;
    }
}

} // namespace TextRaster
