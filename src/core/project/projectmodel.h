// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "display/fontspec.h"
#include "display/layouts.h"
#include "util/datetimeformat.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>

#include <array>

class TUserFont;

/// The project being edited, without any window: every datum of a project, the nine
/// layouts whose regions and slot bitmaps are project data, and the run-time state the
/// previews read (selected rows, sample text, state word).
///
/// Per-model data are reached through the layouts, indexed by DisplayModel. The option
/// setters apply their effects on the layouts (region Active flags, alignment, turning)
/// and report through signals: optionChanged for the controls that mirror an option,
/// previewRequested / specialPreviewRequested for the redraws the change calls for.
/// Nothing here draws.
class ProjectModel : public QObject
{
    Q_OBJECT
public:
    static constexpr int MinFloorCount = 2;
    static constexpr int MaxFloorCount = 64;
    static constexpr int FloorTextColumns = 9; ///< column 1 the label, 2..9 the text lines
    static constexpr int TextLineCount = 8;
    static constexpr int SpecialStateCount = 10;
    static constexpr int MaxTextLength = 21; ///< text lines, special-state texts, month names
    static constexpr int MaxLabelLength = 2;
    static constexpr int MaxFontNameLength = 41;
    static constexpr int MaxAutoSizeCharsLength = 91;

    /// Bits of StateFlags.
    enum StateFlag : quint16 {
        NewProjectBuilding = 0x0001,
        ProjectOpen = 0x0008,       ///< a project is open; previews may draw
        PreviewsBlocked = 0x0080,   ///< set by the simulation during a floor step
        SpecialStateDrawing = 0x0100,
        CommandLineProject = 0x0200,
    };

    /// What a signal of optionChanged is about.
    enum class Option {
        DisplayModel,
        ShowDateTime,
        ShowArrows,
        ShowFloorBitmaps,
        ShowLogo,
        ShowWhileMoving,
        SpecialBitmapsOnly,
        AutoSize,
        Alignment,
        FloorTextDigits,
        TextLines,
        VerticalMounting,
        FloorCount,
        FloorFont,       ///< name, bold, italic
        FloorFontSize,
        FloorTextOffset, ///< X or Y
        SampleText,
        CurrentFloorRow,
        CurrentSpecialRow,
        ArrowDirection,
        ShowRectsButton,
    };
    Q_ENUM(Option)

    /// \a font1 ("terminal1.fnt") serves the 128 x 64 layouts, \a font2 ("terminal2.fnt")
    /// the others; both are not owned and must outlive the model (either may be null).
    ProjectModel(const TUserFont *font1, const TUserFont *font2, QObject *parent = nullptr);
    ~ProjectModel() override;

    // ---- Layouts -------------------------------------------------------------------
    DisplayLayouts &Layouts() { return m_layouts; }
    const DisplayLayouts &Layouts() const { return m_layouts; }
    DisplayModel Model() const { return m_model; }
    /// Selects the layouts of \a model; the other models' data stay as they are.
    void SetDisplayModel(DisplayModel model);
    TDisplay *MainDisplay() const { return m_layouts.Main(m_model); }
    TDisplay *SonderDisplay() const { return m_layouts.Sonder(m_model); }
    TDisplay *KleinDisplay() const { return m_layouts.Klein(m_model); }
    bool IsLcd() const { return m_model == DisplayModel::Lcd240; }

    /// Regions stored per model, in their stored order.
    static const std::array<QString, 6> &MainRegionNames();  ///< TXT1 TXT2 PFEIL STABMP ETABMP UHR
    static const std::array<QString, 3> &SmallRegionNames(); ///< TXT1 TXT2 PFEIL
    /// Model order is the order of DisplayModel; layout order is VFD 128, VFD 256, LCD 240.
    static DisplayModel ModelInLayoutOrder(int index);
    static int LayoutOrderIndex(DisplayModel model);

    // ---- Floor font and placement ------------------------------------------------
    /// The working outline font (white): FloorFontName, FloorFontBold, FloorFontItalic.
    /// Its size is the manual size, or the fitted one after an auto-sized drawing.
    FontSpec WorkFont;
    QString FloorFontName() const { return WorkFont.Name; }
    bool FloorFontBold() const { return WorkFont.Bold; }
    bool FloorFontItalic() const { return WorkFont.Italic; }
    void SetFloorFontName(const QString &name);
    void SetFloorFontBold(bool on);
    void SetFloorFontItalic(bool on);
    int FloorFontSize() const { return m_floorFontSize; }
    /// The size field (-300..300). Outside auto-sizing it also sizes WorkFont and asks
    /// for a preview; while auto-sizing it only records the fitted size.
    void SetFloorFontSize(int size);
    int FloorTextOffsetX() const { return m_offsetX; }
    int FloorTextOffsetY() const { return m_offsetY; }
    void SetFloorTextOffsetX(int x); ///< -200..200
    void SetFloorTextOffsetY(int y); ///< -300..300
    QString AutoSizeChars = QStringLiteral("EGUTDBAKP0123456789");

    // ---- Options ---------------------------------------------------------------------
    bool AutoSize() const { return m_autoSize; }
    bool AlignTopLeft() const { return m_align == 0; }
    bool AlignCentre() const { return m_align == 1; }
    bool AlignBottomRight() const { return m_align == 2; }
    int Alignment() const { return m_align; } ///< 0 top/left, 1 centre, 2 bottom/right
    int FloorTextDigits() const { return m_floorTextDigits; }
    bool ShowTextLines() const { return m_firstTextLine > 0; }
    int FirstTextLine() const { return m_firstTextLine; }
    int LastTextLine() const { return m_lastTextLine; }
    bool ShowDateTime() const { return m_showDateTime; }
    bool ShowArrows() const { return m_showArrows; }
    bool ShowLogo() const { return m_showLogo; }
    bool ShowFloorBitmaps() const { return m_showFloorBitmaps; }
    bool ShowWhileMoving() const { return m_showWhileMoving; }
    bool SpecialBitmapsOnly() const { return m_specialBitmapsOnly; }
    bool VerticalMounting() const { return m_verticalMounting; }
    bool InfraredReceiver = true;
    int CharsetChoice = 1; ///< 0..2

    /// Always applied (no comparison): the window enables its clock timer from it.
    void SetShowDateTime(bool on);
    void SetShowArrows(bool on);
    void SetShowFloorBitmaps(bool on);
    void SetShowLogo(bool on);
    void SetShowWhileMoving(bool on);
    void SetSpecialBitmapsOnly(bool on);
    void SetAutoSize(bool on);
    /// 0 top/left, 1 centre, 2 bottom/right on the main and small-font renderers.
    void SetAlignment(int mode);
    /// 0 two characters, 1 one ("TXT1" only), 2 none, on the main and small-font layouts.
    void SetFloorTextDigits(int digits);
    /// Toggles text line \a line (1..8) the way the tick-marked line actions do: the
    /// ticked lines are kept as one run from the first ticked line on.
    void ToggleTextLine(int line);
    /// Sets the line range directly (0, 0 for none; otherwise 1 <= first <= last <= 8).
    void SetTextLines(int first, int last);
    /// Whether the action of text line \a line (1..8) is ticked.
    bool TextLineTicked(int line) const;
    /// Turns the three main and the three special-state layouts upright or back.
    void SetVerticalMounting(bool on);

    // ---- Floors ------------------------------------------------------------------------
    int FloorCount() const { return m_floorCount; }
    /// 2..64; rebuilds the floor texts without reset and asks for a cleared preview.
    void SetFloorCount(int count);
    /// Floor number of grid row \a row (1-based): FloorCount - row.
    int FloorNumber(int row) const { return m_floorCount - row; }
    static QString DefaultFloorLabel(int floorNumber);
    /// Cell (column 1..9, row 1..64) of the floor-text table; empty outside.
    QString FloorText(int column, int row) const;
    /// Stores a cell as typed (no redraw). Ignored outside the table.
    void SetFloorText(int column, int row, const QString &text);
    QString FloorLabel(int row) const { return FloorText(1, row); }
    /// Rebuilds the labels of rows 1..FloorCount: empty or blank labels (all of them
    /// with \a reset) get their floor's default, every label is cut to 2 characters and
    /// a single space becomes empty. Hidden rows and the line columns keep their texts.
    void InitFloorTexts(bool reset);
    /// Appends a space to every one-character label of the shown rows (after trimming),
    /// then shows the current row's label in the preview.
    void CentreSingleCharLabels();
    /// Number of grid columns shown: 2, or 3.. while text lines are shown.
    int ShownFloorColumns() const;
    /// Header of grid column \a column (0..ShownFloorColumns()-1).
    QString FloorColumnHeader(int column) const;

    // ---- Special states ----------------------------------------------------------------
    /// Name of state \a row (1..10), translated except "Custom".
    static QString SpecialStateName(int row);
    static QString DefaultSpecialText(int row);
    QString SpecialText(int row) const;
    /// Shared by all models; asks for a special-state preview of that row.
    void SetSpecialText(int row, const QString &text);

    // ---- Bitmaps (slots of the layouts' regions) -------------------------------------
    const QImage *Arrow(DisplayModel model, int slot) const;
    const QImage *SmallArrow(DisplayModel model, int slot) const;
    const QImage *Logo(DisplayModel model) const;
    const QImage *FloorBitmap(DisplayModel model, int row) const;
    const QImage *SpecialBitmap(DisplayModel model, int row) const;
    void SetArrow(DisplayModel model, int slot, const QImage &bitmap);
    void SetSmallArrow(DisplayModel model, int slot, const QImage &bitmap);
    void SetLogo(DisplayModel model, const QImage &bitmap);
    void SetFloorBitmap(DisplayModel model, int row, const QImage &bitmap);
    void SetSpecialBitmap(DisplayModel model, int row, const QImage &bitmap);

    // ---- Month names and clock --------------------------------------------------------
    /// The project's month list (lines 1..12 of the options page).
    QStringList MonthNames;
    /// The clock line's pattern ("SIMULATION"/"DateTimeFormat").
    QString DateTimePattern = QStringLiteral("dd.mmm.yyyy hh:nn");
    /// Formatter of the clock line; its month names are the program's, taken over
    /// from MonthNames by TakeOverMonthNames (on every main page change).
    DateTimeFormat ClockFormat;
    void TakeOverMonthNames();
    /// The pattern the clock line uses now (the short one when mounted upright).
    QString ClockPattern() const;

    // ---- Run-time state ----------------------------------------------------------------
    quint16 StateFlags = 0;
    bool IsProjectOpen() const { return StateFlags & ProjectOpen; }
    void SetProjectOpen(bool open);
    /// Project open and previews not blocked.
    bool PreviewsAllowed() const
    {
        return (StateFlags & ProjectOpen) && !(StateFlags & PreviewsBlocked);
    }

    int CurrentFloorRow() const { return m_currentFloorRow; }
    int CurrentSpecialRow() const { return m_currentSpecialRow; }
    /// Selecting a floor row: chooses the arrow direction by the direction of the move,
    /// makes the row current and its label the sample text, asks for a preview.
    void SelectFloorRow(int row);
    /// Selecting a special-state row: asks for a special-state preview of it.
    void SelectSpecialRow(int row, bool clearFirst = true);

    QString SampleText() const { return m_sampleText; }
    /// The sample text (at most 2 characters); asks for a preview when it changes.
    void SetSampleText(const QString &text);

    /// The down-arrow button is pressed (slot 0), else the up-arrow one (slot 1).
    bool ArrowDown() const { return m_arrowDown; }
    void SetArrowDown(bool down);
    /// Region frames shown on the floor preview (initially on).
    bool ShowRectsButton() const { return m_showRectsButton; }
    void SetShowRectsButton(bool on);

Q_SIGNALS:
    void optionChanged(ProjectModel::Option option);
    /// The floor-text table was rebuilt (labels, shown rows or columns changed).
    void floorTextsChanged();
    void specialTextChanged(int row);
    /// The selected model changed: matrices must be attached to the new layouts.
    void displayModelChanged(DisplayModel model);
    /// The main and special-state layouts were turned: their matrices need ApplySize.
    void layoutsTurned();
    /// The floor preview should be drawn; with \a clearFirst the main layout is cleared
    /// and framed first.
    void previewRequested(bool clearFirst);
    void specialPreviewRequested(int row, bool clearFirst);

private:
    void setActiveInMainAndSmall(const QString &region, bool active);
    void setActiveInMain(const QString &region, bool active);
    void applyTextLineTicks(std::array<bool, TextLineCount + 1> ticks);

    DisplayLayouts m_layouts;
    DisplayModel m_model = DisplayModel::Lcd240;

    int m_floorFontSize = 90;
    int m_offsetX = 0;
    int m_offsetY = 0;

    bool m_autoSize = true;
    int m_align = 1;
    int m_floorTextDigits = 0;
    int m_firstTextLine = 0;
    int m_lastTextLine = 0;
    bool m_showDateTime = true;
    bool m_showArrows = true;
    bool m_showLogo = false;
    bool m_showFloorBitmaps = false;
    bool m_showWhileMoving = false;
    bool m_specialBitmapsOnly = false;
    bool m_verticalMounting = false;

    int m_floorCount = 5;
    std::array<std::array<QString, MaxFloorCount>, FloorTextColumns> m_floorTexts;
    std::array<QString, SpecialStateCount> m_specialTexts;

    int m_currentFloorRow = 1;
    int m_currentSpecialRow = 1;
    QString m_sampleText = QStringLiteral("EG");
    bool m_arrowDown = false;
    bool m_showRectsButton = true;
};
