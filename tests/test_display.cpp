// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/display.h"
#include "display/displayrect.h"
#include "display/layouts.h"
#include "display/userfont.h"
#include "display/winfontinfo.h"
#include "ledmatrix/ledmatrix.h"

#include <QGuiApplication>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TRect)

namespace {

constexpr quint32 kOn = 0x00FFFFFF;

QByteArray rectText(const TRect &r)
{
    return QByteArray::number(r.Left) + ',' + QByteArray::number(r.Top) + ','
        + QByteArray::number(r.Right) + ',' + QByteArray::number(r.Bottom);
}

// A 128 x 64 layout with a matrix of LED size 1 and gap 1: LED (x, y) is at pixel (2x, 2y).
struct Fixture
{
    TDisplay layout{u"VFD1"_s, 128, 64};
    LedMatrix matrix;
    TDisplayRect *region = nullptr;

    Fixture()
    {
        layout.Matrix = &matrix;
        layout.ApplySize();
        region = layout.AddRect(u"BOX"_s, u"Box"_s, TRect(5, 5, 24, 14), true);
    }
    void down(int x, int y) { layout.MouseDown(2 * x, 2 * y); }
    void move(int x, int y) { layout.MouseMove(2 * x, 2 * y); }
    void up()
    {
        region->DragMode = TDisplayRect::DragNone;
        layout.StoreRect(region->Name);
    }
};

} // namespace

class TestDisplay : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void findRectIsCaseSensitiveAndTakesTheFirst();
    void setRectRefusesDegenerateRectangles_data();
    void setRectRefusesDegenerateRectangles();
    void edgeSettersStoreRestoreAndLoad();
    void slotBitmapsAreOwnedCopies();
    void hitZone_data();
    void hitZone();
    void rectAtPrefersExactHitsAndSkipsInactive();
    void mouseDownChoosesTheDragMode_data();
    void mouseDownChoosesTheDragMode();
    void moveDragIsClampedAndKeepsTheSize();
    void cornerDragPinsAndKeepsTheAnchor();
    void dragStopsAtTwoByTwo();
    void dragOfARegionSharingItsName();
    void cursorFollowsTheZone_data();
    void cursorFollowsTheZone();
    void hintShowsFromTheSecondStep();
    void setVerticalTwiceEqualsOnce();
    void deriveSingleDigitRect_data();
    void deriveSingleDigitRect();
    void nineLayouts();
    void layoutRowsAndColumnsFromTheShippedFonts();
    void layoutsPerDisplayModel();
    void showRectsMarksExactlyTheActiveRegions();
    void drawTextClearsAndStaysInsideTheRegion();
};

void TestDisplay::findRectIsCaseSensitiveAndTakesTheFirst()
{
    TDisplay d(u"L"_s, 100, 50);
    TDisplayRect *first = d.AddRect(u"TXT1"_s, u"one"_s, TRect(0, 0, 9, 9), true);
    TDisplayRect *lower = d.AddRect(u"txt1"_s, u"lower"_s, TRect(10, 0, 19, 9), true);
    d.AddRect(u"TXT1"_s, u"second"_s, TRect(20, 0, 29, 9), true);
    QCOMPARE(d.FindRect(u"TXT1"_s), first);
    QCOMPARE(d.FindRect(u"txt1"_s), lower);
    QCOMPARE(d.FindRect(u"Txt1"_s), nullptr);
    QCOMPARE(d.FindRect(u"TXT1 "_s), nullptr);
    QCOMPARE(d.GetRect(u"TXT1"_s), TRect(0, 0, 9, 9));
    QCOMPARE(d.GetRect(u"missing"_s), TRect(0, 0, 0, 0));
    QCOMPARE(d.Rects.size(), size_t(3));
    QCOMPARE(first->Bounds, TRect(0, 0, 99, 49));
    QCOMPARE(first->SavedRect, first->Rect);
    QCOMPARE(int(first->Handles), 0x3E);
    QCOMPARE(int(first->DragMode), 0);
}

void TestDisplay::setRectRefusesDegenerateRectangles_data()
{
    QTest::addColumn<TRect>("rect");
    QTest::addColumn<bool>("taken");
    QTest::newRow("Left == Right") << TRect(10, 5, 10, 20) << false;
    QTest::newRow("Left > Right") << TRect(11, 5, 10, 20) << false;
    QTest::newRow("Top == Bottom") << TRect(10, 5, 20, 5) << false;
    QTest::newRow("Top > Bottom") << TRect(10, 6, 20, 5) << false;
    QTest::newRow("2 x 2") << TRect(10, 5, 11, 6) << true;
    QTest::newRow("outside the raster") << TRect(-5, -5, 500, 500) << true;
}

void TestDisplay::setRectRefusesDegenerateRectangles()
{
    QFETCH(TRect, rect);
    QFETCH(bool, taken);
    TDisplay d(u"L"_s, 100, 50);
    d.AddRect(u"R"_s, u"r"_s, TRect(1, 2, 30, 40), true);
    d.SetRect(u"R"_s, rect);
    QCOMPARE(d.GetRect(u"R"_s), taken ? rect : TRect(1, 2, 30, 40));
    QCOMPARE(d.FindRect(u"R"_s)->SavedRect, TRect(1, 2, 30, 40));
    d.SetRect(u"absent"_s, rect); // silently nothing
}

void TestDisplay::edgeSettersStoreRestoreAndLoad()
{
    TDisplay d(u"L"_s, 100, 50);
    TDisplayRect *r = d.AddRect(u"R"_s, u"r"_s, TRect(1, 2, 30, 40), false);
    // One-edge setters take any value, even one that turns the rectangle over.
    d.SetRectLeft(u"R"_s, 50);
    d.SetRectTop(u"R"_s, 60);
    d.SetRectRight(u"R"_s, 3);
    d.SetRectBottom(u"R"_s, 4);
    QCOMPARE(r->Rect, TRect(50, 60, 3, 4));
    QCOMPARE(r->SavedRect, TRect(1, 2, 30, 40));
    d.RestoreRect(u"R"_s);
    QCOMPARE(r->Rect, TRect(1, 2, 30, 40));
    d.SetRectRight(u"R"_s, 20);
    d.StoreRect(u"R"_s);
    QCOMPARE(r->SavedRect, TRect(1, 2, 20, 40));
    d.SetRectActive(u"R"_s, true);
    QVERIFY(r->Active);

    QVERIFY(d.LoadRect(u"R"_s, TRect(7, 8, 9, 10), false));
    QCOMPARE(r->Rect, TRect(7, 8, 9, 10));
    QCOMPARE(r->SavedRect, TRect(7, 8, 9, 10));
    QVERIFY(!r->Active);

    // Absent regions: nothing happens, LoadRect says so.
    for (auto op : {&TDisplay::StoreRect, &TDisplay::RestoreRect})
        (d.*op)(u"X"_s);
    d.SetRectLeft(u"X"_s, 1);
    d.SetRectActive(u"X"_s, true);
    QVERIFY(!d.LoadRect(u"X"_s, TRect(1, 1, 2, 2), true));
    QCOMPARE(d.Rects.size(), size_t(1));
}

void TestDisplay::slotBitmapsAreOwnedCopies()
{
    TDisplayRect r(u"PFEIL"_s, u"p"_s, TRect(0, 0, 9, 9), true, TRect(0, 0, 99, 49));
    QCOMPARE(r.SlotBitmap(0), nullptr);

    QImage src(4, 3, QImage::Format_ARGB32);
    src.fill(0x00FFFFFF);
    r.SetSlotBitmap(1, src);
    QVERIFY(r.SlotBitmap(1));
    src.setPixel(0, 0, 0);
    QCOMPARE(r.SlotBitmap(1)->pixel(0, 0), 0x00FFFFFFu); // the caller's change stays out
    QVERIFY(r.SlotBitmap(1)->constBits() != src.constBits());

    QImage rgb(2, 2, QImage::Format_RGB32);
    rgb.fill(Qt::white);
    r.SetSlotBitmap(255, rgb);
    QCOMPARE(r.SlotBitmap(255)->format(), QImage::Format_ARGB32);
    QCOMPARE(r.SlotBitmap(255)->size(), QSize(2, 2));

    r.SetSlotBitmap(1, QImage()); // frees the slot
    QCOMPARE(r.SlotBitmap(1), nullptr);
    r.SetSlotBitmap(255, QImage(0, 5, QImage::Format_ARGB32));
    QCOMPARE(r.SlotBitmap(255), nullptr);

    r.SetSlotBitmap(256, src); // outside: ignored
    r.SetSlotBitmap(-1, src);
    QCOMPARE(r.SlotBitmap(256), nullptr);
    QCOMPARE(r.SlotBitmap(-1), nullptr);
}

void TestDisplay::hitZone_data()
{
    QTest::addColumn<TRect>("rect");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("zone");

    const TRect r(10, 10, 30, 25);
    QTest::newRow("top-left corner") << r << QPoint(10, 10) << 2;
    QTest::newRow("near top-left, outside") << r << QPoint(8, 8) << 2;
    QTest::newRow("(Right-1, Bottom-1)") << r << QPoint(29, 24) << 5;
    QTest::newRow("(Right, Bottom)") << r << QPoint(30, 25) << 5;
    QTest::newRow("(Right, Top)") << r << QPoint(30, 10) << 3;
    QTest::newRow("Right+2 reaches Right-1+tolerance") << r << QPoint(31, 10) << 3;
    QTest::newRow("Right+3 outside the corner") << r << QPoint(32, 10) << 1;
    QTest::newRow("middle") << r << QPoint(20, 17) << 9;
    QTest::newRow("top edge halfway") << r << QPoint(20, 10) << 1;
    QTest::newRow("bottom edge halfway") << r << QPoint(20, 24) << 6;
    QTest::newRow("bottom-left") << r << QPoint(10, 24) << 7;
    QTest::newRow("left edge middle") << r << QPoint(10, 17) << 9;
    QTest::newRow("tiny region below its top") << TRect(5, 5, 6, 6) << QPoint(6, 6) << 9;
    QTest::newRow("tiny region at its top") << TRect(5, 5, 6, 6) << QPoint(5, 5) << 2;
}

void TestDisplay::hitZone()
{
    QFETCH(TRect, rect);
    QFETCH(QPoint, point);
    QFETCH(int, zone);
    const TDisplayRect region(u"R"_s, u"r"_s, rect, true, TRect(0, 0, 99, 99));
    QCOMPARE(TDisplay::HitZone(point, region, 2), zone);
}

void TestDisplay::rectAtPrefersExactHitsAndSkipsInactive()
{
    TDisplay d(u"L"_s, 100, 50);
    QCOMPARE(d.RectAt(QPoint(1, 1), 2), nullptr);
    TDisplayRect *a = d.AddRect(u"A"_s, u"a"_s, TRect(0, 0, 9, 9), true);
    TDisplayRect *b = d.AddRect(u"B"_s, u"b"_s, TRect(11, 0, 20, 9), true);
    TDisplayRect *hidden = d.AddRect(u"H"_s, u"h"_s, TRect(40, 0, 49, 9), false);
    QCOMPARE(d.RectAt(QPoint(11, 5), 2), b); // exact hit wins over a's tolerance
    QCOMPARE(d.RectAt(QPoint(10, 5), 2), a); // only in tolerance: first in list order
    QCOMPARE(d.RectAt(QPoint(10, 5), 0), nullptr);
    QCOMPARE(d.RectAt(QPoint(23, 5), 2), nullptr);
    QCOMPARE(d.RectAt(QPoint(45, 5), 2), nullptr);
    hidden->Active = true;
    QCOMPARE(d.RectAt(QPoint(45, 5), 2), hidden);
}

void TestDisplay::mouseDownChoosesTheDragMode_data()
{
    QTest::addColumn<QPoint>("led");
    QTest::addColumn<int>("handles");
    QTest::addColumn<int>("mode");

    // Region (5, 5, 24, 14).
    QTest::newRow("top-left") << QPoint(5, 5) << 0x3E << 1;
    QTest::newRow("top-right") << QPoint(23, 5) << 0x3E << 2;
    QTest::newRow("bottom-left") << QPoint(5, 13) << 0x3E << 3;
    QTest::newRow("bottom-right") << QPoint(23, 13) << 0x3E << 4;
    QTest::newRow("inside") << QPoint(14, 9) << 0x3E << 5;
    QTest::newRow("top edge") << QPoint(14, 5) << 0x3E << 0;
    QTest::newRow("bottom edge") << QPoint(14, 13) << 0x3E << 0;
    QTest::newRow("inside, move not permitted") << QPoint(14, 9) << 0x1E << 0;
    QTest::newRow("top-left, corner not permitted") << QPoint(5, 5) << 0x3C << 0;
}

void TestDisplay::mouseDownChoosesTheDragMode()
{
    QFETCH(QPoint, led);
    QFETCH(int, handles);
    QFETCH(int, mode);
    Fixture f;
    f.region->Handles = quint8(handles);
    f.down(led.x(), led.y());
    QCOMPARE(int(f.region->DragMode), mode);
    QCOMPARE(f.layout.DragAnchor, led);

    // Outside every region: nothing, not even the anchor.
    Fixture g;
    g.layout.DragAnchor = QPoint(-7, -7);
    g.down(60, 40);
    QCOMPARE(int(g.region->DragMode), 0);
    QCOMPARE(g.layout.DragAnchor, QPoint(-7, -7));
}

void TestDisplay::moveDragIsClampedAndKeepsTheSize()
{
    Fixture f;
    f.down(10, 10);
    QCOMPARE(int(f.region->DragMode), 5);
    f.move(2, 10); // Left would be -3: pinned at 0, width 20 kept, anchor stays
    QCOMPARE(f.region->Rect, TRect(0, 5, 19, 14));
    QCOMPARE(f.layout.DragAnchor, QPoint(10, 10));
    f.move(12, 11); // relative to the anchor (10, 10)
    QCOMPARE(f.region->Rect, TRect(2, 6, 21, 15));
    QCOMPARE(f.layout.DragAnchor, QPoint(12, 11));
    f.move(127, 63); // against the right and bottom edges
    QCOMPARE(f.region->Rect, TRect(108, 54, 127, 63));
    QCOMPARE(f.layout.DragAnchor, QPoint(12, 11));
    f.up();
    QCOMPARE(f.region->SavedRect, TRect(108, 54, 127, 63));
    // The frame follows the region.
    QCOMPARE(f.matrix.markRaster().pixel(108, 54) & 0x00FFFFFF, kOn);
    QCOMPARE(f.matrix.markRaster().pixel(107, 54) & 0x00FFFFFF, 0u);
}

void TestDisplay::cornerDragPinsAndKeepsTheAnchor()
{
    Fixture f;
    f.down(7, 7); // within the tolerance of the top-left corner (5, 5)
    QCOMPARE(int(f.region->DragMode), 1);
    f.move(3, 7);
    QCOMPARE(f.region->Rect, TRect(1, 5, 24, 14));
    QCOMPARE(f.layout.DragAnchor, QPoint(3, 7));
    f.move(1, 7); // Left would be -1: pinned at 0, anchor keeps x 3
    QCOMPARE(f.region->Rect, TRect(0, 5, 24, 14));
    QCOMPARE(f.layout.DragAnchor, QPoint(3, 7));
    f.move(2, 7); // still left of the anchor: stays pinned
    QCOMPARE(f.region->Rect, TRect(0, 5, 24, 14));
    QCOMPARE(f.layout.DragAnchor, QPoint(3, 7));
    f.move(4, 7); // right of the anchor again: follows
    QCOMPARE(f.region->Rect, TRect(1, 5, 24, 14));
    QCOMPARE(f.layout.DragAnchor, QPoint(4, 7));
    f.move(4, 2); // the top edge follows the same rule
    QCOMPARE(f.region->Rect, TRect(1, 0, 24, 14));
}

void TestDisplay::dragStopsAtTwoByTwo()
{
    Fixture f;
    f.down(23, 13);
    QCOMPARE(int(f.region->DragMode), 4);
    f.move(6, 13);
    QCOMPARE(f.region->Rect, TRect(5, 5, 7, 14));
    f.move(5, 13); // two columns left
    QCOMPARE(f.region->Rect, TRect(5, 5, 6, 14));
    f.move(4, 13); // one column would be left: refused
    QCOMPARE(f.region->Rect, TRect(5, 5, 6, 14));
    f.move(4, 5); // two rows left
    QCOMPARE(f.region->Rect, TRect(5, 5, 6, 6));
    f.move(4, 4); // one row would be left: refused
    QCOMPARE(f.region->Rect, TRect(5, 5, 6, 6));
    f.move(0, 0); // a refused step changes nothing at all
    QCOMPARE(f.region->Rect, TRect(5, 5, 6, 6));
}

void TestDisplay::dragOfARegionSharingItsName()
{
    // Two regions of one name: the dragged one moves, the other one stays.
    Fixture f;
    f.region->Active = false;
    TDisplayRect *second = f.layout.AddRect(u"BOX"_s, u"Box 2"_s, TRect(50, 20, 59, 29), true);
    f.down(55, 25);
    QCOMPARE(int(second->DragMode), 5);
    f.move(57, 25);
    QCOMPARE(second->Rect, TRect(52, 20, 61, 29));
    QCOMPARE(f.region->Rect, TRect(5, 5, 24, 14));
}

void TestDisplay::cursorFollowsTheZone_data()
{
    QTest::addColumn<QPoint>("led");
    QTest::addColumn<int>("handles");
    QTest::addColumn<int>("cursor");

    using C = LedMatrix::CursorShape;
    QTest::newRow("top-left") << QPoint(5, 5) << 0x3E << int(C::SizeNWSE);
    QTest::newRow("bottom-right") << QPoint(23, 13) << 0x3E << int(C::SizeNWSE);
    QTest::newRow("top-right") << QPoint(24, 5) << 0x3E << int(C::SizeNESW);
    QTest::newRow("bottom-left") << QPoint(5, 13) << 0x3E << int(C::SizeNESW);
    QTest::newRow("inside") << QPoint(14, 9) << 0x3E << int(C::PointingHand);
    QTest::newRow("top edge") << QPoint(14, 5) << 0x3E << int(C::Arrow);
    QTest::newRow("bottom edge") << QPoint(14, 13) << 0x3E << int(C::Arrow);
    QTest::newRow("outside") << QPoint(60, 40) << 0x3E << int(C::Arrow);
    QTest::newRow("inside without move handle") << QPoint(14, 9) << 0x1E << int(C::Arrow);
    QTest::newRow("top-left without its handle") << QPoint(5, 5) << 0x3C << int(C::Arrow);
}

void TestDisplay::cursorFollowsTheZone()
{
    QFETCH(QPoint, led);
    QFETCH(int, handles);
    QFETCH(int, cursor);
    Fixture f;
    f.region->Handles = quint8(handles);
    f.matrix.SetCursor(LedMatrix::CursorShape::PointingHand);
    f.move(14, 9); // a first step, so every row also shows the reset to the arrow
    f.move(led.x(), led.y());
    QCOMPARE(int(f.matrix.Cursor()), cursor);
}

void TestDisplay::hintShowsFromTheSecondStep()
{
    Fixture f;
    TDisplayRect *other = f.layout.AddRect(u"TXT1"_s, u"Etagentext (1)"_s, TRect(50, 0, 94, 55), true);
    f.move(14, 9);
    QCOMPARE(f.matrix.Hint(), u"Box\r\n(20 x 10 Pixel)"_s);
    QVERIFY(!f.matrix.HintEnabled());
    f.move(15, 9);
    QVERIFY(f.matrix.HintEnabled());
    f.move(16, 9);
    QVERIFY(f.matrix.HintEnabled());

    // Another region: the text is replaced and the hint is off again.
    f.move(60, 20);
    QCOMPARE(f.matrix.Hint(), u"Etagentext (1)\r\n(45 x 56 Pixel)"_s);
    QVERIFY(!f.matrix.HintEnabled());
    f.move(60, 21);
    QVERIFY(f.matrix.HintEnabled());

    // Off the regions: the hint is switched off and its text stays.
    f.move(120, 60);
    QVERIFY(!f.matrix.HintEnabled());
    QCOMPARE(f.matrix.Hint(), u"Etagentext (1)\r\n(45 x 56 Pixel)"_s);

    // While dragging no hint is shown.
    f.down(60, 20);
    QCOMPARE(int(other->DragMode), 5);
    f.move(61, 20);
    f.move(62, 20);
    QVERIFY(!f.matrix.HintEnabled());
    QCOMPARE(int(f.matrix.Cursor()), int(LedMatrix::CursorShape::Arrow));
}

void TestDisplay::setVerticalTwiceEqualsOnce()
{
    DisplayLayouts layouts(nullptr, nullptr);
    TDisplay *sonder = layouts.Sonder(DisplayModel::Vfd128);
    TDisplay *main = layouts.Main(DisplayModel::Vfd128);
    QCOMPARE(sonder->Name, u"Sonderzeichen_VFD1"_s);
    for (int pass = 0; pass < 2; ++pass) {
        sonder->SetVertical();
        main->SetVertical();
        QVERIFY(sonder->Vertical);
        QCOMPARE(sonder->Width, 64);
        QCOMPARE(sonder->Height, 128);
        QCOMPARE(sonder->GetRect(u"SONDERZEICHEN"_s), TRect(0, 0, 63, 127));
        QCOMPARE(sonder->FindRect(u"SONDERZEICHEN"_s)->Bounds, TRect(0, 0, 63, 127));
        QCOMPARE(main->GetRect(u"TXT1"_s), TRect(0, 0, 44, 55));
        QCOMPARE(main->FindRect(u"TXT1"_s)->Bounds, TRect(0, 0, 63, 127));
        QCOMPARE(main->FindRect(u"UHR"_s)->Bounds, TRect(0, 0, 63, 127));
    }
    for (int pass = 0; pass < 2; ++pass) {
        sonder->SetHorizontal();
        QVERIFY(!sonder->Vertical);
        QCOMPARE(sonder->Width, 128);
        QCOMPARE(sonder->Height, 64);
        QCOMPARE(sonder->GetRect(u"SONDERZEICHEN"_s), TRect(0, 0, 127, 63));
        QCOMPARE(sonder->FindRect(u"SONDERZEICHEN"_s)->Bounds, TRect(0, 0, 127, 63));
    }
    // The matrix takes the turned size on ApplySize.
    LedMatrix m;
    main->Matrix = &m;
    main->ApplySize();
    QCOMPARE(m.LEDCountX(), 64);
    QCOMPARE(m.LEDCountY(), 128);
}

void TestDisplay::deriveSingleDigitRect_data()
{
    QTest::addColumn<TRect>("txt1");
    QTest::addColumn<TRect>("txt2");
    QTest::addColumn<TRect>("txt3");

    QTest::newRow("VFD1") << TRect(0, 0, 44, 55) << TRect(45, 0, 89, 55) << TRect(22, 0, 66, 55);
    QTest::newRow("moved down") << TRect(10, 8, 39, 47) << TRect(45, 3, 70, 40)
                                << TRect(27, 8, 56, 47);
    QTest::newRow("TXT2 left of TXT1: truncates toward zero")
        << TRect(45, 0, 89, 55) << TRect(0, 0, 44, 55) << TRect(23, 0, 67, 55);
}

void TestDisplay::deriveSingleDigitRect()
{
    QFETCH(TRect, txt1);
    QFETCH(TRect, txt2);
    QFETCH(TRect, txt3);
    TDisplay d(u"L"_s, 128, 64);
    d.AddRect(u"TXT1"_s, u"1"_s, txt1, true);
    d.AddRect(u"TXT2"_s, u"2"_s, txt2, true);
    TDisplayRect *t3 = d.AddRect(u"TXT3"_s, u"3"_s, TRect(100, 1, 120, 20), true);
    d.DeriveSingleDigitRect();
    QCOMPARE(t3->Rect, txt3);
    QCOMPARE(t3->SavedRect, txt3);
    QVERIFY(!t3->Active);

    // Without TXT2 nothing changes.
    TDisplay partial(u"P"_s, 128, 64);
    partial.AddRect(u"TXT1"_s, u"1"_s, txt1, true);
    TDisplayRect *p3 = partial.AddRect(u"TXT3"_s, u"3"_s, TRect(100, 1, 120, 20), true);
    partial.DeriveSingleDigitRect();
    QCOMPARE(p3->Rect, TRect(100, 1, 120, 20));
    QVERIFY(p3->Active);
}

void TestDisplay::nineLayouts()
{
    DisplayLayouts layouts(nullptr, nullptr);

    struct Region { const char *name; TRect rect; bool active; };
    struct Layout { const char *name; int w, h; std::vector<Region> regions; };
    const std::vector<Region> vfd1{{"TXT1", {0, 0, 44, 55}, true},     {"TXT2", {45, 0, 89, 55}, true},
                                   {"TXT3", {22, 0, 66, 55}, false},   {"PFEIL", {90, 0, 127, 29}, true},
                                   {"STABMP", {90, 30, 127, 46}, false}, {"ETABMP", {90, 47, 127, 55}, false},
                                   {"UHR", {0, 56, 127, 63}, false}};
    const std::vector<Region> vfd2{{"TXT1", {0, 0, 89, 111}, true},      {"TXT2", {90, 0, 179, 111}, true},
                                   {"TXT3", {45, 0, 134, 111}, false},   {"PFEIL", {190, 0, 255, 59}, true},
                                   {"STABMP", {190, 60, 255, 89}, false}, {"ETABMP", {190, 90, 255, 111}, false},
                                   {"UHR", {0, 112, 255, 127}, false}};
    const std::vector<Region> lcd1{{"TXT1", {0, 0, 84, 111}, true},      {"TXT2", {85, 0, 169, 111}, true},
                                   {"TXT3", {42, 0, 126, 111}, false},   {"PFEIL", {175, 0, 239, 69}, true},
                                   {"STABMP", {175, 70, 239, 89}, false}, {"ETABMP", {175, 90, 239, 111}, false},
                                   {"UHR", {0, 112, 239, 127}, false}};
    const std::vector<Region> klein1{{"TXT1", {51, 42, 70, 62}, true}, {"TXT2", {71, 42, 90, 62}, true},
                                     {"PFEIL", {92, 42, 110, 62}, true}, {"TXT3", {61, 42, 80, 62}, false}};
    const std::vector<Region> klein2{{"TXT1", {98, 82, 138, 125}, true}, {"TXT2", {139, 82, 179, 125}, true},
                                     {"TXT3", {118, 82, 158, 125}, false}, {"PFEIL", {186, 82, 226, 125}, true}};
    const std::vector<Layout> expected{
        {"VFD1", 128, 64, vfd1},
        {"VFD2", 256, 128, vfd2},
        {"LCD1", 240, 128, lcd1},
        {"Sonderzeichen_VFD1", 128, 64, {{"SONDERZEICHEN", {0, 0, 127, 63}, true}}},
        {"Sonderzeichen_VFD2", 256, 128, {{"SONDERZEICHEN", {0, 0, 255, 127}, true}}},
        {"Sonderzeichen_LCD1", 240, 128, {{"SONDERZEICHEN", {0, 0, 239, 127}, true}}},
        {"Klein_VFD1", 128, 64, klein1},
        {"Klein_VFD2", 256, 128, klein2},
        {"Klein_VFD2", 240, 128, klein2},
    };
    QCOMPARE(int(expected.size()), DisplayLayouts::Count);
    for (int i = 0; i < DisplayLayouts::Count; ++i) {
        const TDisplay *d = layouts.At(i);
        const Layout &e = expected[size_t(i)];
        const QByteArray where = QByteArray::number(i) + ' ' + e.name;
        QVERIFY2(d->Name == QLatin1String(e.name), where.constData());
        QVERIFY2(d->Width == e.w && d->Height == e.h, where.constData());
        QVERIFY2(!d->Vertical && !d->Matrix && !d->UserFont && d->Rows == 0 && d->Columns == 0,
                 where.constData());
        QVERIFY2(d->FontInfo, where.constData());
        QVERIFY2(d->Rects.size() == e.regions.size(), where.constData());
        for (size_t k = 0; k < e.regions.size(); ++k) {
            const TDisplayRect &r = *d->Rects[k];
            const Region &er = e.regions[k];
            const QByteArray at = where + " region " + er.name + ' ' + rectText(r.Rect);
            QVERIFY2(r.Name == QLatin1String(er.name), at.constData());
            QVERIFY2(r.Rect == er.rect && r.SavedRect == er.rect, at.constData());
            QVERIFY2(r.Active == er.active, at.constData());
            QVERIFY2(r.Bounds == TRect(0, 0, e.w - 1, e.h - 1), at.constData());
            QVERIFY2(!r.Caption.isEmpty(), at.constData());
        }
        // Floor text centred in the main and small-font layouts.
        if (i < 3 || i >= 6) {
            QCOMPARE(d->FontInfo->HorzAlign, 1);
            QCOMPARE(d->FontInfo->VertAlign, 1);
        }
    }
    const TDisplay *vfd = layouts.At(0);
    const QStringList captions{u"Etagentext (1)"_s, u"Etagentext (2)"_s, u"Etagentext (Einstellig)"_s,
                               u"Pfeil-Bitmap"_s,   u"Logo-Bitmap"_s,    u"Etagen-Bitmap"_s,
                               u"Datum/Uhrzeit"_s};
    for (int k = 0; k < captions.size(); ++k)
        QCOMPARE(vfd->Rects[size_t(k)]->Caption, captions[k]);
    QCOMPARE(layouts.At(3)->Rects[0]->Caption, u"Sonderzeichen"_s);
    QCOMPARE(layouts.At(8)->Rects[0]->Caption, u"EtagenText (1)"_s);
    QCOMPARE(layouts.At(6)->FindRect(u"TXT3"_s)->Caption, u"Etagentext (Einstellig)"_s);
    // The layouts own separate regions: changing one leaves the twin alone.
    layouts.At(7)->SetRect(u"TXT1"_s, TRect(1, 1, 9, 9));
    QCOMPARE(layouts.At(8)->GetRect(u"TXT1"_s), TRect(98, 82, 138, 125));
}

void TestDisplay::layoutRowsAndColumnsFromTheShippedFonts()
{
    QString error;
    const TUserFont small(QStringLiteral(ORV_BIN_DIR "/terminal1.fnt"), &error);
    QVERIFY2(!small.IsEmpty(), qPrintable(error));
    const TUserFont large(QStringLiteral(ORV_BIN_DIR "/terminal2.fnt"), &error);
    QVERIFY2(!large.IsEmpty(), qPrintable(error));
    DisplayLayouts layouts(&small, &large);

    struct Expect { int rows, columns; const TUserFont *font; };
    const Expect expect[DisplayLayouts::Count] = {
        {8, 21, &small}, {8, 23, &large}, {8, 21, &large},
        {8, 21, &small}, {8, 23, &large}, {8, 21, &large},
        {8, 21, &small}, {8, 23, &large}, {8, 21, &large},
    };
    for (int i = 0; i < DisplayLayouts::Count; ++i) {
        QCOMPARE(layouts.At(i)->Rows, expect[i].rows);
        QCOMPARE(layouts.At(i)->Columns, expect[i].columns);
        QCOMPARE(layouts.At(i)->UserFont, expect[i].font);
    }
    // Character row 7 is the clock region.
    QCOMPARE(7 * small.GlyphHeight, layouts.At(0)->GetRect(u"UHR"_s).Top);
    QCOMPARE(7 * large.GlyphHeight, layouts.At(2)->GetRect(u"UHR"_s).Top);
}

void TestDisplay::layoutsPerDisplayModel()
{
    DisplayLayouts layouts(nullptr, nullptr);
    struct Expect { DisplayModel model; int main, sonder, klein; };
    for (const Expect &e : {Expect{DisplayModel::Vfd128, 0, 3, 6}, Expect{DisplayModel::Lcd240, 2, 5, 8},
                            Expect{DisplayModel::Vfd256, 1, 4, 7}}) {
        QCOMPARE(layouts.Main(e.model), layouts.At(e.main));
        QCOMPARE(layouts.Sonder(e.model), layouts.At(e.sonder));
        QCOMPARE(layouts.Klein(e.model), layouts.At(e.klein));
    }
    QCOMPARE(int(DisplayModel::Vfd128), 0);
    QCOMPARE(int(DisplayModel::Lcd240), 1);
    QCOMPARE(int(DisplayModel::Vfd256), 2);
    QCOMPARE(layouts.Klein(DisplayModel::Lcd240)->Width, 240);
    const auto mains = layouts.MainLayouts();
    QCOMPARE(mains[1]->Name, u"VFD2"_s);
    QCOMPARE(layouts.SonderLayouts()[2]->Name, u"Sonderzeichen_LCD1"_s);
    QCOMPARE(layouts.KleinLayouts()[2]->Width, 240);
}

void TestDisplay::showRectsMarksExactlyTheActiveRegions()
{
    DisplayLayouts layouts(nullptr, nullptr);
    TDisplay *d = layouts.Main(DisplayModel::Vfd128);
    LedMatrix m;
    d->Matrix = &m;
    d->ApplySize();
    m.MarkRect(TRect(0, 60, 127, 63)); // an old mark ShowRects must remove
    d->SetRectActive(u"ETABMP"_s, true);
    d->ShowRects();

    const QList<TRect> active{d->GetRect(u"TXT1"_s), d->GetRect(u"TXT2"_s),
                              d->GetRect(u"PFEIL"_s), d->GetRect(u"ETABMP"_s)};
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 128; ++x) {
            bool inside = false;
            for (const TRect &r : active)
                inside = inside || (x >= r.Left && x <= r.Right && y >= r.Top && y <= r.Bottom);
            const quint32 mark = m.markRaster().pixel(x, y);
            QVERIFY2((mark == kOn) == inside, qPrintable(u"LED %1,%2"_s.arg(x).arg(y)));
        }
    }
    // Frame bits: the left edge of TXT1 starts at grid point (0, 0), none below the marks.
    QVERIFY(m.frameRaster().pixel(0, 0) & 0x01000000);
    QCOMPARE(m.frameRaster().pixel(0, 60) & 0x0F000000, 0u);
}

void TestDisplay::drawTextClearsAndStaysInsideTheRegion()
{
    TDisplay d(u"L"_s, 64, 32);
    d.AddRect(u"TXT1"_s, u"1"_s, TRect(10, 4, 29, 27), true);
    LedMatrix m;
    d.Matrix = &m;
    d.ApplySize();
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            m.setContentPixel(x, y, kOn);

    FontSpec font;
    font.Name = u"DejaVu Sans"_s;
    font.Size = 14;
    font.Color = 0xFFFFFF;
    d.DrawText(u"TXT1"_s, 2, 1, u"8"_s, font);
    int lit = 0;
    int inside = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 64; ++x) {
            const bool in = x >= 10 && x <= 29 && y >= 4 && y <= 27;
            const quint32 v = m.contentPixel(x, y);
            if (!in)
                QCOMPARE(v, kOn);
            else {
                ++inside;
                lit += v == kOn;
                QVERIFY(v == kOn || v == 0u);
            }
        }
    }
    QVERIFY(lit > 0);
    QVERIFY(lit < inside / 2);
    // Nothing to the left of the offset.
    for (int y = 4; y <= 27; ++y)
        for (int x = 10; x < 12; ++x)
            QCOMPARE(m.contentPixel(x, y), 0u);

    d.DrawText(u"absent"_s, 0, 0, u"8"_s, font); // nothing, no crash
}

QTEST_MAIN(TestDisplay)
#include "test_display.moc"
