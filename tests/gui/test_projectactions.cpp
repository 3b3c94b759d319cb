// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's project actions on the real widgets: new from a template, open,
// save, save as, close, the command-line project, the generator's save, the unsaved
// changes question, the previews following the open project and the display-model
// buttons. Dialogs and message boxes are replaced by recording functions; every window
// works on a temporary program folder.
#include "app/mainfrm.h"
#include "app/newproj.h"
#include "display/display.h"
#include "display/displayrect.h"
#include "display/preview.h"
#include "gui/programfolder.h"
#include "ledmatrix/ledmatrix.h"
#include "project/projectfile.h"
#include "project/projectmapping.h"
#include "project/projectmodel.h"
#include "widgets/tledmatrix.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFile>
#include <QFontDatabase>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

int countPixels(const QImage &raster, QRgb value)
{
    int n = 0;
    for (int y = 0; y < raster.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(raster.constScanLine(y));
        for (int x = 0; x < raster.width(); ++x)
            n += line[x] == value;
    }
    return n;
}

int countNonZero(const QImage &raster)
{
    return raster.width() * raster.height() - countPixels(raster, 0);
}

} // namespace

class TestProjectActions : public QObject
{
    Q_OBJECT

private:
    QScopedPointer<QTemporaryDir> m_dir;
    // What the replaced dialogs were asked and what they answer.
    QList<TMainForm::SaveAnswer> m_answers;
    int m_questions = 0;
    QStringList m_chosenPaths; ///< answers of the file dialogs, in order ("" cancels)
    QList<QPair<bool, QString>> m_fileDialogs; ///< (save?, current name) per dialog shown
    QStringList m_messages;
    bool m_newDialogOk = true;
    int m_hardware = 1;
    bool m_vertical = false;
    int m_floors = 4;

    AppContext context() const { return AppContext(m_dir->path()); }
    QString path(const QString &name) const { return m_dir->filePath(name); }

    enum Real { RealNone = 0, RealNewProjectDialog = 1, RealQuestion = 2 };

    /// A created window whose dialogs answer from the members above, except those
    /// named in \a real, which the window shows itself.
    std::unique_ptr<TMainForm> newForm(int real = RealNone)
    {
        auto form = ProgramFolder::CreateMainForm(m_dir->path());
        if (!form)
            return nullptr;
        TMainForm *f = form.get();
        if (!(real & RealQuestion)) {
            f->AskSaveChanges = [this] {
                ++m_questions;
                return m_answers.isEmpty() ? TMainForm::SaveAnswer::Cancel : m_answers.takeFirst();
            };
        }
        f->ChooseProjectFile = [this](bool save, const QString &current) {
            m_fileDialogs.append({save, current});
            return m_chosenPaths.isEmpty() ? QString() : m_chosenPaths.takeFirst();
        };
        f->ShowMessage = [this](const QString &text) { m_messages << text; };
        if (!(real & RealNewProjectDialog)) {
            f->RunNewProjectDialog = [this, f] {
                f->NewProject->SetHardwareIndex(m_hardware);
                f->NewProject->cbVertical->setChecked(m_vertical);
                f->NewProject->EtagenUpDown->setValue(m_floors);
                return m_newDialogOk;
            };
        }
        return form;
    }

    /// A template as a project file written from a fresh model: VFD 256 x 128, five
    /// floors, and \a marker as the first text line of row 1.
    void writeTemplate(const QString &name, const QString &marker)
    {
        ProjectModel model(nullptr, nullptr);
        model.WorkFont.Name = ProgramFolder::FirstScalableFamily();
        model.SetDisplayModel(DisplayModel::Vfd256);
        model.SetFloorText(2, 1, marker);
        QString error;
        QVERIFY2(ProjectMapping::SaveProjectFile(model, path(name), FontSection(), &error), qPrintable(error));
    }

    /// A new LCD project with \a floors floors from "newproject.dat".
    void newLcdProject(TMainForm &form, int floors = 5)
    {
        m_hardware = 1;
        m_vertical = false;
        m_floors = floors;
        form.aNew->trigger();
    }

    /// A project saved under "saved.orv" (through the save dialog).
    QString saveAs(TMainForm &form, const QString &name = u"saved.orv"_s)
    {
        m_chosenPaths << path(name);
        form.aSpeichernUnter->trigger();
        return path(name);
    }

private Q_SLOTS:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
        QVERIFY(ProgramFolder::CopyBitmapFonts(m_dir->path()));
        writeTemplate(u"newproject.dat"_s, u"Horizontal"_s);
        writeTemplate(u"newvproject.dat"_s, u"Vertikal"_s);
        m_answers.clear();
        m_questions = 0;
        m_chosenPaths.clear();
        m_fileDialogs.clear();
        m_messages.clear();
        m_newDialogOk = true;
    }

    void newProjectDialog()
    {
        TNewProject withVfd256(true);
        QCOMPARE(withVfd256.windowTitle(), u"Neues ORV-Projekt"_s);
        QCOMPARE(withVfd256.HardwareCount(), 3);
        QCOMPARE(withVfd256.HardwareButtons->button(2)->text(), u"ORV-VFD  ( 256  x 128 )"_s);
        QCOMPARE(withVfd256.HardwareIndex(), 0);
        QVERIFY(!withVfd256.Vertical());
        QCOMPARE(withVfd256.FloorCount(), 4);
        withVfd256.EtagenUpDown->setValue(1);
        QCOMPARE(withVfd256.FloorCount(), 2);
        withVfd256.EtagenUpDown->setValue(65);
        QCOMPARE(withVfd256.FloorCount(), 64);
        QVERIFY(withVfd256.EditAnzahlEtagen && withVfd256.EditAnzahlEtagen->isReadOnly());

        TNewProject without(false);
        QCOMPARE(without.HardwareCount(), 2);
        QCOMPARE(without.HardwareButtons->button(1)->text(), u"ORV-LCD  ( 240  x 128 )"_s);
    }

    void newProjectFromTemplate_data()
    {
        QTest::addColumn<int>("hardware");
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<int>("floors");
        QTest::addColumn<QString>("marker"); // tells which template was read
        QTest::newRow("LCD, 12 floors") << 1 << false << 12 << u"Horizontal"_s;
        QTest::newRow("VFD 128 upright, 2 floors") << 0 << true << 2 << u"Vertikal"_s;
        QTest::newRow("VFD 256, 64 floors") << 2 << false << 64 << u"Horizontal"_s;
    }

    void newProjectFromTemplate()
    {
        QFETCH(int, hardware);
        QFETCH(bool, vertical);
        QFETCH(int, floors);
        QFETCH(QString, marker);
        auto form = newForm();
        QVERIFY(form);
        m_hardware = hardware;
        m_vertical = vertical;
        m_floors = floors;
        form->aNew->trigger();

        QVERIFY(m_messages.isEmpty());
        QVERIFY(form->IsProjectOpen());
        QCOMPARE(form->MainPageControl->currentWidget(), form->TabSheetGrund);
        QCOMPARE(form->windowTitle(), u"Kelvra ORV-Editor"_s);
        ProjectModel &m = *form->Model;
        QCOMPARE(int(m.Model()), hardware);
        QRadioButton *selected = hardware == 0 ? form->RB_VFD1 : hardware == 1 ? form->RB_LCD : form->RB_VFD2;
        QVERIFY(selected->isChecked());
        QCOMPARE(form->MainDisplay, m.MainDisplay());
        QCOMPARE(form->MainDisplay->Matrix, &form->LED2->core());
        QCOMPARE(m.VerticalMounting(), vertical);
        QCOMPARE(m.FloorCount(), floors);
        QCOMPARE(m.FloorText(2, 1), marker);
        QCOMPARE(m.StateFlags & (ProjectModel::NewProjectBuilding | ProjectModel::ProjectOpen),
                 int(ProjectModel::ProjectOpen));
        QVERIFY(form->OpenDialogFileName.isEmpty());
        QVERIFY(form->SaveDialogFileName.isEmpty());
        QVERIFY(!form->IsModified());
        QVERIFY(form->ASpeichern->isEnabled());
        QVERIFY(form->aSchliessen->isEnabled());
        QVERIFY(!form->aCreateBinFile->isEnabled());
        QVERIFY(form->UhrzeitTimer->isActive()); // the templates show the clock

        // The first save asks with an empty name.
        form->ASpeichern->trigger();
        QCOMPARE(m_fileDialogs.size(), 1);
        QCOMPARE(m_fileDialogs.at(0), qMakePair(true, QString()));
    }

    void templateWithoutLabelsShowsTheFloorLabel()
    {
        // Templates carry no labels: every floor gets its default one.
        ProjectModel model(nullptr, nullptr);
        model.WorkFont.Name = ProgramFolder::FirstScalableFamily();
        ProjectRecord record = ProjectMapping::FillRecord(model);
        for (QByteArray &label : record.FloorTexts[0])
            label = QByteArray();
        QString error;
        QVERIFY2(ProjectFile::write(path(u"newproject.dat"_s), record, FontSection(), &error), qPrintable(error));

        auto form = newForm();
        QVERIFY(form);
        newLcdProject(*form, 2);
        QVERIFY(m_messages.isEmpty());
        QCOMPARE(form->Model->FloorLabel(1), u"EG"_s);
        QCOMPARE(form->Model->SampleText(), u"EG"_s);
        QVERIFY(!form->IsModified());
        // Both characters are drawn into their regions.
        const QImage &content = form->LED2->core().contentRaster();
        for (const QString &name : {u"TXT1"_s, u"TXT2"_s}) {
            const TRect r = form->MainDisplay->FindRect(name)->Rect;
            const QImage part = content.copy(r.Left, r.Top, r.Width(), r.Height());
            QVERIFY2(countPixels(part, 0x00FFFFFF) > 0, qPrintable(name));
        }
    }

    void newProjectDialogKeepsItsChoices()
    {
        auto form = newForm(RealNewProjectDialog);
        QVERIFY(form);
        TNewProject *dialog = form->NewProject;
        QVERIFY(dialog && dialog->isHidden());
        QTimer::singleShot(0, dialog, [dialog] {
            QVERIFY(dialog->isVisible());
            dialog->SetHardwareIndex(2);
            dialog->cbVertical->setChecked(false);
            dialog->EtagenUpDown->setValue(12);
            dialog->BitBtn1->click();
        });
        form->aNew->trigger();
        QVERIFY(form->IsProjectOpen());
        QCOMPARE(form->Model->Model(), DisplayModel::Vfd256);
        QCOMPARE(form->Model->FloorCount(), 12);

        // The next use offers the same choices; "Abbruch" changes nothing.
        bool offered = false;
        QTimer::singleShot(0, dialog, [dialog, &offered] {
            offered = dialog->HardwareIndex() == 2 && dialog->FloorCount() == 12 && !dialog->Vertical();
            dialog->EtagenUpDown->setValue(3);
            dialog->BitBtn2->click();
        });
        form->aNew->trigger();
        QVERIFY(offered);
        QCOMPARE(form->Model->FloorCount(), 12);
        QCOMPARE(form->NewProject, dialog);
    }

    void newProjectCancelledChangesNothing()
    {
        auto form = newForm();
        QVERIFY(form);
        m_newDialogOk = false;
        form->aNew->trigger();
        QVERIFY(!form->IsProjectOpen());
        QCOMPARE(form->Model->StateFlags, quint16(0));
        QCOMPARE(countNonZero(form->LED2->core().contentRaster()), 0);
    }

    void newProjectWithoutTemplate()
    {
        auto form = newForm();
        QVERIFY(form);
        QVERIFY(QFile::remove(path(u"newproject.dat"_s)));
        newLcdProject(*form);
        QCOMPARE(m_messages, QStringList{path(u"newproject.dat"_s) + u" nicht vorhanden"_s});
        // The pages show what the model held before (here the start-up state).
        QVERIFY(form->IsProjectOpen());
        QCOMPARE(form->Model->StateFlags, quint16(ProjectModel::ProjectOpen));
        QVERIFY(!form->aCreateBinFile->isEnabled());
    }

    void saveAndReopen()
    {
        auto form = newForm();
        QVERIFY(form);
        newLcdProject(*form, 7);
        form->Model->SetFloorText(2, 3, u"Zeile"_s);
        form->Model->SetShowLogo(true);

        const QString file = saveAs(*form);
        QVERIFY(m_messages.isEmpty());
        QVERIFY(QFileInfo(file).isFile());
        QCOMPARE(form->windowTitle(), u"Kelvra ORV-Editor ("_s + file + u')');
        QCOMPARE(form->SaveDialogFileName, file);
        QVERIFY(form->OpenDialogFileName.isEmpty());
        QVERIFY(form->aCreateBinFile->isEnabled());

        // Saving again writes the same file without a dialog; save as always asks.
        m_fileDialogs.clear();
        QVERIFY(form->ASpeichernExecute());
        QVERIFY(m_fileDialogs.isEmpty());
        m_chosenPaths << path(u"copy.orv"_s);
        QVERIFY(form->aSpeichernUnterExecute());
        QCOMPARE(m_fileDialogs, (QList<QPair<bool, QString>>{{true, file}}));
        QCOMPARE(form->SaveDialogFileName, path(u"copy.orv"_s));

        // Close: nothing asked even with changes, no project, no file names.
        form->Model->SetShowLogo(false);
        QVERIFY(form->IsModified());
        form->aSchliessen->trigger();
        QCOMPARE(m_questions, 0);
        QVERIFY(!form->IsProjectOpen());
        QCOMPARE(form->windowTitle(), u"Kelvra ORV-Editor"_s);
        QVERIFY(form->OpenDialogFileName.isEmpty() && form->SaveDialogFileName.isEmpty());
        for (QAction *a : {form->ASpeichern, form->aSpeichernUnter, form->aSchliessen, form->aEinstellungen,
                           form->aCreateBinFile})
            QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));

        // Opening shows the stored state; the first save after it asks again.
        m_fileDialogs.clear();
        m_chosenPaths << file;
        form->aOpen->trigger();
        QCOMPARE(m_fileDialogs, (QList<QPair<bool, QString>>{{false, QString()}}));
        QVERIFY(m_messages.isEmpty());
        QVERIFY(form->IsProjectOpen());
        QCOMPARE(form->windowTitle(), u"Kelvra ORV-Editor ("_s + file + u')');
        QCOMPARE(form->OpenDialogFileName, file);
        QVERIFY(form->SaveDialogFileName.isEmpty());
        QVERIFY(form->aCreateBinFile->isEnabled());
        QVERIFY(!form->IsModified());
        QCOMPARE(form->Model->FloorCount(), 7);
        QCOMPARE(form->Model->FloorText(2, 3), u"Zeile"_s);
        QVERIFY(form->Model->ShowLogo());
        QVERIFY(form->RB_LCD->isChecked());

        m_fileDialogs.clear();
        form->ASpeichern->trigger(); // dialog cancelled
        QCOMPARE(m_fileDialogs, (QList<QPair<bool, QString>>{{true, QString()}}));
    }

    void cancelledDialogsForgetTheirNames()
    {
        auto form = newForm();
        QVERIFY(form);
        newLcdProject(*form);
        const QString file = saveAs(*form);
        QCOMPARE(form->SaveDialogFileName, file);
        QVERIFY(!form->aSpeichernUnterExecute()); // cancelled
        QVERIFY(form->SaveDialogFileName.isEmpty());
        QVERIFY(!form->aCreateBinFile->isEnabled());

        m_chosenPaths << file;
        form->aOpen->trigger();
        QCOMPARE(form->OpenDialogFileName, file);
        form->aOpen->trigger(); // cancelled
        QVERIFY(form->OpenDialogFileName.isEmpty());
        QVERIFY(!form->aCreateBinFile->isEnabled());
        QVERIFY(form->IsProjectOpen());
    }

    void saveFailureIsReported()
    {
        auto form = newForm();
        QVERIFY(form);
        newLcdProject(*form);
        form->Model->SetShowArrows(false);
        m_chosenPaths << path(u"missing/folder/x.orv"_s);
        QVERIFY(!form->ASpeichernExecute());
        QCOMPARE(m_messages.size(), 1);
        QVERIFY2(m_messages.at(0).startsWith(u"Error: "_s), qPrintable(m_messages.at(0)));
        QVERIFY(m_messages.at(0).size() > 7);
        QVERIFY(form->IsModified());
        QCOMPARE(form->windowTitle(), u"*Kelvra ORV-Editor"_s);
    }

    void failedOpenKeepsTheProject_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("not bzip2") << QByteArray("this is no project file");
    }

    void failedOpenKeepsTheProject()
    {
        QFETCH(QByteArray, content);
        QFile bad(path(u"bad.orv"_s));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write(content);
        bad.close();

        auto form = newForm();
        QVERIFY(form);
        newLcdProject(*form, 9);
        const QString file = saveAs(*form);
        m_fileDialogs.clear();
        QVERIFY(form->ASpeichernExecute()); // the save name is the project's again
        form->aOpen->trigger();             // cancelled: the open name is empty
        m_chosenPaths << bad.fileName();
        form->aOpen->trigger();
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(form->Model->FloorCount(), 9);
        QVERIFY(form->IsProjectOpen());
        QCOMPARE(form->windowTitle(), u"Kelvra ORV-Editor ("_s + file + u')');
        // The unreadable file does not become the project's file.
        QVERIFY(form->OpenDialogFileName.isEmpty());
        QCOMPARE(form->SaveDialogFileName, file);
        QVERIFY(form->SaveForGenerator());
        QCOMPARE(bad.size(), qint64(content.size()));
    }

    void commandLineProject()
    {
        QString file;
        {
            auto first = newForm();
            QVERIFY(first);
            newLcdProject(*first, 6);
            file = saveAs(*first);
        }
        m_fileDialogs.clear();
        auto form = newForm();
        QVERIFY(form);
        form->CommandLineProject = file;
        form->OpenCommandLineProject();
        QVERIFY(m_fileDialogs.isEmpty());
        QVERIFY(m_messages.isEmpty());
        QVERIFY(form->IsProjectOpen());
        QCOMPARE(form->Model->FloorCount(), 6);
        QCOMPARE(form->windowTitle(), u"Kelvra ORV-Editor ("_s + file + u')');
        QCOMPARE(form->OpenDialogFileName, file);
        QCOMPARE(form->Model->StateFlags, quint16(ProjectModel::ProjectOpen));
        QVERIFY(form->aCreateBinFile->isEnabled());
    }

    void generatorSave()
    {
        auto form = newForm();
        QVERIFY(form);
        newLcdProject(*form);
        // Without a file name there is nothing to save to, and no dialog is shown.
        QVERIFY(!form->SaveForGenerator());
        QVERIFY(m_fileDialogs.isEmpty());

        const QString file = saveAs(*form);
        form->aSchliessen->trigger();
        m_chosenPaths << file;
        form->aOpen->trigger();
        QVERIFY(QFile::remove(file));
        m_fileDialogs.clear();
        QVERIFY(form->SaveForGenerator());
        QVERIFY(m_fileDialogs.isEmpty());
        QVERIFY(QFileInfo(file).isFile());
        QCOMPARE(form->SaveDialogFileName, file);
        QVERIFY(form->OpenDialogFileName.isEmpty());
        QVERIFY(!form->IsModified());
    }

    void createBinFileAction_data()
    {
        QTest::addColumn<int>("hardware");
        QTest::addColumn<QString>("prefix");
        QTest::newRow("VFD 128 x 64") << 0 << u"vfd_128x64_"_s;
        QTest::newRow("LCD 240 x 128") << 1 << u"lcd_240x128_"_s;
        QTest::newRow("VFD 256 x 128") << 2 << u"vfd_256x128_"_s;
    }

    void createBinFileAction()
    {
        QFETCH(int, hardware);
        QFETCH(QString, prefix);
        auto form = newForm();
        QVERIFY(form);
        m_hardware = hardware;
        m_vertical = false;
        m_floors = 5;
        form->aNew->trigger();
        QVERIFY(!form->aCreateBinFile->isEnabled());
        const QString file = saveAs(*form, u"Haus.orv"_s);
        QVERIFY(form->aCreateBinFile->isEnabled());

        QStringList proposals;
        QList<QStringList> runs;
        form->ChooseBinFile = [&](const QString &proposed) {
            proposals << proposed;
            return proposals.size() == 1 ? QString() : path(u"out"_s);
        };
        form->RunBinFile = [&](const QString &project, const QString &output) {
            runs.append({project, output});
        };
        // Cancelling the dialog runs nothing and saves nothing.
        QVERIFY(QFile::remove(file));
        form->aCreateBinFile->trigger();
        QCOMPARE(proposals, QStringList{path(prefix + u"Haus.lfs"_s)});
        QVERIFY(runs.isEmpty());
        // A project file that is gone is reported, not recreated.
        form->aCreateBinFile->trigger();
        QVERIFY(runs.isEmpty());
        QCOMPARE(m_messages.size(), 1);
        QVERIFY(m_messages.constFirst().contains(file));
        QVERIFY(!QFileInfo::exists(file));
        // With the file there, the project is saved first and the window runs on it.
        QVERIFY(QFile(file).open(QIODevice::WriteOnly));
        form->aCreateBinFile->trigger();
        QCOMPARE(runs.size(), 1);
        QCOMPARE(runs.constFirst(), (QStringList{file, path(u"out.lfs"_s)}));
        QFile saved(file);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.read(4), QByteArray("BZh4"));
    }

    void unsavedChangesQuestion_data()
    {
        QTest::addColumn<QString>("action"); // quit, open, new
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QList<int>>("answers");    // SaveAnswer values in order
        QTest::addColumn<QString>("saveDialog");    // the save dialog's answer ("" cancels)
        QTest::addColumn<bool>("goesOn");
        QTest::addColumn<bool>("saved");
        const int save = int(TMainForm::SaveAnswer::Save);
        const int discard = int(TMainForm::SaveAnswer::Discard);
        const int cancel = int(TMainForm::SaveAnswer::Cancel);
        for (const QString &action : {u"quit"_s, u"open"_s, u"new"_s}) {
            const QByteArray a = action.toLatin1();
            QTest::addRow("%s unchanged", a.constData()) << action << false << QList<int>{} << QString() << true << false;
            QTest::addRow("%s Speichern", a.constData()) << action << true << QList<int>{save} << u"answer.orv"_s << true
                                            << true;
            QTest::addRow("%s Speichern, dialog cancelled", a.constData())
                << action << true << QList<int>{save} << QString() << false << false;
            QTest::addRow("%s Verwerfen", a.constData()) << action << true << QList<int>{discard} << QString() << true << false;
            QTest::addRow("%s Abbrechen", a.constData()) << action << true << QList<int>{cancel} << QString() << false << false;
        }
    }

    void unsavedChangesQuestion()
    {
        QFETCH(QString, action);
        QFETCH(bool, changed);
        QFETCH(QList<int>, answers);
        QFETCH(QString, saveDialog);
        QFETCH(bool, goesOn);
        QFETCH(bool, saved);

        // A project on file that the open action opens.
        QString other;
        {
            auto first = newForm();
            QVERIFY(first);
            newLcdProject(*first, 3);
            other = saveAs(*first, u"other.orv"_s);
        }
        m_fileDialogs.clear();

        auto form = newForm();
        QVERIFY(form);
        newLcdProject(*form, 8);
        if (changed)
            form->Model->SetShowArrows(!form->Model->ShowArrows());
        QCOMPARE(form->IsModified(), changed);
        QCOMPARE(form->windowTitle(), changed ? u"*Kelvra ORV-Editor"_s : u"Kelvra ORV-Editor"_s);
        for (int a : answers)
            m_answers << TMainForm::SaveAnswer(a);
        if (!answers.isEmpty() && answers.first() == int(TMainForm::SaveAnswer::Save))
            m_chosenPaths << (saveDialog.isEmpty() ? QString() : path(saveDialog));
        if (action == u"open")
            m_chosenPaths << other;

        bool closed = false;
        if (action == u"quit") {
            closed = form->close();
        } else if (action == u"open") {
            form->aOpen->trigger();
        } else {
            m_floors = 20;
            form->aNew->trigger();
        }

        QCOMPARE(m_questions, changed ? 1 : 0);
        QVERIFY(m_messages.isEmpty());
        QCOMPARE(QFileInfo::exists(path(u"answer.orv"_s)), saved);
        const bool openDialogShown = !m_fileDialogs.isEmpty() && !m_fileDialogs.constLast().first;
        if (action == u"quit") {
            QCOMPARE(closed, goesOn);
        } else if (action == u"open") {
            QCOMPARE(openDialogShown, goesOn);
            QCOMPARE(form->Model->FloorCount(), goesOn ? 3 : 8);
        } else {
            QCOMPARE(form->Model->FloorCount(), goesOn ? 20 : 8);
        }
        if (!goesOn) {
            // Everything stays as it was.
            QVERIFY(form->IsModified());
            QCOMPARE(form->windowTitle(), u"*Kelvra ORV-Editor"_s);
            QVERIFY(form->IsProjectOpen());
        } else if (action != u"quit") {
            QVERIFY(!form->IsModified());
        }
    }

    void questionBox_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("saved");
        QTest::newRow("Speichern") << u"Speichern"_s << true << true;
        QTest::newRow("Verwerfen") << u"Verwerfen"_s << true << false;
        QTest::newRow("Abbrechen") << u"Abbrechen"_s << false << false;
    }

    void questionBox()
    {
        QFETCH(QString, button);
        QFETCH(bool, closed);
        QFETCH(bool, saved);
        auto form = newForm(RealQuestion);
        QVERIFY(form);
        newLcdProject(*form);
        const QString file = saveAs(*form);
        const auto bytes = [&file] {
            QFile f(file);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        const QByteArray written = bytes();
        form->Model->SetShowLogo(true);

        QString text;
        QStringList buttons;
        QTimer::singleShot(0, form.get(), [&] {
            auto *box = form->findChild<QMessageBox *>();
            QVERIFY(box);
            text = box->text();
            for (QAbstractButton *b : box->buttons())
                buttons << b->text();
            for (QAbstractButton *b : box->buttons())
                if (b->text() == button)
                    b->click();
        });
        QCOMPARE(form->close(), closed);
        QCOMPARE(text, u"Das Projekt wurde geändert. Sollen die Änderungen gespeichert werden?"_s);
        buttons.sort();
        QCOMPARE(buttons, QStringList({u"Abbrechen"_s, u"Speichern"_s, u"Verwerfen"_s}));
        QCOMPARE(bytes() != written, saved);
        QCOMPARE(form->IsModified(), !saved);
    }

    void whatCountsAsAnEdit_data()
    {
        QTest::addColumn<QString>("step");
        QTest::addColumn<bool>("edit");
        QTest::newRow("arrows option") << u"arrows"_s << true;
        QTest::newRow("floor count") << u"floors"_s << true;
        QTest::newRow("special-state text") << u"special"_s << true;
        QTest::newRow("display model button") << u"radio"_s << true;
        QTest::newRow("floor labels reset") << u"reset"_s << true;
        QTest::newRow("edit reported by a page") << u"mark"_s << true;
        QTest::newRow("floor row selected (auto-sized preview)") << u"row"_s << false;
        QTest::newRow("sample text") << u"sample"_s << false;
        QTest::newRow("region frame button") << u"rects"_s << false;
        QTest::newRow("page changes") << u"pages"_s << false;
        QTest::newRow("clock tick") << u"clock"_s << false;
        QTest::newRow("generator's save") << u"generator"_s << false;
    }

    void whatCountsAsAnEdit()
    {
        QFETCH(QString, step);
        QFETCH(bool, edit);
        auto form = newForm();
        QVERIFY(form);
        newLcdProject(*form);
        saveAs(*form);
        QVERIFY(!form->IsModified());
        ProjectModel &m = *form->Model;
        QVERIFY(m.AutoSize());
        if (step == u"arrows")
            m.SetShowArrows(!m.ShowArrows());
        else if (step == u"floors")
            m.SetFloorCount(10);
        else if (step == u"special")
            m.SetSpecialText(2, u"Feuer"_s);
        else if (step == u"radio")
            form->RB_VFD1->click();
        else if (step == u"reset")
            form->BtnEtaTxtResetClick();
        else if (step == u"mark")
            form->MarkModified();
        else if (step == u"row") {
            // A stored size the fit then replaces: the recorded fitted size is no edit.
            {
                const QSignalBlocker quiet(&m);
                m.SetFloorFontSize(40);
            }
            m.SelectFloorRow(3);
            QVERIFY(m.FloorFontSize() != 40);
        }
        else if (step == u"sample")
            m.SetSampleText(u"12"_s);
        else if (step == u"rects")
            m.SetShowRectsButton(false);
        else if (step == u"pages") {
            form->MainPageControl->setCurrentWidget(form->TabSheetErweitert);
            form->MainPageControl->setCurrentWidget(form->TabSheetSimulation);
            form->MainPageControl->setCurrentWidget(form->TabSheetGrund);
        } else if (step == u"clock")
            form->Previews->UhrzeitTimerTimer();
        else if (step == u"generator")
            QVERIFY(form->SaveForGenerator());
        QCOMPARE(form->IsModified(), edit);
        QCOMPARE(form->windowTitle().startsWith(u'*'), edit);
        QVERIFY(form->windowTitle().endsWith(u"saved.orv)"_s));
    }

    void previewsFollowTheProject()
    {
        auto form = newForm();
        QVERIFY(form);
        const LedMatrix &led2 = form->LED2->core();
        // Nothing is drawn while no project is open.
        const QImage unmarked = led2.markRaster().copy();
        form->Model->SetShowArrows(false);
        form->Previews->PreviewOut();
        QCOMPARE(countNonZero(led2.contentRaster()), 0);
        QVERIFY(!form->IsModified());

        newLcdProject(*form);
        // The label of the current row becomes the sample text.
        QCOMPARE(form->Model->SampleText(), form->Model->FloorLabel(form->Model->CurrentFloorRow()));
        QVERIFY(countPixels(led2.contentRaster(), 0x00FFFFFF) > 100); // floor text, arrow, clock
        QVERIFY(led2.markRaster() != unmarked);                         // region frames
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);

        // The extended page draws the special-state and small-font previews.
        QCOMPARE(countNonZero(form->LED4->core().contentRaster()), 0);
        form->MainPageControl->setCurrentWidget(form->TabSheetErweitert);
        QVERIFY(countPixels(form->LED4->core().contentRaster(), 0x00FFFFFF) > 0);
        QVERIFY(countNonZero(form->LED3->core().contentRaster()) + countNonZero(form->LED3->core().markRaster()) > 0);
        form->MainPageControl->setCurrentWidget(form->TabSheetSimulation);
        QCOMPARE(form->MainDisplay->Matrix, &form->LED1->core());
        // A project opened while the simulation page was last selected draws into LED2.
        const QString file = saveAs(*form);
        m_chosenPaths << file;
        form->aOpen->trigger();
        QCOMPARE(form->MainPageControl->currentWidget(), form->TabSheetGrund);
        QCOMPARE(form->MainDisplay->Matrix, &form->LED2->core());

        // Closed: requests draw nothing more.
        form->aSchliessen->trigger();
        const QImage before = led2.contentRaster().copy();
        form->Model->SetSampleText(u"12"_s);
        form->Previews->PreviewOut();
        QCOMPARE(led2.contentRaster(), before);
    }

    void displayModelButtonsKeepOtherModelsData()
    {
        auto form = newForm();
        QVERIFY(form);
        newLcdProject(*form);
        ProjectModel &m = *form->Model;
        QImage logo(20, 10, QImage::Format_ARGB32);
        logo.fill(0x00FFFFFF);
        m.SetLogo(DisplayModel::Lcd240, logo);
        TDisplayRect *lcdArrow = form->MainDisplay->FindRect(u"PFEIL"_s);
        QVERIFY(lcdArrow);
        lcdArrow->Rect = TRect{1, 2, 30, 40};

        form->RB_VFD1->click();
        QCOMPARE(m.Model(), DisplayModel::Vfd128);
        QCOMPARE(form->MainDisplay->Name, u"VFD1"_s);
        QCOMPARE(form->MainDisplay, m.MainDisplay());
        QCOMPARE(form->LED2->core().LEDCountX(), 128);
        QVERIFY(!m.Logo(DisplayModel::Vfd128) || m.Logo(DisplayModel::Vfd128)->size() != logo.size());
        form->MainDisplay->FindRect(u"PFEIL"_s)->Rect = TRect{0, 0, 5, 5};

        form->RB_LCD->click();
        QCOMPARE(m.Model(), DisplayModel::Lcd240);
        QCOMPARE(form->MainDisplay->Name, u"LCD1"_s);
        QVERIFY(m.Logo(DisplayModel::Lcd240));
        QCOMPARE(*m.Logo(DisplayModel::Lcd240), logo);
        const TRect r = form->MainDisplay->FindRect(u"PFEIL"_s)->Rect;
        QCOMPARE(QList<int>({r.Left, r.Top, r.Right, r.Bottom}), QList<int>({1, 2, 30, 40}));
        QVERIFY(form->RB_LCD->isChecked());
        QCOMPARE(form->SelectedModel(), DisplayModel::Lcd240);
    }
};

QTEST_MAIN(TestProjectActions)
#include "test_projectactions.moc"
