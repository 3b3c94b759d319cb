// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainfrm.h"

#include "app/about.h"
#include "app/fontlists.h"
#include "app/newproj.h"
#include "display/display.h"
#include "display/preview.h"
#include "lfs/binfile.h"
#include "pages/extendedpage.h"
#include "pages/floortextpage.h"
#include "pages/simulationpage.h"
#include "project/fontembedding.h"
#include "project/projectmapping.h"
#include "settings/inifile.h"
#include "widgets/tledmatrix.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

// The icons live in the GUI library; a static library must register them itself.
static void initGuiResources()
{
    Q_INIT_RESOURCE(gui);
}

namespace {

constexpr int kOuterWidth = 835;
constexpr int kOuterHeight = 817;

QAction *makeAction(QObject *parent, const QString &name, const QString &caption, const QString &hint,
                    const QString &icon = QString())
{
    auto *a = new QAction(caption, parent);
    a->setObjectName(name);
    a->setProperty("category", u"OrvEditor"_s);
    if (!hint.isEmpty()) {
        a->setToolTip(hint);
        a->setStatusTip(hint);
    }
    if (!icon.isEmpty())
        a->setIcon(QIcon(u":/icons/"_s + icon));
    return a;
}

} // namespace

TMainForm::TMainForm(const AppContext &context, QWidget *parent)
    : QMainWindow(parent), m_context(context)
{
    initGuiResources();
    setObjectName(u"MainForm"_s);
    setWindowTitle(tr("Kelvra ORV-Editor"));
    setWindowIcon(QIcon(u":/icons/app.png"_s));

    createActions();
    createMenus();
    createToolBar();
    createPages();
    statusBar();

    frmAbout = new TfrmAbout(this);
    frmAbout->hide();

    UhrzeitTimer = new QTimer(this);
    UhrzeitTimer->setObjectName(u"UhrzeitTimer"_s);
    UhrzeitTimer->setInterval(1000);
    connect(UhrzeitTimer, &QTimer::timeout, this, [this] {
        if (Previews)
            Previews->UhrzeitTimerTimer();
    });

    AskSaveChanges = [this] {
        QMessageBox box(QMessageBox::Question, windowTitle(),
                        tr("Das Projekt wurde geändert. Sollen die Änderungen gespeichert werden?"),
                        QMessageBox::NoButton, this);
        QPushButton *save = box.addButton(tr("Speichern"), QMessageBox::AcceptRole);
        QPushButton *discard = box.addButton(tr("Verwerfen"), QMessageBox::DestructiveRole);
        QPushButton *cancel = box.addButton(tr("Abbrechen"), QMessageBox::RejectRole);
        box.setDefaultButton(save);
        box.setEscapeButton(cancel);
        box.exec();
        if (box.clickedButton() == save)
            return SaveAnswer::Save;
        if (box.clickedButton() == discard)
            return SaveAnswer::Discard;
        return SaveAnswer::Cancel;
    };
    ChooseProjectFile = [this](bool save, const QString &current) {
        QFileDialog dialog(this, save ? aSpeichernUnter->text() : aOpen->text(), DialogFolder,
                           tr("Etagenanzeige-Editor (*.orv)"));
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        dialog.setDefaultSuffix(u"orv"_s);
        if (!current.isEmpty())
            dialog.selectFile(current);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().constFirst();
    };
    ShowMessage = [this](const QString &text) { QMessageBox::warning(this, windowTitle(), text); };
    ChooseBinFile = [this](const QString &proposed) {
        QFileDialog dialog(this, tr("LFS-Datei erzeugen"), QFileInfo(proposed).path(),
                           tr("Etagenanzeige - Binäres Flashfile (*.lfs)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(u"lfs"_s);
        dialog.selectFile(proposed);
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
            ? dialog.selectedFiles().constFirst()
            : QString();
    };
    RunBinFile = [this](const QString &projectPath, const QString &outputPath) {
        if (!BinaerForm)
            BinaerForm = new TBinaerForm(this);
        BinaerForm->CopyLedColors(LED2->core());
        BinaerForm->SetUserFonts(MainDisplay ? MainDisplay->UserFont : nullptr,
                                 KleinDisplay ? KleinDisplay->UserFont : nullptr);
        BinaerForm->Generator.ProgramFolder = m_context.ProgramFolder();
        hide();
        BinaerForm->StartRun(projectPath, outputPath, Settings.FlashSizeData, Settings.FlashSize);
        show();
    };
    RunNewProjectDialog = [this] { return NewProject && NewProject->ShowModalOver(this); };

    resize(kOuterWidth, kOuterHeight);
    ShowPageControl(false);
}

TMainForm::~TMainForm()
{
    // The layouts refer to the matrices; forget them before the widgets go.
    MainDisplay = SonderDisplay = KleinDisplay = nullptr;
    if (Model)
        disconnect(Model.get(), nullptr, this, nullptr);
    Previews.reset();
    Model.reset();
}

void TMainForm::createActions()
{
    aNew = makeAction(this, u"aNew"_s, tr("Neues ORV-Projekt"), tr("Neues ORV-Projekt"), u"new.png"_s);
    aNew->setShortcut(QKeySequence::New);
    aOpen = makeAction(this, u"aOpen"_s, tr("ORV-Projekt öffnen"), tr("ORV-Projekt öffnen"), u"open.png"_s);
    aOpen->setShortcut(QKeySequence::Open);
    ASpeichern = makeAction(this, u"ASpeichern"_s, tr("ORV-Projekt speichern"), tr("ORV-Projekt speichern"),
                            u"save.png"_s);
    ASpeichern->setShortcut(QKeySequence::Save);
    aSpeichernUnter = makeAction(this, u"aSpeichernUnter"_s, tr("ORV-Projekt Speichern unter..."), QString());
    aSpeichernUnter->setShortcut(QKeySequence::SaveAs);
    aSchliessen = makeAction(this, u"aSchliessen"_s, tr("ORV-Projekt schliessen (ohne zu speichern)"),
                             tr("ORV-Projekt schliessen (ohne zu speichern)"));
    aCreateBinFile = makeAction(this, u"aCreateBinFile"_s, tr("Binärdatei (*.LFS) erzeugen"),
                                tr("Binärdatei (*.LFS) erzeugen"), u"createbin.png"_s);
    aSerielleUebertragung = makeAction(this, u"aSerielleUebertragung"_s, tr("Serielle Übertragung zur ZSK"),
                                       tr("Serielle Übertragung zur ZSK"), u"transfer.png"_s);
    // The tool bar shows its own hints for the two flash-file buttons; the status
    // bar keeps the action's hint.
    aCreateBinFile->setToolTip(tr("LFS-Datei erzeugen"));
    aSerielleUebertragung->setToolTip(tr("LFS-Datei zur ZSK übertragen"));
    aAbout = makeAction(this, u"aAbout"_s, tr("Info über Orv-Editor"), QString());
    aEinstellungen = makeAction(this, u"aEinstellungen"_s, tr("Einstellungen ..."), QString());
    aBeenden = makeAction(this, u"aBeenden"_s, tr("Beenden"), QString());
    aBeenden->setShortcut(QKeySequence::Quit);
    Hilfe = makeAction(this, u"Hilfe"_s, tr("Hilfe"), QString());
    Hilfe->setShortcut(QKeySequence(Qt::Key_F1));

    mnuCreateBinFile = makeAction(this, u"mnuCreateBinFile"_s, tr("LFS-Datei erzeugen"), QString());
    mnuSerielleUebertragung = makeAction(this, u"mnuSerielleUebertragung"_s, tr("LFS-Datei zur ZSK übertragen"),
                                         QString());
    connect(mnuCreateBinFile, &QAction::triggered, aCreateBinFile, &QAction::trigger);
    connect(mnuSerielleUebertragung, &QAction::triggered, aSerielleUebertragung, &QAction::trigger);

    connect(aNew, &QAction::triggered, this, &TMainForm::aNewExecute);
    connect(aOpen, &QAction::triggered, this, &TMainForm::aOpenExecute);
    connect(ASpeichern, &QAction::triggered, this, &TMainForm::ASpeichernExecute);
    connect(aSpeichernUnter, &QAction::triggered, this, &TMainForm::aSpeichernUnterExecute);
    connect(aSchliessen, &QAction::triggered, this, &TMainForm::aSchliessenExecute);
    connect(aCreateBinFile, &QAction::triggered, this, &TMainForm::aCreateBinFileExecute);
    connect(aAbout, &QAction::triggered, this, &TMainForm::aAboutExecute);
    connect(aEinstellungen, &QAction::triggered, this, &TMainForm::aEinstellungenExecute);
    connect(aBeenden, &QAction::triggered, this, &TMainForm::aBeendenExecute);
    connect(Hilfe, &QAction::triggered, this, &TMainForm::HilfeClick);
}

void TMainForm::createMenus()
{
    MenuDatei = menuBar()->addMenu(tr("Datei"));
    MenuDatei->setObjectName(u"MenuDatei"_s);
    MenuDatei->addAction(aNew);
    MenuDatei->addAction(aOpen);
    MenuDatei->addAction(ASpeichern);
    MenuDatei->addAction(aSpeichernUnter);
    MenuDatei->addSeparator();
    MenuDatei->addAction(aSchliessen);
    MenuDatei->addSeparator();
    MenuDatei->addAction(aEinstellungen);
    MenuDatei->addSeparator();
    MenuDatei->addAction(aBeenden);

    MenuOutput = menuBar()->addMenu(tr("ORV-Output"));
    MenuOutput->setObjectName(u"MenuOutput"_s);
    MenuOutput->addAction(mnuCreateBinFile);
    MenuOutput->addSeparator();
    MenuOutput->addAction(mnuSerielleUebertragung);

    MenuHilfe = menuBar()->addMenu(tr("?"));
    MenuHilfe->setObjectName(u"MenuHilfe"_s);
    MenuHilfe->addAction(aAbout);
    MenuHilfe->addSeparator();
    MenuHilfe->addAction(Hilfe);
}

void TMainForm::createToolBar()
{
    ToolBar = addToolBar(u"ToolBar"_s);
    ToolBar->setObjectName(u"ToolBar1"_s);
    ToolBar->setMovable(false);
    ToolBar->setFloatable(false);
    ToolBar->toggleViewAction()->setEnabled(false);
    ToolBar->addAction(aNew);
    ToolBar->addAction(aOpen);
    ToolBar->addAction(ASpeichern);
    ToolBar->addSeparator();
    ToolBar->addAction(aCreateBinFile);
    ToolBar->addAction(aSerielleUebertragung);

    ToolBarSpacer = new QWidget(ToolBar);
    ToolBarSpacer->setObjectName(u"ToolButtonStretch"_s);
    ToolBarSpacer->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    ToolBar->addWidget(ToolBarSpacer);

    Logo = new QLabel(ToolBar);
    Logo->setObjectName(u"ImageLogo"_s);
    Logo->setPixmap(QPixmap(u":/icons/logo.png"_s));
    Logo->setFixedSize(Logo->pixmap().size());
    ToolBar->addWidget(Logo);
}

void TMainForm::createPages()
{
    MainPageControl = new QTabWidget(this);
    MainPageControl->setObjectName(u"MainPageControl"_s);

    FloorPage = new TFloorTextPage(*this);
    ExtendedPage = new TExtendedPage(*this);
    SimulationPage = new TSimulationPage(*this);

    // The controls the window's handlers work on, named as everywhere else.
    TabSheetGrund = FloorPage;
    GroupBoxEtagenanzeige = FloorPage->GroupBoxEtagenanzeige;
    RB_VFD1 = FloorPage->RB_VFD1;
    RB_LCD = FloorPage->RB_LCD;
    RB_VFD2 = FloorPage->RB_VFD2;
    PageControlFont = FloorPage->PageControlFont;
    LBFont = FloorPage->LBFont;
    LBFont2 = FloorPage->LBFont2;
    LED2 = FloorPage->LED2;
    TabSheetErweitert = ExtendedPage;
    PageControlErweitert = ExtendedPage->PageControlErweitert;
    TabSheetSonderzeichen = ExtendedPage->TabSheetSonderzeichen;
    TabSheetKleinerFont = ExtendedPage->TabSheetKleinerFont;
    TabSheetOptionen = ExtendedPage->TabSheetOptionen;
    LED3 = ExtendedPage->LED3;
    LED4 = ExtendedPage->LED4;
    TabSheetSimulation = SimulationPage;
    LEDPanel = SimulationPage->LEDPanel;
    LED1 = SimulationPage->LED1;
    CBSaveTT = ExtendedPage->CBSaveTT;

    // Nothing is drawn until start-up has set up the layouts.
    for (TLEDMATRIX *m : {LED1, LED2, LED3, LED4})
        m->core().SetEnaUpdate(false);

    // The simulated indicator keeps its own colours; the settings' pair 1 follows.
    LedMatrix &sim = LED1->core();
    sim.SetLEDCountX(256);
    sim.SetLEDCountY(128);
    sim.SetColorOn(0xAACBFD);
    sim.SetColorUnk(0xAACBFD);
    sim.SetColorOff(0x0000FF);
    sim.SetBoxColorOn(0xFF0000);
    sim.SetBoxColorUnk(0xFF0000);
    sim.SetBoxColorOff(0x007F00);
    sim.SetFrameColor(0x000000);
    sim.SetSoftenCount(0);
    LEDPanel->installEventFilter(this);
    connect(&LED1->core(), &LedMatrix::sizeChanged, this, &TMainForm::CentreSimulationMatrix);

    MainPageControl->addTab(FloorPage, tr("Grundeinstellungen"));
    MainPageControl->addTab(ExtendedPage, tr("Erweiterte Einstellungen"));
    MainPageControl->addTab(SimulationPage, tr("Simulation"));
    connect(MainPageControl, &QTabWidget::currentChanged, this, &TMainForm::MainPageControlChange);
    setCentralWidget(MainPageControl);
}

bool TMainForm::Create(QString *error)
{
    // Folders beside the program; the dialogs start in "project".
    QString folderError;
    if (!m_context.CreateFolders(&folderError))
        statusBar()->showMessage(folderError + tr(" kann nicht angelegt werden"));
    DialogFolder = m_context.ProjectFolder();

    // Settings, in the order they are read; the colour pairs follow.
    IniFile ini(m_context.SettingsPath());
    Settings = ProgramSettings::Load(ini);
    RB_VFD2->setEnabled(Settings.EnableVfd256);
    ExternerEditor = Settings.GraphicEditorCmd;
    applyEditLedColors(Settings.LedColors);
    ColorCount = Settings.ColorCount;
    ColorPairs = Settings.ColorPairs;
    ApplyColorPair(1);

    // Bitmap fonts and the nine layouts; the LCD model is selected at start.
    QString fontError;
    if (!UserFont1.LoadFromFile(m_context.FilePath(u"terminal1.fnt"_s), &fontError)
        || !UserFont2.LoadFromFile(m_context.FilePath(u"terminal2.fnt"_s), &fontError)) {
        if (error)
            *error = fontError;
        return false;
    }
    Model = std::make_unique<ProjectModel>(&UserFont1, &UserFont2);
    // The font lists: the installed families and those of the fonts folder, which
    // are added for the program; the first entry of each is selected and the
    // installed one becomes the working font.
    FontSearch.ProgramFontsFolder = m_context.FontsFolder();
    FontLists = new TFontLists(FontSearch.ProgramFontsFolder, nullptr, this);
    FontLists->SetWidgets(LBFont, LBFont2, PageControlFont, FloorPage->TabSheetWinFont, FloorPage->TabSheetOtherFont);
    FontLists->ShowMessage = [this](const QString &text) {
        if (!ShowMessage)
            return;
        // The messages come while a project is being opened: not under the busy cursor.
        const bool busy = QGuiApplication::overrideCursor() != nullptr;
        if (busy)
            QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
        ShowMessage(text);
        if (busy)
            QGuiApplication::restoreOverrideCursor();
    };
    FontLists->LBFontClick = [this] { LBFontClick(); };
    FontLists->RebuildFontLists();
    for (QListWidget *list : {LBFont, LBFont2}) {
        const QSignalBlocker blocker(list);
        if (list->count() > 0)
            list->setCurrentRow(0);
    }
    if (LBFont->count() > 0) {
        Model->WorkFont.Name = LBFont->item(0)->text();
    } else {
        // No installed family listed: the first scalable one the database knows.
        const QStringList families = QFontDatabase::families();
        for (const QString &family : families) {
            if (QFontDatabase::isScalable(family)) {
                Model->WorkFont.Name = family;
                break;
            }
        }
    }
    Model->WorkFont.Color = 0xFFFFFF;
    Model->WorkFont.Size = Model->FloorFontSize();
    Previews = std::make_unique<Preview>(*Model);
    Previews->SetBusyHook([this](bool busy) { setBusy(busy); });
    RB_LCD->setChecked(true);
    Model->SetDisplayModel(DisplayModel::Lcd240);
    Previews->SetMatrices(&LED2->core(), &LED3->core(), &LED4->core());
    SelectLayouts(Model->Model());
    SetAppLEDSizes();
    connectModel();
    ExtendedPage->Attach();

    NewProject = new TNewProject(Settings.EnableVfd256, this);
    NewProject->hide();

    // Drawing is allowed from now on; the matrices show what they hold.
    for (TLEDMATRIX *m : {LED1, LED2, LED3, LED4}) {
        m->core().SetEnaUpdate(true);
        m->core().Redraw();
    }
    updateActions();
    return true;
}

void TMainForm::applyEditLedColors(const EditLedColors &colors)
{
    for (TLEDMATRIX *m : {LED2, LED3, LED4}) {
        LedMatrix &c = m->core();
        c.SetColorOff(colors.ColorOff);
        c.SetColorOn(colors.ColorOn);
        c.SetColorUnk(colors.ColorOn);
        c.SetBoxColorOff(colors.BoxColorOff);
        c.SetBoxColorOn(colors.BoxColorOn);
        c.SetBoxColorUnk(colors.BoxColorOn);
    }
}

void TMainForm::LoadColorPairs()
{
    IniFile ini(m_context.SettingsPath());
    ColorCount = ProgramSettings::ReadColorCount(ini);
    ProgramSettings::LoadColorPairs(ini, ColorCount, ColorPairs);
    ApplyColorPair(1);
}

void TMainForm::ApplyColorPair(int p)
{
    if (p < 1 || p > ColorCount)
        return;
    const SimColorPair &pair = ColorPairs[size_t(p - 1)];
    LedMatrix &c = LED1->core();
    c.SetColorOff(pair.Off);
    c.SetBoxColorOff(pair.Off);
    c.SetColorOn(pair.On);
    c.SetColorUnk(pair.On);
    c.SetBoxColorOn(pair.On);
    c.SetBoxColorUnk(pair.On);
    c.Redraw();
}

void TMainForm::CheckScreenResolution()
{
    if (m_screenChecked)
        return;
    m_screenChecked = true;
    const QScreen *s = screen();
    if (s && qRound(s->logicalDotsPerInchX()) != 96) {
        QMessageBox::warning(this, windowTitle(),
                             tr("Es sind grosse Windows-Fonts eingestellt.\n"
                                "Das Programm arbeitet nur bei kleinen Fonts optimal"));
    }
}

bool TMainForm::IsProjectOpen() const
{
    return !MainPageControl->isHidden();
}

void TMainForm::ShowPageControl(bool visible)
{
    MainPageControl->setVisible(visible);
    updateActions();
}

void TMainForm::updateActions()
{
    const bool open = IsProjectOpen();
    for (QAction *a : {ASpeichern, aSpeichernUnter, aSchliessen, aEinstellungen})
        a->setEnabled(open);
    aCreateBinFile->setEnabled(open && (!OpenDialogFileName.isEmpty() || !SaveDialogFileName.isEmpty()));
    for (QAction *a : {aNew, aOpen, aSerielleUebertragung, aAbout, aBeenden, Hilfe})
        a->setEnabled(true);
    mnuCreateBinFile->setEnabled(aCreateBinFile->isEnabled());
    mnuSerielleUebertragung->setEnabled(aSerielleUebertragung->isEnabled());
}

DisplayModel TMainForm::SelectedModel() const
{
    if (RB_VFD1->isChecked())
        return DisplayModel::Vfd128;
    if (RB_VFD2->isChecked())
        return DisplayModel::Vfd256;
    return DisplayModel::Lcd240;
}

void TMainForm::SelectLayouts(DisplayModel model)
{
    if (!Model)
        return;
    if (Model->Model() != model) {
        // The model's signal attaches the matrices and comes back here.
        Model->SetDisplayModel(model);
        return;
    }
    MainDisplay = Model->MainDisplay();
    SonderDisplay = Model->SonderDisplay();
    KleinDisplay = Model->KleinDisplay();
    Previews->AttachMatrices();
}

void TMainForm::displayModelSelected(DisplayModel model)
{
    // The model clears the main layout, frames it and redraws the floor preview.
    SelectLayouts(model);
    SetAppLEDSizes();
}

void TMainForm::connectModel()
{
    connect(Model.get(), &ProjectModel::displayModelChanged, this, &TMainForm::onDisplayModelChanged);
    connect(Model.get(), &ProjectModel::optionChanged, this, &TMainForm::onOptionChanged);
    connect(Model.get(), &ProjectModel::floorTextsChanged, this, &TMainForm::onProjectEdited);
    connect(Model.get(), &ProjectModel::specialTextChanged, this, &TMainForm::onProjectEdited);
    FloorPage->ConnectModel();
}

void TMainForm::onDisplayModelChanged(DisplayModel model)
{
    MainDisplay = Model->MainDisplay();
    SonderDisplay = Model->SonderDisplay();
    KleinDisplay = Model->KleinDisplay();
    {
        const QSignalBlocker b1(RB_VFD1);
        const QSignalBlocker b2(RB_LCD);
        const QSignalBlocker b3(RB_VFD2);
        (model == DisplayModel::Vfd128 ? RB_VFD1 : model == DisplayModel::Vfd256 ? RB_VFD2 : RB_LCD)
            ->setChecked(true);
    }
    SetAppLEDSizes();
}

void TMainForm::onOptionChanged(ProjectModel::Option option)
{
    using O = ProjectModel::Option;
    if (option == O::ShowDateTime) {
        if (Model->ShowDateTime()) {
            UhrzeitTimer->start();
        } else {
            UhrzeitTimer->stop();
            if (Previews && Model->PreviewsAllowed())
                Previews->BlankClockLine();
        }
    }
    switch (option) {
    // Choices of what the preview shows, not of the project.
    case O::SampleText:
    case O::CurrentFloorRow:
    case O::CurrentSpecialRow:
    case O::ArrowDirection:
    case O::ShowRectsButton:
        return;
    default:
        onProjectEdited();
    }
}

void TMainForm::onProjectEdited()
{
    if (m_notEditing > 0 || !IsProjectOpen())
        return;
    setModified(true);
}

void TMainForm::MarkModified()
{
    onProjectEdited();
}

void TMainForm::setBusy(bool busy)
{
    // The fitted size the auto-sized drawing records is no edit.
    if (busy) {
        ++m_notEditing;
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        --m_notEditing;
        QGuiApplication::restoreOverrideCursor();
    }
}

void TMainForm::RB_VFD1Click()
{
    displayModelSelected(DisplayModel::Vfd128);
}

void TMainForm::RB_LCDClick()
{
    displayModelSelected(DisplayModel::Lcd240);
}

void TMainForm::RB_VFD2Click()
{
    displayModelSelected(DisplayModel::Vfd256);
}

void TMainForm::LBFontClick()
{
    FloorPage->LBFontClick();
}

void TMainForm::PageControlFontChange(int index)
{
    FloorPage->PageControlFontChange(index);
}

void TMainForm::SetAppLEDSizes()
{
    const bool maximised = windowState().testFlag(Qt::WindowMaximized);
    const bool vfd1 = RB_VFD1->isChecked();
    const int size = maximised ? (vfd1 ? 4 : 2) : (vfd1 ? 3 : 1);
    for (TLEDMATRIX *m : {LED2, LED3, LED4}) {
        m->core().SetLEDSize(size);
        m->core().SetLEDDistance(1);
    }
    FloorPage->ShowLEDSize();
}

void TMainForm::CentreSimulationMatrix()
{
    LED1->move(qMax(0, (LEDPanel->width() - LED1->width()) / 2),
               qMax(0, (LEDPanel->height() - LED1->height()) / 2));
}

void TMainForm::FormResize()
{
    // The stretching separator keeps the logo at the right end.
    const QWidget *button = ToolBar->widgetForAction(aNew);
    const int buttonWidth = button ? button->sizeHint().width() : 0;
    ToolBarSpacer->setFixedWidth(qMax(0, width() - 7 * buttonWidth - Logo->width()));

    if (MainPageControl->currentWidget() == TabSheetSimulation)
        CentreSimulationMatrix();
    SetAppLEDSizes();
}

void TMainForm::MainPageControlChange(int index)
{
    commitCellEdits();
    const QWidget *page = MainPageControl->widget(index);
    if (!Model)
        return;
    ++m_notEditing;
    if (page == TabSheetErweitert) {
        Previews->PreviewSonderzeichenOut(Model->CurrentSpecialRow(), true);
        Previews->PreviewKleinerFontOut();
    }
    Model->TakeOverMonthNames();
    if (page == TabSheetSimulation) {
        Previews->AttachMainMatrix(&LED1->core());
        CentreSimulationMatrix();
        LED1->core().ClearAll();
        LED1->core().Redraw();
        SimulationPage->EnterPage();
    } else if (page == TabSheetGrund) {
        Previews->AttachMainMatrix(nullptr);
        Previews->PreviewOut(true, true, true, true, true);
    }
    --m_notEditing;
}

void TMainForm::aAboutExecute()
{
    frmAbout->ShowModalOver(this);
}

void TMainForm::aEinstellungenExecute()
{
    // Straight to the options: the page-change handling (previews) does not run.
    const QSignalBlocker outer(MainPageControl);
    const QSignalBlocker inner(PageControlErweitert);
    MainPageControl->setCurrentWidget(TabSheetErweitert);
    PageControlErweitert->setCurrentWidget(TabSheetOptionen);
}

void TMainForm::aBeendenExecute()
{
    close();
}

void TMainForm::HilfeClick()
{
    const QString manual = m_context.ManualPath();
    if (!QFileInfo(manual).isFile()) {
        QMessageBox::warning(this, windowTitle(), manual + tr(" nicht vorhanden"));
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(manual)))
        QMessageBox::warning(this, windowTitle(), manual + tr(" kann nicht geöffnet werden"));
}

void TMainForm::commitCellEdits()
{
    // A grid cell still being edited holds text the project does not have yet.
    FloorPage->CommitCellEdit();
    ExtendedPage->CommitCellEdit();
}

void TMainForm::removeAddedFonts()
{
    // The files stay in the fonts folder and are added again at the next start.
    if (FontLists)
        FontLists->RemoveAddedFonts();
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    commitCellEdits();
    // Unsaved work is offered for saving before anything of the shut-down happens.
    if (!ConfirmDiscardChanges()) {
        event->ignore();
        return;
    }
    UhrzeitTimer->stop();
    removeAddedFonts();
    // The program ends even when the settings cannot be written.
    IniFile(m_context.SettingsPath()).WriteString(Keys::kGraphicEditor, Keys::kCmd, ExternerEditor);
    event->accept();
    QCoreApplication::quit();
}

void TMainForm::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TMainForm::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // The maximised state may change after the resize event.
    if (event->type() == QEvent::WindowStateChange)
        SetAppLEDSizes();
}

void TMainForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_placed || isMaximized() || isFullScreen())
        return;
    m_placed = true;
    // The outer size includes the frame the window system adds.
    const QSize frame = frameGeometry().size() - geometry().size();
    resize(kOuterWidth - frame.width(), kOuterHeight - frame.height());
    if (const QScreen *s = screen()) {
        const QRect area = s->availableGeometry();
        move(area.center() - QPoint(kOuterWidth / 2, kOuterHeight / 2));
    }
}

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == LEDPanel && event->type() == QEvent::Resize)
        CentreSimulationMatrix();
    return QMainWindow::eventFilter(watched, event);
}

// ---- Project actions -------------------------------------------------------------------

QString TMainForm::TitleText() const
{
    QString title = tr("Kelvra ORV-Editor");
    if (!m_titlePath.isEmpty())
        title += u" ("_s + m_titlePath + u')';
    return m_modified ? u'*' + title : title;
}

void TMainForm::setTitlePath(const QString &path)
{
    m_titlePath = path;
    setWindowTitle(TitleText());
}

void TMainForm::setModified(bool modified)
{
    m_modified = modified;
    setWindowTitle(TitleText());
}

bool TMainForm::ConfirmDiscardChanges()
{
    if (!m_modified || !IsProjectOpen())
        return true;
    switch (AskSaveChanges ? AskSaveChanges() : SaveAnswer::Cancel) {
    case SaveAnswer::Save:
        // A cancelled save dialog or a failed save keeps everything as it was.
        return ASpeichernExecute();
    case SaveAnswer::Discard:
        return true;
    case SaveAnswer::Cancel:
        break;
    }
    return false;
}

void TMainForm::showProjectPages()
{
    {
        // Made active without the page-change handling; LED2 shows the floor preview.
        const QSignalBlocker blocker(MainPageControl);
        MainPageControl->setCurrentWidget(TabSheetGrund);
    }
    Previews->AttachMainMatrix(nullptr);
    ShowPageControl(true);
}

bool TMainForm::openProject(const QString &path)
{
    const bool isTemplate = Model->StateFlags & ProjectModel::NewProjectBuilding;
    ProjectApplyOptions options;
    if (isTemplate) {
        options.Template = true;
        options.TemplateFloorCount = NewProject->FloorCount();
        options.TemplateDisplayModel = NewProject->HardwareIndex();
        options.TemplateVertical = NewProject->Vertical();
        if (!QFileInfo(path).isFile()) {
            ShowMessage(path + tr(" nicht vorhanden"));
            return false;
        }
    }

    // The floor font is selected from the lists; a missing family carried in the
    // file is installed into the fonts folder first.
    options.SelectFloorFont = [this](const QString &name, const FontSection &fonts) {
        FontLists->SelectProjectFont(name, fonts);
    };

    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    ++m_notEditing;
    const ProjectOpenResult result = ProjectMapping::OpenProjectFile(*Model, path, options);
    if (result.Ok) {
        setTitlePath(isTemplate ? QString() : path);
        Previews->PreviewSonderzeichenOut(Model->CurrentSpecialRow(), true);
        Model->SetShowRectsButton(true);
        showProjectPages();
        Model->StateFlags &= quint16(~ProjectModel::NewProjectBuilding);
        Model->SetProjectOpen(true);
        Previews->Refresh(true);
        if (Model->ShowDateTime())
            UhrzeitTimer->start();
        SaveDialogFileName.clear();
        setModified(false);
    }
    --m_notEditing;
    QGuiApplication::restoreOverrideCursor();

    if (!result.Ok) {
        ShowMessage(result.Error);
        return false;
    }
    if (!result.Warnings.isEmpty())
        statusBar()->showMessage(result.Warnings.join(u"; "_s));
    return true;
}

namespace {

/// The template a new project starts from, beside the program.
QString templateFileName(bool vertical)
{
    return vertical ? u"newvproject.dat"_s : u"newproject.dat"_s;
}

} // namespace

void TMainForm::aOpenExecute()
{
    if (!Model)
        return;
    const quint16 flags = Model->StateFlags;
    if (flags & ProjectModel::NewProjectBuilding) {
        openProject(m_context.FilePath(templateFileName(NewProject->Vertical())));
        return;
    }

    // The command-line project is the first one: before it there was no file name.
    const QString previousName = (flags & ProjectModel::CommandLineProject) ? QString() : OpenDialogFileName;
    QString path;
    if (flags & ProjectModel::CommandLineProject) {
        path = OpenDialogFileName;
    } else {
        if (!ConfirmDiscardChanges())
            return;
        path = ChooseProjectFile ? ChooseProjectFile(false, OpenDialogFileName) : QString();
        if (path.isEmpty()) {
            OpenDialogFileName.clear();
            updateActions();
            return;
        }
    }
    OpenDialogFileName = path;
    // A file that could not be opened does not become the project's file: the
    // flash-file generator would overwrite it with the project still in memory.
    if (!openProject(path))
        OpenDialogFileName = previousName;
    updateActions();
}

void TMainForm::OpenCommandLineProject()
{
    if (!Model || CommandLineProject.isEmpty())
        return;
    OpenDialogFileName = CommandLineProject;
    Model->StateFlags |= ProjectModel::CommandLineProject;
    aOpenExecute();
    Model->StateFlags &= quint16(~ProjectModel::CommandLineProject);
}

bool TMainForm::saveProject(const QString &path)
{
    commitCellEdits();
    QString error;
    QStringList warnings;
    ++m_notEditing;
    // The stored rectangles are those of a fresh drawing (auto-size shrinks them).
    Previews->PreviewOut(true, true, true, true, true);
    Previews->PreviewKleinerFontOut();
    // The floor font's TrueType files travel with the project while the option is on.
    const bool includeTtf = CBSaveTT ? CBSaveTT->isChecked() : Settings.SaveIncludeTtf;
    const FontSection fonts =
        includeTtf ? FontEmbedding::ForFamily(Model->FloorFontName(), FontSearch, &warnings) : FontSection();
    const bool ok = ProjectMapping::SaveProjectFile(*Model, path, fonts, &error, &warnings);
    --m_notEditing;
    if (!ok) {
        // The writer's message already starts with "Error: ".
        ShowMessage(error.startsWith(u"Error: "_s) ? error : u"Error: "_s + error);
        updateActions();
        return false;
    }
    setTitlePath(path);
    OpenDialogFileName.clear();
    setModified(false);
    updateActions();
    if (!warnings.isEmpty())
        statusBar()->showMessage(warnings.join(u"; "_s));
    return true;
}

bool TMainForm::save(bool forceDialog)
{
    if (!Model || !IsProjectOpen())
        return false;
    QString path = SaveDialogFileName;
    if (forceDialog || path.isEmpty() || !QFileInfo(path).isFile()) {
        path = ChooseProjectFile ? ChooseProjectFile(true, SaveDialogFileName) : QString();
        if (path.isEmpty()) {
            SaveDialogFileName.clear();
            updateActions();
            return false;
        }
    }
    SaveDialogFileName = path;
    return saveProject(path);
}

bool TMainForm::ASpeichernExecute()
{
    return save(false);
}

bool TMainForm::aSpeichernUnterExecute()
{
    return save(true);
}

QString TMainForm::ProposedBinFileName(const QString &projectPath) const
{
    const QFileInfo project(projectPath);
    QString prefix;
    switch (SelectedModel()) {
    case DisplayModel::Vfd128:
        prefix = u"vfd_128x64_"_s;
        break;
    case DisplayModel::Vfd256:
        prefix = u"vfd_256x128_"_s;
        break;
    case DisplayModel::Lcd240:
        prefix = u"lcd_240x128_"_s;
        break;
    }
    return QDir(project.path()).filePath(prefix + project.completeBaseName() + u".lfs"_s);
}

void TMainForm::aCreateBinFileExecute()
{
    commitCellEdits();
    if (!IsProjectOpen())
        return;
    const QString project = !SaveDialogFileName.isEmpty() ? SaveDialogFileName : OpenDialogFileName;
    if (project.isEmpty())
        return;
    QString output = ChooseBinFile(ProposedBinFileName(project));
    if (output.isEmpty())
        return;
    if (QFileInfo(output).suffix().isEmpty())
        output += u".lfs"_s;
    if (!QFileInfo::exists(project)) {
        ShowMessage(tr("Konnte ") + project + tr(" nicht öffnen ..."));
        return;
    }
    if (!SaveForGenerator())
        return;
    Previews->PreviewOut(true, true, true, true, true);
    Previews->PreviewKleinerFontOut();
    RunBinFile(project, output);
}

bool TMainForm::SaveForGenerator()
{
    if (!Model || !IsProjectOpen())
        return false;
    const QString path = !SaveDialogFileName.isEmpty() ? SaveDialogFileName : OpenDialogFileName;
    if (path.isEmpty())
        return false;
    SaveDialogFileName = path;
    return saveProject(path);
}

void TMainForm::aNewExecute()
{
    if (!Model || !RunNewProjectDialog || !RunNewProjectDialog())
        return;
    if (!ConfirmDiscardChanges())
        return;
    ShowPageControl(true);
    Model->StateFlags |= ProjectModel::NewProjectBuilding;
    const bool ok = openProject(m_context.FilePath(templateFileName(NewProject->Vertical())));
    Model->StateFlags &= quint16(~ProjectModel::NewProjectBuilding);
    Model->SetProjectOpen(true);
    if (!ok) {
        // The pages show the project they held before.
        ++m_notEditing;
        Previews->AttachMainMatrix(nullptr);
        Previews->Refresh(true);
        --m_notEditing;
    }
    OpenDialogFileName.clear();
    SaveDialogFileName.clear();
    updateActions();
}

void TMainForm::aSchliessenExecute()
{
    // Nothing is saved and nothing is asked; the previews stop drawing.
    m_modified = false;
    setTitlePath(QString());
    ShowPageControl(false);
    if (Model)
        Model->SetProjectOpen(false);
    UhrzeitTimer->stop();
    OpenDialogFileName.clear();
    SaveDialogFileName.clear();
    updateActions();
}

void TMainForm::BtnEtaTxtResetClick()
{
    if (Model)
        Model->InitFloorTexts(true);
}
