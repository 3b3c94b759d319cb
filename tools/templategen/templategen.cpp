// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the stand-in flash templates into a folder: files of the lengths the
// generator expects, holding a short note and erased-flash bytes (0xFF). They let
// the editor build complete flash files; a real display needs its maker's files.
#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct Template
{
    const char *name;
    long length;
};

// flash1 + flash2 = flash1 + flash2V = 12288 (default FLASHSIZE - FLASHSIZE_DATA);
// stat_vfd1 + stat_vfd2 = 4097, stat_lcd1 + stat_lcd2 = 1281.
constexpr Template kTemplates[] = {
    {"flash1.dat", 8192},    {"flash2.dat", 4096},    {"flash2V.dat", 4096}, {"stat_vfd1.dat", 2048},
    {"stat_vfd2.dat", 2049}, {"stat_lcd1.dat", 640}, {"stat_lcd2.dat", 641},
};

bool writeTemplate(const std::string &folder, const Template &t)
{
    const std::string path = folder + "/" + t.name;
    const std::string tmp = path + ".tmp";
    std::FILE *f = std::fopen(tmp.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "templategen: cannot create %s\n", tmp.c_str());
        return false;
    }
    std::string note = std::string("ORV-Editor stand-in template ") + t.name
        + ": no display program; replace with the display maker's file.\n";
    if (long(note.size()) > t.length)
        note.resize(size_t(t.length));
    std::string bytes = note;
    bytes.resize(size_t(t.length), '\xFF');
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const bool closed = std::fclose(f) == 0;
    if (!ok || !closed || std::rename(tmp.c_str(), path.c_str()) != 0) {
        std::fprintf(stderr, "templategen: cannot write %s\n", path.c_str());
        std::remove(tmp.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    for (const Template &t : kTemplates)
        if (!writeTemplate(argv[1], t))
            return 1;
    return 0;
}
