// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/displayrect.h"
#include "project/bitmappacking.h"
#include "project/bz2stream.h"
#include "project/projectfile.h"
#include "project/projectmapping.h"
#include "project/projectmodel.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray le32(qint32 v)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = char((quint32(v) >> (8 * i)) & 0xFF);
    return b;
}

QByteArray compressed(const QByteArray &content)
{
    QByteArray out;
    QString error;
    if (!Bz2Stream::compress(content, &out, &error))
        qFatal("compress failed: %s", qPrintable(error));
    return out;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

bool writeAll(const QString &path, const QByteArray &data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(data) == data.size();
}

/// Runs the bzip2 command on \a input; an empty result with ok = false when it fails.
QByteArray runBzip2(const QStringList &args, const QByteArray &input, bool *ok)
{
    QProcess p;
    p.start(u"bzip2"_s, args);
    *ok = p.waitForStarted();
    if (!*ok)
        return QByteArray();
    p.write(input);
    p.closeWriteChannel();
    *ok = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return p.readAllStandardOutput();
}

/// A record that is valid for the editor, with something in every kind of field.
ProjectRecord sampleRecord()
{
    ProjectRecord r;
    r.DisplayModel = 1;
    r.FloorFontName = "DejaVu Sans";
    r.FloorFontBold = true;
    r.FloorFontSize = 90;
    r.AutoSizeChars = "EGUTDBAKP0123456789";
    r.FloorCount = 5;
    r.FormatMark = 1;
    r.CharsetChoice = 1;
    r.ShowDateTime = true;
    r.ShowArrows = true;
    r.AutoSize = true;
    r.AlignCentre = true;
    r.InfraredReceiver = true;
    r.mainRegions(1)[0] = RegionRecord{TRect(10, 20, 60, 100), true};
    r.FloorTexts[0][4] = "UG";
    r.FloorTexts[3][0] = "\x81\x8D\x8F\x90\x9D";
    r.specialStates(1)[0].Text = "Ueberlast";
    r.logo(2).Width = 3;
    r.logo(2).Height = 3;
    r.logo(2).PackedPixels[0] = char(0x08);
    r.MonthNames[0] = "Jan";
    return r;
}

/// The decompressed content of an older-format file: a 974511-byte record and a
/// font section.
QByteArray oldContent(const FontHeader &header, const QList<QByteArray> &files)
{
    QByteArray old(ProjectRecord::kOldSize, '\0');
    old[0] = 2;
    old[155] = 12;
    old[162] = 1;
    for (int m = 0; m < 3; ++m)
        for (int n = 0; n < 9; ++n)
            old[801280 + m * 37134 + n * 4126] = char('A' + m * 9 + n);
    old.replace(912682, 8, QByteArray(le32(16) + le32(8))); // first arrow of the first model: 16 x 8
    old[912690] = char(0xA5);
    old[974242] = 1; // AutoSize
    old.replace(974247, 3, "Jan");
    QByteArray content = old + header.toBytes();
    for (const QByteArray &f : files)
        content += f;
    return content;
}


QImage pattern(int width, int height, int seed)
{
    QImage img(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            img.setPixel(x, y, ((x * 7 + y * 3 + seed) % 5) == 0 ? 0x00FFFFFFu : 0u);
    return img;
}

TDisplayRect *regionOf(TDisplay *layout, const QString &name)
{
    return layout ? layout->FindRect(name) : nullptr;
}

/// A model with something different from the start-up state in every datum.
void fillModel(ProjectModel &m, DisplayModel model, bool vertical)
{
    m.SetFloorFontName(u"DejaVu Sans"_s);
    m.SetFloorFontBold(true);
    m.SetFloorFontItalic(true);
    m.SetAutoSize(false);
    m.SetFloorFontSize(-120);
    m.SetFloorTextOffsetX(5);
    m.SetFloorTextOffsetY(-7);
    m.AutoSizeChars = u"0123456789EGU"_s;
    m.SetAlignment(2);
    m.SetFloorTextDigits(1);
    m.SetTextLines(3, 5);
    m.SetShowLogo(true);
    m.SetShowFloorBitmaps(true);
    m.SetShowWhileMoving(true);
    m.SetSpecialBitmapsOnly(true);
    m.SetShowArrows(false);
    m.SetShowDateTime(false);
    m.InfraredReceiver = false;
    m.CharsetChoice = 2;
    m.SetFloorCount(12);
    m.SetFloorText(2, 1, u"Zeile 3 \u00c4rzte"_s);
    m.SetFloorText(9, 64, u"hidden but stored"_s);
    m.SetFloorText(5, 7, u"\u20ac\u0081\u008d\u008f\u0090\u009d"_s);
    m.SetSpecialText(4, u"Brandfall"_s);
    m.SetSpecialText(10, u"Eigener Text"_s);
    QStringList months;
    for (int i = 1; i <= 12; ++i)
        months.append(u"M%1"_s.arg(i));
    m.MonthNames = months;

    const DisplayLayouts &l = m.Layouts();
    // Regions: some moved, some flags against what the option setters chose.
    l.Main(DisplayModel::Lcd240)->LoadRect(u"TXT1"_s, TRect(3, 4, 80, 100), true);
    l.Main(DisplayModel::Vfd128)->LoadRect(u"STABMP"_s, TRect(10, 10, 59, 39), false); // 50 x 30
    l.Main(DisplayModel::Vfd256)->LoadRect(u"UHR"_s, TRect(0, 100, 255, 127), true);
    l.Klein(DisplayModel::Vfd128)->LoadRect(u"PFEIL"_s, TRect(92, 40, 111, 63), true);
    for (TDisplay *d : l.MainLayouts())
        d->DeriveSingleDigitRect();
    for (TDisplay *d : l.KleinLayouts())
        d->DeriveSingleDigitRect();

    m.SetLogo(DisplayModel::Vfd128, pattern(40, 20, 1));
    m.SetFloorBitmap(DisplayModel::Lcd240, 64, pattern(70, 25, 2)); // region 65 x 22
    m.SetFloorBitmap(DisplayModel::Vfd256, 1, pattern(66, 22, 3)); // the region's own size
    m.SetArrow(DisplayModel::Vfd256, 0, pattern(10, 10, 4));
    m.SetSmallArrow(DisplayModel::Vfd128, 1, pattern(19, 21, 5));
    m.SetSpecialBitmap(DisplayModel::Lcd240, 10, pattern(100, 50, 6));
    m.SetSpecialBitmap(DisplayModel::Vfd128, 1, pattern(128, 64, 7));

    m.SetDisplayModel(model);
    m.SetVerticalMounting(vertical);
}

} // namespace

class TestProjectFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void writtenFileIsPlainBzip2()
    {
        if (QStandardPaths::findExecutable(u"bzip2"_s).isEmpty())
            QSKIP("the bzip2 command is not installed");
        const QString file = path(u"new.orv"_s);
        ProjectRecord rec; // a new project without bitmaps or fonts
        rec.FormatMark = 0; // saving marks the current format itself
        QString error;
        QVERIFY2(ProjectFile::write(file, rec, FontSection(), &error), qPrintable(error));

        const QByteArray stored = readAll(file);
        QVERIFY(stored.startsWith("BZh4"));
        bool ok = false;
        const QByteArray plain = runBzip2({u"-dc"_s}, stored, &ok);
        QVERIFY(ok);
        QCOMPARE(plain.size(), 986889);
        QCOMPARE(int(plain[160]), 1);
        QCOMPARE(plain.count('\0'), plain.size() - 1);
    }

    void fileFromBzip2CommandOpens()
    {
        bool ok = false;
        const ProjectRecord rec = sampleRecord();
        const QByteArray packed = runBzip2({u"-c"_s, u"-9"_s}, rec.toBytes(), &ok);
        if (!ok)
            QSKIP("the bzip2 command is not available");
        const QString file = path(u"external.orv"_s);
        QVERIFY(writeAll(file, packed));
        const ProjectReadResult r = ProjectFile::read(file);
        QVERIFY2(r.ok(), qPrintable(r.Error));
        QCOMPARE(r.Warnings, QStringList());
        QCOMPARE(r.Contents->Record, rec);
        QVERIFY(r.Contents->Fonts.isEmpty());
    }

    void roundTripWithFonts()
    {
        FontSection fonts;
        fonts.Header.FileNames[0] = "Family-Regular.ttf";
        fonts.Header.FileNames[1] = QByteArray(35, 'b'); // stored as 30 characters
        fonts.Header.Count = 99; // taken from the files when writing
        fonts.Files = {QByteArray(100000, 'R'), QByteArray("bold")};
        const QString file = path(u"fonts.orv"_s);
        QString error;
        QVERIFY2(ProjectFile::write(file, sampleRecord(), fonts, &error), qPrintable(error));

        const ProjectReadResult r = ProjectFile::read(file);
        QVERIFY2(r.ok(), qPrintable(r.Error));
        QCOMPARE(r.Warnings, QStringList());
        QCOMPARE(r.Contents->Record, sampleRecord());
        const FontHeader &h = r.Contents->Fonts.Header;
        QCOMPARE(h.Count, 2);
        QCOMPARE(h.FileNames[0], QByteArray("Family-Regular.ttf"));
        QCOMPARE(h.FileNames[1], QByteArray(30, 'b'));
        QCOMPARE(h.FileSizes[0], 100000);
        QCOMPARE(h.FileSizes[1], 4);
        QCOMPARE(r.Contents->Fonts.Files, fonts.Files);

        // The same decompressed layout as the format: record, header, files.
        const QByteArray content = ProjectFile::content(sampleRecord(), fonts);
        QCOMPARE(content.size(), 986889 + 284 + 100004);
        QCOMPARE(content.mid(986889, 4), le32(2));
        QCOMPARE(content.right(4), QByteArray("bold"));
    }

    void savingReplacesAtomically()
    {
        const QString file = path(u"replace.orv"_s);
        QString error;
        ProjectRecord first = sampleRecord();
        QVERIFY(ProjectFile::write(file, first, FontSection(), &error));
        ProjectRecord second = sampleRecord();
        second.FloorCount = 40;
        QVERIFY(ProjectFile::write(file, second, FontSection(), &error));
        QCOMPARE(ProjectFile::read(file).Contents->Record.FloorCount, 40);
        // Only the project file is left in the folder: no temporary file.
        const QStringList names = QDir(m_dir.path()).entryList({u"replace*"_s}, QDir::Files | QDir::Hidden);
        QCOMPARE(names, QStringList{u"replace.orv"_s});
    }

    void savingFails_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("missing folder") << u"no/such/folder/x.orv"_s;
        QTest::newRow("target is a folder") << u"folder.orv"_s;
    }

    void savingFails()
    {
        QFETCH(QString, target);
        QDir(m_dir.path()).mkpath(u"folder.orv"_s);
        QString error;
        QVERIFY(!ProjectFile::write(path(target), sampleRecord(), FontSection(), &error));
        QVERIFY2(error.startsWith(u"Error: "_s), qPrintable(error));
        QVERIFY(error.size() > 7);
    }

    void malformedFiles_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("error");

        const QByteArray good = compressed(sampleRecord().toBytes());
        QTest::newRow("not bzip2") << QByteArray("PK\x03\x04 this is a zip file") << u"error -5"_s;
        QTest::newRow("empty file") << QByteArray() << u"error -7"_s;
        QTest::newRow("cut off stream") << good.left(good.size() / 2) << u"error -7"_s;
        QTest::newRow("cut off before the end mark") << good.left(good.size() - 4) << u"error -7"_s;
        QByteArray damaged = good;
        for (int i = 40; i < 60; ++i)
            damaged[i] = char(damaged[i] ^ 0x5A);
        QTest::newRow("damaged block") << damaged << u"error -4"_s;
    }

    void malformedFiles()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, error);
        const QString file = path(u"bad.orv"_s);
        QVERIFY(writeAll(file, data));

        const ProjectReadResult r = ProjectFile::read(file);
        QVERIFY(!r.ok());
        QCOMPARE(r.Error, error);
        QVERIFY2(r.Where.contains(file), qPrintable(r.Where));

        // The format check reads only as far as it must: when it meets the damage,
        // it says the same; either way it leaves the file alone.
        const ConvertResult c = ProjectFile::ConvertOldProject(file);
        QVERIFY(c.Result != ConvertResult::Status::Converted);
        if (c.Result == ConvertResult::Status::Failed)
            QCOMPARE(c.Error, error);
        QCOMPARE(readAll(file), data);
        QVERIFY(!QFile::exists(ProjectFile::convertTempPath(file)));
    }

    void streamEndingInsideRecordIsNotAnError()
    {
        ProjectRecord rec = sampleRecord();
        const QByteArray full = rec.toBytes();
        const ProjectReadResult r = ProjectFile::decode(compressed(full.left(700)), u"short"_s);
        QVERIFY2(r.ok(), qPrintable(r.Error));
        QCOMPARE(r.Warnings, QStringList());
        // What was there is read, the rest is zero.
        ProjectRecord expected = ProjectRecord::fromBytes(full.left(700));
        QCOMPARE(r.Contents->Record, expected);
        QCOMPARE(r.Contents->Record.mainRegions(1)[0].Rect, TRect(10, 20, 60, 100));
        QCOMPARE(r.Contents->Record.logo(2), BitmapRecord());
        QVERIFY(r.Contents->Fonts.isEmpty());
    }

    void absurdValuesAreReportedAndMadeSafe()
    {
        QByteArray bytes = sampleRecord().toBytes();
        bytes[0] = 9;                                   // DisplayModel
        bytes.replace(155, 4, le32(1000));              // FloorCount
        bytes.replace(631, 4, le32(-3));                // FirstTextLine
        bytes.replace(13312, 8, QByteArray(le32(300) + le32(200))); // oversize floor bitmap, VFD 128 x 64 slot 1
        bytes.replace(974308, 8, QByteArray(le32(-4) + le32(4)));   // negative logo, VFD 128 x 64
        const ProjectReadResult r = ProjectFile::decode(compressed(bytes), u"absurd"_s);
        QVERIFY2(r.ok(), qPrintable(r.Error));
        QCOMPARE(r.Warnings.size(), 5);
        const ProjectRecord &rec = r.Contents->Record;
        QCOMPARE(int(rec.DisplayModel), 2);
        QCOMPARE(rec.FloorCount, 64);
        QCOMPARE(rec.FirstTextLine, 0);
        QVERIFY(rec.floorBitmaps(0)[0].IsEmpty());
        QVERIFY(rec.logo(0).IsEmpty());
        // Everything else is as stored.
        QCOMPARE(rec.logo(2), sampleRecord().logo(2));
        QCOMPARE(rec.FloorTexts, sampleRecord().FloorTexts);
    }

    void badFontSections_data()
    {
        QTest::addColumn<QByteArray>("tail");
        QTest::addColumn<QString>("warning");

        FontHeader h;
        h.Count = 1;
        h.FileNames[0] = "ok.ttf";
        h.FileSizes[0] = 10;
        QTest::newRow("header cut short") << h.toBytes().left(100) << u"Kopf unvollständig"_s;
        QTest::newRow("file cut short") << h.toBytes() + QByteArray(4, 'x') << u"Datei 1 unvollständig"_s;
        FontHeader many = h;
        many.Count = 9;
        QTest::newRow("count over 8") << many.toBytes() << u"Anzahl 9"_s;
        FontHeader negative = h;
        negative.FileSizes[0] = -1;
        QTest::newRow("negative size") << negative.toBytes() << u"Größe -1"_s;
        FontHeader huge = h;
        huge.FileSizes[0] = 0x7FFFFFFF;
        QTest::newRow("absurd size") << huge.toBytes() << u"Größe 2147483647"_s;
        FontHeader folder = h;
        folder.FileNames[0] = "../../.bashrc";
        QTest::newRow("name with folder") << folder.toBytes() + QByteArray(10, 'x') << u"Ordner"_s;
        FontHeader dots = h;
        dots.FileNames[0] = "..";
        QTest::newRow("name dot dot") << dots.toBytes() + QByteArray(10, 'x') << u"ungültiger Dateiname"_s;
        FontHeader control = h;
        control.FileNames[0] = "a\nb.ttf";
        QTest::newRow("control character") << control.toBytes() + QByteArray(10, 'x') << u"Steuerzeichen"_s;
        FontHeader unnamed = h;
        unnamed.FileNames[0].clear();
        QTest::newRow("empty name") << unnamed.toBytes() + QByteArray(10, 'x') << u"leerer Dateiname"_s;
    }

    void badFontSections()
    {
        QFETCH(QByteArray, tail);
        QFETCH(QString, warning);
        const ProjectReadResult r = ProjectFile::decode(compressed(sampleRecord().toBytes() + tail), u"fonts"_s);
        QVERIFY2(r.ok(), qPrintable(r.Error));
        QCOMPARE(r.Warnings.size(), 1);
        QVERIFY2(r.Warnings[0].contains(warning), qPrintable(r.Warnings[0]));
        QCOMPARE(r.Contents->Record, sampleRecord());
        QVERIFY(r.Contents->Fonts.isEmpty());
        QCOMPARE(r.Contents->Fonts.Header.Count, 0);
    }

    void convertOldFormat()
    {
        FontHeader header;
        header.Count = 1;
        header.FileNames[0] = "Old.ttf";
        header.FileSizes[0] = 5;
        const QByteArray old = oldContent(header, {QByteArray("12345")});
        const QString file = path(u"old.orv"_s);
        QVERIFY(writeAll(file, compressed(old)));

        const ConvertResult c = ProjectFile::ConvertOldProject(file);
        QCOMPARE(c.Result, ConvertResult::Status::Converted);
        QVERIFY2(c.Error.isEmpty(), qPrintable(c.Error));
        QVERIFY(!QFile::exists(path(u"old.$$$"_s)));

        const QByteArray stored = readAll(file);
        QVERIFY(stored.startsWith("BZh4"));
        QByteArray content;
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadOnly));
            Bz2Stream s(&f, Bz2Stream::Mode::Decompress);
            content = s.read(1 << 22);
            QVERIFY(!s.hasError());
        }
        QCOMPARE(content.size(), 986889 + 284 + 5);
        QCOMPARE(int(content[160]), 1);
        QCOMPARE(int(content[162]), 0);
        // Arrows, logos, option bytes and month names lie 12378 bytes later.
        QCOMPARE(content.mid(925060, 986889 - 925060), old.mid(912682, 974511 - 912682));
        QCOMPARE(content.mid(986889), old.mid(974511));

        const ProjectReadResult r = ProjectFile::read(file);
        QVERIFY2(r.ok(), qPrintable(r.Error));
        QCOMPARE(r.Warnings, QStringList());
        const ProjectRecord &rec = r.Contents->Record;
        QCOMPARE(rec.FloorCount, 12);
        QVERIFY(!rec.VerticalMounting);
        QVERIFY(rec.AutoSize);
        QCOMPARE(rec.MonthNames[0], QByteArray("Jan"));
        QCOMPARE(rec.arrows(0)[0].Width, 16);
        QCOMPARE(rec.arrows(0)[0].PackedPixels.at(0), char(0xA5));
        for (int l = 0; l < 3; ++l) {
            QCOMPARE(rec.SpecialStates[size_t(l)][8].Text, QByteArray(1, char('A' + l * 9 + 8)));
            QCOMPARE(rec.SpecialStates[size_t(l)][9], SpecialStateRecord());
        }
        QCOMPARE(r.Contents->Fonts.Files, QList<QByteArray>{QByteArray("12345")});

        // A second run finds the current format and writes nothing.
        const QDateTime modified = QFileInfo(file).lastModified();
        QCOMPARE(ProjectFile::ConvertOldProject(file).Result, ConvertResult::Status::CurrentFormat);
        QCOMPARE(readAll(file), stored);
        QCOMPARE(QFileInfo(file).lastModified(), modified);
    }

    void convertOldWithoutFontSection()
    {
        // The header is always written, with Count 0 when there was none.
        const QByteArray old = oldContent(FontHeader(), {}).left(ProjectRecord::kOldSize);
        const QString file = path(u"nofonts.dat"_s);
        QVERIFY(writeAll(file, compressed(old)));
        QCOMPARE(ProjectFile::ConvertOldProject(file).Result, ConvertResult::Status::Converted);
        QVERIFY(!QFile::exists(path(u"nofonts.$$$"_s)));
        bool ok = false;
        const QByteArray content = runBzip2({u"-dc"_s}, readAll(file), &ok);
        if (!ok)
            QSKIP("the bzip2 command is not available");
        QCOMPARE(content.size(), 986889 + 284);
        QCOMPARE(content.mid(986889), QByteArray(284, '\0'));
    }

    void shortOldRecordIsNotConverted_data()
    {
        QTest::addColumn<int>("length");
        QTest::newRow("inside the special states") << 850000;
        QTest::newRow("one byte short") << ProjectRecord::kOldSize - 1;
        QTest::newRow("before the format mark") << 100;
    }

    void shortOldRecordIsNotConverted()
    {
        QFETCH(int, length);
        const QByteArray data = compressed(oldContent(FontHeader(), {}).left(length));
        const QString file = path(u"short.orv"_s);
        QVERIFY(writeAll(file, data));
        const ConvertResult c = ProjectFile::ConvertOldProject(file);
        QCOMPARE(c.Result, ConvertResult::Status::Failed);
        QVERIFY2(c.Error.contains(u"unvollständig"_s), qPrintable(c.Error));
        QCOMPARE(readAll(file), data);
        QVERIFY(!QFile::exists(path(u"short.$$$"_s)));
        // Reading it is refused as well: its special states cannot be placed.
        const ProjectReadResult r = ProjectFile::read(file);
        QVERIFY(!r.ok());
        QVERIFY(r.Error.contains(u"unvollständig"_s));
    }

    void oldFormatIsReadWhenItCannotBeConverted()
    {
        // The temporary file cannot be created (a folder has its name): the
        // original stays, and reading still gives the converted record.
        const QByteArray data = compressed(oldContent(FontHeader(), {}));
        const QString file = path(u"blocked.orv"_s);
        QVERIFY(writeAll(file, data));
        QVERIFY(QDir(m_dir.path()).mkpath(u"blocked.$$$"_s));
        const ConvertResult c = ProjectFile::ConvertOldProject(file);
        QCOMPARE(c.Result, ConvertResult::Status::Failed);
        QVERIFY2(c.Error.contains(u"blocked.$$$"_s), qPrintable(c.Error));
        QCOMPARE(readAll(file), data);
        QVERIFY(QFileInfo(path(u"blocked.$$$"_s)).isDir());

        const ProjectReadResult r = ProjectFile::read(file);
        QVERIFY2(r.ok(), qPrintable(r.Error));
        QCOMPARE(r.Warnings.size(), 1);
        QCOMPARE(r.Contents->Record.FloorCount, 12);
        QCOMPARE(r.Contents->Record.arrows(0)[0].Width, 16);
        QCOMPARE(r.Contents->Record.SpecialStates[0][9], SpecialStateRecord());
    }

    void convertOldWithBadFontSection()
    {
        FontHeader header;
        header.Count = 2;
        header.FileNames[0] = "a.ttf";
        header.FileNames[1] = "b.ttf";
        header.FileSizes[0] = 3;
        header.FileSizes[1] = 50;
        const QByteArray data = compressed(oldContent(header, {QByteArray("abc"), QByteArray("short")}));
        const QString file = path(u"oldfonts.orv"_s);
        QVERIFY(writeAll(file, data));
        const ConvertResult c = ProjectFile::ConvertOldProject(file);
        QCOMPARE(c.Result, ConvertResult::Status::Failed);
        QCOMPARE(readAll(file), data);
        QVERIFY(!QFile::exists(path(u"oldfonts.$$$"_s)));
    }

    void openingNeedsNoWriteAccess()
    {
        const QString folder = path(u"readonly"_s);
        QVERIFY(QDir().mkpath(folder));
        const QString file = folder + u"/project.orv"_s;
        QString error;
        QVERIFY(ProjectFile::write(file, sampleRecord(), FontSection(), &error));
        QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const QByteArray before = readAll(file);

        const ConvertResult c = ProjectFile::ConvertOldProject(file);
        const ProjectReadResult r = ProjectFile::read(file);
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

        QCOMPARE(c.Result, ConvertResult::Status::CurrentFormat);
        QVERIFY2(r.ok(), qPrintable(r.Error));
        QCOMPARE(r.Contents->Record, sampleRecord());
        QCOMPARE(readAll(file), before);
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{u"project.orv"_s});
    }

    // Between the project model and the file.

    void modelFileModelRoundTrip_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<bool>("vertical");
        QTest::newRow("VFD 128 x 64") << 0 << false;
        QTest::newRow("LCD 240 x 128 upright") << 1 << true;
        QTest::newRow("VFD 256 x 128") << 2 << false;
    }

    void modelFileModelRoundTrip()
    {
        QFETCH(int, model);
        QFETCH(bool, vertical);
        ProjectModel src(nullptr, nullptr);
        fillModel(src, DisplayModel(model), vertical);
        src.SetSpecialText(3, u"Ausser Betrieb   "_s);
        src.SetFloorText(3, 2, u"1234567890123456789012345"_s);

        const QString file = path(u"model%1.orv"_s.arg(model));
        QString error;
        QStringList warnings;
        QVERIFY2(ProjectMapping::SaveProjectFile(src, file, FontSection(), &error, &warnings), qPrintable(error));
        QCOMPARE(warnings, QStringList());

        ProjectModel dst(nullptr, nullptr);
        dst.SetFloorBitmap(DisplayModel::Vfd128, 5, pattern(8, 8, 0)); // from an earlier project
        const ProjectOpenResult r = ProjectMapping::OpenProjectFile(dst, file);
        QVERIFY2(r.Ok, qPrintable(r.Error));
        QCOMPARE(r.Warnings, QStringList());

        // What the format changes on the way.
        QCOMPARE(dst.SpecialText(3), u"Ausser Betrieb"_s);
        QCOMPARE(dst.FloorText(3, 2), u"123456789012345678901"_s);
        QCOMPARE(dst.FloorBitmap(DisplayModel::Vfd128, 5), nullptr);
        // The logo was fitted to its 50 x 30 region, in the saved model too.
        const QImage fittedLogo = *src.Logo(DisplayModel::Vfd128);
        QCOMPARE(fittedLogo.size(), QSize(50, 30));
        QCOMPARE(fittedLogo.copy(0, 0, 40, 20), pattern(40, 20, 1));
        QImage unlit(10, 30, QImage::Format_ARGB32);
        unlit.fill(0);
        QCOMPARE(fittedLogo.copy(40, 0, 10, 30), unlit);
        QCOMPARE(*dst.Logo(DisplayModel::Vfd128), fittedLogo);
        // Special-state bitmaps keep their own size.
        QCOMPARE(*dst.SpecialBitmap(DisplayModel::Lcd240, 10), pattern(100, 50, 6));

        // Everything else comes back as it was.
        QCOMPARE(int(dst.Model()), model);
        QCOMPARE(dst.VerticalMounting(), vertical);
        QCOMPARE(dst.FloorFontName(), u"DejaVu Sans"_s);
        QCOMPARE(dst.FloorFontSize(), -120);
        QCOMPARE(dst.FloorTextOffsetY(), -7);
        QCOMPARE(dst.Alignment(), 2);
        QCOMPARE(dst.FirstTextLine(), 3);
        QCOMPARE(dst.LastTextLine(), 5);
        QCOMPARE(dst.FloorCount(), 12);
        QCOMPARE(dst.FloorText(9, 64), u"hidden but stored"_s);
        QCOMPARE(dst.FloorText(5, 7), src.FloorText(5, 7));
        QCOMPARE(dst.MonthNames, src.MonthNames);
        QVERIFY(dst.IsProjectOpen());
        // The stored region flags won over the option setters.
        QVERIFY(dst.ShowLogo());
        QVERIFY(!regionOf(dst.Layouts().Main(DisplayModel::Vfd128), u"STABMP"_s)->Active);
        QVERIFY(regionOf(dst.Layouts().Main(DisplayModel::Vfd256), u"UHR"_s)->Active);
        QVERIFY(regionOf(dst.Layouts().Klein(DisplayModel::Vfd128), u"PFEIL"_s)->Active);
        QVERIFY(!dst.ShowArrows());
        QCOMPARE(regionOf(dst.Layouts().Main(DisplayModel::Lcd240), u"TXT3"_s)->Rect,
                 regionOf(src.Layouts().Main(DisplayModel::Lcd240), u"TXT3"_s)->Rect);

        // Saving the opened project stores the same record.
        src.SetSpecialText(3, u"Ausser Betrieb"_s);
        src.SetFloorText(3, 2, u"123456789012345678901"_s);
        const QByteArray expected = ProjectMapping::FillRecord(src).toBytes();
        const QByteArray actual = ProjectMapping::FillRecord(dst).toBytes();
        for (int i = 0; i < expected.size(); ++i)
            if (expected[i] != actual[i])
                QFAIL(qPrintable(u"stored again, byte %1 differs"_s.arg(i)));
    }

    void fillRecordFitsBitmaps()
    {
        ProjectModel m(nullptr, nullptr);
        fillModel(m, DisplayModel::Vfd128, false);
        const ProjectRecord rec = ProjectMapping::FillRecord(m);
        QCOMPARE(int(rec.FormatMark), 1);
        // Larger than the region: cut; smaller: padded; equal: untouched.
        const BitmapRecord &cut = rec.floorBitmaps(1)[63]; // LCD ETABMP is 65 x 22
        QCOMPARE(cut.Width, 65);
        QCOMPARE(cut.Height, 22);
        QCOMPARE(ImageFromBitmapRecord(cut), pattern(70, 25, 2).copy(0, 0, 65, 22));
        QCOMPARE(rec.floorBitmaps(2)[0], BitmapRecordFromImage(pattern(66, 22, 3)));
        QCOMPARE(rec.arrows(2)[0].Width, 66);
        QCOMPARE(rec.arrows(2)[0].Height, 60);
        QCOMPARE(rec.smallArrows(0)[1].Width, 20);
        QCOMPARE(rec.smallArrows(0)[1].Height, 24);
        QCOMPARE(ImageFromBitmapRecord(rec.smallArrows(0)[1]).copy(0, 0, 19, 21), pattern(19, 21, 5));
        // Special states: own size, texts shared by all three models.
        QCOMPARE(rec.specialStates(1)[9].Bitmap, BitmapRecordFromImage(pattern(100, 50, 6)));
        QCOMPARE(rec.specialStates(0)[0].Bitmap, BitmapRecordFromImage(pattern(128, 64, 7)));
        for (int model = 0; model < 3; ++model)
            QCOMPARE(rec.specialStates(model)[3].Text, QByteArray("Brandfall"));
        // Empty slots are records of zero bytes.
        QCOMPARE(rec.logo(1), BitmapRecord());
        QCOMPARE(rec.FloorTexts[1][0], QByteArray("Zeile 3 \xC4rzte"));
    }

    void templateChoicesWin()
    {
        ProjectModel src(nullptr, nullptr);
        fillModel(src, DisplayModel::Vfd256, false);
        ProjectRecord rec = ProjectMapping::FillRecord(src);

        ProjectModel dst(nullptr, nullptr);
        dst.StateFlags |= ProjectModel::NewProjectBuilding;
        ProjectApplyOptions opts;
        opts.Template = true;
        opts.TemplateFloorCount = 12;
        opts.TemplateDisplayModel = 1;
        opts.TemplateVertical = true;
        QString selectedFont;
        opts.SelectFont = [&selectedFont](const QString &name) { selectedFont = name; };
        ProjectMapping::ApplyRecord(dst, rec, opts);
        QCOMPARE(dst.FloorCount(), 12);
        QCOMPARE(dst.Model(), DisplayModel::Lcd240);
        QVERIFY(dst.VerticalMounting());
        QCOMPARE(selectedFont, u"DejaVu Sans"_s);
        QVERIFY(dst.IsProjectOpen());
        QVERIFY(!(dst.StateFlags & ProjectModel::NewProjectBuilding));
        QCOMPARE(dst.FloorText(9, 64), u"hidden but stored"_s);
    }

    void failedOpenChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("error");
        const QByteArray good = compressed(sampleRecord().toBytes());
        QTest::newRow("not bzip2") << QByteArray("hello world") << u"error -5"_s;
        QTest::newRow("cut off") << good.left(good.size() - 10) << u"error -7"_s;
        QTest::newRow("short older format") << compressed(QByteArray(5000, '\0')) << QString();
    }

    void failedOpenChangesNothing()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, error);
        ProjectModel m(nullptr, nullptr);
        fillModel(m, DisplayModel::Lcd240, false);
        m.SetProjectOpen(true);
        const QByteArray before = ProjectMapping::FillRecord(m).toBytes();
        const quint16 flags = m.StateFlags;

        const QString file = path(u"broken.orv"_s);
        QVERIFY(writeAll(file, data));
        const ProjectOpenResult r = ProjectMapping::OpenProjectFile(m, file);
        QVERIFY(!r.Ok);
        if (!error.isEmpty())
            QCOMPARE(r.Error, error);
        QVERIFY(!r.Error.isEmpty());
        QCOMPARE(ProjectMapping::FillRecord(m).toBytes(), before);
        QCOMPARE(m.StateFlags, flags);
        QCOMPARE(readAll(file), data);
    }

    void absurdFileOpensClamped()
    {
        QByteArray bytes = sampleRecord().toBytes();
        bytes[0] = 9;
        bytes.replace(155, 4, le32(-20));
        bytes.replace(635, 4, le32(77));
        bytes.replace(631, 4, le32(2));
        bytes.replace(13312 + 4104 * 2, 8, QByteArray(le32(5) + le32(0)));   // 5 x 0: no bitmap
        bytes.replace(13312 + 4104 * 3, 8, QByteArray(le32(200) + le32(200))); // too large
        const QString file = path(u"absurd.orv"_s);
        QVERIFY(writeAll(file, compressed(bytes)));

        ProjectModel m(nullptr, nullptr);
        m.SetFloorBitmap(DisplayModel::Vfd128, 3, pattern(8, 8, 1));
        m.SetFloorBitmap(DisplayModel::Vfd128, 4, pattern(8, 8, 2));
        const ProjectOpenResult r = ProjectMapping::OpenProjectFile(m, file);
        QVERIFY2(r.Ok, qPrintable(r.Error));
        QCOMPARE(r.Warnings.size(), 4);
        QCOMPARE(m.Model(), DisplayModel::Vfd256);
        QCOMPARE(m.FloorCount(), 2);
        QCOMPARE(m.FirstTextLine(), 2);
        QCOMPARE(m.LastTextLine(), 8);
        QCOMPARE(m.FloorBitmap(DisplayModel::Vfd128, 3), nullptr);
        QCOMPARE(m.FloorBitmap(DisplayModel::Vfd128, 4), nullptr);
    }

    void tempPathNames_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::newRow("orv") << u"/a/b/p.orv"_s << u"/a/b/p.$$$"_s;
        QTest::newRow("template") << u"/x/newproject.dat"_s << u"/x/newproject.$$$"_s;
        QTest::newRow("no extension") << u"/x.d/project"_s << u"/x.d/project.$$$"_s;
        QTest::newRow("already the temp name") << u"/x/p.$$$"_s << u"/x/p.$$$.$$$"_s;
    }

    void tempPathNames()
    {
        QFETCH(QString, input);
        QFETCH(QString, expected);
        QCOMPARE(ProjectFile::convertTempPath(input), expected);
    }

    void streamDetails()
    {
        // Data after the end of the stream are not read as project data.
        const QByteArray content = sampleRecord().toBytes();
        const ProjectReadResult r = ProjectFile::decode(compressed(content) + "garbage", u"x"_s);
        QVERIFY2(r.ok(), qPrintable(r.Error));
        QVERIFY(r.Contents->Fonts.isEmpty());

        // Content that is already decompressed reads the same.
        FontSection fonts;
        fonts.Header.FileNames[0] = "f.ttf";
        fonts.Files = {QByteArray("font")};
        const QByteArray withFonts = ProjectFile::content(sampleRecord(), fonts);
        const ProjectReadResult plain = ProjectFile::decodeContent(withFonts, u"plain"_s);
        const ProjectReadResult packed2 = ProjectFile::decode(compressed(withFonts), u"packed"_s);
        QVERIFY(plain.ok() && packed2.ok());
        QCOMPARE(plain.Contents->Record, packed2.Contents->Record);
        QCOMPARE(plain.Contents->Fonts.Files, packed2.Contents->Fonts.Files);
        QCOMPARE(plain.Contents->Fonts.Header, packed2.Contents->Fonts.Header);

        // A stream that is read in small pieces gives the same bytes.
        const QByteArray packed = compressed(content);
        QBuffer buffer;
        buffer.setData(packed);
        buffer.open(QIODevice::ReadOnly);
        Bz2Stream s(&buffer, Bz2Stream::Mode::Decompress);
        QByteArray pieces;
        char chunk[777];
        qint64 got = 0;
        while ((got = s.read(chunk, sizeof chunk)) > 0)
            pieces.append(chunk, int(got));
        QVERIFY(s.atEnd());
        QVERIFY(!s.hasError());
        QCOMPARE(pieces, content);
        QCOMPARE(s.totalOut(), qint64(content.size()));
    }
};

QTEST_GUILESS_MAIN(TestProjectFile)
#include "test_projectfile.moc"
