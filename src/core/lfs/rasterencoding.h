// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "util/trect.h"

#include <QByteArray>
#include <QImage>
#include <QtGlobal>

/// Row-padded monochrome pictures as the flash image stores them, and the turns
/// for displays mounted upright.
namespace RasterEncoding {

/// Largest width x height a stored bitmap record can hold (4096 bytes of bits).
constexpr int MaxPackedPixels = 4096 * 8;
constexpr int PackedBytes = 4096;

} // namespace RasterEncoding

/// ((w + 7) div 8) x h: bytes of a w x h raster whose rows start on byte
/// boundaries. 0 when \a w or \a h is not positive.
int PaddedSize(int w, int h);
/// PaddedSize of an inclusive rectangle.
int RegionBytes(const TRect &r);

/// Encodes \a raster row by row, each row starting on a new byte, the leftmost
/// pixel in bit 7; a pixel is lit when any of its red, green, blue bits is set.
/// Writes at most \a slotSize bytes to \a slot (a longer encoding is cut) and
/// returns the full length PaddedSize(width, height).
int EncodeRaster(const QImage &raster, char *slot, qsizetype slotSize);
/// The whole encoding as a byte array.
QByteArray EncodeRaster(const QImage &raster);

/// Turns \a raster 90 degrees counter-clockwise in place: W x H becomes H x W and
/// pixel (x, y) lands at (y, W - 1 - x).
void Rotate90(QImage &raster);

/// (Left, Top, Right, Bottom) -> (Top, H - Right, Bottom, H - Left), with H the
/// display height (64 or 128, not the last row).
TRect TurnRect(const TRect &r, int h);

/// Unpacks bits stored without row alignment (bit x + y * width, most significant
/// first) into a white-on-black ARGB32 raster. A null image for a zero or negative
/// size or a size whose pixels exceed the 4096 bytes.
QImage UnpackPixels(int width, int height, const uchar *packed);
/// Packs \a raster into 4096 bytes (zero-filled first). Pixels beyond the 32768
/// the bytes hold are dropped.
void PackPixels(const QImage &raster, uchar *packed);

/// Turns a stored bitmap (width, height, 4096 packed bytes) like Rotate90 and swaps
/// its width and height. A bitmap with a zero width or height, or one whose size
/// the bytes cannot hold, is left unchanged.
void TurnPackedBitmap(qint32 &width, qint32 &height, uchar *packed);
