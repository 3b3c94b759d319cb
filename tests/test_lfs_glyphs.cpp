// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's glyph source: floor-text glyphs drawn through the layouts and the
// outline-font renderer, and a generator run with it.
#include "display/display.h"
#include "lfs/displayglyphsource.h"
#include "lfs/lfsgenerator.h"
#include "lfs/lfsparams.h"
#include "lfs/rasterencoding.h"
#include "ledmatrix/ledmatrix.h"
#include "project/projectrecord.h"

#include <QFontDatabase>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

ProjectRecord fontProject(bool autoSize)
{
    ProjectRecord p;
    p.DisplayModel = 1; // LCD 240 x 128
    p.FormatMark = 1;
    p.FloorCount = 5;
    p.CharsetChoice = 2;
    p.FloorFontName = QByteArray("DejaVu Sans");
    p.FloorFontSize = 30;
    p.AutoSize = autoSize;
    p.AlignCentre = true;
    p.AutoSizeChars = QByteArray("0123456789");
    auto &m = p.mainRegions(1);
    m[0].Rect = TRect(0, 0, 59, 79);
    m[1].Rect = TRect(64, 0, 123, 79);
    m[2].Rect = TRect(200, 0, 231, 31);
    m[3].Rect = TRect(130, 60, 239, 127);
    m[4].Rect = TRect(130, 0, 190, 50);
    m[5].Rect = TRect(0, 112, 239, 127);
    auto &s = p.smallRegions(1);
    s[0].Rect = TRect(0, 0, 11, 15);
    s[1].Rect = TRect(13, 0, 24, 15);
    s[2].Rect = TRect(30, 0, 45, 15);
    return p;
}

int litCount(const QImage &img)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += (img.pixel(x, y) & 0x00FFFFFFu) ? 1 : 0;
    return n;
}

int leftmostLit(const QImage &img)
{
    for (int x = 0; x < img.width(); ++x)
        for (int y = 0; y < img.height(); ++y)
            if (img.pixel(x, y) & 0x00FFFFFFu)
                return x;
    return -1;
}

} // namespace

class TestLfsGlyphs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void fittedGlyphs();
    void fixedSizeWithOffsets();
    void showsGlyphsOnGivenMatrices();
    void emptyCellIsAnError();
    void generatorRun();
};

void TestLfsGlyphs::initTestCase()
{
    if (!QFontDatabase::families().contains(u"DejaVu Sans"_s))
        QSKIP("DejaVu Sans is not installed");
}

void TestLfsGlyphs::fittedGlyphs()
{
    DisplayGlyphSource source;
    const ProjectRecord p = fontProject(true);
    QString error;
    QVERIFY(source.Prepare(p, QSize(60, 80), QSize(12, 16), &error));
    QCOMPARE(source.LargeLayout()->Name, u"Display1"_s);
    QCOMPARE(source.SmallLayout()->Name, u"Display2"_s);

    const QImage space = source.Render(LfsGlyphSource::Font::Large, ' ');
    QCOMPARE(space.size(), QSize(60, 80));
    QCOMPARE(litCount(space), 0);

    const QImage eight = source.Render(LfsGlyphSource::Font::Large, '8');
    QCOMPARE(eight.size(), QSize(60, 80));
    QVERIFY(litCount(eight) > 100);
    // Only LED values: lit pixels are exactly 0x00FFFFFF.
    for (int y = 0; y < eight.height(); ++y)
        for (int x = 0; x < eight.width(); ++x)
            QVERIFY(eight.pixel(x, y) == 0u || eight.pixel(x, y) == 0x00FFFFFFu);

    // The half sign and the dollar sign are different glyphs.
    const QImage half = source.Render(LfsGlyphSource::Font::Large, 0xBD);
    const QImage dollar = source.Render(LfsGlyphSource::Font::Large, '$');
    QVERIFY(litCount(half) > 0);
    QVERIFY(half != dollar);

    // Rendering is repeatable, and the small font is fitted to its own cell.
    QCOMPARE(source.Render(LfsGlyphSource::Font::Large, '8'), eight);
    const QImage small = source.Render(LfsGlyphSource::Font::Small, '8');
    QCOMPARE(small.size(), QSize(12, 16));
    QVERIFY(litCount(small) > 10);

    source.Finish();
    QVERIFY(!source.LargeLayout());
    QVERIFY(source.Render(LfsGlyphSource::Font::Large, '8').isNull());
}

void TestLfsGlyphs::fixedSizeWithOffsets()
{
    ProjectRecord p = fontProject(false);
    DisplayGlyphSource a, b;
    QVERIFY(a.Prepare(p, QSize(60, 80), QSize(12, 16), nullptr));
    p.FloorTextOffsetX = 5;
    QVERIFY(b.Prepare(p, QSize(60, 80), QSize(12, 16), nullptr));
    const QImage at0 = a.Render(LfsGlyphSource::Font::Large, '1');
    const QImage at5 = b.Render(LfsGlyphSource::Font::Large, '1');
    QVERIFY(litCount(at0) > 0);
    QCOMPARE(leftmostLit(at5), leftmostLit(at0) + 5);
    // The small font ignores the fixed size and offsets: it is always fitted.
    QCOMPARE(a.Render(LfsGlyphSource::Font::Small, '1'), b.Render(LfsGlyphSource::Font::Small, '1'));
}

void TestLfsGlyphs::showsGlyphsOnGivenMatrices()
{
    LedMatrix led1, led2;
    DisplayGlyphSource source;
    source.SetMatrices(&led1, &led2);
    int shown = 0;
    source.SetGlyphShown([&] { ++shown; });
    QVERIFY(source.Prepare(fontProject(true), QSize(60, 80), QSize(12, 16), nullptr));
    QCOMPARE(led1.LEDCountX(), 60);
    QCOMPARE(led2.LEDCountY(), 16);
    const QImage g = source.Render(LfsGlyphSource::Font::Large, '4');
    QCOMPARE(shown, 1);
    QImage onMatrix;
    led1.GetBitmap(TRect(0, 0, 59, 79), onMatrix);
    QCOMPARE(onMatrix, g);
}

void TestLfsGlyphs::emptyCellIsAnError()
{
    DisplayGlyphSource source;
    QString error;
    QVERIFY(!source.Prepare(fontProject(true), QSize(0, 80), QSize(12, 16), &error));
    QVERIFY(!error.isEmpty());
}

void TestLfsGlyphs::generatorRun()
{
    QTemporaryDir dir;
    LfsGenerator gen;
    DisplayGlyphSource source;
    gen.SetGlyphSource(&source);
    gen.ProgramFolder = QStringLiteral(ORV_BIN_DIR); // the stand-in templates
    gen.OutputFileName = dir.filePath(u"lcd.lfs"_s);
    gen.ProjectCopy = fontProject(true);
    const LfsGenerator::Outcome out = gen.Run();
    QVERIFY2(out.Success, qPrintable(gen.Report.Lines().join(u'\n')));
    QCOMPARE(gen.Report.Count(), 3);
    QFile f(gen.OutputFileName);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray file = f.readAll();
    QCOMPARE(file.size(), 131118);
    LfsParams prm;
    QVERIFY(prm.FromBytes(file.mid(46, 198)));
    QCOMPARE(int(prm.LargeGlyphCount), 91);
    QCOMPARE(int(prm.LargeGlyphBytes), PaddedSize(60, 80));
    const QByteArray data = file.mid(46 + 198);
    const int g = prm.LargeGlyphBytes;
    QCOMPARE(data.mid(0, g), QByteArray(g, '\0')); // space
    QVERIFY(data.mid(('8' - 32) * g, g).count('\0') < g);
    QVERIFY(data.mid(('z' - 32) * g, g).count('\0') < g);
}

QTEST_MAIN(TestLfsGlyphs)
#include "test_lfs_glyphs.moc"
