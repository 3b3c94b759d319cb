// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lfs/lfsglyphsource.h"

#include <functional>
#include <memory>

class LedMatrix;
class TDisplay;
class TUserFont;

/// The editor's glyph source: renders the floor-text glyphs through two one-region
/// layouts, "Display1" (large font) and "Display2" (small font), and their
/// outline-font renderer, exactly as the previews draw floor texts.
///
/// The layouts draw into the matrices given with SetMatrices (the generator
/// window's LED1 and LED2, so the user sees each glyph) or into matrices of their
/// own. They exist from Prepare to Finish.
class DisplayGlyphSource : public LfsGlyphSource
{
public:
    DisplayGlyphSource();
    ~DisplayGlyphSource() override;

    /// Not owned; nullptr for a matrix of the source's own.
    void SetMatrices(LedMatrix *large, LedMatrix *small);
    /// The bitmap fonts of the current main and small-font layouts (not owned).
    void SetUserFonts(const TUserFont *large, const TUserFont *small);
    /// Called after each glyph has been drawn and shown (a view repaints here).
    void SetGlyphShown(std::function<void()> callback) { m_glyphShown = std::move(callback); }

    bool Prepare(const ProjectRecord &project, QSize largeCell, QSize smallCell, QString *error) override;
    QImage Render(Font font, uchar code) override;
    void Finish() override;

    /// The layouts while a run is prepared (tests).
    TDisplay *LargeLayout() const { return m_large.get(); }
    TDisplay *SmallLayout() const { return m_small.get(); }

private:
    std::unique_ptr<TDisplay> makeLayout(const QString &name, QSize cell, const TUserFont *userFont,
                                         LedMatrix *matrix, std::unique_ptr<LedMatrix> &own);
    void prepareFont(TDisplay &layout, bool nameFirst);

    LedMatrix *m_largeMatrix = nullptr;
    LedMatrix *m_smallMatrix = nullptr;
    std::unique_ptr<LedMatrix> m_ownLarge;
    std::unique_ptr<LedMatrix> m_ownSmall;
    const TUserFont *m_largeFont = nullptr;
    const TUserFont *m_smallFont = nullptr;
    std::unique_ptr<TDisplay> m_large;
    std::unique_ptr<TDisplay> m_small;
    std::function<void()> m_glyphShown;

    // Font settings of the run.
    QString m_fontName;
    QString m_sampleChars;
    int m_fontSize = 0;
    int m_offsetX = 0;
    int m_offsetY = 0;
    bool m_autoSize = false;
    bool m_alignTopLeft = false;
    bool m_alignCentre = false;
    bool m_alignBottomRight = false;
    bool m_bold = false;
    bool m_italic = false;
};
