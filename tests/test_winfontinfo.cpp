// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/display.h"
#include "display/glyphimagecache.h"
#include "display/layouts.h"
#include "display/winfontinfo.h"
#include "ledmatrix/ledmatrix.h"
#include "util/win1252.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>
#include <QRandomGenerator>
#include <QRawFont>
#include <QTest>

#include <thread>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

const QString kDefaultSamples = u"EGUTDBAKP0123456789"_s;

FontSpec font(const QString &family, bool bold = false, bool italic = false, int size = 20)
{
    FontSpec f;
    f.Name = family;
    f.Size = size;
    f.Bold = bold;
    f.Italic = italic;
    f.Color = 0xFFFFFF;
    return f;
}

/// Ink box of a raster: (left, top, right, bottom) of the inked pixels, or an
/// invalid rectangle without ink.
struct InkBox
{
    int Left = 0, Top = 0, Right = -1, Bottom = -1;
    bool Empty() const { return Right < Left; }
    int Width() const { return Right - Left + 1; }
    int Height() const { return Bottom - Top + 1; }
};

InkBox inkBox(const QImage &img, const TRect &area)
{
    InkBox b;
    b.Left = area.Right + 1;
    b.Top = area.Bottom + 1;
    b.Right = area.Left - 1;
    b.Bottom = area.Top - 1;
    for (int y = area.Top; y <= area.Bottom; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = area.Left; x <= area.Right; ++x) {
            if ((line[x] & 0x00FFFFFFu) == 0)
                continue;
            b.Left = qMin(b.Left, x);
            b.Right = qMax(b.Right, x);
            b.Top = qMin(b.Top, y);
            b.Bottom = qMax(b.Bottom, y);
        }
    }
    if (b.Right < b.Left)
        return InkBox();
    return b;
}

/// The glyph drawn alone at \a size, well inside a large raster.
InkBox glyphBox(const FontSpec &fontSpec, int size, QChar ch)
{
    FontSpec f = fontSpec;
    f.Size = size;
    f.Color = 0xFFFFFF;
    QImage img = TextRaster::newRaster(1200, 1200, 0xFF000000);
    TextRaster::drawText(img, 300, 300, f, QString(ch));
    return inkBox(img, TRect(0, 0, 1199, 1199));
}

/// The fitting sequence of the floor preview for one rectangle.
void fit(TWinFontInfo &info, const TRect &rect, const QString &samples, const FontSpec &f)
{
    info.SetFitRect(rect);
    info.SetSampleChars(samples);
    info.SetFont(f);
}

void compareFits(TWinFontInfo &fast, TWinFontInfo &ref, const char *stage)
{
    for (int s = 1; s <= 4; ++s) {
        const QByteArray what = QByteArray(stage) + " style " + QByteArray::number(s);
        QVERIFY2(fast.StyleSize[s] == ref.StyleSize[s],
                 QByteArray(what + ": size " + QByteArray::number(fast.StyleSize[s]) + " vs "
                            + QByteArray::number(ref.StyleSize[s]))
                     .constData());
        QVERIFY2(fast.StyleExtent[s] == ref.StyleExtent[s], QByteArray(what + ": extent").constData());
        QVERIFY2(fast.StyleKeyChars[s] == ref.StyleKeyChars[s], QByteArray(what + ": key characters").constData());
    }
    QCOMPARE(fast.FontSize(), ref.FontSize());
}

void compareOffsets(TWinFontInfo &fast, TWinFontInfo &ref, const FontSpec &base,
                    const QString &chars, const char *stage)
{
    for (int style = 0; style < 4; ++style) {
        const FontSpec f = font(base.Name, style & 1, style & 2);
        fast.SetFont(f);
        ref.SetFont(f);
        QCOMPARE(fast.StyleIndex, ref.StyleIndex);
        for (const QChar ch : chars) {
            const int fx = fast.CharXOffset(ch);
            const int fy = fast.CharYOffset(ch);
            const int rx = ref.CharXOffset(ch);
            const int ry = ref.CharYOffset(ch);
            const QByteArray what = QByteArray(stage) + " style " + QByteArray::number(fast.StyleIndex)
                + " char " + QString(ch).toUtf8() + " align " + QByteArray::number(fast.HorzAlign)
                + "/" + QByteArray::number(fast.VertAlign) + ": (" + QByteArray::number(fx) + ","
                + QByteArray::number(fy) + ") vs (" + QByteArray::number(rx) + ","
                + QByteArray::number(ry) + ")";
            QVERIFY2(fx == rx && fy == ry, what.constData());
        }
    }
}

} // namespace

class TestWinFontInfo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        for (const char *family : {"DejaVu Sans", "DejaVu Serif", "DejaVu Sans Mono", "Liberation Sans"}) {
            QFont f;
            QVERIFY(TextRaster::toQFont(font(QString::fromLatin1(family)), f));
            if (QFontInfo(f).family() != QString::fromLatin1(family))
                QSKIP("the DejaVu and Liberation fonts are not installed");
        }
    }

    void creationDefaults()
    {
        const FontSpec given = font(u"DejaVu Sans"_s, true, true, 33);
        TWinFontInfo info(given);
        QCOMPARE(info.Font().Name, u"DejaVu Sans"_s);
        QCOMPARE(info.Font().Color, QRgb(0xFFFFFF));
        QVERIFY(!info.Font().Bold && !info.Font().Italic);
        QCOMPARE(info.StyleIndex, 1);
        QCOMPARE(info.FitRect, TRect(0, 0, 0, 0));
        QVERIFY(info.SampleChars.isEmpty());
        QCOMPARE(info.HorzAlign, 1);
        QCOMPARE(info.VertAlign, 1);
        QVERIFY(info.FitEnabled);
        for (int s = 1; s <= 4; ++s) {
            QCOMPARE(info.StyleSize[s], TWinFontInfo::NotComputed);
            QCOMPARE(info.StyleExtent[s], TRect(0, 0, 0, 0));
            QVERIFY(info.StyleKeyChars[s].isEmpty());
        }
        QCOMPARE(info.XOffsets[int('E')][1], TWinFontInfo::NotComputed);
    }

    // The fast alignment against the literal one-pixel stepping: fitted sizes,
    // extents, key characters and offsets for every style, before and after the
    // shrink to the measured extent that the preview makes.
    void matchesReference_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QString>("samples");

        // The text regions of the layouts (VFD1 45x56, VFD2 90x112, LCD1 85x112,
        // small-font 20x21 and 41x44), some turned upright.
        QTest::newRow("LCD1 Sans default") << u"DejaVu Sans"_s << 85 << 112 << kDefaultSamples;
        QTest::newRow("VFD2 Serif default") << u"DejaVu Serif"_s << 90 << 112 << kDefaultSamples;
        QTest::newRow("VFD1 Mono default") << u"DejaVu Sans Mono"_s << 45 << 56 << kDefaultSamples;
        QTest::newRow("VFD1 Liberation default") << u"Liberation Sans"_s << 45 << 56 << kDefaultSamples;
        QTest::newRow("small 20x21 Sans default") << u"DejaVu Sans"_s << 20 << 21 << kDefaultSamples;
        QTest::newRow("small 41x44 Serif default") << u"DejaVu Serif"_s << 41 << 44 << kDefaultSamples;
        QTest::newRow("small 41x44 Liberation umlauts") << u"Liberation Sans"_s << 41 << 44 << u"ÄÖÜ"_s;
        QTest::newRow("small 20x21 Mono with space") << u"DejaVu Sans Mono"_s << 20 << 21 << u"E G"_s;
        QTest::newRow("VFD1 upright Sans EG") << u"DejaVu Sans"_s << 56 << 45 << u"EG"_s;
        QTest::newRow("LCD1 upright Liberation digits") << u"Liberation Sans"_s << 112 << 85 << u"0123456789"_s;
        QTest::newRow("VFD2 upright Serif EG") << u"DejaVu Serif"_s << 112 << 90 << u"EG"_s;
        QTest::newRow("small upright Mono digits") << u"DejaVu Sans Mono"_s << 21 << 20 << u"0123456789"_s;
        QTest::newRow("small upright Sans umlauts") << u"DejaVu Sans"_s << 44 << 41 << u"ÄÖÜ"_s;
        QTest::newRow("LCD1 Liberation EG") << u"Liberation Sans"_s << 85 << 112 << u"EG"_s;
        QTest::newRow("LCD1 Mono umlauts") << u"DejaVu Sans Mono"_s << 85 << 112 << u"ÄÖÜ"_s;
    }

    void matchesReference()
    {
        QFETCH(QString, family);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QString, samples);

        TWinFontInfo fast;
        TWinFontInfo ref;
        ref.SetReferenceMode(true);
        const FontSpec f = font(family);
        fit(fast, TRect(0, 0, width - 1, height - 1), samples, f);
        fit(ref, TRect(0, 0, width - 1, height - 1), samples, f);
        compareFits(fast, ref, "full");
        if (QTest::currentTestFailed())
            return;

        for (int mode = 0; mode <= 2; ++mode) {
            fast.SetHorzAlign(mode);
            fast.SetVertAlign(2 - mode);
            ref.SetHorzAlign(mode);
            ref.SetVertAlign(2 - mode);
            compareOffsets(fast, ref, f, samples, "full");
            if (QTest::currentTestFailed())
                return;
        }

        // Shrink to the extent of the current style, as the preview does: refits
        // with the key characters only.
        fast.SetFont(font(family, true));
        ref.SetFont(font(family, true));
        const TRect e = fast.GetExtent();
        QCOMPARE(e, ref.GetExtent());
        fast.SetFitRect(TRect(3, 5, 3 + e.Right, 5 + e.Bottom));
        ref.SetFitRect(TRect(3, 5, 3 + e.Right, 5 + e.Bottom));
        compareFits(fast, ref, "shrunk");
        if (QTest::currentTestFailed())
            return;
        fast.SetHorzAlign(1);
        fast.SetVertAlign(1);
        ref.SetHorzAlign(1);
        ref.SetVertAlign(1);
        compareOffsets(fast, ref, f, samples, "shrunk");
    }

    // Characters outside the samples, in a raster too small for them, and sizes
    // far from the fitted one, all through the same alignment.
    void alignmentMatchesReference_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QString>("chars");

        QTest::newRow("glyphs larger than the raster") << u"DejaVu Serif"_s << 60 << 20 << 21 << u"WMg@"_s;
        QTest::newRow("descenders and accents") << u"Liberation Sans"_s << 30 << 41 << 44 << u"gjpqÄÉ"_s;
        QTest::newRow("thin and split glyphs") << u"DejaVu Sans"_s << 40 << 45 << 56 << u"i:=\"|"_s;
        QTest::newRow("no ink") << u"DejaVu Sans"_s << 40 << 45 << 56 << u" "_s;
        QTest::newRow("size 0 draws nothing") << u"DejaVu Sans"_s << 0 << 45 << 56 << u"E"_s;
        QTest::newRow("negative size") << u"DejaVu Sans Mono"_s << -30 << 45 << 56 << u"E8"_s;
        QTest::newRow("large glyph") << u"DejaVu Serif"_s << 190 << 240 << 128 << u"@W"_s;
        QTest::newRow("beyond any fitted size") << u"DejaVu Sans"_s << 800 << 45 << 56 << u"E"_s;
    }

    void alignmentMatchesReference()
    {
        QFETCH(QString, family);
        QFETCH(int, size);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QString, chars);

        for (int style = 0; style < 4; ++style) {
            TWinFontInfo fast(font(family));
            TWinFontInfo ref(font(family));
            ref.SetReferenceMode(true);
            fast.SetFitRect(TRect(0, 0, width - 1, height - 1));
            ref.SetFitRect(TRect(0, 0, width - 1, height - 1));
            fast.SetBold(style & 1);
            fast.SetItalic(style & 2);
            ref.SetBold(style & 1);
            ref.SetItalic(style & 2);
            for (const QChar ch : chars) {
                // From the origin, then continuing from where the last one ended
                // with the size one point larger, as the fitting does.
                int fx = 0, fy = 0, rx = 0, ry = 0;
                for (int step = 0; step < 2; ++step) {
                    fast.Font().Size = size + step;
                    ref.Font().Size = size + step;
                    fast.AlignGlyph(ch, fx, fy);
                    ref.AlignGlyph(ch, rx, ry);
                    const QByteArray what = "char " + QString(ch).toUtf8() + " style "
                        + QByteArray::number(style + 1) + " step " + QByteArray::number(step);
                    QVERIFY2(fx == rx && fy == ry, what.constData());
                    const auto &a = fast.LastRaster();
                    const auto &b = ref.LastRaster();
                    QVERIFY2(a.EmptyLeft == b.EmptyLeft && a.EmptyRight == b.EmptyRight
                                 && a.EmptyTop == b.EmptyTop && a.EmptyBottom == b.EmptyBottom
                                 && a.LastColEmpty == b.LastColEmpty && a.LastRowEmpty == b.LastRowEmpty,
                             what.constData());
                }
            }
        }
    }

    // Random alignments: family, style, size, raster, start and character drawn
    // from a fixed seed; the glyph-image stepping must end where redrawing ends.
    void randomAlignmentsMatchReference()
    {
        const QString families[] = {u"DejaVu Sans"_s, u"DejaVu Serif"_s, u"DejaVu Sans Mono"_s,
                                    u"Liberation Sans"_s};
        const QString chars = u"EGUTDBAKP0123456789WMgjiÄÖÜ@%:.-'\"|"_s;
        QRandomGenerator rng(20261211);
        for (int n = 0; n < 300; ++n) {
            const QString family = families[rng.bounded(4)];
            const int style = int(rng.bounded(4));
            const int size = 1 + int(rng.bounded(160));
            const int width = 1 + int(rng.bounded(120));
            const int height = 1 + int(rng.bounded(130));
            const QChar ch = chars.at(rng.bounded(int(chars.size())));
            int fx = int(rng.bounded(161)) - 80;
            int fy = int(rng.bounded(161)) - 80;
            int rx = fx, ry = fy;
            TWinFontInfo fast(font(family));
            TWinFontInfo ref(font(family));
            ref.SetReferenceMode(true);
            for (TWinFontInfo *info : {&fast, &ref}) {
                info->SetFitRect(TRect(0, 0, width - 1, height - 1));
                info->SetBold(style & 1);
                info->SetItalic(style & 2);
                info->Font().Size = size;
            }
            fast.AlignGlyph(ch, fx, fy);
            ref.AlignGlyph(ch, rx, ry);
            const auto &a = fast.LastRaster();
            const auto &b = ref.LastRaster();
            const QByteArray what = QByteArray::number(n) + ": " + family.toUtf8() + " style "
                + QByteArray::number(style + 1) + " size " + QByteArray::number(size) + " raster "
                + QByteArray::number(width) + "x" + QByteArray::number(height) + " char "
                + QString(ch).toUtf8();
            QVERIFY2(fx == rx && fy == ry, what.constData());
            QVERIFY2(a.EmptyLeft == b.EmptyLeft && a.EmptyRight == b.EmptyRight
                         && a.EmptyTop == b.EmptyTop && a.EmptyBottom == b.EmptyBottom
                         && a.LastColEmpty == b.LastColEmpty && a.LastRowEmpty == b.LastRowEmpty,
                     what.constData());
        }
    }

    // The composed drawing against QPainter drawing the QFont directly, as every
    // text was drawn before: glyphs up to 64 pixels come from Qt's glyph bitmaps
    // and must match exactly; larger ones are filled outlines, which Qt itself
    // rasterises a pixel differently here and there along the edges depending on
    // the origin, so a few edge pixels may differ, never more.
    void drawingLooksLikeQPainter_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<int>("size");
        QTest::newRow("Sans 9") << u"DejaVu Sans"_s << false << false << 9;
        QTest::newRow("Sans bold 30") << u"DejaVu Sans"_s << true << false << 30;
        QTest::newRow("Serif italic 45") << u"DejaVu Serif"_s << false << true << 45;
        QTest::newRow("Mono bold italic 48") << u"DejaVu Sans Mono"_s << true << true << 48;
        QTest::newRow("Liberation 80") << u"Liberation Sans"_s << false << false << 80;
        QTest::newRow("Serif bold italic 120") << u"DejaVu Serif"_s << true << true << 120;
        QTest::newRow("Sans negative 70") << u"DejaVu Sans"_s << false << false << -70;
    }

    void drawingLooksLikeQPainter()
    {
        QFETCH(QString, family);
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        QFETCH(int, size);

        const FontSpec f = font(family, bold, italic, size);
        QFont qf;
        QVERIFY(TextRaster::toQFont(f, qf));
        const bool outlines = qf.pixelSize() > 64;
        // Printable Windows-1252, a character the font lacks, a control character.
        QString chars;
        for (int code = 0x21; code <= 0xFF; code += 3)
            chars += Win1252::toUnicode(uchar(code));
        chars += QChar(0x4E00);
        chars += QChar(0x0009);
        const int side = 3 * qf.pixelSize() + 20;
        for (const QChar ch : chars) {
            QImage direct = TextRaster::newRaster(side, side, 0xFF000000);
            {
                QPainter p(&direct);
                p.setRenderHint(QPainter::TextAntialiasing, false);
                p.setFont(qf);
                p.setPen(QColor::fromRgb(0xFFFFFFFFu));
                p.drawText(QPoint(side / 3, side / 3 + QFontMetrics(qf, &direct).ascent()), QString(ch));
            }
            QImage composed = TextRaster::newRaster(side, side, 0xFF000000);
            TextRaster::drawText(composed, side / 3, side / 3, f, QString(ch));
            int ink = 0;
            int differing = 0;
            for (int y = 0; y < side; ++y) {
                for (int x = 0; x < side; ++x) {
                    const QRgb d = direct.pixel(x, y);
                    const QRgb c = composed.pixel(x, y);
                    ink += (d & 0x00FFFFFFu) != 0;
                    if ((d != 0xFF000000u && d != 0xFFFFFFFFu) || (c != 0xFF000000u && c != 0xFFFFFFFFu))
                        QFAIL("a pixel neither black nor white: anti-aliased?");
                    differing += d != c;
                }
            }
            const QByteArray what = "U+" + QByteArray::number(ch.unicode(), 16) + ": "
                + QByteArray::number(differing) + " of " + QByteArray::number(ink) + " pixels differ";
            QVERIFY2(outlines ? differing * 200 <= ink : differing == 0, what.constData());
        }
    }

    // What drawText promises its callers: ink becomes the colour with alpha 0xFF,
    // everything else stays; the drawing at any origin is the same pixels
    // shifted and clipped at the raster's edges; characters of a string sit at
    // the rounded sums of the advances before them.
    void drawTextComposesShiftedGlyphs_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::newRow("inside") << 17 << 9;
        QTest::newRow("clipped left and top") << -23 << -31;
        QTest::newRow("clipped right and bottom") << 70 << 60;
        QTest::newRow("far outside") << 5000 << -5000;
    }

    void drawTextComposesShiftedGlyphs()
    {
        QFETCH(int, x);
        QFETCH(int, y);

        FontSpec f = font(u"DejaVu Serif"_s, true, true, 70);
        f.Color = 0x12AB34;
        const QString text = u"Wg"_s;
        constexpr int kBig = 400;
        constexpr int kOrigin = 150;
        QImage reference = TextRaster::newRaster(kBig, kBig, 0x00000000);
        TextRaster::drawText(reference, kOrigin, kOrigin, f, text);

        QImage raster = TextRaster::newRaster(100, 90, 0x00000000);
        for (int py = 0; py < raster.height(); ++py)
            for (int px = 0; px < raster.width(); ++px)
                raster.setPixel(px, py, qRgba(px, py, 7, 0x40));
        const QImage before = raster;
        TextRaster::drawText(raster, x, y, f, text);
        int inked = 0;
        for (int py = 0; py < raster.height(); ++py) {
            for (int px = 0; px < raster.width(); ++px) {
                const int rx = px - x + kOrigin;
                const int ry = py - y + kOrigin;
                const bool ink = rx >= 0 && ry >= 0 && rx < kBig && ry < kBig
                    && reference.pixel(rx, ry) != 0x00000000u;
                inked += ink;
                QCOMPARE(raster.pixel(px, py), ink ? QRgb(0xFF12AB34) : before.pixel(px, py));
            }
        }
        QCOMPARE(inked > 0, x < 100 && y < 90);

        // The string is its characters at the rounded advances.
        QImage apart = TextRaster::newRaster(kBig, kBig, 0x00000000);
        QFont qf;
        QVERIFY(TextRaster::toQFont(f, qf));
        const qreal advanceW = QRawFont::fromFont(qf).advancesForGlyphIndexes(
                                   QRawFont::fromFont(qf).glyphIndexesForString(u"W"_s)).first().x();
        TextRaster::drawText(apart, kOrigin, kOrigin, f, u"W"_s);
        TextRaster::drawText(apart, kOrigin + qRound(advanceW), kOrigin, f, u"g"_s);
        QCOMPARE(apart, reference);
        QVERIFY(qAbs(advanceW - QFontMetricsF(qf).horizontalAdvance(u"W"_s)) < 0.01);
    }

    void sizesThatDrawNothing_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("zero") << 0;
        QTest::newRow("not fitted") << int(TextRaster::kUnfittedSize);
        QTest::newRow("beyond the largest drawn size") << 100000;
        QTest::newRow("huge negative") << -100000;
    }

    void sizesThatDrawNothing()
    {
        QFETCH(int, size);
        QImage raster = TextRaster::newRaster(60, 60, 0xFF000000);
        TextRaster::drawText(raster, 0, 0, font(u"DejaVu Sans"_s, false, false, size), u"E"_s);
        QCOMPARE(inkBox(raster, TRect(0, 0, 59, 59)).Empty(), true);
    }

    // The cache stays within its bound by dropping the least recently used
    // images; an image in steady use stays, and one handed out outlives the cache.
    void glyphCacheIsBounded()
    {
        GlyphImageCache &cache = GlyphImageCache::instance();
        cache.Clear();
        const FontSpec kept = font(u"DejaVu Sans"_s, false, false, 30);
        const GlyphImagePtr held = cache.Glyph(kept, U'E');
        QVERIFY(held && held->HasInk);
        const int inkTop = held->Top;
        int drawn = 1;
        int largest = 0;
        for (int size = 1; drawn <= GlyphImageCache::MaxGlyphs + 500; ++size) {
            for (char32_t ch = U'!'; ch <= U'~'; ++ch, ++drawn)
                cache.Glyph(font(u"DejaVu Sans Mono"_s, false, false, size), ch);
            cache.Glyph(kept, U'E');
            largest = qMax(largest, cache.Count());
            QVERIFY(cache.Count() <= GlyphImageCache::MaxGlyphs);
        }
        QVERIFY(largest > GlyphImageCache::MaxGlyphs / 2);
        QVERIFY(cache.Count() < drawn);
        const qint64 renderings = cache.Renderings();
        QVERIFY(cache.Glyph(kept, U'E') == held);
        QCOMPARE(cache.Renderings(), renderings);
        cache.Clear();
        QCOMPARE(cache.Count(), 0);
        QCOMPARE(held->Top, inkTop);
    }

    // Drawings from several threads at once come out as in the main thread.
    void drawsFromSeveralThreads()
    {
        const FontSpec f = font(u"DejaVu Serif"_s, false, true, 50);
        const QString text = u"0123456789EGÄ"_s;
        auto drawAll = [&] {
            QList<QImage> out;
            for (const QChar ch : text) {
                QImage img = TextRaster::newRaster(120, 120, 0xFF000000);
                TextRaster::drawText(img, 20, 10, f, QString(ch));
                out.append(img);
            }
            return out;
        };
        GlyphImageCache::instance().Clear();
        std::vector<QList<QImage>> results(4);
        std::vector<std::thread> threads;
        for (size_t i = 0; i < results.size(); ++i)
            threads.emplace_back([&, i] { results[i] = drawAll(); });
        for (std::thread &t : threads)
            t.join();
        const QList<QImage> expected = drawAll();
        for (const QList<QImage> &r : results)
            QVERIFY(r == expected);
    }

    void glyphWithoutInkEndsAtTheLimits()
    {
        for (bool reference : {false, true}) {
            TWinFontInfo info(font(u"DejaVu Sans"_s, false, false, 40));
            info.SetReferenceMode(reference);
            info.SetFitRect(TRect(0, 0, 44, 55));
            int x = 0, y = 0;
            info.AlignGlyph(QChar(u' '), x, y);
            QCOMPARE(x, -301);
            QCOMPARE(y, -302);
        }
    }

    // The fitted size is the largest at which every sample, aligned to the
    // top-left, leaves the last column and row free: checked against glyphs
    // drawn on their own.
    void fittedSizeIsAtTheEdge_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QString>("samples");
        QTest::newRow("45x56 EG sans") << u"DejaVu Sans"_s << 45 << 56 << u"EG"_s;
        QTest::newRow("85x112 default") << u"DejaVu Sans"_s << 85 << 112 << kDefaultSamples;
        QTest::newRow("20x21 digits serif") << u"DejaVu Serif"_s << 20 << 21 << u"0123456789"_s;
    }

    void fittedSizeIsAtTheEdge()
    {
        QFETCH(QString, family);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QString, samples);

        TWinFontInfo info;
        const FontSpec f = font(family);
        fit(info, TRect(10, 20, 10 + width - 1, 20 + height - 1), samples, f);
        const int size = info.StyleSize[1];
        QVERIFY(size > 0 && size < 400);
        QCOMPARE(info.FontSize(), size);

        bool touchesAbove = false;
        int maxW = 0, maxH = 0;
        for (const QChar ch : samples) {
            const InkBox at = glyphBox(f, size, ch);
            QVERIFY2(at.Width() <= width - 1 && at.Height() <= height - 1, qPrintable(QString(ch)));
            maxW = qMax(maxW, at.Width());
            maxH = qMax(maxH, at.Height());
            const InkBox above = glyphBox(f, size + 1, ch);
            if (above.Width() >= width || above.Height() >= height)
                touchesAbove = true;
        }
        QVERIFY(touchesAbove);
        QCOMPARE(info.StyleExtent[1], TRect(0, 0, maxW, maxH));
        QCOMPARE(info.GetExtent(), info.StyleExtent[1]);
    }

    void spaceNeverLimitsTheSize()
    {
        TWinFontInfo plain;
        fit(plain, TRect(0, 0, 44, 55), u"EG"_s, font(u"DejaVu Sans"_s));
        for (const QString &withSpace : {u"E G"_s, u" EG"_s, u"EG "_s}) {
            TWinFontInfo spaced;
            fit(spaced, TRect(0, 0, 44, 55), withSpace, font(u"DejaVu Sans"_s));
            for (int s = 1; s <= 4; ++s) {
                QCOMPARE(spaced.StyleSize[s], plain.StyleSize[s]);
                QCOMPARE(spaced.StyleExtent[s], plain.StyleExtent[s]);
            }
        }
    }

    void onlySpacesGrowToTheLimit()
    {
        TWinFontInfo info;
        fit(info, TRect(0, 0, 19, 20), u"  "_s, font(u"DejaVu Sans"_s));
        for (int s = 1; s <= 4; ++s) {
            QCOMPARE(info.StyleSize[s], 400);
            QCOMPARE(info.StyleExtent[s], TRect(0, 0, 0, 0));
            QCOMPARE(info.StyleKeyChars[s], u"  "_s);
        }
    }

    // A rectangle with Right < Left gives a raster without pixels: nothing ever
    // touches its edges, so every style grows to the limit, in both modes alike.
    void rasterWithoutPixels()
    {
        TWinFontInfo fast;
        TWinFontInfo ref;
        ref.SetReferenceMode(true);
        fit(fast, TRect(5, 0, 4, 10), u"EG"_s, font(u"DejaVu Sans"_s));
        fit(ref, TRect(5, 0, 4, 10), u"EG"_s, font(u"DejaVu Sans"_s));
        QVERIFY(fast.ScratchBitmap.isNull());
        compareFits(fast, ref, "no pixels");
        QCOMPARE(fast.StyleSize[1], 400);
        QCOMPARE(fast.CharXOffset(QChar(u'E')), ref.CharXOffset(QChar(u'E')));
    }

    void keyCharactersNameTheLargestGlyphs()
    {
        TWinFontInfo info;
        fit(info, TRect(0, 0, 84, 111), u"-1W"_s, font(u"DejaVu Sans"_s));
        // "W" is the widest; "1" and "W" share the cap height, the first one met wins.
        for (int s = 1; s <= 4; ++s) {
            QCOMPARE(info.StyleKeyChars[s].size(), 2);
            QCOMPARE(info.StyleKeyChars[s].at(1), QChar(u'W'));
            QVERIFY(info.StyleKeyChars[s].at(0) != QChar(u'-'));
        }
    }

    // What each change invalidates. The fitted instance is marked with values a
    // refit cannot produce: size 7, key characters "XX" (not among the samples)
    // and an offset of 4321.
    void invalidation_data()
    {
        QTest::addColumn<int>("change");
        QTest::addColumn<bool>("sizesRefitted");
        QTest::addColumn<bool>("keysCleared");
        QTest::addColumn<bool>("offsetsCleared");

        QTest::newRow("SetFont other family") << 0 << true << true << true;
        QTest::newRow("SetFont same family other size and style") << 1 << false << false << false;
        QTest::newRow("SetFont other character set") << 2 << true << true << true;
        QTest::newRow("SetFont other family, fitting off") << 3 << false << true << false;
        QTest::newRow("SetSampleChars new text") << 4 << true << true << true;
        QTest::newRow("SetSampleChars same text") << 5 << false << false << false;
        QTest::newRow("SetSampleChars empty") << 6 << false << false << false;
        QTest::newRow("SetFitRect new size") << 7 << true << false << true;
        QTest::newRow("SetFitRect moved, same size") << 8 << false << false << false;
        QTest::newRow("SetFitRect new size, fitting off") << 9 << false << false << false;
        QTest::newRow("SetHorzAlign") << 10 << false << false << true;
        QTest::newRow("SetVertAlign") << 11 << false << false << true;
        QTest::newRow("SetBold, SetItalic") << 12 << false << false << false;
    }

    void invalidation()
    {
        QFETCH(int, change);
        QFETCH(bool, sizesRefitted);
        QFETCH(bool, keysCleared);
        QFETCH(bool, offsetsCleared);

        TWinFontInfo info;
        const TRect rect(0, 0, 44, 55);
        fit(info, rect, u"EG"_s, font(u"DejaVu Sans"_s));
        for (int s = 1; s <= 4; ++s) {
            info.StyleSize[s] = 7;
            info.StyleKeyChars[s] = u"XX"_s;
            info.XOffsets[int('E')][s] = 4321;
        }

        switch (change) {
        case 0: info.SetFont(font(u"DejaVu Serif"_s)); break;
        case 1: info.SetFont(font(u"DejaVu Sans"_s, true, true, 55)); break;
        case 2: {
            FontSpec f = font(u"DejaVu Sans"_s);
            f.Charset = 0;
            info.SetFont(f);
            break;
        }
        case 3:
            info.FitEnabled = false;
            info.SetFont(font(u"DejaVu Serif"_s));
            break;
        case 4: info.SetSampleChars(u"EGT"_s); break;
        case 5: info.SetSampleChars(u"EG"_s); break;
        case 6: info.SetSampleChars(QString()); break;
        case 7: info.SetFitRect(TRect(0, 0, 40, 50)); break;
        case 8: info.SetFitRect(TRect(45, 3, 89, 58)); break;
        case 9:
            info.FitEnabled = false;
            info.SetFitRect(TRect(0, 0, 40, 50));
            QCOMPARE(info.ScratchBitmap.size(), QSize(41, 51));
            break;
        case 10: info.SetHorzAlign(2); break;
        case 11: info.SetVertAlign(0); break;
        case 12:
            info.SetBold(true);
            info.SetItalic(true);
            QCOMPARE(info.StyleIndex, 4);
            QCOMPARE(info.FontSize(), 7); // the size of the style now selected
            break;
        }

        for (int s = 1; s <= 4; ++s) {
            const bool refitted = info.StyleSize[s] != 7;
            QCOMPARE(refitted, sizesRefitted);
            if (refitted)
                QVERIFY(info.StyleSize[s] > 7 && info.StyleSize[s] < 400);
            QCOMPARE(info.StyleKeyChars[s] != u"XX"_s, keysCleared);
            const int offset = info.XOffsets[int('E')][s];
            QCOMPARE(offset == TWinFontInfo::NotComputed, offsetsCleared);
            if (!offsetsCleared)
                QCOMPARE(offset, 4321);
        }
        if (change == 8)
            QCOMPARE(info.FitRect, rect);
        if (change == 7) {
            // The kept key characters "XX" were the only ones fitted.
            for (int s = 1; s <= 4; ++s)
                QCOMPARE(info.StyleKeyChars[s], u"XX"_s);
        }
    }

    void setFontTakesOverStyleWithoutRefit()
    {
        TWinFontInfo info;
        fit(info, TRect(0, 0, 44, 55), u"EG"_s, font(u"DejaVu Sans"_s));
        const auto sizes = info.StyleSize;
        info.SetFont(font(u"DejaVu Sans"_s, true, false, 99));
        QCOMPARE(info.StyleSize, sizes);
        QCOMPARE(info.StyleIndex, 2);
        QVERIFY(info.Font().Bold);
        QCOMPARE(info.FontSize(), sizes[2]);
        info.SetFont(font(u"DejaVu Sans"_s, false, true, 5));
        QCOMPARE(info.StyleIndex, 3);
        QCOMPARE(info.FontSize(), sizes[3]);
    }

    void offsetsAreComputedOnce()
    {
        TWinFontInfo info;
        fit(info, TRect(0, 0, 44, 55), u"EG"_s, font(u"DejaVu Sans"_s));
        const int x = info.CharXOffset(QChar(u'E'));
        const int y = info.CharYOffset(QChar(u'E'));
        QCOMPARE(info.XOffsets[int('E')][1], x);
        QCOMPARE(info.YOffsets[int('E')][1], y);
        // A second request answers from the table.
        info.XOffsets[int('E')][1] = 1234;
        QCOMPARE(info.CharXOffset(QChar(u'E')), 1234);
        info.SetHorzAlign(2);
        QCOMPARE(info.XOffsets[int('E')][1], TWinFontInfo::NotComputed);
        QVERIFY(info.CharXOffset(QChar(u'E')) > x); // right edge instead of centre
        QCOMPARE(info.CharYOffset(QChar(u'E')), y);

        // Tables are indexed by the Windows-1252 byte: the euro sign is 0x80.
        const QChar euro(0x20AC);
        info.CharXOffset(euro);
        QVERIFY(info.XOffsets[0x80][1] != TWinFontInfo::NotComputed);
        // A character outside that code page must not take over the entry of '?'.
        info.CharXOffset(QChar(0x0416));
        QCOMPARE(info.XOffsets[int('?')][1], TWinFontInfo::NotComputed);
    }

    void unfittedSizeDrawsNothing()
    {
        TWinFontInfo info(font(u"DejaVu Sans"_s));
        info.SetFitRect(TRect(0, 0, 44, 55));
        info.SetHorzAlign(0);
        info.SetVertAlign(0);
        QCOMPARE(info.CharXOffset(QChar(u'E')), -301);
        QCOMPARE(info.CharYOffset(QChar(u'E')), -302);
        QCOMPARE(info.FontSize(), TWinFontInfo::NotComputed);
    }

    // Free space of the aligned glyph, split by the alignment: 5 free columns
    // give 2 left and 3 right when centred.
    void alignmentSplitsFreeSpace_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::newRow("top-left") << 0 << 0 << 5;
        QTest::newRow("centre, odd space") << 1 << 2 << 3;
        QTest::newRow("bottom-right") << 2 << 5 << 0;
    }

    void alignmentSplitsFreeSpace()
    {
        QFETCH(int, mode);
        QFETCH(int, before);
        QFETCH(int, after);

        const FontSpec f = font(u"DejaVu Sans"_s);
        TWinFontInfo info;
        fit(info, TRect(0, 0, 44, 55), u"EG"_s, f);
        const InkBox glyph = glyphBox(f, info.StyleSize[1], QChar(u'E'));
        // A raster with exactly 5 free columns and rows around the "E"; the sizes
        // stay fitted to the first rectangle.
        const int w = glyph.Width() + 5;
        const int h = glyph.Height() + 5;
        info.FitEnabled = false;
        info.SetFitRect(TRect(0, 0, w - 1, h - 1));
        info.FitEnabled = true;
        info.SetHorzAlign(mode);
        info.SetVertAlign(mode);
        const int x = info.CharXOffset(QChar(u'E'));
        const int y = info.CharYOffset(QChar(u'E'));

        FontSpec drawn = f;
        drawn.Size = info.FontSize();
        QImage img = TextRaster::newRaster(w, h, 0xFF000000);
        TextRaster::drawText(img, x, y, drawn, u"E"_s);
        const InkBox at = inkBox(img, TRect(0, 0, w - 1, h - 1));
        QCOMPARE(at.Left, before);
        QCOMPARE(w - 1 - at.Right, after);
        QCOMPARE(at.Top, before);
        QCOMPARE(h - 1 - at.Bottom, after);
    }

    // DrawFloorText on the LCD layout, all regions pre-lit so that clearing shows.
    void drawFloorText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("txt2Active");
        QTest::addColumn<QString>("inkIn"); // region that holds all ink, empty: none
        QTest::addColumn<bool>("cleared");

        QTest::newRow("single character form") << u"1 "_s << true << u"TXT3"_s << true;
        QTest::newRow("leading space") << u" 1"_s << true << u"TXT2"_s << true;
        QTest::newRow("second region inactive") << u"12"_s << false << u"TXT1"_s << false;
        QTest::newRow("empty text") << QString() << true << QString() << false;
    }

    void drawFloorText()
    {
        QFETCH(QString, text);
        QFETCH(bool, txt2Active);
        QFETCH(QString, inkIn);
        QFETCH(bool, cleared);

        DisplayLayouts layouts(nullptr, nullptr);
        TDisplay *lcd = layouts.Main(DisplayModel::Lcd240);
        LedMatrix matrix;
        lcd->Matrix = &matrix;
        lcd->ApplySize();
        lcd->SetRectActive(u"TXT2"_s, txt2Active);
        const TRect txt1 = lcd->GetRect(u"TXT1"_s);
        const TRect txt2 = lcd->GetRect(u"TXT2"_s);
        const TRect txt3 = lcd->GetRect(u"TXT3"_s);
        lcd->FontInfo->SetFitRect(txt1);
        lcd->FontInfo->SetSampleChars(kDefaultSamples);
        for (int y = txt1.Top; y <= txt2.Bottom; ++y)
            for (int x = txt1.Left; x <= txt2.Right; ++x)
                matrix.setContentPixel(x, y, 0x00FFFFFF);

        FontSpec work = font(u"DejaVu Sans"_s, false, false, 90);
        lcd->DrawFloorText(text, work);

        const QImage &content = matrix.contentRaster();
        const TRect both(txt1.Left, txt1.Top, txt2.Right, txt2.Bottom);
        if (inkIn.isEmpty()) {
            QCOMPARE(inkBox(content, both).Width(), both.Width()); // untouched
            return;
        }
        const TRect target = lcd->GetRect(inkIn);
        const InkBox inTarget = inkBox(content, target);
        QVERIFY(!inTarget.Empty());
        QCOMPARE(work.Size, lcd->FontInfo->FontSize());
        // Everything outside the target region: cleared, or untouched when the
        // region was inactive.
        for (int y = both.Top; y <= both.Bottom; ++y) {
            for (int x = both.Left; x <= both.Right; ++x) {
                const bool inside = x >= target.Left && x <= target.Right && y >= target.Top
                    && y <= target.Bottom;
                if (inside)
                    continue;
                const bool lit = matrix.contentPixel(x, y) == 0x00FFFFFFu;
                const bool expectLit = !cleared && x >= txt2.Left;
                QVERIFY2(lit == expectLit, qPrintable(u"(%1,%2)"_s.arg(x).arg(y)));
            }
        }
        // Centred in the region (the layouts centre the floor text both ways).
        const InkBox box = inkBox(content, target);
        const int freeX = target.Width() - box.Width();
        const int freeY = target.Height() - box.Height();
        QCOMPARE(box.Left - target.Left, freeX / 2);
        QCOMPARE(box.Top - target.Top, freeY / 2);
        Q_UNUSED(txt3);
    }

    void drawChar_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ink");
        QTest::newRow("character") << u"A"_s << true;
        QTest::newRow("first character only") << u"A1"_s << true;
        QTest::newRow("space") << u" A"_s << false;
        QTest::newRow("empty") << QString() << false;
    }

    void drawChar()
    {
        QFETCH(QString, text);
        QFETCH(bool, ink);

        TDisplay layout(u"Display1"_s, 40, 50);
        const TRect cell(0, 0, 39, 49);
        layout.AddRect(u"Display1"_s, QString(), cell, true);
        LedMatrix matrix;
        layout.Matrix = &matrix;
        layout.ApplySize();
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 40; ++x)
                matrix.setContentPixel(x, y, 0x00FFFFFF);
        fit(*layout.FontInfo, cell, u"A1"_s, font(u"DejaVu Sans"_s));
        layout.FontInfo->SetHorzAlign(0);
        layout.FontInfo->SetVertAlign(0);

        FontSpec work = font(u"DejaVu Sans"_s, false, false, 90);
        layout.DrawChar(cell, text, work);
        const InkBox box = inkBox(matrix.contentRaster(), cell);
        QCOMPARE(!box.Empty(), ink);
        if (ink) {
            QCOMPARE(work.Size, layout.FontInfo->FontSize());
            QCOMPARE(box.Left, 0); // top-left alignment puts the ink in the corner
            QCOMPARE(box.Top, 0);
            const InkBox alone = glyphBox(work, work.Size, QChar(u'A'));
            QCOMPARE(box.Width(), alone.Width());
        }
    }
};

QTEST_MAIN(TestWinFontInfo)
#include "test_winfontinfo.moc"
