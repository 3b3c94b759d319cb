// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledmatrix/ledmatrix.h"

#include <QGuiApplication>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

#include <climits>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TRect)

namespace {

// Distinct colours, so every pixel tells where it came from.
constexpr QRgb kBG = 0x101010;
constexpr QRgb kOn = 0xF0F0F0;
constexpr QRgb kOff = 0x000080;
constexpr QRgb kUnk = 0x808000;
constexpr QRgb kBoxOn = 0xE0E0FF;
constexpr QRgb kBoxOff = 0x606060;
constexpr QRgb kBoxUnk = 0x00C0C0;
constexpr QRgb kFrame = 0x00FF00;

void setDistinctColours(LedMatrix &m)
{
    m.SetColorBG(kBG);
    m.SetColorOn(kOn);
    m.SetColorOff(kOff);
    m.SetColorUnk(kUnk);
    m.SetBoxColorOn(kBoxOn);
    m.SetBoxColorOff(kBoxOff);
    m.SetBoxColorUnk(kBoxUnk);
    m.SetFrameColor(kFrame);
}

quint32 px(const QImage &img, int x, int y)
{
    return reinterpret_cast<const quint32 *>(img.constScanLine(y))[x];
}

quint32 rawAt(const QImage &img, int x, int y)
{
    if (x < 0 || y < 0 || x >= img.width() || y >= img.height())
        return 0;
    return px(img, x, y);
}

// The screen the matrix must show for its current state rasters, built pixel by
// pixel from the geometry: LED squares, background, frame segments.
QImage referenceScreen(const LedMatrix &m)
{
    const int s = m.LEDSize();
    const int d = m.LEDDistance();
    const int p = s + d;
    QImage img(m.Width(), m.Height(), QImage::Format_ARGB32);
    img.fill(m.ColorBG());
    auto put = [&](int x, int y, quint32 v) {
        if (x >= 0 && y >= 0 && x < img.width() && y < img.height())
            reinterpret_cast<quint32 *>(img.scanLine(y))[x] = v;
    };
    if (d > 0) {
        for (int gy = 0; gy <= m.LEDCountY(); ++gy) {
            for (int gx = 0; gx <= m.LEDCountX(); ++gx) {
                const quint32 w = rawAt(m.frameRaster(), gx, gy);
                for (int j = 0; j <= s; ++j) {
                    if (w & 0x01000000u)
                        put(p * gx, p * gy + j, m.FrameColor());
                    if (w & 0x02000000u)
                        put(p * gx + j, p * gy, m.FrameColor());
                    if (w & 0x04000000u)
                        put(p * gx, p * gy - j, m.FrameColor());
                    if (w & 0x08000000u)
                        put(p * gx - j, p * gy, m.FrameColor());
                }
            }
        }
    }
    for (int y = 0; y < m.LEDCountY(); ++y) {
        for (int x = 0; x < m.LEDCountX(); ++x) {
            const quint32 v = m.contentPixel(x, y);
            const bool marked = rawAt(m.markRaster(), x, y) == 0x00FFFFFFu;
            QRgb c;
            if (v == 0)
                c = marked ? m.BoxColorOff() : m.ColorOff();
            else if (v == 0x00FFFFFFu)
                c = marked ? m.BoxColorOn() : m.ColorOn();
            else
                c = marked ? m.BoxColorUnk() : m.ColorUnk();
            for (int yy = p * y + d; yy < p * (y + 1); ++yy)
                for (int xx = p * x + d; xx < p * (x + 1); ++xx)
                    put(xx, yy, c);
        }
    }
    return img;
}

// First differing pixel, for readable failures.
QString firstDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return u"size %1x%2 vs %3x%4"_s.arg(a.width()).arg(a.height()).arg(b.width()).arg(b.height());
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (px(a, x, y) != px(b, x, y))
                return u"(%1,%2): %3 vs %4"_s.arg(x).arg(y).arg(px(a, x, y), 8, 16, QChar(u'0'))
                    .arg(px(b, x, y), 8, 16, QChar(u'0'));
    return QString();
}

QImage solid(int w, int h, quint32 v)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(v);
    return img;
}

// A source whose pixel (x, y) is 0xFF00xxyy: opaque, position-coded.
QImage coded(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            reinterpret_cast<quint32 *>(img.scanLine(y))[x] = 0xFF000000u | quint32(x << 8) | quint32(y);
    return img;
}

quint32 codedValue(int x, int y)
{
    return quint32(x << 8) | quint32(y);
}

FontSpec whiteFont(int size)
{
    FontSpec f;
    f.Name = u"DejaVu Sans"_s;
    f.Size = size;
    f.Bold = true;
    f.Color = 0xFFFFFF;
    return f;
}

} // namespace

class TestLedMatrix : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void constructionDefaults();
    void geometry_data();
    void geometry();
    void ledAndGridPixels_data();
    void ledAndGridPixels();
    void invalidPropertyValuesIgnored();
    void stateColours_data();
    void stateColours();
    void colourSettersDropAlpha();
    void overlappingMarkFrames();
    void noGapMeansNoFramesNorBackground();
    void convolveKnownCases_data();
    void convolveKnownCases();
    void convolveMatchesDefinition_data();
    void convolveMatchesDefinition();
    void paintSoftening();
    void paintKeepsEarlierImages();
    void writesAndReadsClipped();
    void pendingAreasAccumulate();
    void renderMatchesReference_data();
    void renderMatchesReference();
    void wideGapEdgesCleared();
    void ledCountChanges();
    void drawFontTextConfined_data();
    void drawFontTextConfined();
    void drawFontTextColours();
    void putBitmap_data();
    void putBitmap();
    void putBitmapClearsSourceAlpha();
    void getBitmap();
    void redrawSignalsAndEnaUpdate();
    void hintAndCursorSignalOnChange();
    void pixelToLED();
};

void TestLedMatrix::constructionDefaults()
{
    LedMatrix m;
    QCOMPARE(m.Width(), 21);
    QCOMPARE(m.Height(), 21);
    QCOMPARE(m.LEDCountX(), 10);
    QCOMPARE(m.LEDCountY(), 10);
    QCOMPARE(m.ColorOff(), QRgb(0x0000FF));
    QCOMPARE(m.BoxColorOff(), QRgb(0x7F7F7F));
    QCOMPARE(m.FrameColor(), QRgb(0x00FF00));
    QVERIFY(m.EnaUpdate());
    QVERIFY(!m.SoftenOut());
    QCOMPARE(m.SoftenCount(), 1);
    QCOMPARE(m.contentRaster().size(), QSize(10, 10));
    QCOMPARE(m.markRaster().size(), QSize(10, 10));
    QCOMPARE(m.frameRaster().size(), QSize(11, 11));
    // The constructor already rendered: black gaps, blue LEDs.
    QCOMPARE(m.screenRaster().size(), QSize(21, 21));
    QCOMPARE(px(m.screenRaster(), 0, 0), 0x000000u);
    QCOMPARE(px(m.screenRaster(), 1, 1), 0x0000FFu);
    QCOMPARE(px(m.screenRaster(), 20, 19), 0x000000u);
    QCOMPARE(px(m.screenRaster(), 19, 19), 0x0000FFu);
}

void TestLedMatrix::geometry_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("distance");
    QTest::addColumn<int>("countX");
    QTest::addColumn<int>("countY");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("10x10 default") << 1 << 1 << 10 << 10 << 21 << 21;
    QTest::newRow("240x128") << 1 << 1 << 240 << 128 << 481 << 257;
    QTest::newRow("256x128") << 1 << 1 << 256 << 128 << 513 << 257;
    QTest::newRow("128x64 size 4") << 4 << 1 << 128 << 64 << 641 << 321;
    QTest::newRow("256x128 size 6") << 6 << 1 << 256 << 128 << 1793 << 897;
    QTest::newRow("no gap") << 3 << 0 << 7 << 5 << 21 << 15;
    QTest::newRow("wide gap") << 2 << 3 << 4 << 2 << 23 << 13;
    QTest::newRow("upright") << 1 << 1 << 64 << 128 << 129 << 257;
}

void TestLedMatrix::geometry()
{
    QFETCH(int, size);
    QFETCH(int, distance);
    QFETCH(int, countX);
    QFETCH(int, countY);
    QFETCH(int, width);
    QFETCH(int, height);
    LedMatrix m;
    QSignalSpy sizes(&m, &LedMatrix::sizeChanged);
    m.SetLEDCountX(countX);
    m.SetLEDCountY(countY);
    m.SetLEDSize(size);
    m.SetLEDDistance(distance);
    QCOMPARE(m.Width(), width);
    QCOMPARE(m.Height(), height);
    QCOMPARE(m.screenRaster().size(), QSize(width, height));
    QCOMPARE(m.contentRaster().size(), QSize(countX, countY));
    QCOMPARE(m.frameRaster().size(), QSize(countX + 1, countY + 1));
    QVERIFY(!sizes.isEmpty() || (width == 21 && height == 21));
    if (!sizes.isEmpty()) {
        QCOMPARE(sizes.last().at(0).toInt(), width);
        QCOMPARE(sizes.last().at(1).toInt(), height);
    }
}

void TestLedMatrix::ledAndGridPixels_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("ledX");
    QTest::addColumn<int>("ledY");
    // LED (x, y) covers [p*x+1, p*(x+1)) on both axes; grid point (x, y) is (p*x, p*y).
    QTest::newRow("size 1, origin") << 1 << 0 << 0;
    QTest::newRow("size 1, inner") << 1 << 3 << 2;
    QTest::newRow("size 1, last") << 1 << 9 << 9;
    QTest::newRow("size 4, origin") << 4 << 0 << 0;
    QTest::newRow("size 4, inner") << 4 << 5 << 7;
    QTest::newRow("size 4, last") << 4 << 9 << 9;
}

void TestLedMatrix::ledAndGridPixels()
{
    QFETCH(int, size);
    QFETCH(int, ledX);
    QFETCH(int, ledY);
    LedMatrix m;
    setDistinctColours(m);
    m.SetLEDSize(size);
    m.setContentPixel(ledX, ledY, 0x00FFFFFF);
    m.Redraw();
    const QImage &s = m.screenRaster();
    const int p = size + 1;
    // The square of the lit LED, exactly size x size pixels.
    for (int y = p * ledY - 1; y <= p * (ledY + 1) + 1; ++y) {
        for (int x = p * ledX - 1; x <= p * (ledX + 1) + 1; ++x) {
            if (x < 0 || y < 0 || x >= m.Width() || y >= m.Height())
                continue;
            const bool inSquare = x >= p * ledX + 1 && x < p * (ledX + 1) && y >= p * ledY + 1
                && y < p * (ledY + 1);
            const bool onGrid = x % p == 0 || y % p == 0;
            const quint32 expected = inSquare ? kOn : (onGrid ? kBG : kOff);
            QVERIFY2(px(s, x, y) == expected, qPrintable(u"pixel %1,%2"_s.arg(x).arg(y)));
        }
    }
    // The last row and column of the control are gap pixels.
    QCOMPARE(px(s, m.Width() - 1, m.Height() - 1), quint32(kBG));
    QCOMPARE(px(s, 0, m.Height() - 1), quint32(kBG));
    // A mark on that LED: its grid point (p*x, p*y) and the opposite corner carry frame pixels.
    m.MarkRect(TRect(ledX, ledY, ledX, ledY));
    m.Redraw();
    QCOMPARE(px(s, p * ledX, p * ledY), quint32(kFrame));
    QCOMPARE(px(m.screenRaster(), p * ledX, p * ledY), quint32(kFrame));
    QCOMPARE(px(m.screenRaster(), p * (ledX + 1), p * (ledY + 1)), quint32(kFrame));
    QCOMPARE(px(m.screenRaster(), p * ledX + 1, p * ledY + 1), quint32(kBoxOn));
}

void TestLedMatrix::invalidPropertyValuesIgnored()
{
    LedMatrix m;
    m.SetLEDCountX(20);
    m.setContentPixel(3, 3, 0x00FFFFFF);
    QSignalSpy sizes(&m, &LedMatrix::sizeChanged);
    m.SetLEDSize(0);
    m.SetLEDSize(-2);
    m.SetLEDSize(1);      // equal
    m.SetLEDSize(256);    // not a byte
    m.SetLEDDistance(-1);
    m.SetLEDDistance(1);  // equal
    m.SetLEDCountX(0);
    m.SetLEDCountX(-5);
    m.SetLEDCountY(0);
    m.SetLEDCountX(100000); // a control side beyond what can be shown
    QCOMPARE(sizes.count(), 0);
    QCOMPARE(m.LEDSize(), 1);
    QCOMPARE(m.LEDDistance(), 1);
    QCOMPARE(m.LEDCountX(), 20);
    QCOMPARE(m.LEDCountY(), 10);
    QCOMPARE(m.contentPixel(3, 3), 0x00FFFFFFu);
    // A gap of 0 is a valid value.
    m.SetLEDDistance(0);
    QCOMPARE(m.LEDDistance(), 0);
    QCOMPARE(m.Width(), 20);
    QCOMPARE(sizes.count(), 1);
}

void TestLedMatrix::stateColours_data()
{
    QTest::addColumn<quint32>("content");
    QTest::addColumn<bool>("marked");
    QTest::addColumn<quint32>("colour");
    QTest::newRow("off") << 0x00000000u << false << quint32(kOff);
    QTest::newRow("on") << 0x00FFFFFFu << false << quint32(kOn);
    QTest::newRow("opaque white is unknown") << 0xFFFFFFFFu << false << quint32(kUnk);
    QTest::newRow("grey is unknown") << 0x00808080u << false << quint32(kUnk);
    QTest::newRow("alpha only is unknown") << 0xFF000000u << false << quint32(kUnk);
    QTest::newRow("red is unknown") << 0x00FF0000u << false << quint32(kUnk);
    QTest::newRow("marked off") << 0x00000000u << true << quint32(kBoxOff);
    QTest::newRow("marked on") << 0x00FFFFFFu << true << quint32(kBoxOn);
    QTest::newRow("marked opaque white") << 0xFFFFFFFFu << true << quint32(kBoxUnk);
    QTest::newRow("marked grey") << 0x00808080u << true << quint32(kBoxUnk);
}

void TestLedMatrix::stateColours()
{
    QFETCH(quint32, content);
    QFETCH(bool, marked);
    QFETCH(quint32, colour);
    for (int size : {1, 3}) {
        LedMatrix m;
        setDistinctColours(m);
        m.SetLEDSize(size);
        m.setContentPixel(4, 5, content);
        if (marked)
            m.MarkRect(TRect(3, 5, 4, 6));
        m.RedrawNow();
        const int p = size + 1;
        for (int dy = 0; dy < size; ++dy)
            for (int dx = 0; dx < size; ++dx)
                QCOMPARE(px(m.screenRaster(), p * 4 + 1 + dx, p * 5 + 1 + dy), colour);
        // The neighbour keeps the plain off colour unless it lies in the mark too.
        QCOMPARE(px(m.screenRaster(), p * 5 + 1, p * 5 + 1), quint32(kOff));
    }
}

void TestLedMatrix::colourSettersDropAlpha()
{
    LedMatrix m;
    m.SetColorBG(0xFF123456);
    m.SetColorOn(0x80FFFFFF);
    m.SetColorOff(0xFF0000FF);
    m.SetColorUnk(0xAA010203);
    m.SetBoxColorOn(0x01000001);
    m.SetBoxColorOff(0xFF7F7F7F);
    m.SetBoxColorUnk(0xFFFFFFFF);
    m.SetFrameColor(0xFF00FF00);
    QCOMPARE(m.ColorBG(), QRgb(0x123456));
    QCOMPARE(m.ColorOn(), QRgb(0xFFFFFF));
    QCOMPARE(m.ColorOff(), QRgb(0x0000FF));
    QCOMPARE(m.ColorUnk(), QRgb(0x010203));
    QCOMPARE(m.BoxColorOn(), QRgb(0x000001));
    QCOMPARE(m.BoxColorOff(), QRgb(0x7F7F7F));
    QCOMPARE(m.BoxColorUnk(), QRgb(0xFFFFFF));
    QCOMPARE(m.FrameColor(), QRgb(0x00FF00));
    // The screen raster carries the colours with alpha 0.
    QCOMPARE(px(m.screenRaster(), 0, 0), 0x00123456u);
    QCOMPARE(px(m.screenRaster(), 1, 1), 0x000000FFu);
}

void TestLedMatrix::overlappingMarkFrames()
{
    LedMatrix m;
    setDistinctColours(m);
    m.SetLEDCountX(6);
    m.SetLEDCountY(6);
    m.SetLEDSize(2); // pitch 3
    m.MarkRect(TRect(1, 1, 3, 2));
    m.MarkRect(TRect(2, 2, 4, 4));

    struct Word { int x, y; quint32 v; };
    const Word words[] = {
        {1, 1, 0x01FF0000}, {1, 2, 0x01FF0000},                      // A left
        {1, 3, 0x02FF0000}, {3, 3, 0x02FF0000},                      // A bottom
        {4, 3, 0x04FF0000},                                          // A right
        {2, 1, 0x08FF0000}, {3, 1, 0x08FF0000}, {4, 1, 0x08FF0000},  // A top
        {2, 3, 0x03FF0000},                                          // A bottom + B left
        {4, 2, 0x0CFF0000},                                          // A right + B top
        {2, 2, 0x01FF0000}, {2, 4, 0x01FF0000},                      // B left
        {2, 5, 0x02FF0000}, {3, 5, 0x02FF0000}, {4, 5, 0x02FF0000},  // B bottom
        {5, 3, 0x04FF0000}, {5, 4, 0x04FF0000}, {5, 5, 0x04FF0000},  // B right
        {3, 2, 0x08FF0000}, {5, 2, 0x08FF0000},                      // B top
    };
    for (int y = 0; y <= 6; ++y) {
        for (int x = 0; x <= 6; ++x) {
            quint32 expected = 0;
            for (const Word &w : words)
                if (w.x == x && w.y == y)
                    expected = w.v;
            QVERIFY2(px(m.frameRaster(), x, y) == expected, qPrintable(u"grid %1,%2"_s.arg(x).arg(y)));
        }
    }
    // Marked cells: the union of both rectangles.
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool in = (x >= 1 && x <= 3 && y >= 1 && y <= 2) || (x >= 2 && x <= 4 && y >= 2 && y <= 4);
            QCOMPARE(px(m.markRaster(), x, y), in ? 0x00FFFFFFu : 0u);
        }

    m.RedrawNow();
    const QImage &s = m.screenRaster();
    // Segments of grid point (2,3) = pixel (6,9): right (6..8, 9) and down (6, 9..11).
    for (int j = 0; j <= 2; ++j) {
        QCOMPARE(px(s, 6 + j, 9), quint32(kFrame));
        QCOMPARE(px(s, 6, 9 + j), quint32(kFrame));
    }
    // Grid point (4,2) = pixel (12,6): up (12, 4..6) and left (10..12, 6).
    for (int j = 0; j <= 2; ++j) {
        QCOMPARE(px(s, 12, 6 - j), quint32(kFrame));
        QCOMPARE(px(s, 12 - j, 6), quint32(kFrame));
    }
    // Gap pixels away from both outlines stay background.
    QCOMPARE(px(s, 0, 0), quint32(kBG));
    QCOMPARE(px(s, 0, 9), quint32(kBG));   // grid point (0,3), left of A's bottom edge
    QCOMPARE(px(s, 15, 3), quint32(kBG));  // grid point (5,1), right of A's top edge
    QCOMPARE(px(s, 18, 18), quint32(kBG)); // outside both
    QCOMPARE(firstDifference(s, referenceScreen(m)), QString());

    m.ClearMarks();
    m.RedrawNow();
    QCOMPARE(firstDifference(m.screenRaster(), referenceScreen(m)), QString());
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            QVERIFY(px(m.screenRaster(), x, y) != kFrame && px(m.screenRaster(), x, y) != kBoxOff);
}

void TestLedMatrix::noGapMeansNoFramesNorBackground()
{
    LedMatrix m;
    setDistinctColours(m);
    m.SetLEDSize(3);
    m.SetLEDDistance(0);
    m.setContentPixel(0, 0, 0x00FFFFFF);
    m.MarkRect(TRect(0, 0, 4, 4));
    m.RedrawNow();
    const QImage &s = m.screenRaster();
    QCOMPARE(s.size(), QSize(30, 30));
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 30; ++x) {
            const int lx = x / 3, ly = y / 3;
            quint32 expected = (lx < 5 && ly < 5) ? kBoxOff : kOff;
            if (lx == 0 && ly == 0)
                expected = kBoxOn;
            QVERIFY2(px(s, x, y) == expected, qPrintable(u"pixel %1,%2"_s.arg(x).arg(y)));
        }
    }
}

void TestLedMatrix::convolveKnownCases_data()
{
    QTest::addColumn<QImage>("input");
    QTest::addColumn<QImage>("expected");

    // A single coloured centre pixel on black: its eight neighbours get 2*c/16 each,
    // the centre (centre weight 0) becomes black; every written pixel has alpha 255.
    {
        QImage in = solid(5, 5, 0x00000000);
        reinterpret_cast<quint32 *>(in.scanLine(2))[2] = 0x00FF8010;
        QImage out = solid(5, 5, 0x00000000);
        for (int y = 1; y <= 3; ++y)
            for (int x = 1; x <= 3; ++x)
                reinterpret_cast<quint32 *>(out.scanLine(y))[x] = 0xFF1F1002; // 255/8, 128/8, 16/8
        reinterpret_cast<quint32 *>(out.scanLine(2))[2] = 0xFF000000;
        QTest::newRow("centre pixel") << in << out;
    }
    // A uniform raster stays uniform inside; border pixels keep their alpha-0 values.
    {
        const QImage in = solid(5, 5, 0x00646464);
        QImage out = solid(5, 5, 0x00646464);
        for (int y = 1; y <= 3; ++y)
            for (int x = 1; x <= 3; ++x)
                reinterpret_cast<quint32 *>(out.scanLine(y))[x] = 0xFF646464;
        QTest::newRow("uniform") << in << out;
    }
    // Full white: 8 * 2 * 255 / 16 = 255 exactly, no overflow into other channels.
    {
        const QImage in = solid(5, 5, 0x00FFFFFF);
        QImage out = solid(5, 5, 0x00FFFFFF);
        for (int y = 1; y <= 3; ++y)
            for (int x = 1; x <= 3; ++x)
                reinterpret_cast<quint32 *>(out.scanLine(y))[x] = 0xFFFFFFFF;
        QTest::newRow("white") << in << out;
    }
    // A bright left column (border, kept) feeds the inner column next to it:
    // 3 neighbours of 200 -> 3*2*200/16 = 75; further columns see none.
    {
        QImage in = solid(5, 5, 0);
        for (int y = 0; y < 5; ++y)
            reinterpret_cast<quint32 *>(in.scanLine(y))[0] = 0x00C80000;
        QImage out = in;
        for (int y = 1; y <= 3; ++y) {
            quint32 *line = reinterpret_cast<quint32 *>(out.scanLine(y));
            line[1] = 0xFF4B0000;
            line[2] = 0xFF000000;
            line[3] = 0xFF000000;
        }
        QTest::newRow("edge column") << in << out;
    }
    // Too small for an inner pixel: unchanged.
    QTest::newRow("2x2") << solid(2, 2, 0x00ABCDEF) << solid(2, 2, 0x00ABCDEF);
}

void TestLedMatrix::convolveKnownCases()
{
    QFETCH(QImage, input);
    QFETCH(QImage, expected);
    QImage img = input.copy();
    LedMatrix::Convolve3x3(img);
    QCOMPARE(firstDifference(img, expected), QString());
}

void TestLedMatrix::convolveMatchesDefinition_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<bool>("plain");
    // Widths around the four-pixel steps of the inner loops, on the wide and the
    // plain code path.
    for (bool plain : {false, true}) {
        const char *path = plain ? "plain" : "wide";
        for (int w : {3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 37, 64})
            QTest::addRow("%s %dx7", path, w) << w << 7 << quint32(w * 31 + 7) << plain;
        QTest::addRow("%s 3x3", path) << 3 << 3 << 5u << plain;
        QTest::addRow("%s 1x9", path) << 1 << 9 << 6u << plain;
        QTest::addRow("%s 130x3", path) << 130 << 3 << 8u << plain;
    }
}

void TestLedMatrix::convolveMatchesDefinition()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(quint32, seed);
    QFETCH(bool, plain);
    if (plain)
        qputenv("ORV_NO_AVX2", "1");
    const auto restore = qScopeGuard([] { qunsetenv("ORV_NO_AVX2"); });
    QRandomGenerator rng(seed);
    QImage img(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            reinterpret_cast<quint32 *>(img.scanLine(y))[x] = rng.generate();
    // Straight from the definition: weights 2 2 2 / 2 0 2 / 2 2 2, divisor 16,
    // clamped, alpha 255, border kept.
    static const int k[9] = {2, 2, 2, 2, 0, 2, 2, 2, 2};
    QImage expected = img.copy();
    for (int y = 1; y < height - 1; ++y) {
        for (int x = 1; x < width - 1; ++x) {
            quint32 v = 0xFF000000u;
            for (int ch = 0; ch < 3; ++ch) {
                int sum = 0;
                for (int i = 0; i < 9; ++i)
                    sum += k[i] * int((px(img, x - 1 + i % 3, y - 1 + i / 3) >> (8 * ch)) & 0xFF);
                v |= quint32(qBound(0, sum / 16, 255)) << (8 * ch);
            }
            reinterpret_cast<quint32 *>(expected.scanLine(y))[x] = v;
        }
    }
    LedMatrix::Convolve3x3(img);
    QCOMPARE(firstDifference(img, expected), QString());
}

void TestLedMatrix::paintSoftening()
{
    LedMatrix m;
    setDistinctColours(m);
    m.SetLEDSize(2);
    m.setContentPixel(2, 2, 0x00FFFFFF);
    m.MarkRect(TRect(1, 1, 3, 3));
    m.Redraw();
    const QImage before = m.screenRaster().copy();

    // Off: the screen raster itself.
    QCOMPARE(firstDifference(m.Paint(), before), QString());
    // On with 0 passes: unblurred.
    m.SetSoftenOut(true);
    m.SetSoftenCount(0);
    QCOMPARE(firstDifference(m.Paint(), before), QString());
    // On with n passes: n passes of Convolve3x3 on a copy; the screen raster stays.
    for (int passes : {1, 2, 3, 8, 9, 20}) {
        m.SetSoftenCount(passes);
        QImage expected = before.copy();
        for (int i = 0; i < passes; ++i)
            LedMatrix::Convolve3x3(expected);
        QCOMPARE(firstDifference(m.Paint(), expected), QString());
        QCOMPARE(firstDifference(m.screenRaster(), before), QString());
    }
}

void TestLedMatrix::paintKeepsEarlierImages()
{
    // An image returned by Paint stays as it was while later paints run.
    LedMatrix m;
    m.SetSoftenOut(true);
    m.SetSoftenCount(2);
    const QImage first = m.Paint();
    const QImage firstCopy = first.copy();
    m.setContentPixel(5, 5, 0x00FFFFFF);
    m.SetColorBG(0x00FF0000);
    const QImage second = m.Paint();
    QCOMPARE(firstDifference(first, firstCopy), QString());
    QVERIFY(!firstDifference(first, second).isEmpty());
    m.SetSoftenCount(3);
    const QImage third = m.Paint();
    QCOMPARE(firstDifference(first, firstCopy), QString());
    QVERIFY(!firstDifference(second, third).isEmpty());
}

void TestLedMatrix::writesAndReadsClipped()
{
    LedMatrix m;
    setDistinctColours(m);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            m.setContentPixel(x, y, 0x00FFFFFF);

    // Reads outside give 0, writes outside are dropped.
    QCOMPARE(m.contentPixel(-1, 0), 0u);
    QCOMPARE(m.contentPixel(10, 0), 0u);
    QCOMPARE(m.contentPixel(0, 10), 0u);
    QCOMPARE(m.contentPixel(INT_MIN, INT_MAX), 0u);
    m.setContentPixel(-1, -1, 0x123);
    m.setContentPixel(10, 3, 0x123);
    QCOMPARE(m.contentRaster().size(), QSize(10, 10));

    // ClearArea hanging over every edge clears only the cells on the matrix.
    m.ClearArea(TRect(-3, -2, 1, 0));
    m.ClearArea(TRect(8, 8, 50, 50));
    m.ClearArea(TRect(INT_MIN, 5, INT_MIN + 3, 5)); // entirely outside
    m.ClearArea(TRect(INT_MAX - 1, 0, INT_MAX, 9));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool cleared = (x <= 1 && y == 0) || (x >= 8 && y >= 8);
            QCOMPARE(m.contentPixel(x, y), cleared ? 0u : 0x00FFFFFFu);
        }
    QCOMPARE(firstDifference(m.screenRaster(), referenceScreen(m)), QString());

    // MarkRect over the edges: grid points beyond the frame raster are dropped,
    // those on it are set; no crash with extreme coordinates.
    m.MarkRect(TRect(-2, -2, 20, 20));
    m.MarkRect(TRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX));
    m.MarkRect(TRect(INT_MAX, INT_MAX, INT_MAX, INT_MAX));
    QCOMPARE(m.frameRaster().size(), QSize(11, 11));
    QCOMPARE(m.markRaster().size(), QSize(10, 10));
    QCOMPARE(px(m.markRaster(), 9, 9), 0x00FFFFFFu);
    QCOMPARE(px(m.markRaster(), 0, 0), 0x00FFFFFFu);
    m.Redraw();
    QCOMPARE(firstDifference(m.screenRaster(), referenceScreen(m)), QString());

    // A mark whose edges lie partly inside: left edge at column 8 is drawn, the
    // right edge at grid column 13 is dropped.
    LedMatrix n;
    n.MarkRect(TRect(8, 2, 12, 3));
    QCOMPARE(px(n.frameRaster(), 8, 2), 0x01FF0000u);
    QCOMPARE(px(n.frameRaster(), 8, 3), 0x01FF0000u);
    QCOMPARE(px(n.frameRaster(), 10, 4), 0x02FF0000u);
    QCOMPARE(px(n.frameRaster(), 10, 2), 0x08FF0000u);
    QCOMPARE(px(n.markRaster(), 9, 3), 0x00FFFFFFu);

    // GetBitmap reading beyond the matrix gives 0 there.
    QImage out;
    m.GetBitmap(TRect(-1, -1, 1, 1), out);
    QCOMPARE(out.size(), QSize(3, 3));
    QCOMPARE(px(out, 0, 0), 0u);
    QCOMPARE(px(out, 2, 0), 0u);
    QCOMPARE(px(out, 1, 1), 0u);          // (0,0) was cleared above
    QCOMPARE(px(out, 2, 2), 0x00FFFFFFu); // (1,1)
}

void TestLedMatrix::pendingAreasAccumulate()
{
    LedMatrix m;
    setDistinctColours(m);
    m.SetLEDCountX(20);
    m.SetLEDSize(2);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            m.setContentPixel(x, y, 0x00FFFFFF);
    m.Redraw();
    QCOMPARE(firstDifference(m.screenRaster(), referenceScreen(m)), QString());

    // Two cleared areas while updates are off: one later Redraw shows both.
    m.SetEnaUpdate(false);
    m.ClearArea(TRect(0, 0, 1, 1));
    m.ClearArea(TRect(10, 5, 12, 6));
    const QImage untouched = m.screenRaster().copy();
    QVERIFY(firstDifference(untouched, referenceScreen(m)).size() > 0);
    m.SetEnaUpdate(true);
    m.Redraw();
    QCOMPARE(firstDifference(m.screenRaster(), referenceScreen(m)), QString());

    // A text area and a cleared area, then a bitmap (untracked): all three show.
    m.SetEnaUpdate(false);
    m.DrawFontText(TRect(3, 3, 6, 8), 100, 100, whiteFont(8), u"X"_s); // text outside: all off
    m.ClearArea(TRect(19, 9, 19, 9)); // touches the corner: extra row and column clipped
    QImage bmp = solid(2, 2, 0x00808080);
    m.PutBitmap(bmp, TRect(15, 0, 16, 1), false);
    m.SetEnaUpdate(true);
    m.Redraw();
    QCOMPARE(m.contentPixel(4, 4), 0u);
    QCOMPARE(m.contentPixel(19, 9), 0u);
    QCOMPARE(m.contentPixel(15, 1), 0x00808080u);
    QCOMPARE(firstDifference(m.screenRaster(), referenceScreen(m)), QString());
}

void TestLedMatrix::renderMatchesReference_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::newRow("seed 1234") << 1234u;
    QTest::newRow("seed 99") << 99u;
    QTest::newRow("seed 7") << 7u;
}

void TestLedMatrix::renderMatchesReference()
{
    // Random operations with partial and full renders; after each visible redraw
    // the screen must equal the picture of the whole state.
    QFETCH(quint32, seed);
    QRandomGenerator rng(seed);
    LedMatrix m;
    setDistinctColours(m);
    m.SetLEDCountX(24);
    m.SetLEDCountY(12);
    m.SetSoftenOut(true);
    m.SetSoftenCount(2);
    auto rndRect = [&]() {
        const int l = rng.bounded(-3, 26);
        const int t = rng.bounded(-3, 14);
        return TRect(l, t, l + rng.bounded(0, 8), t + rng.bounded(0, 6));
    };
    int checked = 0;
    for (int step = 0; step < 400; ++step) {
        switch (rng.bounded(12)) {
        case 0:
        case 1:
            m.ClearArea(rndRect());
            break;
        case 2:
            m.MarkRect(rndRect());
            break;
        case 3:
            if (rng.bounded(4) == 0)
                m.ClearMarks();
            break;
        case 4: {
            QImage bmp = solid(rng.bounded(1, 6), rng.bounded(1, 6),
                               rng.bounded(2) ? 0xFFFFFFFFu : 0x00FFFFFFu);
            m.PutBitmap(bmp, rndRect(), rng.bounded(2) == 1);
            break;
        }
        case 5:
            m.setContentPixel(rng.bounded(-1, 25), rng.bounded(-1, 13),
                              rng.bounded(3) == 0 ? 0x00404040u : 0x00FFFFFFu);
            break;
        case 6:
            m.DrawFontText(rndRect(), rng.bounded(-2, 3), rng.bounded(-4, 2), whiteFont(9),
                           u"A8"_s);
            break;
        case 7:
            m.SetEnaUpdate(rng.bounded(3) != 0);
            break;
        case 8:
            m.SetLEDSize(rng.bounded(1, 5));
            break;
        case 9:
            m.SetLEDDistance(rng.bounded(0, 4));
            break;
        case 10:
            if (rng.bounded(2))
                m.SetFrameColor(rng.bounded(2) ? kFrame : 0x00FF00FF);
            else
                m.SetSoftenCount(rng.bounded(0, 4));
            break;
        default:
            m.RedrawNow();
            break;
        }
        if (m.EnaUpdate() && rng.bounded(2) == 0) {
            m.Redraw();
            QVERIFY2(firstDifference(m.screenRaster(), referenceScreen(m)).isEmpty(),
                     qPrintable(u"step %1: %2"_s.arg(step).arg(firstDifference(m.screenRaster(), referenceScreen(m)))));
            // The softened image, partly recomputed after small renders, equals the
            // passes over the whole screen raster.
            QImage softened = m.screenRaster().copy();
            for (int i = 0; m.SoftenOut() && i < m.SoftenCount(); ++i)
                LedMatrix::Convolve3x3(softened);
            QVERIFY2(firstDifference(m.Paint(), softened).isEmpty(),
                     qPrintable(u"step %1 softened: %2"_s.arg(step).arg(firstDifference(m.Paint(), softened))));
            ++checked;
        }
    }
    QVERIFY(checked > 100);
}

void TestLedMatrix::wideGapEdgesCleared()
{
    // With gaps wider than one pixel, frame segments from the last grid line reach
    // into the outermost gap pixels; removing the marks must clear them again.
    LedMatrix m;
    setDistinctColours(m);
    m.SetLEDDistance(3);
    m.SetLEDSize(2); // pitch 5, control 53 x 53
    m.SetSoftenOut(true);
    m.SetSoftenCount(1);
    m.MarkRect(TRect(7, 7, 12, 9));  // bottom edge on grid row 10, past the right edge
    m.MarkRect(TRect(10, 3, 12, 12)); // left edge on grid column 10, past the bottom
    m.RedrawNow();
    QCOMPARE(px(m.screenRaster(), 51, 50), quint32(kFrame)); // rightward from grid (10,10)
    QCOMPARE(px(m.screenRaster(), 50, 51), quint32(kFrame)); // downward from grid (10,10)
    (void)m.Paint();
    m.ClearMarks();
    m.RedrawNow();
    QCOMPARE(firstDifference(m.screenRaster(), referenceScreen(m)), QString());
    QImage softened = m.screenRaster().copy();
    LedMatrix::Convolve3x3(softened);
    QCOMPARE(firstDifference(m.Paint(), softened), QString());
}

void TestLedMatrix::ledCountChanges()
{
    LedMatrix m;
    m.setContentPixel(1, 1, 0x00FFFFFF);
    m.MarkRect(TRect(0, 0, 2, 2));
    m.SetLEDCountX(10); // same value: nothing erased
    m.SetLEDCountY(10);
    QCOMPARE(m.contentPixel(1, 1), 0x00FFFFFFu);
    QCOMPARE(px(m.markRaster(), 1, 1), 0x00FFFFFFu);
    QCOMPARE(px(m.frameRaster(), 0, 0), 0x01FF0000u);

    m.SetLEDCountX(12); // different: content, marks and frames erased
    QCOMPARE(m.contentRaster().size(), QSize(12, 10));
    QCOMPARE(m.frameRaster().size(), QSize(13, 11));
    QCOMPARE(m.contentPixel(1, 1), 0u);
    QCOMPARE(px(m.markRaster(), 1, 1), 0u);
    QCOMPARE(px(m.frameRaster(), 0, 0), 0u);
    QCOMPARE(m.Width(), 25);

    m.setContentPixel(1, 1, 0x00FFFFFF);
    m.SetLEDCountY(3);
    QCOMPARE(m.contentRaster().size(), QSize(12, 3));
    QCOMPARE(m.contentPixel(1, 1), 0u);
    QCOMPARE(m.Height(), 7);
    QCOMPARE(firstDifference(m.screenRaster(), referenceScreen(m)), QString());
}

void TestLedMatrix::drawFontTextConfined_data()
{
    QTest::addColumn<TRect>("rect");
    QTest::addColumn<int>("dx");
    QTest::addColumn<int>("dy");
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expectLit");
    QTest::newRow("1x1 rect, big text") << TRect(10, 10, 10, 10) << -3 << -10 << 40 << u"W"_s << true;
    QTest::newRow("region") << TRect(4, 2, 20, 17) << 0 << 0 << 12 << u"8"_s << true;
    QTest::newRow("shifted into rect") << TRect(4, 2, 20, 17) << 5 << -2 << 12 << u"E"_s << true;
    QTest::newRow("moved out right") << TRect(4, 2, 20, 17) << 40 << 0 << 12 << u"8"_s << false;
    QTest::newRow("moved out above") << TRect(4, 2, 20, 17) << 0 << -60 << 12 << u"8"_s << false;
    QTest::newRow("size 0 draws nothing") << TRect(4, 2, 20, 17) << 0 << 0 << 0 << u"8"_s << false;
    QTest::newRow("over the matrix edge") << TRect(-5, -5, 6, 6) << 3 << 0 << 12 << u"M"_s << true;
    QTest::newRow("over the far edge") << TRect(25, 15, 40, 40) << 0 << -2 << 12 << u"H"_s << true;
}

void TestLedMatrix::drawFontTextConfined()
{
    QFETCH(TRect, rect);
    QFETCH(int, dx);
    QFETCH(int, dy);
    QFETCH(int, size);
    QFETCH(QString, text);
    QFETCH(bool, expectLit);
    constexpr quint32 kSentinel = 0x00123456;
    LedMatrix m;
    m.SetLEDCountX(30);
    m.SetLEDCountY(20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x)
            m.setContentPixel(x, y, kSentinel);
    m.DrawFontText(rect, dx, dy, whiteFont(size), text);
    int lit = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 30; ++x) {
            const quint32 v = m.contentPixel(x, y);
            const bool inside = x >= rect.Left && x <= rect.Right && y >= rect.Top && y <= rect.Bottom;
            if (!inside) {
                QVERIFY2(v == kSentinel, qPrintable(u"written outside at %1,%2"_s.arg(x).arg(y)));
                continue;
            }
            // White text gives exactly on or off; every cell of the rectangle is overwritten.
            QVERIFY2(v == 0 || v == 0x00FFFFFFu, qPrintable(u"cell %1,%2 = %3"_s.arg(x).arg(y).arg(v, 0, 16)));
            lit += v != 0;
        }
    }
    QCOMPARE(lit > 0, expectLit);
}

void TestLedMatrix::drawFontTextColours()
{
    // The text is drawn at (dx, dy) from the rectangle's corner: comparing with a
    // drawing into a larger rectangle shifted by the same amount gives the same cells.
    LedMatrix a;
    a.SetLEDCountX(40);
    a.SetLEDCountY(30);
    a.DrawFontText(TRect(0, 0, 39, 29), 7, 5, whiteFont(14), u"5"_s);
    LedMatrix b;
    b.SetLEDCountX(40);
    b.SetLEDCountY(30);
    b.DrawFontText(TRect(7, 5, 39, 29), 0, 0, whiteFont(14), u"5"_s);
    QImage ia, ib;
    a.GetBitmap(TRect(0, 0, 39, 29), ia);
    b.GetBitmap(TRect(0, 0, 39, 29), ib);
    QCOMPARE(firstDifference(ia, ib), QString());

    // A red font gives unknown LEDs with the raw colour (alpha 0); black gives nothing.
    FontSpec red = whiteFont(14);
    red.Color = 0xFF0000;
    LedMatrix c;
    c.SetLEDCountX(40);
    c.SetLEDCountY(30);
    c.DrawFontText(TRect(0, 0, 39, 29), 2, 2, red, u"5"_s);
    int redCells = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const quint32 v = c.contentPixel(x, y);
            QVERIFY(v == 0 || v == 0x00FF0000u);
            redCells += v != 0;
        }
    QVERIFY(redCells > 0);
    FontSpec black = whiteFont(14);
    black.Color = 0x000000;
    c.DrawFontText(TRect(0, 0, 39, 29), 2, 2, black, u"5"_s);
    QImage ic;
    c.GetBitmap(TRect(0, 0, 39, 29), ic);
    QCOMPARE(firstDifference(ic, solid(40, 30, 0)), QString());
}

void TestLedMatrix::putBitmap_data()
{
    QTest::addColumn<QSize>("source");
    QTest::addColumn<TRect>("rect");
    QTest::addColumn<bool>("stretch");
    // Expected content for every cell of a 10 x 10 matrix prefilled with 0x00ABCDEF:
    // the source position sampled there, or (-1, -1) for unchanged.
    QTest::addColumn<QList<QPoint>>("samples");

    auto grid = [](auto fn) {
        QList<QPoint> s;
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                s.append(fn(x, y));
        return s;
    };
    const QPoint none(-1, -1);
    QTest::newRow("copy exact") << QSize(3, 2) << TRect(2, 4, 4, 5) << false << grid([&](int x, int y) {
        return (x >= 2 && x <= 4 && y >= 4 && y <= 5) ? QPoint(x - 2, y - 4) : none;
    });
    QTest::newRow("copy larger source: window only") << QSize(8, 8) << TRect(1, 1, 2, 3) << false
        << grid([&](int x, int y) {
               return (x >= 1 && x <= 2 && y >= 1 && y <= 3) ? QPoint(x - 1, y - 1) : none;
           });
    QTest::newRow("copy smaller source: rest kept") << QSize(2, 1) << TRect(5, 5, 8, 8) << false
        << grid([&](int x, int y) {
               return (x >= 5 && x <= 6 && y == 5) ? QPoint(x - 5, 0) : none;
           });
    QTest::newRow("copy over the edge") << QSize(4, 4) << TRect(-2, 8, 1, 11) << false
        << grid([&](int x, int y) {
               return (x <= 1 && y >= 8) ? QPoint(x + 2, y - 8) : none;
           });
    QTest::newRow("stretch 2x2 to 4x4") << QSize(2, 2) << TRect(0, 0, 3, 3) << true
        << grid([&](int x, int y) { return (x <= 3 && y <= 3) ? QPoint(x / 2, y / 2) : none; });
    QTest::newRow("shrink 5x3 to 2x2") << QSize(5, 3) << TRect(6, 6, 7, 7) << true
        << grid([&](int x, int y) {
               // x * 5 / 2 -> 0, 2; y * 3 / 2 -> 0, 1
               return (x >= 6 && x <= 7 && y >= 6 && y <= 7) ? QPoint((x - 6) * 5 / 2, (y - 6) * 3 / 2) : none;
           });
    QTest::newRow("stretch 3x1 to 7x2") << QSize(3, 1) << TRect(1, 0, 7, 1) << true
        << grid([&](int x, int y) {
               return (x >= 1 && x <= 7 && y <= 1) ? QPoint((x - 1) * 3 / 7, 0) : none;
           });
    QTest::newRow("stretch over the edge") << QSize(2, 2) << TRect(8, -2, 11, 1) << true
        << grid([&](int x, int y) {
               return (x >= 8 && y <= 1) ? QPoint((x - 8) / 2, (y + 2) / 2) : none;
           });
    QTest::newRow("empty rectangle") << QSize(2, 2) << TRect(3, 3, 2, 3) << true
        << grid([&](int, int) { return none; });
    QTest::newRow("empty source") << QSize(0, 0) << TRect(0, 0, 3, 3) << false
        << grid([&](int, int) { return none; });
}

void TestLedMatrix::putBitmap()
{
    QFETCH(QSize, source);
    QFETCH(TRect, rect);
    QFETCH(bool, stretch);
    QFETCH(QList<QPoint>, samples);
    constexpr quint32 kFill = 0x00ABCDEF;
    LedMatrix m;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            m.setContentPixel(x, y, kFill);
    QImage src = source.isEmpty() ? QImage() : coded(source.width(), source.height());
    m.PutBitmap(src, rect, stretch);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            const QPoint s = samples.at(y * 10 + x);
            const quint32 expected = s.x() < 0 ? kFill : codedValue(s.x(), s.y());
            QVERIFY2(m.contentPixel(x, y) == expected,
                     qPrintable(u"cell %1,%2 = %3, expected %4"_s.arg(x).arg(y)
                                    .arg(m.contentPixel(x, y), 0, 16).arg(expected, 0, 16)));
        }
    }
}

void TestLedMatrix::putBitmapClearsSourceAlpha()
{
    LedMatrix m;
    QImage src = solid(3, 3, 0xFFFFFFFF);
    reinterpret_cast<quint32 *>(src.scanLine(1))[1] = 0x80808080;
    m.PutBitmap(src, TRect(0, 0, 1, 1), false);
    // The caller's raster lost its alpha everywhere, also outside the copied window.
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            QCOMPARE(px(src, x, y), (x == 1 && y == 1) ? 0x00808080u : 0x00FFFFFFu);
    // Opaque white arrives as lit, not unknown.
    QCOMPARE(m.contentPixel(0, 0), 0x00FFFFFFu);
    QCOMPARE(m.contentPixel(1, 1), 0x00808080u);

    // Other formats are taken as their colours.
    QImage mono(2, 1, QImage::Format_Mono);
    mono.setColorTable({0xFF000000u, 0xFFFFFFFFu});
    mono.setPixel(0, 0, 1);
    mono.setPixel(1, 0, 0);
    m.PutBitmap(mono, TRect(5, 5, 6, 5), false);
    QCOMPARE(m.contentPixel(5, 5), 0x00FFFFFFu);
    QCOMPARE(m.contentPixel(6, 5), 0u);
    QImage rgb = solid(1, 1, 0).convertToFormat(QImage::Format_RGB32);
    rgb.fill(0xFFFFFFFFu);
    m.PutBitmap(rgb, TRect(7, 7, 7, 7), false);
    QCOMPARE(m.contentPixel(7, 7), 0x00FFFFFFu);
}

void TestLedMatrix::getBitmap()
{
    LedMatrix m;
    QImage src = coded(10, 10);
    m.PutBitmap(src, TRect(0, 0, 9, 9), false);
    m.setContentPixel(3, 4, 0xFFFFFFFF); // raw values come back unchanged
    QImage out = solid(1, 1, 0xDEADBEEF);
    m.GetBitmap(TRect(2, 3, 5, 4), out);
    QCOMPARE(out.size(), QSize(4, 2));
    QCOMPARE(out.format(), QImage::Format_ARGB32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            QCOMPARE(px(out, x, y), (x == 1 && y == 1) ? 0xFFFFFFFFu : codedValue(x + 2, y + 3));
    // An empty rectangle gives an empty raster.
    m.GetBitmap(TRect(5, 5, 4, 5), out);
    QVERIFY(out.isNull());
    // Entirely outside: the size asked for, all 0.
    m.GetBitmap(TRect(20, 20, 22, 21), out);
    QCOMPARE(firstDifference(out, solid(3, 2, 0)), QString());
}

void TestLedMatrix::redrawSignalsAndEnaUpdate()
{
    LedMatrix m;
    QSignalSpy later(&m, &LedMatrix::updateRequested);
    QSignalSpy now(&m, &LedMatrix::paintRequested);
    m.Redraw();
    m.RedrawNow();
    QCOMPARE(later.count(), 1);
    QCOMPARE(now.count(), 1);

    m.SetEnaUpdate(false);
    m.Redraw();
    m.RedrawNow();
    m.SetColorOn(0x00FF00);
    m.ClearAll();
    m.ClearArea(TRect(0, 0, 1, 1));
    QCOMPARE(later.count(), 1);
    QCOMPARE(now.count(), 1);

    // Marks and text draw nothing by themselves.
    m.SetEnaUpdate(true);
    later.clear();
    m.MarkRect(TRect(0, 0, 1, 1));
    m.ClearMarks();
    m.DrawFontText(TRect(0, 0, 3, 3), 0, 0, whiteFont(8), u"1"_s);
    QImage bmp = solid(1, 1, 0);
    m.PutBitmap(bmp, TRect(0, 0, 0, 0), false);
    m.SetSoftenOut(true);
    m.SetSoftenCount(2);
    QCOMPARE(later.count(), 0);
    // ClearAll and ClearArea redraw.
    m.ClearAll();
    m.ClearArea(TRect(0, 0, 0, 0));
    QCOMPARE(later.count(), 2);
}

void TestLedMatrix::hintAndCursorSignalOnChange()
{
    LedMatrix m;
    QSignalSpy hints(&m, &LedMatrix::hintChanged);
    QSignalSpy cursors(&m, &LedMatrix::cursorChanged);
    m.SetHint(u"TXT1"_s);
    m.SetHint(u"TXT1"_s);
    m.SetHintEnabled(true);
    m.SetHintEnabled(true);
    m.SetCursor(LedMatrix::CursorShape::SizeNWSE);
    m.SetCursor(LedMatrix::CursorShape::SizeNWSE);
    m.SetCursor(LedMatrix::CursorShape::Arrow);
    QCOMPARE(hints.count(), 2);
    QCOMPARE(cursors.count(), 2);
    QCOMPARE(m.Cursor(), LedMatrix::CursorShape::Arrow);
    QCOMPARE(m.Hint(), u"TXT1"_s);
}

void TestLedMatrix::pixelToLED()
{
    LedMatrix m;
    m.SetLEDCountX(256);
    m.SetLEDCountY(128);
    m.SetLEDSize(4);
    QCOMPARE(m.PixelToLED(0, 0), QPoint(0, 0));
    QCOMPARE(m.PixelToLED(4, 4), QPoint(0, 0));
    QCOMPARE(m.PixelToLED(5, 9), QPoint(1, 1));
    QCOMPARE(m.PixelToLED(1280, 640), QPoint(256, 128));
    QCOMPARE(m.PixelToLED(1279, 639), QPoint(255, 127));
}

QTEST_MAIN(TestLedMatrix)
#include "test_ledmatrix.moc"
