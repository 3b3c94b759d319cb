// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/ttfcomp.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct NameRec
{
    quint16 platform, encoding, language, nameId;
    QString text;
};

void put16(QByteArray &b, quint16 v)
{
    b.append(char(v >> 8));
    b.append(char(v & 0xFF));
}

void put32(QByteArray &b, quint32 v)
{
    put16(b, quint16(v >> 16));
    put16(b, quint16(v & 0xFFFF));
}

/// A minimal TrueType file: offset table, one "name" directory entry, the name table.
QByteArray makeFont(const QList<NameRec> &recs)
{
    QByteArray strings;
    QByteArray records;
    for (const NameRec &r : recs) {
        QByteArray s;
        for (QChar c : r.text)
            put16(s, c.unicode());
        put16(records, r.platform);
        put16(records, r.encoding);
        put16(records, r.language);
        put16(records, r.nameId);
        put16(records, quint16(s.size()));
        put16(records, quint16(strings.size()));
        strings.append(s);
    }
    QByteArray f;
    put32(f, 0x00010000);
    put16(f, 1);
    put16(f, 16);
    put16(f, 0);
    put16(f, 0);
    f.append("name", 4);
    put32(f, 0);
    const quint32 tableOffset = 12 + 16;
    put32(f, tableOffset);
    put32(f, quint32(6 + records.size() + strings.size()));
    put16(f, 0);
    put16(f, quint16(recs.size()));
    put16(f, quint16(6 + records.size()));
    f.append(records);
    f.append(strings);
    return f;
}

} // namespace

class TestTtfComp : public QObject
{
    Q_OBJECT

private slots:
    void synthetic_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("family");

        QTest::newRow("mac only") << makeFont({{1, 0, 0, 1, u"MacName"_s}}) << 0 << QString();
        QTest::newRow("last language wins")
            << makeFont({{3, 1, 0x0407, 1, u"Deutsch"_s}, {3, 1, 0x0409, 1, u"English"_s}}) << 0
            << u"English"_s;
        QTest::newRow("symbol encoding")
            << makeFont({{3, 0, 0x0409, 1, u"Sym\u00e4"_s}}) << 0 << u"Sym\u00e4"_s;
        QTest::newRow("cut to 150 units")
            << makeFont({{3, 1, 0x0409, 1, QString(200, u'x')}}) << 0 << QString(150, u'x');
        QTest::newRow("empty file") << QByteArray() << 1 << QString();
        QTest::newRow("garbage") << QByteArray(500, '\x5a') << 1 << QString();
        QByteArray noCount = makeFont({{3, 1, 0x0409, 1, u"A"_s}});
        noCount[12 + 16 + 2] = 0;
        noCount[12 + 16 + 3] = 0;
        QTest::newRow("zero record count") << noCount << 1 << QString();
        const QByteArray full = makeFont({{3, 1, 0x0409, 1, u"Family"_s}});
        QTest::newRow("cut in directory") << full.left(20) << 1 << QString();
        QTest::newRow("cut in header") << full.left(31) << 1 << QString();
        QTest::newRow("cut in string") << full.left(full.size() - 4) << 0 << u"Fami"_s;
        QByteArray farOffset = makeFont({{3, 1, 0x0409, 1, u"Family"_s}});
        farOffset[12 + 16 + 6 + 10] = char(0xFF);
        QTest::newRow("string offset past end") << farOffset << 0 << QString();
    }

    void synthetic()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, status);
        QFETCH(QString, family);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"f.ttf"_s);
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        TTtfComp ttf;
        ttf.FamilyName = u"stale"_s;
        QCOMPARE(ttf.ReadNames(path), status == 0);
        QCOMPARE(ttf.Status, status);
        QCOMPARE(ttf.FamilyName, family);
    }

    void missingFile()
    {
        TTtfComp ttf;
        QVERIFY(!ttf.ReadNames(u"/nonexistent/x.ttf"_s));
        QCOMPARE(ttf.Status, 2);
        QVERIFY(ttf.FamilyName.isEmpty());
    }

    void systemFonts()
    {
        QStringList files;
        for (const QString &dirName : {u"/usr/share/fonts/truetype/dejavu"_s,
                                       u"/usr/share/fonts/truetype/liberation2"_s}) {
            const QDir d(dirName);
            for (const QString &n : d.entryList({u"*.ttf"_s}, QDir::Files, QDir::Name))
                files << d.filePath(n);
        }
        if (files.isEmpty())
            QSKIP("no DejaVu or Liberation fonts installed");
        for (const QString &file : std::as_const(files)) {
            QProcess p;
            p.start(u"fc-query"_s, {u"--format"_s, u"%{family}"_s, file});
            if (!p.waitForFinished(10000) || p.exitCode() != 0)
                QSKIP("fc-query not available");
            // fontconfig lists the typographic family first and the name-ID-1
            // family (e.g. "DejaVu Sans Light") among the others.
            const QStringList families =
                QString::fromUtf8(p.readAllStandardOutput()).split(u',');
            TTtfComp ttf;
            QVERIFY2(ttf.ReadNames(file), qPrintable(file));
            QVERIFY2(families.contains(ttf.FamilyName),
                     qPrintable(file + u": "_s + ttf.FamilyName));
        }
    }
};

QTEST_GUILESS_MAIN(TestTtfComp)
#include "test_ttfcomp.moc"
