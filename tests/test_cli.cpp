// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the built orvedit-cli in a temporary copy of its program folder.
#include "project/bitmappacking.h"
#include "project/projectfile.h"
#include "project/projectrecord.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Run
{
    int ExitCode = -1;
    QString Out;
    QString Err;
};

QByteArray cstr(const QByteArray &field)
{
    const qsizetype zero = field.indexOf('\0');
    return zero < 0 ? field : field.left(zero);
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_program;

    Run cli(const QStringList &args)
    {
        QProcess p;
        p.setWorkingDirectory(m_dir.path());
        p.start(m_program, args);
        Run r;
        if (!p.waitForFinished(180000)) {
            p.kill();
            p.waitForFinished();
            r.Err = u"timed out"_s;
            return r;
        }
        r.ExitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.Out = QString::fromUtf8(p.readAllStandardOutput());
        r.Err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    /// A new project, checked to be created.
    bool makeProject(const QString &model, bool upright, int floors, const QString &file)
    {
        QStringList args{u"new"_s, u"--model"_s, model, u"--floors"_s, QString::number(floors), u"-o"_s, file};
        if (upright)
            args.append(u"--upright"_s);
        const Run r = cli(args);
        if (r.ExitCode != 0)
            qWarning() << r.Err;
        return r.ExitCode == 0 && QFile::exists(file);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // The program folder: the tool and its runtime files, nothing else.
        const QDir bin(QStringLiteral(ORV_BIN_DIR));
        const QStringList files = bin.entryList({u"orvedit-cli"_s, u"*.dat"_s, u"*.fnt"_s}, QDir::Files);
        for (const QString &f : files)
            QVERIFY2(QFile::copy(bin.filePath(f), m_dir.filePath(f)), qPrintable(f));
        m_program = m_dir.filePath(u"orvedit-cli"_s);
        QVERIFY2(QFileInfo(m_program).isExecutable(), "orvedit-cli is not built");
        QVERIFY(QFile::exists(m_dir.filePath(u"newproject.dat"_s)));
        QVERIFY(QFile::exists(m_dir.filePath(u"newvproject.dat"_s)));
    }

    // The templates are the same on every machine: fixed font and months, no labels.
    void templatesAreFixed_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("upright");
        QTest::newRow("normal") << u"newproject.dat"_s << false;
        QTest::newRow("upright") << u"newvproject.dat"_s << true;
    }
    void templatesAreFixed()
    {
        QFETCH(QString, name);
        QFETCH(bool, upright);
        const ProjectReadResult read = ProjectFile::read(path(name));
        QVERIFY2(read.ok(), qPrintable(read.Error));
        const ProjectRecord &rec = read.Contents->Record;
        QCOMPARE(cstr(rec.FloorFontName), QByteArray("DejaVu Sans"));
        const QList<QByteArray> months{"Jan", "Feb", "Mrz", "Apr", "Mai", "Jun",
                                       "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
        for (int i = 0; i < 12; ++i)
            QCOMPARE(cstr(rec.MonthNames[size_t(i)]), months.at(i));
        for (const QByteArray &label : rec.FloorTexts[0])
            QVERIFY(cstr(label).isEmpty());
        QCOMPARE(bool(rec.VerticalMounting), upright);
        QVERIFY(read.Contents->Fonts.isEmpty());
        // Main regions inside the (turned) layout, also once turned back into the display's
        // own orientation for the flash file; none overlaps another; the cell gap is not negative.
        const QSize displays[] = {QSize(128, 64), QSize(240, 128), QSize(256, 128)}; // model order
        for (int m = 0; m < ProjectRecord::kModels; ++m) {
            const QSize display = displays[m];
            const QSize layout = upright ? display.transposed() : display;
            const auto &regions = rec.mainRegions(m);
            for (size_t i = 0; i < regions.size(); ++i) {
                const TRect r = regions[i].Rect;
                QVERIFY2(r.Left >= 0 && r.Top >= 0 && r.Right < layout.width() && r.Bottom < layout.height()
                             && r.Left <= r.Right && r.Top <= r.Bottom,
                         qPrintable(QStringLiteral("model %1 region %2").arg(m).arg(i)));
                if (upright) {
                    const int h = display.height();
                    const TRect t(r.Top, h - r.Right, r.Bottom, h - r.Left);
                    QVERIFY2(t.Left >= 0 && t.Top >= 0 && t.Right < display.width() && t.Bottom < display.height(),
                             qPrintable(QStringLiteral("turned: model %1 region %2").arg(m).arg(i)));
                }
                for (size_t j = i + 1; j < regions.size(); ++j) {
                    const TRect o = regions[j].Rect;
                    const bool overlap = qMax(r.Left, o.Left) <= qMin(r.Right, o.Right)
                        && qMax(r.Top, o.Top) <= qMin(r.Bottom, o.Bottom);
                    QVERIFY2(!overlap, qPrintable(QStringLiteral("model %1 regions %2, %3").arg(m).arg(i).arg(j)));
                }
            }
            QVERIFY(regions[1].Rect.Left - regions[0].Rect.Right - 1 >= 0);
        }
        // Arrows in every model, sized to their regions.
        for (int m = 0; m < ProjectRecord::kModels; ++m) {
            for (int slot = 0; slot < 2; ++slot) {
                QVERIFY(rec.arrows(m)[size_t(slot)].Width > 0);
                QVERIFY(rec.smallArrows(m)[size_t(slot)].Width > 0);
            }
            const RegionRecord &pfeil = rec.mainRegions(m)[2];
            QCOMPARE(int(rec.arrows(m)[0].Width), pfeil.Rect.Right - pfeil.Rect.Left + 1);
            QCOMPARE(int(rec.arrows(m)[0].Height), pfeil.Rect.Bottom - pfeil.Rect.Top + 1);
        }
    }

    // Every model, upright or not: a new project generates a clean flash file that
    // info reads back with a matching CRC.
    void newGenerateInfo_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<bool>("upright");
        QTest::addColumn<int>("modelNumber");
        QTest::addColumn<QString>("prefix");
        QTest::newRow("vfd128") << u"vfd128"_s << false << 0 << u"vfd_128x64_"_s;
        QTest::newRow("vfd128 upright") << u"vfd128"_s << true << 0 << u"vfd_128x64_"_s;
        QTest::newRow("lcd240") << u"lcd240"_s << false << 1 << u"lcd_240x128_"_s;
        QTest::newRow("lcd240 upright") << u"lcd240"_s << true << 1 << u"lcd_240x128_"_s;
        QTest::newRow("vfd256") << u"vfd256"_s << false << 2 << u"vfd_256x128_"_s;
        QTest::newRow("vfd256 upright") << u"vfd256"_s << true << 2 << u"vfd_256x128_"_s;
    }
    void newGenerateInfo()
    {
        QFETCH(QString, model);
        QFETCH(bool, upright);
        QFETCH(int, modelNumber);
        QFETCH(QString, prefix);
        const QString base = u"p_"_s + model + (upright ? u"_up"_s : QString());
        const QString project = path(base + u".orv"_s);
        QVERIFY(makeProject(model, upright, 5, project));

        const ProjectReadResult read = ProjectFile::read(project);
        QVERIFY2(read.ok(), qPrintable(read.Error));
        const ProjectRecord &rec = read.Contents->Record;
        QCOMPARE(int(rec.DisplayModel), modelNumber);
        QCOMPARE(bool(rec.VerticalMounting), upright);
        QCOMPARE(int(rec.FloorCount), 5);
        // A new project shows each floor's default label.
        const QList<QByteArray> labels{" 3", " 2", " 1", "EG", "UG"};
        for (int row = 1; row <= 5; ++row)
            QCOMPARE(cstr(rec.FloorTexts[0][size_t(row - 1)]), labels.at(row - 1));

        const Run gen = cli({u"generate"_s, project});
        QVERIFY2(gen.ExitCode == 0, qPrintable(gen.Out + gen.Err));
        QVERIFY2(!gen.Out.contains(u"Warnung: "_s), qPrintable(gen.Out));
        QVERIFY2(!gen.Out.contains(u"FEHLER: "_s), qPrintable(gen.Out));
        QVERIFY(gen.Out.contains(u"Erfolg: Die Datei wurde erzeugt"_s));
        const QString lfs = path(prefix + base + u".lfs"_s);
        QVERIFY(QFile::exists(lfs));
        QCOMPARE(QFileInfo(lfs).size(), 131118);

        const Run info = cli({u"info"_s, lfs, u"--json"_s});
        QCOMPARE(info.ExitCode, 0);
        const QJsonObject j = QJsonDocument::fromJson(info.Out.toUtf8()).object();
        QCOMPARE(j.value(u"damaged"_s).toBool(true), false);
        QVERIFY(j.value(u"crc"_s).toObject().value(u"matches"_s).toBool());
        QCOMPARE(j.value(u"variant"_s).toString(), u"normal"_s);
        const QJsonObject params = j.value(u"params"_s).toObject();
        QCOMPARE(params.value(u"ModelCode"_s).toInt(), 3 + modelNumber + (upright ? 3 : 0));
        QCOMPARE(params.value(u"LargeArrowCount"_s).toInt(), 2);
        QVERIFY(params.value(u"LargeCellGap"_s).toInt() >= 0);
        QCOMPARE(j.value(u"textTable"_s).toArray().size(), 24); // empty, 10 states, 12 months, closing
    }

    void render_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<bool>("upright");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QSize>("size");
        QTest::newRow("lcd floor 1") << u"lcd240"_s << false << QStringList() << QSize(481, 257);
        QTest::newRow("lcd row 3 down, led 2")
            << u"lcd240"_s << false << QStringList{u"--row"_s, u"3"_s, u"--arrow"_s, u"down"_s, u"--led-size"_s, u"2"_s}
            << QSize(721, 385);
        QTest::newRow("lcd state 4") << u"lcd240"_s << false << QStringList{u"--state"_s, u"4"_s} << QSize(481, 257);
        QTest::newRow("lcd small") << u"lcd240"_s << false << QStringList{u"--small"_s} << QSize(481, 257);
        QTest::newRow("vfd128 upright") << u"vfd128"_s << true << QStringList() << QSize(129, 257);
    }
    void render()
    {
        QFETCH(QString, model);
        QFETCH(bool, upright);
        QFETCH(QStringList, options);
        QFETCH(QSize, size);
        const QString project = path(u"render_"_s + model + u".orv"_s);
        QVERIFY(makeProject(model, upright, 5, project));
        const QString png = path(u"render.png"_s);
        QFile::remove(png);
        const Run r = cli(QStringList{u"render"_s, project, u"-o"_s, png} + options);
        QVERIFY2(r.ExitCode == 0, qPrintable(r.Err));
        const QImage image(png);
        QCOMPARE(image.size(), size);
        // Something is lit besides the background: at least two colours.
        const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
        bool varied = false;
        for (int y = 0; y < rgb.height() && !varied; ++y)
            for (int x = 0; x < rgb.width() && !varied; ++x)
                varied = rgb.pixel(x, y) != rgb.pixel(0, 0);
        QVERIFY(varied);
    }

    void convertCurrentChangesNothing()
    {
        const QString project = path(u"convert.orv"_s);
        QVERIFY(makeProject(u"lcd240"_s, false, 4, project));
        QFile f(project);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray before = f.readAll();
        f.close();
        const Run r = cli({u"convert"_s, project});
        QCOMPARE(r.ExitCode, 0);
        QVERIFY(r.Out.contains(u"unchanged"_s));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
        QVERIFY(!QFile::exists(ProjectFile::convertTempPath(project)));
    }

    void badArguments_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("no command") << QStringList() << 2;
        QTest::newRow("unknown command") << QStringList{u"frobnicate"_s} << 2;
        QTest::newRow("new without model") << QStringList{u"new"_s, u"-o"_s, u"x.orv"_s} << 2;
        QTest::newRow("new unknown model") << QStringList{u"new"_s, u"--model"_s, u"oled"_s, u"-o"_s, u"x.orv"_s} << 2;
        QTest::newRow("new one floor")
            << QStringList{u"new"_s, u"--model"_s, u"lcd240"_s, u"--floors"_s, u"1"_s, u"-o"_s, u"x.orv"_s} << 2;
        QTest::newRow("new 65 floors")
            << QStringList{u"new"_s, u"--model"_s, u"lcd240"_s, u"--floors"_s, u"65"_s, u"-o"_s, u"x.orv"_s} << 2;
        QTest::newRow("new without output") << QStringList{u"new"_s, u"--model"_s, u"lcd240"_s} << 2;
        QTest::newRow("generate missing file") << QStringList{u"generate"_s, u"missing.orv"_s} << 2;
        QTest::newRow("generate not a project") << QStringList{u"generate"_s, u"flash1.dat"_s} << 2;
        QTest::newRow("info missing file") << QStringList{u"info"_s, u"missing.lfs"_s} << 2;
        QTest::newRow("convert missing file") << QStringList{u"convert"_s, u"missing.orv"_s} << 2;
        QTest::newRow("render without output") << QStringList{u"render"_s, u"newproject.dat"_s} << 2;
        QTest::newRow("render bad arrow")
            << QStringList{u"render"_s, u"newproject.dat"_s, u"--arrow"_s, u"left"_s, u"-o"_s, u"x.png"_s} << 2;
        QTest::newRow("render state 11")
            << QStringList{u"render"_s, u"newproject.dat"_s, u"--state"_s, u"11"_s, u"-o"_s, u"x.png"_s} << 2;
        QTest::newRow("render row beyond floors")
            << QStringList{u"render"_s, u"newproject.dat"_s, u"--row"_s, u"40"_s, u"-o"_s, u"x.png"_s} << 2;
        QTest::newRow("render led size 7")
            << QStringList{u"render"_s, u"newproject.dat"_s, u"--led-size"_s, u"7"_s, u"-o"_s, u"x.png"_s} << 2;
        QTest::newRow("generate extra argument") << QStringList{u"generate"_s, u"a.orv"_s, u"b.orv"_s} << 2;
    }
    void badArguments()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        const Run r = cli(args);
        QCOMPARE(r.ExitCode, exitCode);
        QVERIFY(!r.Err.trimmed().isEmpty());
    }

    // A damaged flash file is named damaged, with a non-zero exit code.
    void damagedLfs_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("message");
        QTest::newRow("cut short") << u"cut"_s << u"the header states"_s;
        QTest::newRow("byte flipped") << u"flip"_s << u"CRC"_s;
        QTest::newRow("header only") << u"header"_s << u"shorter than its 22-byte header"_s;
        QTest::newRow("ten bytes") << u"tiny"_s << u"shorter than the 24-byte file header"_s;
        QTest::newRow("glyph count beyond image") << u"glyphs"_s << u"runs beyond the image"_s;
    }
    void damagedLfs()
    {
        QFETCH(QString, damage);
        QFETCH(QString, message);
        const QString project = path(u"damage.orv"_s);
        if (!QFile::exists(project))
            QVERIFY(makeProject(u"vfd128"_s, false, 4, project));
        const QString lfs = path(u"damage.lfs"_s);
        QFile::remove(lfs);
        QCOMPARE(cli({u"generate"_s, project, u"-o"_s, lfs}).ExitCode, 0);
        QFile f(lfs);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QByteArray bytes = f.readAll();
        f.close();
        if (damage == u"cut"_s)
            bytes.chop(1000);
        else if (damage == u"flip"_s)
            bytes[5000] = char(bytes[5000] ^ 0x10);
        else if (damage == u"header"_s)
            bytes.truncate(30);
        else if (damage == u"tiny"_s)
            bytes.truncate(10);
        else if (damage == u"glyphs"_s) {
            // LargeGlyphBytes (image offset 22 + 36, high byte first) made huge.
            bytes[24 + 22 + 36] = char(0xFF);
            bytes[24 + 22 + 37] = char(0xFF);
        }
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();
        const Run r = cli({u"info"_s, lfs});
        QCOMPARE(r.ExitCode, 1);
        QVERIFY2(r.Out.contains(u"DAMAGED: "_s), qPrintable(r.Out));
        QVERIFY2(r.Out.contains(message), qPrintable(r.Out));
    }

    // A logo filling the display gives the static variant, which info recognises.
    void staticVariant()
    {
        const QString project = path(u"static.orv"_s);
        QVERIFY(makeProject(u"lcd240"_s, false, 4, project));
        ProjectReadResult read = ProjectFile::read(project);
        QVERIFY(read.ok());
        ProjectRecord rec = read.Contents->Record;
        QImage logo(240, 128, QImage::Format_ARGB32);
        logo.fill(0u);
        for (int y = 0; y < 128; y += 2)
            for (int x = 0; x < 240; ++x)
                logo.setPixel(x, y, 0x00FFFFFFu);
        rec.logo(1) = BitmapRecordFromImage(logo);
        rec.ShowLogo = true;
        QString error;
        QVERIFY2(ProjectFile::write(project, rec, FontSection(), &error), qPrintable(error));

        const QString lfs = path(u"static.lfs"_s);
        const Run gen = cli({u"generate"_s, project, u"-o"_s, lfs});
        QVERIFY2(gen.ExitCode == 0, qPrintable(gen.Out + gen.Err));
        QCOMPARE(QFileInfo(lfs).size(), 5167);
        const Run info = cli({u"info"_s, lfs, u"--json"_s});
        QCOMPARE(info.ExitCode, 0);
        const QJsonObject j = QJsonDocument::fromJson(info.Out.toUtf8()).object();
        QCOMPARE(j.value(u"variant"_s).toString(), u"static"_s);
        QVERIFY(j.value(u"crc"_s).toObject().value(u"matches"_s).toBool());
        QCOMPARE(j.value(u"imageHeader"_s).toObject().value(u"flashSize"_s).toInt(), 5121);
    }

    // A run that fails (a template missing) exits 1 with the error line and leaves no file.
    void generateFailureExitsOne()
    {
        const QString project = path(u"fail.orv"_s);
        QVERIFY(makeProject(u"lcd240"_s, false, 4, project));
        const QString moved = path(u"flash1.dat.away"_s);
        QVERIFY(QFile::rename(path(u"flash1.dat"_s), moved));
        const Run r = cli({u"generate"_s, project, u"-o"_s, path(u"fail.lfs"_s)});
        QVERIFY(QFile::rename(moved, path(u"flash1.dat"_s)));
        QCOMPARE(r.ExitCode, 1);
        QVERIFY(r.Out.contains(u"FEHLER: "_s));
        QVERIFY(r.Out.contains(u"Kein Erfolg: "_s));
        QVERIFY(!QFile::exists(path(u"fail.lfs"_s)));
    }

    void demoCreatesProjectAndFlashFile()
    {
        const Run r = cli({u"demo"_s});
        QVERIFY2(r.ExitCode == 0, qPrintable(r.Out + r.Err));
        const QString project = path(u"project/demo.orv"_s);
        const QString lfs = path(u"project/lcd_240x128_demo.lfs"_s);
        QVERIFY(QFile::exists(project));
        QVERIFY(QFile::exists(lfs));
        QVERIFY(r.Out.contains(QDir::toNativeSeparators(lfs)));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
