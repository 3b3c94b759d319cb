// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "project/projectrecord.h"
#include "util/trect.h"

#include <QByteArray>
#include <QImage>
#include <QtGlobal>

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

/// Turns a stored bitmap like Rotate90 and swaps its Width and Height. A record
/// with a zero Width or Height, or a size its 4096 bytes cannot hold, is left
/// unchanged.
void TurnBitmapRecord(BitmapRecord &record);
/// The same for the bitmap of a special state; the text is untouched.
void TurnBitmapRecord(SpecialStateRecord &record);
