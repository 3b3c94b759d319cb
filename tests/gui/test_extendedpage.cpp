// SPDX-License-Identifier: GPL-3.0-or-later
// The page "Erweiterte Einstellungen" and the simulation page's lists on the real
// widgets of a main window: the special-state grid with its live preview, texts without
// bitmaps, the removal button, region drags on the small-font matrix, the options tab
// (floor count, month names, fonts in project files, number of colours, plain options)
// and what the page changes do. Every window works on a temporary program folder.
#include "app/mainfrm.h"
#include "app/newproj.h"
#include "display/display.h"
#include "display/displayrect.h"
#include "display/preview.h"
#include "display/regionedit.h"
#include "gui/programfolder.h"
#include "ledmatrix/ledmatrix.h"
#include "pages/extendedpage.h"
#include "pages/simulationpage.h"
#include "project/projectmapping.h"
#include "project/projectmodel.h"
#include "settings/inifile.h"
#include "settings/programsettings.h"
#include "widgets/tledmatrix.h"

#include <QAction>
#include <QCheckBox>
#include <QEventLoop>
#include <QFile>
#include <QFontDatabase>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

/// Lit pixels (any colour bit set) of \a raster inside \a r (clipped to the raster).
int litIn(const QImage &raster, const TRect &r)
{
    int n = 0;
    for (int y = qMax(0, r.Top); y <= qMin(raster.height() - 1, r.Bottom); ++y) {
        const auto *line = reinterpret_cast<const quint32 *>(raster.constScanLine(y));
        for (int x = qMax(0, r.Left); x <= qMin(raster.width() - 1, r.Right); ++x)
            n += (line[x] & 0x00FFFFFFu) != 0;
    }
    return n;
}

int litAll(const QImage &raster)
{
    return litIn(raster, TRect(0, 0, raster.width() - 1, raster.height() - 1));
}

/// A white-on-black raster with a lit block in its top rows and a lit left column.
QImage patternBitmap(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(0u);
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<quint32 *>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const bool lit = (y < h / 4 && x < w / 2) || x == 0 || (x + y) % 7 == 0;
            line[x] = lit ? 0x00FFFFFFu : 0u;
        }
    }
    return img;
}

/// Types \a text into \a widget one key at a time, letters beyond ASCII included.
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
    }
}

/// Runs the event loop until it has been idle at least once.
void spinIdle()
{
    QEventLoop loop;
    QTimer::singleShot(20, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

class TestExtendedPage : public QObject
{
    Q_OBJECT

private:
    QScopedPointer<QTemporaryDir> m_dir;
    QStringList m_messages;

    QString path(const QString &name) const { return m_dir->filePath(name); }

    std::unique_ptr<TMainForm> newForm()
    {
        auto form = ProgramFolder::CreateMainForm(m_dir->path());
        if (!form)
            return nullptr;
        form->ShowMessage = [this](const QString &text) { m_messages << text; };
        form->AskSaveChanges = [] { return TMainForm::SaveAnswer::Discard; };
        return form;
    }

    /// A window with a new LCD project of \a floors floors, shown.
    std::unique_ptr<TMainForm> openForm(int floors = 5, int hardware = 1)
    {
        auto form = newForm();
        if (!form)
            return nullptr;
        TMainForm *f = form.get();
        f->RunNewProjectDialog = [f, floors, hardware] {
            f->NewProject->SetHardwareIndex(hardware);
            f->NewProject->cbVertical->setChecked(false);
            f->NewProject->EtagenUpDown->setValue(floors);
            return true;
        };
        f->aNew->trigger();
        f->show();
        if (!QTest::qWaitForWindowExposed(f))
            qWarning("window not exposed");
        return form;
    }

    void showTab(TMainForm &form, QWidget *tab)
    {
        form.MainPageControl->setCurrentWidget(form.TabSheetErweitert);
        form.PageControlErweitert->setCurrentWidget(tab);
        QCoreApplication::processEvents();
    }

    /// The centre of LED \a led on \a matrix, in control pixels.
    static QPoint ledCentre(const TLEDMATRIX *matrix, const TDisplay &layout, QPoint led)
    {
        const int px = matrix->width() / layout.Width;
        const int py = matrix->height() / layout.Height;
        return QPoint(led.x() * px + px / 2, led.y() * py + py / 2);
    }

    /// Drags on \a matrix from LED \a from to LED \a to with the left button.
    static void dragLeds(TLEDMATRIX *matrix, const TDisplay &layout, QPoint from, QPoint to)
    {
        const QPoint a = ledCentre(matrix, layout, from);
        const QPoint b = ledCentre(matrix, layout, to);
        QTest::mousePress(matrix, Qt::LeftButton, Qt::NoModifier, a);
        QTest::mouseMove(matrix, (a + b) / 2);
        QTest::mouseMove(matrix, b);
        QTest::mouseRelease(matrix, Qt::LeftButton, Qt::NoModifier, b);
    }

private Q_SLOTS:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
        QVERIFY(ProgramFolder::CopyBitmapFonts(m_dir->path()));
        ProjectModel model(nullptr, nullptr);
        model.WorkFont.Name = ProgramFolder::FirstScalableFamily();
        QString error;
        QVERIFY2(ProjectMapping::SaveProjectFile(model, path(u"newproject.dat"_s), FontSection(), &error),
                 qPrintable(error));
        m_messages.clear();
    }

    void gridShowsTheStatesAndTheirTexts()
    {
        auto form = openForm();
        QVERIFY(form);
        QTableWidget *grid = form->ExtendedPage->sgSonder;
        QCOMPARE(grid->rowCount(), 10);
        QCOMPARE(grid->columnCount(), 2);
        QCOMPARE(grid->horizontalHeaderItem(0)->text(), u"Zustand"_s);
        QCOMPARE(grid->horizontalHeaderItem(1)->text(), u"Anzeigetext"_s);
        QCOMPARE(grid->columnWidth(0), 87);
        QCOMPARE(grid->columnWidth(1), 107);
        QCOMPARE(grid->item(0, 0)->text(), u"Überlast"_s);
        QCOMPARE(grid->item(9, 0)->text(), u"Custom"_s);
        QVERIFY(!(grid->item(3, 0)->flags() & Qt::ItemIsEditable));
        QVERIFY(grid->item(3, 1)->flags() & Qt::ItemIsEditable);
        // The grid follows the model, e.g. texts read from a project.
        form->Model->SetSpecialText(7, u"Voll!"_s);
        QCOMPARE(grid->item(6, 1)->text(), u"Voll!"_s);
        QCOMPARE(grid->currentRow(), 6);
    }

    void typingRedrawsThePreviewAtEveryKeystroke()
    {
        auto form = openForm();
        QVERIFY(form);
        showTab(*form, form->TabSheetSonderzeichen);
        TExtendedPage *page = form->ExtendedPage;
        QTableWidget *grid = page->sgSonder;
        ProjectModel &m = *form->Model;

        // Row 2 is selected; an editor is opened on row 4 and typed into.
        grid->setCurrentCell(1, 1);
        QCOMPARE(m.CurrentSpecialRow(), 2);
        grid->edit(grid->model()->index(3, 1));
        auto *editor = grid->viewport()->findChild<QLineEdit *>();
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Delete);

        QImage previous = form->LED3->core().contentRaster().copy();
        LedMatrix scratch;
        QString typed;
        for (const QChar c : u"Feuer!"_s) {
            QTest::keyClicks(editor, QString(c));
            typed += c;
            QCOMPARE(m.SpecialText(4), typed);
            QCOMPARE(m.CurrentSpecialRow(), 4);
            const QImage now = form->LED3->core().contentRaster().copy();
            QVERIFY2(now != previous, qPrintable(typed));
            // What is shown is the state's preview with the text typed so far.
            Preview::RenderSpecialState(m, 4, scratch);
            QCOMPARE(now, scratch.contentRaster());
            previous = now;
        }
        QCOMPARE(grid->currentRow(), 3);
        QVERIFY(form->IsModified());

        // Committing the open editor leaves the text in its cell.
        page->CommitCellEdit();
        QVERIFY(!grid->viewport()->findChild<QLineEdit *>() || !grid->viewport()->findChild<QLineEdit *>()->isVisible());
        QCOMPARE(grid->item(3, 1)->text(), u"Feuer!"_s);
        QCOMPARE(m.SpecialText(4), u"Feuer!"_s);

        // The usual way: a key on the current cell starts editing with that key.
        grid->setCurrentCell(4, 1);
        grid->setFocus();
        QTest::keyClick(grid, 'A');
        QCOMPARE(m.SpecialText(5), u"A"_s);
        QWidget *cellEditor = QApplication::focusWidget();
        QVERIFY(qobject_cast<QLineEdit *>(cellEditor));
        QTest::keyClick(cellEditor, 'b');
        QCOMPARE(m.SpecialText(5), u"Ab"_s);
        QCOMPARE(m.CurrentSpecialRow(), 5);
        Preview::RenderSpecialState(m, 5, scratch);
        QCOMPARE(form->LED3->core().contentRaster(), scratch.contentRaster());
    }

    void specialBitmapsOnly_data()
    {
        QTest::addColumn<bool>("bitmapsOnly");
        QTest::addColumn<bool>("withBitmap");
        QTest::addColumn<bool>("textShown");
        QTest::newRow("bitmap and text") << false << true << true;
        QTest::newRow("bitmap only") << true << true << false;
        QTest::newRow("no bitmap, option on: text") << true << false << true;
        QTest::newRow("no bitmap, option off: text") << false << false << true;
    }

    void specialBitmapsOnly()
    {
        QFETCH(bool, bitmapsOnly);
        QFETCH(bool, withBitmap);
        QFETCH(bool, textShown);
        auto form = openForm();
        QVERIFY(form);
        ProjectModel &m = *form->Model;
        TExtendedPage *page = form->ExtendedPage;
        const TDisplay &sonder = *m.SonderDisplay();
        // A bitmap lit in its top quarter only, so the text line below stays its own.
        QImage bitmap(sonder.Width, sonder.Height, QImage::Format_ARGB32);
        bitmap.fill(0u);
        for (int y = 0; y < sonder.Height / 4; ++y)
            for (int x = 0; x < sonder.Width / 2; ++x)
                bitmap.setPixel(x, y, 0x00FFFFFFu);
        if (withBitmap)
            m.SetSpecialBitmap(m.Model(), 4, bitmap);
        m.SetSpecialText(4, u"Brandfall"_s);

        showTab(*form, form->TabSheetOptionen);
        if (bitmapsOnly)
            QTest::mouseClick(page->CBSZOhneText, Qt::LeftButton);
        QCOMPARE(m.SpecialBitmapsOnly(), bitmapsOnly);
        QVERIFY(!page->CBSZOhneText->hasFocus());
        showTab(*form, form->TabSheetSonderzeichen);
        page->sgSonder->setCurrentCell(0, 1);
        page->sgSonder->setCurrentCell(3, 1);

        const QImage &content = form->LED3->core().contentRaster();
        const int glyphHeight = sonder.Height / sonder.Rows;
        const TRect textRow(0, 7 * glyphHeight, sonder.Width - 1, sonder.Height - 1);
        const TRect block(0, 0, sonder.Width / 2 - 1, sonder.Height / 4 - 1);
        QCOMPARE(litIn(content, textRow) > 0, textShown);
        QCOMPARE(litIn(content, block) == block.Width() * block.Height(), withBitmap);
    }

    void removeButtonFollowsTheBitmap()
    {
        auto form = openForm();
        QVERIFY(form);
        ProjectModel &m = *form->Model;
        TExtendedPage *page = form->ExtendedPage;
        showTab(*form, form->TabSheetSonderzeichen);
        page->sgSonder->setCurrentCell(0, 1);
        spinIdle();
        QVERIFY(!page->BitBtn2->isEnabled());
        QCOMPARE(page->BitBtn2->text(), u"Bitmap entfernen"_s);

        // Any action storing a bitmap enables the button once the window is idle.
        const TDisplay &sonder = *m.SonderDisplay();
        m.SetSpecialBitmap(m.Model(), 1, patternBitmap(sonder.Width, sonder.Height));
        m.SetSpecialBitmap(DisplayModel::Vfd128, 1, patternBitmap(128, 64));
        spinIdle();
        QVERIFY(page->BitBtn2->isEnabled());
        page->sgSonder->setCurrentCell(1, 1);
        QVERIFY(!page->BitBtn2->isEnabled());
        page->sgSonder->setCurrentCell(0, 1);
        QVERIFY(page->BitBtn2->isEnabled());
        form->Previews->PreviewSonderzeichenOut(1, true);
        QVERIFY(litAll(form->LED3->core().contentRaster()) > sonder.Width);

        QVERIFY(!form->IsModified());
        QTest::mouseClick(page->BitBtn2, Qt::LeftButton);
        QVERIFY(!m.SpecialBitmap(m.Model(), 1));
        QVERIFY(m.SpecialBitmap(DisplayModel::Vfd128, 1)); // other models keep theirs
        QVERIFY(!page->BitBtn2->isEnabled());
        QVERIFY(form->IsModified());
        // The preview shows the text alone again.
        LedMatrix scratch;
        Preview::RenderSpecialState(m, 1, scratch);
        QCOMPARE(form->LED3->core().contentRaster(), scratch.contentRaster());

        // Another display model has its own bitmaps: the button follows the choice.
        QTest::mouseClick(form->RB_VFD1, Qt::LeftButton);
        QCOMPARE(m.Model(), DisplayModel::Vfd128);
        QVERIFY(page->BitBtn2->isEnabled());
    }

    void scaleNearest_data()
    {
        QTest::addColumn<QImage>("source");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QList<quint32>>("expected"); // row by row; empty: null result
        QImage two(2, 2, QImage::Format_ARGB32);
        two.setPixel(0, 0, 1u);
        two.setPixel(1, 0, 2u);
        two.setPixel(0, 1, 3u);
        two.setPixel(1, 1, 4u);
        QImage three(3, 1, QImage::Format_ARGB32);
        three.setPixel(0, 0, 0x00FFFFFFu);
        three.setPixel(1, 0, 0u);
        three.setPixel(2, 0, 0xFF00FF00u);
        QTest::newRow("enlarge 2x2 to 3x3") << two << QSize(3, 3)
                                            << QList<quint32>{1, 1, 2, 1, 1, 2, 3, 3, 4};
        QTest::newRow("shrink 3x1 to 2x1") << three << QSize(2, 1) << QList<quint32>{0x00FFFFFFu, 0u};
        QTest::newRow("values kept") << three << QSize(3, 1)
                                     << QList<quint32>{0x00FFFFFFu, 0u, 0xFF00FF00u};
        QTest::newRow("null source") << QImage() << QSize(4, 4) << QList<quint32>{};
        QTest::newRow("empty size") << two << QSize(0, 3) << QList<quint32>{};
    }

    void scaleNearest()
    {
        QFETCH(QImage, source);
        QFETCH(QSize, size);
        QFETCH(QList<quint32>, expected);
        const QImage out = RegionEdit::ScaleNearest(source, size.width(), size.height());
        if (expected.isEmpty()) {
            QVERIFY(out.isNull());
            return;
        }
        QCOMPARE(out.size(), size);
        QList<quint32> got;
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x)
                got << out.pixel(x, y);
        QCOMPARE(got, expected);
    }

    void endOfSmallFontDrag_data()
    {
        // Rectangles as (Left, Top, Right, Bottom); an empty list: region absent / no drag.
        using R = QList<int>;
        QTest::addColumn<R>("txt1");
        QTest::addColumn<R>("txt2");
        QTest::addColumn<bool>("withTxt3");
        QTest::addColumn<QString>("dragged"); // empty: nothing is being dragged
        QTest::addColumn<R>("draggedTo");
        QTest::addColumn<R>("expected1");
        QTest::addColumn<R>("expected2");
        QTest::addColumn<R>("expected3");
        QTest::newRow("TXT2 dragged") << R{0, 0, 44, 55} << R{45, 0, 89, 55} << true << u"TXT2"_s
                                      << R{45, 5, 60, 30} << R{0, 5, 15, 30} << R{45, 5, 60, 30}
                                      << R{22, 5, 37, 30};
        QTest::newRow("TXT1 dragged") << R{0, 0, 44, 55} << R{45, 0, 89, 55} << true << u"TXT1"_s
                                      << R{10, 2, 30, 40} << R{10, 2, 30, 40} << R{45, 2, 65, 40}
                                      << R{27, 2, 47, 40};
        // Half of -35 is -17: the division truncates toward zero.
        QTest::newRow("TXT2 left of TXT1") << R{50, 0, 70, 20} << R{15, 0, 35, 20} << true << u"TXT1"_s
                                           << R{50, 0, 70, 20} << R{50, 0, 70, 20} << R{15, 0, 35, 20}
                                           << R{33, 0, 53, 20};
        QTest::newRow("without TXT3") << R{0, 0, 44, 55} << R{45, 0, 89, 55} << false << u"TXT2"_s
                                      << R{45, 1, 50, 9} << R{0, 1, 5, 9} << R{45, 1, 50, 9} << R{};
        QTest::newRow("PFEIL dragged: no partner") << R{0, 0, 44, 55} << R{45, 0, 89, 55} << true
                                                   << u"PFEIL"_s << R{95, 0, 120, 20} << R{0, 0, 44, 55}
                                                   << R{45, 0, 89, 55} << R{22, 0, 66, 55};
        QTest::newRow("nothing dragged") << R{0, 0, 44, 55} << R{45, 0, 89, 55} << true << QString() << R{}
                                         << R{0, 0, 44, 55} << R{45, 0, 89, 55} << R{22, 0, 66, 55};
    }

    void endOfSmallFontDrag()
    {
        using R = QList<int>;
        QFETCH(R, txt1);
        QFETCH(R, txt2);
        QFETCH(bool, withTxt3);
        QFETCH(QString, dragged);
        QFETCH(R, draggedTo);
        QFETCH(R, expected1);
        QFETCH(R, expected2);
        QFETCH(R, expected3);
        const auto rect = [](const R &r) { return TRect(r.at(0), r.at(1), r.at(2), r.at(3)); };
        TDisplay layout(u"Klein"_s, 128, 64);
        layout.AddRect(u"TXT1"_s, QString(), rect(txt1), true);
        layout.AddRect(u"TXT2"_s, QString(), rect(txt2), true);
        if (withTxt3)
            layout.AddRect(u"TXT3"_s, QString(), TRect(22, 0, 66, 55), false);
        layout.AddRect(u"PFEIL"_s, QString(), TRect(92, 0, 110, 20), true);
        if (!dragged.isEmpty()) {
            TDisplayRect *d = layout.FindRect(dragged);
            d->DragMode = TDisplayRect::DragMove;
            d->Rect = rect(draggedTo);
        }

        QCOMPARE(RegionEdit::EndSmallFontDrag(layout, nullptr), !dragged.isEmpty());
        QVERIFY(!layout.DraggedRect());
        QCOMPARE(layout.FindRect(u"TXT1"_s)->SavedRect, rect(expected1));
        QCOMPARE(layout.FindRect(u"TXT2"_s)->SavedRect, rect(expected2));
        if (withTxt3)
            QCOMPARE(layout.FindRect(u"TXT3"_s)->SavedRect, rect(expected3));
        if (!dragged.isEmpty())
            QCOMPARE(layout.FindRect(dragged)->SavedRect, rect(draggedTo));
    }

    void dragOfTxt2AlignsItsPartners()
    {
        auto form = openForm();
        QVERIFY(form);
        showTab(*form, form->TabSheetKleinerFont);
        ProjectModel &m = *form->Model;
        TDisplay &klein = *m.KleinDisplay();
        QCOMPARE(klein.Matrix, &form->LED4->core());
        const TRect t1 = klein.FindRect(u"TXT1"_s)->Rect;
        const TRect t2 = klein.FindRect(u"TXT2"_s)->Rect;
        QVERIFY(t2.Width() > 12 && t2.Height() > 20);

        // Bottom-right corner of "TXT2" dragged until the region is 12 x 20 LEDs.
        const QPoint from(t2.Right - 1, t2.Bottom - 1);
        const QPoint to(t2.Left + 10, t2.Top + 18);
        dragLeds(form->LED4, klein, from, to);

        const TRect expected2(t2.Left, t2.Top, t2.Left + 11, t2.Top + 19);
        QCOMPARE(klein.FindRect(u"TXT2"_s)->SavedRect, expected2);
        QCOMPARE(klein.FindRect(u"TXT1"_s)->SavedRect, TRect(t1.Left, t2.Top, t1.Left + 11, t2.Top + 19));
        const int mid = t1.Left + (t2.Left - t1.Left) / 2;
        const TDisplayRect *t3 = klein.FindRect(u"TXT3"_s);
        QCOMPARE(t3->SavedRect, TRect(mid, t2.Top, mid + 11, t2.Top + 19));
        QVERIFY(!t3->Active);
        QVERIFY(klein.DraggedRect() == nullptr);
        QCOMPARE(form->LED4->core().Cursor(), LedMatrix::CursorShape::Arrow);
        QVERIFY(form->IsModified());
        // The preview was redrawn with the regions framed.
        QVERIFY(litAll(form->LED4->core().markRaster()) > 0);
    }

    void resizedArrowRegionRescalesTheSmallArrows_data()
    {
        QTest::addColumn<bool>("mainUp");
        QTest::addColumn<bool>("smallUp");
        QTest::newRow("both main arrows") << true << true;
        QTest::newRow("no main up arrow: blank of the new size") << false << true;
        QTest::newRow("no small up arrow: stays empty") << true << false;
    }

    void resizedArrowRegionRescalesTheSmallArrows()
    {
        QFETCH(bool, mainUp);
        QFETCH(bool, smallUp);
        auto form = openForm();
        QVERIFY(form);
        ProjectModel &m = *form->Model;
        const DisplayModel dm = m.Model();
        const TRect mainArrow = m.MainDisplay()->FindRect(u"PFEIL"_s)->Rect;
        const QImage down = patternBitmap(mainArrow.Width(), mainArrow.Height());
        const QImage up = down.mirrored(false, true);
        m.SetArrow(dm, 0, down);
        m.SetArrow(dm, 1, mainUp ? up : QImage());
        TDisplay &klein = *m.KleinDisplay();
        const TRect p = klein.FindRect(u"PFEIL"_s)->Rect;
        m.SetSmallArrow(dm, 0, patternBitmap(p.Width(), p.Height()));
        m.SetSmallArrow(dm, 1, smallUp ? patternBitmap(p.Width(), p.Height()) : QImage());

        showTab(*form, form->TabSheetKleinerFont);
        dragLeds(form->LED4, klein, QPoint(p.Right - 1, p.Bottom - 1), QPoint(p.Right - 6, p.Bottom - 8));
        const TRect n = klein.FindRect(u"PFEIL"_s)->SavedRect;
        QCOMPARE(n, TRect(p.Left, p.Top, p.Right - 5, p.Bottom - 7));

        const QImage *small0 = m.SmallArrow(dm, 0);
        QVERIFY(small0);
        QCOMPARE(*small0, RegionEdit::ScaleNearest(down, n.Width(), n.Height()));
        const QImage *small1 = m.SmallArrow(dm, 1);
        if (!smallUp) {
            QVERIFY(!small1);
        } else {
            QVERIFY(small1);
            QCOMPARE(small1->size(), QSize(n.Width(), n.Height()));
            if (mainUp)
                QCOMPARE(*small1, RegionEdit::ScaleNearest(up, n.Width(), n.Height()));
            else
                QCOMPARE(litAll(*small1), 0);
        }
        // The main arrows stay as they were.
        QCOMPARE(*m.Arrow(dm, 0), down);
        QVERIFY(form->IsModified());
    }

    void simulationPageListsTheHallCalls_data()
    {
        QTest::addColumn<int>("floors");
        QTest::addColumn<int>("row");
        QTest::newRow("5 floors, row 3") << 5 << 3;
        QTest::newRow("5 floors, bottom row") << 5 << 5;
        QTest::newRow("2 floors, top row") << 2 << 1;
    }

    void simulationPageListsTheHallCalls()
    {
        QFETCH(int, floors);
        QFETCH(int, row);
        auto form = openForm(floors);
        QVERIFY(form);
        ProjectModel &m = *form->Model;
        m.SelectFloorRow(row);
        TSimulationPage *sim = form->SimulationPage;
        sim->CBBrandfall->setChecked(true);
        form->LED1->core().ClearAll();

        form->MainPageControl->setCurrentWidget(form->TabSheetSimulation);
        QListWidget *calls = sim->CBAussenruf;
        QCOMPARE(calls->count(), floors);
        for (int i = 0; i < floors; ++i) {
            QCOMPARE(calls->item(i)->text(), m.FloorLabel(i + 1));
            QCOMPARE(calls->item(i)->checkState() == Qt::Checked, i == row - 1);
        }
        QCOMPARE(calls->currentRow(), row - 1);
        QCOMPARE(sim->CurrentCall, row - 1);
        for (QCheckBox *box : sim->StateBoxes)
            QVERIFY(!box->isChecked());
        QCOMPARE(form->MainDisplay->Matrix, &form->LED1->core());
        QCOMPARE(form->LED1->core().LEDCountX(), form->MainDisplay->Width);
        QCOMPARE(litAll(form->LED1->core().contentRaster()), 0);

        form->MainPageControl->setCurrentWidget(form->TabSheetGrund);
        QCOMPARE(form->MainDisplay->Matrix, &form->LED2->core());
    }

    void stateBoxCaptions()
    {
        auto form = openForm();
        QVERIFY(form);
        const QStringList captions = {u"Ueberlast"_s, u"Sonderfahrt"_s, u"Ausser Betrieb"_s, u"Brandfall"_s,
                                      u"Feuerwehrfahrt                    .      "_s, u"Wartung"_s,
                                      u"Volllast"_s, u"Evakuierung"_s, u"Beladung"_s, u"Custom"_s};
        for (int i = 0; i < 10; ++i)
            QCOMPARE(form->SimulationPage->StateBoxes[size_t(i)]->text(), captions.at(i));
    }

    void settingsActionDoesNotRedrawThePreviews()
    {
        auto form = openForm();
        QVERIFY(form);
        LedMatrix &led3 = form->LED3->core();
        LedMatrix &led4 = form->LED4->core();
        led3.ClearAll();
        led4.ClearAll();
        form->aEinstellungen->trigger();
        QCOMPARE(form->MainPageControl->currentWidget(), form->TabSheetErweitert);
        QCOMPARE(form->PageControlErweitert->currentWidget(), form->TabSheetOptionen);
        QCOMPARE(litAll(led3.contentRaster()), 0);
        QCOMPARE(litAll(led4.contentRaster()), 0);

        // Changing to the page the usual way draws both previews.
        form->MainPageControl->setCurrentWidget(form->TabSheetGrund);
        form->MainPageControl->setCurrentWidget(form->TabSheetErweitert);
        QVERIFY(litAll(led3.contentRaster()) > 0);
        QVERIFY(litAll(led4.contentRaster()) > 0);
    }

    void floorCountField_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("expected");
        QTest::newRow("8") << u"8"_s << 8;
        QTest::newRow("64") << u"64"_s << 64;
        QTest::newRow("1 is below the range") << u"1"_s << 5;
        QTest::newRow("65 is above the range") << u"65"_s << 6;
    }

    void floorCountField()
    {
        QFETCH(QString, typed);
        QFETCH(int, expected);
        auto form = openForm(5);
        QVERIFY(form);
        showTab(*form, form->TabSheetOptionen);
        QSpinBox *field = form->ExtendedPage->EtagenAnzahlUpDown;
        QCOMPARE(field->value(), 5);
        QCOMPARE(field->minimum(), 2);
        QCOMPARE(field->maximum(), 64);
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, typed);
        QCOMPARE(form->Model->FloorCount(), expected);
        QCOMPARE(form->IsModified(), expected != 5);
        if (expected != 5)
            QCOMPARE(form->Model->FloorLabel(expected), u"UG"_s);

        // The field shows what the model holds, e.g. after a load.
        form->Model->SetFloorCount(12);
        QCOMPARE(field->value(), 12);
    }

    void floorButtons()
    {
        auto form = openForm(4);
        QVERIFY(form);
        ProjectModel &m = *form->Model;
        showTab(*form, form->TabSheetOptionen);
        m.SetFloorText(1, 1, u"7"_s);
        m.SetFloorText(1, 2, u"X"_s);
        QTest::mouseClick(form->ExtendedPage->BtnETaZentrieren, Qt::LeftButton);
        QCOMPARE(m.FloorLabel(1), u"7 "_s);
        QCOMPARE(m.FloorLabel(2), u"X "_s);
        QTest::mouseClick(form->ExtendedPage->BtnEtaTxtReset, Qt::LeftButton);
        QCOMPARE(m.FloorLabel(1), ProjectModel::DefaultFloorLabel(3));
        QCOMPARE(m.FloorLabel(4), u"UG"_s);
    }

    void monthNames_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("warnings"); // one per keystroke while a refused character remains
        QTest::addColumn<QString>("kept"); // the project's name: the text before the refusal
        QTest::newRow("Mär") << u"Mär"_s << 2 << u"M"_s;
        QTest::newRow("Maerz") << u"Maerz"_s << 0 << u"Maerz"_s;
        QTest::newRow("ÖST") << u"ÖST"_s << 3 << QString();
        QTest::newRow("ß") << u"aß"_s << 1 << u"a"_s;
        QTest::newRow("Ü") << u"Ü"_s << 1 << QString();
        QTest::newRow("ö") << u"Jö"_s << 1 << u"J"_s;
    }

    void monthNames()
    {
        QFETCH(QString, keys);
        QFETCH(int, warnings);
        QFETCH(QString, kept);
        auto form = openForm();
        QVERIFY(form);
        ProjectModel &m = *form->Model;
        showTab(*form, form->TabSheetOptionen);
        QPlainTextEdit *memo = form->ExtendedPage->MemoMonate;
        QCOMPARE(memo->toPlainText(), m.MonthNames.join(u'\n'));
        memo->setFocus();
        QTest::keyClick(memo, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(memo, Qt::Key_Delete);
        m_messages.clear();
        typeText(memo, keys);
        QCOMPARE(m_messages.size(), warnings);
        for (const QString &msg : std::as_const(m_messages))
            QCOMPARE(msg, TExtendedPage::InvalidMonthCharsMessage());
        QCOMPARE(memo->toPlainText(), keys); // the memo keeps what was typed
        QCOMPARE(m.MonthNames, QStringList{kept});

        // A page change hands the names to the clock.
        form->MainPageControl->setCurrentWidget(form->TabSheetGrund);
        QCOMPARE(m.ClockFormat.MonthNames.value(0), kept);
        QCOMPARE(m.ClockFormat.MonthNames.size(), 12);
    }

    void refusedMonthNamesKeepTheProjectNames()
    {
        auto form = openForm();
        QVERIFY(form);
        ProjectModel &m = *form->Model;
        showTab(*form, form->TabSheetOptionen);
        QPlainTextEdit *memo = form->ExtendedPage->MemoMonate;
        const QStringList before = m.MonthNames;
        QVERIFY(before.size() >= 3);
        QTextCursor cursor = memo->textCursor();
        cursor.movePosition(QTextCursor::Start);
        cursor.movePosition(QTextCursor::Down, QTextCursor::MoveAnchor, 2);
        cursor.movePosition(QTextCursor::EndOfLine);
        memo->setTextCursor(cursor);
        memo->setFocus();
        m_messages.clear();
        QTest::keyClick(memo, 'a');
        QCOMPARE(m.MonthNames.value(2), before.at(2) + u'a');
        typeText(memo, u"ä"_s);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m.MonthNames.value(2), before.at(2) + u'a');
        QTest::keyClick(memo, Qt::Key_Backspace);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m.MonthNames.value(2), before.at(2) + u'a');
    }

    void fontsInProjectFilesSetting()
    {
        {
            IniFile ini(AppContext(m_dir->path()).SettingsPath());
            QVERIFY(ini.WriteBool(Keys::kSettingsUpper, Keys::kSaveIncludeTtf, false));
        }
        auto form = openForm();
        QVERIFY(form);
        QCheckBox *box = form->ExtendedPage->CBSaveTT;
        QCOMPARE(form->CBSaveTT, box);
        QCOMPARE(box->text(), u"True-Type Fonts mit in die Projektdateien aufnehmen"_s);
        QVERIFY(!box->isChecked());
        showTab(*form, form->TabSheetOptionen);
        const IniFile ini(form->Context().SettingsPath());
        QTest::mouseClick(box, Qt::LeftButton);
        QVERIFY(box->isChecked());
        QCOMPARE(ini.ReadString(Keys::kSettingsUpper, Keys::kSaveIncludeTtf, QString()), u"1"_s);
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(ini.ReadString(Keys::kSettingsUpper, Keys::kSaveIncludeTtf, QString()), u"0"_s);
        QVERIFY(!form->IsModified()); // a setting, not project data
    }

    void numberOfSimulationColours()
    {
        auto form = openForm();
        QVERIFY(form);
        showTab(*form, form->TabSheetOptionen);
        QSpinBox *field = form->ExtendedPage->AnzahlColorUpDown;
        QCOMPARE(field->minimum(), 2);
        QCOMPARE(field->maximum(), 50);
        const IniFile ini(form->Context().SettingsPath());
        field->setFocus();
        QTest::keyClick(field, Qt::Key_Up);
        QTest::keyClick(field, Qt::Key_Up);
        QCOMPARE(field->value(), 4);
        QCOMPARE(ini.ReadInteger(Keys::kSimulation, Keys::kColors, 0), 4);
        QCOMPARE(form->ColorCount, 4);
        QCOMPARE(ini.ReadString(Keys::kSimulation, u"Color4"_s, QString()), ProgramSettings::kDefaultColorPair);
        // The field is changed by its arrows only.
        QTest::keyClicks(field, u"9"_s);
        QCOMPARE(field->value(), 4);
    }

    void plainOptionsFollowTheProject()
    {
        auto form = openForm();
        QVERIFY(form);
        ProjectModel &m = *form->Model;
        TExtendedPage *page = form->ExtendedPage;
        showTab(*form, form->TabSheetOptionen);
        QCOMPARE(page->LBZeichensatz->count(), 3);
        QCOMPARE(page->LBZeichensatz->item(2)->text(), u"Sonderzeichen ,  0 - 9 , A-Z, a-z"_s);

        QTest::keyClicks(page->edFontChars, u"XY"_s);
        QCOMPARE(m.AutoSizeChars, page->edFontChars->text());
        QVERIFY(m.AutoSizeChars.endsWith(u"XY"_s));
        QVERIFY(form->IsModified());
        page->LBZeichensatz->setCurrentRow(0);
        QCOMPARE(m.CharsetChoice, 0);
        const bool infrared = m.InfraredReceiver;
        QTest::mouseClick(page->CBInfrarot, Qt::LeftButton);
        QCOMPARE(m.InfraredReceiver, !infrared);
        QTest::mouseClick(page->CBSZOhneText, Qt::LeftButton);
        QVERIFY(m.SpecialBitmapsOnly());
        m.SetSpecialText(3, u"Defekt"_s);
        page->ExternerEditor->setText(u"gimp"_s);
        QCOMPARE(form->ExternerEditor, u"gimp"_s);

        // Saved and opened in another window: the tab shows the project's values.
        const QString file = path(u"options.orv"_s);
        form->ChooseProjectFile = [file](bool, const QString &) { return file; };
        QVERIFY(form->aSpeichernUnterExecute());
        auto other = newForm();
        QVERIFY(other);
        other->ChooseProjectFile = [file](bool, const QString &) { return file; };
        other->aOpen->trigger();
        other->show();
        QVERIFY(QTest::qWaitForWindowExposed(other.get()));
        showTab(*other, other->TabSheetOptionen);
        TExtendedPage *p2 = other->ExtendedPage;
        QCOMPARE(p2->edFontChars->text(), m.AutoSizeChars);
        QCOMPARE(p2->LBZeichensatz->currentRow(), 0);
        QCOMPARE(p2->CBInfrarot->isChecked(), !infrared);
        QVERIFY(p2->CBSZOhneText->isChecked());
        QCOMPARE(p2->sgSonder->item(2, 1)->text(), u"Defekt"_s);
        QCOMPARE(p2->MemoMonate->toPlainText(), other->Model->MonthNames.join(u'\n'));
    }
};

QTEST_MAIN(TestExtendedPage)
#include "test_extendedpage.moc"
