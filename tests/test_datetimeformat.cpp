// SPDX-License-Identifier: GPL-3.0-or-later
#include "util/datetimeformat.h"
#include "util/monthnames.h"

#include <QLocale>
#include <QTest>

using namespace Qt::StringLiterals;

class TestDateTimeFormat : public QObject
{
    Q_OBJECT

    static DateTimeFormat fixedFormatter()
    {
        DateTimeFormat f;
        f.MonthNames = MonthNames::germanNames();
        f.AmText = QStringLiteral("AM");
        f.PmText = QStringLiteral("PM");
        return f;
    }

private Q_SLOTS:
    void formatTable_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<QString>("expected");

        const QDateTime march7(QDate(2005, 3, 7), QTime(14, 5, 9));
        const QDateTime dec31(QDate(1999, 12, 31), QTime(0, 30, 0));
        const QDateTime noon(QDate(2024, 1, 2), QTime(12, 0, 0));

        QTest::newRow("german default") << u"dd.mmm.yyyy hh:nn"_s << march7 << u"07.Mrz.2005 14:05"_s;
        QTest::newRow("english default pm") << u"mmm/dd/yyyy hh:nn ampm"_s << march7 << u"Mrz/07/2005 02:05 PM"_s;
        QTest::newRow("midnight is 12 am") << u"hh:nn ampm"_s << dec31 << u"12:30 AM"_s;
        QTest::newRow("noon is 12 pm") << u"h ampm"_s << noon << u"12 PM"_s;
        QTest::newRow("24h without ampm") << u"hh:nn"_s << dec31 << u"00:30"_s;
        QTest::newRow("single digits") << u"d.m.yyyy h:n"_s << march7 << u"7.3.2005 14:5"_s;
        QTest::newRow("mm after hour is minutes") << u"dd.mm hh:mm"_s << march7 << u"07.03 14:05"_s;
        QTest::newRow("upright english") << u"mm/dd hh:mm"_s << march7 << u"03/07 14:05"_s;
        QTest::newRow("m after hour is minutes") << u"h:m"_s << march7 << u"14:5"_s;
        QTest::newRow("month after minutes again") << u"hh:nn mm"_s << march7 << u"14:05 03"_s;
        QTest::newRow("two-digit year") << u"dd/mm/yy"_s << dec31 << u"31/12/99"_s;
        QTest::newRow("seconds") << u"hh:nn:ss"_s << march7 << u"14:05:09"_s;
        QTest::newRow("december name") << u"mmm"_s << dec31 << u"Dez"_s;
        QTest::newRow("upper case elements") << u"DD.MMM.YYYY HH:NN"_s << march7 << u"07.Mrz.2005 14:05"_s;
        QTest::newRow("other characters copied") << u"[dd] -> #"_s << march7 << u"[07] -> #"_s;
        QTest::newRow("lone a copied") << u"a d"_s << march7 << u"a 7"_s;
        QTest::newRow("empty pattern") << QString() << march7 << QString();
    }

    void formatTable()
    {
        QFETCH(QString, pattern);
        QFETCH(QDateTime, when);
        QFETCH(QString, expected);
        QCOMPARE(fixedFormatter().Format(pattern, when), expected);
    }

    void replacedMonthNamesAndClock()
    {
        DateTimeFormat f = fixedFormatter();
        f.MonthNames[2] = QStringLiteral("MAR");
        f.Clock = [] { return QDateTime(QDate(2010, 3, 1), QTime(23, 59)); };
        QCOMPARE(f.FormatNow(QStringLiteral("mmm d hh:nn ampm")), QStringLiteral("MAR 1 11:59 PM"));
        // A list shorter than twelve names leaves the month empty instead of failing.
        f.MonthNames = QStringList{QStringLiteral("x")};
        QCOMPARE(f.FormatNow(QStringLiteral("<mmm>")), QStringLiteral("<>"));
    }

    void uprightPattern_data()
    {
        QTest::addColumn<QString>("configured");
        QTest::addColumn<QString>("expected");
        QTest::newRow("german") << u"dd.mmm.yyyy hh:nn"_s << u"dd.mm hh:mm"_s;
        QTest::newRow("english") << u"mmm/dd/yyyy hh:nn ampm"_s << u"mm/dd hh:mm"_s;
        QTest::newRow("upper-case D is not d") << u"DD.MM.YYYY"_s << u"mm/dd hh:mm"_s;
        QTest::newRow("empty") << QString() << u"mm/dd hh:mm"_s;
    }

    void uprightPattern()
    {
        QFETCH(QString, configured);
        QFETCH(QString, expected);
        QCOMPARE(DateTimeFormat::UprightPattern(configured), expected);
    }

    void startupMonthNames()
    {
        QCOMPARE(MonthNames::startupNames(QLocale(QLocale::German, QLocale::Germany)),
                 (QStringList{u"Jan"_s, u"Feb"_s, u"Mrz"_s, u"Apr"_s, u"Mai"_s, u"Jun"_s, u"Jul"_s,
                              u"Aug"_s, u"Sep"_s, u"Okt"_s, u"Nov"_s, u"Dez"_s}));
        QCOMPARE(MonthNames::startupNames(QLocale(QLocale::German, QLocale::Austria)).at(2), u"Mrz"_s);

        const QStringList english = MonthNames::startupNames(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(english.size(), 12);
        QCOMPARE(english.first(), u"Jan"_s);
        QCOMPARE(english.at(11), u"Dec"_s);

        // Locales whose short names end with a dot lose it.
        for (const QLocale &loc : {QLocale(QLocale::French, QLocale::France), QLocale(QLocale::Dutch, QLocale::Netherlands),
                                   QLocale(QLocale::Spanish, QLocale::Spain)}) {
            const QStringList names = MonthNames::startupNames(loc);
            QCOMPARE(names.size(), 12);
            for (const QString &n : names) {
                QVERIFY2(!n.isEmpty() && !n.endsWith(u'.'), qPrintable(loc.name() + u": "_s + n));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestDateTimeFormat)
#include "test_datetimeformat.moc"
