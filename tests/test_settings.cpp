// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file: Windows INI reading and writing rules, colour texts and the
// settings the main window reads.
#include "app/colortext.h"
#include "settings/inifile.h"
#include "settings/programsettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString iniPath() const { return m_dir.filePath(u"orvedit.ini"_s); }

private Q_SLOTS:
    void init() { QFile::remove(iniPath()); }

    void readString_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");

        // The default passed is always "<def>".
        QTest::newRow("plain") << QByteArray("[A]\nk=v\n") << u"A"_s << u"k"_s << u"v"_s;
        QTest::newRow("section case") << QByteArray("[Settings]\nLanguage=EN\n") << u"SETTINGS"_s
                                      << u"Language"_s << u"EN"_s;
        QTest::newRow("key case") << QByteArray("[SIMULATION]\nCOLOR1=123456\n") << u"simulation"_s
                                  << u"Color1"_s << u"123456"_s;
        QTest::newRow("first key wins") << QByteArray("[A]\nk=1\nK=2\n") << u"A"_s << u"k"_s << u"1"_s;
        QTest::newRow("first section wins")
            << QByteArray("[A]\nk=1\n[B]\nk=3\n[a]\nk=2\n") << u"a"_s << u"k"_s << u"1"_s;
        QTest::newRow("key only in later duplicate section")
            << QByteArray("[A]\nx=1\n[a]\nk=2\n") << u"A"_s << u"k"_s << u"<def>"_s;
        QTest::newRow("key in other section") << QByteArray("[A]\nx=1\n[B]\nk=2\n") << u"A"_s << u"k"_s
                                              << u"<def>"_s;
        QTest::newRow("trimmed") << QByteArray("  [ A ]  \n   k   =   a b   \n") << u"A"_s << u"k"_s
                                 << u"a b"_s;
        QTest::newRow("double quotes") << QByteArray("[A]\nk= \" a b \" \n") << u"A"_s << u"k"_s
                                       << u" a b "_s;
        QTest::newRow("single quotes") << QByteArray("[A]\nk='x'\n") << u"A"_s << u"k"_s << u"x"_s;
        QTest::newRow("unmatched quote kept") << QByteArray("[A]\nk=\"abc\n") << u"A"_s << u"k"_s
                                              << u"\"abc"_s;
        QTest::newRow("lone quote kept") << QByteArray("[A]\nk=\"\n") << u"A"_s << u"k"_s << u"\""_s;
        QTest::newRow("empty value is not the default") << QByteArray("[A]\nk=\n") << u"A"_s << u"k"_s
                                                        << QString();
        QTest::newRow("value with equals sign") << QByteArray("[A]\nk=a=b\n") << u"A"_s << u"k"_s
                                                << u"a=b"_s;
        QTest::newRow("comment line") << QByteArray("[A]\n;k=1\nk=2\n") << u"A"_s << u"k"_s << u"2"_s;
        QTest::newRow("line without equals") << QByteArray("[A]\nk\nk=2\n") << u"A"_s << u"k"_s << u"2"_s;
        QTest::newRow("crlf") << QByteArray("[A]\r\nk=v\r\n") << u"A"_s << u"k"_s << u"v"_s;
        QTest::newRow("no final line end") << QByteArray("[A]\nk=v") << u"A"_s << u"k"_s << u"v"_s;
        QTest::newRow("windows-1252 text") << QByteArray("[A]\nk=\xe4\x80\n") << u"A"_s << u"k"_s
                                           << u"\u00e4\u20ac"_s;
        QTest::newRow("missing key") << QByteArray("[A]\nx=1\n") << u"A"_s << u"k"_s << u"<def>"_s;
        QTest::newRow("key before any section") << QByteArray("k=1\n[A]\n") << u"A"_s << u"k"_s << u"<def>"_s;
    }

    void readString()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        writeFile(iniPath(), content);
        IniFile ini(iniPath());
        const QString value = ini.ReadString(section, key, u"<def>"_s);
        QCOMPARE(value, expected);
        QCOMPARE(ini.ValueExists(section, key), expected != u"<def>"_s);
    }

    void missingFileReadsDefaults()
    {
        IniFile ini(m_dir.filePath(u"absent.ini"_s));
        QCOMPARE(ini.ReadString(u"A"_s, u"k"_s, u"d"_s), u"d"_s);
        QCOMPARE(ini.ReadInteger(u"A"_s, u"k"_s, 7), 7);
        QCOMPARE(ini.ReadBool(u"A"_s, u"k"_s, true), true);
        QVERIFY(!QFile::exists(m_dir.filePath(u"absent.ini"_s)));
    }

    void readInteger_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        // The default passed is always -99.
        QTest::newRow("decimal") << u"42"_s << 42;
        QTest::newRow("negative") << u"-7"_s << -7;
        QTest::newRow("plus sign") << u"+5"_s << 5;
        QTest::newRow("padded") << u"  12  "_s << 12;
        QTest::newRow("hex") << u"$1D000"_s << 118784;
        QTest::newRow("hex lower case") << u"$ff"_s << 255;
        QTest::newRow("hex all bits") << u"$FFFFFFFF"_s << -1;
        QTest::newRow("hex too long") << u"$1FFFFFFFF"_s << -99;
        QTest::newRow("dollar only") << u"$"_s << -99;
        QTest::newRow("hex with junk") << u"$1G"_s << -99;
        QTest::newRow("trailing junk") << u"12a"_s << -99;
        QTest::newRow("inner blank") << u"1 2"_s << -99;
        QTest::newRow("false") << u"false"_s << -99;
        QTest::newRow("true") << u"true"_s << -99;
        QTest::newRow("empty") << QString() << -99;
        QTest::newRow("sign only") << u"-"_s << -99;
        QTest::newRow("overflow") << u"99999999999"_s << -99;
        QTest::newRow("c hex") << u"0x10"_s << -99;
        QTest::newRow("quoted") << u"\"17\""_s << 17;
    }

    void readInteger()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        writeFile(iniPath(), "[BINFILE]\nFLASHSIZE=" + text.toUtf8() + "\n");
        IniFile ini(iniPath());
        QCOMPARE(ini.ReadInteger(u"binfile"_s, u"flashsize"_s, -99), expected);
    }

    void readBool_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("def");
        QTest::addColumn<bool>("expected");
        QTest::newRow("1") << u"1"_s << false << true;
        QTest::newRow("0") << u"0"_s << true << false;
        QTest::newRow("any other number") << u"2"_s << false << true;
        QTest::newRow("negative") << u"-1"_s << false << true;
        QTest::newRow("hex zero") << u"$0"_s << true << false;
        QTest::newRow("false keeps default true") << u"false"_s << true << true;
        QTest::newRow("false keeps default false") << u"false"_s << false << false;
        QTest::newRow("true keeps default false") << u"true"_s << false << false;
        QTest::newRow("empty keeps default") << QString() << true << true;
    }

    void readBool()
    {
        QFETCH(QString, text);
        QFETCH(bool, def);
        QFETCH(bool, expected);
        writeFile(iniPath(), "[SETTINGS]\nENABLEVFD256=" + text.toUtf8() + "\n");
        IniFile ini(iniPath());
        QCOMPARE(ini.ReadBool(u"Settings"_s, u"EnableVFD256"_s, def), expected);
    }

    void write_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");

        QTest::newRow("new file") << QByteArray() << u"Settings"_s << u"Language"_s << u"AUTO"_s
                                  << QByteArray("[Settings]\nLanguage=AUTO\n");
        QTest::newRow("in place, spelling of the file kept")
            << QByteArray("; top\n[SIMULATION]\nColor1=1\nCOLOR2=2\nx=3\n") << u"simulation"_s << u"color2"_s
            << u"ABC"_s << QByteArray("; top\n[SIMULATION]\nColor1=1\nCOLOR2=ABC\nx=3\n");
        QTest::newRow("first of two equal keys")
            << QByteArray("[A]\nk=1\nk=2\n") << u"A"_s << u"K"_s << u"9"_s << QByteArray("[A]\nk=9\nk=2\n");
        QTest::newRow("append at end of section")
            << QByteArray("[A]\nx=1\n\n[B]\ny=2\n") << u"a"_s << u"k"_s << u"v"_s
            << QByteArray("[A]\nx=1\nk=v\n\n[B]\ny=2\n");
        QTest::newRow("append to empty section")
            << QByteArray("[A]\n[B]\ny=2\n") << u"A"_s << u"k"_s << u"v"_s << QByteArray("[A]\nk=v\n[B]\ny=2\n");
        QTest::newRow("append to first of duplicate sections")
            << QByteArray("[A]\nx=1\n[B]\n[A]\nz=1\n") << u"A"_s << u"k"_s << u"v"_s
            << QByteArray("[A]\nx=1\nk=v\n[B]\n[A]\nz=1\n");
        QTest::newRow("new section at end")
            << QByteArray("[A]\nx=1\n") << u"GraphicEditor"_s << u"CMD"_s << u"gimp"_s
            << QByteArray("[A]\nx=1\n[GraphicEditor]\nCMD=gimp\n");
        QTest::newRow("file without final line end")
            << QByteArray("[A]\nx=1") << u"A"_s << u"x"_s << u"2"_s << QByteArray("[A]\nx=2\n");
        QTest::newRow("crlf kept") << QByteArray("[A]\r\nx=1\r\n") << u"A"_s << u"k"_s << u"v"_s
                                   << QByteArray("[A]\r\nx=1\r\nk=v\r\n");
        QTest::newRow("value written verbatim")
            << QByteArray() << u"A"_s << u"k"_s << u" \"q\" "_s << QByteArray("[A]\nk= \"q\" \n");
        QTest::newRow("windows-1252 bytes") << QByteArray() << u"A"_s << u"k"_s << u"\u00fc\u20ac"_s
                                            << QByteArray("[A]\nk=\xfc\x80\n");
        QTest::newRow("line break in value cannot add entries")
            << QByteArray("[A]\n") << u"A"_s << u"k"_s << u"a\r\n[B]\nx=1"_s
            << QByteArray("[A]\nk=a  [B] x=1\n");
    }

    void write()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);
        if (!before.isNull())
            writeFile(iniPath(), before);
        IniFile ini(iniPath());
        QVERIFY2(ini.WriteString(section, key, value), qPrintable(ini.ErrorString()));
        QCOMPARE(readFile(iniPath()), after);
    }

    void writeTypedValuesRoundTrip()
    {
        IniFile ini(iniPath());
        QVERIFY(ini.WriteInteger(u"BINFILE"_s, u"COMPORT"_s, -3));
        QVERIFY(ini.WriteBool(u"SETTINGS"_s, u"SAVE_INCLUDE_TTF"_s, false));
        QVERIFY(ini.WriteBool(u"SIMULATION"_s, u"EDITCOLORS"_s, true));
        QCOMPARE(readFile(iniPath()),
                 QByteArray("[BINFILE]\nCOMPORT=-3\n[SETTINGS]\nSAVE_INCLUDE_TTF=0\n[SIMULATION]\nEDITCOLORS=1\n"));
        QCOMPARE(ini.ReadInteger(u"BINFILE"_s, u"COMPORT"_s, 0), -3);
        QCOMPARE(ini.ReadBool(u"SETTINGS"_s, u"SAVE_INCLUDE_TTF"_s, true), false);
    }

    void writeRefusesBadNamesAndReportsFailure()
    {
        IniFile bad(iniPath());
        QVERIFY(!bad.WriteString(u"A"_s, u"k=x"_s, u"v"_s));
        QVERIFY(!bad.WriteString(u"A"_s, QString(), u"v"_s));
        QVERIFY(!QFile::exists(iniPath()));

        IniFile unreachable(m_dir.filePath(u"no/such/folder/orvedit.ini"_s));
        QVERIFY(!unreachable.WriteString(u"A"_s, u"k"_s, u"v"_s));
        QVERIFY(!unreachable.ErrorString().isEmpty());
    }

    void nothingIsCached()
    {
        writeFile(iniPath(), "[GraphicEditor]\nCMD=one\n");
        IniFile ini(iniPath());
        QCOMPARE(ini.ReadString(u"GraphicEditor"_s, u"CMD"_s, QString()), u"one"_s);
        writeFile(iniPath(), "[GraphicEditor]\nCMD=two\n");
        QCOMPARE(ini.ReadString(u"GraphicEditor"_s, u"CMD"_s, QString()), u"two"_s);
        // A write starts from what is on disk now, not from an earlier read.
        writeFile(iniPath(), "[GraphicEditor]\nCMD=two\nOther=1\n");
        QVERIFY(ini.WriteString(u"GraphicEditor"_s, u"CMD"_s, u"three"_s));
        QCOMPARE(readFile(iniPath()), QByteArray("[GraphicEditor]\nCMD=three\nOther=1\n"));
        QFile::remove(iniPath());
        QCOMPARE(ini.ReadString(u"GraphicEditor"_s, u"CMD"_s, u"gone"_s), u"gone"_s);
    }

    void colorGroups_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<uint>("off");
        QTest::addColumn<uint>("on");
        QTest::addColumn<uint>("boxOff");
        QTest::addColumn<uint>("boxOn");
        QTest::newRow("default") << u"0000FFFFFFFF8080FFBFBFBF"_s << 0x0000FFu << 0xFFFFFFu << 0x8080FFu
                                 << 0xBFBFBFu;
        QTest::newRow("zz gives black") << u"zz"_s << 0u << 0u << 0u << 0u;
        QTest::newRow("empty") << QString() << 0u << 0u << 0u << 0u;
        QTest::newRow("one bad group") << u"0000FFGGGGGG8080FFBFBFBF"_s << 0x0000FFu << 0u << 0x8080FFu
                                       << 0xBFBFBFu;
        QTest::newRow("sign is no digit") << u"-00001123456"_s << 0u << 0x123456u << 0u << 0u;
        QTest::newRow("short text") << u"123456abcd"_s << 0x123456u << 0xABCDu << 0u << 0u;
        QTest::newRow("longer text") << u"111111222222333333444444555555"_s << 0x111111u << 0x222222u
                                     << 0x333333u << 0x444444u;
    }

    void colorGroups()
    {
        QFETCH(QString, text);
        QFETCH(uint, off);
        QFETCH(uint, on);
        QFETCH(uint, boxOff);
        QFETCH(uint, boxOn);
        const EditLedColors c = EditLedColors::FromText(text);
        QCOMPARE(c.ColorOff, off);
        QCOMPARE(c.ColorOn, on);
        QCOMPARE(c.BoxColorOff, boxOff);
        QCOMPARE(c.BoxColorOn, boxOn);
        const SimColorPair p = SimColorPair::FromText(text);
        QCOMPARE(p.Off, off);
        QCOMPARE(p.On, on);
    }

    void colorFormat()
    {
        const QRgb colors[] = {0x0000FF, 0xFFFFFF, 0xFF0000FF};
        QCOMPARE(ColorText::Format(colors, 3), u"0000FFFFFFFF0000FF"_s);
    }

    void colorCountLimited_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        QTest::newRow("in range") << u"7"_s << 7;
        QTest::newRow("zero") << u"0"_s << 1;
        QTest::newRow("negative") << u"-3"_s << 1;
        QTest::newRow("too many") << u"51"_s << 50;
        QTest::newRow("huge hex") << u"$7FFFFFFF"_s << 50;
        QTest::newRow("unreadable") << u"abc"_s << 1;
    }

    void colorCountLimited()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        writeFile(iniPath(), "[SIMULATION]\nCOLORS=" + text.toUtf8() + "\n");
        IniFile ini(iniPath());
        QCOMPARE(ProgramSettings::ReadColorCount(ini), expected);
        const ProgramSettings s = ProgramSettings::Load(ini);
        QCOMPARE(s.ColorCount, expected);
        // Exactly the pairs up to the count are written, none beyond it.
        QVERIFY(ini.ValueExists(u"SIMULATION"_s, u"Color"_s + QString::number(expected)));
        QVERIFY(!ini.ValueExists(u"SIMULATION"_s, u"Color"_s + QString::number(expected + 1)));
    }

    void loadDefaults()
    {
        IniFile ini(iniPath());
        const ProgramSettings s = ProgramSettings::Load(ini);
        QCOMPARE(s.EnableVfd256, true);
        QCOMPARE(s.SaveIncludeTtf, true);
        QCOMPARE(s.GraphicEditorCmd, ProgramSettings::kDefaultGraphicEditor);
        QCOMPARE(s.FlashSizeData, 118784);
        QCOMPARE(s.FlashSize, 131072);
        QCOMPARE(s.ComPort, 0);
        QCOMPARE(s.DateTimeFormat, u"dd.mmm.yyyy hh:nn"_s);
        QCOMPARE(s.LedColors, EditLedColors::FromText(u"0000FFFFFFFF8080FFBFBFBF"_s));
        QCOMPARE(s.ColorCount, 1);
        QCOMPARE(s.EditColors, true);
        QCOMPARE(s.ColorPairs[0], (SimColorPair{0x0000FF, 0xFFFFFF}));
        // Reading the settings writes only the missing colour pair.
        QCOMPARE(readFile(iniPath()), QByteArray("[SIMULATION]\nColor1=0000FFFFFFFF\n"));
    }

    void loadValues()
    {
        writeFile(iniPath(),
                  "[SETTINGS]\nENABLEVFD256=0\nSAVE_INCLUDE_TTF=false\n"
                  "[GraphicEditor]\nCMD=\"gimp -n\"\nEditLEDColor=zz\n"
                  "[BINFILE]\nFLASHSIZE_DATA=$10000\nFLASHSIZE=junk\nCOMPORT=3\n"
                  "[SIMULATION]\nDateTimeFormat=hh:nn\nCOLORS=2\nCOLOR1=FF000000FF00\nColor2=\nEDITCOLORS=0\n");
        IniFile ini(iniPath());
        const ProgramSettings s = ProgramSettings::Load(ini);
        QCOMPARE(s.EnableVfd256, false);
        QCOMPARE(s.SaveIncludeTtf, true);
        QCOMPARE(s.GraphicEditorCmd, u"gimp -n"_s);
        QCOMPARE(s.LedColors, EditLedColors{});
        QCOMPARE(s.FlashSizeData, 0x10000);
        QCOMPARE(s.FlashSize, 0x20000);
        QCOMPARE(s.ComPort, 3);
        QCOMPARE(s.DateTimeFormat, u"hh:nn"_s);
        QCOMPARE(s.ColorCount, 2);
        QCOMPARE(s.EditColors, false);
        QCOMPARE(s.ColorPairs[0], (SimColorPair{0xFF0000, 0x00FF00}));
        // The empty pair 2 is replaced in place and used.
        QCOMPARE(s.ColorPairs[1], (SimColorPair{0x0000FF, 0xFFFFFF}));
        QCOMPARE(ini.ReadString(u"SIMULATION"_s, u"Color2"_s, QString()), u"0000FFFFFFFF"_s);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "test_settings.moc"
