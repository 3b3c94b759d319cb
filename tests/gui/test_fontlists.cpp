// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/fontitemdelegate.h"
#include "app/fontlists.h"
#include "app/mainfrm.h"
#include "gui/programfolder.h"
#include "project/fontembedding.h"
#include "project/fontfiles.h"
#include "project/projectfile.h"
#include "project/projectmapping.h"
#include "project/projectmodel.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

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

QStringList filesBelow(const QString &root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(QDir(root).relativeFilePath(it.next()));
    files.sort();
    return files;
}

QStringList texts(const QListWidget &list)
{
    QStringList t;
    for (int i = 0; i < list.count(); ++i)
        t.append(list.item(i)->text());
    return t;
}

/// A machine with the given families only: text can be drawn in them and in the
/// families of files added through these services (unless Offers is false).
class FakeServices : public FontServices
{
public:
    QList<Family> Installed;
    QStringList AddedFamilies;
    bool Offers = true;

    QList<Family> InstalledFamilies() const override { return Installed; }
    int AddFont(const QString &path, QStringList *families) override
    {
        QStringList brought;
        const int id = FontServices::AddFont(path, &brought);
        AddedFamilies += brought;
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
        return Offers && AddedFamilies.contains(family, Qt::CaseInsensitive);
    }
};

/// The two lists on their pages, the font lists on a fonts folder in a temporary
/// program folder, messages and clicks recorded.
struct Fixture
{
    QTemporaryDir Tmp;
    FakeServices Services;
    QTabWidget Pages;
    QListWidget *LBFont = new QListWidget;
    QListWidget *LBFont2 = new QListWidget;
    TFontLists Lists;
    QStringList Messages;
    int Clicks = 0;

    Fixture() : Lists(Tmp.filePath(u"prog/fonts"_s), &Services)
    {
        Pages.addTab(LBFont, u"Windows-Fonts"_s);
        Pages.addTab(LBFont2, u"Sonstige Fonts"_s);
        Lists.SetWidgets(LBFont, LBFont2, &Pages, LBFont, LBFont2);
        Lists.ShowMessage = [this](const QString &m) { Messages.append(m); };
        Lists.LBFontClick = [this] { ++Clicks; };
        Services.Installed = {{u"Zeta"_s, true}, {u"alpha"_s, true}, {u"Beta Bitmap"_s, false},
                              {u"DejaVu Serif"_s, true}};
    }
    QString FontsFolder() const { return Tmp.filePath(u"prog/fonts"_s); }
};

/// The section saving embeds for DejaVu Sans.
FontSection dejaVuSansSection()
{
    FontFiles finder;
    finder.SystemFolders = {kDejaVu};
    QStringList files;
    finder.FindFontFiles(u"DejaVu Sans"_s, files);
    return FontEmbedding::BuildFontSection(files);
}

QByteArray utf16be(const QString &text)
{
    QByteArray out;
    for (QChar c : text) {
        out.append(char(c.unicode() >> 8));
        out.append(char(c.unicode() & 0xFF));
    }
    return out;
}

} // namespace

class TestFontLists : public QObject
{
    Q_OBJECT

private:
    QStringList m_messages;

    /// A created main window on \a folder whose messages are recorded and which never
    /// asks about unsaved changes.
    std::unique_ptr<TMainForm> newForm(const QString &folder)
    {
        auto form = ProgramFolder::CreateMainForm(folder);
        if (!form)
            return nullptr;
        form->ShowMessage = [this](const QString &text) { m_messages << text; };
        form->AskSaveChanges = [] { return TMainForm::SaveAnswer::Discard; };
        return form;
    }

private slots:
    void init() { m_messages.clear(); }

    void initTestCase()
    {
        if (!QFileInfo::exists(kDejaVu + u"/DejaVuSans.ttf"_s))
            QSKIP("DejaVu fonts (fonts-dejavu-core) are not installed");
    }

    /// Installed families sorted without regard to case, minus those of the fonts
    /// folder; the folder's families in file order, TrueType; a file that adds no
    /// font is in no list; selected rows survive a rebuild when they still exist.
    void rebuildFontLists()
    {
        Fixture f;
        f.Lists.RebuildFontLists(); // no fonts folder yet
        QCOMPARE(texts(*f.LBFont), (QStringList{u"alpha"_s, u"Beta Bitmap"_s, u"DejaVu Serif"_s, u"Zeta"_s}));
        QCOMPARE(f.LBFont2->count(), 0);
        QVERIFY(f.LBFont->item(0)->data(TFontItemDelegate::TrueTypeRole).toBool());
        QVERIFY(!f.LBFont->item(1)->data(TFontItemDelegate::TrueTypeRole).toBool());
        f.LBFont->setCurrentRow(3);

        QVERIFY(writeAll(f.FontsFolder() + u"/serif.ttf"_s, readAll(kDejaVu + u"/DejaVuSerif.ttf"_s)));
        QVERIFY(writeAll(f.FontsFolder() + u"/mono.ttf"_s, readAll(kDejaVu + u"/DejaVuSansMono.ttf"_s)));
        QVERIFY(writeAll(f.FontsFolder() + u"/serif-bold.ttf"_s, readAll(kDejaVu + u"/DejaVuSerif-Bold.ttf"_s)));
        QVERIFY(writeAll(f.FontsFolder() + u"/broken.ttf"_s, "no font"));
        f.Lists.RebuildFontLists();
        QCOMPARE(texts(*f.LBFont), (QStringList{u"alpha"_s, u"Beta Bitmap"_s, u"Zeta"_s}));
        QCOMPARE(texts(*f.LBFont2), (QStringList{u"DejaVu Sans Mono"_s, u"DejaVu Serif"_s}));
        QVERIFY(f.LBFont2->item(1)->data(TFontItemDelegate::TrueTypeRole).toBool());
        QCOMPARE(f.Lists.AddedFontFiles(),
                 (QStringList{f.FontsFolder() + u"/mono.ttf"_s, f.FontsFolder() + u"/serif-bold.ttf"_s,
                              f.FontsFolder() + u"/serif.ttf"_s}));
        QCOMPARE(f.LBFont->currentRow(), -1); // row 3 no longer exists
        QCOMPARE(f.LBFont2->currentRow(), 0);  // none selected counts as the first

        f.LBFont->setCurrentRow(2);
        f.LBFont2->setCurrentRow(1);
        f.Lists.RebuildFontLists();
        QCOMPARE(f.LBFont->currentRow(), 2);
        QCOMPARE(f.LBFont2->currentRow(), 1);
        QCOMPARE(f.Lists.AddedFontFiles().size(), 3);
        QCOMPARE(f.Clicks, 0);
        QVERIFY(f.Messages.isEmpty());
        f.Lists.RemoveAddedFonts();
        QVERIFY(f.Lists.AddedFontFiles().isEmpty());
    }

    /// A listed family is selected (letter case ignored), "Sonstige Fonts" winning
    /// when both lists hold it; a missing family without embedded files leaves the
    /// selection and says so.
    void selectListed_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<bool>("carried");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("row1");
        QTest::addColumn<int>("row2");
        QTest::addColumn<QString>("message");
        QTest::newRow("installed") << u"ZETA"_s << false << 0 << 4 << 1 << QString();
        QTest::newRow("installed, files carried") << u"alpha"_s << true << 0 << 0 << 1 << QString();
        QTest::newRow("in both lists") << u"other one"_s << false << 1 << 3 << 0 << QString();
        QTest::newRow("missing") << u"Gone"_s << false << 0 << 1 << 1
                                 << u"Der Font: \"Gone\" ist auf diesem PC nicht vorhanden ..."_s;
    }

    void selectListed()
    {
        QFETCH(QString, family);
        QFETCH(bool, carried);
        QFETCH(int, page);
        QFETCH(int, row1);
        QFETCH(int, row2);
        QFETCH(QString, message);
        Fixture f;
        f.Services.Installed.append({u"Other One"_s, true});
        f.Lists.RebuildFontLists();
        // The second list as the folder would fill it, without touching the folder.
        f.LBFont2->addItems({u"Other One"_s, u"Second"_s});
        f.LBFont->setCurrentRow(1);
        f.LBFont2->setCurrentRow(1);
        const FontSection fonts = carried ? dejaVuSansSection() : FontSection();

        const TFontLists::Selection s = f.Lists.SelectProjectFont(family, fonts);
        QCOMPARE(s, message.isEmpty() ? TFontLists::Selection::Listed : TFontLists::Selection::NotAvailable);
        QCOMPARE(f.Pages.currentIndex(), page);
        QCOMPARE(f.LBFont->currentRow(), row1);
        QCOMPARE(f.LBFont2->currentRow(), row2);
        QCOMPARE(f.Clicks, message.isEmpty() ? 1 : 0);
        QCOMPARE(f.Messages, message.isEmpty() ? QStringList() : QStringList{message});
        QVERIFY(!QFileInfo::exists(f.FontsFolder())); // embedded files stay unread
    }

    /// The whole way: a project saved with DejaVu Sans embedded, opened where the
    /// family is missing, installs it under "Sonstige Fonts" and says so; the second
    /// open finds it listed and says nothing.
    void openInstallsEmbeddedFont()
    {
        Fixture f;
        f.Lists.RebuildFontLists();
        const FontSection section = dejaVuSansSection();
        QVERIFY(section.Header.Count >= 4);
        ProjectRecord record;
        record.FloorFontName = "DejaVu Sans";
        record.FloorCount = 4;
        const QString project = f.Tmp.filePath(u"p.orv"_s);
        QString error;
        QVERIFY2(ProjectFile::write(project, record, section, &error), qPrintable(error));

        ProjectModel model(nullptr, nullptr);
        model.SetFloorFontName(u"alpha"_s);
        ProjectApplyOptions options;
        TFontLists::Selection selection = TFontLists::Selection::NotAvailable;
        options.SelectFloorFont = [&](const QString &name, const FontSection &fonts) {
            selection = f.Lists.SelectProjectFont(name, fonts);
        };
        f.Lists.LBFontClick = [&f, &model] {
            ++f.Clicks;
            model.SetFloorFontName(f.LBFont2->currentItem()->text());
        };

        ProjectOpenResult opened = ProjectMapping::OpenProjectFile(model, project, options);
        QVERIFY2(opened.Ok, qPrintable(opened.Error));
        QCOMPARE(selection, TFontLists::Selection::Installed);
        QCOMPARE(f.Messages, QStringList{u"Der Font: \"DejaVu Sans\" wurde erfolgreich hinzugefügt."_s});
        QCOMPARE(f.Pages.currentWidget(), f.LBFont2);
        QCOMPARE(f.LBFont2->currentItem()->text(), u"DejaVu Sans"_s);
        QCOMPARE(f.Clicks, 1);
        QCOMPARE(model.FloorFontName(), u"DejaVu Sans"_s);
        QStringList expected;
        for (int i = 0; i < section.Header.Count; ++i)
            expected.append(u"prog/fonts/"_s + QString::fromLatin1(section.Header.FileNames[size_t(i)]));
        expected.append(u"p.orv"_s);
        expected.sort();
        QCOMPARE(filesBelow(f.Tmp.path()), expected);
        QCOMPARE(readAll(f.FontsFolder() + u'/' + QString::fromLatin1(section.Header.FileNames[0])), section.Files[0]);
        QCOMPARE(f.Lists.AddedFontFiles().size(), section.Header.Count);

        f.Messages.clear();
        f.Pages.setCurrentIndex(0);
        opened = ProjectMapping::OpenProjectFile(model, project, options);
        QVERIFY(opened.Ok);
        QCOMPARE(selection, TFontLists::Selection::Listed);
        QVERIFY(f.Messages.isEmpty());
        QCOMPARE(f.Pages.currentWidget(), f.LBFont2);
        QCOMPARE(f.Clicks, 2);
        f.Lists.RemoveAddedFonts();
    }

    /// Files that do not make the family available, and sections that cannot be
    /// used, end with a message and leave the selection; nothing lands outside the
    /// fonts folder.
    void notInstalled_data()
    {
        QTest::addColumn<QList<QByteArray>>("names");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("offers");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("database does not offer it")
            << QList<QByteArray>{"../DejaVuSans.ttf"} << 1 << false
            << u"Der Font: \"DejaVu Sans\" konnte nicht installiert werden"_s
            << QStringList{u"prog/fonts/DejaVuSans.ttf"_s};
        QTest::newRow("other family carried")
            << QList<QByteArray>{"/etc/serif.ttf"} << 1 << true
            << u"Der Font: \"DejaVu Sans\" konnte nicht installiert werden"_s
            << QStringList{u"prog/fonts/serif.ttf"_s};
        QTest::newRow("hostile names") << QList<QByteArray>{"a\nb.ttf", "", QByteArray(35, 'x')} << 3 << true
                                       << u"Der Font: \"DejaVu Sans\" wurde erfolgreich hinzugefügt."_s
                                       << QStringList{u"prog/fonts/ab.ttf"_s, u"prog/fonts/font2.ttf"_s,
                                                      u"prog/fonts/"_s + QString(30, u'x') + u".ttf"_s};
        QTest::newRow("count 9") << QList<QByteArray>(9, "f.ttf") << 9 << true
                                 << u"Der Font: \"DejaVu Sans\" konnte nicht installiert werden\n"
                                    "Eingebettete Fonts werden nicht verwendet: Anzahl 9 außerhalb von 0..8"_s
                                 << QStringList();
        // "fonts" exists as a plain file: the folder cannot be made.
        QTest::newRow("folder cannot be made") << QList<QByteArray>{"DejaVuSans.ttf"} << 1 << true
                                               << u"Der Font: \"DejaVu Sans\" konnte nicht installiert werden\n"
                                                  "Der Ordner %1 kann nicht angelegt werden"_s
                                               << QStringList{u"prog/fonts"_s};
    }

    void notInstalled()
    {
        QFETCH(QList<QByteArray>, names);
        QFETCH(int, count);
        QFETCH(bool, offers);
        QFETCH(QString, message);
        QFETCH(QStringList, files);
        Fixture f;
        f.Services.Offers = offers;
        if (files == QStringList{u"prog/fonts"_s}) {
            QVERIFY(writeAll(f.FontsFolder(), "in the way"));
            message = message.arg(f.FontsFolder());
        }
        f.Lists.RebuildFontLists();
        f.LBFont->setCurrentRow(2);
        const QByteArray sans = readAll(kDejaVu + u"/DejaVuSans.ttf"_s);
        const QByteArray serif = readAll(kDejaVu + u"/DejaVuSerif.ttf"_s);
        FontSection section;
        section.Header.Count = count;
        for (int i = 0; i < names.size(); ++i) {
            const QByteArray &data = names[i].startsWith("/etc") ? serif : sans;
            if (i < FontHeader::kMaxFiles) {
                section.Header.FileNames[size_t(i)] = names[i];
                section.Header.FileSizes[size_t(i)] = qint32(data.size());
            }
            section.Files.append(data);
        }
        const TFontLists::Selection s = f.Lists.SelectProjectFont(u"DejaVu Sans"_s, section);
        QCOMPARE(f.Messages, QStringList{message});
        const bool installed = message.contains(u"erfolgreich"_s);
        QCOMPARE(s, installed ? TFontLists::Selection::Installed : TFontLists::Selection::NotInstalled);
        QCOMPARE(f.Clicks, installed ? 1 : 0);
        if (!installed) {
            QCOMPARE(f.Pages.currentIndex(), 0);
            QCOMPARE(f.LBFont->currentRow(), 2);
        }
        QCOMPARE(filesBelow(f.Tmp.path()), files);
        f.Lists.RemoveAddedFonts();
    }

    /// A file whose font section the reader refused names the reason with the
    /// message about the missing font.
    void refusedSectionIsNamed()
    {
        Fixture f;
        f.Lists.RebuildFontLists();
        FontSection refused;
        refused.Refused = u"Datei 1: Größe 2147483647 ungültig"_s;
        QCOMPARE(f.Lists.SelectProjectFont(u"Gone"_s, refused), TFontLists::Selection::NotAvailable);
        QCOMPARE(f.Messages, QStringList{u"Der Font: \"Gone\" ist auf diesem PC nicht vorhanden ...\n"
                                         "Eingebettete Fonts werden nicht verwendet: Datei 1: Größe 2147483647 ungültig"_s});
    }

    /// Entries 16 pixels high: background, the kind's 13-pixel symbol from x = 2, the
    /// name from x = 19.
    void delegatePaints()
    {
        QStandardItemModel model;
        auto *tt = new QStandardItem(u"Wide Name"_s);
        tt->setData(true, TFontItemDelegate::TrueTypeRole);
        model.appendRow(tt);
        model.appendRow(new QStandardItem(u"Wide Name"_s));
        TFontItemDelegate delegate;
        QStyleOptionViewItem option;
        option.rect = QRect(0, 0, 200, 16);
        option.palette.setColor(QPalette::Base, Qt::white);
        option.palette.setColor(QPalette::Text, Qt::black);
        option.font = QFont(u"DejaVu Sans"_s);
        option.font.setPixelSize(11);
        option.fontMetrics = QFontMetrics(option.font);
        QCOMPARE(delegate.sizeHint(option, model.index(0, 0)).height(), 16);

        QList<QImage> images;
        for (int row = 0; row < 2; ++row) {
            QImage image(200, 16, QImage::Format_RGB32);
            image.fill(Qt::red);
            {
                QPainter p(&image);
                delegate.paint(&p, option, model.index(row, 0));
            }
            images.append(image);
            int minInk = 1000;
            int maxSymbol = -1;
            for (int y = 0; y < 16; ++y) {
                for (int x = 0; x < 200; ++x) {
                    const QRgb c = image.pixel(x, y);
                    QVERIFY2(c != qRgb(255, 0, 0), "the whole rectangle is filled");
                    if (c == qRgb(255, 255, 255))
                        continue;
                    if (x < TFontItemDelegate::TextLeft)
                        maxSymbol = qMax(maxSymbol, x);
                    minInk = qMin(minInk, x);
                }
            }
            QVERIFY(minInk >= TFontItemDelegate::ImageLeft);
            QVERIFY(maxSymbol >= TFontItemDelegate::ImageLeft
                    && maxSymbol < TFontItemDelegate::ImageLeft + TFontItemDelegate::ImageSize);
        }
        // The symbols differ, the names are drawn the same.
        QVERIFY(images[0].copy(0, 0, 19, 16) != images[1].copy(0, 0, 19, 16));
        QCOMPARE(images[0].copy(19, 0, 181, 16), images[1].copy(19, 0, 181, 16));
        QVERIFY(images[0].copy(19, 0, 181, 16) != QImage(181, 16, QImage::Format_RGB32));
    }

    /// The main window: the lists filled and their first entries selected at start,
    /// the fonts folder's families under "Sonstige Fonts", removed again on close.
    void mainWindowStartAndClose()
    {
        QTemporaryDir tmp;
        QVERIFY(ProgramFolder::CopyBitmapFonts(tmp.path()));
        QVERIFY(writeAll(tmp.filePath(u"fonts/serif.ttf"_s), readAll(kDejaVu + u"/DejaVuSerif.ttf"_s)));
        auto form = newForm(tmp.path());
        QVERIFY(form);
        QVERIFY(form->LBFont->count() > 0);
        QStringList sorted = texts(*form->LBFont);
        std::sort(sorted.begin(), sorted.end(),
                  [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
        QCOMPARE(texts(*form->LBFont), sorted);
        QCOMPARE(form->LBFont->currentRow(), 0);
        QCOMPARE(texts(*form->LBFont2), QStringList{u"DejaVu Serif"_s});
        QCOMPARE(form->LBFont2->currentRow(), 0);
        QCOMPARE(TFontLists::FindFamily(form->LBFont, u"DejaVu Serif"_s), -1);
        QCOMPARE(form->Model->FloorFontName(), form->LBFont->item(0)->text());
        QCOMPARE(form->FontLists->AddedFontFiles(), QStringList{tmp.filePath(u"fonts/serif.ttf"_s)});
        QVERIFY(form->close());
        QVERIFY(form->FontLists->AddedFontFiles().isEmpty());
        QVERIFY(QFileInfo::exists(tmp.filePath(u"fonts/serif.ttf"_s))); // found again at the next start
    }

    /// Saving embeds the floor font's files while the option is on, nothing otherwise.
    void mainWindowSaveEmbeds_data()
    {
        QTest::addColumn<bool>("include");
        QTest::newRow("option on") << true;
        QTest::newRow("option off") << false;
    }

    void mainWindowSaveEmbeds()
    {
        QFETCH(bool, include);
        QTemporaryDir tmp;
        QVERIFY(ProgramFolder::CopyBitmapFonts(tmp.path()));
        ProjectRecord record;
        record.FloorFontName = "DejaVu Sans";
        record.FloorCount = 4;
        const QString opened = tmp.filePath(u"opened.orv"_s);
        QString error;
        QVERIFY2(ProjectFile::write(opened, record, FontSection(), &error), qPrintable(error));

        auto form = newForm(tmp.path());
        QVERIFY(form);
        form->FontSearch.SystemFolders = {kDejaVu};
        form->ChooseProjectFile = [&opened](bool, const QString &) { return opened; };
        form->aOpen->trigger();
        QVERIFY(m_messages.isEmpty());
        QCOMPARE(form->PageControlFont->currentIndex(), 0);
        QCOMPARE(form->LBFont->currentItem()->text(), u"DejaVu Sans"_s);
        QCOMPARE(form->Model->FloorFontName(), u"DejaVu Sans"_s);
        QVERIFY(form->CBSaveTT);
        form->CBSaveTT->setChecked(include);

        const QString file = tmp.filePath(u"saved.orv"_s);
        form->ChooseProjectFile = [&file](bool, const QString &) { return file; };
        form->aSpeichernUnter->trigger();
        QVERIFY(m_messages.isEmpty());
        const ProjectReadResult r = ProjectFile::read(file);
        QVERIFY2(r.ok(), qPrintable(r.Error));
        const FontSection expected = dejaVuSansSection();
        QCOMPARE(r.Contents->Fonts.Header, include ? expected.Header : FontHeader());
        QCOMPARE(r.Contents->Fonts.Files, include ? expected.Files : QList<QByteArray>());

        // A failed save names the error once.
        const QString nowhere = tmp.filePath(u"missing/folder/x.orv"_s);
        form->ChooseProjectFile = [&nowhere](bool, const QString &) { return nowhere; };
        form->aSpeichernUnter->trigger();
        QCOMPARE(m_messages.size(), 1);
        QVERIFY2(m_messages[0].startsWith(u"Error: "_s) && !m_messages[0].startsWith(u"Error: Error"_s),
                 qPrintable(m_messages[0]));
    }

    /// Opening a project that carries a family this machine really lacks installs it
    /// into the program's fonts folder, selects it under "Sonstige Fonts" and says so;
    /// the second open says nothing.
    void mainWindowOpenInstalls()
    {
        const QString family = u"Kelvra Serif"_s;
        QVERIFY(!FontServices::System().IsAvailable(family));
        QByteArray font = readAll(kDejaVu + u"/DejaVuSerif.ttf"_s);
        font.replace(utf16be(u"DejaVu Serif"_s), utf16be(family));
        font.replace(QByteArray("DejaVu Serif"), family.toLatin1());

        QTemporaryDir tmp;
        QVERIFY(ProgramFolder::CopyBitmapFonts(tmp.path()));
        FontSection section;
        section.Header.Count = 1;
        section.Header.FileNames[0] = "KelvraSerif.ttf";
        section.Header.FileSizes[0] = qint32(font.size());
        section.Files = {font};
        ProjectRecord record;
        record.FloorFontName = family.toLatin1();
        record.FloorCount = 4;
        const QString project = tmp.filePath(u"kelvra.orv"_s);
        QString error;
        QVERIFY2(ProjectFile::write(project, record, section, &error), qPrintable(error));

        auto form = newForm(tmp.path());
        QVERIFY(form);
        const QString before = form->Model->FloorFontName();
        for (int open = 1; open <= 2; ++open) {
            m_messages.clear();
            form->PageControlFont->setCurrentIndex(0);
            form->ChooseProjectFile = [&project](bool, const QString &) { return project; };
            form->aOpen->trigger();
            QCOMPARE(m_messages, open == 1 ? QStringList{u"Der Font: \"Kelvra Serif\" wurde erfolgreich hinzugefügt."_s}
                                           : QStringList());
            QCOMPARE(form->PageControlFont->currentIndex(), 1);
            QCOMPARE(form->LBFont2->currentItem()->text(), family);
            QCOMPARE(form->Model->FloorFontName(), family);
        }
        QVERIFY(before != family);
        QVERIFY(FontServices::System().IsAvailable(family));
        QCOMPARE(readAll(tmp.filePath(u"fonts/KelvraSerif.ttf"_s)), font);
        QVERIFY(form->close());
        QVERIFY(!FontServices::System().IsAvailable(family));
    }
};

QTEST_MAIN(TestFontLists)
#include "test_fontlists.moc"
