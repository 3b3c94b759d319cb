// SPDX-License-Identifier: GPL-3.0-or-later
// What one user input costs until the matrix image is ready to be shown, on the LCD
// model with DejaVu Sans at the LED sizes the editor uses (1 in a normal window, 2
// maximised): a keystroke in the sample text, a keystroke in the special-state grid,
// and one mouse step of a region drag. Each is printed as a share of one 60 Hz frame.
#include "display/display.h"
#include "display/layouts.h"
#include "display/preview.h"
#include "display/userfont.h"
#include "ledmatrix/ledmatrix.h"
#include "project/projectmodel.h"

#include "benchtimer.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

constexpr double kFrameMs = 1000.0 / 60.0;

struct Editor
{
    TUserFont font1{QStringLiteral(ORV_BIN_DIR "/terminal1.fnt")};
    TUserFont font2{QStringLiteral(ORV_BIN_DIR "/terminal2.fnt")};
    ProjectModel model{&font1, &font2};
    LedMatrix led2;
    LedMatrix led3;
    LedMatrix led4;
    Preview preview{model};

    explicit Editor(int ledSize)
    {
        model.WorkFont.Name = QStringLiteral("DejaVu Sans");
        preview.SetMatrices(&led2, &led3, &led4);
        for (LedMatrix *m : {&led2, &led3, &led4}) {
            m->SetLEDSize(ledSize);
            m->SetLEDDistance(1);
        }
        preview.AttachMatrices();
        model.SetProjectOpen(true);
        model.SetShowDateTime(false); // the clock line changes with the time of day
        preview.PreviewOut();
        preview.PreviewSonderzeichenOut(1, true);
        frame(led2);
        frame(led3);
    }

    /// The matrix brings its screen up to date and hands out the image to show.
    static void frame(LedMatrix &m)
    {
        m.Render();
        benchmark::DoNotOptimize(m.Paint());
    }
};

using benchtimer::record;
using benchtimer::Timer;

void BM_SampleTextKeystroke(benchmark::State &state)
{
    Editor e(int(state.range(0)));
    const QString texts[] = {QStringLiteral("EG"), QStringLiteral("E"), QStringLiteral("12"), QStringLiteral("1")};
    int i = 0;
    Timer t;
    for (auto _ : state) {
        t.start();
        e.model.SetSampleText(texts[++i % 4]);
        e.preview.PreviewOut();
        Editor::frame(e.led2);
        t.stop();
    }
    record(state, "sample text, LED size " + std::to_string(state.range(0)), t);
}

void BM_SpecialStateKeystroke(benchmark::State &state)
{
    Editor e(int(state.range(0)));
    const QString texts[] = {QStringLiteral("Brand"), QStringLiteral("Brandf"), QStringLiteral("Brandfa"),
                             QStringLiteral("Brandfal")};
    int i = 0;
    Timer t;
    for (auto _ : state) {
        t.start();
        e.model.SetSpecialText(4, texts[++i % 4]);
        e.preview.PreviewSonderzeichenOut(4, true);
        Editor::frame(e.led3);
        t.stop();
    }
    record(state, "special-state text, LED size " + std::to_string(state.range(0)), t);
}

// One mouse step while the bottom-right corner of "TXT1" is dragged: the region
// changes, its frames are shown again and the matrix image is brought up to date.
void BM_RegionDragStep(benchmark::State &state)
{
    Editor e(int(state.range(0)));
    TDisplay *d = e.model.MainDisplay();
    d->ShowRects();
    const TRect r = d->GetRect(QStringLiteral("TXT1"));
    const int pitch = e.led2.LEDSize() + e.led2.LEDDistance();
    const int x0 = r.Right * pitch - 1;
    const int y0 = r.Bottom * pitch - 1;
    d->MouseDown(x0, y0);
    d->MouseMove(x0 - pitch, y0 - pitch);
    if (d->GetRect(QStringLiteral("TXT1")) == r) {
        state.SkipWithError("the drag did not take hold of the region's corner");
        return;
    }
    int i = 0;
    Timer t;
    for (auto _ : state) {
        const int step = (++i % 6) * pitch;
        t.start();
        d->MouseMove(x0 - step, y0 - step);
        Editor::frame(e.led2);
        t.stop();
    }
    record(state, "region drag step, LED size " + std::to_string(state.range(0)), t);
}

BENCHMARK(BM_SampleTextKeystroke)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SpecialStateKeystroke)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RegionDragStep)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchtimer::runAll(argc, argv);
    for (const auto &[name, ms] : benchtimer::g_msPerIteration)
        std::printf("%-36s %7.2f ms (cpu %6.2f ms) = %5.1f %% of a 60 Hz frame\n", name.c_str(), ms,
                    benchtimer::g_cpuMsPerIteration[name], 100.0 * ms / kFrameMs);
    return 0;
}
