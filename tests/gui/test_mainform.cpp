// SPDX-License-Identifier: GPL-3.0-or-later
// The main window frame: enabling rule, page control, matrix sizes by window state
// and display model, menus and tool bar, about box, settings applied at creation
// and written at shut-down. Every window works on a temporary program folder.
#include "app/about.h"
#include "app/mainfrm.h"
#include "display/display.h"
#include "gui/programfolder.h"
#include "settings/inifile.h"
#include "widgets/tledmatrix.h"

#include <QAction>
#include <QFile>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

/// Menu entries as their texts, "-" for a separator.
QStringList entries(const QMenu *menu)
{
    QStringList l;
    for (const QAction *a : menu->actions())
        l << (a->isSeparator() ? u"-"_s : a->text());
    return l;
}

} // namespace

class TestMainForm : public QObject
{
    Q_OBJECT

private:
    QScopedPointer<QTemporaryDir> m_dir;
    AppContext context() const { return AppContext(m_dir->path()); }

    /// A created main window on the temporary folder.
    std::unique_ptr<TMainForm> newForm()
    {
        return ProgramFolder::CreateMainForm(m_dir->path());
    }

private Q_SLOTS:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
        QVERIFY(ProgramFolder::CopyBitmapFonts(m_dir->path()));
    }

    void frameAtStart()
    {
        auto form = newForm();
        QVERIFY(form);
        QCOMPARE(form->windowTitle(), u"Kelvra ORV-Editor"_s);
        QVERIFY(form->MainPageControl->isHidden());
        QVERIFY(!form->IsProjectOpen());
        QVERIFY(QFileInfo(m_dir->filePath(u"project"_s)).isDir());
        QVERIFY(QFileInfo(m_dir->filePath(u"tmp"_s)).isDir());
        QCOMPARE(form->DialogFolder, m_dir->filePath(u"project"_s));

        // Pages, inner tabs and where the four matrices live.
        QTabWidget *pc = form->MainPageControl;
        QCOMPARE(pc->count(), 3);
        QCOMPARE(pc->tabText(0), u"Grundeinstellungen"_s);
        QCOMPARE(pc->tabText(1), u"Erweiterte Einstellungen"_s);
        QCOMPARE(pc->tabText(2), u"Simulation"_s);
        QTabWidget *inner = form->PageControlErweitert;
        QCOMPARE(inner->count(), 3);
        QCOMPARE(inner->tabText(0), u"Sonderzeichen"_s);
        QCOMPARE(inner->tabText(1), u"Kleiner Zeichensatz"_s);
        QCOMPARE(inner->tabText(2), u"Optionen"_s);
        QVERIFY(form->TabSheetGrund->isAncestorOf(form->LED2));
        QVERIFY(form->TabSheetSonderzeichen->isAncestorOf(form->LED3));
        QVERIFY(form->TabSheetKleinerFont->isAncestorOf(form->LED4));
        QVERIFY(form->TabSheetSimulation->isAncestorOf(form->LED1));

        // The display model: LCD selected, its layouts on their matrices.
        QCOMPARE(form->GroupBoxEtagenanzeige->title(), u"Etagenanzeige:"_s);
        QCOMPARE(form->RB_VFD1->text(), u"ORV-VFD  (128 x 64 )"_s);
        QCOMPARE(form->RB_LCD->text(), u"ORV-LCD  (240 x 128)"_s);
        QCOMPARE(form->RB_VFD2->text(), u"ORV-VFD  (256 x 128 )"_s);
        QVERIFY(form->RB_LCD->isChecked());
        QVERIFY(form->RB_VFD2->isEnabled());
        QCOMPARE(form->MainDisplay->Name, u"LCD1"_s);
        QCOMPARE(form->SonderDisplay->Name, u"Sonderzeichen_LCD1"_s);
        QCOMPARE(form->KleinDisplay->Width, 240);
        QCOMPARE(form->MainDisplay->Matrix, &form->LED2->core());
        QCOMPARE(form->SonderDisplay->Matrix, &form->LED3->core());
        QCOMPARE(form->KleinDisplay->Matrix, &form->LED4->core());
        QCOMPARE(form->LED2->core().LEDCountX(), 240);
        QCOMPARE(form->LED2->core().LEDCountY(), 128);
        for (TLEDMATRIX *m : {form->LED1, form->LED2, form->LED3, form->LED4})
            QVERIFY(m->core().EnaUpdate());
        QCOMPARE(form->Model->StateFlags, quint16(0));
        QCOMPARE(form->Model->Model(), DisplayModel::Lcd240);
        QCOMPARE(form->MainDisplay, form->Model->MainDisplay());
        // The working font: white, a scalable family, the model's floor font size.
        QVERIFY(QFontDatabase::isScalable(form->Model->WorkFont.Name));
        QCOMPARE(form->Model->WorkFont.Color, QRgb(0xFFFFFF));
        QCOMPARE(form->Model->WorkFont.Size, form->Model->FloorFontSize());
    }

    void missingBitmapFontRefusesStart_data()
    {
        QTest::addColumn<QString>("missing");
        QTest::newRow("terminal1") << u"terminal1.fnt"_s;
        QTest::newRow("terminal2") << u"terminal2.fnt"_s;
    }

    void missingBitmapFontRefusesStart()
    {
        QFETCH(QString, missing);
        QVERIFY(QFile::remove(m_dir->filePath(missing)));
        TMainForm form(context());
        QString error;
        QVERIFY(!form.Create(&error));
        QCOMPARE(error, m_dir->filePath(missing) + u" nicht vorhanden"_s);
        QVERIFY(!form.Model);
    }

    void enablingRule_data()
    {
        QTest::addColumn<bool>("open");
        QTest::addColumn<QString>("openName");
        QTest::addColumn<QString>("saveName");
        QTest::addColumn<bool>("projectActions"); // ASpeichern, aSpeichernUnter, aSchliessen, aEinstellungen
        QTest::addColumn<bool>("createBinFile");
        QTest::newRow("no project") << false << QString() << QString() << false << false;
        QTest::newRow("no project, old file name") << false << u"a.orv"_s << QString() << false << false;
        QTest::newRow("new project without file") << true << QString() << QString() << true << false;
        QTest::newRow("opened from a file") << true << u"a.orv"_s << QString() << true << true;
        QTest::newRow("saved to a file") << true << QString() << u"b.orv"_s << true << true;
    }

    void enablingRule()
    {
        QFETCH(bool, open);
        QFETCH(QString, openName);
        QFETCH(QString, saveName);
        QFETCH(bool, projectActions);
        QFETCH(bool, createBinFile);
        auto form = newForm();
        QVERIFY(form);
        form->OpenDialogFileName = openName;
        form->SaveDialogFileName = saveName;
        form->ShowPageControl(open);
        QCOMPARE(form->IsProjectOpen(), open);
        for (QAction *a : {form->ASpeichern, form->aSpeichernUnter, form->aSchliessen, form->aEinstellungen})
            QVERIFY2(a->isEnabled() == projectActions, qPrintable(a->objectName()));
        QCOMPARE(form->aCreateBinFile->isEnabled(), createBinFile);
        QCOMPARE(form->mnuCreateBinFile->isEnabled(), createBinFile);
        for (QAction *a : {form->aNew, form->aOpen, form->aSerielleUebertragung, form->aAbout, form->aBeenden,
                           form->Hilfe, form->mnuSerielleUebertragung})
            QVERIFY2(a->isEnabled(), qPrintable(a->objectName()));
    }

    void ledSizes_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("maximised");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("countX");
        QTest::newRow("VFD 128 maximised") << u"RB_VFD1"_s << true << 4 << 128;
        QTest::newRow("VFD 128 normal") << u"RB_VFD1"_s << false << 3 << 128;
        QTest::newRow("LCD maximised") << u"RB_LCD"_s << true << 2 << 240;
        QTest::newRow("LCD normal") << u"RB_LCD"_s << false << 1 << 240;
        QTest::newRow("VFD 256 maximised") << u"RB_VFD2"_s << true << 2 << 256;
        QTest::newRow("VFD 256 normal") << u"RB_VFD2"_s << false << 1 << 256;
    }

    void ledSizes()
    {
        QFETCH(QString, button);
        QFETCH(bool, maximised);
        QFETCH(int, size);
        QFETCH(int, countX);
        auto form = newForm();
        QVERIFY(form);
        form->ShowPageControl(true);
        if (maximised)
            form->setWindowState(Qt::WindowMaximized);
        form->findChild<QRadioButton *>(button)->click();
        for (TLEDMATRIX *m : {form->LED2, form->LED3, form->LED4}) {
            QCOMPARE(m->core().LEDSize(), size);
            QCOMPARE(m->core().LEDDistance(), 1);
            QCOMPARE(m->core().LEDCountX(), countX);
        }
        // The window state alone changes the sizes too.
        form->setWindowState(maximised ? Qt::WindowNoState : Qt::WindowMaximized);
        const int other = button == u"RB_VFD1"_s ? (maximised ? 3 : 4) : (maximised ? 1 : 2);
        for (TLEDMATRIX *m : {form->LED2, form->LED3, form->LED4})
            QCOMPARE(m->core().LEDSize(), other);
        // The simulation matrix is not one of the editing matrices.
        QCOMPARE(form->LED1->core().LEDSize(), 1);
    }

    void modelSelectionAttachesLayouts()
    {
        auto form = newForm();
        QVERIFY(form);
        form->ShowPageControl(true);
        form->RB_VFD1->click();
        QCOMPARE(form->MainDisplay->Name, u"VFD1"_s);
        QCOMPARE(form->SonderDisplay->Name, u"Sonderzeichen_VFD1"_s);
        QCOMPARE(form->KleinDisplay->Name, u"Klein_VFD1"_s);
        QCOMPARE(form->LED3->core().LEDCountY(), 64);
        QCOMPARE(form->LED4->core().LEDCountX(), 128);
        form->RB_VFD2->click();
        QCOMPARE(form->MainDisplay->Name, u"VFD2"_s);
        QCOMPARE(form->KleinDisplay->Width, 256);
        QCOMPARE(form->MainDisplay->Matrix, &form->LED2->core());
    }

    void menusAndToolBar()
    {
        auto form = newForm();
        QVERIFY(form);
        QStringList titles;
        for (const QAction *a : form->menuBar()->actions())
            titles << a->text();
        QCOMPARE(titles, (QStringList{u"Datei"_s, u"ORV-Output"_s, u"?"_s}));
        QCOMPARE(entries(form->MenuDatei),
                 (QStringList{u"Neues ORV-Projekt"_s, u"ORV-Projekt öffnen"_s, u"ORV-Projekt speichern"_s,
                              u"ORV-Projekt Speichern unter..."_s, u"-"_s,
                              u"ORV-Projekt schliessen (ohne zu speichern)"_s, u"-"_s, u"Einstellungen ..."_s, u"-"_s,
                              u"Beenden"_s}));
        QCOMPARE(entries(form->MenuOutput),
                 (QStringList{u"LFS-Datei erzeugen"_s, u"-"_s, u"LFS-Datei zur ZSK übertragen"_s}));
        QCOMPARE(entries(form->MenuHilfe), (QStringList{u"Info über Orv-Editor"_s, u"-"_s, u"Hilfe"_s}));
        QCOMPARE(form->aCreateBinFile->text(), u"Binärdatei (*.LFS) erzeugen"_s);
        QCOMPARE(form->aSerielleUebertragung->text(), u"Serielle Übertragung zur ZSK"_s);

        // The menu entries with their own texts run the actions.
        form->ShowPageControl(true);
        form->OpenDialogFileName = u"x.orv"_s;
        form->updateActions();
        int binFileDialogs = 0;
        form->ChooseBinFile = [&binFileDialogs](const QString &) {
            ++binFileDialogs;
            return QString();
        };
        QSignalSpy created(form->aCreateBinFile, &QAction::triggered);
        QSignalSpy sent(form->aSerielleUebertragung, &QAction::triggered);
        form->mnuCreateBinFile->trigger();
        form->mnuSerielleUebertragung->trigger();
        QCOMPARE(created.count(), 1);
        QCOMPARE(binFileDialogs, 1);
        QCOMPARE(sent.count(), 1);

        // Tool bar: three buttons, separator, two buttons, stretching separator, logo.
        const QList<QAction *> tools = form->ToolBar->actions();
        QCOMPARE(tools.size(), 8);
        QCOMPARE(tools.at(0), form->aNew);
        QCOMPARE(tools.at(1), form->aOpen);
        QCOMPARE(tools.at(2), form->ASpeichern);
        QVERIFY(tools.at(3)->isSeparator());
        QCOMPARE(tools.at(4), form->aCreateBinFile);
        QCOMPARE(tools.at(5), form->aSerielleUebertragung);
        QCOMPARE(form->ToolBar->widgetForAction(tools.at(6)), form->ToolBarSpacer);
        QCOMPARE(form->ToolBar->widgetForAction(tools.at(7)), form->Logo);
        QCOMPARE(form->aCreateBinFile->toolTip(), u"LFS-Datei erzeugen"_s);
        QCOMPARE(form->aSerielleUebertragung->toolTip(), u"LFS-Datei zur ZSK übertragen"_s);
        QCOMPARE(form->aNew->toolTip(), u"Neues ORV-Projekt"_s);
        for (QAction *a : {form->aNew, form->aOpen, form->ASpeichern, form->aCreateBinFile,
                           form->aSerielleUebertragung})
            QVERIFY2(!a->icon().isNull(), qPrintable(a->objectName()));
        QVERIFY(!form->Logo->pixmap().isNull());
        QCOMPARE(form->aNew->shortcut(), QKeySequence(QKeySequence::New));
        QCOMPARE(form->Hilfe->shortcut(), QKeySequence(Qt::Key_F1));

        // The stretching separator takes what the buttons and the logo leave.
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->resize(900, 700);
        QTRY_COMPARE(form->width(), 900);
        const int button = form->ToolBar->widgetForAction(form->aNew)->sizeHint().width();
        QCOMPARE(form->ToolBarSpacer->width(), 900 - 7 * button - form->Logo->width());
    }

    void aboutBox()
    {
        auto form = newForm();
        QVERIFY(form);
        TfrmAbout *about = form->frmAbout;
        QVERIFY(about->isHidden());
        QCOMPARE(about->windowTitle(), u"Info..."_s);
        QCOMPARE(about->LabelName->text(), u"Kelvra  ORV-Editor"_s);
        QCOMPARE(about->LabelVersion->text(), u"Version  1.8.2"_s);
        QCOMPARE(about->LabelDate->text(), u"vom 7 Dez 2007 / 10:50:53"_s);
        QVERIFY(!about->ProgramIcon->pixmap().isNull());
        QCOMPARE(about->size(), QSize(300, 135));
        // "Info über Orv-Editor" shows it modally; OK closes it.
        QTimer::singleShot(0, about, [about] {
            QVERIFY(about->isVisible());
            QVERIFY(about->isModal());
            about->OKButton->click();
        });
        form->aAbout->trigger();
        QVERIFY(about->isHidden());
        QCOMPARE(about->result(), int(QDialog::Accepted));
    }

    void settingsPageWithoutPageChange()
    {
        auto form = newForm();
        QVERIFY(form);
        form->ShowPageControl(true);
        form->MainPageControl->setCurrentWidget(form->TabSheetSimulation);
        QCOMPARE(form->MainDisplay->Matrix, &form->LED1->core());
        QCOMPARE(form->LED1->core().LEDCountX(), 240);

        form->aEinstellungen->trigger();
        QCOMPARE(form->MainPageControl->currentWidget(), form->TabSheetErweitert);
        QCOMPARE(form->PageControlErweitert->currentWidget(), form->TabSheetOptionen);
        // The page-change handling did not run: LED1 is still attached.
        QCOMPARE(form->MainDisplay->Matrix, &form->LED1->core());

        form->MainPageControl->setCurrentWidget(form->TabSheetGrund);
        QCOMPARE(form->MainDisplay->Matrix, &form->LED2->core());
    }

    void simulationMatrixCentred()
    {
        auto form = newForm();
        QVERIFY(form);
        form->ShowPageControl(true);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->MainPageControl->setCurrentWidget(form->TabSheetSimulation);
        QTRY_VERIFY(form->LEDPanel->width() > form->LED1->width());
        const QWidget *panel = form->LEDPanel;
        const TLEDMATRIX *led = form->LED1;
        QCOMPARE(led->x(), (panel->width() - led->width()) / 2);
        QCOMPARE(led->y(), qMax(0, (panel->height() - led->height()) / 2));
        // A panel smaller than the matrix keeps it at the origin.
        form->LED1->core().SetLEDSize(6);
        QCOMPARE(led->x(), qMax(0, (panel->width() - led->width()) / 2));
        QCOMPARE(led->y(), 0);
    }

    void settingsApplied()
    {
        QVERIFY(writeFile(context().SettingsPath(),
                          "[SETTINGS]\nENABLEVFD256=0\n[GraphicEditor]\nCMD=gimp\nEditLEDColor=zz\n"
                          "[SIMULATION]\nCOLORS=2\nColor1=102030405060\n"));
        auto form = newForm();
        QVERIFY(form);
        QVERIFY(!form->RB_VFD2->isEnabled());
        QCOMPARE(form->ExternerEditor, u"gimp"_s);
        for (TLEDMATRIX *m : {form->LED2, form->LED3, form->LED4}) {
            const LedMatrix &c = m->core();
            QCOMPARE(c.ColorOff(), QRgb(0));
            QCOMPARE(c.ColorOn(), QRgb(0));
            QCOMPARE(c.ColorUnk(), QRgb(0));
            QCOMPARE(c.BoxColorOff(), QRgb(0));
            QCOMPARE(c.BoxColorOn(), QRgb(0));
            QCOMPARE(c.BoxColorUnk(), QRgb(0));
        }
        QCOMPARE(form->ColorCount, 2);
        const LedMatrix &sim = form->LED1->core();
        QCOMPARE(sim.ColorOff(), QRgb(0x102030));
        QCOMPARE(sim.BoxColorOff(), QRgb(0x102030));
        QCOMPARE(sim.ColorOn(), QRgb(0x405060));
        QCOMPARE(sim.ColorUnk(), QRgb(0x405060));
        QCOMPARE(sim.BoxColorOn(), QRgb(0x405060));
        QCOMPARE(sim.BoxColorUnk(), QRgb(0x405060));
        QCOMPARE(sim.FrameColor(), QRgb(0));
        form->ApplyColorPair(2);
        QCOMPARE(form->LED1->core().ColorOn(), QRgb(0xFFFFFF));
        QCOMPARE(form->LED1->core().ColorOff(), QRgb(0x0000FF));
    }

    void defaultLedColours()
    {
        auto form = newForm();
        QVERIFY(form);
        const LedMatrix &c = form->LED2->core();
        QCOMPARE(c.ColorOff(), QRgb(0x0000FF));
        QCOMPARE(c.ColorOn(), QRgb(0xFFFFFF));
        QCOMPARE(c.BoxColorOff(), QRgb(0x8080FF));
        QCOMPARE(c.BoxColorOn(), QRgb(0xBFBFBF));
    }

    void shutDownWritesEditorCommand()
    {
        auto form = newForm();
        QVERIFY(form);
        form->ExternerEditor = u"kolourpaint"_s;
        form->show();
        form->aBeenden->trigger();
        QVERIFY(!form->isVisible());
        QCOMPARE(IniFile(context().SettingsPath()).ReadString(u"GraphicEditor"_s, u"CMD"_s, QString()),
                 u"kolourpaint"_s);
    }

    void shutDownEvenWhenSettingsCannotBeWritten()
    {
        auto form = newForm();
        QVERIFY(form);
        // A folder where the settings file should be: every write fails.
        QVERIFY(QFile::remove(context().SettingsPath()));
        QVERIFY(QDir().mkdir(context().SettingsPath()));
        form->show();
        QVERIFY(form->close());
        QVERIFY(!form->isVisible());
    }
};

QTEST_MAIN(TestMainForm)
#include "test_mainform.moc"
