// SPDX-License-Identifier: GPL-3.0-or-later
// The program start before any window: language choice, date/time defaults,
// the settings a first start leaves behind, the command line and the folders.
// Everything runs against a temporary program folder.
#include "app/appcontext.h"
#include "app/commandline.h"
#include "app/layoutreport.h"
#include "app/processaffinity.h"
#include "app/languagelibrary.h"
#include "app/startup.h"
#include "display/layouts.h"
#include "display/userfont.h"
#include "settings/inifile.h"
#include "settings/programsettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <sched.h>

using namespace Qt::StringLiterals;

namespace {

const QString kGermanFormat = u"dd.mmm.yyyy hh:nn"_s;
const QString kEnglishFormat = u"mmm/dd/yyyy hh:nn ampm"_s;

QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

/// The compiled English library the build puts beside the programs.
QString builtLanguageLibrary()
{
    return QStringLiteral(ORV_BIN_DIR) + u"/orvedit.eng"_s;
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private:
    QScopedPointer<QTemporaryDir> m_dir;
    QString folder() const { return m_dir->path(); }
    AppContext context() const { return AppContext(folder()); }
    QString iniPath() const { return context().SettingsPath(); }

    void installLibrary(const QString &kind)
    {
        if (kind == u"valid"_s)
            QVERIFY(QFile::copy(builtLanguageLibrary(), context().LanguageLibraryPath()));
        else if (kind == u"junk"_s)
            QVERIFY(writeFile(context().LanguageLibraryPath(), "this is no translation"));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QFileInfo::exists(builtLanguageLibrary()), "the build did not produce orvedit.eng");
    }

    void init()
    {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
    }

    void contextPaths()
    {
        const AppContext c(folder() + u"/"_s);
        QCOMPARE(c.SettingsPath(), folder() + u"/orvedit.ini"_s);
        QCOMPARE(c.LanguageLibraryPath(), folder() + u"/orvedit.eng"_s);
        QCOMPARE(c.FilePath(u"terminal1.fnt"_s), folder() + u"/terminal1.fnt"_s);
        QVERIFY(c.CreateFolders());
        QVERIFY(QFileInfo(folder() + u"/project"_s).isDir());
        QVERIFY(QFileInfo(folder() + u"/tmp"_s).isDir());
        QVERIFY(c.CreateFolders()); // existing folders are fine

        const AppContext nested(folder() + u"/a/b"_s);
        QVERIFY(nested.CreateFolders());
        QVERIFY(QFileInfo(folder() + u"/a/b/project"_s).isDir());

        QVERIFY(writeFile(folder() + u"/blocked"_s, "x"));
        QString error;
        QVERIFY(!AppContext(folder() + u"/blocked"_s).CreateFolders(&error));
        QVERIFY(!error.isEmpty());
    }

    void firstStart_data()
    {
        QTest::addColumn<QString>("library"); // none, valid, junk
        QTest::addColumn<bool>("userIsGerman");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QByteArray>("settings");

        const QByteArray noLibGerman = "[SETTINGS]\nDateTimeFormat=AUTO\n"
                                       "[SIMULATION]\nDateTimeFormat=dd.mmm.yyyy hh:nn\nColor1=0000FFFFFFFF\n";
        QTest::newRow("no library, German user") << u"none"_s << true << u"DE"_s << noLibGerman;
        QTest::newRow("no library, other user") << u"none"_s << false << u"DE"_s << noLibGerman;
        QTest::newRow("library, German user")
            << u"valid"_s << true << u"DE"_s
            << QByteArray("[Settings]\nLanguage=AUTO\nDateTimeFormat=AUTO\n"
                          "[SIMULATION]\nDateTimeFormat=dd.mmm.yyyy hh:nn\nColor1=0000FFFFFFFF\n");
        QTest::newRow("library, other user")
            << u"valid"_s << false << u"EN"_s
            << QByteArray("[Settings]\nLanguage=AUTO\nDateTimeFormat=AUTO\n"
                          "[SIMULATION]\nDateTimeFormat=mmm/dd/yyyy hh:nn ampm\nColor1=0000FFFFFFFF\n");
        QTest::newRow("unusable library falls back to German")
            << u"junk"_s << false << u"DE"_s
            << QByteArray("[Settings]\nLanguage=AUTO\nDateTimeFormat=AUTO\n"
                          "[SIMULATION]\nDateTimeFormat=dd.mmm.yyyy hh:nn\nColor1=0000FFFFFFFF\n");
    }

    void firstStart()
    {
        QFETCH(QString, library);
        QFETCH(bool, userIsGerman);
        QFETCH(QString, language);
        QFETCH(QByteArray, settings);
        installLibrary(library);

        LanguageLibrary lib;
        QCOMPARE(Startup(context()).Run(userIsGerman, lib), language);
        QCOMPARE(lib.IsLoaded(), language == u"EN"_s);
        IniFile ini(iniPath());
        ProgramSettings::Load(ini); // the main window's reading of the settings
        QCOMPARE(readFile(iniPath()), settings);
    }

    void englishLibraryTranslatesTheFrame()
    {
        installLibrary(u"valid"_s);
        LanguageLibrary lib;
        QVERIFY(lib.Load(context().LanguageLibraryPath()));
        QCOMPARE(lib.Translator()->translate("TMainForm", "Beenden"), u"Exit"_s);
        QCOMPARE(lib.Translator()->translate("TMainForm", "Datei"), u"File"_s);
        // The library is read from exactly that file: a missing one is not looked for elsewhere.
        LanguageLibrary missing;
        QString error;
        QVERIFY(!missing.Load(folder() + u"/orvedit"_s, &error));
        QVERIFY(error.contains(u"orvedit"_s));
    }

    void languageValue_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<bool>("userIsGerman");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("writtenBack");
        QTest::addColumn<QString>("dateTimeFormat");
        QTest::newRow("FR keeps German texts, English date")
            << QByteArray("FR") << true << u"FR"_s << u"FR"_s << kEnglishFormat;
        QTest::newRow("EN for a German user") << QByteArray("EN") << true << u"EN"_s << u"EN"_s << kEnglishFormat;
        QTest::newRow("DE for another user") << QByteArray("DE") << false << u"DE"_s << u"DE"_s << kGermanFormat;
        QTest::newRow("AUTO German") << QByteArray("AUTO") << true << u"DE"_s << u"AUTO"_s << kGermanFormat;
        QTest::newRow("trimmed value written back") << QByteArray("  EN  ") << true << u"EN"_s << u"EN"_s
                                                    << kEnglishFormat;
        QTest::newRow("empty value is no AUTO") << QByteArray("") << false << QString() << QString()
                                                << kEnglishFormat;
    }

    void languageValue()
    {
        QFETCH(QByteArray, stored);
        QFETCH(bool, userIsGerman);
        QFETCH(QString, language);
        QFETCH(QString, writtenBack);
        QFETCH(QString, dateTimeFormat);
        installLibrary(u"valid"_s);
        QVERIFY(writeFile(iniPath(), "[Settings]\nLanguage=" + stored + "\n"));

        LanguageLibrary lib;
        const QString used = Startup(context()).Run(userIsGerman, lib);
        QCOMPARE(used, language);
        QCOMPARE(lib.IsLoaded(), language == u"EN"_s);
        IniFile ini(iniPath());
        QCOMPARE(ini.ReadString(u"Settings"_s, u"Language"_s, u"<none>"_s), writtenBack);
        QCOMPARE(ini.ReadString(u"SETTINGS"_s, u"DateTimeFormat"_s, QString()), u"AUTO"_s);
        QCOMPARE(ini.ReadString(u"SIMULATION"_s, u"DateTimeFormat"_s, QString()), dateTimeFormat);
    }

    void languageKeyUntouchedWithoutLibrary()
    {
        QVERIFY(writeFile(iniPath(), "[Settings]\nLanguage=  EN \n"));
        LanguageLibrary lib;
        QCOMPARE(Startup(context()).ChooseLanguage(false), u"DE"_s);
        QCOMPARE(readFile(iniPath()), QByteArray("[Settings]\nLanguage=  EN \n"));
    }

    void dateTimeFormatAcrossStarts_data()
    {
        QTest::addColumn<QByteArray>("settingsSwitch"); // "SETTINGS"/"DateTimeFormat"
        QTest::addColumn<QByteArray>("simulation");      // "SIMULATION"/"DateTimeFormat"
        QTest::addColumn<QString>("expectedSwitch");
        QTest::addColumn<QString>("firstStart");  // the pattern after the first start
        QTest::addColumn<QString>("secondStart"); // after the user set "hh:nn" and a second start
        QTest::newRow("AUTO overwrites the user's pattern")
            << QByteArray("AUTO") << QByteArray("hh:nn") << u"AUTO"_s << kGermanFormat << kGermanFormat;
        QTest::newRow("other value keeps it") << QByteArray("MANUAL") << QByteArray("hh:nn") << u"MANUAL"_s
                                              << u"hh:nn"_s << u"hh:nn"_s;
        QTest::newRow("other value, empty pattern filled")
            << QByteArray("MANUAL") << QByteArray("") << u"MANUAL"_s << kGermanFormat << u"hh:nn"_s;
        QTest::newRow("empty switch becomes AUTO") << QByteArray("") << QByteArray("hh:nn") << u"AUTO"_s
                                                   << kGermanFormat << kGermanFormat;
        QTest::newRow("lower-case auto is another value")
            << QByteArray("auto") << QByteArray("hh:nn") << u"auto"_s << u"hh:nn"_s << u"hh:nn"_s;
    }

    void dateTimeFormatAcrossStarts()
    {
        QFETCH(QByteArray, settingsSwitch);
        QFETCH(QByteArray, simulation);
        QFETCH(QString, expectedSwitch);
        QFETCH(QString, firstStart);
        QFETCH(QString, secondStart);
        QVERIFY(writeFile(iniPath(), "[SETTINGS]\nDateTimeFormat=" + settingsSwitch
                                         + "\n[SIMULATION]\nDateTimeFormat=" + simulation + "\n"));
        const QString expected[] = {firstStart, secondStart};
        for (const QString &pattern : expected) {
            LanguageLibrary lib;
            QCOMPARE(Startup(context()).Run(true, lib), u"DE"_s);
            IniFile ini(iniPath());
            QCOMPARE(ini.ReadString(u"SETTINGS"_s, u"DateTimeFormat"_s, QString()), expectedSwitch);
            QCOMPARE(ini.ReadString(u"SIMULATION"_s, u"DateTimeFormat"_s, QString()), pattern);
            // The user edits the pattern between the starts.
            ini.WriteString(u"SIMULATION"_s, u"DateTimeFormat"_s, u"hh:nn"_s);
        }
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("parameters");
        QTest::addColumn<bool>("noSplash");
        QTest::addColumn<QString>("project"); // file name inside the working folder, or empty
        QTest::newRow("none") << QStringList() << false << QString();
        QTest::newRow("/nosplash lower case") << QStringList{u"/nosplash"_s} << true << QString();
        QTest::newRow("project and /NOSPLASH") << QStringList{u"x.orv"_s, u"/NOSPLASH"_s} << true << u"x.orv"_s;
        QTest::newRow("/NoSplash and project") << QStringList{u"/NoSplash"_s, u"a.orv"_s} << true << u"a.orv"_s;
        QTest::newRow("two projects, second wins") << QStringList{u"a.orv"_s, u"b.orv"_s} << false << u"b.orv"_s;
        QTest::newRow("second missing") << QStringList{u"a.orv"_s, u"missing.orv"_s} << false << u"a.orv"_s;
        QTest::newRow("missing file only") << QStringList{u"missing.orv"_s} << false << QString();
        QTest::newRow("folder is no project") << QStringList{u"sub"_s} << false << QString();
        QTest::newRow("third parameter ignored")
            << QStringList{u"a.orv"_s, u"b.orv"_s, u"/NOSPLASH"_s} << false << u"b.orv"_s;
        QTest::newRow("switch without slash") << QStringList{u"NOSPLASH"_s} << false << QString();
    }

    void commandLine()
    {
        QFETCH(QStringList, parameters);
        QFETCH(bool, noSplash);
        QFETCH(QString, project);
        for (const char *name : {"x.orv", "a.orv", "b.orv"})
            QVERIFY(writeFile(m_dir->filePath(QString::fromLatin1(name)), "orv"));
        QVERIFY(QDir(folder()).mkdir(u"sub"_s));
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(folder()));
        const CommandLine c = CommandLine::Parse(parameters);
        QDir::setCurrent(previous);
        QCOMPARE(c.NoSplash, noSplash);
        QCOMPARE(c.ProjectFile, project.isEmpty() ? QString() : QFileInfo(m_dir->filePath(project)).absoluteFilePath());
    }

    void missingColorPairsWritten()
    {
        QVERIFY(writeFile(iniPath(), "[SIMULATION]\nCOLORS=3\nColor1=FF0000FFFF00\n"));
        IniFile ini(iniPath());
        const ProgramSettings s = ProgramSettings::Load(ini);
        QCOMPARE(s.ColorCount, 3);
        QCOMPARE(readFile(iniPath()), QByteArray("[SIMULATION]\nCOLORS=3\nColor1=FF0000FFFF00\n"
                                                 "Color2=0000FFFFFFFF\nColor3=0000FFFFFFFF\n"));
        QCOMPARE(s.ColorPairs[0], (SimColorPair{0xFF0000, 0xFFFF00}));
        QCOMPARE(s.ColorPairs[1], (SimColorPair{0x0000FF, 0xFFFFFF}));
        QCOMPARE(s.ColorPairs[2], (SimColorPair{0x0000FF, 0xFFFFFF}));
    }

    void affinityPinsToLowestAllowedCpu()
    {
        cpu_set_t before;
        CPU_ZERO(&before);
        QCOMPARE(sched_getaffinity(0, sizeof(before), &before), 0);
        int lowest = 0;
        while (!CPU_ISSET(lowest, &before))
            ++lowest;
        QVERIFY(PinToLowestAllowedCpu());
        cpu_set_t after;
        CPU_ZERO(&after);
        QCOMPARE(sched_getaffinity(0, sizeof(after), &after), 0);
        QCOMPARE(CPU_COUNT(&after), 1);
        QVERIFY(CPU_ISSET(lowest, &after));
        sched_setaffinity(0, sizeof(before), &before);
    }

    void layoutReport()
    {
        TUserFont font1(QStringLiteral(ORV_BIN_DIR) + u"/terminal1.fnt"_s);
        TUserFont font2(QStringLiteral(ORV_BIN_DIR) + u"/terminal2.fnt"_s);
        const DisplayLayouts layouts(&font1, &font2);
        const QStringList lines = LayoutReport::Text(layouts).split(u'\n', Qt::SkipEmptyParts);
        // Nine layouts with 7 + 7 + 7 + 1 + 1 + 1 + 4 + 4 + 4 regions, the model header and three models.
        QCOMPARE(lines.size(), 9 + 36 + 1 + 3);
        QVERIFY(lines.first().startsWith(u"Layout 0: VFD1, 128 x 64 LEDs"_s));
        QVERIFY(lines.contains(u"  UHR           \"Datum/Uhrzeit\"            (0, 112, 239, 127)   240 x 16  inactive"_s));
        QVERIFY(lines.last().contains(u"main VFD2, special states Sonderzeichen_VFD2, small font Klein_VFD2 (256 x 128)"_s));
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "test_startup.moc"
