// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's preview paths on the LCD model with DejaVu Sans, through the project
// model and the preview composition, each beside the same path with the layouts'
// renderers in reference mode (literal one-pixel stepping with a redraw per step).
#include "display/layouts.h"
#include "display/preview.h"
#include "display/userfont.h"
#include "display/winfontinfo.h"
#include "ledmatrix/ledmatrix.h"
#include "project/projectmodel.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <string>

namespace {

const QString kTexts[] = {QStringLiteral("EG"), QStringLiteral("12"), QStringLiteral("U3"),
                          QStringLiteral("K9")};
const QString kFamilies[] = {QStringLiteral("DejaVu Serif"), QStringLiteral("DejaVu Sans")};

std::map<std::string, double> g_msPerIteration;

struct Editor
{
    TUserFont font1{QStringLiteral(ORV_BIN_DIR "/terminal1.fnt")};
    TUserFont font2{QStringLiteral(ORV_BIN_DIR "/terminal2.fnt")};
    ProjectModel model{&font1, &font2};
    LedMatrix led2;
    LedMatrix led3;
    LedMatrix led4;
    Preview preview{model};

    explicit Editor(bool reference)
    {
        for (int i = 0; i < DisplayLayouts::Count; ++i)
            model.Layouts().At(i)->FontInfo->SetReferenceMode(reference);
        model.WorkFont.Name = kFamilies[1];
        // Attached by hand and drawn explicitly below: the preview does not follow the
        // model's redraw requests here, so each step draws exactly once.
        auto attach = [](TDisplay *d, LedMatrix &m) {
            d->Matrix = &m;
            d->ApplySize();
        };
        attach(model.MainDisplay(), led2);
        attach(model.SonderDisplay(), led3);
        attach(model.KleinDisplay(), led4);
        model.SetProjectOpen(true);
        model.SetShowDateTime(false); // the clock line does not depend on the renderer
    }

    void keystroke(const QString &text)
    {
        model.SetSampleText(text);
        preview.PreviewOut();
        led2.Render();
    }
};

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

void record(benchmark::State &state, const std::string &name, double totalMs)
{
    const double ms = totalMs / double(state.iterations());
    g_msPerIteration[name] = ms;
    state.counters["ms"] = ms;
}

// A keystroke in the sample text: PreviewOut with the font fitted before.
void Keystroke(benchmark::State &state, bool reference)
{
    Editor e(reference);
    e.keystroke(kTexts[0]);
    int i = 0;
    double total = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        e.keystroke(kTexts[++i % 4]);
        total += msSince(t0);
    }
    record(state, reference ? "keystroke/reference" : "keystroke/fast", total);
}

// A font change to another family: the full refit inside PreviewOut, then the drawing.
// "cold" drops the process-wide glyph caches first, as for a family not used before.
void FontChange(benchmark::State &state, bool reference, bool cold)
{
    Editor e(reference);
    for (const QString &family : kFamilies) {
        e.model.WorkFont.Name = family;
        e.keystroke(kTexts[0]);
    }
    int i = 0;
    double total = 0;
    for (auto _ : state) {
        if (cold)
            TWinFontInfo::ClearGlyphCache();
        const auto t0 = Clock::now();
        e.model.WorkFont.Name = kFamilies[i++ % 2];
        e.preview.PreviewOut();
        e.led2.Render();
        total += msSince(t0);
    }
    record(state, reference ? "font/reference" : cold ? "font/fast-cold" : "font/fast-warm", total);
}

// The small-font page: its own fit on the small region and the sample lines.
void SmallFont(benchmark::State &state, bool reference)
{
    Editor e(reference);
    e.preview.PreviewKleinerFontOut();
    int i = 0;
    double total = 0;
    for (auto _ : state) {
        e.model.SetSampleText(kTexts[++i % 4]);
        const auto t0 = Clock::now();
        e.preview.PreviewKleinerFontOut();
        e.led4.Render();
        total += msSince(t0);
    }
    record(state, reference ? "small/reference" : "small/fast", total);
}

void BM_Keystroke_Fast(benchmark::State &s) { Keystroke(s, false); }
void BM_Keystroke_Reference(benchmark::State &s) { Keystroke(s, true); }
void BM_FontChange_FastWarm(benchmark::State &s) { FontChange(s, false, false); }
void BM_FontChange_FastCold(benchmark::State &s) { FontChange(s, false, true); }
void BM_FontChange_Reference(benchmark::State &s) { FontChange(s, true, false); }
void BM_SmallFont_Fast(benchmark::State &s) { SmallFont(s, false); }
void BM_SmallFont_Reference(benchmark::State &s) { SmallFont(s, true); }

BENCHMARK(BM_Keystroke_Fast)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Keystroke_Reference)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(4);
BENCHMARK(BM_FontChange_FastWarm)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FontChange_FastCold)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(4);
BENCHMARK(BM_FontChange_Reference)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_SmallFont_Fast)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SmallFont_Reference)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(4);

void printRatio(const char *what, const std::string &fast, const std::string &reference)
{
    const auto f = g_msPerIteration.find(fast);
    const auto r = g_msPerIteration.find(reference);
    if (f == g_msPerIteration.end() || r == g_msPerIteration.end() || f->second <= 0)
        return;
    std::printf("%-38s %9.2f ms vs %9.2f ms literal: %7.1fx faster\n", what, f->second, r->second,
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
    printRatio("keystroke (PreviewOut)", "keystroke/fast", "keystroke/reference");
    printRatio("font change (refit + PreviewOut, warm)", "font/fast-warm", "font/reference");
    printRatio("font change (refit + PreviewOut, cold)", "font/fast-cold", "font/reference");
    printRatio("PreviewKleinerFontOut", "small/fast", "small/reference");
    return 0;
}
