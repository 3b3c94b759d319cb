// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/layouts.h"
#include "project/bitmappacking.h"
#include "project/projectrecord.h"
#include "util/win1252.h"

#include <QRandomGenerator>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

QByteArray le32(qint32 v)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = char((quint32(v) >> (8 * i)) & 0xFF);
    return b;
}

BitmapRecord markedBitmap(qint32 w, qint32 h, char first, char last)
{
    BitmapRecord b;
    b.Width = w;
    b.Height = h;
    b.PackedPixels[0] = first;
    b.PackedPixels[BitmapRecord::kPixelBytes - 1] = last;
    return b;
}

QByteArray bitmapBytes(const BitmapRecord &b)
{
    return le32(b.Width) + le32(b.Height) + b.PackedPixels;
}

/// One field set to a non-zero value and where its bytes must land.
struct FieldCase
{
    const char *name;
    std::function<void(ProjectRecord &)> set;
    int offset;
    QByteArray bytes;
};

QList<FieldCase> fieldCases()
{
    QList<FieldCase> cases;
    const auto add = [&cases](const char *name, std::function<void(ProjectRecord &)> set, int offset,
                              QByteArray bytes) { cases.append({name, std::move(set), offset, std::move(bytes)}); };

    add("DisplayModel", [](ProjectRecord &p) { p.DisplayModel = 2; }, 0, QByteArray(1, 2));
    add("FloorFontName", [](ProjectRecord &p) { p.FloorFontName = "Arial"; }, 1, "Arial");
    add("FloorFontBold", [](ProjectRecord &p) { p.FloorFontBold = true; }, 42, QByteArray(1, 1));
    add("FloorFontItalic", [](ProjectRecord &p) { p.FloorFontItalic = true; }, 43, QByteArray(1, 1));
    add("FloorFontSize", [](ProjectRecord &p) { p.FloorFontSize = -90; }, 44, le32(-90));
    add("FloorTextOffsetX", [](ProjectRecord &p) { p.FloorTextOffsetX = 0x01020304; }, 48, le32(0x01020304));
    add("FloorTextOffsetY", [](ProjectRecord &p) { p.FloorTextOffsetY = -300; }, 52, le32(-300));
    add("AutoSizeChars", [](ProjectRecord &p) { p.AutoSizeChars = "EGUTDBAKP0123456789"; }, 56, "EGUTDBAKP0123456789");
    add("Reserved1", [](ProjectRecord &p) { p.Reserved1 = 7; }, 147, le32(7));
    add("Reserved2", [](ProjectRecord &p) { p.Reserved2 = 8; }, 151, le32(8));
    add("FloorCount", [](ProjectRecord &p) { p.FloorCount = 64; }, 155, le32(64));
    add("FloorTextDigits", [](ProjectRecord &p) { p.FloorTextDigits = 2; }, 159, QByteArray(1, 2));
    add("FormatMark", [](ProjectRecord &p) { p.FormatMark = 1; }, 160, QByteArray(1, 1));
    add("ShowWhileMoving", [](ProjectRecord &p) { p.ShowWhileMoving = true; }, 161, QByteArray(1, 1));
    add("VerticalMounting", [](ProjectRecord &p) { p.VerticalMounting = true; }, 162, QByteArray(1, 1));
    add("CharsetChoice", [](ProjectRecord &p) { p.CharsetChoice = 2; }, 163, le32(2));

    // Regions: model order, 17 bytes each.
    const RegionRecord region{TRect(1, 2, 300, -4), true};
    const QByteArray regionBytes = le32(1) + le32(2) + le32(300) + le32(-4) + QByteArray(1, 1);
    add("MainRegions VFD1 TXT1", [region](ProjectRecord &p) { p.mainRegions(0)[0] = region; }, 167, regionBytes);
    add("MainRegions LCD UHR", [region](ProjectRecord &p) { p.mainRegions(1)[5] = region; }, 269 + 5 * 17, regionBytes);
    add("MainRegions VFD2 PFEIL", [region](ProjectRecord &p) { p.mainRegions(2)[2] = region; }, 371 + 2 * 17, regionBytes);
    add("SmallRegions VFD1 TXT2", [region](ProjectRecord &p) { p.smallRegions(0)[1] = region; }, 473 + 17, regionBytes);
    add("SmallRegions LCD PFEIL", [region](ProjectRecord &p) { p.smallRegions(1)[2] = region; }, 524 + 34, regionBytes);
    add("SmallRegions VFD2 TXT1", [region](ProjectRecord &p) { p.smallRegions(2)[0] = region; }, 575, regionBytes);

    add("ShowDateTime", [](ProjectRecord &p) { p.ShowDateTime = true; }, 626, QByteArray(1, 1));
    add("ShowArrows", [](ProjectRecord &p) { p.ShowArrows = true; }, 627, QByteArray(1, 1));
    add("ShowLogo", [](ProjectRecord &p) { p.ShowLogo = true; }, 628, QByteArray(1, 1));
    add("ShowFloorBitmaps", [](ProjectRecord &p) { p.ShowFloorBitmaps = true; }, 629, QByteArray(1, 1));
    add("ShowTextLines", [](ProjectRecord &p) { p.ShowTextLines = true; }, 630, QByteArray(1, 1));
    add("FirstTextLine", [](ProjectRecord &p) { p.FirstTextLine = 3; }, 631, le32(3));
    add("LastTextLine", [](ProjectRecord &p) { p.LastTextLine = 8; }, 635, le32(8));
    add("SpecialBitmapsOnly", [](ProjectRecord &p) { p.SpecialBitmapsOnly = true; }, 639, QByteArray(1, 1));

    // Floor texts: column by column.
    add("FloorTexts c1 r1", [](ProjectRecord &p) { p.FloorTexts[0][0] = "UG"; }, 640, "UG");
    add("FloorTexts c2 r1", [](ProjectRecord &p) { p.FloorTexts[1][0] = "Zeile"; }, 640 + 1408, "Zeile");
    add("FloorTexts c9 r64", [](ProjectRecord &p) { p.FloorTexts[8][63] = "last"; },
        640 + 8 * 1408 + 63 * 22, "last");

    // Bitmaps: layout order VFD1, VFD2, LCD; the accessors take DisplayModel.
    const BitmapRecord bmp = markedBitmap(256, 128, char(0x80), char(0x01));
    const QByteArray bmpBytes = bitmapBytes(bmp);
    add("FloorBitmaps VFD1 slot 1", [bmp](ProjectRecord &p) { p.floorBitmaps(0)[0] = bmp; }, 13312, bmpBytes);
    add("FloorBitmaps VFD2 slot 2", [bmp](ProjectRecord &p) { p.floorBitmaps(2)[1] = bmp; }, 275968 + 4104, bmpBytes);
    add("FloorBitmaps LCD slot 64", [bmp](ProjectRecord &p) { p.floorBitmaps(1)[63] = bmp; }, 538624 + 63 * 4104, bmpBytes);
    add("SpecialStates VFD1 row 1 text", [](ProjectRecord &p) { p.specialStates(0)[0].Text = "Ueberlast"; }, 801280, "Ueberlast");
    add("SpecialStates VFD2 row 10 bitmap", [bmp](ProjectRecord &p) { p.specialStates(2)[9].Bitmap = bmp; },
        842540 + 9 * 4126 + 22, bmpBytes);
    add("SpecialStates LCD row 4 text", [](ProjectRecord &p) { p.specialStates(1)[3].Text = "Brandfall"; },
        883800 + 3 * 4126, "Brandfall");
    add("Arrows VFD1 up", [bmp](ProjectRecord &p) { p.arrows(0)[1] = bmp; }, 925060 + 4104, bmpBytes);
    add("Arrows VFD2 down", [bmp](ProjectRecord &p) { p.arrows(2)[0] = bmp; }, 933268, bmpBytes);
    add("Arrows LCD up", [bmp](ProjectRecord &p) { p.arrows(1)[1] = bmp; }, 941476 + 4104, bmpBytes);
    add("SmallArrows VFD1 down", [bmp](ProjectRecord &p) { p.smallArrows(0)[0] = bmp; }, 949684, bmpBytes);
    add("SmallArrows VFD2 up", [bmp](ProjectRecord &p) { p.smallArrows(2)[1] = bmp; }, 957892 + 4104, bmpBytes);
    add("SmallArrows LCD down", [bmp](ProjectRecord &p) { p.smallArrows(1)[0] = bmp; }, 966100, bmpBytes);
    add("Logos VFD1", [bmp](ProjectRecord &p) { p.logo(0) = bmp; }, 974308, bmpBytes);
    add("Logos VFD2", [bmp](ProjectRecord &p) { p.logo(2) = bmp; }, 978412, bmpBytes);
    add("Logos LCD", [bmp](ProjectRecord &p) { p.logo(1) = bmp; }, 982516, bmpBytes);

    add("AutoSize", [](ProjectRecord &p) { p.AutoSize = true; }, 986620, QByteArray(1, 1));
    add("AlignTopLeft", [](ProjectRecord &p) { p.AlignTopLeft = true; }, 986621, QByteArray(1, 1));
    add("AlignCentre", [](ProjectRecord &p) { p.AlignCentre = true; }, 986622, QByteArray(1, 1));
    add("AlignBottomRight", [](ProjectRecord &p) { p.AlignBottomRight = true; }, 986623, QByteArray(1, 1));
    add("InfraredReceiver", [](ProjectRecord &p) { p.InfraredReceiver = true; }, 986624, QByteArray(1, 1));
    add("MonthNames January", [](ProjectRecord &p) { p.MonthNames[0] = "Jan"; }, 986625, "Jan");
    add("MonthNames December", [](ProjectRecord &p) { p.MonthNames[11] = "Dez"; }, 986625 + 11 * 22, "Dez");
    return cases;
}

} // namespace

class TestProjectRecord : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void emptyRecordIsZero()
    {
        const QByteArray bytes = ProjectRecord().toBytes();
        QCOMPARE(bytes.size(), 986889);
        QCOMPARE(bytes.count('\0'), bytes.size());
        QCOMPARE(ProjectRecord::fromBytes(bytes), ProjectRecord());
    }

    void fieldAtOffset_data()
    {
        QTest::addColumn<int>("index");
        const QList<FieldCase> cases = fieldCases();
        for (int i = 0; i < cases.size(); ++i)
            QTest::newRow(cases[i].name) << i;
    }

    void fieldAtOffset()
    {
        QFETCH(int, index);
        const FieldCase c = fieldCases().at(index);
        ProjectRecord rec;
        c.set(rec);

        QByteArray expected(ProjectRecord::kSize, '\0');
        expected.replace(c.offset, c.bytes.size(), c.bytes);
        const QByteArray bytes = rec.toBytes();
        QCOMPARE(bytes.size(), ProjectRecord::kSize);
        if (bytes != expected) {
            int first = 0;
            while (bytes[first] == expected[first])
                ++first;
            QFAIL(qPrintable(u"first difference at byte %1"_s.arg(first)));
        }
        QCOMPARE(ProjectRecord::fromBytes(bytes), rec);
    }

    /// Every field at once, with values that differ from field to field, for a
    /// record of each display model: nothing overlaps and everything comes back.
    void everyFieldRoundTrip_data()
    {
        QTest::addColumn<int>("model");
        QTest::newRow("VFD 128 x 64") << 0;
        QTest::newRow("LCD 240 x 128") << 1;
        QTest::newRow("VFD 256 x 128") << 2;
    }

    void everyFieldRoundTrip()
    {
        QFETCH(int, model);
        QRandomGenerator rng(quint32(1000 + model));
        const auto text = [&rng](int maxLen) {
            QByteArray t;
            const int n = int(rng.bounded(maxLen + 1));
            for (int i = 0; i < n; ++i)
                t.append(char(1 + rng.bounded(255)));
            return t;
        };
        const auto bitmap = [&rng]() {
            BitmapRecord b;
            b.Width = qint32(1 + rng.bounded(256));
            b.Height = qint32(1 + rng.bounded(BitmapRecord::kMaxPixels / b.Width));
            for (int i = 0; i < BitmapRecord::kPixelBytes; ++i)
                b.PackedPixels[i] = char(rng.bounded(256));
            return b;
        };

        ProjectRecord rec;
        rec.DisplayModel = quint8(model);
        rec.FloorFontName = text(41);
        rec.FloorFontBold = true;
        rec.FloorFontItalic = model != 1;
        rec.FloorFontSize = -250;
        rec.FloorTextOffsetX = 200;
        rec.FloorTextOffsetY = -300;
        rec.AutoSizeChars = text(91);
        rec.FloorCount = 17 + model;
        rec.FloorTextDigits = quint8(model);
        rec.FormatMark = 1;
        rec.ShowWhileMoving = true;
        rec.VerticalMounting = model == 2;
        rec.CharsetChoice = 2 - model;
        for (int m = 0; m < 3; ++m) {
            for (auto &r : rec.mainRegions(m))
                r = RegionRecord{TRect(int(rng.bounded(256)), int(rng.bounded(128)), int(rng.bounded(256)),
                                       int(rng.bounded(128))),
                                 rng.bounded(2) == 1};
            for (auto &r : rec.smallRegions(m))
                r = RegionRecord{TRect(-1, -2, -3, -4), true};
            for (auto &b : rec.floorBitmaps(m))
                b = bitmap();
            for (auto &s : rec.specialStates(m)) {
                s.Text = text(21);
                s.Bitmap = bitmap();
            }
            for (auto &b : rec.arrows(m))
                b = bitmap();
            for (auto &b : rec.smallArrows(m))
                b = bitmap();
            rec.logo(m) = bitmap();
        }
        rec.ShowDateTime = true;
        rec.ShowLogo = true;
        rec.ShowTextLines = true;
        rec.FirstTextLine = 2;
        rec.LastTextLine = 7;
        rec.SpecialBitmapsOnly = true;
        for (auto &column : rec.FloorTexts)
            for (auto &t : column)
                t = text(21);
        rec.AutoSize = true;
        rec.AlignBottomRight = true;
        rec.InfraredReceiver = true;
        for (auto &m : rec.MonthNames)
            m = text(21);

        const QByteArray bytes = rec.toBytes();
        QCOMPARE(bytes.size(), ProjectRecord::kSize);
        const ProjectRecord back = ProjectRecord::fromBytes(bytes);
        QCOMPARE(back, rec);
        QCOMPARE(back.toBytes(), bytes);
        QStringList warnings;
        ProjectRecord sane = back;
        sane.sanitize(warnings);
        QCOMPARE(warnings, QStringList());
        QCOMPARE(sane, rec);
    }

    void modelAndLayoutOrder()
    {
        // The LCD is second in model order and third in layout order.
        QCOMPARE(ProjectRecord::layoutIndex(0), 0);
        QCOMPARE(ProjectRecord::layoutIndex(1), 2);
        QCOMPARE(ProjectRecord::layoutIndex(2), 1);
        ProjectRecord rec;
        rec.floorBitmaps(1)[0].Width = 240;
        QCOMPARE(rec.FloorBitmaps[2][0].Width, 240);
        rec.mainRegions(1)[0].Active = true;
        QVERIFY(rec.MainRegions[1][0].Active);
        // The same through the display model type.
        QCOMPARE(rec.floorBitmaps(DisplayModel::Lcd240)[0].Width, 240);
        rec.logo(DisplayModel::Vfd256).Height = 7;
        QCOMPARE(rec.Logos[1].Height, 7);
        rec.specialStates(DisplayModel::Lcd240)[2].Text = "x";
        QCOMPARE(rec.SpecialStates[2][2].Text, QByteArray("x"));
        QVERIFY(rec.smallRegions(DisplayModel::Lcd240) == rec.SmallRegions[1]);
    }

    void textFields_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("fieldSize");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("stored");

        const QByteArray full41(41, 'N');
        QTest::newRow("font name full, no terminator") << 1 << 41 << full41 << full41;
        QTest::newRow("font name too long is cut") << 1 << 41 << (full41 + "xyz") << full41;
        QTest::newRow("font name short") << 1 << 41 << QByteArray("DejaVu Sans") << QByteArray("DejaVu Sans");
        const QByteArray full91(91, 'A');
        QTest::newRow("autosize chars full") << 56 << 91 << full91 << full91;
        QTest::newRow("autosize chars cut") << 56 << 91 << (full91 + "B") << full91;
        QTest::newRow("month name of 25 is cut to 21") << 986625 << 22 << QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXY")
                                                       << QByteArray("ABCDEFGHIJKLMNOPQRSTU");
        QTest::newRow("floor text undefined codes") << 640 << 22 << QByteArray("\x81\x8D\x8F\x90\x9D")
                                                    << QByteArray("\x81\x8D\x8F\x90\x9D");
        QTest::newRow("special text high bytes") << 801280 << 22 << QByteArray("\x80\xC4\xD6\xDC\xE4\xF6\xFC\xDF\xFF")
                                                 << QByteArray("\x80\xC4\xD6\xDC\xE4\xF6\xFC\xDF\xFF");
    }

    void textFields()
    {
        QFETCH(int, offset);
        QFETCH(int, fieldSize);
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, stored);

        ProjectRecord rec;
        switch (offset) {
        case 1: rec.FloorFontName = text; break;
        case 56: rec.AutoSizeChars = text; break;
        case 640: rec.FloorTexts[0][0] = text; break;
        case 801280: rec.specialStates(0)[0].Text = text; break;
        default: rec.MonthNames[0] = text; break;
        }
        const QByteArray bytes = rec.toBytes();
        QByteArray field = stored;
        field.append(QByteArray(fieldSize - stored.size(), '\0'));
        QCOMPARE(bytes.mid(offset, fieldSize), field);
        // Nothing spills into the next field.
        QCOMPARE(bytes.count('\0'), bytes.size() - stored.size());

        const ProjectRecord back = ProjectRecord::fromBytes(bytes);
        const QByteArray read = offset == 1 ? back.FloorFontName
            : offset == 56                  ? back.AutoSizeChars
            : offset == 640                 ? back.FloorTexts[0][0]
            : offset == 801280              ? back.specialStates(0)[0].Text
                                            : back.MonthNames[0];
        QCOMPARE(read, stored);
        // The editor's texts go through Windows-1252 and must come back byte for byte.
        QCOMPARE(Win1252::fromUnicode(Win1252::toUnicode(read)), stored);
    }

    void textReadStopsAtZeroAndField()
    {
        QByteArray bytes(ProjectRecord::kSize, '\0');
        // A month field with garbage after the terminator, and one without any terminator.
        bytes.replace(986625, 8, QByteArray("Jan\0junk", 8));
        bytes.replace(986625 + 22, 22, QByteArray(22, 'F'));
        const ProjectRecord rec = ProjectRecord::fromBytes(bytes);
        QCOMPARE(rec.MonthNames[0], QByteArray("Jan"));
        QCOMPARE(rec.MonthNames[1], QByteArray(21, 'F'));
    }

    void shortInputReadsAsZero()
    {
        ProjectRecord rec;
        rec.FloorCount = 12;
        rec.FloorFontName = "Arial";
        rec.logo(1) = markedBitmap(3, 3, 8, 1);
        const QByteArray full = rec.toBytes();
        const ProjectRecord cut = ProjectRecord::fromBytes(full.left(200));
        QCOMPARE(cut.FloorCount, 12);
        QCOMPARE(cut.FloorFontName, QByteArray("Arial"));
        QCOMPARE(cut.logo(1), BitmapRecord());
        // A bitmap record cut inside its pixels keeps what is there.
        const ProjectRecord mid = ProjectRecord::fromBytes(full.left(982516 + 9));
        QCOMPARE(mid.logo(1).Width, 3);
        QCOMPARE(mid.logo(1).PackedPixels.at(0), char(8));
        QCOMPARE(mid.logo(1).PackedPixels.at(4095), char(0));
    }

    void sanitizeClamps_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("expected");

        QTest::newRow("DisplayModel 7") << 0 << 1 << 7 << 2;
        QTest::newRow("DisplayModel 2 stays") << 0 << 1 << 2 << 2;
        QTest::newRow("FloorCount 0") << 155 << 4 << 0 << 2;
        QTest::newRow("FloorCount 1") << 155 << 4 << 1 << 2;
        QTest::newRow("FloorCount 65") << 155 << 4 << 65 << 64;
        QTest::newRow("FloorCount huge") << 155 << 4 << 2000000000 << 64;
        QTest::newRow("FloorCount 64 stays") << 155 << 4 << 64 << 64;
        QTest::newRow("FirstTextLine -1") << 631 << 4 << -1 << 0;
        QTest::newRow("FirstTextLine 9") << 631 << 4 << 9 << 8;
        QTest::newRow("LastTextLine 100") << 635 << 4 << 100 << 8;
        QTest::newRow("FloorTextDigits 200") << 159 << 1 << 200 << 2;
        QTest::newRow("CharsetChoice -5") << 163 << 4 << -5 << 0;
    }

    void sanitizeClamps()
    {
        QFETCH(int, offset);
        QFETCH(int, size);
        QFETCH(int, stored);
        QFETCH(int, expected);

        ProjectRecord base;
        base.FloorCount = 5;
        QByteArray bytes = base.toBytes();
        bytes.replace(offset, size, size == 1 ? QByteArray(1, char(stored)) : le32(stored));
        ProjectRecord rec = ProjectRecord::fromBytes(bytes);
        QStringList warnings;
        rec.sanitize(warnings);
        QCOMPARE(warnings.size(), stored == expected ? 0 : 1);
        const int value = offset == 0 ? rec.DisplayModel
            : offset == 155           ? rec.FloorCount
            : offset == 631           ? rec.FirstTextLine
            : offset == 635           ? rec.LastTextLine
            : offset == 159           ? rec.FloorTextDigits
                                      : rec.CharsetChoice;
        QCOMPARE(value, expected);
    }

    void sanitizeBitmaps_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("kept");
        QTest::addColumn<bool>("warned");

        QTest::newRow("largest 256 x 128") << 256 << 128 << true << false;
        QTest::newRow("32768 x 1") << 32768 << 1 << true << false;
        QTest::newRow("one pixel more") << 32769 << 1 << false << true;
        QTest::newRow("300 x 200") << 300 << 200 << false << true;
        QTest::newRow("overflowing product") << 65536 << 65536 << false << true;
        QTest::newRow("negative width") << -5 << 10 << false << true;
        QTest::newRow("negative height") << 10 << -1 << false << true;
        QTest::newRow("5 x 0 is simply empty") << 5 << 0 << true << false;
    }

    void sanitizeBitmaps()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(bool, kept);
        QFETCH(bool, warned);

        ProjectRecord rec;
        rec.FloorCount = 5;
        const BitmapRecord b = markedBitmap(width, height, char(0xFF), char(0xFF));
        rec.floorBitmaps(1)[10] = b;
        rec.specialStates(2)[9].Bitmap = b;
        rec.smallArrows(0)[1] = b;
        rec = ProjectRecord::fromBytes(rec.toBytes());
        QStringList warnings;
        rec.sanitize(warnings);
        QCOMPARE(warnings.size(), warned ? 3 : 0);
        const BitmapRecord expected = kept ? b : BitmapRecord();
        QCOMPARE(rec.floorBitmaps(1)[10], expected);
        QCOMPARE(rec.specialStates(2)[9].Bitmap, expected);
        QCOMPARE(rec.smallArrows(0)[1], expected);
        if (warned)
            QVERIFY2(warnings.join(u'|').contains(u"Etagenbitmap 11 (LCD 240 x 128)"_s),
                     qPrintable(warnings.join(u'|')));
    }

    void convertOldRecord()
    {
        QByteArray old(ProjectRecord::kOldSize, '\0');
        old[0] = 2;                 // DisplayModel
        old[155] = 12;              // FloorCount
        old[162] = 1;               // meaningless in the older format
        old[640] = 'U';             // first floor text
        old[801279] = char(0x55);   // last byte of the first part
        // Special states: nine per model at 801280 + m * 37134.
        for (int m = 0; m < 3; ++m)
            for (int n = 0; n < 9; ++n)
                old[801280 + m * 37134 + n * 4126] = char('A' + m * 9 + n);
        old[912682] = char(0x11);   // arrows of the first model
        old[961930] = char(0x22);   // logos
        old[974242] = 1;            // AutoSize
        old[974246] = 1;            // InfraredReceiver
        old.replace(974247, 3, "Jan");
        old.replace(974247 + 11 * 22, 3, "Dez");

        const QByteArray conv = ProjectRecord::convertOldRecord(old);
        QCOMPARE(conv.size(), ProjectRecord::kSize);
        QCOMPARE(int(conv[160]), 1);
        QCOMPARE(int(conv[162]), 0);
        QCOMPARE(int(conv[801279]), 0x55);
        QCOMPARE(int(conv[925060]), 0x11);
        QCOMPARE(int(conv[974308]), 0x22);

        const ProjectRecord rec = ProjectRecord::fromBytes(conv);
        QCOMPARE(int(rec.DisplayModel), 2);
        QCOMPARE(rec.FloorCount, 12);
        QVERIFY(!rec.VerticalMounting);
        QCOMPARE(rec.FloorTexts[0][0], QByteArray("U"));
        QVERIFY(rec.AutoSize);
        QVERIFY(rec.InfraredReceiver);
        QCOMPARE(rec.MonthNames[0], QByteArray("Jan"));
        QCOMPARE(rec.MonthNames[11], QByteArray("Dez"));
        for (int l = 0; l < 3; ++l) {
            for (int n = 0; n < 9; ++n)
                QCOMPARE(rec.SpecialStates[size_t(l)][size_t(n)].Text, QByteArray(1, char('A' + l * 9 + n)));
            QCOMPARE(rec.SpecialStates[size_t(l)][9], SpecialStateRecord());
        }
        // Everything after the special states moved by 12378 bytes.
        QCOMPARE(conv.mid(925060), old.mid(912682));
    }

    void fontHeader()
    {
        FontHeader h;
        h.Count = 2;
        h.FileNames[0] = "DejaVuSans.ttf";
        h.FileNames[1] = QByteArray(35, 'x'); // stored cut to 30 characters
        h.FileSizes[0] = 741536;
        h.FileSizes[1] = 7;
        const QByteArray bytes = h.toBytes();
        QCOMPARE(bytes.size(), 284);
        QCOMPARE(bytes.left(4), le32(2));
        QCOMPARE(bytes.mid(4, 31), QByteArray("DejaVuSans.ttf") + QByteArray(17, '\0'));
        QCOMPARE(bytes.mid(35, 31), QByteArray(30, 'x') + QByteArray(1, '\0'));
        QCOMPARE(bytes.mid(252, 4), le32(741536));
        QCOMPARE(bytes.mid(256, 4), le32(7));
        QCOMPARE(bytes.mid(260), QByteArray(24, '\0'));

        const FontHeader back = FontHeader::fromBytes(bytes);
        QCOMPARE(back.Count, 2);
        QCOMPARE(back.FileNames[0], h.FileNames[0]);
        QCOMPARE(back.FileNames[1], QByteArray(30, 'x'));
        QCOMPARE(back.FileSizes, h.FileSizes);
        QCOMPARE(FontHeader::fromBytes(QByteArray()), FontHeader());
    }

    // Bitmap packing

    void packBitmap_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QList<QPoint>>("lit");
        QTest::addColumn<QByteArray>("expectedStart");

        QTest::newRow("3x3 centre") << 3 << 3 << QList<QPoint>{{1, 1}} << QByteArray("\x08\x00", 2);
        QTest::newRow("no row alignment") << 3 << 2 << QList<QPoint>{{0, 1}} << QByteArray("\x10", 1);
        QTest::newRow("msb first") << 8 << 1 << QList<QPoint>{{0, 0}, {7, 0}} << QByteArray("\x81", 1);
        QTest::newRow("row of nine") << 9 << 1
                                     << QList<QPoint>{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}, {8, 0}}
                                     << QByteArray("\xFF\x80", 2);
        QTest::newRow("last pixel of 256x128") << 256 << 128 << QList<QPoint>{{255, 127}}
                                               << QByteArray(4095, '\0') + QByteArray("\x01", 1);
    }

    void packBitmap()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QList<QPoint>, lit);
        QFETCH(QByteArray, expectedStart);

        QImage img(width, height, QImage::Format_ARGB32);
        img.fill(0);
        for (const QPoint &p : lit)
            img.setPixel(p, 0x00FFFFFF);
        const QByteArray packed = PackBitmap(img, width, height);
        QCOMPARE(packed.size(), 4096);
        QCOMPARE(packed.left(expectedStart.size()), expectedStart);
        QCOMPARE(packed.count('\0'), 4096 - expectedStart.size() + expectedStart.count('\0'));

        const QImage back = UnpackBitmap(width, height, packed);
        QCOMPARE(back.size(), img.size());
        QCOMPARE(back.format(), QImage::Format_ARGB32);
        QCOMPARE(back, img);
    }

    void packBitmapColourBits_data()
    {
        QTest::addColumn<uint>("pixel");
        QTest::addColumn<bool>("lit");
        QTest::newRow("alpha only") << 0xFF000000u << false;
        QTest::newRow("blue bit") << 0x00000001u << true;
        QTest::newRow("red") << 0xFFFF0000u << true;
        QTest::newRow("unknown state grey") << 0x00808080u << true;
        QTest::newRow("zero") << 0u << false;
    }

    void packBitmapColourBits()
    {
        QFETCH(uint, pixel);
        QFETCH(bool, lit);
        QImage img(1, 1, QImage::Format_ARGB32);
        img.setPixel(0, 0, pixel);
        QCOMPARE(PackBitmap(img, 1, 1).at(0), lit ? char(0x80) : char(0));
        const QImage back = UnpackBitmap(1, 1, PackBitmap(img, 1, 1));
        QCOMPARE(back.pixel(0, 0), lit ? 0x00FFFFFFu : 0u);
    }

    void unpackRefusesBadSizes_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("zero width") << 0 << 5;
        QTest::newRow("negative height") << 5 << -1;
        QTest::newRow("too many pixels") << 257 << 128;
        QTest::newRow("overflow") << 65536 << 65537;
    }

    void unpackRefusesBadSizes()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QVERIFY(UnpackBitmap(width, height, QByteArray(4096, char(0xFF))).isNull());
        BitmapRecord r;
        r.Width = width;
        r.Height = height;
        QVERIFY(ImageFromBitmapRecord(r).isNull());
    }

    void packedRoundTripRandom()
    {
        QRandomGenerator rng(42);
        QImage img(241, 131, QImage::Format_ARGB32); // 31571 pixels: odd rows, no alignment
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                img.setPixel(x, y, rng.bounded(2) ? 0x00FFFFFFu : 0u);
        const BitmapRecord rec = BitmapRecordFromImage(img);
        QCOMPARE(rec.Width, 241);
        QCOMPARE(rec.Height, 131);
        QCOMPARE(ImageFromBitmapRecord(rec), img);
        QCOMPARE(BitmapRecordFromImage(QImage()), BitmapRecord());
    }
};

QTEST_GUILESS_MAIN(TestProjectRecord)
#include "test_projectrecord.moc"
