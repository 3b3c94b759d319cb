// SPDX-License-Identifier: GPL-3.0-or-later
#include "lfs/displayglyphsource.h"

#include "display/display.h"
#include "display/winfontinfo.h"
#include "ledmatrix/ledmatrix.h"
#include "project/projectrecord.h"
#include "util/win1252.h"

#include <QCoreApplication>

namespace {

const QString kTxt1 = QStringLiteral("TXT1");

QString tr(const char *text)
{
    return QCoreApplication::translate("TBinaerForm", text);
}

} // namespace

DisplayGlyphSource::DisplayGlyphSource() = default;

DisplayGlyphSource::~DisplayGlyphSource()
{
    Finish();
}

void DisplayGlyphSource::SetMatrices(LedMatrix *large, LedMatrix *small)
{
    m_largeMatrix = large;
    m_smallMatrix = small;
}

void DisplayGlyphSource::SetUserFonts(const TUserFont *large, const TUserFont *small)
{
    m_largeFont = large;
    m_smallFont = small;
}

std::unique_ptr<TDisplay> DisplayGlyphSource::makeLayout(const QString &name, QSize cell, const TUserFont *userFont,
                                                         LedMatrix *matrix, std::unique_ptr<LedMatrix> &own)
{
    auto layout = std::make_unique<TDisplay>(name, cell.width(), cell.height(), userFont);
    layout->AddRect(kTxt1, kTxt1, TRect(0, 0, cell.width() - 1, cell.height() - 1), true);
    if (!matrix) {
        if (!own)
            own = std::make_unique<LedMatrix>();
        matrix = own.get();
    }
    layout->Matrix = matrix;
    layout->ApplySize();
    matrix->Redraw();
    return layout;
}

void DisplayGlyphSource::prepareFont(TDisplay &layout, bool nameFirst)
{
    layout.Clear();
    TWinFontInfo &fi = *layout.FontInfo;
    fi.SetFitRect(layout.GetRect(kTxt1));
    FontSpec font = fi.Font();
    if (nameFirst) {
        font.Name = m_fontName;
        fi.SetFont(font);
        font.Size = m_fontSize;
        fi.Font().Size = m_fontSize;
    } else {
        font.Size = m_fontSize;
        fi.Font().Size = m_fontSize;
        font.Name = m_fontName;
        fi.SetFont(font);
    }
    fi.SetSampleChars(m_sampleChars);
    if (m_alignTopLeft) {
        fi.SetHorzAlign(0);
        fi.SetVertAlign(0);
    }
    if (m_alignCentre) {
        fi.SetHorzAlign(1);
        fi.SetVertAlign(1);
    }
    if (m_alignBottomRight) {
        fi.SetHorzAlign(2);
        fi.SetVertAlign(2);
    }
    if (m_bold)
        fi.SetBold(true);
    if (m_italic)
        fi.SetItalic(true);
}

bool DisplayGlyphSource::Prepare(const ProjectRecord &project, QSize largeCell, QSize smallCell, QString *error)
{
    Finish();
    if (largeCell.width() <= 0 || largeCell.height() <= 0 || smallCell.width() <= 0 || smallCell.height() <= 0) {
        if (error)
            *error = tr("Die Etagentext-Rechtecke haben keine Fläche.");
        return false;
    }
    m_fontName = Win1252::toUnicode(project.FloorFontName);
    m_sampleChars = Win1252::toUnicode(project.AutoSizeChars);
    m_fontSize = project.FloorFontSize;
    m_offsetX = project.FloorTextOffsetX;
    m_offsetY = project.FloorTextOffsetY;
    m_autoSize = project.AutoSize;
    m_alignTopLeft = project.AlignTopLeft;
    m_alignCentre = project.AlignCentre;
    m_alignBottomRight = project.AlignBottomRight;
    m_bold = project.FloorFontBold;
    m_italic = project.FloorFontItalic;

    m_large = makeLayout(QStringLiteral("Display1"), largeCell, m_largeFont, m_largeMatrix, m_ownLarge);
    m_small = makeLayout(QStringLiteral("Display2"), smallCell, m_smallFont, m_smallMatrix, m_ownSmall);
    prepareFont(*m_large, false);
    prepareFont(*m_small, true);
    return true;
}

QImage DisplayGlyphSource::Render(Font font, uchar code)
{
    TDisplay *layout = font == Font::Large ? m_large.get() : m_small.get();
    if (!layout)
        return QImage();
    const QString text(Win1252::toUnicode(code));
    FontSpec work = layout->FontInfo->Font();
    if (font == Font::Small || m_autoSize) {
        layout->DrawFloorText(text, work);
    } else {
        work.Size = m_fontSize;
        layout->DrawText(kTxt1, m_offsetX, m_offsetY, text, work);
    }
    layout->Matrix->Redraw();
    if (m_glyphShown)
        m_glyphShown();
    QImage cell;
    layout->Matrix->GetBitmap(layout->GetRect(kTxt1), cell);
    return cell;
}

void DisplayGlyphSource::Finish()
{
    m_large.reset();
    m_small.reset();
}
