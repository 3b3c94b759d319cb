// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>

#include <array>

/// The one slot size all ten special-state bitmaps share, and the state that set it.
struct SpecialSlot
{
    int Bytes = 0;  ///< 0: no state has a bitmap
    int State = 0;  ///< project state 1..10 whose bitmap fixed the size, 0 for none
    int Width = 0;
    int Height = 0;

    /// \a sizes are the stored bitmap sizes in project order. Only bitmaps with a
    /// positive width and height count; \a largest picks the largest padded size,
    /// otherwise the smallest; on a tie the first state wins.
    static SpecialSlot Choose(const std::array<QSize, 10> &sizes, bool largest);
};
