// SPDX-License-Identifier: GPL-3.0-or-later
// The page "Grundeinstellungen" on the real widgets of a created main window with a
// project open: the floor grid, the selection and the arrow direction, the text-line
// actions, region drags on LED2, the enabling by automatic sizing, the sample text,
// the font lists, a loaded project in the controls and a cell editor left open.
#include "app/mainfrm.h"
#include "app/newproj.h"
#include "display/display.h"
#include "display/displayrect.h"
#include "display/preview.h"
#include "gui/programfolder.h"
#include "ledmatrix/ledmatrix.h"
#include "pages/floorgrid.h"
#include "pages/floorspinbox.h"
#include "pages/floortextpage.h"
#include "project/projectfile.h"
#include "project/projectmapping.h"
#include "project/projectmodel.h"
#include "project/projectrecord.h"
#include "widgets/tledmatrix.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QStringList scalableFamilies()
{
    QStringList out;
    const QStringList families = QFontDatabase::families();
    for (const QString &f : families)
        if (QFontDatabase::isScalable(f))
            out << f;
    return out;
}

QString rectText(const TRect &r)
{
    return u"(%1, %2, %3, %4)"_s.arg(r.Left).arg(r.Top).arg(r.Right).arg(r.Bottom);
}

/// Lines ticked in the text-line actions, e.g. "2,3".
QString tickedActions(const TFloorTextPage &page)
{
    QStringList lines;
    for (int i = 0; i < ProjectModel::TextLineCount; ++i)
        if (page.aEtagentext[size_t(i)]->isChecked())
            lines << QString::number(i + 1);
    return lines.join(u',');
}

QStringList headers(const QTableWidget &grid)
{
    QStringList out;
    for (int c = 0; c < grid.columnCount(); ++c)
        out << grid.horizontalHeaderItem(c)->text();
    return out;
}

} // namespace

class TestFloorTextPage : public QObject
{
    Q_OBJECT

private:
    QScopedPointer<QTemporaryDir> m_dir;
    QStringList m_chosenPaths;
    QStringList m_messages;
    int m_floors = 5;

    QString path(const QString &name) const { return m_dir->filePath(name); }

    /// A created window, shown, with a new LCD project of m_floors floors open.
    std::unique_ptr<TMainForm> openForm()
    {
        auto form = ProgramFolder::CreateMainForm(m_dir->path());
        if (!form)
            return nullptr;
        TMainForm *f = form.get();
        f->AskSaveChanges = [] { return TMainForm::SaveAnswer::Discard; };
        f->ChooseProjectFile = [this](bool, const QString &) {
            return m_chosenPaths.isEmpty() ? QString() : m_chosenPaths.takeFirst();
        };
        f->ShowMessage = [this](const QString &text) { m_messages << text; };
        f->RunNewProjectDialog = [this, f] {
            f->NewProject->SetHardwareIndex(1);
            f->NewProject->cbVertical->setChecked(false);
            f->NewProject->EtagenUpDown->setValue(m_floors);
            return true;
        };
        f->show();
        if (!QTest::qWaitForWindowExposed(f))
            return nullptr;
        f->aNew->trigger();
        if (!f->IsProjectOpen())
            return nullptr;
        return form;
    }

    /// Writes \a model as a project file, labels left empty unless \a keepLabels.
    void writeProject(ProjectModel &model, const QString &name, bool keepLabels)
    {
        ProjectRecord record = ProjectMapping::FillRecord(model);
        if (!keepLabels)
            for (QByteArray &label : record.FloorTexts[0])
                label = QByteArray();
        QString error;
        QVERIFY2(ProjectFile::write(path(name), record, FontSection(), &error), qPrintable(error));
    }

    static QPoint cellCentre(const QTableWidget &grid, int row, int column)
    {
        return grid.visualItemRect(grid.item(row, column)).center();
    }

    /// The control pixel at the centre of LED (x, y) of LED2.
    static QPoint ledPixel(const TLEDMATRIX &led, int x, int y)
    {
        const LedMatrix &c = led.core();
        const int pitchX = c.Width() / c.LEDCountX();
        const int pitchY = c.Height() / c.LEDCountY();
        return QPoint(x * pitchX + pitchX / 2, y * pitchY + pitchY / 2);
    }

private Q_SLOTS:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
        QVERIFY(ProgramFolder::CopyBitmapFonts(m_dir->path()));
        ProjectModel model(nullptr, nullptr);
        model.WorkFont.Name = scalableFamilies().value(0);
        writeProject(model, u"newproject.dat"_s, false);
        writeProject(model, u"newvproject.dat"_s, false);
        m_chosenPaths.clear();
        m_messages.clear();
        m_floors = 5;
    }

    void floorGridDefaults()
    {
        m_floors = 12;
        auto form = openForm();
        QVERIFY(form);
        const QTableWidget &grid = *form->FloorPage->sgET;
        QCOMPARE(grid.rowCount(), 12);
        // The new project's two characters, though the value did not change.
        QCOMPARE(form->Model->FloorTextDigits(), 0);
        QVERIFY(form->FloorPage->ToolButton20->isChecked());
        QCOMPARE(headers(grid), QStringList({u"Etage"_s, u"Text"_s}));
        QCOMPARE(grid.columnWidth(0), 50);
        QCOMPARE(grid.columnWidth(1), 40);
        QCOMPARE(grid.toolTip(), u"Einstellige Texte können zentriert dargestellt werden,\r\n"
                                 u"indem ein Leerzeichen angehängt wird z.B: \"1<leer>\" = zentriert,\r\n"
                                 u"aber  \"<leer>1\" = nicht zentriert"_s);
        const QStringList bottomUp = {u"UG"_s, u"EG"_s, u" 1"_s, u" 2"_s, u" 3"_s, u" 4"_s,
                                      u" 5"_s, u" 6"_s, u" 7"_s, u" 8"_s, u" 9"_s, u"10"_s};
        for (int n = 0; n < 12; ++n) {
            const int r = 11 - n;
            QCOMPARE(grid.item(r, 0)->text(), QString::number(n));
            QCOMPARE(grid.item(r, 1)->text(), bottomUp.at(n));
            QVERIFY(!(grid.item(r, 0)->flags() & Qt::ItemIsEditable)); // not project data
        }
    }

    void typedLabelAtNextRebuild_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("afterRebuild");
        QTest::newRow("three characters are cut") << u"123"_s << u"12"_s;
        QTest::newRow("one space gets the default") << u" "_s << u" 2"_s;
        QTest::newRow("two characters stay") << u"A "_s << u"A "_s;
    }

    void typedLabelAtNextRebuild()
    {
        QFETCH(QString, typed);
        QFETCH(QString, afterRebuild);
        auto form = openForm();
        QVERIFY(form);
        TFloorTextPage &page = *form->FloorPage;
        FloorGrid &grid = *page.sgET;
        // Row 2 of five floors is floor 3.
        grid.setCurrentCell(1, 1);
        grid.editItem(grid.item(1, 1));
        QVERIFY(grid.OpenEditor());
        auto *editor = qobject_cast<QLineEdit *>(grid.OpenEditor());
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, typed);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(!grid.OpenEditor());
        // Kept as typed until the grid is built again.
        QCOMPARE(form->Model->FloorText(1, 2), typed);
        QVERIFY(form->IsModified());

        page.InitStringGridEtagenTexte(5, false);
        QCOMPARE(grid.item(1, 1)->text(), afterRebuild);
        QCOMPARE(form->Model->FloorText(1, 2), afterRebuild);
    }

    void selectionMovesArrow_data()
    {
        QTest::addColumn<int>("fromRow"); // grid rows, 1 = top
        QTest::addColumn<int>("toRow");
        QTest::addColumn<int>("toColumn");
        QTest::addColumn<bool>("arrowDown");
        QTest::newRow("3 to 4 moves down") << 3 << 4 << 1 << true;
        QTest::newRow("4 to 4 in another column") << 4 << 4 << 0 << false;
        QTest::newRow("4 to 3 moves up") << 4 << 3 << 1 << false;
        QTest::newRow("1 to 5 moves down") << 1 << 5 << 1 << true;
    }

    void selectionMovesArrow()
    {
        QFETCH(int, fromRow);
        QFETCH(int, toRow);
        QFETCH(int, toColumn);
        QFETCH(bool, arrowDown);
        auto form = openForm();
        QVERIFY(form);
        TFloorTextPage &page = *form->FloorPage;
        QTableWidget &grid = *page.sgET;
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cellCentre(grid, fromRow - 1, 1));
        QCOMPARE(form->Model->CurrentFloorRow(), fromRow);
        // The opposite direction first, so the click has to change it.
        page.ToolButtonArrowDown->setChecked(!arrowDown);
        form->Model->SetArrowDown(!arrowDown);

        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cellCentre(grid, toRow - 1, toColumn));
        QCOMPARE(form->Model->CurrentFloorRow(), toRow);
        QCOMPARE(form->Model->ArrowDown(), arrowDown);
        QCOMPARE(page.ToolButtonArrowDown->isChecked(), arrowDown);
        QCOMPARE(page.ToolButtonArrowUp->isChecked(), !arrowDown);
        QCOMPARE(page.edText->text(), form->Model->FloorLabel(toRow));
    }

    void textLinesFormOneRun()
    {
        auto form = openForm();
        QVERIFY(form);
        TFloorTextPage &page = *form->FloorPage;
        FloorGrid &grid = *page.sgET;
        ProjectModel &m = *form->Model;
        QCOMPARE(page.MenuEtagentextzeilen->title(), u"Etagentextzeilen"_s);
        QCOMPARE(page.MenuEtagentextzeilen->actions().size(), 8);
        QCOMPARE(page.aEtagentext[4]->text(), u"Etagentext Zeile 5"_s);

        struct Step
        {
            int line;
            QString ticked;
            QStringList lineHeaders;
        };
        const QList<Step> steps = {
            {2, u"2"_s, {u"Etagentext Zeile 2"_s}},
            {5, u"2"_s, {u"Etagentext Zeile 2"_s}}, // line 3 unticked ends the run
            {3, u"2,3"_s, {u"Etagentext Zeile 2"_s, u"Etagentext Zeile 3"_s}},
            {3, u"2"_s, {u"Etagentext Zeile 2"_s}},
            {2, QString(), {}},
            {2, u"2"_s, {u"Etagentext Zeile 2"_s}},
        };
        for (const Step &step : steps) {
            page.aEtagentext[size_t(step.line - 1)]->trigger();
            const QString where = u"after line %1"_s.arg(step.line);
            QVERIFY2(tickedActions(page) == step.ticked, qPrintable(where + u": "_s + tickedActions(page)));
            QCOMPARE(headers(grid), QStringList({u"Etage"_s, u"Text"_s}) + step.lineHeaders);
            QCOMPARE(grid.columnCount(), 2 + int(step.lineHeaders.size()));
            if (!step.lineHeaders.isEmpty())
                QCOMPARE(grid.columnWidth(2), 193);
            QCOMPARE(m.ShowTextLines(), !step.ticked.isEmpty());
            if (step.line == 2 && step.ticked == u"2"_s && grid.item(0, 2)->text().isEmpty()) {
                // A line text typed while the column is shown; a line holds 21 characters.
                grid.setCurrentCell(0, 2);
                grid.editItem(grid.item(0, 2));
                QVERIFY(grid.OpenEditor());
                QTest::keyClicks(grid.OpenEditor(), u"Zeile zwei ist zu lang fuer eine Zeile"_s);
                grid.CommitEdit();
                QCOMPARE(m.FloorText(2, 1), u"Zeile zwei ist zu lan"_s);
            }
        }
        // Switched off and on again: the text was held all along.
        QCOMPARE(grid.item(0, 2)->text(), u"Zeile zwei ist zu lan"_s);
    }

    void dragRegionOnLed2_data()
    {
        QTest::addColumn<QString>("region");
        QTest::addColumn<bool>("frames");
        QTest::addColumn<QString>("txt1");
        QTest::addColumn<QString>("txt2");
        QTest::addColumn<QString>("txt3");
        // LCD defaults: TXT1 (0, 0, 84, 111), TXT2 (85, 0, 169, 111), TXT3 (42, 0, 126, 111).
        QTest::newRow("TXT1 to 30 x 40") << u"TXT1"_s << true << u"(0, 0, 29, 39)"_s
                                         << u"(85, 0, 114, 39)"_s << u"(42, 0, 71, 39)"_s;
        QTest::newRow("TXT2 to 30 x 40") << u"TXT2"_s << true << u"(0, 0, 29, 39)"_s
                                         << u"(85, 0, 114, 39)"_s << u"(42, 0, 71, 39)"_s;
        QTest::newRow("PFEIL has no partner") << u"PFEIL"_s << true << u"(0, 0, 84, 111)"_s
                                              << u"(85, 0, 169, 111)"_s << u"(42, 0, 126, 111)"_s;
        QTest::newRow("frames off: no editing") << u"TXT1"_s << false << u"(0, 0, 84, 111)"_s
                                                << u"(85, 0, 169, 111)"_s << u"(42, 0, 126, 111)"_s;
    }

    void dragRegionOnLed2()
    {
        QFETCH(QString, region);
        QFETCH(bool, frames);
        QFETCH(QString, txt1);
        QFETCH(QString, txt2);
        QFETCH(QString, txt3);
        auto form = openForm();
        QVERIFY(form);
        TFloorTextPage &page = *form->FloorPage;
        TLEDMATRIX &led = *page.LED2;
        TDisplay &d = *form->MainDisplay;
        QVERIFY(form->Model->AutoSize());
        QCOMPARE(d.Matrix, &led.core());
        if (!frames) {
            QTest::mouseClick(page.ToolButtonPreviewRect, Qt::LeftButton);
            QVERIFY(!form->Model->ShowRectsButton());
            QVERIFY(!led.core().HintEnabled());
        }
        QVERIFY(!form->IsModified());

        // Grab the bottom-right corner of the region as it is shown and pull it to the
        // LED that makes the region 30 x 40 LEDs.
        const TRect shown = d.FindRect(region)->Rect;
        const QPoint start = ledPixel(led, shown.Right - 1, shown.Bottom - 1);
        const QPoint end = ledPixel(led, shown.Left + 29 - 1, shown.Top + 39 - 1);
        QTest::mousePress(&led, Qt::LeftButton, {}, start);
        QTest::mouseMove(&led, (start + end) / 2);
        QTest::mouseMove(&led, end);
        QTest::mouseRelease(&led, Qt::LeftButton, {}, end);

        QCOMPARE(d.DraggedRect(), nullptr);
        QCOMPARE(led.core().Cursor(), LedMatrix::CursorShape::Arrow);
        // The committed rectangles; the auto-sized drawing shrinks only the shown ones.
        QCOMPARE(rectText(d.FindRect(u"TXT1"_s)->SavedRect), txt1);
        QCOMPARE(rectText(d.FindRect(u"TXT2"_s)->SavedRect), txt2);
        QCOMPARE(rectText(d.FindRect(u"TXT3"_s)->SavedRect), txt3);
        if (frames && region == u"PFEIL"_s)
            QCOMPARE(d.FindRect(u"PFEIL"_s)->SavedRect.Width(), 30);
        QCOMPARE(form->IsModified(), frames);
    }

    void regionHintFromTheSecondStep()
    {
        auto form = openForm();
        QVERIFY(form);
        TLEDMATRIX &led = *form->FloorPage->LED2;
        // A region near the origin, so the point is inside the visible part of LED2.
        const TRect r = form->MainDisplay->FindRect(u"TXT1"_s)->Rect;
        const QPoint inside = ledPixel(led, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        QTest::mouseMove(&led, inside);
        QVERIFY(!led.core().HintEnabled());
        QCOMPARE(led.core().Cursor(), LedMatrix::CursorShape::PointingHand);
        QTest::mouseMove(&led, inside + QPoint(1, 0));
        QVERIFY(led.core().HintEnabled());
        QCOMPARE(led.core().Hint(), u"Etagentext (1)\r\n(%1 x %2 Pixel)"_s.arg(r.Width()).arg(r.Height()));
    }

    void autoSizeEnabling()
    {
        auto form = openForm();
        QVERIFY(form);
        TFloorTextPage &page = *form->FloorPage;
        const QList<QWidget *> manual = {page.edFontSize, page.edHochTief, page.edLinksRechts};
        const QList<QWidget *> alignment = {page.ToolButtonAutoLeft, page.ToolButtonAutoMiddle,
                                            page.ToolButtonAutoRight};
        for (bool expected : {false, true, false}) {
            const bool before = form->Model->AutoSize();
            QTest::mouseClick(page.ToolButtonAutoSize, Qt::LeftButton);
            // One click toggles once, though the action is already toggled.
            QCOMPARE(form->Model->AutoSize(), expected);
            QCOMPARE(before, !expected);
            QCOMPARE(page.aAutoSize->isChecked(), expected);
            for (QWidget *w : manual)
                QVERIFY2(w->isEnabled() == !expected, qPrintable(w->objectName()));
            for (QWidget *w : alignment)
                QVERIFY2(w->isEnabled() == expected, qPrintable(w->objectName()));
        }
    }

    void manualInputs_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("change");
        QTest::newRow("vertical offset: up lowers") << u"edHochTief"_s << int(Qt::Key_Up) << -1;
        QTest::newRow("vertical offset: down raises") << u"edHochTief"_s << int(Qt::Key_Down) << 1;
        QTest::newRow("horizontal offset: up raises") << u"edLinksRechts"_s << int(Qt::Key_Up) << 1;
        QTest::newRow("font size: up raises") << u"edFontSize"_s << int(Qt::Key_Up) << 1;
    }

    void manualInputs()
    {
        QFETCH(QString, field);
        QFETCH(int, key);
        QFETCH(int, change);
        auto form = openForm();
        QVERIFY(form);
        TFloorTextPage &page = *form->FloorPage;
        ProjectModel &m = *form->Model;
        page.aAutoSize->trigger();
        QVERIFY(!m.AutoSize());
        auto *box = page.findChild<QSpinBox *>(field);
        QVERIFY(box);
        auto modelValue = [&] {
            if (field == u"edHochTief"_s)
                return m.FloorTextOffsetY();
            if (field == u"edLinksRechts"_s)
                return m.FloorTextOffsetX();
            return m.WorkFont.Size;
        };
        const int before = box->value();
        QCOMPARE(modelValue(), before);
        const QImage shown = page.LED2->core().contentRaster().copy();
        QTest::keyClick(box, Qt::Key(key));
        QCOMPARE(box->value(), before + change);
        QCOMPARE(modelValue(), before + change);
        QVERIFY(page.LED2->core().contentRaster() != shown); // the preview followed
    }

    void sampleTextKeystrokeRedraws()
    {
        auto form = openForm();
        QVERIFY(form);
        TFloorTextPage &page = *form->FloorPage;
        const LedMatrix &led = page.LED2->core();
        QImage shown = led.contentRaster().copy();

        // Typing in the grid keeps the preview as it is.
        FloorGrid &grid = *page.sgET;
        grid.setCurrentCell(2, 1);
        shown = led.contentRaster().copy();
        grid.editItem(grid.item(2, 1));
        QTest::keyClicks(grid.OpenEditor(), u"XY"_s);
        grid.CommitEdit();
        QCOMPARE(form->Model->FloorText(1, 3), u"XY"_s);
        QVERIFY(led.contentRaster() == shown);

        page.edText->setFocus();
        page.edText->selectAll();
        QTest::keyClick(page.edText, Qt::Key_7);
        QCOMPARE(page.edText->text(), u"7"_s);
        QCOMPARE(form->Model->SampleText(), u"7"_s);
        QVERIFY(led.contentRaster() != shown);
        // At most two characters.
        QTest::keyClicks(page.edText, u"89"_s);
        QCOMPARE(form->Model->SampleText(), u"78"_s);
    }

    void fontChoice_data()
    {
        QTest::addColumn<int>("otherEntries");
        QTest::addColumn<bool>("otherChosen");
        QTest::newRow("other fonts empty: the installed font stays") << 0 << false;
        QTest::newRow("other fonts listed: its entry") << 1 << true;
    }

    void fontChoice()
    {
        QFETCH(int, otherEntries);
        QFETCH(bool, otherChosen);
        const QStringList families = scalableFamilies();
        if (families.size() < 3)
            QSKIP("needs three scalable font families");
        auto form = openForm();
        QVERIFY(form);
        TFloorTextPage &page = *form->FloorPage;
        page.LBFont->addItems({families.at(0), families.at(1)});
        for (int i = 0; i < otherEntries; ++i)
            page.LBFont2->addItem(families.at(2));
        page.LBFont2->setCurrentRow(otherEntries - 1);

        // A click in the installed fonts chooses its entry.
        QListWidgetItem *item = page.LBFont->item(1);
        QTest::mouseClick(page.LBFont->viewport(), Qt::LeftButton, {},
                          page.LBFont->visualItemRect(item).center());
        QCOMPARE(page.LBFont->currentItem(), item);
        QCOMPARE(form->Model->WorkFont.Name, item->text());

        page.PageControlFont->setCurrentWidget(page.TabSheetOtherFont);
        QCOMPARE(form->Model->WorkFont.Name, otherChosen ? families.at(2) : item->text());
        // The window's handler is the page's.
        page.PageControlFont->setCurrentWidget(page.TabSheetWinFont);
        QCOMPARE(form->Model->WorkFont.Name, item->text());
        form->LBFontClick();
        QCOMPARE(form->Model->WorkFont.Name, item->text());
    }

    void optionButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("Datum / Uhrzeit") << u"ToolButtonDatumUhrzeit"_s;
        QTest::newRow("Pfeil-Bitmap") << u"ToolButtonPfeileBmp"_s;
        QTest::newRow("Logo-Bitmap") << u"ToolButtonLogoBmp"_s;
        QTest::newRow("Etagen-Bitmap") << u"ToolButtonEtaBmp"_s;
    }

    void optionButtons()
    {
        QFETCH(QString, button);
        auto form = openForm();
        QVERIFY(form);
        TFloorTextPage &page = *form->FloorPage;
        const ProjectModel &m = *form->Model;
        auto *b = page.findChild<QToolButton *>(button);
        QVERIFY(b);
        auto option = [&] {
            if (button == u"ToolButtonDatumUhrzeit"_s)
                return m.ShowDateTime();
            if (button == u"ToolButtonPfeileBmp"_s)
                return m.ShowArrows();
            if (button == u"ToolButtonLogoBmp"_s)
                return m.ShowLogo();
            return m.ShowFloorBitmaps();
        };
        for (int click = 0; click < 2; ++click) {
            const bool before = option();
            QCOMPARE(b->isChecked(), before);
            QTest::mouseClick(b, Qt::LeftButton);
            QCOMPARE(option(), !before);
            QCOMPARE(b->isChecked(), !before);
            QCOMPARE(page.ToolButtonArrowUp->isEnabled(), m.ShowArrows());
            QCOMPARE(page.cbOpt_EtaBitmapDrive->isHidden(), !m.ShowFloorBitmaps());
        }
    }

    void digitButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("digits");
        QTest::addColumn<bool>("txt1");
        QTest::addColumn<bool>("txt2");
        QTest::newRow("none") << u"ToolButton18"_s << 2 << false << false;
        QTest::newRow("one") << u"ToolButton19"_s << 1 << true << false;
        QTest::newRow("two") << u"ToolButton20"_s << 0 << true << true;
    }

    void digitButtons()
    {
        QFETCH(QString, button);
        QFETCH(int, digits);
        QFETCH(bool, txt1);
        QFETCH(bool, txt2);
        auto form = openForm();
        QVERIFY(form);
        TFloorTextPage &page = *form->FloorPage;
        // Start from another value than the row's.
        form->Model->SetFloorTextDigits(digits == 1 ? 2 : 1);
        auto *b = page.findChild<QToolButton *>(button);
        QVERIFY(b);
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(form->Model->FloorTextDigits(), digits);
        QCOMPARE(page.ToolButton18->isChecked(), digits == 2);
        QCOMPARE(page.ToolButton19->isChecked(), digits == 1);
        QCOMPARE(page.ToolButton20->isChecked(), digits == 0);
        QCOMPARE(form->MainDisplay->FindRect(u"TXT1"_s)->Active, txt1);
        QCOMPARE(form->MainDisplay->FindRect(u"TXT2"_s)->Active, txt2);
        // Clicking the pressed button keeps it pressed.
        QTest::mouseClick(b, Qt::LeftButton);
        QVERIFY(b->isChecked());
    }

    void gaugeFollowsLedSize()
    {
        auto form = openForm();
        QVERIFY(form);
        TFloorTextPage &page = *form->FloorPage;
        QCOMPARE(page.GaugeBar1->minimum(), 1);
        QCOMPARE(page.GaugeBar1->maximum(), 6);
        QCOMPARE(page.GaugeBar1->value(), page.LED2->core().LEDSize());
        page.GaugeBar1->setValue(5);
        QCOMPARE(page.LED2->core().LEDSize(), 5);
        QCOMPARE(form->LED3->core().LEDSize(), 1); // LED2 only
        form->SetAppLEDSizes();
        QCOMPARE(page.GaugeBar1->value(), page.LED2->core().LEDSize());
    }

    void loadedProjectIsShown()
    {
        auto form = openForm();
        QVERIFY(form);
        ProjectModel saved(nullptr, nullptr);
        saved.WorkFont.Name = form->Model->WorkFont.Name;
        saved.SetFloorCount(7);
        saved.SetAutoSize(false);
        saved.SetAlignment(2);
        saved.SetFloorTextDigits(1);
        saved.SetFloorFontSize(55);
        saved.SetFloorTextOffsetX(7);
        saved.SetFloorTextOffsetY(-4);
        saved.SetFloorFontBold(true);
        saved.SetFloorFontItalic(true);
        saved.SetTextLines(3, 5);
        saved.SetShowFloorBitmaps(true);
        saved.SetShowWhileMoving(true);
        saved.SetShowArrows(false);
        saved.SetFloorText(1, 1, u"DG"_s);
        saved.SetFloorText(4, 7, u"Keller"_s);
        writeProject(saved, u"loaded.orv"_s, true);

        m_chosenPaths << path(u"loaded.orv"_s);
        form->aOpen->trigger();
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join(u'\n')));
        TFloorTextPage &page = *form->FloorPage;
        const QTableWidget &grid = *page.sgET;
        QCOMPARE(grid.rowCount(), 7);
        QCOMPARE(headers(grid), QStringList({u"Etage"_s, u"Text"_s, u"Etagentext Zeile 3"_s,
                                             u"Etagentext Zeile 4"_s, u"Etagentext Zeile 5"_s}));
        QCOMPARE(grid.item(0, 0)->text(), u"6"_s);
        QCOMPARE(grid.item(0, 1)->text(), u"DG"_s);
        QCOMPARE(grid.item(6, 4)->text(), u"Keller"_s);
        QCOMPARE(tickedActions(page), u"3,4,5"_s);
        QVERIFY(!page.aAutoSize->isChecked());
        QVERIFY(page.edFontSize->isEnabled());
        QVERIFY(!page.ToolButtonAutoRight->isEnabled());
        QVERIFY(page.ToolButtonAutoRight->isChecked());
        QVERIFY(!page.ToolButtonAutoMiddle->isChecked());
        QVERIFY(page.ToolButton19->isChecked());
        QVERIFY(!page.ToolButton20->isChecked());
        QCOMPARE(page.edFontSize->value(), 55);
        QCOMPARE(page.edLinksRechts->value(), 7);
        QCOMPARE(page.edHochTief->value(), -4);
        QVERIFY(page.ToolButtonBold->isChecked());
        QVERIFY(page.ToolButtonItalic->isChecked());
        QVERIFY(page.ToolButtonEtaBmp->isChecked());
        QVERIFY(!page.cbOpt_EtaBitmapDrive->isHidden());
        QVERIFY(page.cbOpt_EtaBitmapDrive->isChecked());
        QVERIFY(!page.ToolButtonPfeileBmp->isChecked());
        QVERIFY(!page.ToolButtonArrowDown->isEnabled());
        QCOMPARE(page.edText->text(), form->Model->SampleText());
        QVERIFY(page.ToolButtonPreviewRect->isChecked());
        QVERIFY(page.ToolButtonSenkrecht->isHidden());
        QVERIFY(!form->IsModified());
    }

    void openCellEditorIsCommitted_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::newRow("save") << u"save"_s;
        QTest::newRow("page change") << u"page"_s;
    }

    void openCellEditorIsCommitted()
    {
        QFETCH(QString, trigger);
        auto form = openForm();
        QVERIFY(form);
        FloorGrid &grid = *form->FloorPage->sgET;
        grid.setCurrentCell(3, 1);
        grid.editItem(grid.item(3, 1));
        auto *editor = qobject_cast<QLineEdit *>(grid.OpenEditor());
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, u"Xy"_s);
        QCOMPARE(form->Model->FloorText(1, 4), form->Model->DefaultFloorLabel(1)); // not yet

        if (trigger == u"save"_s) {
            m_chosenPaths << path(u"edited.orv"_s);
            form->ASpeichern->trigger();
            QVERIFY(m_messages.isEmpty());
            ProjectModel reread(nullptr, nullptr);
            const ProjectOpenResult result = ProjectMapping::OpenProjectFile(reread, path(u"edited.orv"_s));
            QVERIFY2(result.Ok, qPrintable(result.Error));
            QCOMPARE(reread.FloorText(1, 4), u"Xy"_s);
            QVERIFY(!form->IsModified());
        } else {
            form->MainPageControl->setCurrentIndex(1);
            QVERIFY(form->IsModified());
        }
        QVERIFY(!grid.OpenEditor());
        QCOMPARE(form->Model->FloorText(1, 4), u"Xy"_s);
    }
};

QTEST_MAIN(TestFloorTextPage)
#include "test_floortextpage.moc"
