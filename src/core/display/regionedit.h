// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

class TDisplay;
class TDisplayRect;

/// What happens to a layout when a mouse drag of one of its regions ends: the
/// dragged region is committed, the other floor-text character region follows it
/// and the single-character region is placed between the two; a resized small arrow
/// region takes the main arrows scaled to its new size.
namespace RegionEdit {

/// \a source drawn over a new w x h raster (Format_ARGB32), nearest neighbour in each
/// direction on its own: cell x shows source column x * srcW / w (integer division),
/// rows likewise. Pixel values are copied unchanged. A null image for a null source
/// or a size below 1 x 1.
QImage ScaleNearest(const QImage &source, int width, int height);

/// The partner rule for "TXT1" and "TXT2": the other of the two keeps its Left, takes
/// the top and the size of \a dragged and is committed; then, when "TXT3" exists, it
/// gets the same top and size, midway between the two left edges, and is committed.
/// Nothing for a region that is neither "TXT1" nor "TXT2" or has no partner.
void AlignCharacterRegions(TDisplay &layout, const TDisplayRect &dragged);

/// Fits the arrows of the small-font region "PFEIL" in \a small to its current size:
/// each of slots 0 and 1 that holds a bitmap becomes an all-off raster of the region's
/// size, then takes the arrow of the same slot in \a main's "PFEIL" scaled over the
/// whole region, when \a main has one. Empty slots stay empty.
void FitSmallArrows(TDisplay &small, const TDisplay *main);

/// Ends a drag on the small-font layout \a small: the dragged region (if any) stops
/// dragging and is committed; a "PFEIL" region fits its arrows (FitSmallArrows with
/// \a main), "TXT1"/"TXT2" align their partners. Returns false when no region was
/// being dragged. The caller redraws.
bool EndSmallFontDrag(TDisplay &small, const TDisplay *main);

} // namespace RegionEdit
