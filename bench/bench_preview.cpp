// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's preview paths on the LCD model with DejaVu Sans, through the project
// model and the preview composition, each beside the same path with the layouts'
// renderers in reference mode (literal one-pixel stepping with a redraw per step).
// Each case records wall-clock and process CPU milliseconds per iteration; on a
// busy machine the CPU figure is the steadier one.
#include "display/layouts.h"
#include "display/preview.h"
#include "display/userfont.h"
#include "display/winfontinfo.h"
#include "ledmatrix/ledmatrix.h"
#include "project/projectmodel.h"

#include "benchtimer.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

const QString kTexts[] = {QStringLiteral("EG"), QStringLiteral("12"), QStringLiteral("U3"),
                          QStringLiteral("K9")};


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
        model.WorkFont.Name = QStringLiteral("DejaVu Sans");
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

using benchtimer::Timer;
using benchtimer::printRatio;
using benchtimer::record;

// A keystroke in the sample text: PreviewOut with the font fitted before.
void Keystroke(benchmark::State &state, bool reference)
{
    Editor e(reference);
    e.keystroke(kTexts[0]);
    int i = 0;
    Timer t;
    for (auto _ : state) {
        t.start();
        e.keystroke(kTexts[++i % 4]);
        t.stop();
    }
    record(state, reference ? "keystroke/reference" : "keystroke/fast", t);
}

// A font change to another family: the full refit inside PreviewOut, then the
// drawing. "new" drops the glyph images before every change and goes through
// four families and styles, as for a family not used before; otherwise two
// families alternate with their glyph images at hand.
void FontChange(benchmark::State &state, bool reference, bool newFamily)
{
    Editor e(reference);
    struct Face
    {
        const char *family;
        bool bold;
        bool italic;
    };
    const Face usedBefore[] = {{"DejaVu Serif", false, false}, {"DejaVu Sans", false, false}};
    const Face fresh[] = {{"DejaVu Serif", false, false},
                          {"Liberation Sans", true, false},
                          {"DejaVu Sans Mono", false, true},
                          {"DejaVu Sans", true, true}};
    const Face *faces = newFamily ? fresh : usedBefore;
    const int count = newFamily ? 4 : 2;
    for (int k = 0; k < count; ++k) {
        e.model.WorkFont.Name = QString::fromLatin1(faces[k].family);
        e.keystroke(kTexts[0]);
    }
    int i = 0;
    Timer t;
    for (auto _ : state) {
        if (newFamily)
            TWinFontInfo::ClearGlyphCache();
        const Face &face = faces[i++ % count];
        t.start();
        e.model.WorkFont.Name = QString::fromLatin1(face.family);
        e.model.WorkFont.Bold = face.bold;
        e.model.WorkFont.Italic = face.italic;
        e.preview.PreviewOut();
        e.led2.Render();
        t.stop();
    }
    record(state, std::string(newFamily ? "newfont/" : "font/") + (reference ? "reference" : "fast"), t);
}

// The small-font page: its own fit on the small region and the sample lines.
void SmallFont(benchmark::State &state, bool reference)
{
    Editor e(reference);
    e.preview.PreviewKleinerFontOut();
    int i = 0;
    Timer t;
    for (auto _ : state) {
        e.model.SetSampleText(kTexts[++i % 4]);
        t.start();
        e.preview.PreviewKleinerFontOut();
        e.led4.Render();
        t.stop();
    }
    record(state, reference ? "small/reference" : "small/fast", t);
}

void BM_Keystroke_Fast(benchmark::State &s) { Keystroke(s, false); }
void BM_Keystroke_Reference(benchmark::State &s) { Keystroke(s, true); }
void BM_FontChangeUsedBefore_Fast(benchmark::State &s) { FontChange(s, false, false); }
void BM_FontChangeUsedBefore_Reference(benchmark::State &s) { FontChange(s, true, false); }
void BM_FontChangeNewFamily_Fast(benchmark::State &s) { FontChange(s, false, true); }
void BM_FontChangeNewFamily_Reference(benchmark::State &s) { FontChange(s, true, true); }
void BM_SmallFont_Fast(benchmark::State &s) { SmallFont(s, false); }
void BM_SmallFont_Reference(benchmark::State &s) { SmallFont(s, true); }

BENCHMARK(BM_Keystroke_Fast)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Keystroke_Reference)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(8);
BENCHMARK(BM_FontChangeUsedBefore_Fast)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FontChangeUsedBefore_Reference)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(8);
BENCHMARK(BM_FontChangeNewFamily_Fast)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(8);
BENCHMARK(BM_FontChangeNewFamily_Reference)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(8);
BENCHMARK(BM_SmallFont_Fast)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SmallFont_Reference)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(8);


} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchtimer::runAll(argc, argv);
    printRatio("keystroke (PreviewOut)", "keystroke/fast", "keystroke/reference");
    printRatio("font change, used before (refit + PreviewOut)", "font/fast", "font/reference");
    printRatio("font change, not used before (refit + PreviewOut)", "newfont/fast", "newfont/reference");
    printRatio("PreviewKleinerFontOut", "small/fast", "small/reference");
    return 0;
}
