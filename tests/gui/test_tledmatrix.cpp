// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/tledmatrix.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

class TestTLEDMATRIX : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sizeFollowsCore();
    void hoverSetsCursorFromCore_data();
    void hoverSetsCursorFromCore();
    void mouseSignalsCarryCoordinates();
    void paintShowsScreenRaster_data();
    void paintShowsScreenRaster();
    void hintShownAndHidden();
};

namespace {

QImage asRgb32(const QImage &img)
{
    QImage copy = img;
    if (copy.format() == QImage::Format_ARGB32)
        copy.reinterpretAsFormat(QImage::Format_RGB32);
    return copy.convertToFormat(QImage::Format_RGB32);
}

void sendMouse(QWidget *w, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    QMouseEvent ev(type, QPointF(pos), w->mapToGlobal(QPointF(pos)), button, buttons, mods);
    QApplication::sendEvent(w, &ev);
}

} // namespace

void TestTLEDMATRIX::sizeFollowsCore()
{
    TLEDMATRIX w;
    QCOMPARE(w.size(), QSize(21, 21));
    w.core().SetLEDCountX(256);
    w.core().SetLEDCountY(128);
    QCOMPARE(w.size(), QSize(513, 257));
    w.core().SetLEDSize(4);
    QCOMPARE(w.size(), QSize(1281, 641));
    QCOMPARE(w.minimumSize(), w.maximumSize());
    w.core().SetLEDDistance(0);
    QCOMPARE(w.size(), QSize(1024, 512));
    QCOMPARE(w.sizeHint(), QSize(1024, 512));
}

void TestTLEDMATRIX::hoverSetsCursorFromCore_data()
{
    QTest::addColumn<int>("shape");
    QTest::addColumn<int>("expected");
    QTest::newRow("arrow") << int(LedMatrix::CursorShape::Arrow) << int(Qt::ArrowCursor);
    QTest::newRow("nwse") << int(LedMatrix::CursorShape::SizeNWSE) << int(Qt::SizeFDiagCursor);
    QTest::newRow("nesw") << int(LedMatrix::CursorShape::SizeNESW) << int(Qt::SizeBDiagCursor);
    QTest::newRow("hand") << int(LedMatrix::CursorShape::PointingHand) << int(Qt::PointingHandCursor);
}

void TestTLEDMATRIX::hoverSetsCursorFromCore()
{
    QFETCH(int, shape);
    QFETCH(int, expected);
    TLEDMATRIX w;
    QVERIFY(w.hasMouseTracking());
    // The owner decides the shape from the position, as a layout's mouse editing does.
    int seenX = -1;
    connect(&w, &TLEDMATRIX::mouseMove, &w,
            [&](int x, int, Qt::MouseButtons buttons, Qt::KeyboardModifiers) {
                seenX = x;
                QCOMPARE(buttons, Qt::MouseButtons(Qt::NoButton));
                w.core().SetCursor(x > 10 ? LedMatrix::CursorShape(shape) : LedMatrix::CursorShape::Arrow);
            });
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // Start from a different shape so a change is visible.
    w.core().SetCursor(shape == int(LedMatrix::CursorShape::PointingHand) ? LedMatrix::CursorShape::Arrow
                                                                            : LedMatrix::CursorShape::PointingHand);
    sendMouse(&w, QEvent::MouseMove, QPoint(15, 3), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCOMPARE(seenX, 15);
    QCOMPARE(int(w.cursor().shape()), expected);
    sendMouse(&w, QEvent::MouseMove, QPoint(2, 3), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCOMPARE(int(w.cursor().shape()), int(Qt::ArrowCursor));
}

void TestTLEDMATRIX::mouseSignalsCarryCoordinates()
{
    TLEDMATRIX w;
    w.core().SetLEDCountX(40);
    w.core().SetLEDSize(3);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QSignalSpy down(&w, &TLEDMATRIX::mouseDown);
    QSignalSpy move(&w, &TLEDMATRIX::mouseMove);
    QSignalSpy up(&w, &TLEDMATRIX::mouseUp);

    QTest::mousePress(&w, Qt::LeftButton, Qt::ShiftModifier, QPoint(17, 9));
    QTest::mouseMove(&w, QPoint(30, 12));
    QTest::mouseRelease(&w, Qt::LeftButton, Qt::ShiftModifier, QPoint(31, 13));
    sendMouse(&w, QEvent::MouseButtonPress, QPoint(5, 6), Qt::RightButton, Qt::RightButton,
              Qt::ControlModifier);

    QCOMPARE(down.count(), 2);
    QCOMPARE(down.at(0).at(0).toInt(), 17);
    QCOMPARE(down.at(0).at(1).toInt(), 9);
    QCOMPARE(down.at(0).at(2).value<Qt::MouseButton>(), Qt::LeftButton);
    QCOMPARE(down.at(0).at(3).value<Qt::KeyboardModifiers>(), Qt::KeyboardModifiers(Qt::ShiftModifier));
    QCOMPARE(down.at(1).at(2).value<Qt::MouseButton>(), Qt::RightButton);
    QCOMPARE(down.at(1).at(3).value<Qt::KeyboardModifiers>(), Qt::KeyboardModifiers(Qt::ControlModifier));
    QVERIFY(!move.isEmpty());
    QCOMPARE(move.last().at(0).toInt(), 30);
    QCOMPARE(move.last().at(1).toInt(), 12);
    QCOMPARE(up.count(), 1);
    QCOMPARE(up.at(0).at(0).toInt(), 31);
    QCOMPARE(up.at(0).at(1).toInt(), 13);
    QCOMPARE(up.at(0).at(2).value<Qt::MouseButton>(), Qt::LeftButton);
    // Control pixels map to LEDs through the core.
    QCOMPARE(w.core().PixelToLED(17, 9), QPoint(4, 2));
}

void TestTLEDMATRIX::paintShowsScreenRaster_data()
{
    QTest::addColumn<int>("soften");
    QTest::newRow("plain") << 0;
    QTest::newRow("softened 2") << 2;
}

void TestTLEDMATRIX::paintShowsScreenRaster()
{
    QFETCH(int, soften);
    TLEDMATRIX w;
    LedMatrix &m = w.core();
    m.SetLEDCountX(24);
    m.SetLEDCountY(12);
    m.SetLEDSize(3);
    // Colours stored with alpha 0 must still show.
    m.SetColorBG(0x203040);
    m.SetColorOff(0x000080);
    m.SetFrameColor(0x00FF00);
    for (int x = 0; x < 24; x += 3)
        m.setContentPixel(x, x / 2, 0x00FFFFFF);
    m.setContentPixel(5, 5, 0x00808080);
    m.MarkRect(TRect(2, 2, 9, 6));
    m.SetSoftenOut(soften > 0);
    m.SetSoftenCount(soften);
    m.RedrawNow();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    const QImage shown = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage expected = asRgb32(m.Paint());
    QCOMPARE(shown.size(), expected.size());
    QCOMPARE(shown, expected);
    // Softening only changes what is shown, never the screen raster.
    if (soften > 0)
        QVERIFY(asRgb32(m.screenRaster()) != shown);
}

void TestTLEDMATRIX::hintShownAndHidden()
{
    TLEDMATRIX w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // No widget tooltip of its own, whatever the core's hint.
    w.core().SetHint(QStringLiteral("TXT1"));
    QVERIFY(w.toolTip().isEmpty());
    sendMouse(&w, QEvent::MouseMove, QPoint(5, 5), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    w.core().SetHintEnabled(true);
    QVERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), QStringLiteral("TXT1"));
    // A new hint while shown replaces the text.
    w.core().SetHint(QStringLiteral("PFEIL"));
    QCOMPARE(QToolTip::text(), QStringLiteral("PFEIL"));
    w.core().SetHintEnabled(false);
    QTRY_VERIFY(!QToolTip::isVisible());
    QVERIFY(w.toolTip().isEmpty());

    // A tooltip of another widget is not the matrix's to hide.
    QWidget other;
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    QToolTip::showText(other.mapToGlobal(QPoint(2, 2)), QStringLiteral("other"), &other);
    QVERIFY(QToolTip::isVisible());
    w.core().SetHint(QStringLiteral("UHR"));
    QTest::qWait(600); // hiding a tip takes effect after a delay
    QVERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), QStringLiteral("other"));
    QToolTip::hideText();
}

QTEST_MAIN(TestTLEDMATRIX)
#include "test_tledmatrix.moc"
