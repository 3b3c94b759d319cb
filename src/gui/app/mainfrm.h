// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/appcontext.h"
#include "app/colortext.h"
#include "display/layouts.h"
#include "display/userfont.h"
#include "project/fontfiles.h"
#include "project/projectmodel.h"
#include "settings/programsettings.h"

#include <QList>
#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QRadioButton;
class QTabWidget;
class QToolBar;
class Preview;
class QTimer;
class TDisplay;
class TLEDMATRIX;
class TNewProject;
class TfrmAbout;
class TBinaerForm;
class TExtendedPage;
class TFloorTextPage;
class TFontLists;
class TSimulationPage;

/// The editor's main window: menus, tool bar, actions and their enabling rule, the
/// page control with the four LED matrices, the project model (with the nine layouts)
/// and its previews, the display-model choice, the sizing of the matrices, the project
/// actions (new, open, save, close) with the unsaved-changes question, the about box
/// and the shut-down.
class TMainForm : public QMainWindow
{
    Q_OBJECT
public:
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
    /// The font chosen in the font lists becomes the working font (the floor page's
    /// handler); also run when the font tab changes.
    void LBFontClick();
    void PageControlFontChange(int index);
    void MainPageControlChange(int index);
    /// Attaches the layouts of \a model to LED2, LED3 and LED4 and applies their sizes.
    void SelectLayouts(DisplayModel model);
    DisplayModel SelectedModel() const;
    /// Applies simulation colour pair \a p (1-based) to LED1.
    void ApplyColorPair(int p);
    /// Reads the number of colour pairs and the pairs from the settings file (writing
    /// missing pairs) and applies pair 1.
    void LoadColorPairs();
    /// Centres LED1 in its panel (never above or left of the panel's origin).
    void CentreSimulationMatrix();

    void aAboutExecute();
    void aEinstellungenExecute();
    void aBeendenExecute();
    void HilfeClick();

    // Project actions.
    void aNewExecute();
    void aOpenExecute();
    /// Saves to the save dialog's file when it exists, else asks with the save dialog.
    /// True when the project was written.
    bool ASpeichernExecute();
    /// Always asks with the save dialog first, then saves like ASpeichern.
    bool aSpeichernUnterExecute();
    void aSchliessenExecute();
    /// The save the flash-file generator runs first: to the save dialog's file, else
    /// the open dialog's, without a dialog (overwriting it). False when the project has
    /// no file name or writing failed (the failure was shown).
    bool SaveForGenerator();
    /// Saves the project, reads it back and runs the flash-file window on it.
    void aCreateBinFileExecute();
    /// The flash-file name proposed for the project file \a projectPath: the same folder
    /// and name with the extension ".lfs", behind the prefix of the selected model.
    QString ProposedBinFileName(const QString &projectPath) const;

    /// Opens CommandLineProject, when set, without a dialog.
    void OpenCommandLineProject();
    /// Resets every floor label to its floor's default.
    void BtnEtaTxtResetClick();

    // Unsaved changes.
    enum class SaveAnswer { Save, Discard, Cancel };
    bool IsModified() const { return m_modified; }
    /// Records a user edit of the project (the pages call it for edits the model does
    /// not signal, e.g. a typed cell or a changed bitmap).
    void MarkModified();
    /// When the project has unsaved changes: asks whether to save them. True when the
    /// caller may go on (saved, discarded or nothing to ask), false on "Abbrechen" or
    /// when the save did not happen.
    bool ConfirmDiscardChanges();
    /// The window title for the current path and modified state.
    QString TitleText() const;

    // Replaceable for tests; the defaults show the real dialogs and message boxes.
    /// The question about unsaved changes.
    std::function<SaveAnswer()> AskSaveChanges;
    /// The open (\a save false) or save dialog; returns the chosen path or an empty one.
    std::function<QString(bool save, const QString &current)> ChooseProjectFile;
    /// Shows an error or a note to the user.
    std::function<void(const QString &text)> ShowMessage;
    /// Runs the new-project dialog; true on OK.
    std::function<bool()> RunNewProjectDialog;
    /// The flash-file save dialog; returns the chosen path or an empty one.
    std::function<QString(const QString &proposed)> ChooseBinFile;
    /// Shows the flash-file window for one run (hidden main window meanwhile).
    std::function<void(const QString &projectPath, const QString &outputPath)> RunBinFile;

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
    // The three pages; the pointers below name their controls the window works on.
    TFloorTextPage *FloorPage = nullptr;
    TExtendedPage *ExtendedPage = nullptr;
    TSimulationPage *SimulationPage = nullptr;
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
    QTabWidget *PageControlFont = nullptr;
    QListWidget *LBFont = nullptr;
    QListWidget *LBFont2 = nullptr;
    /// "True-Type Fonts mit in die Projektdateien aufnehmen" on the options tab.
    QCheckBox *CBSaveTT = nullptr;

    TLEDMATRIX *LED1 = nullptr; ///< simulation
    TLEDMATRIX *LED2 = nullptr; ///< floor texts
    TLEDMATRIX *LED3 = nullptr; ///< special states
    TLEDMATRIX *LED4 = nullptr; ///< small font

    TfrmAbout *frmAbout = nullptr;
    TNewProject *NewProject = nullptr;
    /// The flash-file window, made once and shown for each generation.
    TBinaerForm *BinaerForm = nullptr;
    /// The clock of the floor preview; runs while ShowDateTime is on.
    QTimer *UhrzeitTimer = nullptr;

    // What the window holds besides its controls.
    TUserFont UserFont1; ///< "terminal1.fnt"
    TUserFont UserFont2; ///< "terminal2.fnt"
    /// The project: options, texts, the nine layouts, WorkFont, StateFlags and the
    /// selected rows. Made by Create.
    std::unique_ptr<ProjectModel> Model;
    /// The three previews and the clock line, drawing through Model's layouts.
    std::unique_ptr<Preview> Previews;
    /// The selected model's layouts (mirrors of Model's).
    TDisplay *MainDisplay = nullptr;
    TDisplay *SonderDisplay = nullptr;
    TDisplay *KleinDisplay = nullptr;
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
    /// The two font lists, the fonts folder's fonts added for the program
    /// (AddedFontFiles, removed at shut-down) and the installation of fonts carried
    /// by opened projects.
    TFontLists *FontLists = nullptr;
    /// Finds the floor font's TrueType files when saving; tests replace its folders.
    FontFiles FontSearch;

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
    /// Commits the editors still open in the floor and special-state grids.
    void commitCellEdits();
    void connectModel();
    void onDisplayModelChanged(DisplayModel model);
    void onOptionChanged(ProjectModel::Option option);
    void onProjectEdited();
    void setBusy(bool busy);
    /// The open of a file (or, with NewProjectBuilding set, of a template); true when
    /// the project was read and applied.
    bool openProject(const QString &path);
    /// Writes the project to \a path; the failure is shown.
    bool saveProject(const QString &path);
    /// Chooses the path the way ASpeichern or aSpeichernUnter do and saves.
    bool save(bool forceDialog);
    void setTitlePath(const QString &path);
    void setModified(bool modified);
    void showProjectPages();

    AppContext m_context;
    QString m_titlePath;
    bool m_modified = false;
    /// Model changes while this is above zero are not user edits (loading, previews).
    int m_notEditing = 0;
    bool m_screenChecked = false;
    bool m_placed = false;
};
