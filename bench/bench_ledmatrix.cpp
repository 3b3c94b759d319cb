// SPDX-License-Identifier: GPL-3.0-or-later
// Rendering and painting of the LED matrix at the size of the largest display.
#include "ledmatrix/ledmatrix.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

FontSpec floorFont(int size)
{
    FontSpec f;
    f.Name = u"DejaVu Sans"_s;
    f.Size = size;
    f.Bold = true;
    f.Color = 0xFFFFFF;
    return f;
}

// A 256 x 128 preview as the floor-text page shows it: two large floor characters,
// a text line, an arrow area, and the regions of the active layout marked.
void fillPreview(LedMatrix &m, int ledSize)
{
    m.SetLEDCountX(256);
    m.SetLEDCountY(128);
    m.SetLEDSize(ledSize);
    m.SetLEDDistance(1);
    m.DrawFontText(TRect(40, 8, 124, 119), 0, 0, floorFont(70), u"1"_s);
    m.DrawFontText(TRect(125, 8, 209, 119), 0, 0, floorFont(70), u"2"_s);
    m.DrawFontText(TRect(0, 120, 255, 127), 0, -2, floorFont(6), u"Montag 12.03.2024  12:34"_s);
    QImage arrow(32, 48, QImage::Format_ARGB32);
    arrow.fill(0x00FFFFFFu);
    m.PutBitmap(arrow, TRect(4, 40, 35, 87), false);
    m.MarkRect(TRect(40, 8, 124, 119));
    m.MarkRect(TRect(125, 8, 209, 119));
    m.MarkRect(TRect(4, 40, 35, 87));
    m.MarkRect(TRect(0, 120, 255, 127));
}

// Full rebuild of the screen raster plus the image a paint shows.
void BM_FullRenderPaint(benchmark::State &state)
{
    LedMatrix m;
    fillPreview(m, int(state.range(0)));
    m.SetSoftenCount(int(state.range(1)));
    m.SetSoftenOut(state.range(1) > 0);
    for (auto _ : state) {
        m.Render(); // nothing pending: everything
        QImage shown = m.Paint();
        benchmark::DoNotOptimize(shown.constBits());
    }
    state.SetLabel("LEDSize " + std::to_string(state.range(0)) + ", soft "
                   + std::to_string(state.range(1)));
}
BENCHMARK(BM_FullRenderPaint)
    ->ArgsProduct({{4, 6}, {0, 3}})
    ->Unit(benchmark::kMillisecond);

// Render only (no paint), full versus the pending area of one floor character.
void BM_FullRender(benchmark::State &state)
{
    LedMatrix m;
    fillPreview(m, int(state.range(0)));
    for (auto _ : state) {
        m.Render();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FullRender)->Arg(4)->Arg(6)->Unit(benchmark::kMicrosecond);

void BM_PendingAreaRender(benchmark::State &state)
{
    LedMatrix m;
    fillPreview(m, int(state.range(0)));
    m.Render();
    for (auto _ : state) {
        m.touchArea(TRect(40, 8, 124, 119)); // 85 x 112 cells
        m.Render();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PendingAreaRender)->Arg(4)->Arg(6)->Unit(benchmark::kMicrosecond);

// A keystroke in the floor text: redraw one character region and render that area.
void BM_KeystrokeTextRender(benchmark::State &state)
{
    LedMatrix m;
    fillPreview(m, int(state.range(0)));
    m.Render();
    const FontSpec font = floorFont(70);
    int i = 0;
    for (auto _ : state) {
        m.DrawFontText(TRect(40, 8, 124, 119), 0, 0, font, QString(QChar(u'0' + (i++ % 10))));
        m.Render();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_KeystrokeTextRender)->Arg(6)->Unit(benchmark::kMicrosecond);

// One softening pass on the full control image (static operation).
void BM_Convolve3x3(benchmark::State &state)
{
    LedMatrix m;
    fillPreview(m, 6);
    m.Render();
    QImage img = m.screenRaster().copy();
    for (auto _ : state) {
        LedMatrix::Convolve3x3(img);
        benchmark::DoNotOptimize(img.constBits());
    }
}
BENCHMARK(BM_Convolve3x3)->Unit(benchmark::kMillisecond);

// Reference point for the figures above: one plain copy of the full control image.
void BM_CopyScreenBaseline(benchmark::State &state)
{
    LedMatrix m;
    fillPreview(m, 6);
    m.Render();
    for (auto _ : state) {
        QImage copy = m.screenRaster().copy();
        benchmark::DoNotOptimize(copy.constBits());
    }
}
BENCHMARK(BM_CopyScreenBaseline)->Unit(benchmark::kMillisecond);

// A keystroke with softening on: area render plus the softened image, which is
// recomputed only around the changed pixels.
void BM_KeystrokeSoftPaint(benchmark::State &state)
{
    LedMatrix m;
    fillPreview(m, 6);
    m.SetSoftenOut(true);
    m.SetSoftenCount(3);
    m.Render();
    (void)m.Paint();
    const FontSpec font = floorFont(70);
    int i = 0;
    for (auto _ : state) {
        m.DrawFontText(TRect(40, 8, 124, 119), 0, 0, font, QString(QChar(u'0' + (i++ % 10))));
        m.Render();
        QImage shown = m.Paint();
        benchmark::DoNotOptimize(shown.constBits());
    }
}
BENCHMARK(BM_KeystrokeSoftPaint)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // fonts for the text regions
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
