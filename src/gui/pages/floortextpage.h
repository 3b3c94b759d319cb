// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "project/projectmodel.h"

#include <QWidget>

#include <array>

class FloorGrid;
class FloorReverseSpinBox;
class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QRadioButton;
class QScrollArea;
class QSlider;
class QSpinBox;
class QSplitter;
class QTabWidget;
class QTableWidgetItem;
class QToolBar;
class QToolButton;
class TLEDMATRIX;
class TMainForm;

/// The page "Grundeinstellungen": the display-model choice and the font lists on the
/// left; on the right the floor-text grid above the floor preview on LED2 with its tool
/// bars (font style, size and offsets; region frames, sample text, number of characters,
/// arrow direction, LED size; auto-size, alignment and display options).
///
/// Every control mirrors the window's ProjectModel: user input goes to a model setter
/// (the model asks for the preview), and the model's signals set the controls with their
/// handlers blocked, so a loaded project shows up in the controls.
class TFloorTextPage : public QWidget
{
    Q_OBJECT
public:
    explicit TFloorTextPage(TMainForm &main, QWidget *parent = nullptr);
    ~TFloorTextPage() override;

    /// Starts following the window's model (made after the page) and shows it.
    void ConnectModel();

    QGroupBox *GroupBoxEtagenanzeige = nullptr;
    QRadioButton *RB_VFD1 = nullptr;
    QRadioButton *RB_LCD = nullptr;
    QRadioButton *RB_VFD2 = nullptr;

    QTabWidget *PageControlFont = nullptr;
    QWidget *TabSheetWinFont = nullptr;   ///< "Windows-Fonts"
    QWidget *TabSheetOtherFont = nullptr; ///< "Sonstige Fonts"
    QListWidget *LBFont = nullptr;        ///< installed families, sorted
    QListWidget *LBFont2 = nullptr;       ///< families of the program's fonts folder

    /// Floor number, label and the chosen text lines of every floor.
    FloorGrid *sgET = nullptr;
    QSplitter *Splitter = nullptr; ///< grid above, preview area below

    QToolBar *ToolBarFont = nullptr;    ///< font style, size and offsets
    QToolBar *ToolBarPreview = nullptr; ///< frames, sample text, characters, arrow, LED size
    QToolBar *ToolBarOptions = nullptr; ///< auto-size, alignment, display options

    QToolButton *ToolButtonBold = nullptr;
    QToolButton *ToolButtonItalic = nullptr;
    // Each spin box is the edit field together with its up-down arrows.
    QSpinBox *edFontSize = nullptr;             ///< also FontSizeUpDown, -300..300
    FloorReverseSpinBox *edHochTief = nullptr;  ///< also HochTiefUpDown; up lowers the value
    QSpinBox *edLinksRechts = nullptr;          ///< also LinksRechtsUpDown, -200..200

    QAction *aShowRect = nullptr;
    QToolButton *ToolButtonPreviewRect = nullptr;
    QLineEdit *edText = nullptr; ///< "Beispiel text:", at most 2 characters
    QLabel *LabelStellen = nullptr;
    QToolButton *ToolButton18 = nullptr; ///< no floor text
    QToolButton *ToolButton19 = nullptr; ///< one character
    QToolButton *ToolButton20 = nullptr; ///< two characters
    QToolButton *ToolButtonArrowUp = nullptr;
    QToolButton *ToolButtonArrowDown = nullptr;
    QSlider *GaugeBar1 = nullptr; ///< LED size of LED2, 1..6
    QToolButton *ToolButtonSenkrecht = nullptr; ///< upright mounting; not visible

    QAction *aAutoSize = nullptr;
    QToolButton *ToolButtonAutoSize = nullptr;
    QToolButton *ToolButtonAutoLeft = nullptr;
    QToolButton *ToolButtonAutoMiddle = nullptr;
    QToolButton *ToolButtonAutoRight = nullptr;
    QAction *aDatumUhrzeit = nullptr;
    QAction *aPfeile = nullptr;
    QAction *aStatischeBitmap = nullptr;
    QAction *aEtagenBitmap = nullptr;
    QToolButton *ToolButtonDatumUhrzeit = nullptr;
    QToolButton *ToolButtonPfeileBmp = nullptr;
    QToolButton *ToolButtonLogoBmp = nullptr;
    QToolButton *ToolButtonEtaBmp = nullptr;

    QScrollArea *LEDScrollArea = nullptr;
    TLEDMATRIX *LED2 = nullptr; ///< the floor preview
    /// LED2's context menu with the submenu "Etagentextzeilen".
    QMenu *PopupMenuLED2 = nullptr;
    QMenu *MenuEtagentextzeilen = nullptr;
    /// aEtagentext1 .. aEtagentext8 (index 0 is line 1).
    std::array<QAction *, ProjectModel::TextLineCount> aEtagentext{};
    QCheckBox *cbOpt_EtaBitmapDrive = nullptr;

    // Handlers.
    /// Rebuilds the floor texts of \a Count floors (numbered from 0 at the bottom) and
    /// shows them: empty labels, or all of them with \a Reset, get their defaults.
    void InitStringGridEtagenTexte(int Count, bool Reset);
    /// A cell of the grid was selected; \a row is the floor row (1 = top row).
    void sgETSelectCell(int column, int row);
    /// Writes an editor still open in a grid cell into the project.
    void CommitCellEdit();
    void edTextChange(const QString &text);
    void edFontSizeChange(int size);
    void edHochTiefChange(int offset);
    void edLinksRechtsChange(int offset);
    void ToolButtonBoldClick();
    void ToolButtonItalicClick();
    /// The font lists' choice becomes the working font's name.
    void LBFontClick();
    void PageControlFontChange(int index);
    void aAutoSizeExecute();
    void ToolButtonAutoLeftClick();
    void ToolButtonAutoMiddleClick();
    void ToolButtonAutoRightClick();
    void ToolButton18Click();
    void ToolButton19Click();
    void ToolButton20Click();
    /// Line \a line (1..8) of the text-line actions was chosen.
    void aEtagentextExecute(int line);
    void aShowRectExecute();
    void LED2MouseDown(int x, int y, Qt::MouseButton button);
    void LED2MouseMove(int x, int y);
    void LED2MouseUp(int x, int y);
    void GaugeBar1Change(int position);
    /// The gauge shows LED2's LED size (after the window sized the matrices).
    void ShowLEDSize();
    void cbOpt_EtaBitmapDriveClick();
    void ToolButtonSenkrechtClick();
    void ToolButtonArrowUpClick();
    void ToolButtonArrowDownClick();
    void aDatumUhrzeitExecute();
    void aPfeileExecute();
    void aStatischeBitmapExecute();
    void aEtagenBitmapExecute();

private:
    void buildGrid();
    void buildToolBars();
    void buildPreviewArea();
    void buildLayout();
    void showFloorTexts();
    void showCurrentFloorRow();
    void showOptions();
    void onOptionChanged(ProjectModel::Option option);
    void sgETCellChanged(QTableWidgetItem *item);
    void sgETCurrentCellChanged(int row, int column);
    void fontListRowChanged(QListWidget *list);

    TMainForm &m_main;
    /// Whether the digit buttons show the model yet: at start none of them is pressed.
    bool m_digitsShown = false;
};
