// SPDX-License-Identifier: GPL-3.0-or-later
#include "lfs/binfile.h"

#include "lfs/lfsreport.h"
#include "project/projectfile.h"
#include "project/projectmapping.h"
#include "project/projectmodel.h"
#include "widgets/tledmatrix.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

constexpr int kRunTimeout = 120000;

const char *const kRuntimeFiles[] = {"flash1.dat",    "flash2.dat",    "flash2V.dat",   "stat_vfd1.dat",
                                     "stat_vfd2.dat", "stat_lcd1.dat", "stat_lcd2.dat", "terminal1.fnt",
                                     "terminal2.fnt"};

QStringList memoLines(const TBinaerForm &form)
{
    QStringList lines;
    for (int i = 0; i < form.MemoOutput->count(); ++i)
        lines.append(form.MemoOutput->item(i)->text());
    return lines;
}

QMessageBox *openMessageBox(const QWidget &owner)
{
    const QList<QMessageBox *> boxes = owner.findChildren<QMessageBox *>();
    for (QMessageBox *b : boxes)
        if (b->isVisible())
            return b;
    return nullptr;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestBinFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void successfulRun();
    void startRunIsTheModalEntryPoint();
    void staticLogoRun();
    void failedRuns_data();
    void failedRuns();
    void unreadableProjectArmsNothing();

private:
    /// Program folder with the templates and bitmap fonts, a saved project.
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_program;
    QString m_project;
    QString m_output;
};

void TestBinFile::initTestCase()
{
    if (!QFontDatabase::families().contains(u"DejaVu Sans"_s))
        QSKIP("DejaVu Sans is not installed");
}

void TestBinFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_program = m_dir->filePath(u"program"_s);
    QVERIFY(QDir().mkpath(m_program));
    const QDir bin(QStringLiteral(ORV_BIN_DIR));
    for (const char *name : kRuntimeFiles) {
        const QString n = QString::fromLatin1(name);
        QVERIFY2(QFile::copy(bin.filePath(n), QDir(m_program).filePath(n)), name);
    }

    ProjectModel model(nullptr, nullptr);
    model.SetFloorFontName(u"DejaVu Sans"_s);
    m_project = m_dir->filePath(u"Haus.orv"_s);
    QString error;
    QVERIFY2(ProjectMapping::SaveProjectFile(model, m_project, FontSection(), &error), qPrintable(error));
    m_output = m_dir->filePath(u"vfd_128x64_Haus.lfs"_s);
}

void TestBinFile::cleanup()
{
    m_dir.reset();
}

// One window, one run: the report, the sizes, the buttons while and after the run,
// the file, and a second showing that leaves everything as it was.
void TestBinFile::successfulRun()
{
    TBinaerForm form;
    form.Generator.ProgramFolder = m_program;
    QString error;
    QVERIFY2(form.PrepareRun(m_project, m_output, 118784, 131072, &error), qPrintable(error));
    QCOMPARE(form.Generator.ProjectCopy.FloorFontName, QByteArray("DejaVu Sans"));

    // While the run is in progress: no closing, no transfer, no OK.
    int linesWhileRunning = 0;
    bool closedWhileRunning = false;
    bool buttonsWhileRunning = false;
    connect(&form, &TBinaerForm::lineAdded, &form, [&](const QString &) {
        ++linesWhileRunning;
        QVERIFY(form.IsRunning());
        form.close();
        form.reject();
        form.done(QDialog::Accepted);
        closedWhileRunning |= !form.isVisible();
        buttonsWhileRunning |= form.btnOK->isEnabled() || form.btnZskUpdate->isEnabled();
    });
    int glyphRepaints = 0;
    connect(&form.LED1->core(), &LedMatrix::updateRequested, &form, [&] { ++glyphRepaints; });

    QSignalSpy finished(&form, &TBinaerForm::runFinished);
    form.show();
    QVERIFY(finished.wait(kRunTimeout));
    QCOMPARE(finished.at(0).at(0).toBool(), true);
    QVERIFY(linesWhileRunning >= 3);
    QVERIFY(!closedWhileRunning);
    QVERIFY(!buttonsWhileRunning);
    QVERIFY(glyphRepaints > 0);

    const QStringList lines = memoLines(form);
    QCOMPARE(lines, form.Generator.Report.Lines());
    QCOMPARE(lines.first(), u"Erstelle "_s + m_output);
    QCOMPARE(lines.at(lines.size() - 2), QString(62, u'-'));
    QCOMPARE(lines.last(), u"Erfolg: Die Datei wurde erzeugt"_s);

    QVERIFY(form.btnZskUpdate->isEnabled());
    QVERIFY(form.btnOK->isEnabled());
    QCOMPARE(readAll(m_output).size(), 131118);
    QCOMPARE(form.lbFlashSize->text(), u"118784"_s);
    bool ok = false;
    const int used = form.lbBinfileSize->text().toInt(&ok);
    QVERIFY(ok);
    QVERIFY(used > 198 && used <= 118784);
    QCOMPARE(form.SizeGauge->maximum(), 118784);
    QCOMPARE(form.SizeGauge->value(), used);
    // The last glyphs stay on the matrices, cells of the project's floor-text size.
    QVERIFY(form.LED1->core().LEDCountX() > 1);
    QVERIFY(form.LED2->core().LEDCountX() > 1);

    // Warnings (if any) end with the closing message box.
    if (lines.size() > 3) {
        QMessageBox *box = openMessageBox(form);
        QVERIFY(box);
        QVERIFY(box->text().startsWith(u"Das LFS-File wurde erzeugt. Es sind jedoch Warnungen aufgetreten."_s));
        box->accept();
    }

    // The transfer button only asks for the transfer window.
    QSignalSpy transfer(&form, &TBinaerForm::transferRequested);
    form.btnZskUpdate->click();
    QCOMPARE(transfer.count(), 1);

    // Back from the transfer window: shown again, not run again.
    const QByteArray file = readAll(m_output);
    form.hide();
    form.show();
    QTest::qWait(50);
    QCoreApplication::processEvents();
    QCOMPARE(form.RunCount(), 1);
    QCOMPARE(memoLines(form), lines);
    QCOMPARE(readAll(m_output), file);
    QVERIFY(form.btnZskUpdate->isEnabled());

    // A finished run lets the window close.
    form.btnOK->click();
    QVERIFY(!form.isVisible());
    QCOMPARE(form.result(), int(QDialog::Accepted));
}

void TestBinFile::startRunIsTheModalEntryPoint()
{
    QWidget owner;
    auto *form = new TBinaerForm(&owner);
    form->Generator.ProgramFolder = m_program;
    connect(form, &TBinaerForm::runFinished, form, [form](bool) {
        if (QMessageBox *box = openMessageBox(*form))
            box->accept();
        QTimer::singleShot(0, form->btnOK, &QPushButton::click);
    });
    QCOMPARE(form->StartRun(m_project, m_output, 118784, 131072), int(QDialog::Accepted));
    QCOMPARE(form->RunCount(), 1);
    QVERIFY(form->btnZskUpdate->isEnabled());
    QVERIFY(QFileInfo::exists(m_output));
    QCOMPARE(form->Generator.OutputFileName, m_output);
}

// A logo filling the display builds the small static file; the window shows its
// picture size and offers the transfer as after a normal run.
void TestBinFile::staticLogoRun()
{
    ProjectModel model(nullptr, nullptr);
    model.SetFloorFontName(u"DejaVu Sans"_s);
    model.SetDisplayModel(DisplayModel::Vfd128);
    model.Layouts().Main(DisplayModel::Vfd128)->LoadRect(u"STABMP"_s, TRect(0, 0, 127, 63), true);
    model.SetShowLogo(true);
    QImage logo(128, 64, QImage::Format_ARGB32);
    logo.fill(0x00FFFFFFu);
    model.SetLogo(DisplayModel::Vfd128, logo);
    QString error;
    QVERIFY2(ProjectMapping::SaveProjectFile(model, m_project, FontSection(), &error), qPrintable(error));

    TBinaerForm form;
    form.Generator.ProgramFolder = m_program;
    QVERIFY2(form.PrepareRun(m_project, m_output, 118784, 131072, &error), qPrintable(error));
    QVERIFY(form.Generator.IsStaticLogo());
    QSignalSpy finished(&form, &TBinaerForm::runFinished);
    form.show();
    QVERIFY(finished.wait(kRunTimeout));
    QVERIFY2(finished.at(0).at(0).toBool(), qPrintable(memoLines(form).join(u'\n')));
    QCOMPARE(memoLines(form).last(), u"Erfolg: Die Datei wurde erzeugt"_s);
    QCOMPARE(readAll(m_output).size(), 5167);
    QCOMPARE(form.lbBinfileSize->text(), u"1024"_s);
    QCOMPARE(form.SizeGauge->value(), 1024);
    QVERIFY(form.btnZskUpdate->isEnabled());
    if (QMessageBox *box = openMessageBox(form))
        box->accept();
}

void TestBinFile::failedRuns_data()
{
    QTest::addColumn<QString>("removeTemplate");
    QTest::addColumn<int>("flashSizeData");
    QTest::addColumn<bool>("oldFile");
    QTest::addColumn<QString>("message"); // start of the message box text
    QTest::addColumn<bool>("closesItself");

    QTest::newRow("no flash1.dat") << u"flash1.dat"_s << 118784 << false << u"Datei "_s << false;
    QTest::newRow("no flash2.dat") << u"flash2.dat"_s << 118784 << false << u"Datei "_s << false;
    QTest::newRow("flash overflow") << QString() << 1000 << false << u"Datei konnte nicht erstellt werden."_s
                                    << true;
    QTest::newRow("overflow keeps an older file") << QString() << 1000 << true
                                                  << u"Datei konnte nicht erstellt werden."_s << true;
    QTest::newRow("missing template keeps an older file") << u"flash1.dat"_s << 118784 << true << u"Datei "_s
                                                          << false;
}

void TestBinFile::failedRuns()
{
    QFETCH(QString, removeTemplate);
    QFETCH(int, flashSizeData);
    QFETCH(bool, oldFile);
    QFETCH(QString, message);
    QFETCH(bool, closesItself);

    if (!removeTemplate.isEmpty())
        QVERIFY(QFile::remove(QDir(m_program).filePath(removeTemplate)));
    const QByteArray old("an older flash file");
    if (oldFile) {
        QFile f(m_output);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(old);
    }

    QWidget owner;
    owner.show();
    auto *form = new TBinaerForm(&owner);
    form->Generator.ProgramFolder = m_program;
    QString error;
    QVERIFY2(form->PrepareRun(m_project, m_output, flashSizeData, 131072, &error), qPrintable(error));
    QSignalSpy finished(form, &TBinaerForm::runFinished);
    form->show();
    QVERIFY(finished.wait(kRunTimeout));
    QCOMPARE(finished.at(0).at(0).toBool(), false);

    const QStringList lines = memoLines(*form);
    QCOMPARE(lines.last(), u"Kein Erfolg: Es sind Fehler aufgetreten"_s);
    QCOMPARE(lines.at(lines.size() - 2), QString(62, u'-'));
    QVERIFY(!form->btnZskUpdate->isEnabled());
    QVERIFY(form->btnOK->isEnabled());
    if (oldFile) {
        QCOMPARE(readAll(m_output), old);
        QVERIFY(lines.contains(u"Die vorhandene Datei %1 wurde nicht ersetzt."_s.arg(m_output)));
    } else {
        QVERIFY(!QFileInfo::exists(m_output));
    }

    // Errors look different from plain lines.
    int errorRow = -1;
    for (int i = 0; i < lines.size(); ++i)
        if (lines.at(i).startsWith(u"FEHLER: "_s))
            errorRow = i;
    QVERIFY(errorRow > 0);
    QVERIFY(form->MemoOutput->item(errorRow)->foreground() != form->MemoOutput->item(0)->foreground());
    if (!removeTemplate.isEmpty())
        QVERIFY(lines.at(errorRow).contains(removeTemplate));

    // The message box belongs to the generator window.
    QMessageBox *box = openMessageBox(*form);
    QVERIFY(box);
    QVERIFY2(box->text().startsWith(message), qPrintable(box->text()));
    QCOMPARE(box->parentWidget(), form);
    if (closesItself) {
        // "Flash-Speicher um N Bytes überschritten!": the label shows the bytes needed.
        QString over;
        for (const QString &l : lines)
            if (l.startsWith(u"Flash-Speicher um "_s))
                over = l;
        QVERIFY(!over.isEmpty());
        QVERIFY(box->text().endsWith(over));
        const int excess = over.section(u' ', 2, 2).toInt();
        QVERIFY(excess > 0);
        QCOMPARE(form->lbBinfileSize->text().toInt(), flashSizeData + excess);
        QCOMPARE(form->SizeGauge->value(), form->SizeGauge->maximum());
        QVERIFY(form->isVisible()); // not before the message has been read
    }
    box->accept();
    QTest::qWait(20);
    QCoreApplication::processEvents();
    QCOMPARE(form->isVisible(), !closesItself);
    if (closesItself)
        QCOMPARE(form->result(), int(QDialog::Rejected));
}

void TestBinFile::unreadableProjectArmsNothing()
{
    QFile garbage(m_project);
    QVERIFY(garbage.open(QIODevice::WriteOnly));
    garbage.write("not a project");
    garbage.close();

    TBinaerForm form;
    form.Generator.ProgramFolder = m_program;
    QString error;
    QVERIFY(!form.PrepareRun(m_project, m_output, 118784, 131072, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!form.RunPending());
    form.show();
    QTest::qWait(20);
    QCOMPARE(form.RunCount(), 0);
    QVERIFY(!QFileInfo::exists(m_output));
}

QTEST_MAIN(TestBinFile)
#include "test_binfile.moc"
