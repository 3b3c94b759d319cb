// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/bitmappacking.h"

namespace {

constexpr QRgb kLit = 0x00FFFFFF;

} // namespace

QByteArray PackBitmap(const QImage &raster, int width, int height)
{
    QByteArray packed(BitmapRecord::kPixelBytes, '\0');
    if (width <= 0 || height <= 0 || raster.isNull())
        return packed;
    const QImage src = raster.format() == QImage::Format_ARGB32 || raster.format() == QImage::Format_RGB32
        ? raster
        : raster.convertToFormat(QImage::Format_ARGB32);
    const int w = qMin(width, src.width());
    const int h = qMin(height, src.height());
    uchar *out = reinterpret_cast<uchar *>(packed.data());
    for (int y = 0; y < h; ++y) {
        const qint64 rowStart = qint64(y) * width;
        if (rowStart >= BitmapRecord::kMaxPixels)
            break;
        const auto *line = reinterpret_cast<const QRgb *>(src.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            if ((line[x] & 0x00FFFFFF) == 0)
                continue;
            const qint64 i = rowStart + x;
            if (i >= BitmapRecord::kMaxPixels)
                break;
            out[i >> 3] |= uchar(0x80u >> (i & 7));
        }
    }
    return packed;
}

QImage UnpackBitmap(int width, int height, const QByteArray &packed)
{
    if (width <= 0 || height <= 0 || qint64(width) * height > BitmapRecord::kMaxPixels)
        return QImage();
    QImage img(width, height, QImage::Format_ARGB32);
    if (img.isNull())
        return img;
    img.fill(0);
    const auto *in = reinterpret_cast<const uchar *>(packed.constData());
    const qint64 bytes = packed.size();
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const qint64 i = qint64(y) * width + x;
            if ((i >> 3) >= bytes)
                return img;
            if (in[i >> 3] & (0x80u >> (i & 7)))
                line[x] = kLit;
        }
    }
    return img;
}

BitmapRecord BitmapRecordFromImage(const QImage &raster)
{
    BitmapRecord rec;
    if (raster.isNull() || raster.width() <= 0 || raster.height() <= 0)
        return rec;
    rec.Width = raster.width();
    rec.Height = raster.height();
    rec.PackedPixels = PackBitmap(raster, rec.Width, rec.Height);
    return rec;
}

QImage ImageFromBitmapRecord(const BitmapRecord &record)
{
    if (!record.HasValidSize())
        return QImage();
    return UnpackBitmap(record.Width, record.Height, record.PackedPixels);
}
