// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the new-project templates "newproject.dat" (mounted normally) and
// "newvproject.dat" (mounted upright) from the editor's start-up state.
//
// Usage: orv_projecttemplates <folder with terminal1.fnt, terminal2.fnt> <output folder>
//
// The files must come out the same on every machine, so nothing is taken from the
// system's locale: the floor font is "DejaVu Sans", the month names are fixed, and the
// floor labels are left empty (a new project then shows each floor's default label).
#include "display/display.h"
#include "display/displayrect.h"
#include "display/userfont.h"
#include "project/projectfile.h"
#include "project/projectmapping.h"
#include "project/projectmodel.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QTextStream>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

constexpr DisplayModel kModels[] = {DisplayModel::Vfd128, DisplayModel::Lcd240, DisplayModel::Vfd256};

QImage blankBitmap(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(0u);
    return image;
}

/// A plain arrow filling a w x h bitmap: a triangle over the upper half and a shaft
/// of a third of the width below it; \a down mirrors it.
QImage arrowBitmap(int w, int h, bool down)
{
    QImage image = blankBitmap(w, h);
    const int head = qMax(1, h / 2);
    const int shaftHalf = qMax(1, w / 6);
    const int cx = (w - 1) / 2;
    const int lean = (w - 1) % 2; // the right half of an even width is one pixel wider
    for (int y = 0; y < h; ++y) {
        int from = 0;
        int to = -1;
        if (y < head) {
            const int half = (y * (w / 2)) / head;
            from = cx - half;
            to = cx + lean + half;
        } else {
            from = cx - shaftHalf + 1;
            to = cx + lean + shaftHalf - 1;
        }
        const int row = down ? h - 1 - y : y;
        auto *line = reinterpret_cast<quint32 *>(image.scanLine(row));
        for (int x = qMax(0, from); x <= qMin(w - 1, to); ++x)
            line[x] = 0x00FFFFFFu;
    }
    return image;
}

QSize regionSize(const TDisplay *layout, const QString &name)
{
    const TDisplayRect *r = layout ? layout->FindRect(name) : nullptr;
    if (!r)
        return QSize();
    return QSize(r->Rect.Right - r->Rect.Left + 1, r->Rect.Bottom - r->Rect.Top + 1);
}

void drawArrows(ProjectModel &model)
{
    for (DisplayModel dm : kModels) {
        const QSize big = regionSize(model.Layouts().Main(dm), u"PFEIL"_s);
        const QSize small = regionSize(model.Layouts().Klein(dm), u"PFEIL"_s);
        // Slot 0 is the down arrow, slot 1 the up arrow.
        for (int slot = 0; slot < 2; ++slot) {
            if (big.isValid())
                model.SetArrow(dm, slot, arrowBitmap(big.width(), big.height(), slot == 0));
            if (small.isValid())
                model.SetSmallArrow(dm, slot, arrowBitmap(small.width(), small.height(), slot == 0));
        }
    }
}

/// Main regions of the upright layouts (width x height 64 x 128, 128 x 256, 128 x 240):
/// the two floor characters side by side at the top, the arrow below them, logo and
/// floor bitmap side by side under the arrow, the clock line at the bottom. Nothing
/// touches column 0, so the regions stay inside the display when they are turned back
/// for the flash file.
struct UprightGeometry
{
    DisplayModel Model;
    TRect Txt1, Txt2, Pfeil, Stabmp, Etabmp, Uhr;
};

const UprightGeometry kUpright[] = {
    {DisplayModel::Vfd128, TRect(1, 0, 31, 59), TRect(32, 0, 62, 59), TRect(16, 62, 47, 93),
     TRect(1, 96, 31, 111), TRect(32, 96, 62, 111), TRect(1, 112, 62, 127)},
    {DisplayModel::Vfd256, TRect(1, 0, 63, 111), TRect(64, 0, 126, 111), TRect(32, 120, 95, 183),
     TRect(1, 190, 63, 239), TRect(64, 190, 126, 239), TRect(1, 240, 126, 255)},
    {DisplayModel::Lcd240, TRect(1, 0, 63, 111), TRect(64, 0, 126, 111), TRect(32, 116, 95, 179),
     TRect(1, 184, 63, 223), TRect(64, 184, 126, 223), TRect(1, 224, 126, 239)},
};

void placeUprightRegions(ProjectModel &model)
{
    for (const UprightGeometry &g : kUpright) {
        TDisplay *d = model.Layouts().Main(g.Model);
        const auto load = [d](const QString &name, const TRect &r) {
            const TDisplayRect *region = d->FindRect(name);
            d->LoadRect(name, r, region ? region->Active : false);
        };
        load(u"TXT1"_s, g.Txt1);
        load(u"TXT2"_s, g.Txt2);
        load(u"PFEIL"_s, g.Pfeil);
        load(u"STABMP"_s, g.Stabmp);
        load(u"ETABMP"_s, g.Etabmp);
        load(u"UHR"_s, g.Uhr);
        d->DeriveSingleDigitRect();
    }
}

bool writeTemplate(const TUserFont &font1, const TUserFont &font2, bool upright, const QString &path,
                   QTextStream &err)
{
    ProjectModel model(&font1, &font2);
    model.SetFloorFontName(u"DejaVu Sans"_s);
    model.MonthNames = QStringList{u"Jan"_s, u"Feb"_s, u"Mrz"_s, u"Apr"_s, u"Mai"_s, u"Jun"_s,
                                   u"Jul"_s, u"Aug"_s, u"Sep"_s, u"Okt"_s, u"Nov"_s, u"Dez"_s};
    if (upright) {
        model.SetVerticalMounting(true);
        placeUprightRegions(model);
    }
    drawArrows(model);

    QStringList warnings;
    ProjectRecord record = ProjectMapping::FillRecord(model, &warnings);
    for (const QString &w : warnings)
        err << path << ": " << w << Qt::endl;
    // No labels: every floor of a new project shows its default label.
    for (QByteArray &label : record.FloorTexts[0])
        label = QByteArray();

    QString error;
    if (!ProjectFile::write(path, record, FontSection(), &error)) {
        err << path << ": " << error << Qt::endl;
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        err << "usage: orv_projecttemplates <bitmap font folder> <output folder>" << Qt::endl;
        return 2;
    }
    const QDir fonts(args.at(1));
    const QDir out(args.at(2));
    TUserFont font1;
    TUserFont font2;
    QString error;
    if (!font1.LoadFromFile(fonts.filePath(u"terminal1.fnt"_s), &error)
        || !font2.LoadFromFile(fonts.filePath(u"terminal2.fnt"_s), &error)) {
        err << error << Qt::endl;
        return 1;
    }
    if (!out.exists() && !QDir().mkpath(out.path())) {
        err << "cannot create " << out.path() << Qt::endl;
        return 1;
    }
    const bool ok = writeTemplate(font1, font2, false, out.filePath(u"newproject.dat"_s), err)
        && writeTemplate(font1, font2, true, out.filePath(u"newvproject.dat"_s), err);
    return ok ? 0 : 1;
}
