// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/projectmodel.h"

#include "display/displayrect.h"
#include "display/winfontinfo.h"
#include "util/monthnames.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace {

// Special states: name (translatable except "Custom") and default display text.
struct SpecialStateDefault
{
    const char *name;
    const char *text;
};

constexpr SpecialStateDefault kSpecialStates[ProjectModel::SpecialStateCount] = {
    {QT_TRANSLATE_NOOP("ProjectModel", "Überlast"), QT_TRANSLATE_NOOP("ProjectModel", "Ueberlast")},
    {QT_TRANSLATE_NOOP("ProjectModel", "Sonderfahrt"), QT_TRANSLATE_NOOP("ProjectModel", "Sonderfahrt")},
    {QT_TRANSLATE_NOOP("ProjectModel", "Ausser Betrieb"), QT_TRANSLATE_NOOP("ProjectModel", "Ausser Betrieb")},
    {QT_TRANSLATE_NOOP("ProjectModel", "Brandfall"), QT_TRANSLATE_NOOP("ProjectModel", "Brandfall")},
    {QT_TRANSLATE_NOOP("ProjectModel", "Feuerwehr"), QT_TRANSLATE_NOOP("ProjectModel", "Feuerwehr")},
    {QT_TRANSLATE_NOOP("ProjectModel", "Wartung"), QT_TRANSLATE_NOOP("ProjectModel", "Wartung")},
    {QT_TRANSLATE_NOOP("ProjectModel", "Volllast"), QT_TRANSLATE_NOOP("ProjectModel", "Volllast")},
    {QT_TRANSLATE_NOOP("ProjectModel", "Evakuierung"), QT_TRANSLATE_NOOP("ProjectModel", "Evakuierung")},
    {QT_TRANSLATE_NOOP("ProjectModel", "Beladung"), QT_TRANSLATE_NOOP("ProjectModel", "Beladung")},
    {"Custom", "Custom"},
};

const QImage *slotOf(const TDisplay *layout, const QString &region, int slot)
{
    if (!layout)
        return nullptr;
    const TDisplayRect *r = layout->FindRect(region);
    return r ? r->SlotBitmap(slot) : nullptr;
}

void setSlotOf(TDisplay *layout, const QString &region, int slot, const QImage &bitmap)
{
    if (!layout)
        return;
    if (TDisplayRect *r = layout->FindRect(region))
        r->SetSlotBitmap(slot, bitmap);
}

} // namespace

ProjectModel::ProjectModel(const TUserFont *font1, const TUserFont *font2, QObject *parent)
    : QObject(parent)
    , m_layouts(font1, font2)
{
    WorkFont.Size = m_floorFontSize;
    WorkFont.Color = 0xFFFFFF;
    MonthNames = ::MonthNames::startupNames();
    ClockFormat.MonthNames = MonthNames;
    for (int row = 1; row <= SpecialStateCount; ++row)
        m_specialTexts[size_t(row - 1)] = DefaultSpecialText(row);
    InitFloorTexts(false);
}

ProjectModel::~ProjectModel() = default;

// ---- Layouts -------------------------------------------------------------------------

void ProjectModel::SetDisplayModel(DisplayModel model)
{
    m_model = model;
    Q_EMIT optionChanged(Option::DisplayModel);
    Q_EMIT displayModelChanged(model);
    Q_EMIT previewRequested(true);
}

const std::array<QString, 6> &ProjectModel::MainRegionNames()
{
    static const std::array<QString, 6> names = {u"TXT1"_s, u"TXT2"_s,   u"PFEIL"_s,
                                                 u"STABMP"_s, u"ETABMP"_s, u"UHR"_s};
    return names;
}

const std::array<QString, 3> &ProjectModel::SmallRegionNames()
{
    static const std::array<QString, 3> names = {u"TXT1"_s, u"TXT2"_s, u"PFEIL"_s};
    return names;
}

DisplayModel ProjectModel::ModelInLayoutOrder(int index)
{
    switch (index) {
    case 0:
        return DisplayModel::Vfd128;
    case 1:
        return DisplayModel::Vfd256;
    default:
        return DisplayModel::Lcd240;
    }
}

int ProjectModel::LayoutOrderIndex(DisplayModel model)
{
    return DisplayLayouts::LayoutOrderIndex(model);
}

// ---- Floor font and placement ----------------------------------------------------------

void ProjectModel::SetFloorFontName(const QString &name)
{
    if (WorkFont.Name == name)
        return;
    WorkFont.Name = name;
    Q_EMIT optionChanged(Option::FloorFont);
    Q_EMIT previewRequested(false);
}

void ProjectModel::SetFloorFontBold(bool on)
{
    if (WorkFont.Bold == on)
        return;
    WorkFont.Bold = on;
    Q_EMIT optionChanged(Option::FloorFont);
    Q_EMIT previewRequested(false);
}

void ProjectModel::SetFloorFontItalic(bool on)
{
    if (WorkFont.Italic == on)
        return;
    WorkFont.Italic = on;
    Q_EMIT optionChanged(Option::FloorFont);
    Q_EMIT previewRequested(false);
}

void ProjectModel::SetFloorFontSize(int size)
{
    size = qBound(-300, size, 300);
    if (size == m_floorFontSize)
        return;
    m_floorFontSize = size;
    Q_EMIT optionChanged(Option::FloorFontSize);
    if (!m_autoSize) {
        WorkFont.Size = size;
        Q_EMIT previewRequested(false);
    }
}

void ProjectModel::SetFloorTextOffsetX(int x)
{
    x = qBound(-200, x, 200);
    if (x == m_offsetX)
        return;
    m_offsetX = x;
    Q_EMIT optionChanged(Option::FloorTextOffset);
    Q_EMIT previewRequested(false);
}

void ProjectModel::SetFloorTextOffsetY(int y)
{
    y = qBound(-300, y, 300);
    if (y == m_offsetY)
        return;
    m_offsetY = y;
    Q_EMIT optionChanged(Option::FloorTextOffset);
    Q_EMIT previewRequested(false);
}

// ---- Options -----------------------------------------------------------------------------

void ProjectModel::setActiveInMainAndSmall(const QString &region, bool active)
{
    for (TDisplay *d : m_layouts.MainLayouts())
        d->SetRectActive(region, active);
    for (TDisplay *d : m_layouts.KleinLayouts())
        d->SetRectActive(region, active);
}

void ProjectModel::setActiveInMain(const QString &region, bool active)
{
    for (TDisplay *d : m_layouts.MainLayouts())
        d->SetRectActive(region, active);
}

void ProjectModel::SetShowDateTime(bool on)
{
    m_showDateTime = on;
    Q_EMIT optionChanged(Option::ShowDateTime);
}

void ProjectModel::SetShowArrows(bool on)
{
    if (on == m_showArrows)
        return;
    m_showArrows = on;
    setActiveInMainAndSmall(u"PFEIL"_s, on);
    Q_EMIT optionChanged(Option::ShowArrows);
    Q_EMIT previewRequested(true);
}

void ProjectModel::SetShowFloorBitmaps(bool on)
{
    if (on == m_showFloorBitmaps)
        return;
    m_showFloorBitmaps = on;
    setActiveInMain(u"ETABMP"_s, on);
    Q_EMIT optionChanged(Option::ShowFloorBitmaps);
    Q_EMIT previewRequested(true);
}

void ProjectModel::SetShowLogo(bool on)
{
    if (on == m_showLogo)
        return;
    m_showLogo = on;
    setActiveInMain(u"STABMP"_s, on);
    Q_EMIT optionChanged(Option::ShowLogo);
    Q_EMIT previewRequested(true);
}

void ProjectModel::SetShowWhileMoving(bool on)
{
    if (on == m_showWhileMoving)
        return;
    m_showWhileMoving = on;
    Q_EMIT optionChanged(Option::ShowWhileMoving);
}

void ProjectModel::SetSpecialBitmapsOnly(bool on)
{
    if (on == m_specialBitmapsOnly)
        return;
    m_specialBitmapsOnly = on;
    Q_EMIT optionChanged(Option::SpecialBitmapsOnly);
    Q_EMIT specialPreviewRequested(m_currentSpecialRow, true);
}

void ProjectModel::SetAutoSize(bool on)
{
    if (on == m_autoSize)
        return;
    m_autoSize = on;
    Q_EMIT optionChanged(Option::AutoSize);
    WorkFont.Size = m_floorFontSize;
    Q_EMIT previewRequested(true);
}

void ProjectModel::SetAlignment(int mode)
{
    if (mode < 0 || mode > 2 || mode == m_align)
        return;
    m_align = mode;
    for (const auto &layouts : {m_layouts.MainLayouts(), m_layouts.KleinLayouts()}) {
        for (TDisplay *d : layouts) {
            d->FontInfo->SetHorzAlign(mode);
            d->FontInfo->SetVertAlign(mode);
        }
    }
    Q_EMIT optionChanged(Option::Alignment);
    Q_EMIT previewRequested(false);
}

void ProjectModel::SetFloorTextDigits(int digits)
{
    if (digits < 0 || digits > 2 || digits == m_floorTextDigits)
        return;
    m_floorTextDigits = digits;
    setActiveInMainAndSmall(u"TXT1"_s, digits <= 1);
    setActiveInMainAndSmall(u"TXT2"_s, digits == 0);
    Q_EMIT optionChanged(Option::FloorTextDigits);
    Q_EMIT previewRequested(false);
}

bool ProjectModel::TextLineTicked(int line) const
{
    return m_firstTextLine > 0 && line >= m_firstTextLine && line <= m_lastTextLine;
}

void ProjectModel::ToggleTextLine(int line)
{
    if (line < 1 || line > TextLineCount)
        return;
    std::array<bool, TextLineCount + 1> ticks{};
    for (int i = 1; i <= TextLineCount; ++i)
        ticks[size_t(i)] = TextLineTicked(i);
    ticks[size_t(line)] = !ticks[size_t(line)];
    applyTextLineTicks(ticks);
}

void ProjectModel::SetTextLines(int first, int last)
{
    std::array<bool, TextLineCount + 1> ticks{};
    if (first >= 1 && first <= TextLineCount) {
        last = qBound(first, last, TextLineCount);
        for (int i = first; i <= last; ++i)
            ticks[size_t(i)] = true;
    }
    applyTextLineTicks(ticks);
}

void ProjectModel::applyTextLineTicks(std::array<bool, TextLineCount + 1> ticks)
{
    // The ticked lines form one run from the first ticked line: the first unticked line
    // after it ends the run and unticks everything behind it.
    bool inRun = false;
    bool ended = false;
    for (int i = 1; i <= TextLineCount; ++i) {
        bool &t = ticks[size_t(i)];
        if (ended)
            t = false;
        else if (t)
            inRun = true;
        else if (inRun)
            ended = true;
    }
    int first = 0;
    int last = 0;
    for (int i = 1; i <= TextLineCount; ++i) {
        if (ticks[size_t(i)]) {
            if (first == 0)
                first = i;
            last = i;
        }
    }
    m_firstTextLine = first;
    m_lastTextLine = last;
    InitFloorTexts(false);
    Q_EMIT optionChanged(Option::TextLines);
    Q_EMIT previewRequested(true);
}

void ProjectModel::SetVerticalMounting(bool on)
{
    if (on == m_verticalMounting)
        return;
    m_verticalMounting = on;
    for (const auto &layouts : {m_layouts.MainLayouts(), m_layouts.SonderLayouts()}) {
        for (TDisplay *d : layouts) {
            if (on)
                d->SetVertical();
            else
                d->SetHorizontal();
        }
    }
    Q_EMIT optionChanged(Option::VerticalMounting);
    Q_EMIT layoutsTurned();
    Q_EMIT previewRequested(false);
}

// ---- Floors ----------------------------------------------------------------------------

void ProjectModel::SetFloorCount(int count)
{
    count = qBound(MinFloorCount, count, MaxFloorCount);
    if (count == m_floorCount)
        return;
    m_floorCount = count;
    InitFloorTexts(false);
    Q_EMIT optionChanged(Option::FloorCount);
    Q_EMIT previewRequested(true);
}

QString ProjectModel::DefaultFloorLabel(int floorNumber)
{
    if (floorNumber == 0)
        return tr("UG");
    if (floorNumber == 1)
        return tr("EG");
    const int m = floorNumber - 1;
    if (m >= 0 && m <= 9)
        return u' ' + QString::number(m);
    return QString::number(m);
}

QString ProjectModel::FloorText(int column, int row) const
{
    if (column < 1 || column > FloorTextColumns || row < 1 || row > MaxFloorCount)
        return QString();
    return m_floorTexts[size_t(column - 1)][size_t(row - 1)];
}

void ProjectModel::SetFloorText(int column, int row, const QString &text)
{
    if (column < 1 || column > FloorTextColumns || row < 1 || row > MaxFloorCount)
        return;
    m_floorTexts[size_t(column - 1)][size_t(row - 1)] = text;
}

void ProjectModel::InitFloorTexts(bool reset)
{
    auto &labels = m_floorTexts[0];
    for (int row = m_floorCount; row >= 1; --row) {
        QString &cell = labels[size_t(row - 1)];
        if (reset || cell.trimmed().isEmpty())
            cell = DefaultFloorLabel(FloorNumber(row));
        cell.truncate(MaxLabelLength);
        if (cell == u" ")
            cell.clear();
    }
    Q_EMIT floorTextsChanged();
}

void ProjectModel::CentreSingleCharLabels()
{
    auto &labels = m_floorTexts[0];
    for (int row = 1; row <= m_floorCount; ++row) {
        QString &cell = labels[size_t(row - 1)];
        const QString t = cell.trimmed();
        if (t.size() == 1)
            cell = t + u' ';
    }
    Q_EMIT floorTextsChanged();
    if (m_sampleText != FloorLabel(m_currentFloorRow))
        SetSampleText(FloorLabel(m_currentFloorRow));
    else
        Q_EMIT previewRequested(false);
}

int ProjectModel::ShownFloorColumns() const
{
    return ShowTextLines() ? m_lastTextLine - m_firstTextLine + 3 : 2;
}

QString ProjectModel::FloorColumnHeader(int column) const
{
    if (column == 0)
        return tr("Etage");
    if (column == 1)
        return tr("Text");
    if (column >= 2 && column < ShownFloorColumns())
        return tr("Etagentext Zeile ") + QString::number(m_firstTextLine + column - 2);
    return QString();
}

// ---- Special states ----------------------------------------------------------------------

QString ProjectModel::SpecialStateName(int row)
{
    if (row < 1 || row > SpecialStateCount)
        return QString();
    if (row == SpecialStateCount)
        return QString::fromLatin1(kSpecialStates[row - 1].name);
    return tr(kSpecialStates[row - 1].name);
}

QString ProjectModel::DefaultSpecialText(int row)
{
    if (row < 1 || row > SpecialStateCount)
        return QString();
    if (row == SpecialStateCount)
        return QString::fromLatin1(kSpecialStates[row - 1].text);
    return tr(kSpecialStates[row - 1].text);
}

QString ProjectModel::SpecialText(int row) const
{
    if (row < 1 || row > SpecialStateCount)
        return QString();
    return m_specialTexts[size_t(row - 1)];
}

void ProjectModel::SetSpecialText(int row, const QString &text)
{
    if (row < 1 || row > SpecialStateCount)
        return;
    m_specialTexts[size_t(row - 1)] = text;
    Q_EMIT specialTextChanged(row);
    if (row != m_currentSpecialRow) {
        m_currentSpecialRow = row;
        Q_EMIT optionChanged(Option::CurrentSpecialRow);
    }
    Q_EMIT specialPreviewRequested(row, true);
}

// ---- Bitmaps ---------------------------------------------------------------------------------

const QImage *ProjectModel::Arrow(DisplayModel model, int slot) const
{
    return slotOf(m_layouts.Main(model), u"PFEIL"_s, slot);
}

const QImage *ProjectModel::SmallArrow(DisplayModel model, int slot) const
{
    return slotOf(m_layouts.Klein(model), u"PFEIL"_s, slot);
}

const QImage *ProjectModel::Logo(DisplayModel model) const
{
    return slotOf(m_layouts.Main(model), u"STABMP"_s, 0);
}

const QImage *ProjectModel::FloorBitmap(DisplayModel model, int row) const
{
    return row >= 1 && row <= MaxFloorCount ? slotOf(m_layouts.Main(model), u"ETABMP"_s, row) : nullptr;
}

const QImage *ProjectModel::SpecialBitmap(DisplayModel model, int row) const
{
    return row >= 1 && row <= SpecialStateCount
        ? slotOf(m_layouts.Sonder(model), u"SONDERZEICHEN"_s, row)
        : nullptr;
}

void ProjectModel::SetArrow(DisplayModel model, int slot, const QImage &bitmap)
{
    if (slot == 0 || slot == 1)
        setSlotOf(m_layouts.Main(model), u"PFEIL"_s, slot, bitmap);
}

void ProjectModel::SetSmallArrow(DisplayModel model, int slot, const QImage &bitmap)
{
    if (slot == 0 || slot == 1)
        setSlotOf(m_layouts.Klein(model), u"PFEIL"_s, slot, bitmap);
}

void ProjectModel::SetLogo(DisplayModel model, const QImage &bitmap)
{
    setSlotOf(m_layouts.Main(model), u"STABMP"_s, 0, bitmap);
}

void ProjectModel::SetFloorBitmap(DisplayModel model, int row, const QImage &bitmap)
{
    if (row >= 1 && row <= MaxFloorCount)
        setSlotOf(m_layouts.Main(model), u"ETABMP"_s, row, bitmap);
}

void ProjectModel::SetSpecialBitmap(DisplayModel model, int row, const QImage &bitmap)
{
    if (row >= 1 && row <= SpecialStateCount)
        setSlotOf(m_layouts.Sonder(model), u"SONDERZEICHEN"_s, row, bitmap);
}

// ---- Month names and clock -------------------------------------------------------------------

void ProjectModel::TakeOverMonthNames()
{
    QStringList names = MonthNames.mid(0, 12);
    while (names.size() < 12)
        names.append(QString());
    ClockFormat.MonthNames = names;
}

QString ProjectModel::ClockPattern() const
{
    return m_verticalMounting ? DateTimeFormat::UprightPattern(DateTimePattern) : DateTimePattern;
}

// ---- Run-time state ----------------------------------------------------------------------------

void ProjectModel::SetProjectOpen(bool open)
{
    if (open)
        StateFlags |= ProjectOpen;
    else
        StateFlags &= quint16(~ProjectOpen);
}

void ProjectModel::SelectFloorRow(int row)
{
    row = qBound(1, row, MaxFloorCount);
    const bool down = row > m_currentFloorRow;
    if (down != m_arrowDown) {
        m_arrowDown = down;
        Q_EMIT optionChanged(Option::ArrowDirection);
    }
    if (row != m_currentFloorRow) {
        m_currentFloorRow = row;
        Q_EMIT optionChanged(Option::CurrentFloorRow);
    }
    if (m_sampleText != FloorLabel(row))
        SetSampleText(FloorLabel(row));
    else
        Q_EMIT previewRequested(false);
}

void ProjectModel::SelectSpecialRow(int row, bool clearFirst)
{
    row = qBound(1, row, int(SpecialStateCount));
    if (row != m_currentSpecialRow) {
        m_currentSpecialRow = row;
        Q_EMIT optionChanged(Option::CurrentSpecialRow);
    }
    Q_EMIT specialPreviewRequested(row, clearFirst);
}

void ProjectModel::SetSampleText(const QString &text)
{
    const QString t = text.left(MaxLabelLength);
    if (t == m_sampleText)
        return;
    m_sampleText = t;
    Q_EMIT optionChanged(Option::SampleText);
    Q_EMIT previewRequested(false);
}

void ProjectModel::SetArrowDown(bool down)
{
    if (down != m_arrowDown) {
        m_arrowDown = down;
        Q_EMIT optionChanged(Option::ArrowDirection);
    }
    Q_EMIT previewRequested(false);
}

void ProjectModel::SetShowRectsButton(bool on)
{
    if (on == m_showRectsButton)
        return;
    m_showRectsButton = on;
    Q_EMIT optionChanged(Option::ShowRectsButton);
}
