// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "display/displayrect.h"
#include "display/fontspec.h"
#include "ledmatrix/ledmatrix.h"
#include "util/trect.h"

#include <QPoint>
#include <QString>

#include <memory>
#include <vector>

class TUserFont;
class TWinFontInfo;

/// A display layout: one LED raster size with its ordered list of named regions, an
/// outline-font renderer (FontInfo), an optional bitmap font and the LED matrix it
/// draws into. Region lookups search the list in insertion order.
class TDisplay
{
public:
    /// Rows and Columns are computed from \a userFont (0 without a font).
    TDisplay(const QString &name, int width, int height, const TUserFont *userFont = nullptr);
    ~TDisplay();

    TDisplay(const TDisplay &) = delete;
    TDisplay &operator=(const TDisplay &) = delete;

    QString Name;
    int Rows = 0;    ///< Height div GlyphHeight at creation; not recomputed when turned
    int Columns = 0; ///< Width div Pitch at creation; not recomputed when turned
    QPoint DragAnchor; ///< LED position of the last accepted mouse step of a drag
    std::vector<std::unique_ptr<TDisplayRect>> Rects;
    std::unique_ptr<TWinFontInfo> FontInfo;
    LedMatrix *Matrix = nullptr;          ///< attached by the owner; not owned
    const TUserFont *UserFont = nullptr;  ///< not owned
    int Width = 0;
    int Height = 0;
    bool Vertical = false;

    // Regions.
    /// Appends a region whose Bounds is the whole raster. Names need not be unique.
    TDisplayRect *AddRect(const QString &name, const QString &caption, const TRect &rect,
                          bool active);
    /// First region named exactly \a name (case-sensitive), or nullptr.
    TDisplayRect *FindRect(const QString &name) const;
    /// The region's Rect, or (0, 0, 0, 0) when there is none.
    TRect GetRect(const QString &name) const;
    /// Replaces Rect only when Left < Right and Top < Bottom.
    void SetRect(const QString &name, const TRect &rect);
    void SetRectLeft(const QString &name, int value);
    void SetRectTop(const QString &name, int value);
    void SetRectRight(const QString &name, int value);
    void SetRectBottom(const QString &name, int value);
    void StoreRect(const QString &name);
    void RestoreRect(const QString &name);
    void SetRectActive(const QString &name, bool active);
    /// Sets Rect and Active and commits the rectangle (SavedRect := Rect). Returns
    /// false, changing nothing, when the region does not exist.
    bool LoadRect(const QString &name, const TRect &rect, bool active);
    /// Places "TXT3" centred between "TXT1" and "TXT2" with TXT1's size, commits it
    /// and makes it inactive; nothing unless all three exist.
    void DeriveSingleDigitRect();

    // Drawing into the attached matrix (nothing without a matrix).
    /// Clears the region and draws \a text in \a font at the font's own size, offset by
    /// (xOffset, yOffset) from the region's top-left corner. Nothing for an absent region.
    void DrawText(const QString &name, int xOffset, int yOffset, const QString &text,
                  const FontSpec &font);
    /// Frames the active regions.
    void ShowRects();
    /// Sets the matrix to Width x Height LEDs.
    void ApplySize();
    void Clear();
    void SetCursor(LedMatrix::CursorShape cursor);
    /// A line of text in the bitmap font at character cell (col, row). The text is cut to
    /// the columns left from \a col; \a center centres it there. In an upright layout the
    /// text is split into two lines of half the width, starting at character row
    /// 2 x row - rowShift, and \a center has no effect. Nothing without a bitmap font.
    void WriteText(int col, int row, const QString &text, bool center, int rowShift);

    // Floor-text characters in the outline font through FontInfo.
    void DrawFloorText(const QString &text, FontSpec &font);
    void DrawChar(const TRect &rect, const QString &text, FontSpec &font);

    // Mouse editing of regions.
    QPoint PixelToLED(int x, int y) const;
    /// First active region containing \a p; failing that, with Tolerance > 0, the first
    /// region containing \a p when every rectangle is grown by \a tolerance.
    TDisplayRect *RectAt(const QPoint &p, int tolerance) const;
    /// First active region being dragged.
    TDisplayRect *DraggedRect() const;
    /// 1 top edge, 2 top-left, 3 top-right, 5 bottom-right, 6 bottom edge, 7 bottom-left,
    /// 9 inside. The right and bottom tests use Right-1 and Bottom-1.
    static int HitZone(const QPoint &p, const TDisplayRect &region, int tolerance);
    void MouseDown(int x, int y);
    void MouseMove(int x, int y);

    // Turning the layout upright and back; callers apply ApplySize afterwards.
    void SetVertical();
    void SetHorizontal();

private:
    void turn();
};
