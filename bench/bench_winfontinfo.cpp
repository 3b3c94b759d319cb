// SPDX-License-Identifier: GPL-3.0-or-later
// Auto-sized floor text on the LCD layout (DejaVu Sans, "TXT1" 85 x 112, the
// default sample set): the fast alignment (read from the glyph images) beside
// the literal one-pixel stepping with a redraw and a raster scan per step.
// Each case records wall-clock and process CPU milliseconds per iteration; on
// a busy machine the CPU figure is the steadier one.
#include "display/display.h"
#include "display/layouts.h"
#include "display/winfontinfo.h"
#include "ledmatrix/ledmatrix.h"
#include "util/win1252.h"

#include "benchtimer.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

const QString kSamples = QStringLiteral("EGUTDBAKP0123456789");
const QString kTexts[] = {QStringLiteral("EG"), QStringLiteral("12"), QStringLiteral("U3"),
                          QStringLiteral("K9")};

std::map<std::string, std::pair<double, double>> g_faceMs; // wall, CPU

struct Preview
{
    DisplayLayouts layouts{nullptr, nullptr};
    TDisplay *lcd = layouts.Main(DisplayModel::Lcd240);
    LedMatrix matrix;
    FontSpec work;

    explicit Preview(bool reference)
    {
        lcd->Matrix = &matrix;
        lcd->ApplySize();
        lcd->FontInfo->SetReferenceMode(reference);
        work.Name = QStringLiteral("DejaVu Sans");
        work.Size = 90;
        work.Color = 0xFFFFFF;
    }

    // What the floor preview does for one keystroke with auto-size on.
    void run(const QString &text)
    {
        TWinFontInfo &info = *lcd->FontInfo;
        lcd->Clear();
        const QString names[] = {QStringLiteral("TXT1"), QStringLiteral("TXT2"),
                                 QStringLiteral("TXT3")};
        for (const QString &n : names)
            lcd->RestoreRect(n);
        info.SetFitRect(lcd->GetRect(names[0]));
        info.SetSampleChars(kSamples);
        info.SetFont(work);
        for (const QString &n : names) {
            const TRect r = lcd->GetRect(n);
            lcd->SetRectRight(n, r.Left + info.GetExtent().Right);
            lcd->SetRectBottom(n, r.Top + info.GetExtent().Bottom);
        }
        info.SetFitRect(lcd->GetRect(names[0]));
        lcd->DrawFloorText(text, work);
        matrix.Render();
    }
};

using benchtimer::Timer;
using benchtimer::printRatio;
using benchtimer::record;

// (a) A keystroke in the sample text, the font fitted before.
void Keystroke(benchmark::State &state, bool reference)
{
    Preview p(reference);
    p.run(kTexts[0]);
    int i = 0;
    Timer t;
    for (auto _ : state) {
        t.start();
        p.run(kTexts[++i % 4]);
        t.stop();
    }
    record(state, reference ? "keystroke/reference" : "keystroke/fast", t);
}

// (b) A font change to a family used before in this run: full refit, then the
// preview, with the glyph images of both families at hand.
void FontChangeUsedBefore(benchmark::State &state, bool reference)
{
    Preview p(reference);
    const QString families[] = {QStringLiteral("DejaVu Serif"), QStringLiteral("DejaVu Sans")};
    for (const QString &family : families) {
        p.work.Name = family;
        p.run(kTexts[0]);
    }
    int i = 0;
    Timer t;
    for (auto _ : state) {
        t.start();
        p.work.Name = families[i % 2];
        p.run(kTexts[++i % 4]);
        t.stop();
    }
    record(state, reference ? "font/reference" : "font/fast", t);
}

// (c) A font change to a family not used before: four families and styles in
// turn, the glyph images (and the fonts at their pixel sizes) dropped before
// every change, so each one renders every glyph it looks at.
void FontChangeNewFamily(benchmark::State &state, bool reference)
{
    Preview p(reference);
    struct Face
    {
        const char *family;
        bool bold;
        bool italic;
    };
    const Face faces[] = {{"DejaVu Serif", false, false},
                          {"Liberation Sans", true, false},
                          {"DejaVu Sans Mono", false, true},
                          {"DejaVu Sans", true, true}};
    p.run(kTexts[0]);
    int i = 0;
    Timer t;
    Timer perFace[4];
    for (auto _ : state) {
        TWinFontInfo::ClearGlyphCache();
        const int k = i % 4;
        const Face &face = faces[k];
        t.start();
        perFace[k].start();
        p.work.Name = QString::fromLatin1(face.family);
        p.work.Bold = face.bold;
        p.work.Italic = face.italic;
        p.run(kTexts[++i % 4]);
        perFace[k].stop();
        t.stop();
    }
    const std::string prefix = reference ? "newfont/reference" : "newfont/fast";
    record(state, prefix, t);
    // Each face was changed to in every fourth iteration.
    for (int k = 0; k < 4; ++k) {
        const double n = double((state.iterations() + 3 - k) / 4);
        if (n > 0)
            g_faceMs[prefix + " " + faces[k].family + (faces[k].bold ? " bold" : "")
                     + (faces[k].italic ? " italic" : "")] = {perFace[k].wall / n, perFace[k].cpu / n};
    }
}

// (d) The offsets of every character 0x20..0xFF in a fitted font, as the
// flash-file generator asks for them; glyph images dropped first.
void CharacterSet(benchmark::State &state, bool reference)
{
    Preview p(reference);
    p.run(kTexts[0]);
    TWinFontInfo &info = *p.lcd->FontInfo;
    Timer t;
    for (auto _ : state) {
        TWinFontInfo::ClearGlyphCache();
        info.SetHorzAlign(1); // clears the offsets
        t.start();
        int sum = 0;
        for (int code = 0x20; code <= 0xFF; ++code) {
            const QChar ch = Win1252::toUnicode(uchar(code));
            sum += info.CharXOffset(ch) + info.CharYOffset(ch);
        }
        benchmark::DoNotOptimize(sum);
        t.stop();
    }
    record(state, reference ? "charset/reference" : "charset/fast", t);
}

void BM_CharacterSet_FastCold(benchmark::State &s) { CharacterSet(s, false); }
void BM_CharacterSet_Reference(benchmark::State &s) { CharacterSet(s, true); }
void BM_Keystroke_Fast(benchmark::State &s) { Keystroke(s, false); }
void BM_Keystroke_Reference(benchmark::State &s) { Keystroke(s, true); }
void BM_FontChangeUsedBefore_Fast(benchmark::State &s) { FontChangeUsedBefore(s, false); }
void BM_FontChangeUsedBefore_Reference(benchmark::State &s) { FontChangeUsedBefore(s, true); }
void BM_FontChangeNewFamily_Fast(benchmark::State &s) { FontChangeNewFamily(s, false); }
void BM_FontChangeNewFamily_Reference(benchmark::State &s) { FontChangeNewFamily(s, true); }

BENCHMARK(BM_Keystroke_Fast)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Keystroke_Reference)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(8);
BENCHMARK(BM_FontChangeUsedBefore_Fast)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FontChangeUsedBefore_Reference)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(8);
BENCHMARK(BM_FontChangeNewFamily_Fast)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(8);
BENCHMARK(BM_FontChangeNewFamily_Reference)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(8);
BENCHMARK(BM_CharacterSet_FastCold)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(4);
BENCHMARK(BM_CharacterSet_Reference)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(4);


} // namespace
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchtimer::runAll(argc, argv);
    printRatio("keystroke (preview)", "keystroke/fast", "keystroke/reference");
    printRatio("font change, family used before", "font/fast", "font/reference");
    printRatio("font change, family not used before", "newfont/fast", "newfont/reference");
    printRatio("character set offsets (images dropped)", "charset/fast", "charset/reference");
    for (const auto &[name, ms] : g_faceMs)
        std::printf("  %-52s wall %8.2f ms, cpu %8.2f ms\n", name.c_str(), ms.first, ms.second);
    return 0;
}
