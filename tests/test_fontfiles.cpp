// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/appcontext.h"
#include "project/bz2stream.h"
#include "project/fontembedding.h"
#include "project/fontfiles.h"
#include "project/fontservices.h"
#include "project/programfonts.h"
#include "project/projectfile.h"
#include "project/ttfcomp.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString kDejaVu = u"/usr/share/fonts/truetype/dejavu"_s;

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

bool copyFont(const QString &name, const QString &target)
{
    return writeAll(target, readAll(kDejaVu + u'/' + name));
}

/// Every file below \a root, relative to it, sorted.
QStringList filesBelow(const QString &root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(QDir(root).relativeFilePath(it.next()));
    files.sort();
    return files;
}

quint64 inodeOf(const QString &path)
{
    struct stat st{};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? quint64(st.st_ino) : 0;
}

/// Font services that know only the families they were given and the ones added
/// through them; adding uses the real font database.
class FakeServices : public FontServices
{
public:
    QList<Family> Installed;
    QStringList Added;
    QList<int> Removed;
    QStringList Refuse; ///< file names AddFont rejects
    QStringList AddedFamilies;

    QList<Family> InstalledFamilies() const override { return Installed; }
    int AddFont(const QString &path, QStringList *families) override
    {
        if (Refuse.contains(QFileInfo(path).fileName()))
            return -1;
        QStringList brought;
        const int id = FontServices::AddFont(path, &brought);
        if (id >= 0) {
            Added.append(path);
            AddedFamilies += brought;
        }
        if (families)
            *families = brought;
        return id;
    }
    bool IsAvailable(const QString &family) const override
    {
        for (const Family &f : Installed) {
            if (f.Name.compare(family, Qt::CaseInsensitive) == 0)
                return true;
        }
        return AddedFamilies.contains(family, Qt::CaseInsensitive);
    }
    bool RemoveFont(int id) override
    {
        Removed.append(id);
        return FontServices::RemoveFont(id);
    }
};

/// \a fontFile with every name record of \a from (UTF-16 and single-byte) renamed
/// to \a to of the same length: a family no machine has.
QByteArray renamedFont(const QString &fontFile, const QString &from, const QString &to)
{
    const auto utf16be = [](const QString &text) {
        QByteArray out;
        for (QChar c : text) {
            out.append(char(c.unicode() >> 8));
            out.append(char(c.unicode() & 0xFF));
        }
        return out;
    };
    QByteArray font = readAll(fontFile);
    font.replace(utf16be(from), utf16be(to));
    font.replace(from.toLatin1(), to.toLatin1());
    return font;
}

} // namespace

class TestFontFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!QFileInfo::exists(kDejaVu + u"/DejaVuSans.ttf"_s))
            QSKIP("DejaVu fonts (fonts-dejavu-core) are not installed");
    }

    void familyKey_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("key");
        QTest::newRow("letters a-z") << u"DejaVu Sans"_s << u"DEJAVU SANS"_s;
        QTest::newRow("blanks and controls at the ends") << u" \t DejaVu Sans\r\n "_s << u"DEJAVU SANS"_s;
        QTest::newRow("inner blanks kept") << u"Deja  Vu"_s << u"DEJA  VU"_s;
        QTest::newRow("only a-z changes") << u"äöü straße 1"_s << u"äöü STRAßE 1"_s;
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("blanks only") << u" \x01 "_s << QString();
    }

    void familyKey()
    {
        QFETCH(QString, family);
        QFETCH(QString, key);
        QCOMPARE(FontFiles::FamilyKey(family), key);
    }

    /// System folders first (recursive, each file once, sorted by path, "*.ttf" in
    /// any case); the program folder only when the system folders hold none.
    void findFontFiles_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("system folders win") << u"DejaVu Sans"_s
                                            << QStringList{u"sys/a/DejaVuSans-Bold.TTF"_s, u"sys/b/c/DejaVuSans.ttf"_s};
        QTest::newRow("case and blanks ignored") << u"  dejavu SANS "_s
                                                 << QStringList{u"sys/a/DejaVuSans-Bold.TTF"_s, u"sys/b/c/DejaVuSans.ttf"_s};
        QTest::newRow("only in the program folder") << u"DejaVu Serif"_s << QStringList{u"prog/DejaVuSerif.ttf"_s};
        QTest::newRow("other family") << u"DejaVu Sans Mono"_s << QStringList();
        QTest::newRow("prefix is not the family") << u"DejaVu"_s << QStringList();
        QTest::newRow("empty name matches no unreadable file") << QString() << QStringList();
    }

    void findFontFiles()
    {
        QFETCH(QString, family);
        QFETCH(QStringList, expected);
        QTemporaryDir tmp;
        const QString root = tmp.path();
        QVERIFY(copyFont(u"DejaVuSans.ttf"_s, root + u"/sys/b/c/DejaVuSans.ttf"_s));
        QVERIFY(copyFont(u"DejaVuSans-Bold.ttf"_s, root + u"/sys/a/DejaVuSans-Bold.TTF"_s));
        QVERIFY(copyFont(u"DejaVuSans.ttf"_s, root + u"/sys/a/DejaVuSans.otf"_s)); // not "*.ttf"
        QVERIFY(copyFont(u"DejaVuSans-Oblique.ttf"_s, root + u"/prog/DejaVuSans-Oblique.ttf"_s));
        QVERIFY(copyFont(u"DejaVuSerif.ttf"_s, root + u"/prog/DejaVuSerif.ttf"_s));
        QVERIFY(copyFont(u"DejaVuSerif.ttf"_s, root + u"/prog/sub/DejaVuSerif-Deep.ttf"_s)); // not recursive
        QVERIFY(writeAll(root + u"/sys/broken.ttf"_s, "not a font"));
        // A link to a listed file and a folder listed inside another give no duplicates.
        QVERIFY(QFile::link(root + u"/sys/b/c/DejaVuSans.ttf"_s, root + u"/sys/b/link.ttf"_s));

        FontFiles finder;
        finder.SystemFolders = {root + u"/sys"_s, root + u"/sys/b"_s, root + u"/sys/b/c/"_s, root + u"/missing"_s};
        finder.ProgramFontsFolder = root + u"/prog"_s;
        QStringList found{u"stale"_s};
        QCOMPARE(finder.FindFontFiles(family, found), !expected.isEmpty());
        QStringList relative;
        for (const QString &f : std::as_const(found))
            relative.append(QDir(root).relativeFilePath(f));
        QCOMPARE(relative, expected);
    }

    /// Without given folders the search uses fontconfig's, where DejaVu Sans lies.
    void systemFolders()
    {
        const QStringList folders = FontFiles::SystemFontFolders();
        QVERIFY(!folders.isEmpty());
        QCOMPARE(QSet<QString>(folders.begin(), folders.end()).size(), folders.size());
        FontFiles finder;
        QStringList found;
        QVERIFY(finder.FindFontFiles(u"DejaVu Sans"_s, found));
        QVERIFY2(found.contains(kDejaVu + u"/DejaVuSans.ttf"_s), qPrintable(found.join(u", "_s)));
        QVERIFY(!found.contains(kDejaVu + u"/DejaVuSansMono.ttf"_s));
        QStringList sorted = found;
        sorted.sort();
        QCOMPARE(found, sorted);

        // An explicitly empty list hides the system folders.
        finder.UseGivenSystemFolders = true;
        QVERIFY(!finder.FindFontFiles(u"DejaVu Sans"_s, found));
        QVERIFY(found.isEmpty());
    }

    /// The section holds the first eight files with their names (cut to 30
    /// characters) and their sizes and bytes as on disk; unreadable files are left out.
    void buildFontSection()
    {
        QTemporaryDir tmp;
        QStringList files;
        for (int i = 0; i < 10; ++i) {
            const QString name = i == 1 ? u"ThisFontFileNameIsLongerThan30Chars.ttf"_s
                                        : u"Font%1.ttf"_s.arg(i);
            files.append(tmp.filePath(name));
            QVERIFY(writeAll(files.last(), QByteArray(100 + i, char('a' + i))));
        }
        files.insert(2, tmp.filePath(u"missing.ttf"_s));
        QStringList warnings;
        const FontSection s = FontEmbedding::BuildFontSection(files, &warnings);
        QCOMPARE(s.Header.Count, 8);
        QCOMPARE(s.Files.size(), 8);
        QCOMPARE(warnings.size(), 1);
        QVERIFY(warnings[0].contains(u"missing.ttf"_s));
        QCOMPARE(s.Header.FileNames[0], QByteArray("Font0.ttf"));
        QCOMPARE(s.Header.FileNames[1], QByteArray("ThisFontFileNameIsLongerThan30"));
        QCOMPARE(s.Header.FileNames[2], QByteArray("Font2.ttf"));
        QCOMPARE(s.Header.FileNames[7], QByteArray("Font7.ttf"));
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(s.Header.FileSizes[size_t(i)], 100 + i);
            QCOMPARE(s.Files[i], QByteArray(100 + i, char('a' + i)));
        }
        QVERIFY(FontEmbedding::CheckSection(s).isEmpty());
        QCOMPARE(FontEmbedding::BuildFontSection({}).Header.Count, 0);
    }

    void safeFileName_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << QByteArray("DejaVuSans.ttf") << u"DejaVuSans.ttf"_s;
        QTest::newRow("upper-case extension") << QByteArray("ARIAL.TTF") << u"ARIAL.TTF"_s;
        QTest::newRow("parent folder") << QByteArray("../x.ttf") << u"x.ttf"_s;
        QTest::newRow("absolute path") << QByteArray("/etc/x.ttf") << u"x.ttf"_s;
        QTest::newRow("windows folders") << QByteArray("..\\..\\win\\x.ttf") << u"x.ttf"_s;
        QTest::newRow("control characters") << QByteArray("a\nb\x7f.ttf") << u"ab.ttf"_s;
        QTest::newRow("empty") << QByteArray() << u"font4.ttf"_s;
        QTest::newRow("dot dot") << QByteArray("..") << u"font4.ttf"_s;
        QTest::newRow("folder only") << QByteArray("fonts/") << u"font4.ttf"_s;
        QTest::newRow("extension only") << QByteArray(".ttf") << u"font4.ttf"_s;
        QTest::newRow("extension lost by the cut") << QByteArray("ThisFontFileNameIsLongerThan30")
                                                   << u"ThisFontFileNameIsLongerThan30.ttf"_s;
        QTest::newRow("windows-1252") << QByteArray("Schrift\xE4.ttf") << u"Schriftä.ttf"_s;
    }

    void safeFileName()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QString, name);
        QCOMPARE(FontEmbedding::SafeFileName(stored, 3), name);
    }

    /// Whatever the stored names are, files land in the fonts folder only; unusable
    /// sections write nothing at all.
    void extractHostile_data()
    {
        QTest::addColumn<QList<QByteArray>>("names");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("expected"); ///< files below the temporary root
        QTest::addColumn<QString>("error");
        QTest::newRow("hostile names")
            << QList<QByteArray>{"../x.ttf", "/etc/y.ttf", "a\nb.ttf", "", QByteArray(35, 'n')}
            << 5
            << QStringList{u"base/fonts/ab.ttf"_s, u"base/fonts/font4.ttf"_s,
                           u"base/fonts/"_s + QString(30, u'n') + u".ttf"_s, u"base/fonts/x.ttf"_s,
                           u"base/fonts/y.ttf"_s}
            << QString();
        QTest::newRow("count 9") << QList<QByteArray>(9, "f.ttf") << 9 << QStringList() << u"Anzahl 9"_s;
        QTest::newRow("count disagrees") << QList<QByteArray>{"f.ttf"} << 12 << QStringList() << u"Anzahl 12"_s;
        QTest::newRow("negative count") << QList<QByteArray>{"f.ttf"} << -1 << QStringList() << u"Anzahl"_s;
    }

    void extractHostile()
    {
        QFETCH(QList<QByteArray>, names);
        QFETCH(int, count);
        QFETCH(QStringList, expected);
        QFETCH(QString, error);
        QTemporaryDir tmp;
        FontSection section;
        section.Header.Count = count;
        for (int i = 0; i < names.size(); ++i) {
            const QByteArray data(10 + i, char('0' + i));
            if (i < FontHeader::kMaxFiles) {
                section.Header.FileNames[size_t(i)] = names[i]; // names kept as given, not cut
                section.Header.FileSizes[size_t(i)] = qint32(data.size());
            }
            section.Files.append(data);
        }
        QStringList written;
        QString message;
        const QString folder = tmp.filePath(u"base/fonts"_s);
        QCOMPARE(FontEmbedding::ExtractFonts(section, folder, &written, &message), error.isEmpty());
        QVERIFY2(message.contains(error), qPrintable(message));
        QCOMPARE(filesBelow(tmp.path()), expected);
        QCOMPARE(written.size(), expected.size());
        if (!expected.isEmpty())
            QCOMPARE(readAll(folder + u"/ab.ttf"_s), QByteArray(12, '2'));
    }

    /// A size in the header that disagrees with the bytes, or a file above 64 MiB, is
    /// refused before anything is written.
    void extractRefusesSizes()
    {
        QTemporaryDir tmp;
        FontSection section;
        section.Header.Count = 1;
        section.Header.FileNames[0] = "a.ttf";
        section.Header.FileSizes[0] = 0x7FFFFFFF;
        section.Files = {QByteArray(10, 'x')};
        QString message;
        QVERIFY(!FontEmbedding::ExtractFonts(section, tmp.filePath(u"fonts"_s), nullptr, &message));
        QVERIFY2(message.contains(u"Größe 10 statt 2147483647"_s), qPrintable(message));
        section.Files = {QByteArray(ProjectFile::kMaxFontFileSize + 1, 'x')};
        section.Header.FileSizes[0] = ProjectFile::kMaxFontFileSize + 1;
        QVERIFY(!FontEmbedding::ExtractFonts(section, tmp.filePath(u"fonts"_s), nullptr, &message));
        QVERIFY2(message.contains(u"Größe 67108865"_s), qPrintable(message));
        QCOMPARE(filesBelow(tmp.path()), QStringList());

        // The reader refuses such sections in files and says why.
        FontHeader header;
        header.Count = 9;
        QByteArray content = QByteArray(ProjectRecord::kSize, '\0');
        content[ProjectRecord::kFormatMarkOffset] = 1;
        const ProjectReadResult r = ProjectFile::decodeContent(content + header.toBytes());
        QVERIFY(r.ok());
        QVERIFY(r.Contents->Fonts.isEmpty());
        QVERIFY2(r.Contents->Fonts.Refused.contains(u"Anzahl 9"_s), qPrintable(r.Contents->Fonts.Refused));
    }

    /// An existing font file is replaced by a new file, never rewritten in place: a
    /// reader that has it open keeps the old bytes.
    void extractReplacesByRename()
    {
        QTemporaryDir tmp;
        const QString folder = tmp.filePath(u"fonts"_s);
        const QString target = folder + u"/f.ttf"_s;
        QVERIFY(writeAll(target, "old contents"));
        const quint64 oldInode = inodeOf(target);
        QFile open(target);
        QVERIFY(open.open(QIODevice::ReadOnly));

        FontSection section;
        section.Header.Count = 1;
        section.Header.FileNames[0] = "f.ttf";
        section.Header.FileSizes[0] = 3;
        section.Files = {QByteArray("new")};
        QString message;
        QVERIFY2(FontEmbedding::ExtractFonts(section, folder, nullptr, &message), qPrintable(message));
        QCOMPARE(readAll(target), QByteArray("new"));
        QVERIFY(inodeOf(target) != oldInode);
        QCOMPARE(open.readAll(), QByteArray("old contents"));
        QCOMPARE(filesBelow(folder), QStringList{u"f.ttf"_s});

        // A folder that cannot be made is an error, not a silent success.
        QVERIFY(writeAll(tmp.filePath(u"plainfile"_s), "x"));
        QVERIFY(!FontEmbedding::ExtractFonts(section, tmp.filePath(u"plainfile/fonts"_s), nullptr, &message));
        QVERIFY(message.contains(u"plainfile"_s));
    }

    /// Saving DejaVu Sans embeds its files as they are on disk; installing them on a
    /// machine without the family extracts and adds them so that it can be used.
    void embedAndInstall()
    {
        QTemporaryDir tmp;
        FontFiles finder;
        finder.SystemFolders = {kDejaVu};
        QStringList files;
        QVERIFY(finder.FindFontFiles(u"DejaVu Sans"_s, files));
        QVERIFY(files.size() >= 4 && files.size() <= 8);
        const FontSection section = FontEmbedding::ForFamily(u"DejaVu Sans"_s, finder);
        QCOMPARE(section.Files.size(), files.size());
        QVERIFY(FontEmbedding::ForFamily(u"No Such Family"_s, finder).isEmpty());
        // The name is looked up as it is stored: 41 characters.
        QVERIFY(FontEmbedding::ForFamily(u"DejaVu Sans"_s + QString(40, u' ') + u'x', finder).Files.size() == files.size());

        ProjectRecord record;
        record.FloorFontName = "DejaVu Sans";
        record.FloorCount = 5;
        const QString project = tmp.filePath(u"p.orv"_s);
        QString error;
        QVERIFY2(ProjectFile::write(project, record, section, &error), qPrintable(error));
        const ProjectReadResult r = ProjectFile::read(project);
        QVERIFY2(r.ok(), qPrintable(r.Error));
        QVERIFY2(r.Warnings.isEmpty(), qPrintable(r.Warnings.join(u'\n')));
        const FontSection &read = r.Contents->Fonts;
        QCOMPARE(read.Header.Count, int(files.size()));
        for (int i = 0; i < files.size(); ++i) {
            const QFileInfo info(files[i]);
            QCOMPARE(QString::fromLatin1(read.Header.FileNames[size_t(i)]), info.fileName());
            QCOMPARE(qint64(read.Header.FileSizes[size_t(i)]), info.size());
            QCOMPARE(read.Files[i], readAll(files[i]));
        }

        FakeServices services; // a machine without DejaVu Sans
        ProgramFonts fonts(tmp.filePath(u"prog/fonts"_s), &services);
        QVERIFY(fonts.AddFolderFonts().Families.isEmpty()); // no folder yet
        QVERIFY(!services.IsAvailable(u"DejaVu Sans"_s));
        ProgramFonts::ScanResult scan;
        QVERIFY2(fonts.InstallEmbedded(read, &scan, &error), qPrintable(error));
        QCOMPARE(scan.Families, QStringList{u"DejaVu Sans"_s});
        QVERIFY(scan.DatabaseFamilies.contains(u"DejaVu Sans"_s));
        QCOMPARE(fonts.AddedFontFiles().size(), files.size());
        QVERIFY(services.IsAvailable(u"dejavu sans"_s));
        for (const QString &f : std::as_const(files))
            QCOMPARE(readAll(tmp.filePath(u"prog/fonts/"_s) + QFileInfo(f).fileName()), readAll(f));
        fonts.RemoveAddedFonts();
        QVERIFY(fonts.AddedFontFiles().isEmpty());
    }

    /// The folder's files are added again on every scan (removed first); files that
    /// add nothing are skipped; names are listed once, in file order; removal at the
    /// end goes through the list in order.
    void programFolderScan()
    {
        QTemporaryDir tmp;
        const QString folder = tmp.filePath(u"fonts"_s);
        QVERIFY(copyFont(u"DejaVuSerif.ttf"_s, folder + u"/b.ttf"_s));
        QVERIFY(copyFont(u"DejaVuSerif-Bold.ttf"_s, folder + u"/c.TTF"_s));
        QVERIFY(copyFont(u"DejaVuSansMono.ttf"_s, folder + u"/a.ttf"_s));
        QVERIFY(copyFont(u"DejaVuSans.ttf"_s, folder + u"/refused.ttf"_s));
        QVERIFY(writeAll(folder + u"/garbage.ttf"_s, "no font"));
        QVERIFY(copyFont(u"DejaVuSans.ttf"_s, folder + u"/sub/deep.ttf"_s));

        FakeServices services;
        services.Refuse = {u"refused.ttf"_s};
        ProgramFonts fonts(folder, &services);
        const ProgramFonts::ScanResult first = fonts.AddFolderFonts();
        QCOMPARE(first.Families, (QStringList{u"DejaVu Sans Mono"_s, u"DejaVu Serif"_s}));
        const QStringList added{folder + u"/a.ttf"_s, folder + u"/b.ttf"_s, folder + u"/c.TTF"_s};
        QCOMPARE(fonts.AddedFontFiles(), added);
        QVERIFY(services.Removed.isEmpty());

        const ProgramFonts::ScanResult second = fonts.AddFolderFonts();
        QCOMPARE(second.Families, first.Families);
        QCOMPARE(fonts.AddedFontFiles(), added);
        QCOMPARE(services.Removed.size(), 3);
        QCOMPARE(services.Added.size(), 6);
        services.Removed.clear();
        fonts.RemoveAddedFonts();
        QCOMPARE(services.Removed.size(), 3);
        QVERIFY(fonts.AddedFontFiles().isEmpty());
    }

    void fontsFolder()
    {
        QTemporaryDir tmp;
        const QString prog = tmp.filePath(u"prog"_s);
        const QString user = tmp.filePath(u"user/fonts"_s);
        QVERIFY(QDir().mkpath(prog));
        QCOMPARE(AppContext::ChooseFontsFolder(prog, user), prog + u"/fonts"_s);
        QCOMPARE(AppContext::ChooseFontsFolder(prog + u'/', QString()), prog + u"/fonts"_s);
        QCOMPARE(AppContext(prog).FontsFolder(), prog + u"/fonts"_s);
        // "fonts" that is no folder cannot take files.
        QVERIFY(writeAll(prog + u"/fonts"_s, "x"));
        QCOMPARE(AppContext::ChooseFontsFolder(prog, user), user);
        if (::geteuid() != 0) {
            const QString locked = tmp.filePath(u"locked"_s);
            QVERIFY(QDir().mkpath(locked));
            QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
            QCOMPARE(AppContext::ChooseFontsFolder(locked, user), user);
            QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
    }

    /// orvedit-cli installs a missing family carried in the project into its fonts
    /// folder, so that render and generate give what the real family gives.
    void commandLineInstallsCarriedFont()
    {
        const QDir bin(QStringLiteral(ORV_BIN_DIR));
        if (!QFileInfo(bin.filePath(u"orvedit-cli"_s)).isExecutable())
            QSKIP("orvedit-cli is not built");
        QTemporaryDir tmp;
        // The program folder: the tool, its templates and bitmap fonts, no "fonts" yet.
        const QStringList files = bin.entryList({u"orvedit-cli"_s, u"*.dat"_s, u"*.fnt"_s}, QDir::Files);
        for (const QString &f : files)
            QVERIFY2(QFile::copy(bin.filePath(f), tmp.filePath(f)), qPrintable(f));
        const auto run = [&tmp](const QStringList &args, QString *err = nullptr) {
            QProcess p;
            p.setWorkingDirectory(tmp.path());
            p.start(tmp.filePath(u"orvedit-cli"_s), args);
            if (!p.waitForFinished(180000))
                p.kill();
            if (err)
                *err = QString::fromUtf8(p.readAllStandardError());
            return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        };
        QCOMPARE(run({u"new"_s, u"--model"_s, u"lcd240"_s, u"-o"_s, tmp.filePath(u"base.orv"_s)}), 0);
        const ProjectReadResult base = ProjectFile::read(tmp.filePath(u"base.orv"_s));
        QVERIFY2(base.ok(), qPrintable(base.Error));

        const QString family = u"Kelvra Serif"_s;
        const QByteArray font = renamedFont(kDejaVu + u"/DejaVuSerif.ttf"_s, u"DejaVu Serif"_s, family);
        FontSection carried;
        carried.Header.Count = 1;
        carried.Header.FileNames[0] = "KelvraSerif.ttf";
        carried.Header.FileSizes[0] = qint32(font.size());
        carried.Files = {font};
        const auto write = [&](const QString &name, const QByteArray &fontName, const FontSection &fonts) {
            ProjectRecord record = base.Contents->Record;
            record.FloorFontName = fontName;
            QString error;
            return ProjectFile::write(tmp.filePath(name), record, fonts, &error);
        };
        QVERIFY(write(u"real.orv"_s, "DejaVu Serif", FontSection()));
        QVERIFY(write(u"carried.orv"_s, family.toLatin1(), carried));
        QVERIFY(write(u"bare.orv"_s, family.toLatin1(), FontSection()));

        // Without the family and without its files the floor font falls back to another.
        QString err;
        const QString extracted = tmp.filePath(u"fonts/KelvraSerif.ttf"_s);
        QCOMPARE(run({u"generate"_s, tmp.filePath(u"bare.orv"_s), u"-o"_s, tmp.filePath(u"bare.lfs"_s)}), 0);
        QCOMPARE(run({u"generate"_s, tmp.filePath(u"real.orv"_s), u"-o"_s, tmp.filePath(u"real.lfs"_s)}), 0);
        QCOMPARE(run({u"generate"_s, tmp.filePath(u"carried.orv"_s), u"-o"_s, tmp.filePath(u"carried.lfs"_s)}, &err), 0);
        QVERIFY2(err.contains(u"installed"_s), qPrintable(err));
        QCOMPARE(readAll(extracted), font);
        QCOMPARE(readAll(tmp.filePath(u"carried.lfs"_s)), readAll(tmp.filePath(u"real.lfs"_s)));
        QVERIFY(readAll(tmp.filePath(u"bare.lfs"_s)) != readAll(tmp.filePath(u"real.lfs"_s)));

        // Rendering installs it the same way; once it is there, nothing more is said.
        QVERIFY(QDir(tmp.filePath(u"fonts"_s)).removeRecursively());
        for (const QString &p : {u"bare"_s, u"real"_s, u"carried"_s})
            QCOMPARE(run({u"render"_s, tmp.filePath(p + u".orv"_s), u"-o"_s, tmp.filePath(p + u".png"_s)}), 0);
        QCOMPARE(readAll(extracted), font);
        QCOMPARE(run({u"render"_s, tmp.filePath(u"carried.orv"_s), u"-o"_s, tmp.filePath(u"again.png"_s)}, &err), 0);
        QVERIFY2(!err.contains(u"installed"_s), qPrintable(err));
        const QImage real(tmp.filePath(u"real.png"_s));
        QVERIFY(!real.isNull());
        QCOMPARE(QImage(tmp.filePath(u"carried.png"_s)), real);
        QCOMPARE(QImage(tmp.filePath(u"again.png"_s)), real);
        QVERIFY(QImage(tmp.filePath(u"bare.png"_s)) != real);
    }
};

QTEST_MAIN(TestFontFiles)
#include "test_fontfiles.moc"
