// SPDX-License-Identifier: GPL-3.0-or-later
// The flash file generator on damaged project records. The input patches a valid
// record: each 4-byte group is an offset (three bytes) and a byte value; the first two bytes choose the flash sizes. The generator must
// neither crash nor write outside its buffers, and a failed run must leave no file.
#include "lfs/lfsgenerator.h"
#include "lfs/lfsglyphsource.h"
#include "project/projectrecord.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

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
    QImage Render(Font font, uchar code) override
    {
        QImage img = font == Font::Large ? m_large : m_small;
        // Now and then a cell of the wrong size, as a renderer might return.
        if (code % 7 == 0 && !img.isNull())
            img = img.copy(0, 0, img.width() + 3, img.height());
        return img;
    }

private:
    QImage m_large, m_small;
};

QByteArray baseRecord()
{
    ProjectRecord p;
    p.FormatMark = 1;
    p.FloorCount = 8;
    p.CharsetChoice = 1;
    p.ShowArrows = p.ShowLogo = p.ShowFloorBitmaps = p.ShowTextLines = true;
    p.FirstTextLine = 1;
    p.LastTextLine = 3;
    for (int m = 0; m < 3; ++m) {
        auto &r = p.mainRegions(m);
        r[0].Rect = TRect(0, 0, 20, 31);
        r[1].Rect = TRect(24, 0, 44, 31);
        r[2].Rect = TRect(100, 0, 115, 15);
        r[3].Rect = TRect(100, 40, 127, 63);
        r[4].Rect = TRect(50, 0, 90, 30);
        auto &s = p.smallRegions(m);
        s[0].Rect = TRect(0, 0, 7, 9);
        s[1].Rect = TRect(8, 0, 15, 9);
        s[2].Rect = TRect(20, 0, 27, 7);
    }
    return p.toBytes();
}

void writeTemplates(const QTemporaryDir &dir)
{
    const struct
    {
        const char *name;
        int length;
    } templates[] = {{"flash1.dat", 8192}, {"flash2.dat", 4096}, {"flash2V.dat", 4000},
                     {"stat_vfd1.dat", 2048}, {"stat_vfd2.dat", 2049}, {"stat_lcd1.dat", 640},
                     {"stat_lcd2.dat", 700}};
    for (const auto &t : templates) {
        QFile f(dir.filePath(QString::fromLatin1(t.name)));
        if (f.open(QIODevice::WriteOnly))
            f.write(QByteArray(t.length, char(0xA5)));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static int argc = 1;
    static char arg0[] = "fuzz_lfs_generator";
    static char *argv[] = {arg0, nullptr};
    static QCoreApplication app(argc, argv);
    static const QByteArray base = baseRecord();
    static QTemporaryDir dir;
    static const bool templatesWritten = (writeTemplates(dir), true);
    (void)templatesWritten;

    QByteArray bytes = base;
    size_t i = 2;
    for (; i + 4 <= size; i += 4) {
        // With the top bit of the third byte set, the patch lands among the
        // options, regions and text-line settings at the start of the record.
        const uint32_t raw = uint32_t(data[i]) | uint32_t(data[i + 1]) << 8 | uint32_t(data[i + 2] & 0x7F) << 16;
        const uint32_t offset = (data[i + 2] & 0x80) ? raw % 640u : raw % uint32_t(ProjectRecord::kSize);
        bytes[int(offset)] = char(data[i + 3]);
    }

    LfsGenerator gen;
    FilledCells glyphs;
    gen.SetGlyphSource(&glyphs);
    gen.ProjectCopy = ProjectRecord::fromBytes(bytes);
    gen.ProgramFolder = dir.path();
    gen.OutputFileName = dir.filePath(QStringLiteral("fuzz.lfs"));
    if (size >= 2) {
        gen.FlashSizeData = 118784 - int(data[0]) * 512;
        gen.FlashSize = gen.FlashSizeData + int(data[1]) * 64;
    }
    QFile::remove(gen.OutputFileName);
    const LfsGenerator::Outcome out = gen.Run();
    if (!out.Success && QFileInfo::exists(gen.OutputFileName))
        std::abort();
    return 0;
}
