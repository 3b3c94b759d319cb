// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/displayrect.h"
#include "display/layouts.h"
#include "display/userfont.h"
#include "display/winfontinfo.h"
#include "project/projectmodel.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QImage filled(int w, int h, QRgb value)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(value);
    return img;
}

QStringList labels(const ProjectModel &m)
{
    QStringList out;
    for (int row = 1; row <= m.FloorCount(); ++row)
        out << m.FloorLabel(row);
    return out;
}

} // namespace

class TestProjectModel : public QObject
{
    Q_OBJECT

    TUserFont m_font1{QStringLiteral(ORV_BIN_DIR "/terminal1.fnt")};
    TUserFont m_font2{QStringLiteral(ORV_BIN_DIR "/terminal2.fnt")};

private Q_SLOTS:
    void startupValues()
    {
        ProjectModel m(&m_font1, &m_font2);
        QCOMPARE(m.Model(), DisplayModel::Lcd240);
        QCOMPARE(m.MainDisplay()->Name, u"LCD1"_s);
        QCOMPARE(m.SonderDisplay()->Name, u"Sonderzeichen_LCD1"_s);
        QCOMPARE(m.KleinDisplay()->Width, 240);
        QVERIFY(!m.VerticalMounting());
        QCOMPARE(m.FloorFontSize(), 90);
        QCOMPARE(m.WorkFont.Size, 90);
        QCOMPARE(m.WorkFont.Color, QRgb(0xFFFFFF));
        QVERIFY(!m.FloorFontBold() && !m.FloorFontItalic());
        QCOMPARE(m.FloorTextOffsetX(), 0);
        QCOMPARE(m.FloorTextOffsetY(), 0);
        QVERIFY(m.AutoSize());
        QVERIFY(m.AlignCentre() && !m.AlignTopLeft() && !m.AlignBottomRight());
        QCOMPARE(m.AutoSizeChars, u"EGUTDBAKP0123456789"_s);
        QCOMPARE(m.FloorCount(), 5);
        QCOMPARE(m.FloorTextDigits(), 0);
        QVERIFY(!m.ShowTextLines());
        QCOMPARE(m.FirstTextLine(), 0);
        QCOMPARE(m.LastTextLine(), 0);
        QVERIFY(m.ShowDateTime());
        QVERIFY(m.ShowArrows());
        QVERIFY(!m.ShowLogo());
        QVERIFY(!m.ShowFloorBitmaps());
        QVERIFY(!m.ShowWhileMoving());
        QVERIFY(!m.SpecialBitmapsOnly());
        QVERIFY(m.InfraredReceiver);
        QCOMPARE(m.CharsetChoice, 1);
        QCOMPARE(m.MonthNames.size(), 12);
        QCOMPARE(m.ClockFormat.MonthNames, m.MonthNames);
        QCOMPARE(m.CurrentFloorRow(), 1);
        QCOMPARE(m.CurrentSpecialRow(), 1);
        QCOMPARE(m.SampleText(), u"EG"_s);
        QVERIFY(m.ShowRectsButton());
        QCOMPARE(m.StateFlags, quint16(0));
        QVERIFY(!m.PreviewsAllowed());
        // The layouts start with the regions the options describe.
        for (TDisplay *d : m.Layouts().MainLayouts()) {
            QVERIFY(d->FindRect(u"PFEIL"_s)->Active);
            QVERIFY(!d->FindRect(u"STABMP"_s)->Active);
            QVERIFY(!d->FindRect(u"ETABMP"_s)->Active);
            QVERIFY(d->FindRect(u"TXT1"_s)->Active && d->FindRect(u"TXT2"_s)->Active);
        }
    }

    void specialStateDefaults_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        const char *names[] = {"Überlast", "Sonderfahrt", "Ausser Betrieb", "Brandfall", "Feuerwehr",
                               "Wartung", "Volllast", "Evakuierung", "Beladung", "Custom"};
        const char *texts[] = {"Ueberlast", "Sonderfahrt", "Ausser Betrieb", "Brandfall", "Feuerwehr",
                               "Wartung", "Volllast", "Evakuierung", "Beladung", "Custom"};
        for (int i = 0; i < 10; ++i)
            QTest::addRow("%d", i + 1) << i + 1 << QString::fromUtf8(names[i]) << QString::fromUtf8(texts[i]);
    }

    void specialStateDefaults()
    {
        QFETCH(int, row);
        QFETCH(QString, name);
        QFETCH(QString, text);
        ProjectModel m(nullptr, nullptr);
        QCOMPARE(ProjectModel::SpecialStateName(row), name);
        QCOMPARE(m.SpecialText(row), text);
    }

    void defaultFloorLabel_data()
    {
        QTest::addColumn<int>("floor");
        QTest::addColumn<QString>("label");
        QTest::newRow("0") << 0 << u"UG"_s;
        QTest::newRow("1") << 1 << u"EG"_s;
        QTest::newRow("2") << 2 << u" 1"_s;
        QTest::newRow("10") << 10 << u" 9"_s;
        QTest::newRow("11") << 11 << u"10"_s;
        QTest::newRow("63") << 63 << u"62"_s;
    }

    void defaultFloorLabel()
    {
        QFETCH(int, floor);
        QFETCH(QString, label);
        QCOMPARE(ProjectModel::DefaultFloorLabel(floor), label);
    }

    void floorRowsFollowFloorCount()
    {
        ProjectModel m(nullptr, nullptr);
        QCOMPARE(m.FloorNumber(1), 4);
        QCOMPARE(m.FloorNumber(5), 0);
        QCOMPARE(labels(m), (QStringList{u" 3"_s, u" 2"_s, u" 1"_s, u"EG"_s, u"UG"_s}));

        m.SetFloorText(1, 1, u"Ab"_s);
        m.SetFloorText(3, 1, u"line two of row 1"_s);
        QSignalSpy rebuilt(&m, &ProjectModel::floorTextsChanged);
        m.SetFloorCount(6);
        QCOMPARE(rebuilt.count(), 1);
        QCOMPARE(m.FloorNumber(1), 5);
        // Rows keep their texts; the newly shown bottom row gets its floor's default.
        QCOMPARE(labels(m), (QStringList{u"Ab"_s, u" 2"_s, u" 1"_s, u"EG"_s, u"UG"_s, u"UG"_s}));
        QCOMPARE(m.FloorText(3, 1), u"line two of row 1"_s);

        // Out of range counts are limited to 2..64.
        m.SetFloorCount(1);
        QCOMPARE(m.FloorCount(), 2);
        m.SetFloorCount(100);
        QCOMPARE(m.FloorCount(), 64);
    }

    void twelveEmptyFloors()
    {
        ProjectModel m(nullptr, nullptr);
        for (int row = 1; row <= 64; ++row)
            m.SetFloorText(1, row, QString());
        m.SetFloorCount(12);
        QStringList bottomUp;
        for (int row = 12; row >= 1; --row) {
            QCOMPARE(m.FloorNumber(row), 12 - row);
            bottomUp << m.FloorLabel(row);
        }
        QCOMPARE(bottomUp, (QStringList{u"UG"_s, u"EG"_s, u" 1"_s, u" 2"_s, u" 3"_s, u" 4"_s, u" 5"_s,
                                         u" 6"_s, u" 7"_s, u" 8"_s, u" 9"_s, u"10"_s}));
    }

    void rebuildLabels_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("reset");
        QTest::addColumn<QString>("after");
        // Row 2 of five floors is floor 3, default " 2".
        QTest::newRow("three characters cut") << u"123"_s << false << u"12"_s;
        QTest::newRow("blank gets default") << u"   "_s << false << u" 2"_s;
        QTest::newRow("one space gets default") << u" "_s << false << u" 2"_s;
        QTest::newRow("centred kept") << u"5 "_s << false << u"5 "_s;
        QTest::newRow("reset overwrites") << u"XY"_s << true << u" 2"_s;
        QTest::newRow("leading blanks cut") << u"  7"_s << false << u"  "_s;
    }

    void rebuildLabels()
    {
        QFETCH(QString, typed);
        QFETCH(bool, reset);
        QFETCH(QString, after);
        ProjectModel m(nullptr, nullptr);
        m.SetFloorText(1, 2, typed);
        QCOMPARE(m.FloorLabel(2), typed); // typing alone keeps the text
        m.InitFloorTexts(reset);
        QCOMPARE(m.FloorLabel(2), after);
    }

    void hiddenCellsAreKept()
    {
        ProjectModel m(nullptr, nullptr);
        m.SetFloorText(1, 40, u"long hidden label"_s);
        m.SetFloorText(9, 64, u"last cell"_s);
        m.InitFloorTexts(true);
        m.SetFloorCount(8);
        QCOMPARE(m.FloorLabel(40), u"long hidden label"_s);
        QCOMPARE(m.FloorText(9, 64), u"last cell"_s);
        QCOMPARE(m.FloorText(10, 1), QString());
        QCOMPARE(m.FloorText(1, 65), QString());
    }

    void centreSingleCharLabels()
    {
        ProjectModel m(nullptr, nullptr);
        const QStringList before = {u"5"_s, u" 5"_s, u"12"_s, u"5 "_s, QString()};
        for (int row = 1; row <= 5; ++row)
            m.SetFloorText(1, row, before.at(row - 1));
        m.SelectFloorRow(2);
        QSignalSpy preview(&m, &ProjectModel::previewRequested);
        m.CentreSingleCharLabels();
        QCOMPARE(labels(m), (QStringList{u"5 "_s, u"5 "_s, u"12"_s, u"5 "_s, QString()}));
        QCOMPARE(m.SampleText(), u"5 "_s);
        QVERIFY(preview.count() >= 1);
    }

    void textLineRuns()
    {
        ProjectModel m(nullptr, nullptr);
        m.ToggleTextLine(2);
        m.ToggleTextLine(5);
        QCOMPARE(m.FirstTextLine(), 2);
        QCOMPARE(m.LastTextLine(), 2); // line 3 unticked ends the run at 2
        QVERIFY(!m.TextLineTicked(5));
        m.ToggleTextLine(3);
        QCOMPARE(m.FirstTextLine(), 2);
        QCOMPARE(m.LastTextLine(), 3);
        QCOMPARE(m.ShownFloorColumns(), 4);
        QCOMPARE(m.FloorColumnHeader(2), u"Etagentext Zeile 2"_s);
        QCOMPARE(m.FloorColumnHeader(3), u"Etagentext Zeile 3"_s);
        // Unticking the first line keeps the rest of the run.
        m.ToggleTextLine(2);
        QCOMPARE(m.FirstTextLine(), 3);
        QCOMPARE(m.LastTextLine(), 3);
        // Unticking the only line switches the lines off; their texts stay.
        m.SetFloorText(2, 1, u"kept"_s);
        m.ToggleTextLine(3);
        QVERIFY(!m.ShowTextLines());
        QCOMPARE(m.FirstTextLine(), 0);
        QCOMPARE(m.LastTextLine(), 0);
        QCOMPARE(m.ShownFloorColumns(), 2);
        m.ToggleTextLine(3);
        QCOMPARE(m.FloorText(2, 1), u"kept"_s);
    }

    void textLinesThreeToFive()
    {
        ProjectModel m(nullptr, nullptr);
        for (int c = 2; c <= 9; ++c)
            m.SetFloorText(c, 1, u"col "_s + QString::number(c));
        QSignalSpy preview(&m, &ProjectModel::previewRequested);
        m.SetTextLines(3, 5);
        QCOMPARE(preview.count(), 1);
        QCOMPARE(preview.first().first().toBool(), true);
        QVERIFY(m.ShowTextLines());
        QCOMPARE(m.ShownFloorColumns(), 5);
        QCOMPARE(m.FloorColumnHeader(0), u"Etage"_s);
        QCOMPARE(m.FloorColumnHeader(1), u"Text"_s);
        QCOMPARE(m.FloorColumnHeader(2), u"Etagentext Zeile 3"_s);
        QCOMPARE(m.FloorColumnHeader(4), u"Etagentext Zeile 5"_s);
        QCOMPARE(m.FloorColumnHeader(5), QString());
        for (int c = 2; c <= 9; ++c)
            QCOMPARE(m.FloorText(c, 1), u"col "_s + QString::number(c));
        for (int line = 1; line <= 8; ++line)
            QCOMPARE(m.TextLineTicked(line), line >= 3 && line <= 5);
    }

    void regionFlagSetters_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("region");
        QTest::addColumn<bool>("inSmall");
        QTest::newRow("arrows") << u"arrows"_s << u"PFEIL"_s << true;
        QTest::newRow("logo") << u"logo"_s << u"STABMP"_s << false;
        QTest::newRow("floor bitmaps") << u"floor"_s << u"ETABMP"_s << false;
    }

    void regionFlagSetters()
    {
        QFETCH(QString, option);
        QFETCH(QString, region);
        QFETCH(bool, inSmall);
        ProjectModel m(nullptr, nullptr);
        auto set = [&](bool v) {
            if (option == u"arrows")
                m.SetShowArrows(v);
            else if (option == u"logo")
                m.SetShowLogo(v);
            else
                m.SetShowFloorBitmaps(v);
        };
        auto check = [&](bool v) {
            for (TDisplay *d : m.Layouts().MainLayouts())
                QCOMPARE(d->FindRect(region)->Active, v);
            for (TDisplay *d : m.Layouts().KleinLayouts()) {
                if (const TDisplayRect *r = d->FindRect(region))
                    QCOMPARE(r->Active, inSmall ? v : r->Active);
            }
        };
        const bool start = m.MainDisplay()->FindRect(region)->Active;
        QSignalSpy preview(&m, &ProjectModel::previewRequested);
        QSignalSpy changed(&m, &ProjectModel::optionChanged);
        set(start); // equal value: nothing happens
        QCOMPARE(preview.count(), 0);
        QCOMPARE(changed.count(), 0);
        set(!start);
        check(!start);
        QCOMPARE(preview.count(), 1);
        QCOMPARE(preview.first().first().toBool(), true); // cleared and framed first
        QCOMPARE(changed.count(), 1);
        set(start);
        check(start);
    }

    void showDateTimeAlwaysApplies()
    {
        ProjectModel m(nullptr, nullptr);
        QSignalSpy changed(&m, &ProjectModel::optionChanged);
        m.SetShowDateTime(true);
        m.SetShowDateTime(true);
        QCOMPARE(changed.count(), 2);
        m.SetShowDateTime(false);
        QVERIFY(!m.ShowDateTime());
    }

    void plainOptionSetters()
    {
        ProjectModel m(nullptr, nullptr);
        QSignalSpy preview(&m, &ProjectModel::previewRequested);
        QSignalSpy special(&m, &ProjectModel::specialPreviewRequested);
        m.SetShowWhileMoving(true);
        QVERIFY(m.ShowWhileMoving());
        m.SetSpecialBitmapsOnly(true);
        QVERIFY(m.SpecialBitmapsOnly());
        QCOMPARE(special.count(), 1);
        m.SetSpecialBitmapsOnly(true);
        QCOMPARE(special.count(), 1);
        QCOMPARE(preview.count(), 0);
    }

    void floorTextDigits_data()
    {
        QTest::addColumn<int>("digits");
        QTest::addColumn<bool>("txt1");
        QTest::addColumn<bool>("txt2");
        QTest::newRow("none") << 2 << false << false;
        QTest::newRow("one") << 1 << true << false;
        QTest::newRow("two after one") << 0 << true << true;
    }

    void floorTextDigits()
    {
        QFETCH(int, digits);
        QFETCH(bool, txt1);
        QFETCH(bool, txt2);
        ProjectModel m(nullptr, nullptr);
        if (digits == 0)
            m.SetFloorTextDigits(1); // 0 is the start value: go elsewhere first
        QSignalSpy preview(&m, &ProjectModel::previewRequested);
        m.SetFloorTextDigits(digits);
        QCOMPARE(m.FloorTextDigits(), digits);
        QCOMPARE(preview.count(), 1);
        for (const auto &layouts : {m.Layouts().MainLayouts(), m.Layouts().KleinLayouts()}) {
            for (TDisplay *d : layouts) {
                QCOMPARE(d->FindRect(u"TXT1"_s)->Active, txt1);
                QCOMPARE(d->FindRect(u"TXT2"_s)->Active, txt2);
                QVERIFY(!d->FindRect(u"TXT3"_s)->Active);
            }
        }
        m.SetFloorTextDigits(digits);
        QCOMPARE(preview.count(), 1);
    }

    void alignment()
    {
        ProjectModel m(nullptr, nullptr);
        for (int mode : {0, 2, 1}) {
            m.SetAlignment(mode);
            QCOMPARE(m.Alignment(), mode);
            QCOMPARE(int(m.AlignTopLeft()) + int(m.AlignCentre()) + int(m.AlignBottomRight()), 1);
            for (const auto &layouts : {m.Layouts().MainLayouts(), m.Layouts().KleinLayouts()}) {
                for (TDisplay *d : layouts) {
                    QCOMPARE(d->FontInfo->HorzAlign, mode);
                    QCOMPARE(d->FontInfo->VertAlign, mode);
                }
            }
        }
        // The special-state layouts keep their renderer's start values.
        m.SetAlignment(2);
        for (TDisplay *d : m.Layouts().SonderLayouts())
            QCOMPARE(d->FontInfo->HorzAlign, 1);
        QSignalSpy preview(&m, &ProjectModel::previewRequested);
        m.SetAlignment(2);
        m.SetAlignment(7);
        QCOMPARE(preview.count(), 0);
    }

    void autoSizeSizesWorkFont()
    {
        ProjectModel m(nullptr, nullptr);
        m.SetFloorFontSize(40); // while auto-sizing only the field changes
        QCOMPARE(m.FloorFontSize(), 40);
        QCOMPARE(m.WorkFont.Size, 90);
        QSignalSpy preview(&m, &ProjectModel::previewRequested);
        m.SetAutoSize(false);
        QCOMPARE(m.WorkFont.Size, 40);
        QCOMPARE(preview.count(), 1);
        m.SetFloorFontSize(-500);
        QCOMPARE(m.FloorFontSize(), -300);
        QCOMPARE(m.WorkFont.Size, -300);
        m.SetFloorTextOffsetX(250);
        m.SetFloorTextOffsetY(-301);
        QCOMPARE(m.FloorTextOffsetX(), 200);
        QCOMPARE(m.FloorTextOffsetY(), -300);
    }

    void verticalMountingTurnsMainAndSpecialLayouts()
    {
        ProjectModel m(&m_font1, &m_font2);
        QSignalSpy turned(&m, &ProjectModel::layoutsTurned);
        m.SetVerticalMounting(true);
        QCOMPARE(turned.count(), 1);
        for (const auto &layouts : {m.Layouts().MainLayouts(), m.Layouts().SonderLayouts()}) {
            for (TDisplay *d : layouts)
                QVERIFY(d->Vertical);
        }
        for (TDisplay *d : m.Layouts().KleinLayouts())
            QVERIFY(!d->Vertical);
        const TDisplay *sonder1 = m.Layouts().Sonder(DisplayModel::Vfd128);
        QCOMPARE(sonder1->Width, 64);
        QCOMPARE(sonder1->FindRect(u"SONDERZEICHEN"_s)->Rect, TRect(0, 0, 63, 127));
        QCOMPARE(m.Layouts().Main(DisplayModel::Vfd128)->FindRect(u"TXT1"_s)->Rect, TRect(0, 0, 44, 55));
        m.SetVerticalMounting(true);
        QCOMPARE(turned.count(), 1);
        m.SetVerticalMounting(false);
        QCOMPARE(sonder1->Width, 128);
        QVERIFY(!m.MainDisplay()->Vertical);
    }

    void switchingModelKeepsOtherModels()
    {
        ProjectModel m(nullptr, nullptr);
        m.SetDisplayModel(DisplayModel::Vfd128);
        TDisplay *vfd1 = m.MainDisplay();
        QCOMPARE(vfd1->Name, u"VFD1"_s);
        QVERIFY(vfd1->LoadRect(u"TXT1"_s, TRect(2, 3, 40, 50), true));
        m.SetFloorBitmap(DisplayModel::Vfd128, 3, filled(38, 9, 0xFFFFFF));
        m.SetArrow(DisplayModel::Vfd128, 0, filled(38, 30, 0xFFFFFF));

        QSignalSpy switched(&m, &ProjectModel::displayModelChanged);
        m.SetDisplayModel(DisplayModel::Vfd256);
        QCOMPARE(switched.count(), 1);
        QCOMPARE(m.MainDisplay()->Name, u"VFD2"_s);
        QVERIFY(m.MainDisplay()->LoadRect(u"TXT1"_s, TRect(0, 0, 20, 20), true));
        m.SetFloorBitmap(m.Model(), 3, filled(10, 10, 0xFFFFFF));
        m.SetDisplayModel(DisplayModel::Vfd128);

        QCOMPARE(m.MainDisplay(), vfd1);
        QCOMPARE(vfd1->GetRect(u"TXT1"_s), TRect(2, 3, 40, 50));
        QCOMPARE(vfd1->FindRect(u"TXT1"_s)->SavedRect, TRect(2, 3, 40, 50));
        QVERIFY(m.FloorBitmap(DisplayModel::Vfd128, 3));
        QCOMPARE(m.FloorBitmap(DisplayModel::Vfd128, 3)->size(), QSize(38, 9));
        QCOMPARE(m.FloorBitmap(DisplayModel::Vfd256, 3)->size(), QSize(10, 10));
        QVERIFY(!m.FloorBitmap(DisplayModel::Lcd240, 3));
        QVERIFY(m.Arrow(DisplayModel::Vfd128, 0));
        QVERIFY(!m.Arrow(DisplayModel::Vfd256, 0));
    }

    void specialTextsSharedBitmapsPerModel()
    {
        ProjectModel m(nullptr, nullptr);
        m.SetDisplayModel(DisplayModel::Vfd128);
        QSignalSpy special(&m, &ProjectModel::specialPreviewRequested);
        m.SetSpecialText(4, u"Feuer!"_s);
        QCOMPARE(m.CurrentSpecialRow(), 4); // editing a row makes it current
        QCOMPARE(special.count(), 1);
        QCOMPARE(special.first().at(0).toInt(), 4);
        m.SetSpecialBitmap(m.Model(), 4, filled(128, 56, 0xFFFFFF));
        for (DisplayModel other : {DisplayModel::Lcd240, DisplayModel::Vfd256}) {
            m.SetDisplayModel(other);
            QCOMPARE(m.SpecialText(4), u"Feuer!"_s);
            QVERIFY(!m.SpecialBitmap(other, 4));
        }
        QVERIFY(m.SpecialBitmap(DisplayModel::Vfd128, 4));
        QVERIFY(!m.SpecialBitmap(DisplayModel::Vfd128, 11));
    }

    void selectingFloorRows()
    {
        ProjectModel m(nullptr, nullptr);
        QSignalSpy preview(&m, &ProjectModel::previewRequested);
        m.SelectFloorRow(3);
        QVERIFY(m.ArrowDown());
        QCOMPARE(m.CurrentFloorRow(), 3);
        QCOMPARE(m.SampleText(), u" 1"_s);
        m.SelectFloorRow(4);
        QVERIFY(m.ArrowDown());
        QCOMPARE(m.SampleText(), u"EG"_s);
        m.SelectFloorRow(4); // same row: upward arrow, same text, still a redraw
        QVERIFY(!m.ArrowDown());
        QCOMPARE(preview.count(), 3);
        m.SetSampleText(u"ABC"_s);
        QCOMPARE(m.SampleText(), u"AB"_s);
    }

    void storedOrders()
    {
        QCOMPARE(ProjectModel::ModelInLayoutOrder(0), DisplayModel::Vfd128);
        QCOMPARE(ProjectModel::ModelInLayoutOrder(1), DisplayModel::Vfd256);
        QCOMPARE(ProjectModel::ModelInLayoutOrder(2), DisplayModel::Lcd240);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(ProjectModel::LayoutOrderIndex(ProjectModel::ModelInLayoutOrder(i)), i);
        QCOMPARE(ProjectModel::MainRegionNames().back(), u"UHR"_s);
        QCOMPARE(ProjectModel::SmallRegionNames().back(), u"PFEIL"_s);
    }

    void monthNamesAndClockPattern()
    {
        ProjectModel m(nullptr, nullptr);
        m.MonthNames = QStringList{u"a"_s, u"b"_s};
        QVERIFY(m.ClockFormat.MonthNames != m.MonthNames); // only taken over on request
        m.TakeOverMonthNames();
        QCOMPARE(m.ClockFormat.MonthNames.size(), 12);
        QCOMPARE(m.ClockFormat.MonthNames.at(1), u"b"_s);
        QCOMPARE(m.ClockFormat.MonthNames.at(2), QString());
        m.DateTimePattern = u"mmm/dd/yyyy hh:nn ampm"_s;
        QCOMPARE(m.ClockPattern(), m.DateTimePattern);
        m.SetVerticalMounting(true);
        QCOMPARE(m.ClockPattern(), u"mm/dd hh:mm"_s);
    }

    void stateFlags()
    {
        ProjectModel m(nullptr, nullptr);
        m.SetProjectOpen(true);
        QVERIFY(m.PreviewsAllowed());
        m.StateFlags |= ProjectModel::PreviewsBlocked;
        QVERIFY(!m.PreviewsAllowed());
        m.StateFlags &= quint16(~ProjectModel::PreviewsBlocked);
        m.SetProjectOpen(false);
        QVERIFY(!m.IsProjectOpen());
    }
};

QTEST_GUILESS_MAIN(TestProjectModel)
#include "test_projectmodel.moc"
