// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "display/display.h"

#include <array>
#include <memory>

class TUserFont;

/// The display models; the values are those stored in projects.
enum class DisplayModel { Vfd128 = 0, Lcd240 = 1, Vfd256 = 2 };

/// The nine layouts the editor works with: per display model a main layout (floor
/// text page), a special-state layout and a small-font layout. Created in this order:
///   0 "VFD1" 128 x 64, 1 "VFD2" 256 x 128, 2 "LCD1" 240 x 128,
///   3 "Sonderzeichen_VFD1", 4 "Sonderzeichen_VFD2", 5 "Sonderzeichen_LCD1",
///   6 "Klein_VFD1" 128 x 64, 7 "Klein_VFD2" 256 x 128, 8 "Klein_VFD2" 240 x 128 (LCD).
/// The 128 x 64 layouts use the small bitmap font, the others the large one. The main
/// and small-font layouts have their floor text centred both ways.
class DisplayLayouts
{
public:
    static constexpr int Count = 9;

    /// \a font1 is "terminal1.fnt" (128 x 64), \a font2 "terminal2.fnt"; either may be
    /// null (the layouts then have no rows and columns). Fonts are not owned.
    DisplayLayouts(const TUserFont *font1, const TUserFont *font2);
    ~DisplayLayouts();

    DisplayLayouts(const DisplayLayouts &) = delete;
    DisplayLayouts &operator=(const DisplayLayouts &) = delete;

    /// Layout \a index (0..8) in creation order.
    TDisplay *At(int index) const { return m_layouts[size_t(index)].get(); }

    TDisplay *Main(DisplayModel model) const;
    TDisplay *Sonder(DisplayModel model) const;
    TDisplay *Klein(DisplayModel model) const;

    /// The three layouts of a kind, in creation order (VFD 128, VFD 256, LCD 240).
    std::array<TDisplay *, 3> MainLayouts() const { return {At(0), At(1), At(2)}; }
    std::array<TDisplay *, 3> SonderLayouts() const { return {At(3), At(4), At(5)}; }
    std::array<TDisplay *, 3> KleinLayouts() const { return {At(6), At(7), At(8)}; }

    /// Position of a model in layout order (VFD 128, VFD 256, LCD 240).
    static int LayoutOrderIndex(DisplayModel model);

private:

    std::array<std::unique_ptr<TDisplay>, Count> m_layouts;
};
