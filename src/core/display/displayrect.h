// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "util/trect.h"

#include <QImage>
#include <QString>

#include <array>

/// A named region of a display layout, in LED coordinates.
class TDisplayRect
{
public:
    static constexpr int SlotCount = 256;

    /// Drag modes.
    enum : quint8 {
        DragNone = 0,
        DragTopLeft = 1,
        DragTopRight = 2,
        DragBottomLeft = 3,
        DragBottomRight = 4,
        DragMove = 5,
    };
    /// Bits of Handles: which drag modes are permitted.
    enum : quint8 {
        HandleTopLeft = 0x02,
        HandleTopRight = 0x04,
        HandleBottomLeft = 0x08,
        HandleBottomRight = 0x10,
        HandleMove = 0x20,
        HandleAll = 0x3E,
    };

    TDisplayRect(const QString &name, const QString &caption, const TRect &rect, bool active,
                 const TRect &bounds);

    TRect SavedRect; ///< committed copy of Rect (StoreRect / RestoreRect)
    TRect Rect;      ///< current rectangle, used by drawing, hit tests and frames
    /// Owned bitmaps (Format_ARGB32); a null image is an empty slot.
    std::array<QImage, SlotCount> Bitmaps;
    bool Active = false;
    QString Caption;
    QString Name;
    quint8 DragMode = DragNone;
    quint8 Handles = HandleAll;
    TRect Bounds; ///< the rectangle a dragged region may not leave

    int Width() const { return Rect.Width(); }
    int Height() const { return Rect.Height(); }

    /// The slot's bitmap, or nullptr for an empty slot or an index outside 0..255.
    QImage *SlotBitmap(int index);
    const QImage *SlotBitmap(int index) const;
    /// Stores an own copy of \a bitmap in the slot; a null or empty bitmap frees the slot.
    /// Indexes outside 0..255 are ignored.
    void SetSlotBitmap(int index, const QImage &bitmap);
};
