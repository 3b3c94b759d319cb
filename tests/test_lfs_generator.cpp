// SPDX-License-Identifier: GPL-3.0-or-later
// The flash file generator end to end, with a synthetic glyph source so that the
// bytes do not depend on the installed fonts.
#include "lfs/crc16.h"
#include "lfs/lfsgenerator.h"
#include "lfs/lfsglyphsource.h"
#include "lfs/lfsheaders.h"
#include "lfs/lfsparams.h"
#include "lfs/rasterencoding.h"
#include "project/bitmappacking.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

constexpr int kTemplateRoom = 12288;

/// Draws (0, 0) and (code mod width, height - 1) of each cell; remembers what it
/// was asked for.
class SyntheticGlyphs : public LfsGlyphSource
{
public:
    bool Prepare(const ProjectRecord &, QSize largeCell, QSize smallCell, QString *error) override
    {
        ++prepared;
        large = largeCell;
        small = smallCell;
        if (!failWith.isEmpty()) {
            *error = failWith;
            return false;
        }
        return true;
    }

    QImage Render(Font font, uchar code) override
    {
        (font == Font::Large ? largeCodes : smallCodes).append(code);
        QSize cell = font == Font::Large ? large : small;
        if (font == Font::Large && code == oddSizedCode)
            cell += QSize(8, 0);
        if (font == Font::Small && code == shortSmallCode)
            cell -= QSize(0, 1);
        return Cell(cell, code);
    }

    void Finish() override { ++finished; }

    static QImage Cell(QSize cell, uchar code)
    {
        QImage img(cell, QImage::Format_ARGB32);
        img.fill(0u);
        if (!cell.isEmpty()) {
            img.setPixel(0, 0, 0x00FFFFFF);
            img.setPixel(code % cell.width(), cell.height() - 1, 0x00FFFFFF);
        }
        return img;
    }

    QSize large, small;
    QList<uchar> largeCodes, smallCodes;
    QString failWith;
    int oddSizedCode = -1;
    int shortSmallCode = -1;
    int prepared = 0;
    int finished = 0;
};

QImage raster(int w, int h, std::initializer_list<QPoint> lit)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(0u);
    for (const QPoint &p : lit)
        img.setPixel(p, 0x00FFFFFF);
    return img;
}

BitmapRecord record(int w, int h, std::initializer_list<QPoint> lit)
{
    return BitmapRecordFromImage(raster(w, h, lit));
}

void setRegion(RegionRecord &r, int l, int t, int rr, int b)
{
    r.Rect = TRect(l, t, rr, b);
    r.Active = true;
}

/// VFD 128 x 64, two-character floor text, 5 floors, digits and symbols only,
/// nothing else shown.
ProjectRecord baseProject(int model = 0)
{
    ProjectRecord p;
    p.DisplayModel = quint8(model);
    p.FormatMark = 1;
    p.FloorCount = 5;
    p.FloorTextDigits = 0;
    p.CharsetChoice = 0;
    p.FloorFontName = QByteArray("DejaVu Sans");
    p.FloorFontSize = 40;
    p.AutoSize = true;
    auto &m = p.mainRegions(model);
    setRegion(m[0], 0, 0, 20, 31);    // TXT1 21 x 32 -> 96 bytes
    setRegion(m[1], 24, 0, 44, 31);   // TXT2, gap 3
    setRegion(m[2], 100, 0, 115, 15); // PFEIL 16 x 16 -> 32
    setRegion(m[3], 100, 40, 127, 63); // STABMP 28 x 24 -> 96
    setRegion(m[4], 50, 0, 90, 30);   // ETABMP 41 x 31 -> 186
    setRegion(m[5], 0, 56, 99, 63);   // UHR
    auto &s = p.smallRegions(model);
    setRegion(s[0], 0, 0, 7, 9);   // small TXT1 8 x 10 -> 10
    setRegion(s[1], 8, 0, 15, 9);  // small TXT2, gap 0
    setRegion(s[2], 20, 0, 27, 7); // small PFEIL 8 x 8 -> 8
    for (int k = 0; k < 10; ++k)
        p.specialStates(model)[size_t(k)].Text = QByteArray("Zustand ") + QByteArray::number(k + 1);
    const char *months[] = {"Jan", "Feb", "M\xe4r", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
    for (int i = 0; i < 12; ++i)
        p.MonthNames[size_t(i)] = QByteArray(months[i]);
    return p;
}

QByteArray pattern(int length, char seed)
{
    QByteArray b(length, '\0');
    for (int i = 0; i < length; ++i)
        b[i] = char(seed + i * 13);
    return b;
}

struct Fixture
{
    QTemporaryDir dir;
    SyntheticGlyphs glyphs;
    LfsGenerator gen;
    QByteArray flash1 = pattern(8000, 1);
    QByteArray flash2 = pattern(kTemplateRoom - 8000, 2);
    QByteArray flash2V = pattern(kTemplateRoom - 8000, 3);
    QByteArray statVfd1 = pattern(3000, 4);
    QByteArray statVfd2 = pattern(1097, 5);
    QByteArray statLcd1 = pattern(1000, 6);
    QByteArray statLcd2 = pattern(281, 7);
    QDateTime clock = QDateTime(QDate(2005, 3, 7), QTime(14, 25));

    Fixture()
    {
        writeTemplate("flash1.dat", flash1);
        writeTemplate("flash2.dat", flash2);
        writeTemplate("flash2V.dat", flash2V);
        writeTemplate("stat_vfd1.dat", statVfd1);
        writeTemplate("stat_vfd2.dat", statVfd2);
        writeTemplate("stat_lcd1.dat", statLcd1);
        writeTemplate("stat_lcd2.dat", statLcd2);
        gen.ProgramFolder = dir.path();
        gen.OutputFileName = dir.filePath(u"out/vfd_128x64_Haus.lfs"_s);
        QDir(dir.path()).mkpath(u"out"_s);
        gen.SetGlyphSource(&glyphs);
        gen.SetClock([this] { return clock; });
        gen.ProjectCopy = baseProject();
    }

    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

    void writeTemplate(const char *name, const QByteArray &bytes)
    {
        QFile f(path(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QByteArray output() const
    {
        QFile f(gen.OutputFileName);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

LfsParams paramsOf(const QByteArray &file)
{
    LfsParams p;
    p.FromBytes(file.mid(24 + 22, 198));
    return p;
}

QByteArray dataOf(const QByteArray &file, qsizetype n)
{
    return file.mid(24 + 22 + 198, n);
}

quint8 byteAt(const QByteArray &b, qsizetype i)
{
    return quint8(b.at(i));
}

} // namespace

class TestLfsGenerator : public QObject
{
    Q_OBJECT

private slots:
    void standInTemplatesHaveTheirLengths();
    void plainProjectLayout();
    void fullProjectLayout();
    void specialSlotRules_data();
    void specialSlotRules();
    void charsetCounts_data();
    void charsetCounts();
    void dollarBecomesHalfSign();
    void overlapWarnings_data();
    void overlapWarnings();
    void cellGaps_data();
    void cellGaps();
    void flashExactFitAndOverflow();
    void invalidFlashSizes_data();
    void invalidFlashSizes();
    void missingTemplates_data();
    void missingTemplates();
    void templateLengths_data();
    void templateLengths();
    void failureKeepsOldFile();
    void unwritableOutput();
    void glyphSourceFailures();
    void uprightMounting();
    void staticVariant();
    void staticVariantUpright();
    void staticVariantChoice_data();
    void staticVariantChoice();
    void staticMissingTemplate();
    void runsDifferOnlyInDatesAndCrc();
};

void TestLfsGenerator::standInTemplatesHaveTheirLengths()
{
    const QDir bin(QStringLiteral(ORV_BIN_DIR));
    const auto size = [&](const char *n) { return QFileInfo(bin.filePath(QString::fromLatin1(n))).size(); };
    QCOMPARE(size("flash1.dat") + size("flash2.dat"), qint64(kTemplateRoom));
    QCOMPARE(size("flash1.dat") + size("flash2V.dat"), qint64(kTemplateRoom));
    QCOMPARE(size("stat_vfd1.dat") + size("stat_vfd2.dat"), qint64(4097));
    QCOMPARE(size("stat_lcd1.dat") + size("stat_lcd2.dat"), qint64(1281));
}

void TestLfsGenerator::plainProjectLayout()
{
    Fixture f;
    const LfsGenerator::Outcome out = f.gen.Run();
    QVERIFY2(out.Success, qPrintable(f.gen.Report.Lines().join(u'\n')));
    QCOMPARE(f.gen.Report.Lines(),
             QStringList({u"Erstelle "_s + f.gen.OutputFileName, QString(62, u'-'), u"Erfolg: Die Datei wurde erzeugt"_s}));
    QVERIFY(!out.WarningBox);
    QVERIFY(!out.Static);

    const QByteArray file = f.output();
    QCOMPARE(file.size(), 131118);
    QCOMPARE(file.left(16).toHex(' '), QByteArray::fromHex("cccc01a52e000200160002000310 0000").toHex(' '));
    QCOMPARE(file.mid(16, 4).toHex(), QByteArray("993b537d"));
    QCOMPARE(file.mid(22, 2).toHex(), QByteArray("feff"));
    const QByteArray image = file.mid(24);
    QCOMPARE(image.left(16).toHex(' '), QByteArray::fromHex("04001600000002 00cccccccccccc0000").toHex(' '));
    QCOMPARE(image.mid(16, 4).toHex(), QByteArray("993b537d"));
    QCOMPARE(qFromLittleEndian<quint16>(file.constData() + 20), Crc16::Arc(image));

    const LfsParams p = paramsOf(file);
    QCOMPARE(image.mid(22, 8).toHex(' '), QByteArray("00 7d 03 00 00 00 a5 01"));
    QCOMPARE(p.LargeGlyphBytes, quint16(96));
    QCOMPARE(p.SmallGlyphBytes, quint16(10));
    QCOMPARE(p.LargeArrowBytes, quint16(0));
    QCOMPARE(p.LogoBytes, quint16(0));
    QCOMPARE(p.FloorBitmapBytes, quint16(0));
    QCOMPARE(p.SpecialBitmapBytes, quint16(0));
    QCOMPARE(p.Word50, quint16(2));
    QCOMPARE(p.LargeCellGap, quint8(3));
    QCOMPARE(p.SmallCellGap, quint8(0));
    QCOMPARE(p.LargeGlyphCount, quint8(26));
    QCOMPARE(p.SmallGlyphCount, quint8(26));
    QCOMPARE(p.LargeArrowCount + p.SmallArrowCount + p.LogoCount + p.FloorBitmapCount, 0);
    QCOMPARE(p.SpecialBitmapCount, quint8(10));
    const QByteArray pb = image.mid(22, 198);
    const QList<int> ones = {15, 65, 66, 67, 82, 85};
    for (int o = 8; o < 126; ++o) {
        if (o == 17)
            QCOMPARE(byteAt(pb, o), quint8(32));
        else if (o == 33 || o == 34)
            QCOMPARE(byteAt(pb, o), quint8(80));
        else if (o == 84)
            QCOMPARE(byteAt(pb, o), quint8(6));
        else if (ones.contains(o))
            QCOMPARE(byteAt(pb, o), quint8(1));
        else if (o < 36 || o > 62)
            QVERIFY2(byteAt(pb, o) == 0, qPrintable(QString::number(o)));
    }
    QCOMPARE(pb.mid(126, 12).toHex(' '), QByteArray("01 00 00 15 20 00 01 00 00 08 0a 00"));
    QCOMPARE(pb.mid(138).count('\0'), 60); // boxes 2..11 empty

    // Data: 26 large glyphs, 26 small ones, two zero bytes and the tables.
    const qsizetype n = 26 * 96 + 26 * 10 + 2 + 200 + 22 + 24 * 23;
    const QByteArray data = dataOf(file, n);
    QCOMPARE(f.glyphs.largeCodes.size(), 26);
    const QByteArray glyph33 = data.mid(96, 96);
    QCOMPARE(glyph33, EncodeRaster(SyntheticGlyphs::Cell(QSize(21, 32), 33)));
    QCOMPARE(byteAt(glyph33, 0), quint8(0x80));
    QCOMPARE(byteAt(glyph33, 31 * 3 + 1), quint8(0x08)); // (33 mod 21 = 12, 31)
    QCOMPARE(data.mid(26 * 96 + 10, 10), EncodeRaster(SyntheticGlyphs::Cell(QSize(8, 10), 33)));
    const qsizetype tables = 26 * 96 + 26 * 10;
    QCOMPARE(data.mid(tables, 202), QByteArray(202, '\0')); // zero bytes + floor table
    QCOMPARE(data.mid(tables + 202, 22).toHex(' '),
             QByteArray("00 01 02 03 04 05 06 07 08 09 0a 00 00 00 00 00 00 00 00 00 00 00"));
    const QByteArray text = data.mid(tables + 224);
    QCOMPARE(text.left(23), QByteArray(23, '\0'));
    // Flash state 4 is project state 9.
    QCOMPARE(text.mid(4 * 23, 23), QByteArray("Zustand 9") + QByteArray(12, '\0') + " " + QByteArray(1, '\0'));
    QCOMPARE(text.mid(13 * 23, 4), QByteArray("M\xe4r\0", 4));
    QCOMPARE(text.mid(23 * 23, 23), QByteArray("Spielwaren") + QByteArray(13, '\0'));

    // Zero fill up to the templates, then the templates whole.
    QCOMPARE(image.mid(220 + n, 118784 - 198 - n).count('\0'), 118784 - 198 - n);
    QCOMPARE(image.mid(22 + 118784), f.flash1 + f.flash2);
    QCOMPARE(f.glyphs.prepared, 1);
    QCOMPARE(f.glyphs.finished, 1);
}

void TestLfsGenerator::fullProjectLayout()
{
    Fixture f;
    ProjectRecord &p = f.gen.ProjectCopy;
    p.ShowArrows = p.ShowLogo = p.ShowFloorBitmaps = p.ShowTextLines = p.ShowDateTime = true;
    p.ShowWhileMoving = true;
    p.InfraredReceiver = true;
    p.Reserved2 = 0x1234;
    p.FirstTextLine = 1;
    p.LastTextLine = 2;
    p.arrows(0)[0] = record(16, 16, {{0, 0}});   // down
    p.arrows(0)[1] = record(16, 16, {{15, 0}});  // up
    p.smallArrows(0)[0] = record(8, 8, {{1, 0}});
    p.smallArrows(0)[1] = record(8, 8, {{2, 0}});
    p.logo(0) = record(28, 24, {{27, 23}});
    p.floorBitmaps(0)[0] = record(41, 31, {{0, 0}});  // row 1 -> slot 4
    p.floorBitmaps(0)[2] = record(41, 31, {{1, 0}});  // row 3 -> slot 2
    p.floorBitmaps(0)[9] = record(41, 31, {{2, 0}});  // row 10: beyond the 5 floors, still reserved
    p.FloorTexts[1][0] = QByteArray("Oben");
    p.FloorTexts[2][0] = QByteArray("Zweite Zeile");
    p.FloorTexts[1][4] = QByteArray("Unten");

    const LfsGenerator::Outcome out = f.gen.Run();
    QVERIFY2(out.Success, qPrintable(f.gen.Report.Lines().join(u'\n')));
    QCOMPARE(f.gen.Report.Count(), 3);

    const QByteArray file = f.output();
    QCOMPARE(file.size(), 131118);
    const LfsParams prm = paramsOf(file);
    QCOMPARE(prm.LargeArrowBytes, quint16(32));
    QCOMPARE(prm.SmallArrowBytes, quint16(8));
    QCOMPARE(prm.LogoBytes, quint16(96));
    QCOMPARE(prm.FloorBitmapBytes, quint16(186));
    QCOMPARE(prm.FloorBitmapCount, quint8(2));
    QCOMPARE(prm.LargeArrowCount, quint8(2));
    QCOMPARE(prm.SmallArrowCount, quint8(2));
    QCOMPARE(prm.LogoCount, quint8(1));
    const QByteArray pb = file.mid(46, 198);
    for (int o : {35, 63, 69, 70, 72, 73, 77, 87})
        QVERIFY2(byteAt(pb, o) == 1, qPrintable(QString::number(o)));
    QCOMPARE(byteAt(pb, 64), quint8(0x34));
    QCOMPARE(byteAt(pb, 83), quint8(0));
    QCOMPARE(byteAt(pb, 86), quint8(2));
    QCOMPARE(pb.mid(144, 6).toHex(' '), QByteArray("01 64 28 1c 18 00"));
    QCOMPARE(pb.mid(150, 6).toHex(' '), QByteArray("01 32 00 29 1f 00"));
    QCOMPARE(pb.mid(156, 6).toHex(' '), QByteArray("00 00 00 00 00 00"));
    QCOMPARE(pb.mid(168, 12).toHex(' '), QByteArray("01 64 00 10 10 00 01 14 00 08 08 00"));

    const qsizetype glyphs = 26 * 96 + 26 * 10;
    const qsizetype arrows = 2 * 32 + 2 * 8;
    const qsizetype floors = 3 * 186; // the slot of row 10 is reserved
    const qsizetype textEntries = 23 + 5 * 2 + 1;
    const qsizetype n = glyphs + arrows + 96 + floors + 2 + 200 + 22 + textEntries * 23;
    const QByteArray data = dataOf(file, n);
    // Arrows: large up, large down, small up, small down.
    QCOMPARE(byteAt(data, glyphs), quint8(0x00));
    QCOMPARE(byteAt(data, glyphs + 1), quint8(0x01)); // up: (15, 0)
    QCOMPARE(byteAt(data, glyphs + 32), quint8(0x80)); // down: (0, 0)
    QCOMPARE(byteAt(data, glyphs + 64), quint8(0x20)); // small up: (2, 0)
    QCOMPARE(byteAt(data, glyphs + 72), quint8(0x40)); // small down: (1, 0)
    const qsizetype logoAt = glyphs + arrows;
    QCOMPARE(data.mid(logoAt, 96), EncodeRaster(raster(28, 24, {{27, 23}})));
    const qsizetype floorAt = logoAt + 96;
    QCOMPARE(byteAt(data, floorAt), quint8(0x80));       // row 1 first
    QCOMPARE(byteAt(data, floorAt + 186), quint8(0x40)); // then row 3
    const qsizetype tablesAt = floorAt + 2 * 186;
    // The reserved slot of row 10 is not written: the tables follow the two bitmaps
    // and the section ends with the reserved bytes, zero.
    QCOMPARE(data.mid(tablesAt, 2), QByteArray(2, '\0'));
    const QByteArray floorTable = data.mid(tablesAt + 2, 200);
    QCOMPARE(byteAt(floorTable, 8), quint8(1));  // slot 4 = row 1: bitmap 1
    QCOMPARE(byteAt(floorTable, 4), quint8(2));  // slot 2 = row 3: bitmap 2
    QCOMPARE(byteAt(floorTable, 9), quint8(24)); // row 1's lines from entry 23
    QCOMPARE(byteAt(floorTable, 7), quint8(26)); // row 2
    QCOMPARE(byteAt(floorTable, 1), quint8(32)); // row 5 = slot 0
    QCOMPARE(floorTable.mid(10).count('\0'), 190);
    const QByteArray text = data.mid(tablesAt + 224, textEntries * 23);
    QCOMPARE(text.mid(23 * 23, 23), QByteArray("Oben") + QByteArray(19, '\0'));
    QCOMPARE(text.mid(24 * 23, 23), QByteArray("Zweite Zeile") + QByteArray(11, '\0'));
    QCOMPARE(text.mid(31 * 23, 23), QByteArray("Unten") + QByteArray(18, '\0'));
    QCOMPARE(text.mid(33 * 23, 23), QByteArray("Spielwaren") + QByteArray(13, '\0'));
    QCOMPARE(data.mid(tablesAt + 224 + textEntries * 23), QByteArray(186, '\0'));
    QCOMPARE(file.mid(24 + 220 + n, 10), QByteArray(10, '\0'));
}

void TestLfsGenerator::specialSlotRules_data()
{
    QTest::addColumn<bool>("bitmapsOnly");
    QTest::newRow("smallest slot") << false;
    QTest::newRow("largest slot") << true;
}

void TestLfsGenerator::specialSlotRules()
{
    QFETCH(bool, bitmapsOnly);
    Fixture f;
    ProjectRecord &p = f.gen.ProjectCopy;
    p.SpecialBitmapsOnly = bitmapsOnly;
    const QImage b8 = raster(8, 8, {{0, 0}, {7, 7}});       // 8 bytes
    const QImage b64a = raster(64, 8, {{63, 0}, {0, 7}});   // 64 bytes
    const QImage b64b = raster(32, 16, {{31, 1}, {0, 15}}); // 64 bytes
    auto &states = p.specialStates(0);
    states[0].Bitmap = BitmapRecordFromImage(b8);   // flash state 1
    states[1].Bitmap = BitmapRecordFromImage(b64a); // flash state 2
    states[3].Bitmap = BitmapRecordFromImage(b64b); // project state 4 = flash state 5
    states[5].Text = QByteArray("nur Text");        // project 6 = flash 7, no bitmap

    QVERIFY(f.gen.Run().Success);
    const QByteArray file = f.output();
    const LfsParams prm = paramsOf(file);
    const int slot = bitmapsOnly ? 64 : 8;
    QCOMPARE(int(prm.SpecialBitmapBytes), slot);
    const QByteArray box5 = file.mid(46 + 156, 6);
    QCOMPARE(box5.toHex(' '), bitmapsOnly ? QByteArray("01 00 00 40 08 00") : QByteArray("01 00 00 08 08 00"));

    const qsizetype glyphs = 26 * 96 + 26 * 10;
    const qsizetype n = glyphs + 10 * slot + 2 + 200 + 22 + 24 * 23;
    const QByteArray data = dataOf(file, n);
    const auto slotOf = [&](int k) { return data.mid(glyphs + (k - 1) * slot, slot); };
    const auto fitted = [&](const QImage &img) -> QByteArray {
        QByteArray e = EncodeRaster(img).left(slot);
        return e + QByteArray(slot - e.size(), '\0');
    };
    QCOMPARE(slotOf(1), fitted(b8));
    QCOMPARE(slotOf(2), fitted(b64a));
    QCOMPARE(slotOf(5), fitted(b64b));
    for (int k : {3, 4, 6, 7, 8, 9, 10})
        QCOMPARE(slotOf(k), QByteArray(slot, '\0'));
    if (bitmapsOnly)
        QCOMPARE(slotOf(1).mid(8), QByteArray(56, '\0'));

    const QByteArray stateTable = data.mid(glyphs + 10 * slot + 202, 22);
    const char mark = bitmapsOnly ? 2 : 1;
    QCOMPARE(stateTable.mid(12, 10), QByteArray() + mark + mark + '\0' + '\0' + mark + QByteArray(5, '\0'));
    // The text-only state still has its entry.
    QCOMPARE(data.mid(glyphs + 10 * slot + 224 + 7 * 23, 8), QByteArray("nur Text"));
    // No warnings for cut special-state bitmaps.
    QCOMPARE(f.gen.Report.Count(), 3);
}

void TestLfsGenerator::charsetCounts_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<int>("count");
    QTest::newRow("digits and symbols") << 0 << 26;
    QTest::newRow("with capitals") << 1 << 59;
    QTest::newRow("with small letters") << 2 << 91;
    QTest::newRow("unknown choice") << 7 << 0;
}

void TestLfsGenerator::charsetCounts()
{
    QFETCH(int, choice);
    QFETCH(int, count);
    Fixture f;
    f.gen.ProjectCopy.CharsetChoice = choice;
    QVERIFY(f.gen.Run().Success);
    const LfsParams prm = paramsOf(f.output());
    QCOMPARE(int(prm.LargeGlyphCount), count);
    QCOMPARE(int(prm.SmallGlyphCount), count);
    QCOMPARE(f.glyphs.largeCodes.size(), count);
    QCOMPARE(f.glyphs.smallCodes, f.glyphs.largeCodes);
    for (int i = 0; i < count; ++i)
        QCOMPARE(int(f.glyphs.largeCodes[i]), i + 32 == 36 ? 0xBD : i + 32);
    // The tables follow the glyphs directly.
    const QByteArray data = dataOf(f.output(), count * 106 + 224 + 24 * 23);
    QCOMPARE(data.mid(count * 106 + 202, 3).toHex(), QByteArray("000102"));
}

void TestLfsGenerator::dollarBecomesHalfSign()
{
    Fixture f;
    f.glyphs.oddSizedCode = 0xBD;
    f.glyphs.shortSmallCode = '0';
    const LfsGenerator::Outcome out = f.gen.Run();
    QVERIFY(out.Success);
    QVERIFY(out.WarningBox);
    QCOMPARE(f.gen.Report.Lines().at(1), u"Warnung: Bitmap-Grösse (Grosser Font, Zeichen=$) musste aufgefüllt werden."_s);
    QCOMPARE(f.gen.Report.Lines().at(2), u"Warnung: Bitmap-Grösse (Kleiner Font, Zeichen=0) musste aufgefüllt werden."_s);
    QCOMPARE(f.gen.Report.Count(), 5);
    // The too-wide glyph is cut to its slot; its neighbours are in place.
    const QByteArray data = dataOf(f.output(), 26 * 96);
    QCOMPARE(data.mid(4 * 96, 96), EncodeRaster(SyntheticGlyphs::Cell(QSize(29, 32), 0xBD)).left(96));
    QCOMPARE(data.mid(5 * 96, 96), EncodeRaster(SyntheticGlyphs::Cell(QSize(21, 32), 37)));
}

void TestLfsGenerator::overlapWarnings_data()
{
    QTest::addColumn<int>("digits");
    QTest::addColumn<TRect>("pfeil");
    QTest::addColumn<TRect>("logo");
    QTest::addColumn<TRect>("floor");
    QTest::addColumn<QStringList>("warnings");
    const TRect farA(100, 0, 115, 15), farB(100, 40, 127, 63), farC(50, 0, 90, 30);
    QTest::newRow("none") << 0 << farA << farB << farC << QStringList();
    QTest::newRow("arrow on logo, corners touch") << 0 << TRect(90, 30, 100, 40) << farB << TRect(50, 0, 80, 20)
                                                  << QStringList{u"Pfeil und Logobitmap Überschneidung"_s};
    QTest::newRow("arrow on floor bitmap") << 0 << TRect(90, 30, 99, 39) << farB << farC
                                           << QStringList{u"Pfeil und Etagenbitmap Überschneidung"_s};
    QTest::newRow("logo on floor bitmap") << 0 << farA << TRect(60, 20, 99, 50) << farC
                                          << QStringList{u"Etagen- und Logobitmap Überschneidung"_s};
    QTest::newRow("arrow on second character") << 0 << TRect(40, 20, 50, 35) << farB << TRect(60, 0, 90, 30)
                                               << QStringList{u"Pfeil und Etagentext Überschneidung"_s};
    QTest::newRow("second character hidden with one digit") << 1 << TRect(30, 0, 40, 10) << farB << farC
                                                            << QStringList();
    QTest::newRow("first character with one digit: all three")
        << 1 << TRect(0, 0, 5, 5) << TRect(10, 10, 15, 15) << TRect(18, 30, 22, 40)
        << QStringList{u"Pfeil und Etagentext Überschneidung"_s, u"Logobitmap und Etagentext Überschneidung"_s,
                       u"Etagenbitmap und Etagentext Überschneidung"_s};
    QTest::newRow("no floor text") << 2 << TRect(0, 0, 5, 5) << TRect(10, 10, 15, 15) << TRect(18, 31, 22, 40)
                                   << QStringList();
}

void TestLfsGenerator::overlapWarnings()
{
    QFETCH(int, digits);
    QFETCH(TRect, pfeil);
    QFETCH(TRect, logo);
    QFETCH(TRect, floor);
    QFETCH(QStringList, warnings);
    Fixture f;
    ProjectRecord &p = f.gen.ProjectCopy;
    p.FloorTextDigits = quint8(digits);
    p.ShowArrows = p.ShowLogo = p.ShowFloorBitmaps = true;
    p.mainRegions(0)[2].Rect = pfeil;
    p.mainRegions(0)[3].Rect = logo;
    p.mainRegions(0)[4].Rect = floor;
    const LfsGenerator::Outcome out = f.gen.Run();
    QVERIFY(out.Success);
    QStringList got;
    for (const QString &line : f.gen.Report.Lines())
        if (line.startsWith(u"Warnung: "_s) && line.contains(u"Überschneidung"_s))
            got.append(line.mid(9));
    QCOMPARE(got, warnings);
}

void TestLfsGenerator::cellGaps_data()
{
    QTest::addColumn<int>("digits");
    QTest::addColumn<TRect>("txt2");
    QTest::addColumn<TRect>("smallTxt2");
    QTest::addColumn<bool>("success");
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("largeGap");
    QTest::addColumn<int>("smallGap");
    const TRect smallOk(8, 0, 15, 9);
    const TRect smallBad(6, 0, 13, 9);          // gap -2
    QTest::newRow("one digit: negative gap stored") << 1 << TRect(18, 0, 38, 31) << smallOk << true << QString()
                                                    << 0xFD << 0;
    QTest::newRow("two digits: error") << 0 << TRect(18, 0, 38, 31) << smallOk << false
                                       << u"FEHLER: Pixelabstand der Etagentext-Rechtecke (grosser Font)=-3, muss aber >=0 sein!"_s
                                       << -1 << -1;
    QTest::newRow("small gap error") << 0 << TRect(21, 0, 41, 31) << smallBad << false
                                     << u"FEHLER: Pixelabstand der Etagentext-Rechtecke (kleiner Font)=-2, muss aber >=0 sein!"_s
                                     << -1 << -1;
    QTest::newRow("both negative: only the large one") << 0 << TRect(18, 0, 38, 31) << smallBad << false
                                                       << u"FEHLER: Pixelabstand der Etagentext-Rechtecke (grosser Font)=-3, muss aber >=0 sein!"_s
                                                       << -1 << -1;
    QTest::newRow("touching cells, gap 0") << 0 << TRect(21, 0, 41, 31) << smallOk << true << QString() << 0 << 0;
    QTest::newRow("no floor text") << 2 << TRect(18, 0, 38, 31) << smallBad << true << QString() << 0xFD << 0xFE;
}

void TestLfsGenerator::cellGaps()
{
    QFETCH(int, digits);
    QFETCH(TRect, txt2);
    QFETCH(TRect, smallTxt2);
    QFETCH(bool, success);
    QFETCH(QString, error);
    QFETCH(int, largeGap);
    QFETCH(int, smallGap);
    Fixture f;
    ProjectRecord &p = f.gen.ProjectCopy;
    p.FloorTextDigits = quint8(digits);
    // TXT1 ends at column 20 in the fixture; move it to end at 20 + 24 = 44 for the
    // worked example "ends at 44, next starts at 42".
    p.mainRegions(0)[0].Rect = TRect(24, 0, 44, 31);
    p.mainRegions(0)[1].Rect = TRect(txt2.Left + 24, txt2.Top, txt2.Right + 24, txt2.Bottom);
    p.smallRegions(0)[1].Rect = smallTxt2;
    const LfsGenerator::Outcome out = f.gen.Run();
    QCOMPARE(out.Success, success);
    if (!success) {
        QCOMPARE(f.gen.Report.Lines().at(1), error);
        QCOMPARE(f.gen.Report.Lines().last(), u"Kein Erfolg: Es sind Fehler aufgetreten"_s);
        QVERIFY(!QFileInfo::exists(f.gen.OutputFileName));
        QCOMPARE(out.BinfileSize, qint64(198));
        QVERIFY(!out.WarningBox);
        return;
    }
    const LfsParams prm = paramsOf(f.output());
    QCOMPARE(int(prm.LargeCellGap), largeGap);
    QCOMPARE(int(prm.SmallCellGap), smallGap);
    if (digits == 1)
        QCOMPARE(byteAt(f.output(), 46 + 85), quint8(0));
    if (digits == 2)
        QCOMPARE(f.output().mid(46 + 126, 6).toHex(' '), QByteArray("00 18 00 15 20 00"));
}

void TestLfsGenerator::flashExactFitAndOverflow()
{
    const qsizetype n = 26 * 96 + 26 * 10 + 2 + 200 + 22 + 24 * 23;
    {
        Fixture f;
        f.gen.FlashSizeData = 198 + int(n);
        f.gen.FlashSize = f.gen.FlashSizeData + kTemplateRoom;
        const LfsGenerator::Outcome out = f.gen.Run();
        QVERIFY(out.Success);
        QCOMPARE(out.BinfileSize, qint64(198 + n));
        const QByteArray file = f.output();
        QCOMPARE(file.size(), 24 + 22 + f.gen.FlashSize);
        QCOMPARE(file.mid(24 + 220 + n), f.flash1 + f.flash2); // no zero fill
    }
    {
        Fixture f;
        f.gen.FlashSizeData = 197 + int(n);
        f.gen.FlashSize = f.gen.FlashSizeData + kTemplateRoom;
        const LfsGenerator::Outcome out = f.gen.Run();
        QVERIFY(!out.Success);
        QVERIFY(out.Overflow);
        QCOMPARE(out.BinfileSize, qint64(198 + n));
        QCOMPARE(out.MessageBox, u"Datei konnte nicht erstellt werden.\r\n\r\nFlash-Speicher um 1 Bytes überschritten!"_s);
        QCOMPARE(f.gen.Report.Lines().mid(1),
                 QStringList({u"FEHLER: Datei konnte nicht erstellt werden."_s, QString(),
                              u"Flash-Speicher um 1 Bytes überschritten!"_s, QString(62, u'-'),
                              u"Kein Erfolg: Es sind Fehler aufgetreten"_s}));
        QVERIFY(!QFileInfo::exists(f.gen.OutputFileName));
    }
}

void TestLfsGenerator::invalidFlashSizes_data()
{
    QTest::addColumn<int>("flashSize");
    QTest::addColumn<int>("flashSizeData");
    QTest::addColumn<QString>("setting");
    QTest::newRow("zero flash") << 0 << 118784 << u"FLASHSIZE=0"_s;
    QTest::newRow("negative flash") << -131072 << 118784 << u"FLASHSIZE=-131072"_s;
    QTest::newRow("absurd flash") << 0x7FFFFFFF << 118784 << u"FLASHSIZE=2147483647"_s;
    QTest::newRow("data larger than flash") << 131072 << 131073 << u"FLASHSIZE_DATA=131073"_s;
    QTest::newRow("no room for the parameter block") << 131072 << 197 << u"FLASHSIZE_DATA=197"_s;
    QTest::newRow("negative data") << 131072 << -1 << u"FLASHSIZE_DATA=-1"_s;
}

void TestLfsGenerator::invalidFlashSizes()
{
    QFETCH(int, flashSize);
    QFETCH(int, flashSizeData);
    QFETCH(QString, setting);
    Fixture f;
    f.gen.FlashSize = flashSize;
    f.gen.FlashSizeData = flashSizeData;
    const LfsGenerator::Outcome out = f.gen.Run();
    QVERIFY(!out.Success);
    const QString line = f.gen.Report.Lines().at(1);
    QVERIFY2(line.startsWith(u"FEHLER: Einstellung "_s + setting), qPrintable(line));
    QCOMPARE(f.glyphs.prepared, 0);
    QVERIFY(!QFileInfo::exists(f.gen.OutputFileName));
}

void TestLfsGenerator::missingTemplates_data()
{
    QTest::addColumn<QString>("missing");
    QTest::addColumn<bool>("upright");
    QTest::addColumn<QString>("suffix");
    QTest::newRow("flash1") << u"flash1.dat"_s << false << u" existiert nicht !"_s;
    QTest::newRow("flash2") << u"flash2.dat"_s << false << u" existiert nicht"_s;
    QTest::newRow("flash2V when upright") << u"flash2V.dat"_s << true << u" existiert nicht"_s;
}

void TestLfsGenerator::missingTemplates()
{
    QFETCH(QString, missing);
    QFETCH(bool, upright);
    QFETCH(QString, suffix);
    Fixture f;
    f.gen.ProjectCopy.VerticalMounting = upright;
    QVERIFY(QFile::remove(f.dir.filePath(missing)));
    const LfsGenerator::Outcome out = f.gen.Run();
    QVERIFY(!out.Success);
    const QString text = u"Datei "_s + f.dir.filePath(missing) + suffix;
    QCOMPARE(out.MessageBox, text);
    QCOMPARE(f.gen.Report.Lines().at(1), u"FEHLER: "_s + text);
    QCOMPARE(f.gen.Report.Count(), 4);
    QVERIFY(!QFileInfo::exists(f.gen.OutputFileName));
}

void TestLfsGenerator::templateLengths_data()
{
    QTest::addColumn<int>("flash2Length");
    QTest::addColumn<QString>("warning");
    QTest::newRow("longer: cut") << kTemplateRoom - 8000 + 100
                                 << u"Warnung: Vorlagen flash1.dat + flash2.dat sind zusammen 12388 statt 12288 Bytes lang, der Überhang wurde abgeschnitten."_s;
    QTest::newRow("shorter: zero-filled") << 10
                                          << u"Warnung: Vorlagen flash1.dat + flash2.dat sind zusammen 8010 statt 12288 Bytes lang, der Rest wurde mit Nullbytes aufgefüllt."_s;
}

void TestLfsGenerator::templateLengths()
{
    QFETCH(int, flash2Length);
    QFETCH(QString, warning);
    Fixture f;
    f.flash2 = pattern(flash2Length, 9);
    f.writeTemplate("flash2.dat", f.flash2);
    const LfsGenerator::Outcome out = f.gen.Run();
    QVERIFY(out.Success);
    QVERIFY(out.WarningBox);
    QVERIFY(f.gen.Report.Lines().contains(warning));
    const QByteArray file = f.output();
    QCOMPARE(file.size(), 131118);
    QByteArray expected = QByteArray(f.flash1 + f.flash2).left(kTemplateRoom);
    expected.append(QByteArray(kTemplateRoom - expected.size(), '\0'));
    QCOMPARE(file.mid(24 + 22 + 118784), expected);
    QCOMPARE(qFromLittleEndian<quint16>(file.constData() + 20), Crc16::Arc(file.mid(24)));
}

void TestLfsGenerator::failureKeepsOldFile()
{
    Fixture f;
    QFile old(f.gen.OutputFileName);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("previous flash file");
    old.close();
    f.gen.ProjectCopy.mainRegions(0)[1].Rect = TRect(10, 0, 30, 31); // negative gap, two digits
    const LfsGenerator::Outcome out = f.gen.Run();
    QVERIFY(!out.Success);
    QCOMPARE(f.output(), QByteArray("previous flash file"));
    QVERIFY(f.gen.Report.Lines().contains(u"Die vorhandene Datei "_s + f.gen.OutputFileName + u" wurde nicht ersetzt."_s));
    QCOMPARE(QDir(f.dir.filePath(u"out"_s)).entryList(QDir::Files), QStringList{u"vfd_128x64_Haus.lfs"_s});

    // A successful run replaces it.
    f.gen.ProjectCopy = baseProject();
    QVERIFY(f.gen.Run().Success);
    QCOMPARE(f.output().size(), 131118);
}

void TestLfsGenerator::unwritableOutput()
{
    Fixture f;
    f.gen.OutputFileName = f.dir.filePath(u"no such folder/x.lfs"_s);
    const LfsGenerator::Outcome out = f.gen.Run();
    QVERIFY(!out.Success);
    QVERIFY(f.gen.Report.Lines().at(1).startsWith(u"FEHLER: "_s + f.gen.OutputFileName));
    QCOMPARE(f.gen.Report.Lines().last(), u"Kein Erfolg: Es sind Fehler aufgetreten"_s);
}

void TestLfsGenerator::glyphSourceFailures()
{
    {
        Fixture f;
        f.glyphs.failWith = u"Schrift nicht gefunden"_s;
        QVERIFY(!f.gen.Run().Success);
        QCOMPARE(f.gen.Report.Lines().at(1), u"FEHLER: Schrift nicht gefunden"_s);
        QCOMPARE(f.glyphs.finished, 1);
        QVERIFY(!QFileInfo::exists(f.gen.OutputFileName));
    }
    {
        Fixture f;
        f.gen.SetGlyphSource(nullptr);
        QVERIFY(!f.gen.Run().Success);
        QVERIFY(f.gen.Report.Lines().at(1).startsWith(u"FEHLER: "_s));
        QVERIFY(!QFileInfo::exists(f.gen.OutputFileName));
    }
    {
        // A damaged record with a region too large for its 16-bit size field.
        Fixture f;
        f.gen.ProjectCopy.mainRegions(0)[0].Rect = TRect(0, 0, 4000, 4000);
        f.gen.ProjectCopy.FloorTextDigits = 2;
        QVERIFY(!f.gen.Run().Success);
        QCOMPARE(f.gen.Report.Lines().at(1), u"FEHLER: Rechteck TXT1 ist zu gross (4001 x 4001)"_s);
        QCOMPARE(f.glyphs.prepared, 0);
    }
}

void TestLfsGenerator::uprightMounting()
{
    Fixture f;
    ProjectRecord &p = f.gen.ProjectCopy;
    p.VerticalMounting = true;
    p.ShowArrows = p.ShowLogo = true;
    // Upright cells: TXT1 (0,0,44,55) turns into (0,20,55,64); TXT2 lies above it.
    auto &m = p.mainRegions(0);
    m[0].Rect = TRect(0, 0, 44, 55);
    m[1].Rect = TRect(50, 0, 94, 55); // turned: (0, -30, 55, 14): gap 20 - 14 - 1 = 5
    m[2].Rect = TRect(100, 0, 115, 7); // PFEIL 16 x 8 -> turned 8 x 16
    m[3].Rect = TRect(100, 40, 127, 63);
    p.arrows(0)[1] = record(16, 8, {{15, 0}}); // up; turned: (15,0) -> (0,0)
    p.arrows(0)[0] = record(16, 8, {{0, 0}});  // turned: (0,0) -> (0,15)
    p.smallArrows(0)[1] = record(8, 8, {{7, 0}});
    p.smallArrows(0)[0] = record(8, 8, {{0, 0}});
    p.logo(0) = record(28, 24, {{27, 0}});

    const LfsGenerator::Outcome out = f.gen.Run();
    QVERIFY2(out.Success, qPrintable(f.gen.Report.Lines().join(u'\n')));
    QCOMPARE(f.gen.Report.Count(), 3); // turned sizes match their slots
    QCOMPARE(f.glyphs.large, QSize(45, 56)); // the upright cell
    QCOMPARE(f.glyphs.small, QSize(8, 10));  // never turned

    const QByteArray file = f.output();
    QCOMPARE(byteAt(file, 46 + 2), quint8(6));
    const LfsParams prm = paramsOf(file);
    QCOMPARE(int(prm.LargeGlyphBytes), PaddedSize(56, 45));
    QCOMPARE(int(prm.LargeCellGap), 5);
    QCOMPARE(int(prm.SmallCellGap), 0);
    QCOMPARE(int(prm.LargeArrowBytes), PaddedSize(8, 16));
    QCOMPARE(file.mid(46 + 126, 6).toHex(' '), QByteArray("01 00 14 38 2d 00"));
    QCOMPARE(file.mid(46 + 168, 6).toHex(' '), QByteArray("01 00 cd 08 10 00")); // (0, 64 - 115, 7, 64 - 100)
    QCOMPARE(file.mid(46 + 174, 6).toHex(' '), QByteArray("01 14 00 08 08 00")); // small arrow not turned
    QCOMPARE(file.right(kTemplateRoom), f.flash1 + f.flash2V);

    // Large glyph 33 rotated; small glyph 33 as drawn.
    const qsizetype large = prm.LargeGlyphBytes;
    const QByteArray data = dataOf(file, 26 * large + 26 * 10 + 2 * 16 + 2 * 8 + 96);
    QImage g = SyntheticGlyphs::Cell(QSize(45, 56), 33);
    Rotate90(g);
    QCOMPARE(g.size(), QSize(56, 45));
    QCOMPARE(data.mid(large, large), EncodeRaster(g));
    QCOMPARE(data.mid(26 * large + 10, 10), EncodeRaster(SyntheticGlyphs::Cell(QSize(8, 10), 33)));
    const qsizetype arrowsAt = 26 * large + 26 * 10;
    QCOMPARE(byteAt(data, arrowsAt), quint8(0x80));               // up turned: (0, 0)
    QCOMPARE(byteAt(data, arrowsAt + 16 + 15), quint8(0x80));     // down turned: (0, 15)
    QCOMPARE(byteAt(data, arrowsAt + 32), quint8(0x01));          // small up as stored
    const qsizetype logoAt = arrowsAt + 48;
    QCOMPARE(prm.LogoBytes, quint16(PaddedSize(24, 28)));
    QCOMPARE(byteAt(data, logoAt), quint8(0x80)); // (27, 0) -> (0, 0)
}

void TestLfsGenerator::staticVariant()
{
    Fixture f;
    ProjectRecord &p = f.gen.ProjectCopy;
    p.ShowLogo = true;
    const QImage logo = raster(128, 64, {{0, 0}, {127, 63}, {64, 32}});
    p.logo(0) = BitmapRecordFromImage(logo);
    f.writeTemplate("stat_vfd1.dat", f.statVfd1);
    QVERIFY(f.gen.IsStaticLogo());
    const LfsGenerator::Outcome out = f.gen.Run();
    QVERIFY2(out.Success, qPrintable(f.gen.Report.Lines().join(u'\n')));
    QVERIFY(out.Static);
    QCOMPARE(out.BinfileSize, qint64(1024));
    QCOMPARE(f.glyphs.prepared, 0);
    QCOMPARE(f.gen.Report.Count(), 3);

    const QByteArray file = f.output();
    QCOMPARE(file.size(), 5167);
    QCOMPARE(file.mid(4, 8).toHex(' '), QByteArray("2f 14 00 00 17 14 00 00"));
    QCOMPARE(file.mid(24, 14).toHex(' '), QByteArray("04 00 16 00 01 14 00 00 cc cc cc cc cc cc"));
    QCOMPARE(file.mid(46, f.statVfd1.size()), f.statVfd1);
    QCOMPARE(file.mid(46 + f.statVfd1.size(), 1024), EncodeRaster(logo));
    QCOMPARE(file.mid(46 + f.statVfd1.size() + 1024), f.statVfd2);
    QCOMPARE(qFromLittleEndian<quint16>(file.constData() + 20), Crc16::Arc(file.mid(24)));

    // The LCD pair.
    Fixture g;
    g.gen.ProjectCopy = baseProject(1);
    g.gen.ProjectCopy.ShowLogo = true;
    g.gen.ProjectCopy.logo(1) = record(240, 128, {{239, 0}});
    QVERIFY(g.gen.Run().Success);
    const QByteArray lcd = g.output();
    QCOMPARE(lcd.size(), 5167);
    QCOMPARE(lcd.mid(46, g.statLcd1.size()), g.statLcd1);
    QCOMPARE(lcd.mid(46 + g.statLcd1.size(), 3840), EncodeRaster(raster(240, 128, {{239, 0}})));
    QCOMPARE(lcd.right(g.statLcd2.size()), g.statLcd2);
}

void TestLfsGenerator::staticVariantUpright()
{
    Fixture f;
    ProjectRecord &p = f.gen.ProjectCopy;
    p.ShowLogo = true;
    p.VerticalMounting = true;
    const QImage logo = raster(128, 64, {{127, 0}, {0, 63}});
    p.logo(0) = BitmapRecordFromImage(logo);
    const LfsGenerator::Outcome out = f.gen.Run();
    QVERIFY(out.Success);
    QCOMPARE(out.BinfileSize, qint64(1024));
    QImage turned = logo;
    Rotate90(turned);
    QCOMPARE(turned.size(), QSize(64, 128));
    QCOMPARE(f.output().mid(46 + f.statVfd1.size(), 1024), EncodeRaster(turned));
}

void TestLfsGenerator::staticVariantChoice_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<bool>("show");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("isStatic");
    QTest::addColumn<int>("fileSize");
    QTest::newRow("VFD 128x64 full logo") << 0 << true << QSize(128, 64) << true << 5167;
    QTest::newRow("logo hidden") << 0 << false << QSize(128, 64) << false << 131118;
    QTest::newRow("127 x 64") << 0 << true << QSize(127, 64) << false << 131118;
    QTest::newRow("LCD full logo") << 1 << true << QSize(240, 128) << true << 5167;
    QTest::newRow("LCD logo of the VFD size") << 1 << true << QSize(128, 64) << false << 131118;
    QTest::newRow("VFD 256x128 full logo: normal file") << 2 << true << QSize(256, 128) << true << 131118;
}

void TestLfsGenerator::staticVariantChoice()
{
    QFETCH(int, model);
    QFETCH(bool, show);
    QFETCH(QSize, size);
    QFETCH(bool, isStatic);
    QFETCH(int, fileSize);
    Fixture f;
    f.gen.ProjectCopy = baseProject(model);
    ProjectRecord &p = f.gen.ProjectCopy;
    p.ShowLogo = show;
    // Keep the logo region clear of the floor text and large enough for any logo.
    p.mainRegions(model)[3].Rect = TRect(0, 0, size.width() - 1, size.height() - 1);
    p.logo(model) = record(size.width(), size.height(), {{0, 0}});
    QCOMPARE(f.gen.IsStaticLogo(), isStatic);
    const LfsGenerator::Outcome out = f.gen.Run();
    QVERIFY2(out.Success, qPrintable(f.gen.Report.Lines().join(u'\n')));
    QCOMPARE(f.output().size(), fileSize);
    const QString noStatic =
        u"Warnung: Für die ORV-VFD (256 x 128) gibt es keine statische Variante, es wird die normale LFS-Datei erzeugt."_s;
    QCOMPARE(f.gen.Report.Lines().contains(noStatic), model == 2 && isStatic);
}

void TestLfsGenerator::staticMissingTemplate()
{
    Fixture f;
    f.gen.ProjectCopy = baseProject(1);
    f.gen.ProjectCopy.ShowLogo = true;
    f.gen.ProjectCopy.logo(1) = record(240, 128, {});
    QVERIFY(QFile::remove(f.path("stat_vfd1.dat")));
    QFile old(f.gen.OutputFileName);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("older");
    old.close();
    const LfsGenerator::Outcome out = f.gen.Run();
    QVERIFY(!out.Success);
    const QString text = u"Datei "_s + f.path("stat_vfd1.dat") + u" not found"_s;
    QCOMPARE(out.MessageBox, text);
    QCOMPARE(f.gen.Report.Lines().at(1), u"FEHLER: "_s + text);
    QCOMPARE(f.output(), QByteArray("older"));
}

void TestLfsGenerator::runsDifferOnlyInDatesAndCrc()
{
    for (bool staticLogo : {false, true}) {
        Fixture f;
        if (staticLogo) {
            f.gen.ProjectCopy.ShowLogo = true;
            f.gen.ProjectCopy.logo(0) = record(128, 64, {{3, 3}});
        }
        // Each header reads the clock for itself.
        QList<QDateTime> readings = {QDateTime(QDate(2005, 3, 7), QTime(14, 25)),
                                     QDateTime(QDate(2005, 3, 7), QTime(14, 26)),
                                     QDateTime(QDate(2006, 11, 30), QTime(9, 1)),
                                     QDateTime(QDate(2006, 11, 30), QTime(9, 1))};
        int reading = 0;
        f.gen.SetClock([&] { return readings.at(reading++); });
        QVERIFY(f.gen.Run().Success);
        const QByteArray first = f.output();
        QVERIFY(f.gen.Run().Success);
        const QByteArray second = f.output();
        QCOMPARE(reading, 4);
        QCOMPARE(first.size(), second.size());
        QCOMPARE(first.mid(16, 4).toHex(), QByteArray("9a3b537d")); // file header: second reading
        QCOMPARE(first.mid(24 + 16, 4).toHex(), QByteArray("993b537d")); // image header: first
        QList<int> differing;
        for (int i = 0; i < first.size(); ++i)
            if (first[i] != second[i])
                differing.append(i);
        for (int i : differing)
            QVERIFY2((i >= 16 && i < 22) || (i >= 40 && i < 44), qPrintable(QString::number(i)));
        QVERIFY(!differing.isEmpty());
        QCOMPARE(qFromLittleEndian<quint16>(second.constData() + 20), Crc16::Arc(second.mid(24)));
    }
}

QTEST_GUILESS_MAIN(TestLfsGenerator)
#include "test_lfs_generator.moc"
