// SPDX-License-Identifier: GPL-3.0-or-later
// Auto-sized floor text on the LCD layout (DejaVu Sans, "TXT1" 85 x 112, the
// default sample set): the fast alignment beside the literal one-pixel stepping.
#include "display/display.h"
#include "display/layouts.h"
#include "display/winfontinfo.h"
#include "ledmatrix/ledmatrix.h"
#include "util/win1252.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <string>

namespace {

const QString kSamples = QStringLiteral("EGUTDBAKP0123456789");
const QString kTexts[] = {QStringLiteral("EG"), QStringLiteral("12"), QStringLiteral("U3"),
                          QStringLiteral("K9")};

std::map<std::string, double> g_msPerIteration;

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

void record(benchmark::State &state, const std::string &name, double totalMs)
{
    const double ms = totalMs / double(state.iterations());
    g_msPerIteration[name] = ms;
    state.counters["ms"] = ms;
}

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// (a) A keystroke in the sample text, the font fitted before.
void Keystroke(benchmark::State &state, bool reference)
{
    Preview p(reference);
    p.run(kTexts[0]);
    int i = 0;
    double total = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        p.run(kTexts[++i % 4]);
        total += msSince(t0);
    }
    record(state, reference ? "keystroke/reference" : "keystroke/fast", total);
}

// (b) A font change: another family (full refit), then the preview. "cold"
// drops the glyph and alignment caches first, as for a family not used before.
void FontChange(benchmark::State &state, bool reference, bool cold)
{
    Preview p(reference);
    const QString families[] = {QStringLiteral("DejaVu Serif"), QStringLiteral("DejaVu Sans")};
    // Both families once, so that the first timed change finds the caches in
    // the state they keep between changes.
    for (const QString &family : families) {
        p.work.Name = family;
        p.run(kTexts[0]);
    }
    int i = 0;
    double total = 0;
    for (auto _ : state) {
        if (cold)
            TWinFontInfo::ClearGlyphCache();
        const auto t0 = Clock::now();
        p.work.Name = families[i % 2];
        p.run(kTexts[++i % 4]);
        total += msSince(t0);
    }
    record(state, reference ? "font/reference" : cold ? "font/fast-cold" : "font/fast-warm", total);
}

// (c) The offsets of every character 0x20..0xFF in a fitted font, as the
// flash-file generator asks for them; glyph and alignment caches dropped first.
void CharacterSet(benchmark::State &state, bool reference)
{
    Preview p(reference);
    p.run(kTexts[0]);
    TWinFontInfo &info = *p.lcd->FontInfo;
    double total = 0;
    for (auto _ : state) {
        TWinFontInfo::ClearGlyphCache();
        info.SetHorzAlign(1); // clears the offsets
        const auto t0 = Clock::now();
        int sum = 0;
        for (int code = 0x20; code <= 0xFF; ++code) {
            const QChar ch = Win1252::toUnicode(uchar(code));
            sum += info.CharXOffset(ch) + info.CharYOffset(ch);
        }
        benchmark::DoNotOptimize(sum);
        total += msSince(t0);
    }
    record(state, reference ? "charset/reference" : "charset/fast", total);
}

void BM_CharacterSet_FastCold(benchmark::State &s) { CharacterSet(s, false); }
void BM_CharacterSet_Reference(benchmark::State &s) { CharacterSet(s, true); }
void BM_Keystroke_Fast(benchmark::State &s) { Keystroke(s, false); }
void BM_Keystroke_Reference(benchmark::State &s) { Keystroke(s, true); }
void BM_FontChange_FastWarm(benchmark::State &s) { FontChange(s, false, false); }
void BM_FontChange_FastCold(benchmark::State &s) { FontChange(s, false, true); }
void BM_FontChange_Reference(benchmark::State &s) { FontChange(s, true, false); }

BENCHMARK(BM_Keystroke_Fast)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Keystroke_Reference)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(4);
BENCHMARK(BM_FontChange_FastWarm)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FontChange_FastCold)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(4);
BENCHMARK(BM_FontChange_Reference)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_CharacterSet_FastCold)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_CharacterSet_Reference)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

void printRatio(const char *what, const std::string &fast, const std::string &reference)
{
    const auto f = g_msPerIteration.find(fast);
    const auto r = g_msPerIteration.find(reference);
    if (f == g_msPerIteration.end() || r == g_msPerIteration.end() || f->second <= 0)
        return;
    std::printf("%-34s %9.2f ms vs %9.2f ms literal: %7.1fx faster\n", what, f->second, r->second,
                r->second / f->second);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printRatio("keystroke (preview, warm)", "keystroke/fast", "keystroke/reference");
    printRatio("font change (refit + preview, warm)", "font/fast-warm", "font/reference");
    printRatio("font change (refit + preview, cold)", "font/fast-cold", "font/reference");
    printRatio("character set offsets (cold)", "charset/fast", "charset/reference");
    return 0;
}
