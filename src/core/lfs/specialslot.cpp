// SPDX-License-Identifier: GPL-3.0-or-later
#include "lfs/specialslot.h"

#include "lfs/rasterencoding.h"

SpecialSlot SpecialSlot::Choose(const std::array<QSize, 10> &sizes, bool largest)
{
    SpecialSlot slot;
    for (int i = 0; i < 10; ++i) {
        const QSize s = sizes[size_t(i)];
        if (s.width() <= 0 || s.height() <= 0)
            continue;
        const int bytes = PaddedSize(s.width(), s.height());
        const bool better = slot.State == 0 || (largest ? bytes > slot.Bytes : bytes < slot.Bytes);
        if (better) {
            slot.Bytes = bytes;
            slot.State = i + 1;
            slot.Width = s.width();
            slot.Height = s.height();
        }
    }
    return slot;
}
