// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/fontspec.h"

#include "util/trect.h"

#include <QFontMetrics>
#include <QHash>
#include <QPainter>

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
    static QHash<QString, int> cache;
    const QString key = base.family() + QChar(u'|') + QString::number(base.bold())
        + QString::number(base.italic()) + QChar(u'|') + QString::number(cellHeight);
    const auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;

    auto cellAt = [&](int px) {
        QFont f(base);
        f.setPixelSize(px);
        QFontMetrics m(f);
        return m.ascent() + m.descent();
    };
    int px = qMax(1, cellHeight);
    const int ref = cellAt(1000);
    if (ref > 0)
        px = qMax(1, int(qint64(cellHeight) * 1000 / ref));
    while (px > 1 && cellAt(px) > cellHeight)
        --px;
    while (cellAt(px + 1) <= cellHeight)
        ++px;
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
        if (px <= 0)
            return false;
        f.setPixelSize(px);
    } else {
        const int cell = MulDiv(-fontSpec.Size, 96, 72);
        if (cell <= 0)
            return false;
        f.setPixelSize(pixelSizeForCell(f, cell));
    }
    out = f;
    return true;
}

QImage newRaster(int width, int height, QRgb fill)
{
    QImage img(qMax(0, width), qMax(0, height), QImage::Format_ARGB32);
    img.setDotsPerMeterX(kDotsPerMeter96);
    img.setDotsPerMeterY(kDotsPerMeter96);
    img.fill(fill);
    return img;
}

void drawText(QImage &raster, int x, int y, const FontSpec &fontSpec, const QString &text)
{
    if (raster.isNull() || text.isEmpty())
        return;
    QFont font;
    if (!toQFont(fontSpec, font))
        return;
    QPainter p(&raster);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setFont(font);
    p.setPen(QColor::fromRgb(fontSpec.Color | 0xFF000000u));
    const QFontMetrics m(font, &raster);
    p.drawText(QPoint(x, y + m.ascent()), text);
}

} // namespace TextRaster
