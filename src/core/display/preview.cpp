// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/preview.h"

#include "display/display.h"
#include "display/displayrect.h"
#include "display/winfontinfo.h"
#include "ledmatrix/ledmatrix.h"
#include "project/projectmodel.h"

#include <QCoreApplication>
#include <QSignalBlocker>

using namespace Qt::StringLiterals;

namespace {

constexpr int kClockRow = 7;
constexpr int kLineLength = 21;

// Runs the busy hook around an auto-sized drawing and redraws the matrix at the end,
// however the drawing is left.
class BusyScope
{
public:
    BusyScope(const std::function<void(bool)> &hook, TDisplay *d) : m_hook(hook), m_display(d)
    {
        if (m_hook)
            m_hook(true);
    }
    ~BusyScope()
    {
        if (m_hook)
            m_hook(false);
        if (m_display->Matrix)
            m_display->Matrix->Redraw();
    }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    const std::function<void(bool)> &m_hook;
    TDisplay *m_display;
};

void attach(TDisplay *d, LedMatrix *m)
{
    if (!d || !m)
        return;
    d->Matrix = m;
    d->ApplySize();
}

} // namespace

Preview::Preview(ProjectModel &model, QObject *parent) : QObject(parent), m_model(model) {}

Preview::~Preview() = default;

void Preview::SetMatrices(LedMatrix *led2, LedMatrix *led3, LedMatrix *led4)
{
    m_led2 = led2;
    m_led3 = led3;
    m_led4 = led4;
    AttachMatrices();
    if (m_following)
        return;
    m_following = true;
    connect(&m_model, &ProjectModel::displayModelChanged, this, [this] { AttachMatrices(); });
    connect(&m_model, &ProjectModel::layoutsTurned, this, &Preview::onLayoutsTurned);
    connect(&m_model, &ProjectModel::previewRequested, this, &Preview::Refresh);
    connect(&m_model, &ProjectModel::specialPreviewRequested, this, &Preview::PreviewSonderzeichenOut);
}

void Preview::AttachMatrices()
{
    // Matrices leave the layouts of the other models, so those never draw into them.
    const DisplayLayouts &layouts = m_model.Layouts();
    for (int i = 0; i < DisplayLayouts::Count; ++i) {
        TDisplay *d = layouts.At(i);
        if (d->Matrix && (d->Matrix == m_led2 || d->Matrix == m_led3 || d->Matrix == m_led4
                          || d->Matrix == m_mainOverride))
            d->Matrix = nullptr;
    }
    attach(m_model.SonderDisplay(), m_led3);
    attach(m_model.KleinDisplay(), m_led4);
    attach(m_model.MainDisplay(), m_mainOverride ? m_mainOverride : m_led2);
}

void Preview::AttachMainMatrix(LedMatrix *matrix)
{
    m_mainOverride = matrix;
    attach(m_model.MainDisplay(), m_mainOverride ? m_mainOverride : m_led2);
}

void Preview::onLayoutsTurned()
{
    m_model.MainDisplay()->ApplySize();
    m_model.SonderDisplay()->ApplySize();
}

void Preview::Refresh(bool clearFirst)
{
    TDisplay *d = m_model.MainDisplay();
    if (clearFirst) {
        d->Clear();
        if (m_model.ShowRectsButton())
            d->ShowRects();
    }
    PreviewOut(true, true, true, true, true);
}

void Preview::ApplyShowRectsButton()
{
    TDisplay *d = m_model.MainDisplay();
    if (m_model.ShowRectsButton()) {
        d->ShowRects();
    } else if (d->Matrix) {
        d->Matrix->ClearMarks();
        d->Matrix->Redraw();
    }
}

void Preview::shrinkTextRegions(TDisplay *d, const QStringList &names)
{
    for (const QString &name : names) {
        TDisplayRect *r = d->FindRect(name);
        if (!r)
            continue;
        const TRect extent = d->FontInfo->GetExtent();
        r->Rect.Right = r->Rect.Left + extent.Right;
        r->Rect.Bottom = r->Rect.Top + extent.Bottom;
    }
}

void Preview::putSlot(TDisplay *d, const QString &region, int slot)
{
    const TDisplayRect *r = d->FindRect(region);
    if (!r || !d->Matrix)
        return;
    if (const QImage *bitmap = r->SlotBitmap(slot)) {
        QImage copy = *bitmap; // PutBitmap rewrites the alpha of its source
        d->Matrix->PutBitmap(copy, r->Rect, false);
        d->Matrix->Redraw();
    }
}

void Preview::PrepareAutoSize()
{
    if (!m_model.AutoSize())
        return;
    TDisplay *d = m_model.MainDisplay();
    TWinFontInfo &fi = *d->FontInfo;
    d->Clear();
    const QStringList names = {u"TXT1"_s, u"TXT2"_s, u"TXT3"_s};
    for (const QString &name : names)
        d->RestoreRect(name);
    fi.SetFitRect(d->GetRect(u"TXT1"_s));
    fi.SetSampleChars(m_model.AutoSizeChars);
    fi.SetFont(m_model.WorkFont);
    shrinkTextRegions(d, names);
    fi.SetFitRect(d->GetRect(u"TXT1"_s));
}

void Preview::PreviewOut(bool ShowRects, bool Arrow, bool FloorBitmap, bool TextLines, bool Clock)
{
    if (!m_model.PreviewsAllowed())
        return;
    TDisplay *d = m_model.MainDisplay();
    const QString text = m_model.SampleText();

    if (m_model.AutoSize()) {
        BusyScope busy(m_busyHook, d);
        PrepareAutoSize();
        d->DrawFloorText(text, m_model.WorkFont);
        m_model.SetFloorFontSize(d->FontInfo->FontSize());
    } else {
        const int x = m_model.FloorTextOffsetX();
        const int y = m_model.FloorTextOffsetY();
        if (text.size() >= 2 && text.at(1) == u' ') {
            if (d->Matrix) {
                d->Matrix->ClearArea(d->GetRect(u"TXT1"_s));
                d->Matrix->ClearArea(d->GetRect(u"TXT2"_s));
            }
            d->DrawText(u"TXT3"_s, x, y, text.left(1), m_model.WorkFont);
        } else {
            if (d->Matrix)
                d->Matrix->ClearArea(d->GetRect(u"TXT3"_s));
            d->DrawText(u"TXT1"_s, x, y, text.left(1), m_model.WorkFont);
            d->DrawText(u"TXT2"_s, x, y, text.mid(1, 1), m_model.WorkFont);
        }
    }

    if (m_model.ShowRectsButton() && ShowRects)
        d->ShowRects();

    if (Arrow) {
        const TDisplayRect *r = d->FindRect(u"PFEIL"_s);
        if (r && r->Active)
            putSlot(d, u"PFEIL"_s, m_model.ArrowDown() ? 0 : 1);
    }

    if (const TDisplayRect *r = d->FindRect(u"STABMP"_s); r && r->Active)
        putSlot(d, u"STABMP"_s, 0);

    if (FloorBitmap && m_model.ShowFloorBitmaps()) {
        if (const TDisplayRect *r = d->FindRect(u"ETABMP"_s)) {
            const int row = m_model.CurrentFloorRow();
            if (r->Active && r->SlotBitmap(row)) {
                putSlot(d, u"ETABMP"_s, row);
            } else if (d->Matrix) {
                d->Matrix->ClearArea(r->Rect);
                d->Matrix->Redraw();
            }
        }
    }

    if (TextLines && m_model.ShowTextLines()) {
        const int first = m_model.FirstTextLine();
        for (int i = first; i <= m_model.LastTextLine(); ++i) {
            QString cell = m_model.FloorText(2 + (i - first), m_model.CurrentFloorRow());
            if (cell.size() < kLineLength)
                cell = cell.leftJustified(kLineLength, u' ');
            d->WriteText(0, i - 1, cell, false, 0);
        }
    }

    if (Clock && m_model.ShowDateTime())
        UhrzeitTimerTimer();
}

void Preview::UhrzeitTimerTimer()
{
    if (!m_model.PreviewsAllowed())
        return;
    const QString text = m_model.ClockFormat.FormatNow(m_model.ClockPattern());
    m_model.MainDisplay()->WriteText(0, kClockRow, text, true, m_model.IsLcd() ? 0 : -1);
}

void Preview::BlankClockLine()
{
    if (!m_model.PreviewsAllowed())
        return;
    m_model.MainDisplay()->WriteText(0, kClockRow, QString(11, u' '), true, 0);
}

void Preview::PreviewSonderzeichenOut(int Row, bool ClearFirst)
{
    if (!m_model.PreviewsAllowed())
        return;
    TDisplay *d = m_model.SonderDisplay();
    if (ClearFirst)
        d->Clear();
    bool needText = true;
    if (const TDisplayRect *r = d->FindRect(u"SONDERZEICHEN"_s); r && r->Active && r->SlotBitmap(Row)) {
        putSlot(d, u"SONDERZEICHEN"_s, Row);
        needText = false;
    }
    const QString cell = m_model.SpecialText(Row);
    if ((!cell.isEmpty() && !m_model.SpecialBitmapsOnly()) || needText) {
        const int shift = m_model.IsLcd() ? 1 : 0;
        d->WriteText(0, kClockRow, QString(kLineLength, u' '), false, shift);
        d->WriteText(0, kClockRow, cell, false, shift);
    }
}

QString Preview::SmallFontSampleLine(int row)
{
    switch (row) {
    case 0:
        return QCoreApplication::translate("Preview", "     TUER A OFFEN    ");
    case 2:
        return u"<A>        Pd=    -1"_s;
    case 3:
        return u" 29[KG       08:21:43"_s;
    case 4:
        return QString(23, u'_');
    default:
        return QString();
    }
}

void Preview::PreviewKleinerFontOut()
{
    if (!m_model.PreviewsAllowed())
        return;
    TDisplay *d = m_model.KleinDisplay();
    TWinFontInfo &fi = *d->FontInfo;
    const int savedSize = m_model.WorkFont.Size;
    d->Clear();
    for (int row : {0, 2, 3, 4})
        d->WriteText(0, row, SmallFontSampleLine(row), false, 0);

    const QStringList names = {u"TXT1"_s, u"TXT2"_s};
    for (const QString &name : names)
        d->RestoreRect(name);
    fi.SetFitRect(d->GetRect(u"TXT1"_s));
    fi.SetSampleChars(m_model.AutoSizeChars);
    fi.SetFont(m_model.WorkFont);
    shrinkTextRegions(d, names);
    // Only the scratch raster takes the shrunk size; the sizes stay fitted to the region.
    fi.FitEnabled = false;
    fi.SetFitRect(d->GetRect(u"TXT1"_s));
    fi.FitEnabled = true;

    d->DrawFloorText(m_model.SampleText(), m_model.WorkFont);
    d->ShowRects();

    if (const TDisplayRect *r = d->FindRect(u"PFEIL"_s); r && r->Active)
        putSlot(d, u"PFEIL"_s, m_model.ArrowDown() ? 0 : 1);

    m_model.WorkFont.Size = savedSize;
}

// ---- Headless rendering -------------------------------------------------------------------

namespace {

// Attaches a matrix to a layout for the duration of one rendering.
class TemporaryAttach
{
public:
    TemporaryAttach(TDisplay *d, LedMatrix &m) : m_display(d), m_previous(d->Matrix)
    {
        d->Matrix = &m;
        d->ApplySize();
        d->Clear();
    }
    ~TemporaryAttach() { m_display->Matrix = m_previous; }
    TemporaryAttach(const TemporaryAttach &) = delete;
    TemporaryAttach &operator=(const TemporaryAttach &) = delete;

private:
    TDisplay *m_display;
    LedMatrix *m_previous;
};

QImage screenOf(LedMatrix &matrix)
{
    matrix.Render();
    return matrix.Paint();
}

} // namespace

QImage Preview::RenderFloorRow(ProjectModel &model, int row, LedMatrix &matrix, bool frames)
{
    const QSignalBlocker blocker(&model);
    model.SelectFloorRow(row);
    TemporaryAttach attached(model.MainDisplay(), matrix);
    Preview preview(model);
    preview.PreviewOut(frames, true, true, true, true);
    return screenOf(matrix);
}

QImage Preview::RenderSpecialState(ProjectModel &model, int row, LedMatrix &matrix)
{
    const QSignalBlocker blocker(&model);
    model.SelectSpecialRow(row, true);
    TemporaryAttach attached(model.SonderDisplay(), matrix);
    Preview preview(model);
    preview.PreviewSonderzeichenOut(model.CurrentSpecialRow(), true);
    return screenOf(matrix);
}

QImage Preview::RenderSmallFont(ProjectModel &model, LedMatrix &matrix)
{
    const QSignalBlocker blocker(&model);
    TemporaryAttach attached(model.KleinDisplay(), matrix);
    Preview preview(model);
    preview.PreviewKleinerFontOut();
    return screenOf(matrix);
}
