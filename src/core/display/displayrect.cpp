// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/displayrect.h"

TDisplayRect::TDisplayRect(const QString &name, const QString &caption, const TRect &rect,
                           bool active, const TRect &bounds)
    : SavedRect(rect), Rect(rect), Active(active), Caption(caption), Name(name), Bounds(bounds)
{
}

QImage *TDisplayRect::SlotBitmap(int index)
{
    if (index < 0 || index >= SlotCount || Bitmaps[size_t(index)].isNull())
        return nullptr;
    return &Bitmaps[size_t(index)];
}

const QImage *TDisplayRect::SlotBitmap(int index) const
{
    if (index < 0 || index >= SlotCount || Bitmaps[size_t(index)].isNull())
        return nullptr;
    return &Bitmaps[size_t(index)];
}

void TDisplayRect::SetSlotBitmap(int index, const QImage &bitmap)
{
    if (index < 0 || index >= SlotCount)
        return;
    QImage &slot = Bitmaps[size_t(index)];
    if (bitmap.isNull() || bitmap.width() <= 0 || bitmap.height() <= 0) {
        slot = QImage();
        return;
    }
    // A deep copy: later changes of the caller's image never reach the slot.
    slot = bitmap.format() == QImage::Format_ARGB32 ? bitmap.copy()
                                                    : bitmap.convertToFormat(QImage::Format_ARGB32);
}
