// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "project/projectrecord.h"

#include <QByteArray>
#include <QImage>

/// PackedPixels: pixel (x, y) is bit i = x + y * width, in byte i / 8 at bit
/// 7 - i % 8; 1 = lit. A raster pixel is lit when any of its 24 colour bits is set.

/// The 4096 PackedPixels bytes of the top-left \a width x \a height pixels of
/// \a raster; pixels outside the raster count as unlit, bits beyond the 4096 bytes
/// are dropped.
QByteArray PackBitmap(const QImage &raster, int width, int height);

/// A Format_ARGB32 raster of \a width x \a height: 0x00FFFFFF where the bit is 1,
/// 0 elsewhere. A null image when the sizes are not positive or exceed 32768 pixels;
/// missing bytes of \a packed count as zero.
QImage UnpackBitmap(int width, int height, const QByteArray &packed);

/// The record of a raster with its own size; an empty record for a null raster.
BitmapRecord BitmapRecordFromImage(const QImage &raster);
/// The raster of a record; a null image for an empty or invalid record.
QImage ImageFromBitmapRecord(const BitmapRecord &record);
