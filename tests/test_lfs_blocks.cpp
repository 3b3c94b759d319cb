// SPDX-License-Identifier: GPL-3.0-or-later
// Building blocks of the flash image: checksum, packed dates, headers, parameter
// block, picture encoding and turning, the three tables and the report.
#include "lfs/crc16.h"
#include "lfs/floortable.h"
#include "lfs/lfsheaders.h"
#include "lfs/lfsparams.h"
#include "lfs/lfsreport.h"
#include "lfs/packdatetime.h"
#include "lfs/rasterencoding.h"
#include "lfs/specialslot.h"
#include "lfs/statetable.h"
#include "lfs/texttable.h"
#include "project/bitmappacking.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text));
}

QImage raster(int w, int h, std::initializer_list<QPoint> lit, QRgb on = 0x00FFFFFF)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(0u);
    for (const QPoint &p : lit)
        img.setPixel(p, on);
    return img;
}

QList<QPoint> litPixels(const QImage &img)
{
    QList<QPoint> out;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) & 0x00FFFFFFu)
                out.append(QPoint(x, y));
    return out;
}

QByteArray field22(const QByteArray &text)
{
    QByteArray f(22, '\0');
    std::memcpy(f.data(), text.constData(), size_t(qMin<qsizetype>(text.size(), 22)));
    return f;
}

} // namespace

class TestLfsBlocks : public QObject
{
    Q_OBJECT

private slots:
    void crc_data();
    void crc();
    void crcRunsOn();
    void packDateTime_data();
    void packDateTime();
    void imageHeaderBytes();
    void fileHeaderBytes();
    void headersRoundTrip();
    void paramsByteOrder();
    void paramsBoxes_data();
    void paramsBoxes();
    void paramsFreeBytesOnly();
    void paddedSize_data();
    void paddedSize();
    void encodeRaster();
    void encodeRasterLitRule_data();
    void encodeRasterLitRule();
    void encodeRasterCutToSlot();
    void encodeRasterWideRows();
    void rotate90();
    void rotate90FourTimesIsIdentity();
    void turnRect_data();
    void turnRect();
    void turnBitmapRecord();
    void turnBitmapRecordLeavesEmptyAndOversized_data();
    void turnBitmapRecordLeavesEmptyAndOversized();
    void floorTableBitmaps();
    void floorTableIgnoresRowsBeyondProject();
    void stateTable();
    void specialSlot_data();
    void specialSlot();
    void textTableFixedEntries();
    void textTableFloorLimits_data();
    void textTableFloorLimits();
    void textTableEmptyLines();
    void textTableWithoutLines();
    void reportLines();
};

void TestLfsBlocks::crc_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("crc");
    QTest::newRow("check value") << QByteArray("123456789") << 0xBB3D;
    QTest::newRow("empty") << QByteArray() << 0x0000;
    QTest::newRow("one byte 0x01") << hex("01") << 0xC0C1;
    QTest::newRow("0xFF") << hex("ff") << 0x4040;
}

void TestLfsBlocks::crc()
{
    QFETCH(QByteArray, data);
    QFETCH(int, crc);
    QCOMPARE(int(Crc16::Arc(data)), crc);
}

void TestLfsBlocks::crcRunsOn()
{
    QByteArray data(5000, '\0');
    for (int i = 0; i < data.size(); ++i)
        data[i] = char((i * 7 + 3) & 0xFF);
    quint16 running = 0;
    for (int i = 0; i < data.size(); i += 333)
        running = Crc16::Update(running, data.constData() + i, qMin<qsizetype>(333, data.size() - i));
    QCOMPARE(running, Crc16::Arc(data));
}

void TestLfsBlocks::packDateTime_data()
{
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("7 March 2005 14:25") << QDateTime(QDate(2005, 3, 7), QTime(14, 25)) << hex("993b537d");
    QTest::newRow("seconds are dropped") << QDateTime(QDate(2005, 3, 7), QTime(14, 25, 59)) << hex("993b537d");
    // 2024 = 0x7E8, 12, 31, 23, 59
    QTest::newRow("last minute of 2024") << QDateTime(QDate(2024, 12, 31), QTime(23, 59)) << hex("fbfd8c7e");
    QTest::newRow("midnight 1 January 2000") << QDateTime(QDate(2000, 1, 1), QTime(0, 0)) << hex("0008017d");
}

void TestLfsBlocks::packDateTime()
{
    QFETCH(QDateTime, when);
    QFETCH(QByteArray, bytes);
    const quint32 v = PackDateTime(when);
    QByteArray le(4, '\0');
    qToLittleEndian<quint32>(v, le.data());
    QCOMPARE(le.toHex(' '), bytes.toHex(' '));
}

void TestLfsBlocks::imageHeaderBytes()
{
    LfsImageHeader h;
    h.FlashSize = 131072;
    h.DateTime = 0x7D533B99;
    QCOMPARE(h.ToBytes().toHex(' '), hex("04 00 16 00 00 00 02 00 cc cc cc cc cc cc 00 00 99 3b 53 7d 00 00").toHex(' '));

    LfsImageHeader stat;
    stat.FlashSize = 5121;
    QCOMPARE(stat.ToBytes().left(14).toHex(' '), hex("04 00 16 00 01 14 00 00 cc cc cc cc cc cc").toHex(' '));
}

void TestLfsBlocks::fileHeaderBytes()
{
    const LfsFileHeader h = LfsFileHeader::ForImage(131072 + 22, 0x7D533B99, 0x1234);
    QCOMPARE(h.ToBytes().toHex(' '),
             hex("cc cc 01 a5 2e 00 02 00 16 00 02 00 03 10 00 00 99 3b 53 7d 34 12 fe ff").toHex(' '));
    const LfsFileHeader s = LfsFileHeader::ForImage(5143, 0, 0);
    QCOMPARE(s.FileLength, 5167u);
    QCOMPARE(s.ToBytes().mid(4, 8).toHex(' '), hex("2f 14 00 00 17 14 00 00").toHex(' '));
}

void TestLfsBlocks::headersRoundTrip()
{
    const LfsFileHeader f = LfsFileHeader::ForImage(777, 0x11223344, 0xBEEF);
    LfsFileHeader g;
    QVERIFY(g.FromBytes(f.ToBytes()));
    QCOMPARE(g.ToBytes(), f.ToBytes());
    QVERIFY(!g.FromBytes(QByteArray(23, '\0')));

    LfsImageHeader i;
    i.FlashSize = 0xABCDEF;
    i.DateTime = 42;
    LfsImageHeader j;
    QVERIFY(j.FromBytes(i.ToBytes()));
    QCOMPARE(j.ToBytes(), i.ToBytes());
    QVERIFY(!j.FromBytes(QByteArray(21, '\0')));
}

void TestLfsBlocks::paramsByteOrder()
{
    LfsParams p;
    p.Word0 = 125;
    p.ModelCode = 6;
    p.Word6 = 421;
    p.LargeGlyphBytes = 0x0102;
    p.SmallGlyphBytes = 0x0304;
    p.LargeArrowBytes = 0x0506;
    p.SmallArrowBytes = 0x0708;
    p.LogoBytes = 0x090A;
    p.FloorBitmapBytes = 0x0B0C;
    p.SpecialBitmapBytes = 0x0D0E;
    p.Word50 = 2;
    p.LargeCellGap = 0xFD;
    p.SmallCellGap = 3;
    p.LargeGlyphCount = 91;
    p.SmallGlyphCount = 91;
    p.LargeArrowCount = 2;
    p.SmallArrowCount = 2;
    p.LogoCount = 1;
    p.FloorBitmapCount = 7;
    p.SpecialBitmapCount = 10;
    p.SetByte(15, 1);
    p.SetByte(87, 1);
    const QByteArray b = p.ToBytes();
    QCOMPARE(b.size(), 198);
    QCOMPARE(b.left(8).toHex(' '), hex("00 7d 06 00 00 00 a5 01").toHex(' '));
    QCOMPARE(b.mid(36, 16).toHex(' '), hex("01 02 03 04 05 06 07 08 09 0a 0b 0c 0d 0e 00 02").toHex(' '));
    QCOMPARE(b.mid(52, 11).toHex(' '), hex("fd 03 00 00 5b 5b 02 02 01 07 0a").toHex(' '));
    QCOMPARE(quint8(b[15]), quint8(1));
    QCOMPARE(quint8(b[87]), quint8(1));

    LfsParams back;
    QVERIFY(back.FromBytes(b));
    QCOMPARE(back.ToBytes(), b);
    QCOMPARE(back.SpecialBitmapBytes, quint16(0x0D0E));
    QCOMPARE(back.Word6, quint16(421));
}

void TestLfsBlocks::paramsBoxes_data()
{
    QTest::addColumn<TRect>("rect");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("plain") << TRect(3, 4, 44, 55) << hex("01 03 04 2a 34 00");
    QTest::newRow("256 wide stores width 0") << TRect(0, 0, 255, 127) << hex("01 00 00 00 80 00");
    QTest::newRow("turned bottom 128") << TRect(0, 20, 55, 128) << hex("01 00 14 38 6d 00");
}

void TestLfsBlocks::paramsBoxes()
{
    QFETCH(TRect, rect);
    QFETCH(QByteArray, bytes);
    LfsParams p;
    p.Boxes[7] = LfsBox::FromRect(rect);
    const QByteArray b = p.ToBytes();
    QCOMPARE(b.mid(126 + 42, 6).toHex(' '), bytes.toHex(' '));
    QCOMPARE(b.count('\0'), 198 - bytes.size() + bytes.count('\0'));
}

void TestLfsBlocks::paramsFreeBytesOnly()
{
    // Named fields cannot be overwritten through the free-byte setter.
    LfsParams p;
    p.LargeGlyphBytes = 0x1234;
    for (int offset : {0, 1, 2, 6, 7, 36, 37, 51, 52, 62, 126, 197, 198, -1})
        p.SetByte(offset, 0x77);
    const QByteArray b = p.ToBytes();
    QCOMPARE(b.mid(36, 2).toHex(), QByteArray("1234"));
    QCOMPARE(b.count(char(0x77)), 0);
    for (int offset : {15, 17, 33, 34, 35, 63, 64, 65, 69, 70, 72, 73, 77, 82, 83, 84, 85, 86, 87})
        QVERIFY2(LfsParams::IsFreeByte(offset), QByteArray::number(offset).constData());
}

void TestLfsBlocks::paddedSize_data()
{
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::addColumn<int>("bytes");
    QTest::newRow("1x1") << 1 << 1 << 1;
    QTest::newRow("8x1") << 8 << 1 << 1;
    QTest::newRow("9x1") << 9 << 1 << 2;
    QTest::newRow("10x3") << 10 << 3 << 6;
    QTest::newRow("256x128") << 256 << 128 << 4096;
    QTest::newRow("240x128") << 240 << 128 << 3840;
    QTest::newRow("128x64") << 128 << 64 << 1024;
    QTest::newRow("zero width") << 0 << 5 << 0;
    QTest::newRow("zero height") << 5 << 0 << 0;
    QTest::newRow("negative width") << -20 << 5 << 0;
}

void TestLfsBlocks::paddedSize()
{
    QFETCH(int, w);
    QFETCH(int, h);
    QFETCH(int, bytes);
    QCOMPARE(PaddedSize(w, h), bytes);
    if (w > 0 && h > 0)
        QCOMPARE(RegionBytes(TRect(5, 7, 5 + w - 1, 7 + h - 1)), bytes);
}

void TestLfsBlocks::encodeRaster()
{
    const QImage img = raster(10, 3, {{0, 0}, {8, 0}, {9, 2}});
    QCOMPARE(EncodeRaster(img).toHex(' '), hex("80 80 00 00 00 40").toHex(' '));

    QCOMPARE(EncodeRaster(raster(1, 1, {{0, 0}})).toHex(), QByteArray("80"));
    QCOMPARE(EncodeRaster(raster(1, 1, {})).toHex(), QByteArray("00"));
    QCOMPARE(EncodeRaster(QImage()).size(), 0);
}

void TestLfsBlocks::encodeRasterLitRule_data()
{
    QTest::addColumn<uint>("pixel");
    QTest::addColumn<bool>("lit");
    QTest::newRow("white, opaque") << 0xFFFFFFFFu << true;
    QTest::newRow("white, alpha 0") << 0x00FFFFFFu << true;
    QTest::newRow("black, opaque") << 0xFF000000u << false;
    QTest::newRow("blue bit only") << 0x00000001u << true;
    QTest::newRow("red bit only") << 0x00010000u << true;
    QTest::newRow("alpha only") << 0x01000000u << false;
}

void TestLfsBlocks::encodeRasterLitRule()
{
    QFETCH(uint, pixel);
    QFETCH(bool, lit);
    const QImage img = raster(3, 1, {{1, 0}}, pixel);
    QCOMPARE(EncodeRaster(img).toHex(), lit ? QByteArray("40") : QByteArray("00"));
}

void TestLfsBlocks::encodeRasterCutToSlot()
{
    const QImage img = raster(10, 3, {{0, 0}, {8, 0}, {9, 2}});
    QByteArray slot(4, char(0x55));
    QCOMPARE(EncodeRaster(img, slot.data(), 3), 6);
    QCOMPARE(slot.toHex(' '), hex("80 80 00 55").toHex(' '));

    QByteArray big(8, '\0');
    QCOMPARE(EncodeRaster(img, big.data(), big.size()), 6);
    QCOMPARE(big.toHex(' '), hex("80 80 00 00 00 40 00 00").toHex(' '));
}

void TestLfsBlocks::encodeRasterWideRows()
{
    QImage img = raster(256, 2, {{0, 0}, {255, 0}, {7, 1}, {248, 1}});
    const QByteArray b = EncodeRaster(img);
    QCOMPARE(b.size(), 64);
    QCOMPARE(quint8(b[0]), quint8(0x80));
    QCOMPARE(quint8(b[31]), quint8(0x01));
    QCOMPARE(quint8(b[32]), quint8(0x01));
    QCOMPARE(quint8(b[63]), quint8(0x80));
    QCOMPARE(b.count('\0'), 60);
    // RGB32 input (alpha ignored) gives the same bytes.
    QCOMPARE(EncodeRaster(img.convertToFormat(QImage::Format_RGB32)), b);
}

void TestLfsBlocks::rotate90()
{
    QImage img = raster(3, 2, {{2, 0}});
    Rotate90(img);
    QCOMPARE(img.size(), QSize(2, 3));
    QCOMPARE(litPixels(img), QList<QPoint>({QPoint(0, 0)}));

    QImage other = raster(3, 2, {{0, 1}, {1, 0}});
    Rotate90(other);
    // (x, y) -> (y, W - 1 - x)
    QCOMPARE(litPixels(other), QList<QPoint>({QPoint(0, 1), QPoint(1, 2)}));
}

void TestLfsBlocks::rotate90FourTimesIsIdentity()
{
    QImage img = raster(13, 5, {{0, 0}, {12, 4}, {3, 1}, {7, 2}});
    img.setPixel(5, 3, 0x00123456);
    const QImage original = img;
    for (int i = 0; i < 4; ++i)
        Rotate90(img);
    QCOMPARE(img, original);
}

void TestLfsBlocks::turnRect_data()
{
    QTest::addColumn<TRect>("rect");
    QTest::addColumn<int>("h");
    QTest::addColumn<TRect>("turned");
    QTest::newRow("VFD 128x64 example") << TRect(0, 0, 44, 55) << 64 << TRect(0, 20, 55, 64);
    QTest::newRow("full 128x64") << TRect(0, 0, 127, 63) << 64 << TRect(0, -63, 63, 64);
    QTest::newRow("LCD region") << TRect(10, 5, 40, 100) << 128 << TRect(5, 88, 100, 118);
    QTest::newRow("single LED") << TRect(3, 4, 3, 4) << 128 << TRect(4, 125, 4, 125);
}

void TestLfsBlocks::turnRect()
{
    QFETCH(TRect, rect);
    QFETCH(int, h);
    QFETCH(TRect, turned);
    const TRect t = TurnRect(rect, h);
    QCOMPARE(t, turned);
    // Width and height swap.
    QCOMPARE(t.Width(), rect.Height());
    QCOMPARE(t.Height(), rect.Width());
}

void TestLfsBlocks::turnBitmapRecord()
{
    BitmapRecord r = BitmapRecordFromImage(raster(3, 2, {{2, 0}, {0, 1}}));
    TurnBitmapRecord(r);
    QCOMPARE(QSize(r.Width, r.Height), QSize(2, 3));
    QCOMPARE(r.PackedPixels.size(), 4096);
    // (2,0) -> (0,0); (0,1) -> (1,2)
    QCOMPARE(litPixels(ImageFromBitmapRecord(r)), QList<QPoint>({QPoint(0, 0), QPoint(1, 2)}));

    // A full 128 x 64 logo turns into 64 x 128 and keeps every bit.
    const QImage logo = raster(128, 64, {{0, 0}, {127, 0}, {127, 63}, {5, 60}});
    BitmapRecord l = BitmapRecordFromImage(logo);
    TurnBitmapRecord(l);
    QCOMPARE(QSize(l.Width, l.Height), QSize(64, 128));
    QImage expected = logo;
    Rotate90(expected);
    QCOMPARE(litPixels(ImageFromBitmapRecord(l)), litPixels(expected));

    // A special state keeps its text.
    SpecialStateRecord s;
    s.Text = QByteArray("Brandfall");
    s.Bitmap = BitmapRecordFromImage(raster(3, 2, {{2, 0}}));
    TurnBitmapRecord(s);
    QCOMPARE(s.Text, QByteArray("Brandfall"));
    QCOMPARE(QSize(s.Bitmap.Width, s.Bitmap.Height), QSize(2, 3));
}

void TestLfsBlocks::turnBitmapRecordLeavesEmptyAndOversized_data()
{
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::newRow("zero height") << 5 << 0;
    QTest::newRow("zero width") << 0 << 7;
    QTest::newRow("negative") << -3 << 7;
    QTest::newRow("more pixels than the record holds") << 200 << 200;
}

void TestLfsBlocks::turnBitmapRecordLeavesEmptyAndOversized()
{
    QFETCH(int, w);
    QFETCH(int, h);
    BitmapRecord r;
    r.Width = w;
    r.Height = h;
    for (int i = 0; i < r.PackedPixels.size(); ++i)
        r.PackedPixels[i] = char(i * 31);
    const BitmapRecord before = r;
    TurnBitmapRecord(r);
    QCOMPARE(r, before);
}

void TestLfsBlocks::floorTableBitmaps()
{
    FloorTable t;
    const QList<int> rows = t.AssignBitmaps(5, [](int row) { return row == 1 || row == 3; });
    QCOMPARE(rows, QList<int>({1, 3}));
    const QByteArray &b = t.Bytes();
    QCOMPARE(b.size(), 200);
    QCOMPARE(int(b[8]), 1); // slot 4 = row 1
    QCOMPARE(int(b[4]), 2); // slot 2 = row 3
    QCOMPARE(b.count('\0'), 198);
}

void TestLfsBlocks::floorTableIgnoresRowsBeyondProject()
{
    // A damaged floor count never writes outside the 100 slots or asks for rows
    // the project does not hold.
    FloorTable t;
    int highest = 0;
    const QList<int> rows = t.AssignBitmaps(1000, [&](int row) {
        highest = qMax(highest, row);
        return true;
    });
    QCOMPARE(highest, 64);
    QCOMPARE(rows.size(), 64);
    QCOMPARE(t.Bytes().size(), 200);
    QCOMPARE(t.Bytes().count('\0'), 200); // slots 936..999 all lie outside the table
    t.SetTextNumber(-1, 9);
    t.SetBitmapNumber(100, 9);
    QCOMPARE(t.Bytes().count('\0'), 200);
}

void TestLfsBlocks::stateTable()
{
    std::array<bool, 10> has{};
    has[0] = true;
    has[3] = true; // flash state 4 = project state 9
    QCOMPARE(StateTable::Build(has, false).toHex(' '),
             hex("00 01 02 03 04 05 06 07 08 09 0a 00 01 00 00 01 00 00 00 00 00 00").toHex(' '));
    QCOMPARE(StateTable::Build(has, true).mid(11).toHex(' '), hex("00 02 00 00 02 00 00 00 00 00 00").toHex(' '));
    QCOMPARE(LfsStates::ProjectStateOf(4), 9);
    QCOMPARE(LfsStates::ProjectStateOf(5), 4);
    QCOMPARE(LfsStates::ProjectStateOf(10), 10);
}

void TestLfsBlocks::specialSlot_data()
{
    QTest::addColumn<QList<QSize>>("sizes");
    QTest::addColumn<bool>("largest");
    QTest::addColumn<int>("bytes");
    QTest::addColumn<int>("state");
    const QSize none;
    // 8, 64, 64 bytes
    const QList<QSize> three = {QSize(8, 8), QSize(64, 8), none, QSize(32, 16)};
    QTest::newRow("smallest of 8/64/64") << three << false << 8 << 1;
    QTest::newRow("largest of 8/64/64, first wins the tie") << three << true << 64 << 2;
    QTest::newRow("no bitmap") << QList<QSize>{none, QSize(5, 0), QSize(0, 5)} << true << 0 << 0;
    QTest::newRow("padded size decides, not pixels") << QList<QSize>{QSize(9, 1), QSize(16, 1)} << false << 2 << 1;
    QTest::newRow("only the tenth") << QList<QSize>{none, none, none, none, none, none, none, none, none, QSize(3, 3)}
                                    << false << 3 << 10;
}

void TestLfsBlocks::specialSlot()
{
    QFETCH(QList<QSize>, sizes);
    QFETCH(bool, largest);
    QFETCH(int, bytes);
    QFETCH(int, state);
    std::array<QSize, 10> arr{};
    for (int i = 0; i < sizes.size(); ++i)
        arr[size_t(i)] = sizes[i].isValid() ? sizes[i] : QSize(0, 0);
    const SpecialSlot s = SpecialSlot::Choose(arr, largest);
    QCOMPARE(s.Bytes, bytes);
    QCOMPARE(s.State, state);
    if (state > 0)
        QCOMPARE(QSize(s.Width, s.Height), sizes[state - 1]);
}

void TestLfsBlocks::textTableFixedEntries()
{
    TextTable t;
    QCOMPARE(t.EntryCount(), 23);
    QCOMPARE(t.Entry(0), QByteArray(23, '\0'));
    // An unset entry is spaces and a zero.
    QCOMPARE(t.Entry(5), QByteArray(22, ' ') + QByteArray(1, '\0'));

    t.SetFixedEntry(1, field22("Brand"));
    QCOMPARE(t.Entry(1), QByteArray("Brand") + QByteArray(16, '\0') + " " + QByteArray(1, '\0'));

    const QByteArray full21("ABCDEFGHIJKLMNOPQRSTU");
    t.SetFixedEntry(11, field22(full21));
    QCOMPARE(t.Entry(11), full21 + " " + QByteArray(1, '\0'));

    // A text held without its trailing zeros is still a zero-padded field.
    t.SetFixedEntry(2, QByteArray("Feuer"));
    QCOMPARE(t.Entry(2), QByteArray("Feuer") + QByteArray(16, '\0') + " " + QByteArray(1, '\0'));

    // Stored bytes are copied as they are (Windows-1252, no re-encoding).
    t.SetFixedEntry(3, field22(QByteArray("M\xe4rz")));
    QCOMPARE(t.Entry(3).left(5), QByteArray("M\xe4rz\0", 5));

    t.SetFixedEntry(0, field22("x"));
    t.SetFixedEntry(23, field22("x"));
    QCOMPARE(t.Entry(0), QByteArray(23, '\0'));
    QCOMPARE(t.EntryCount(), 23);

    t.Finish();
    QCOMPARE(t.EntryCount(), 24);
    QCOMPARE(t.Entry(23), QByteArray("Spielwaren") + QByteArray(13, '\0'));
}

void TestLfsBlocks::textTableFloorLimits_data()
{
    QTest::addColumn<int>("floors");
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("lastRowWithText");
    QTest::addColumn<int>("lastTextNumber");
    QTest::addColumn<int>("spielwarenEntry");
    QTest::newRow("40 floors, 8 lines") << 40 << 8 << 29 << 23 + 28 * 8 + 1 << 255;
    QTest::newRow("40 floors, 7 lines") << 40 << 7 << 34 << 255 << 261;
    QTest::newRow("64 floors, 1 line") << 64 << 1 << 64 << 23 + 63 + 1 << 87;
    QTest::newRow("29 floors, 8 lines: fits exactly") << 29 << 8 << 29 << 23 + 28 * 8 + 1 << 255;
    QTest::newRow("64 floors, 4 lines") << 64 << 4 << 58 << 252 << 255;
}

void TestLfsBlocks::textTableFloorLimits()
{
    QFETCH(int, floors);
    QFETCH(int, lines);
    QFETCH(int, lastRowWithText);
    QFETCH(int, lastTextNumber);
    QFETCH(int, spielwarenEntry);

    TextTable t;
    FloorTable f;
    t.AddFloorLines(f, floors, lines, [](int col, int row) {
        return field22(QByteArray("R") + QByteArray::number(row) + "C" + QByteArray::number(col));
    });
    t.Finish();
    QCOMPARE(t.EntryCount(), spielwarenEntry + 1);
    QVERIFY(t.EntryCount() <= 263);
    QCOMPARE(t.Entry(spielwarenEntry).left(10), QByteArray("Spielwaren"));

    for (int row = 1; row <= floors; ++row) {
        const int slot = floors - row;
        const int number = f.TextNumber(slot);
        if (row > lastRowWithText) {
            QCOMPARE(number, 0);
            continue;
        }
        QCOMPARE(number, 23 + (row - 1) * lines + 1);
        for (int j = 0; j < lines; ++j) {
            const QByteArray expected = QByteArray("R") + QByteArray::number(row) + "C" + QByteArray::number(j + 2);
            QCOMPARE(t.Entry(number - 1 + j).left(expected.size() + 1), expected + QByteArray(1, '\0'));
        }
    }
    QCOMPARE(int(f.TextNumber(floors - lastRowWithText)), lastTextNumber);
}

void TestLfsBlocks::textTableEmptyLines()
{
    // Row 1: first line empty, second set; row 2: both empty. Every line still
    // takes an entry and the first line sets the text number.
    TextTable t;
    FloorTable f;
    const QByteArray text21("abcdefghijklmnopqrstu");
    t.AddFloorLines(f, 3, 2, [&](int col, int row) {
        if (row == 1 && col == 3)
            return field22(text21);
        if (row == 3)
            return field22("x");
        return QByteArray(22, '\0');
    });
    QCOMPARE(t.EntryCount(), 23 + 6);
    QCOMPARE(int(f.TextNumber(2)), 24);
    QCOMPARE(int(f.TextNumber(1)), 26);
    QCOMPARE(int(f.TextNumber(0)), 28);
    QCOMPARE(t.Entry(23), QByteArray(23, '\0'));
    QCOMPARE(t.Entry(24), text21 + QByteArray(2, '\0'));
    QCOMPARE(t.Entry(25), QByteArray(23, '\0'));
    QCOMPARE(t.Entry(27), QByteArray("x") + QByteArray(22, '\0'));
}

void TestLfsBlocks::textTableWithoutLines()
{
    for (int lines : {0, -3}) {
        TextTable t;
        FloorTable f;
        int calls = 0;
        t.AddFloorLines(f, 10, lines, [&](int, int) {
            ++calls;
            return field22("x");
        });
        QCOMPARE(calls, 0);
        QCOMPARE(t.EntryCount(), 23);
        QCOMPARE(f.Bytes().count('\0'), 200);
    }
    // More lines than the project has columns: only the eight text columns count.
    TextTable t;
    FloorTable f;
    int highestCol = 0;
    t.AddFloorLines(f, 2, 50, [&](int col, int) {
        highestCol = qMax(highestCol, col);
        return field22("x");
    });
    QCOMPARE(highestCol, 9);
    QCOMPARE(t.EntryCount(), 23 + 16);
}

void TestLfsBlocks::reportLines()
{
    LfsReport r;
    QStringList seen;
    r.SetLineAdded([&](const QString &line) { seen.append(line); });
    r.Add(u"Erstelle x.lfs"_s);
    r.Warning(u"Pfeil und Logobitmap Überschneidung"_s);
    r.Error(u"Datei konnte nicht erstellt werden."_s);
    r.Finish(false);
    QCOMPARE(r.Lines(), seen);
    QCOMPARE(r.Lines().at(1), u"Warnung: Pfeil und Logobitmap Überschneidung"_s);
    QCOMPARE(r.Lines().at(2), u"FEHLER: Datei konnte nicht erstellt werden."_s);
    QCOMPARE(r.Lines().at(3), QString(62, u'-'));
    QCOMPARE(r.Lines().at(4), u"Kein Erfolg: Es sind Fehler aufgetreten"_s);
    QVERIFY(r.HasErrors());
    QCOMPARE(r.WarningCount(), 1);
    r.Clear();
    r.Finish(true);
    QCOMPARE(r.Lines().last(), u"Erfolg: Die Datei wurde erzeugt"_s);
    QVERIFY(!r.HasErrors());
}

QTEST_GUILESS_MAIN(TestLfsBlocks)
#include "test_lfs_blocks.moc"
