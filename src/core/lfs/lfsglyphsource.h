// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

struct ProjectRecord;

/// Where the flash generator gets the floor-text glyphs from: something that
/// renders one character of the project's floor font into a cell raster. The
/// editor's source draws through the layouts "Display1"/"Display2" and their
/// outline-font renderer; tests use a synthetic one that does not depend on the
/// installed fonts.
class LfsGlyphSource
{
public:
    enum class Font { Large, Small };

    virtual ~LfsGlyphSource() = default;

    /// Prepares both fonts for one run with the project's font settings. The cells
    /// are upright: \a largeCell is the floor-text cell as the user drew it (for a
    /// display mounted upright the generator passes the turned cell measured
    /// crosswise), \a smallCell the small-font cell. False with \a error when the
    /// glyphs cannot be drawn.
    virtual bool Prepare(const ProjectRecord &project, QSize largeCell, QSize smallCell, QString *error) = 0;

    /// The cell's content after drawing the single character \a code (a
    /// Windows-1252 byte): a raster of the cell's size in which a pixel is lit when
    /// any of its colour bits is set. The large font follows the project's
    /// automatic sizing setting; the small font is always fitted to its cell.
    virtual QImage Render(Font font, uchar code) = 0;

    /// Called once after the last glyph of a run (also after a failed one).
    virtual void Finish() {}
};
