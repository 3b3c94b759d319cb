// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/appcontext.h"
#include "app/colortext.h"
#include "display/fontspec.h"
#include "display/layouts.h"
#include "display/userfont.h"
#include "settings/programsettings.h"

#include <QList>
#include <QMainWindow>

#include <array>
#include <memory>

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QRadioButton;
class QTabWidget;
class QToolBar;
class TDisplay;
class TLEDMATRIX;
class TfrmAbout;

/// The editor's main window: menus, tool bar, actions and their enabling rule, the
/// page control with the four LED matrices, the nine layouts and the display-model
/// choice, the sizing of the matrices, the about box and the shut-down.
class TMainForm : public QMainWindow
{
    Q_OBJECT
public:
    /// Bits of StateFlags.
    enum : quint16 {
        sfNewProject = 0x0001,     ///< a new project is being built
        sfProjectOpen = 0x0008,    ///< a project is open and previews may draw
        sfPreviewBlocked = 0x0080, ///< previews blocked during a simulation step
        sfSpecialState = 0x0100,   ///< a special state is being drawn
        sfCommandLine = 0x0200,    ///< the project comes from the command line
    };

    explicit TMainForm(const AppContext &context, QWidget *parent = nullptr);
    ~TMainForm() override;

    /// The creation steps after the splash: folders, settings, bitmap fonts, the
    /// nine layouts and their matrices, the working font. False, with \a error, when
    /// the bitmap fonts cannot be loaded: the layouts cannot work without them.
    bool Create(QString *error);

    /// Warns once when the screen does not have 96 logical dots per inch; the
    /// window is not rescaled.
    void CheckScreenResolution();

    // Enabling rule and project visibility.
    void updateActions();
    /// A project is open exactly when the page control is visible.
    bool IsProjectOpen() const;
    void ShowPageControl(bool visible);

    // Window handlers.
    void SetAppLEDSizes();
    void FormResize();
    void RB_VFD1Click();
    void RB_LCDClick();
    void RB_VFD2Click();
    void MainPageControlChange(int index);
    /// Attaches the layouts of \a model to LED2, LED3 and LED4 and applies their sizes.
    void SelectLayouts(DisplayModel model);
    DisplayModel SelectedModel() const;
    /// Applies simulation colour pair \a p (1-based) to LED1.
    void ApplyColorPair(int p);
    /// Centres LED1 in its panel (never above or left of the panel's origin).
    void CentreSimulationMatrix();

    void aAboutExecute();
    void aEinstellungenExecute();
    void aBeendenExecute();
    void HilfeClick();

    const AppContext &Context() const { return m_context; }

    // Actions (category "OrvEditor").
    QAction *aNew = nullptr;
    QAction *aOpen = nullptr;
    QAction *ASpeichern = nullptr;
    QAction *aSpeichernUnter = nullptr;
    QAction *aSchliessen = nullptr;
    QAction *aCreateBinFile = nullptr;
    QAction *aSerielleUebertragung = nullptr;
    QAction *aAbout = nullptr;
    QAction *aEinstellungen = nullptr;
    QAction *aBeenden = nullptr;
    QAction *Hilfe = nullptr;
    // Menu entries that show another text than their action.
    QAction *mnuCreateBinFile = nullptr;
    QAction *mnuSerielleUebertragung = nullptr;

    QMenu *MenuDatei = nullptr;
    QMenu *MenuOutput = nullptr;
    QMenu *MenuHilfe = nullptr;
    QToolBar *ToolBar = nullptr;
    QWidget *ToolBarSpacer = nullptr; ///< the stretching separator
    QLabel *Logo = nullptr;

    QTabWidget *MainPageControl = nullptr;
    QWidget *TabSheetGrund = nullptr;
    QWidget *TabSheetErweitert = nullptr;
    QWidget *TabSheetSimulation = nullptr;
    QTabWidget *PageControlErweitert = nullptr;
    QWidget *TabSheetSonderzeichen = nullptr;
    QWidget *TabSheetKleinerFont = nullptr;
    QWidget *TabSheetOptionen = nullptr;
    QWidget *LEDPanel = nullptr; ///< the simulation matrix's panel

    QGroupBox *GroupBoxEtagenanzeige = nullptr;
    QRadioButton *RB_VFD1 = nullptr;
    QRadioButton *RB_LCD = nullptr;
    QRadioButton *RB_VFD2 = nullptr;

    TLEDMATRIX *LED1 = nullptr; ///< simulation
    TLEDMATRIX *LED2 = nullptr; ///< floor texts
    TLEDMATRIX *LED3 = nullptr; ///< special states
    TLEDMATRIX *LED4 = nullptr; ///< small font

    TfrmAbout *frmAbout = nullptr;

    // What the window holds besides its controls.
    TUserFont UserFont1; ///< "terminal1.fnt"
    TUserFont UserFont2; ///< "terminal2.fnt"
    std::unique_ptr<DisplayLayouts> Layouts;
    TDisplay *MainDisplay = nullptr;
    TDisplay *SonderDisplay = nullptr;
    TDisplay *KleinDisplay = nullptr;
    FontSpec WorkFont;
    quint16 StateFlags = 0;
    int CurrentFloorRow = 1;
    int CurrentSpecialRow = 1;
    /// The settings read at creation (flash sizes, port, date/time pattern, colours).
    ProgramSettings Settings;
    /// The simulation colour pairs 1..ColorCount (indexes 0..ColorCount-1).
    std::array<SimColorPair, ProgramSettings::kMaxColorPairs> ColorPairs{};
    int ColorCount = 1;
    /// The command line of the external bitmap editor, written back at shut-down.
    QString ExternerEditor;
    /// File names of the project open and save dialogs; a project has a file name
    /// when one of them is set.
    QString OpenDialogFileName;
    QString SaveDialogFileName;
    /// Initial folder of the project and flash-file dialogs.
    QString DialogFolder;
    /// The project named on the command line, opened once start-up is done.
    QString CommandLineProject;
    /// Font files added to the application during the run (ids of QFontDatabase),
    /// removed at shut-down.
    QList<int> AddedFonts;

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createPages();
    void applyEditLedColors(const EditLedColors &colors);
    void displayModelSelected(DisplayModel model);
    void removeAddedFonts();

    AppContext m_context;
    bool m_screenChecked = false;
    bool m_placed = false;
};
