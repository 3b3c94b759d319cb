// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/display.h"
#include "display/userfont.h"
#include "ledmatrix/ledmatrix.h"
#include "util/win1252.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <climits>

using namespace Qt::StringLiterals;

namespace {

constexpr quint32 kOn = 0x00FFFFFF;
constexpr quint32 kOff = 0x00000000;
constexpr quint32 kMarker = 0x00123456; // an unknown LED state nothing draws

// Header lines of a .fnt file followed by data lines, joined with \a eol.
QByteArray fnt(const QList<QByteArray> &lines, const QByteArray &eol = "\r\n")
{
    QByteArray out;
    for (const QByteArray &l : lines)
        out += l + eol;
    return out;
}

// A W x H font of codes first..last whose glyph rows are the code itself, then 0s:
// the first row of each cell tells which character was drawn.
QByteArray codedFont(int w, int h, int pitch, int first, int last)
{
    const int n = h; // one byte a row
    QByteArray data;
    for (int c = first; c <= last; ++c) {
        data += char(c);
        data += QByteArray(n - 1, '\0');
    }
    QList<QByteArray> lines{"coded", QByteArray::number(w), QByteArray::number(h),
                            QByteArray::number(pitch), QByteArray::number(first),
                            QByteArray::number(last), QByteArray::number(n)};
    for (qsizetype i = 0; i + 8 <= data.size(); i += 8)
        lines << data.mid(i, 8).toHex().toUpper();
    return fnt(lines);
}

void fill(LedMatrix &m, quint32 v)
{
    for (int y = 0; y < m.LEDCountY(); ++y)
        for (int x = 0; x < m.LEDCountX(); ++x)
            m.setContentPixel(x, y, v);
}

// Reads the cells of character row \a row of a codedFont drawing: the first pixel row
// of each cell as a byte; '.' for a cell still holding the marker.
QByteArray readCells(const LedMatrix &m, int x0, int y, int cellW, int count)
{
    QByteArray out;
    for (int i = 0; i < count; ++i) {
        const int x = x0 + i * cellW;
        if (m.contentPixel(x, y) == kMarker) {
            out += '.';
            continue;
        }
        int v = 0;
        for (int b = 0; b < 8; ++b)
            v = v << 1 | (m.contentPixel(x + b, y) == kOn ? 1 : 0);
        out += char(v);
    }
    return out;
}

} // namespace

class TestUserFont : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString write(const QString &name, const QByteArray &content)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write test file");
        f.write(content);
        return path;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void loadsValidFiles_data();
    void loadsValidFiles();
    void ninetySixDataLines();
    void dataSizeNotMultipleOfEight();
    void refusesMalformedFiles_data();
    void refusesMalformedFiles();
    void missingFile();
    void glyphByteOutsideRangeIsZero();

    void drawGlyphTextHollowSquare();
    void drawGlyphTextUsesOnlyFirstWidthBits();
    void drawGlyphTextBlankForCharsWithoutGlyph();
    void drawGlyphTextClipsAtEveryEdge();
    void drawGlyphTextLooksUpWindows1252Bytes();

    void writeTextCutsAndCentres_data();
    void writeTextCutsAndCentres();
    void writeTextUprightSplitsIntoTwoLines();
    void writeTextWithoutFontDrawsNothing();

    void shippedFonts_data();
    void shippedFonts();
    void shippedFontsMatchTheirGenerator();
};

void TestUserFont::loadsValidFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QList<int>>("numbers"); // W, H, Pitch, First, Last, N
    QTest::addColumn<QByteArray>("data");

    const QList<QByteArray> body{"Small", "8", "8", "9", "65", "65", "8", "FF818181818181FF"};
    const QByteArray square = QByteArray::fromHex("FF818181818181FF");
    const QList<int> sq{8, 8, 9, 65, 65, 8};
    QTest::newRow("CR LF") << fnt(body) << u"Small"_s << sq << square;
    QTest::newRow("LF") << fnt(body, "\n") << u"Small"_s << sq << square;
    QTest::newRow("CR") << fnt(body, "\r") << u"Small"_s << sq << square;
    QTest::newRow("no final break") << fnt(body).chopped(2) << u"Small"_s << sq << square;
    QTest::newRow("lower-case hex, trailing text and lines ignored")
        << fnt({"Small", "8", "8", "9", "65", "65", "8", "ff818181818181ffXYZ", "garbage"})
        << u"Small"_s << sq << square;
    QTest::newRow("many lines after the data")
        << fnt(body) + QByteArray(300000, '\n') << u"Small"_s << sq << square;
    QTest::newRow("$ hex numbers, sign and spaces")
        << fnt({"Hex", "$6", " $8 ", "+6", "$41", "$42", "$8", "0102030405060708",
                "1112131415161718"})
        << u"Hex"_s << QList<int>{6, 8, 6, 65, 66, 8}
        << QByteArray::fromHex("01020304050607081112131415161718");
    QTest::newRow("20-character name keeps 15")
        << fnt({"ABCDEFGHIJKLMNOPQRST", "8", "8", "8", "65", "65", "8", "FF818181818181FF"})
        << u"ABCDEFGHIJKLMNO"_s << QList<int>{8, 8, 8, 65, 65, 8} << square;
    QTest::newRow("Windows-1252 name") << fnt({"Gr\xf6\xdf" "e", "8", "8", "8", "65", "65", "8",
                                               "FF818181818181FF"})
                                       << u"Größe"_s << QList<int>{8, 8, 8, 65, 65, 8} << square;
    QTest::newRow("char codes keep their low 8 bits")
        << fnt({"Wrap", "8", "8", "8", "321", "-191", "8", "FF818181818181FF"}) // 65, 65
        << u"Wrap"_s << sq.mid(0, 2) + QList<int>{8, 65, 65, 8} << square;
}

void TestUserFont::loadsValidFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, name);
    QFETCH(QList<int>, numbers);
    QFETCH(QByteArray, data);

    const QString path = write(u"valid.fnt"_s, content);
    TUserFont font;
    QString error = u"stale"_s;
    QVERIFY2(font.LoadFromFile(path, &error), qPrintable(error));
    QVERIFY(error.isEmpty());
    QCOMPARE(font.FontName, name);
    QCOMPARE((QList<int>{font.GlyphWidth, font.GlyphHeight, font.Pitch, font.FirstChar,
                         font.LastChar, font.BytesPerGlyph}),
             numbers);
    QCOMPARE(font.GlyphData, data);

    // The constructor loads the same way.
    const TUserFont constructed(path);
    QCOMPARE(constructed.GlyphData, data);
}

void TestUserFont::ninetySixDataLines()
{
    QList<QByteArray> lines{"Ascii", "8", "8", "8", "32", "127", "8"};
    for (int k = 0; k < 96; ++k)
        lines << QByteArray::number(0x0100000000000000ULL * quint64(k) + quint64(k), 16)
                     .rightJustified(16, '0')
                     .toUpper();
    TUserFont font;
    QString error;
    QVERIFY2(font.LoadFromData(fnt(lines), u"ascii.fnt"_s, &error), qPrintable(error));
    QCOMPARE(font.GlyphData.size(), 768);
    QCOMPARE(font.GlyphByte(127, 0), quint8(95)); // line 103 = glyph 127
    QCOMPARE(font.GlyphByte(127, 7), quint8(95));
    QCOMPARE(font.GlyphByte(32, 7), quint8(0));

    // One data line short: the message names line 103.
    lines.removeLast();
    QVERIFY(!font.LoadFromData(fnt(lines), u"ascii.fnt"_s, &error));
    QVERIFY2(error.startsWith(u"ascii.fnt, Zeile 103:"_s), qPrintable(error));
    QVERIFY(font.IsEmpty());
}

void TestUserFont::dataSizeNotMultipleOfEight()
{
    // 12 bytes: one full data line; the remaining 4 bytes are 0, not read from line 9.
    TUserFont font;
    QString error;
    QVERIFY2(font.LoadFromData(fnt({"Odd", "4", "3", "4", "65", "65", "12", "0102030405060708",
                                    "FFFFFFFFFFFFFFFF"}),
                               u"odd.fnt"_s, &error),
             qPrintable(error));
    QCOMPARE(font.GlyphData, QByteArray::fromHex("010203040506070800000000"));
}

void TestUserFont::refusesMalformedFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("line");

    const QByteArray d = "FF818181818181FF";
    auto file = [&](const QByteArray &w, const QByteArray &h, const QByteArray &p,
                    const QByteArray &f, const QByteArray &l, const QByteArray &n) {
        return fnt({"Bad", w, h, p, f, l, n, d});
    };
    QTest::newRow("empty file") << QByteArray() << 1;
    QTest::newRow("name only") << QByteArray("Bad\r\n") << 2;
    QTest::newRow("header cut after pitch") << fnt({"Bad", "8", "8", "8"}) << 5;
    QTest::newRow("width not a number") << file("eight", "8", "8", "65", "65", "8") << 2;
    QTest::newRow("empty height line") << file("8", "", "8", "65", "65", "8") << 3;
    QTest::newRow("lone $") << file("8", "8", "$", "65", "65", "8") << 4;
    QTest::newRow("bad hex number") << file("8", "8", "8", "$4G", "65", "8") << 5;
    QTest::newRow("number beyond 32 bits") << file("8", "8", "8", "65", "99999999999", "8") << 6;
    QTest::newRow("width 0") << file("0", "8", "8", "65", "65", "8") << 2;
    QTest::newRow("negative height") << file("8", "-8", "8", "65", "65", "8") << 3;
    QTest::newRow("pitch 0") << file("8", "8", "0", "65", "65", "8") << 4;
    QTest::newRow("absurd width") << file("100000", "8", "8", "65", "65", "8") << 2;
    QTest::newRow("first after last") << file("8", "8", "8", "66", "65", "8") << 6;
    QTest::newRow("bytes per glyph 0") << file("8", "8", "8", "65", "65", "0") << 7;
    QTest::newRow("absurd bytes per glyph") << file("8", "8", "8", "65", "65", "1000000") << 7;
    QTest::newRow("row needs more bytes than a glyph has (N div W = 0)")
        << file("16", "8", "16", "65", "65", "8") << 7;
    QTest::newRow("rows beyond the glyph (H x (N div W) > N)")
        << file("8", "9", "8", "65", "65", "8") << 7;
    QTest::newRow("data line missing") << fnt({"Bad", "8", "8", "8", "65", "66", "8", d}) << 9;
    QTest::newRow("short data line") << fnt({"Bad", "8", "8", "8", "65", "65", "8", "FF8181"}) << 8;
    QTest::newRow("non-hex digit") << fnt({"Bad", "8", "8", "8", "65", "66", "8", d,
                                           "FF81818181818XFF"})
                                   << 9;
    QTest::newRow("leading space in data") << fnt({"Bad", "8", "8", "8", "65", "65", "8",
                                                   " FF818181818181FF"})
                                           << 8;
}

void TestUserFont::refusesMalformedFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(int, line);

    const QString path = write(u"bad.fnt"_s, content);
    TUserFont font;
    QString error;
    // A good font first: a refused file must leave the font empty, not half loaded.
    QVERIFY(font.LoadFromData(fnt({"Good", "8", "8", "8", "65", "65", "8", "FF818181818181FF"}),
                              u"good"_s));
    QVERIFY(!font.LoadFromFile(path, &error));
    const QString expected = path + u", Zeile "_s + QString::number(line) + u':';
    QVERIFY2(error.startsWith(expected), qPrintable(error + u" / expected "_s + expected));
    QVERIFY(font.IsEmpty());
    QVERIFY(font.FontName.isEmpty());
    QCOMPARE(font.GlyphWidth + font.GlyphHeight + font.Pitch + font.BytesPerGlyph, 0);
    QCOMPARE(font.FirstChar + font.LastChar, 0);
}

void TestUserFont::missingFile()
{
    const QString path = m_dir.filePath(u"nothere.fnt"_s);
    TUserFont font;
    QVERIFY(font.LoadFromData(fnt({"Good", "8", "8", "8", "65", "65", "8", "FF818181818181FF"}),
                              u"good"_s));
    QString error;
    QVERIFY(!font.LoadFromFile(path, &error));
    QCOMPARE(error, path + u" nicht vorhanden"_s);
    QVERIFY(font.IsEmpty());

    // A folder is no font file either.
    QVERIFY(!font.LoadFromFile(m_dir.path(), &error));
    QCOMPARE(error, m_dir.path() + u" nicht vorhanden"_s);
}

void TestUserFont::glyphByteOutsideRangeIsZero()
{
    TUserFont font;
    QVERIFY(font.LoadFromData(fnt({"Two", "8", "8", "8", "65", "66", "8", "FFFFFFFFFFFFFFFF",
                                   "0102030405060708"}),
                              u"two"_s));
    QCOMPARE(font.GlyphByte(66, 7), quint8(8));
    QCOMPARE(font.GlyphByte(64, 0), quint8(0));
    QCOMPARE(font.GlyphByte(67, 0), quint8(0));
    QCOMPARE(font.GlyphByte(65, 8), quint8(0));
    QCOMPARE(font.GlyphByte(65, -1), quint8(0));
    QCOMPARE(TUserFont().GlyphByte(0, 0), quint8(0));
}

void TestUserFont::drawGlyphTextHollowSquare()
{
    TUserFont font;
    QVERIFY(font.LoadFromData(fnt({"Sq", "8", "8", "9", "65", "65", "8", "FF818181818181FF"}),
                              u"sq"_s));
    LedMatrix m;
    m.SetLEDCountX(30);
    m.SetLEDCountY(12);
    fill(m, kMarker);
    m.DrawGlyphText(2, 1, font, u"AA"_s);

    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 30; ++x) {
            quint32 expected = kMarker;
            for (int cell : {2, 11}) { // pitch 9: one untouched column between the cells
                if (x >= cell && x < cell + 8 && y >= 1 && y < 9) {
                    const bool border = x == cell || x == cell + 7 || y == 1 || y == 8;
                    expected = border ? kOn : kOff;
                }
            }
            QVERIFY2(m.contentPixel(x, y) == expected, qPrintable(u"LED %1,%2"_s.arg(x).arg(y)));
        }
    }
}

void TestUserFont::drawGlyphTextUsesOnlyFirstWidthBits()
{
    // Width 6 with 8 bytes a glyph: one byte a row, of which only the 6 high bits show.
    TUserFont font;
    QVERIFY(font.LoadFromData(fnt({"Six", "6", "8", "6", "65", "65", "8", "FFFFFFFFFFFFFFFF"}),
                              u"six"_s));
    LedMatrix m;
    m.SetLEDCountX(20);
    m.SetLEDCountY(10);
    fill(m, kMarker);
    m.DrawGlyphText(0, 0, font, u"A"_s);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 6; ++x)
            QCOMPARE(m.contentPixel(x, y), kOn);
        QCOMPARE(m.contentPixel(6, y), kMarker);
        QCOMPARE(m.contentPixel(7, y), kMarker);
    }
    QCOMPARE(m.contentPixel(0, 8), kMarker);

    // Wider than a row's bits (11 columns, 1 byte a row): the extra columns are unlit.
    QVERIFY(font.LoadFromData(fnt({"Wide", "11", "2", "11", "65", "65", "16", "FFFFFFFFFFFFFFFF",
                                   "FFFFFFFFFFFFFFFF"}),
                              u"wide"_s));
    m.DrawGlyphText(0, 0, font, u"A"_s);
    for (int x = 0; x < 11; ++x)
        QCOMPARE(m.contentPixel(x, 0), x < 8 ? kOn : kOff);
}

void TestUserFont::drawGlyphTextBlankForCharsWithoutGlyph()
{
    TUserFont font;
    QVERIFY(font.LoadFromData(fnt({"A", "8", "8", "8", "65", "65", "8", "FFFFFFFFFFFFFFFF"}),
                              u"a"_s));
    LedMatrix m;
    m.SetLEDCountX(24);
    m.SetLEDCountY(8);
    fill(m, kMarker);
    m.DrawGlyphText(0, 0, font, u"BA\u00C4"_s); // B and Ä have no glyph
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 24; ++x)
            QCOMPARE(m.contentPixel(x, y), (x >= 8 && x < 16) ? kOn : kOff);
    }

    // An empty font draws nothing lit, and never crashes.
    m.DrawGlyphText(0, 0, TUserFont(), u"AAA"_s);
}

void TestUserFont::drawGlyphTextClipsAtEveryEdge()
{
    TUserFont font;
    QVERIFY(font.LoadFromData(fnt({"Sq", "8", "8", "8", "65", "65", "8", "FF818181818181FF"}),
                              u"sq"_s));
    LedMatrix m;
    m.SetLEDCountX(10);
    m.SetLEDCountY(10);
    fill(m, kMarker);
    // Top-left cell at (-3, -2) and a second one at (5, -2) reaching past the right edge.
    m.DrawGlyphText(-3, -2, font, u"AA"_s);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            quint32 expected = kMarker;
            if (y <= 5) {
                const int cx = x < 5 ? x + 3 : x - 5; // column inside its cell
                const int cy = y + 2;
                const bool border = cx == 0 || cx == 7 || cy == 0 || cy == 7;
                expected = border ? kOn : kOff;
            }
            QVERIFY2(m.contentPixel(x, y) == expected, qPrintable(u"LED %1,%2"_s.arg(x).arg(y)));
        }
    }
    // Far outside on every side: nothing changes.
    fill(m, kMarker);
    for (const QPoint p : {QPoint(-1000, 0), QPoint(1000, 0), QPoint(0, -1000), QPoint(0, 1000),
                           QPoint(INT_MAX - 4, INT_MAX - 4), QPoint(INT_MIN, INT_MIN)})
        m.DrawGlyphText(p.x(), p.y(), font, u"AAAA"_s);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            QCOMPARE(m.contentPixel(x, y), kMarker);
}

void TestUserFont::drawGlyphTextLooksUpWindows1252Bytes()
{
    // Codes 0x80..0x81 and 0xC4: the euro sign is 0x80, Ä is 0xC4.
    TUserFont font;
    QList<QByteArray> lines{"Hi", "8", "1", "8", "128", "196", "8"};
    QByteArray data(69 * 8, '\0');
    data[0] = char(0x80);          // glyph 0x80: first row 10000000
    data[(0xC4 - 0x80) * 8] = 0x01; // glyph 0xC4: first row 00000001
    for (qsizetype i = 0; i < data.size(); i += 8)
        lines << data.mid(i, 8).toHex();
    QString error;
    QVERIFY2(font.LoadFromData(fnt(lines), u"hi"_s, &error), qPrintable(error));
    LedMatrix m;
    m.SetLEDCountX(16);
    m.SetLEDCountY(1);
    m.DrawGlyphText(0, 0, font, u"\u20AC\u00C4"_s);
    QCOMPARE(readCells(m, 0, 0, 8, 2), QByteArray("\x80\x01"));
}

void TestUserFont::writeTextCutsAndCentres_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("center");
    QTest::addColumn<QByteArray>("cells"); // 20 cells from column 0; '.' untouched

    QTest::newRow("30 chars cut to 16")
        << 0 << u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123"_s << false << QByteArray("ABCDEFGHIJKLMNOP....");
    QTest::newRow("cut to the columns left from col 10")
        << 10 << u"ABCDEFGHIJ"_s << false << QByteArray("..........ABCDEF....");
    QTest::newRow("EG centred: 7 + 2 + 7")
        << 0 << u"EG"_s << true << QByteArray("       EG       ....");
    QTest::newRow("odd free space: one less on the right")
        << 0 << u"ABC"_s << true << QByteArray("      ABC      .....");
    QTest::newRow("centred from col 12") << 12 << u"X"_s << true << QByteArray("............ X .....");
    QTest::newRow("too long and centred: cut")
        << 0 << u"ABCDEFGHIJKLMNOPQRSTUVWXYZ"_s << true << QByteArray("ABCDEFGHIJKLMNOP....");
    QTest::newRow("no columns left") << 16 << u"ABC"_s << true << QByteArray("....................");
    QTest::newRow("beyond the columns") << 20 << u"ABC"_s << false << QByteArray("....................");
}

void TestUserFont::writeTextCutsAndCentres()
{
    QFETCH(int, col);
    QFETCH(QString, text);
    QFETCH(bool, center);
    QFETCH(QByteArray, cells);

    TUserFont font;
    QString error;
    QVERIFY2(font.LoadFromData(codedFont(8, 8, 8, 32, 127), u"coded"_s, &error), qPrintable(error));
    TDisplay layout(u"VFD1"_s, 128, 64, &font);
    QCOMPARE(layout.Columns, 16);
    QCOMPARE(layout.Rows, 8);
    LedMatrix m; // wider than the layout, so a missing cut would show
    m.SetLEDCountX(160);
    m.SetLEDCountY(64);
    fill(m, kMarker);
    layout.Matrix = &m;
    layout.WriteText(col, 2, text, center, 0);
    QCOMPARE(readCells(m, 0, 16, 8, 20), cells);
    // Rows 0..15 and 24.. are untouched.
    QCOMPARE(m.contentPixel(0, 15), kMarker);
    QCOMPARE(m.contentPixel(0, 24), kMarker);
}

void TestUserFont::writeTextUprightSplitsIntoTwoLines()
{
    TUserFont font;
    QVERIFY(font.LoadFromData(codedFont(8, 8, 8, 32, 127), u"coded"_s));
    TDisplay layout(u"Wide"_s, 168, 64, &font); // 21 columns
    QCOMPARE(layout.Columns, 21);
    layout.SetVertical();
    QCOMPARE(layout.Columns, 21); // not recomputed
    LedMatrix m;
    m.SetLEDCountX(200);
    m.SetLEDCountY(200);

    struct Case { int row, shift; };
    for (const Case c : {Case{1, 0}, Case{3, 1}}) {
        fill(m, kMarker);
        layout.Matrix = &m;
        layout.WriteText(0, c.row, u"ABCDEFGHIJKLMNOPQRSTU"_s, true, c.shift);
        const int y = (2 * c.row - c.shift) * 8;
        QCOMPARE(readCells(m, 0, y, 8, 12), QByteArray("ABCDEFGHIJK."));
        QCOMPARE(readCells(m, 0, y + 8, 8, 12), QByteArray("LMNOPQRSTU ."));
        QCOMPARE(m.contentPixel(0, y - 1), kMarker);
        QCOMPARE(m.contentPixel(0, y + 16), kMarker);
    }

    // A short text is padded with spaces on both lines; from column 4 the half width is 9.
    fill(m, kMarker);
    layout.WriteText(4, 1, u"AB"_s, false, 0);
    QCOMPARE(readCells(m, 32, 16, 8, 10), QByteArray("AB       ."));
    QCOMPARE(readCells(m, 32, 24, 8, 10), QByteArray("         ."));
}

void TestUserFont::writeTextWithoutFontDrawsNothing()
{
    LedMatrix m;
    m.SetLEDCountX(128);
    m.SetLEDCountY(64);
    fill(m, kMarker);
    TDisplay noFont(u"VFD1"_s, 128, 64, nullptr);
    QCOMPARE(noFont.Rows, 0);
    QCOMPARE(noFont.Columns, 0);
    noFont.Matrix = &m;
    noFont.WriteText(0, 0, u"EG"_s, true, 0);
    const TUserFont empty;
    TDisplay emptyFont(u"VFD1"_s, 128, 64, &empty);
    emptyFont.Matrix = &m;
    emptyFont.WriteText(0, 0, u"EG"_s, true, 0);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 128; ++x)
            QCOMPARE(m.contentPixel(x, y), kMarker);
}

void TestUserFont::shippedFonts_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("bytes");
    QTest::addColumn<int>("inkTop"); // first row glyphs may use
    QTest::addColumn<int>("inkBottom"); // last row glyphs may use

    QTest::newRow("terminal1") << u"terminal1.fnt"_s << 6 << 8 << 8 << 0 << 6;
    QTest::newRow("terminal2") << u"terminal2.fnt"_s << 11 << 16 << 32 << 1 << 14;
}

void TestUserFont::shippedFonts()
{
    QFETCH(QString, file);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, bytes);
    QFETCH(int, inkTop);
    QFETCH(int, inkBottom);

    TUserFont font;
    QString error;
    QVERIFY2(font.LoadFromFile(QStringLiteral(ORV_BIN_DIR) + u'/' + file, &error), qPrintable(error));
    QCOMPARE(font.GlyphWidth, width);
    QCOMPARE(font.GlyphHeight, height);
    QCOMPARE(font.Pitch, width);
    QCOMPARE(font.BytesPerGlyph, bytes);
    QCOMPARE(int(font.FirstChar), 32);
    QCOMPARE(int(font.LastChar), 255);
    QCOMPARE(font.GlyphData.size(), 224 * bytes);
    QVERIFY(font.FontName.size() <= 15);

    // Draw every glyph alone and look at its ink: the last column (and the rows outside
    // the ink band) stay dark so neighbouring characters never touch; every printable
    // ASCII character, the umlauts, sharp s and degree sign have ink.
    LedMatrix m;
    m.SetLEDCountX(width);
    m.SetLEDCountY(height);
    const QString mustDraw = u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                             u"!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~\u00C4\u00D6\u00DC\u00E4\u00F6"
                             u"\u00FC\u00DF\u00B0\u20AC"_s;
    for (int code = 32; code <= 255; ++code) {
        const QChar uc = Win1252::toUnicode(uchar(code));
        m.DrawGlyphText(0, 0, font, QString(uc));
        int ink = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (m.contentPixel(x, y) != kOn)
                    continue;
                ++ink;
                QVERIFY2(x < width - 1 && y >= inkTop && y <= inkBottom,
                         qPrintable(u"code %1 lights LED %2,%3"_s.arg(code).arg(x).arg(y)));
            }
        }
        if (mustDraw.contains(uc))
            QVERIFY2(ink > 0, qPrintable(u"code %1 has no ink"_s.arg(code)));
        if (code == 32)
            QCOMPARE(ink, 0);
    }
}

void TestUserFont::shippedFontsMatchTheirGenerator()
{
    const QString python = QStandardPaths::findExecutable(u"python3"_s);
    if (python.isEmpty())
        QSKIP("python3 not available");
    const QString generator =
        QDir(QStringLiteral(ORV_SOURCE_DIR)).absoluteFilePath(u"tools/fntgen/fntgen.py"_s);
    QVERIFY(QFile::exists(generator));
    QProcess p;
    p.start(python, {generator, u"--check"_s, QStringLiteral(ORV_BIN_DIR)});
    QVERIFY(p.waitForFinished(60000));
    QVERIFY2(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0,
             p.readAllStandardError().constData());
}

QTEST_GUILESS_MAIN(TestUserFont)
#include "test_userfont.moc"
