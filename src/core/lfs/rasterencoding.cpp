// SPDX-License-Identifier: GPL-3.0-or-later
#include "lfs/rasterencoding.h"

#include "project/bitmappacking.h"

#include <limits>

namespace {

QImage as32Bit(const QImage &raster)
{
    if (raster.format() == QImage::Format_ARGB32 || raster.format() == QImage::Format_RGB32
        || raster.format() == QImage::Format_ARGB32_Premultiplied)
        return raster;
    return raster.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

int PaddedSize(int w, int h)
{
    if (w <= 0 || h <= 0)
        return 0;
    return int(qMin<qint64>((qint64(w) + 7) / 8 * h, std::numeric_limits<int>::max()));
}

int RegionBytes(const TRect &r)
{
    return PaddedSize(r.Width(), r.Height());
}

int EncodeRaster(const QImage &raster, char *slot, qsizetype slotSize)
{
    if (raster.isNull())
        return 0;
    const QImage img = as32Bit(raster);
    const int w = img.width();
    const int h = img.height();
    const int rowBytes = (w + 7) / 8;
    const int length = PaddedSize(w, h);
    qsizetype out = 0;
    for (int y = 0; y < h && out < slotSize; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int bx = 0; bx < rowBytes && out < slotSize; ++bx) {
            uchar byte = 0;
            const int x0 = bx * 8;
            const int x1 = qMin(x0 + 8, w);
            for (int x = x0; x < x1; ++x)
                if (line[x] & 0x00FFFFFFu)
                    byte |= uchar(0x80u >> (x - x0));
            slot[out++] = char(byte);
        }
    }
    return length;
}

QByteArray EncodeRaster(const QImage &raster)
{
    const int length = raster.isNull() ? 0 : PaddedSize(raster.width(), raster.height());
    QByteArray bytes(length, '\0');
    EncodeRaster(raster, bytes.data(), bytes.size());
    return bytes;
}

void Rotate90(QImage &raster)
{
    if (raster.isNull())
        return;
    const QImage src = as32Bit(raster);
    const int w = src.width();
    const int h = src.height();
    QImage dst(h, w, src.format());
    for (int y = 0; y < h; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(src.constScanLine(y));
        for (int x = 0; x < w; ++x)
            reinterpret_cast<QRgb *>(dst.scanLine(w - 1 - x))[y] = line[x];
    }
    dst.setDotsPerMeterX(src.dotsPerMeterY());
    dst.setDotsPerMeterY(src.dotsPerMeterX());
    raster = dst;
}

TRect TurnRect(const TRect &r, int h)
{
    return TRect(r.Top, h - r.Right, r.Bottom, h - r.Left);
}

void TurnBitmapRecord(BitmapRecord &record)
{
    if (!record.HasValidSize())
        return;
    QImage img = UnpackBitmap(record.Width, record.Height, record.PackedPixels);
    Rotate90(img);
    qSwap(record.Width, record.Height);
    record.PackedPixels = PackBitmap(img, record.Width, record.Height);
}

void TurnBitmapRecord(SpecialStateRecord &record)
{
    TurnBitmapRecord(record.Bitmap);
}
