// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/display.h"
#include "display/displayrect.h"
#include "display/layouts.h"
#include "display/preview.h"
#include "display/userfont.h"
#include "display/winfontinfo.h"
#include "ledmatrix/ledmatrix.h"
#include "project/projectmodel.h"
#include "util/monthnames.h"

#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr quint32 kOn = 0x00FFFFFF;

// A project model with its three preview matrices, following the model, project open.
struct Rig
{
    TUserFont font1{QStringLiteral(ORV_BIN_DIR "/terminal1.fnt")};
    TUserFont font2{QStringLiteral(ORV_BIN_DIR "/terminal2.fnt")};
    ProjectModel model{&font1, &font2};
    LedMatrix led2;
    LedMatrix led3;
    LedMatrix led4;
    Preview preview{model};

    explicit Rig(DisplayModel dm = DisplayModel::Lcd240)
    {
        model.WorkFont.Name = u"DejaVu Sans"_s;
        model.ClockFormat.MonthNames = MonthNames::germanNames();
        model.ClockFormat.AmText = u"AM"_s;
        model.ClockFormat.PmText = u"PM"_s;
        model.ClockFormat.Clock = [] { return QDateTime(QDate(2005, 3, 7), QTime(14, 5)); };
        model.SetDisplayModel(dm);
        preview.SetMatrices(&led2, &led3, &led4);
        model.SetProjectOpen(true);
    }

    TDisplay *main() const { return model.MainDisplay(); }
    TRect saved(const QString &name) const { return main()->FindRect(name)->SavedRect; }
};

int ink(const LedMatrix &m, const TRect &r)
{
    int n = 0;
    for (int y = r.Top; y <= r.Bottom; ++y)
        for (int x = r.Left; x <= r.Right; ++x)
            n += m.contentPixel(x, y) == kOn ? 1 : 0;
    return n;
}

// Ink box of an area: (minX, minY, maxX, maxY), or a zero rectangle without ink.
TRect inkBox(const LedMatrix &m, const TRect &r)
{
    TRect box(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    bool any = false;
    for (int y = r.Top; y <= r.Bottom; ++y) {
        for (int x = r.Left; x <= r.Right; ++x) {
            if (m.contentPixel(x, y) != kOn)
                continue;
            any = true;
            box = TRect(qMin(box.Left, x), qMin(box.Top, y), qMax(box.Right, x), qMax(box.Bottom, y));
        }
    }
    return any ? box : TRect();
}

QImage area(const LedMatrix &m, const TRect &r)
{
    return m.contentRaster().copy(r.Left, r.Top, r.Width(), r.Height());
}

// What a bitmap-font text at (x, y) looks like on an empty matrix of the given size.
QImage glyphArea(int width, int height, const TUserFont &font, int x, int y, const QString &text,
                 const TRect &r)
{
    LedMatrix m;
    m.SetLEDCountX(width);
    m.SetLEDCountY(height);
    m.ClearAll();
    m.DrawGlyphText(x, y, font, text);
    return area(m, r);
}

QImage filled(int w, int h, QRgb value)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(value);
    return img;
}

QImage checkerboard(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, (x + y) % 2 ? 0xFFFFFFFFu : 0xFF000000u);
    return img;
}

void fill(LedMatrix &m, const TRect &r)
{
    for (int y = r.Top; y <= r.Bottom; ++y)
        for (int x = r.Left; x <= r.Right; ++x)
            m.setContentPixel(x, y, kOn);
}

} // namespace

class TestPreview : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        Rig rig;
        QVERIFY2(!rig.font1.IsEmpty() && !rig.font2.IsEmpty(), "bitmap fonts missing in the build folder");
        QCOMPARE(rig.font2.GlyphHeight, 16);
        QCOMPARE(rig.font1.GlyphHeight, 8);
    }

    void autoSizedSingleCharacterInShrunkTxt3()
    {
        Rig rig;
        rig.model.SetShowDateTime(false);
        rig.model.SetSampleText(u"1 "_s);
        rig.preview.PreviewOut();

        const TRect txt3 = rig.main()->GetRect(u"TXT3"_s);
        const TRect saved3 = rig.saved(u"TXT3"_s);
        QCOMPARE(saved3, TRect(42, 0, 126, 111));
        QCOMPARE(txt3.Left, saved3.Left);
        QVERIFY(txt3.Right < saved3.Right); // shrunk to the glyph box
        // Only TXT3 has ink; TXT1 and TXT2 outside it stay dark.
        QCOMPARE(ink(rig.led2, TRect(0, 0, 41, 111)), 0);
        QCOMPARE(ink(rig.led2, TRect(127, 0, 239, 111)), 0);
        const TRect box = inkBox(rig.led2, TRect(0, 0, 239, 111));
        QVERIFY(box.Right > 0);
        QVERIFY(box.Left >= txt3.Left && box.Right <= txt3.Right);
        QVERIFY(box.Top >= txt3.Top && box.Bottom <= txt3.Bottom);
        // Centred in the shrunk region: the right/bottom margin is the left/top one or one more.
        const int left = box.Left - txt3.Left, right = txt3.Right - box.Right;
        const int top = box.Top - txt3.Top, bottom = txt3.Bottom - box.Bottom;
        QVERIFY2(right - left == 0 || right - left == 1, qPrintable(u"%1 %2"_s.arg(left).arg(right)));
        QVERIFY2(bottom - top == 0 || bottom - top == 1, qPrintable(u"%1 %2"_s.arg(top).arg(bottom)));
    }

    void manualSingleCharacterAtOffsets()
    {
        Rig rig;
        rig.model.SetShowDateTime(false);
        rig.model.SetFloorFontSize(40);
        rig.model.SetAutoSize(false);
        QCOMPARE(rig.model.WorkFont.Size, 40);
        rig.model.SetFloorTextOffsetX(3);
        rig.model.SetFloorTextOffsetY(2);
        rig.model.SetSampleText(u"12"_s);
        rig.preview.PreviewOut();
        QVERIFY(ink(rig.led2, TRect(0, 0, 41, 111)) > 0);
        QVERIFY(ink(rig.led2, TRect(85, 0, 169, 111)) > 0);

        // At 40 points the "1" drawn from x 45 stays left of TXT2 (x 85 on).
        rig.model.SetSampleText(u"1 "_s); // redrawn through the model
        QCOMPARE(ink(rig.led2, TRect(0, 0, 41, 111)), 0);
        QCOMPARE(ink(rig.led2, TRect(85, 0, 169, 111)), 0);
        const TRect box = inkBox(rig.led2, TRect(0, 0, 239, 111));
        QVERIFY(box.Right > 0);
        QVERIFY(box.Left >= 42 + 3 && box.Top >= 2 && box.Right <= 126);
        QCOMPARE(rig.main()->GetRect(u"TXT3"_s), TRect(42, 0, 126, 111)); // no shrinking
        QCOMPARE(rig.model.WorkFont.Size, 40); // the font keeps its own size
    }

    void leadingSpaceLeavesTxt1Empty_data()
    {
        QTest::addColumn<bool>("autoSize");
        QTest::newRow("auto") << true;
        QTest::newRow("manual") << false;
    }

    void leadingSpaceLeavesTxt1Empty()
    {
        QFETCH(bool, autoSize);
        Rig rig;
        rig.model.SetFloorFontSize(60);
        rig.model.SetAutoSize(autoSize);
        rig.model.SetSampleText(u"88"_s);
        rig.model.SetSampleText(u" 1"_s);
        QCOMPARE(ink(rig.led2, rig.saved(u"TXT1"_s)), 0);
        QVERIFY(ink(rig.led2, rig.saved(u"TXT2"_s)) > 0);
    }

    void oneDigitOption_data()
    {
        QTest::addColumn<bool>("autoSize");
        QTest::addColumn<bool>("secondDrawn");
        QTest::newRow("auto draws the active region only") << true << false;
        QTest::newRow("manual draws both") << false << true;
    }

    void oneDigitOption()
    {
        QFETCH(bool, autoSize);
        QFETCH(bool, secondDrawn);
        Rig rig;
        rig.model.SetFloorFontSize(60);
        rig.model.SetAutoSize(autoSize);
        rig.model.SetFloorTextDigits(1);
        rig.model.SetSampleText(u"12"_s);
        QVERIFY(ink(rig.led2, rig.saved(u"TXT1"_s)) > 0);
        QCOMPARE(ink(rig.led2, rig.saved(u"TXT2"_s)) > 0, secondDrawn);
    }

    void floorBitmapOfTheCurrentRow()
    {
        Rig rig;
        rig.model.SetAutoSize(false); // no full clear: the blanking itself must clear the area
        const TRect eta = rig.saved(u"ETABMP"_s);
        QCOMPARE(eta, TRect(175, 90, 239, 111));
        rig.model.SetFloorBitmap(rig.model.Model(), 2, checkerboard(eta.Width(), eta.Height()));

        // Option off: the area is left as it is.
        fill(rig.led2, eta);
        rig.model.SelectFloorRow(3);
        QCOMPARE(ink(rig.led2, eta), eta.Width() * eta.Height());

        rig.model.SetShowFloorBitmaps(true);
        QVERIFY(rig.main()->FindRect(u"ETABMP"_s)->Active);
        fill(rig.led2, eta);
        rig.preview.PreviewOut();
        QCOMPARE(ink(rig.led2, eta), 0); // floor 3 has no bitmap: blank

        rig.model.SelectFloorRow(2);
        QImage expected = checkerboard(eta.Width(), eta.Height());
        for (int y = 0; y < expected.height(); ++y)
            for (int x = 0; x < expected.width(); ++x)
                expected.setPixel(x, y, expected.pixel(x, y) & kOn);
        QCOMPARE(area(rig.led2, eta), expected);
    }

    void textLinesIntoCharacterRows()
    {
        Rig rig;
        rig.model.SetShowDateTime(false);
        rig.model.SetFloorTextDigits(2); // no floor text in the way
        const QStringList texts = {u"AAA"_s, u"BBB"_s, u"CCC"_s, u"DDD"_s};
        for (int i = 0; i < texts.size(); ++i)
            rig.model.SetFloorText(2 + i, 1, texts.at(i));
        rig.model.SetTextLines(2, 4);
        rig.preview.PreviewOut();

        const int h = rig.font2.GlyphHeight;
        const int w = 21 * rig.font2.Pitch;
        for (int k = 0; k < 3; ++k) {
            const TRect band(0, (k + 1) * h, w - 1, (k + 2) * h - 1);
            QCOMPARE(area(rig.led2, band),
                     glyphArea(240, 128, rig.font2, 0, band.Top, texts.at(k).leftJustified(21), band));
        }
        QCOMPARE(ink(rig.led2, TRect(0, 0, w - 1, h - 1)), 0);
        QCOMPARE(ink(rig.led2, TRect(0, 4 * h, w - 1, 5 * h - 1)), 0);
    }

    void clockLine_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<bool>("upright");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("y");

        const QString de = u"dd.mmm.yyyy hh:nn"_s;
        const QString en = u"mmm/dd/yyyy hh:nn ampm"_s;
        QTest::newRow("lcd german") << 1 << false << de << u"  07.Mrz.2005 14:05  "_s << 112;
        QTest::newRow("lcd english") << 1 << false << en << u"Mrz/07/2005 02:05 PM "_s << 112;
        QTest::newRow("vfd128 german") << 0 << false << de << u"  07.Mrz.2005 14:05  "_s << 56;
        // Upright: the short patterns, split into two lines from row 2 x 7 - shift.
        QTest::newRow("lcd upright german") << 1 << true << de << u"07.03 14:05"_s << 224;
        QTest::newRow("lcd upright english") << 1 << true << en << u"03/07 14:05"_s << 224;
        QTest::newRow("vfd128 upright german") << 0 << true << de << u"07.03 14:05"_s << 120;
        QTest::newRow("vfd256 upright english") << 2 << true << en << u"03/07 14:05"_s << 240;
    }

    void clockLine()
    {
        QFETCH(int, model);
        QFETCH(bool, upright);
        QFETCH(QString, pattern);
        QFETCH(QString, shown);
        QFETCH(int, y);
        Rig rig{DisplayModel(model)};
        rig.model.DateTimePattern = pattern;
        rig.model.SetVerticalMounting(upright);
        const TDisplay *d = rig.main();
        QCOMPARE(rig.led2.LEDCountX(), d->Width);
        QCOMPARE(rig.led2.LEDCountY(), d->Height);
        rig.led2.ClearAll();
        rig.preview.UhrzeitTimerTimer();

        const TUserFont &font = *d->UserFont;
        const TRect band(0, y, qMin(d->Width, int(shown.size()) * font.Pitch) - 1, y + font.GlyphHeight - 1);
        QCOMPARE(area(rig.led2, band), glyphArea(d->Width, d->Height, font, 0, y, shown, band));
        QVERIFY(ink(rig.led2, band) > 0);

        rig.preview.BlankClockLine();
        QCOMPARE(ink(rig.led2, TRect(0, 0, d->Width - 1, d->Height - 1)), 0);
    }

    void nothingDrawnUnlessAllowed_data()
    {
        QTest::addColumn<quint16>("flags");
        QTest::newRow("no project") << quint16(0);
        QTest::newRow("blocked by the simulation")
            << quint16(ProjectModel::ProjectOpen | ProjectModel::PreviewsBlocked);
    }

    void nothingDrawnUnlessAllowed()
    {
        QFETCH(quint16, flags);
        Rig rig;
        rig.model.SetShowFloorBitmaps(true);
        rig.model.SetTextLines(1, 2);
        rig.model.SetSpecialBitmap(rig.model.Model(), 1, filled(240, 128, 0xFFFFFF));
        rig.model.StateFlags = flags;
        for (LedMatrix *m : {&rig.led2, &rig.led3, &rig.led4}) {
            m->ClearAll();
            fill(*m, TRect(5, 5, 30, 30));
        }
        const QImage before2 = rig.led2.contentRaster().copy();
        const QImage marks2 = rig.led2.markRaster().copy();
        const QImage before3 = rig.led3.contentRaster().copy();
        const QImage before4 = rig.led4.contentRaster().copy();
        const TRect txt1 = rig.main()->GetRect(u"TXT1"_s);
        const int fontSize = rig.model.FloorFontSize();

        rig.preview.PreviewOut();
        rig.preview.UhrzeitTimerTimer();
        rig.preview.BlankClockLine();
        rig.preview.PreviewSonderzeichenOut(1, true);
        rig.preview.PreviewKleinerFontOut();
        rig.model.SelectFloorRow(2);

        QCOMPARE(rig.led2.contentRaster(), before2);
        QCOMPARE(rig.led2.markRaster(), marks2);
        QCOMPARE(rig.led3.contentRaster(), before3);
        QCOMPARE(rig.led4.contentRaster(), before4);
        QCOMPARE(rig.main()->GetRect(u"TXT1"_s), txt1);
        QCOMPARE(rig.model.FloorFontSize(), fontSize);
    }

    void specialState_data()
    {
        QTest::addColumn<bool>("withBitmap");
        QTest::addColumn<bool>("bitmapsOnly");
        QTest::addColumn<bool>("textShown");
        QTest::newRow("bitmap, bitmaps only") << true << true << false;
        QTest::newRow("bitmap with text") << true << false << true;
        QTest::newRow("no bitmap, bitmaps only") << false << true << true;
        QTest::newRow("no bitmap") << false << false << true;
    }

    void specialState()
    {
        QFETCH(bool, withBitmap);
        QFETCH(bool, bitmapsOnly);
        QFETCH(bool, textShown);
        Rig rig;
        QCOMPARE(rig.model.SpecialText(4), u"Brandfall"_s);
        if (withBitmap)
            rig.model.SetSpecialBitmap(rig.model.Model(), 4, filled(240, 128, 0xFFFFFF));
        rig.model.SetSpecialBitmapsOnly(bitmapsOnly);
        rig.model.SelectSpecialRow(4); // drawn through the model's request
        QCOMPARE(rig.model.CurrentSpecialRow(), 4);

        const TRect row7(0, 112, 21 * rig.font2.Pitch - 1, 127);
        const QImage text = glyphArea(240, 128, rig.font2, 0, 112, u"Brandfall"_s.leftJustified(21), row7);
        if (textShown)
            QCOMPARE(area(rig.led3, row7), text);
        else
            QCOMPARE(ink(rig.led3, row7), row7.Width() * row7.Height());
        const TRect above(0, 0, 239, 111);
        QCOMPARE(ink(rig.led3, above), withBitmap ? above.Width() * above.Height() : 0);
    }

    void smallFontPreview()
    {
        Rig rig;
        rig.model.WorkFont.Size = 55;
        rig.model.SetSampleText(u"EG"_s);
        rig.preview.PreviewKleinerFontOut();

        TDisplay *k = rig.model.KleinDisplay();
        TWinFontInfo &fi = *k->FontInfo;
        QVERIFY(fi.FitEnabled);
        QCOMPARE(rig.model.WorkFont.Size, 55);

        const TDisplayRect *txt1 = k->FindRect(u"TXT1"_s);
        QCOMPARE(txt1->SavedRect, TRect(98, 82, 138, 125));
        QCOMPARE(fi.FitRect.Width(), txt1->Rect.Width());
        QCOMPARE(fi.FitRect.Height(), txt1->Rect.Height());
        // The sizes stay fitted to the user's region, not to the shrunk one.
        TWinFontInfo fresh;
        fresh.SetFitRect(txt1->SavedRect);
        fresh.SetSampleChars(rig.model.AutoSizeChars);
        fresh.SetFont(rig.model.WorkFont);
        QCOMPARE(fi.StyleSize[1], fresh.StyleSize[1]);

        QVERIFY(ink(rig.led4, txt1->SavedRect) > 0);
        QVERIFY(ink(rig.led4, k->FindRect(u"TXT2"_s)->SavedRect) > 0);
        const TRect row0(0, 0, 21 * rig.font2.Pitch - 1, 15);
        QCOMPARE(area(rig.led4, row0), glyphArea(240, 128, rig.font2, 0, 0, u"     TUER A OFFEN    "_s, row0));
        const TRect row4(0, 64, 239, 79);
        QCOMPARE(area(rig.led4, row4), glyphArea(240, 128, rig.font2, 0, 64, QString(21, u'_'), row4));
        // Frames are always shown.
        QVERIFY(rig.led4.markRaster().pixel(txt1->Rect.Left, txt1->Rect.Top) != 0
                || rig.led4.frameRaster().pixel(txt1->Rect.Left, txt1->Rect.Top) != 0);
    }

    void autoSizeRestoresRegionsEveryPass()
    {
        Rig rig;
        std::vector<bool> busy;
        rig.preview.SetBusyHook([&](bool b) { busy.push_back(b); });
        rig.preview.PreviewOut();
        QCOMPARE(busy, (std::vector<bool>{true, false}));

        const TDisplayRect *txt1 = rig.main()->FindRect(u"TXT1"_s);
        const TRect shrunk = txt1->Rect;
        QCOMPARE(txt1->SavedRect, TRect(0, 0, 84, 111));
        QCOMPARE(shrunk.Right, shrunk.Left + rig.main()->FontInfo->GetExtent().Right);
        QVERIFY(shrunk != txt1->SavedRect);
        QCOMPARE(rig.model.FloorFontSize(), qBound(-300, rig.main()->FontInfo->FontSize(), 300));

        rig.preview.PreviewOut();
        QCOMPARE(txt1->Rect, shrunk);
        QCOMPARE(txt1->SavedRect, TRect(0, 0, 84, 111));
    }

    void settersRedrawThroughTheModel()
    {
        Rig rig;
        const TRect pfeil = rig.saved(u"PFEIL"_s);
        rig.model.SetArrow(rig.model.Model(), 1, filled(pfeil.Width(), pfeil.Height(), 0xFFFFFF));
        rig.model.SetArrowDown(false); // up arrow, slot 1
        QCOMPARE(ink(rig.led2, pfeil), pfeil.Width() * pfeil.Height());
        rig.model.SetArrowDown(true); // slot 0 is empty: nothing drawn there
        QCOMPARE(ink(rig.led2, pfeil), 0);
        rig.model.SetArrowDown(false);
        rig.model.SetShowArrows(false);
        QCOMPARE(ink(rig.led2, pfeil), 0);
        QVERIFY(!rig.main()->FindRect(u"PFEIL"_s)->Active);

        // Switching the model re-attaches the matrices to the new layouts.
        rig.model.SetDisplayModel(DisplayModel::Vfd128);
        QCOMPARE(rig.led2.LEDCountX(), 128);
        QCOMPARE(rig.led3.LEDCountY(), 64);
        QCOMPARE(rig.model.MainDisplay()->Matrix, &rig.led2);
        QVERIFY(rig.model.Layouts().Main(DisplayModel::Lcd240)->Matrix == nullptr);
    }

    void framesFollowTheButton()
    {
        Rig rig;
        auto marked = [](const LedMatrix &m) {
            const QImage &r = m.markRaster();
            for (int y = 0; y < r.height(); ++y)
                for (int x = 0; x < r.width(); ++x)
                    if (r.pixel(x, y) & kOn)
                        return true;
            return false;
        };
        rig.preview.PreviewOut();
        QVERIFY(marked(rig.led2));
        rig.model.SetShowRectsButton(false);
        rig.preview.ApplyShowRectsButton();
        QVERIFY(!marked(rig.led2));
        rig.preview.PreviewOut();
        QVERIFY(!marked(rig.led2));
        rig.model.SetShowRectsButton(true);
        rig.preview.PreviewOut(false, true, true, true, true); // the caller asks for no frames
        QVERIFY(!marked(rig.led2));
        rig.preview.ApplyShowRectsButton();
        QVERIFY(marked(rig.led2));
    }

    void simulationMatrixTakesTheMainLayout()
    {
        Rig rig;
        LedMatrix led1;
        rig.preview.AttachMainMatrix(&led1);
        QCOMPARE(rig.main()->Matrix, &led1);
        QCOMPARE(led1.LEDCountX(), 240);
        rig.led2.ClearAll();
        rig.preview.PreviewOut(false, true, true, true, true);
        QVERIFY(ink(led1, rig.saved(u"TXT1"_s)) > 0);
        QCOMPARE(ink(rig.led2, TRect(0, 0, 239, 127)), 0);
        rig.model.SetDisplayModel(DisplayModel::Vfd128); // stays with the simulation's matrix
        QCOMPARE(rig.main()->Matrix, &led1);
        rig.preview.AttachMainMatrix(nullptr);
        QCOMPARE(rig.main()->Matrix, &rig.led2);
    }

    void headlessRendering()
    {
        Rig rig;
        LedMatrix out;
        const QImage img = Preview::RenderFloorRow(rig.model, 5, out);
        QCOMPARE(rig.model.CurrentFloorRow(), 5);
        QCOMPARE(rig.model.SampleText(), u"UG"_s);
        QCOMPARE(out.LEDCountX(), 240);
        QCOMPARE(img.size(), QSize(out.Width(), out.Height()));
        QVERIFY(ink(out, rig.saved(u"TXT1"_s)) > 0);
        QCOMPARE(rig.main()->Matrix, &rig.led2); // the editor's matrix is attached again

        LedMatrix special;
        Preview::RenderSpecialState(rig.model, 3, special);
        QCOMPARE(rig.model.CurrentSpecialRow(), 3);
        QVERIFY(ink(special, TRect(0, 112, 239, 127)) > 0);

        LedMatrix small;
        Preview::RenderSmallFont(rig.model, small);
        QVERIFY(ink(small, TRect(0, 0, 239, 15)) > 0);

        rig.model.SetProjectOpen(false);
        LedMatrix closed;
        Preview::RenderFloorRow(rig.model, 1, closed);
        QCOMPARE(ink(closed, TRect(0, 0, 239, 127)), 0);
    }
};

QTEST_MAIN(TestPreview)
#include "test_preview.moc"
