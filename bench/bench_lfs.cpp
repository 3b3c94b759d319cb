// SPDX-License-Identifier: GPL-3.0-or-later
// Flash file generation: a whole run with the real glyph source against the same
// run with a glyph source that only fills cells (the share of glyph drawing), and
// the checksum and encoding steps on their own.
#include "display/winfontinfo.h"
#include "lfs/crc16.h"
#include "lfs/displayglyphsource.h"
#include "lfs/lfsgenerator.h"
#include "lfs/rasterencoding.h"
#include "project/bitmappacking.h"
#include "project/projectrecord.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>

namespace {

class FilledCells : public LfsGlyphSource
{
public:
    bool Prepare(const ProjectRecord &, QSize large, QSize small, QString *) override
    {
        m_large = QImage(large, QImage::Format_ARGB32);
        m_large.fill(0x00FFFFFFu);
        m_small = QImage(small, QImage::Format_ARGB32);
        m_small.fill(0x00FFFFFFu);
        return true;
    }
    QImage Render(Font font, uchar) override { return font == Font::Large ? m_large : m_small; }

private:
    QImage m_large, m_small;
};

BitmapRecord checkerboard(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, (x + y) % 2 ? 0x00FFFFFFu : 0u);
    return BitmapRecordFromImage(img);
}

/// The LCD 240 x 128 with the largest character set; \a full adds 64 floors with
/// a bitmap each, 8 text lines, arrows, a logo and ten special-state bitmaps.
ProjectRecord lcdProject(bool full)
{
    ProjectRecord p;
    p.DisplayModel = 1;
    p.FormatMark = 1;
    p.FloorCount = full ? 64 : 5;
    p.CharsetChoice = 2;
    p.FloorFontName = QByteArray("DejaVu Sans");
    p.FloorFontSize = 40;
    p.AutoSize = true;
    p.AlignCentre = true;
    p.AutoSizeChars = QByteArray("0123456789");
    auto &m = p.mainRegions(1);
    m[0].Rect = TRect(0, 0, 59, 79);
    m[1].Rect = TRect(64, 0, 123, 79);
    m[2].Rect = TRect(200, 0, 231, 31);
    m[3].Rect = TRect(130, 90, 239, 111);
    m[4].Rect = TRect(130, 0, 190, 50);
    m[5].Rect = TRect(0, 112, 239, 127);
    auto &s = p.smallRegions(1);
    s[0].Rect = TRect(0, 0, 11, 15);
    s[1].Rect = TRect(13, 0, 24, 15);
    s[2].Rect = TRect(30, 0, 45, 15);
    if (full) {
        p.ShowArrows = p.ShowLogo = p.ShowFloorBitmaps = p.ShowTextLines = true;
        p.FirstTextLine = 1;
        p.LastTextLine = 8;
        for (int r = 0; r < 64; ++r) {
            p.floorBitmaps(1)[size_t(r)] = checkerboard(61, 51);
            for (int c = 1; c < 9; ++c)
                p.FloorTexts[size_t(c)][size_t(r)] = QByteArray("Zeile ") + QByteArray::number(c);
        }
        p.arrows(1)[0] = p.arrows(1)[1] = checkerboard(32, 32);
        p.smallArrows(1)[0] = p.smallArrows(1)[1] = checkerboard(16, 16);
        p.logo(1) = checkerboard(110, 22);
        for (auto &st : p.specialStates(1))
            st.Bitmap = checkerboard(100, 60);
    }
    return p;
}

void runGenerator(benchmark::State &state, bool realGlyphs, bool full, bool cold = false)
{
    QTemporaryDir dir;
    DisplayGlyphSource real;
    FilledCells filled;
    LfsGenerator gen;
    gen.SetGlyphSource(realGlyphs ? static_cast<LfsGlyphSource *>(&real) : &filled);
    gen.ProgramFolder = QStringLiteral(ORV_BIN_DIR);
    gen.OutputFileName = dir.filePath(QStringLiteral("bench.lfs"));
    gen.ProjectCopy = lcdProject(full);
    for (auto _ : state) {
        if (cold)
            TWinFontInfo::ClearGlyphCache();
        if (!gen.Run().Success) {
            state.SkipWithError("generation failed");
            break;
        }
    }
}

void BM_GenerateLcdLargestCharset(benchmark::State &state)
{
    runGenerator(state, true, false);
}

// The first generation after start: no glyph drawn yet.
void BM_GenerateLcdLargestCharsetCold(benchmark::State &state)
{
    runGenerator(state, true, false, true);
}

void BM_GenerateLcdLargestCharsetFilledCells(benchmark::State &state)
{
    runGenerator(state, false, false);
}

void BM_Generate64FloorsAllBitmaps8Lines(benchmark::State &state)
{
    runGenerator(state, true, true);
}

void BM_Generate64FloorsAllBitmaps8LinesFilledCells(benchmark::State &state)
{
    runGenerator(state, false, true);
}

void BM_Crc16Image(benchmark::State &state)
{
    QByteArray image(131094, '\0');
    for (int i = 0; i < image.size(); ++i)
        image[i] = char(i * 31);
    for (auto _ : state)
        benchmark::DoNotOptimize(Crc16::Arc(image));
    state.SetBytesProcessed(state.iterations() * image.size());
}

void BM_EncodeRaster256x128(benchmark::State &state)
{
    const QImage img = ImageFromBitmapRecord(checkerboard(256, 128));
    QByteArray out(PaddedSize(256, 128), '\0');
    for (auto _ : state)
        benchmark::DoNotOptimize(EncodeRaster(img, out.data(), out.size()));
}

} // namespace

BENCHMARK(BM_GenerateLcdLargestCharset)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GenerateLcdLargestCharsetCold)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GenerateLcdLargestCharsetFilledCells)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Generate64FloorsAllBitmaps8Lines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Generate64FloorsAllBitmaps8LinesFilledCells)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Crc16Image)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EncodeRaster256x128)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
