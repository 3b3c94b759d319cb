// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/projectmapping.h"

#include "display/displayrect.h"
#include "display/layouts.h"
#include "project/bitmappacking.h"
#include "project/projectmodel.h"
#include "util/win1252.h"

#include <QCoreApplication>

#include <cstring>

using namespace Qt::StringLiterals;

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ProjectMapping", text);
}

constexpr std::array<DisplayModel, 3> kModelOrder = {DisplayModel::Vfd128, DisplayModel::Lcd240,
                                                     DisplayModel::Vfd256};

QString text(const QByteArray &bytes)
{
    return Win1252::toUnicode(bytes);
}

QByteArray bytes(const QString &s, int maxChars)
{
    return Win1252::fromUnicode(s.left(maxChars));
}

/// Special-state texts are read without trailing spaces, control characters and zeros.
QString specialText(const QByteArray &stored)
{
    QByteArray t = stored;
    while (!t.isEmpty() && uchar(t.back()) <= 0x20)
        t.chop(1);
    return text(t);
}

QImage imageOf(const BitmapRecord &record)
{
    return ImageFromBitmapRecord(record);
}

/// A copy of \a src of exactly \a width x \a height, \a src at the top left; raw
/// pixel values are kept, uncovered pixels are 0.
QImage fitted(const QImage &src, int width, int height)
{
    QImage out(width, height, QImage::Format_ARGB32);
    out.fill(0);
    const QImage in = src.format() == QImage::Format_ARGB32 ? src : src.convertToFormat(QImage::Format_ARGB32);
    const int w = qMin(width, in.width());
    const int h = qMin(height, in.height());
    for (int y = 0; y < h; ++y)
        std::memcpy(out.scanLine(y), in.constScanLine(y), size_t(w) * 4);
    return out;
}

QString modelName(DisplayModel m)
{
    switch (m) {
    case DisplayModel::Vfd128:
        return u"VFD 128 x 64"_s;
    case DisplayModel::Lcd240:
        return u"LCD 240 x 128"_s;
    case DisplayModel::Vfd256:
        break;
    }
    return u"VFD 256 x 128"_s;
}

} // namespace

RegionRecord ProjectMapping::StoreRegion(const TDisplay *layout, const QString &name)
{
    RegionRecord rec;
    if (const TDisplayRect *r = layout ? layout->FindRect(name) : nullptr) {
        rec.Rect = r->Rect;
        rec.Active = r->Active;
    }
    return rec;
}

BitmapRecord ProjectMapping::StoreBitmapRecord(TDisplayRect *region, int slot, QStringList *warnings)
{
    BitmapRecord rec;
    const QImage *bmp = region ? region->SlotBitmap(slot) : nullptr;
    if (!bmp || bmp->isNull())
        return rec;
    const int w = region->Width();
    const int h = region->Height();
    const bool regionFits = w > 0 && h > 0 && qint64(w) * h <= BitmapRecord::kMaxPixels;
    if (regionFits && (bmp->width() != w || bmp->height() != h)) {
        region->SetSlotBitmap(slot, fitted(*bmp, w, h));
        bmp = region->SlotBitmap(slot);
    } else if (!regionFits && warnings) {
        warnings->append(tr("Bereich %1 (%2 x %3) ist für eine Bitmap zu groß; die Bitmap wird "
                            "ungekürzt gespeichert")
                             .arg(region->Name)
                             .arg(w)
                             .arg(h));
    }
    if (!bmp)
        return rec;
    int bw = bmp->width();
    int bh = bmp->height();
    if (qint64(bw) * bh > BitmapRecord::kMaxPixels) {
        // More than a record holds: keep whole rows from the top.
        bw = qMin(bw, BitmapRecord::kMaxPixels);
        bh = BitmapRecord::kMaxPixels / bw;
        if (warnings)
            warnings->append(tr("Bitmap %1 x %2 in %3 ist zu groß und wird auf %4 x %5 gekürzt")
                                 .arg(bmp->width())
                                 .arg(bmp->height())
                                 .arg(region->Name)
                                 .arg(bw)
                                 .arg(bh));
    }
    rec.Width = bw;
    rec.Height = bh;
    rec.PackedPixels = PackBitmap(*bmp, bw, bh);
    return rec;
}

ProjectRecord ProjectMapping::FillRecord(ProjectModel &model, QStringList *warnings)
{
    ProjectRecord rec;
    const DisplayLayouts &layouts = model.Layouts();

    rec.DisplayModel = quint8(model.Model());
    rec.FloorFontName = bytes(model.FloorFontName(), ProjectRecord::kFontNameChars);
    rec.FloorFontBold = model.FloorFontBold();
    rec.FloorFontItalic = model.FloorFontItalic();
    rec.FloorFontSize = model.FloorFontSize();
    rec.FloorTextOffsetX = model.FloorTextOffsetX();
    rec.FloorTextOffsetY = model.FloorTextOffsetY();
    rec.AutoSizeChars = bytes(model.AutoSizeChars, ProjectRecord::kAutoSizeChars);
    rec.CharsetChoice = model.CharsetChoice;

    for (int m = 0; m < ProjectRecord::kModels; ++m) {
        const DisplayModel dm = kModelOrder[size_t(m)];
        const auto &mainNames = ProjectModel::MainRegionNames();
        for (size_t i = 0; i < mainNames.size(); ++i)
            rec.mainRegions(m)[i] = StoreRegion(layouts.Main(dm), mainNames[i]);
        const auto &smallNames = ProjectModel::SmallRegionNames();
        for (size_t i = 0; i < smallNames.size(); ++i)
            rec.smallRegions(m)[i] = StoreRegion(layouts.Klein(dm), smallNames[i]);
    }

    rec.ShowWhileMoving = model.ShowWhileMoving();
    rec.VerticalMounting = model.VerticalMounting();
    rec.ShowDateTime = model.ShowDateTime();
    rec.ShowArrows = model.ShowArrows();
    rec.ShowLogo = model.ShowLogo();
    rec.ShowFloorBitmaps = model.ShowFloorBitmaps();
    rec.ShowTextLines = model.ShowTextLines();
    rec.FirstTextLine = model.FirstTextLine();
    rec.LastTextLine = model.LastTextLine();
    rec.SpecialBitmapsOnly = model.SpecialBitmapsOnly();
    rec.FloorCount = model.FloorCount();
    rec.FloorTextDigits = quint8(qBound(0, model.FloorTextDigits(), 2));

    for (int c = 1; c <= ProjectRecord::kFloorColumns; ++c)
        for (int r = 1; r <= ProjectRecord::kFloorRows; ++r)
            rec.FloorTexts[size_t(c - 1)][size_t(r - 1)] = bytes(model.FloorText(c, r), ProjectRecord::kShortTextChars);

    for (int i = 0; i < ProjectRecord::kMonths; ++i)
        rec.MonthNames[size_t(i)] = i < model.MonthNames.size()
            ? bytes(model.MonthNames.at(i), ProjectRecord::kShortTextChars)
            : QByteArray();

    for (int m = 0; m < ProjectRecord::kModels; ++m) {
        const DisplayModel dm = kModelOrder[size_t(m)];
        // Special states: the shared text, and the model's own bitmap as it is.
        for (int row = 1; row <= ProjectRecord::kSpecialStates; ++row) {
            SpecialStateRecord &st = rec.specialStates(m)[size_t(row - 1)];
            st.Text = bytes(model.SpecialText(row), ProjectRecord::kShortTextChars);
            TDisplayRect *sonder = layouts.Sonder(dm) ? layouts.Sonder(dm)->FindRect(u"SONDERZEICHEN"_s) : nullptr;
            const QImage *b = sonder ? sonder->SlotBitmap(row) : nullptr;
            if (b && !b->isNull()) {
                if (qint64(b->width()) * b->height() <= BitmapRecord::kMaxPixels) {
                    st.Bitmap = BitmapRecordFromImage(*b);
                } else {
                    // Never produced by the editor; stored cut rather than unreadable.
                    const int bw = qMin(b->width(), BitmapRecord::kMaxPixels);
                    st.Bitmap.Width = bw;
                    st.Bitmap.Height = BitmapRecord::kMaxPixels / bw;
                    st.Bitmap.PackedPixels = PackBitmap(*b, st.Bitmap.Width, st.Bitmap.Height);
                    if (warnings)
                        warnings->append(tr("Sonderzeichen-Bitmap %1 (%2) ist zu groß und wird gekürzt")
                                             .arg(row)
                                             .arg(modelName(dm)));
                }
            }
        }
        TDisplay *main = layouts.Main(dm);
        TDisplay *klein = layouts.Klein(dm);
        TDisplayRect *eta = main ? main->FindRect(u"ETABMP"_s) : nullptr;
        for (int slot = 1; slot <= ProjectRecord::kFloorRows; ++slot)
            rec.floorBitmaps(m)[size_t(slot - 1)] = StoreBitmapRecord(eta, slot, warnings);
        TDisplayRect *pfeil = main ? main->FindRect(u"PFEIL"_s) : nullptr;
        TDisplayRect *smallPfeil = klein ? klein->FindRect(u"PFEIL"_s) : nullptr;
        for (int slot = 0; slot < 2; ++slot) {
            rec.arrows(m)[size_t(slot)] = StoreBitmapRecord(pfeil, slot, warnings);
            rec.smallArrows(m)[size_t(slot)] = StoreBitmapRecord(smallPfeil, slot, warnings);
        }
        rec.logo(m) = StoreBitmapRecord(main ? main->FindRect(u"STABMP"_s) : nullptr, 0, warnings);
    }

    rec.AutoSize = model.AutoSize();
    rec.AlignTopLeft = model.AlignTopLeft();
    rec.AlignCentre = model.AlignCentre();
    rec.AlignBottomRight = model.AlignBottomRight();
    rec.InfraredReceiver = model.InfraredReceiver;
    rec.FormatMark = 1;
    return rec;
}

void ProjectMapping::ApplyRecord(ProjectModel &model, const ProjectRecord &record, const ProjectApplyOptions &options)
{
    const DisplayLayouts &layouts = model.Layouts();
    const int floorCount = options.Template ? options.TemplateFloorCount : record.FloorCount;

    model.SetProjectOpen(false);

    // Option setters: they set region Active flags, which the stored regions below override.
    model.SetShowDateTime(record.ShowDateTime);
    model.SetShowArrows(record.ShowArrows);
    model.SetShowLogo(record.ShowLogo);
    model.SetShowFloorBitmaps(record.ShowFloorBitmaps);
    model.SetShowWhileMoving(record.ShowWhileMoving);
    model.SetTextLines(record.FirstTextLine, record.LastTextLine);
    model.SetAutoSize(record.AutoSize);
    // Each set alignment flag selects its alignment; with several the last one wins,
    // with none the alignment stays.
    if (record.AlignTopLeft)
        model.SetAlignment(0);
    if (record.AlignCentre)
        model.SetAlignment(1);
    if (record.AlignBottomRight)
        model.SetAlignment(2);
    model.InfraredReceiver = record.InfraredReceiver;
    model.SetFloorTextDigits(record.FloorTextDigits);

    model.SetFloorCount(floorCount);
    model.SetSpecialBitmapsOnly(record.SpecialBitmapsOnly);

    for (int c = 1; c <= ProjectRecord::kFloorColumns; ++c)
        for (int r = 1; r <= ProjectRecord::kFloorRows; ++r)
            model.SetFloorText(c, r, text(record.FloorTexts[size_t(c - 1)][size_t(r - 1)]));
    model.SetSampleText(model.FloorLabel(model.CurrentFloorRow()));
    model.InitFloorTexts(false);
    // A file without labels (the templates have none) would leave the sample text
    // empty and the preview without floor characters: show the rebuilt label then.
    if (model.SampleText().trimmed().isEmpty())
        model.SetSampleText(model.FloorLabel(model.CurrentFloorRow()));

    // The stored regions, after the setters.
    for (int m = 0; m < ProjectRecord::kModels; ++m) {
        TDisplay *main = layouts.Main(kModelOrder[size_t(m)]);
        if (!main)
            continue;
        const auto &names = ProjectModel::MainRegionNames();
        for (size_t i = 0; i < names.size(); ++i) {
            const RegionRecord &r = record.mainRegions(m)[i];
            main->LoadRect(names[i], r.Rect, r.Active);
        }
        main->DeriveSingleDigitRect();
    }
    for (int m = 0; m < ProjectRecord::kModels; ++m) {
        TDisplay *klein = layouts.Klein(kModelOrder[size_t(m)]);
        if (!klein)
            continue;
        const auto &names = ProjectModel::SmallRegionNames();
        for (size_t i = 0; i < names.size(); ++i) {
            const RegionRecord &r = record.smallRegions(m)[i];
            klein->LoadRect(names[i], r.Rect, r.Active);
        }
        klein->DeriveSingleDigitRect();
    }

    const QString fontName = text(record.FloorFontName);
    if (options.SelectFont)
        options.SelectFont(fontName);
    else
        model.SetFloorFontName(fontName);
    model.SetFloorFontBold(record.FloorFontBold);
    model.SetFloorFontItalic(record.FloorFontItalic);

    model.SetFloorFontSize(record.FloorFontSize);
    model.SetFloorTextOffsetX(record.FloorTextOffsetX);
    model.SetFloorTextOffsetY(record.FloorTextOffsetY);
    model.AutoSizeChars = text(record.AutoSizeChars);
    model.CharsetChoice = qBound(0, int(record.CharsetChoice), 2);

    // Special states: the texts are shared, so every model writes the same cell.
    const int specialRow = model.CurrentSpecialRow();
    for (int l = 0; l < ProjectRecord::kModels; ++l) {
        const DisplayModel dm = ProjectModel::ModelInLayoutOrder(l);
        const ProjectRecord::SpecialStateBlock &block = record.SpecialStates[size_t(l)];
        for (int row = 1; row <= ProjectRecord::kSpecialStates; ++row) {
            const SpecialStateRecord &st = block[size_t(row - 1)];
            model.SetSpecialText(row, specialText(st.Text));
            model.SetSpecialBitmap(dm, row, imageOf(st.Bitmap));
        }
    }
    // Writing a text selects its row; the selection stays where it was.
    model.SelectSpecialRow(specialRow);

    for (int l = 0; l < ProjectRecord::kModels; ++l) {
        const DisplayModel dm = ProjectModel::ModelInLayoutOrder(l);
        for (int slot = 1; slot <= ProjectRecord::kFloorRows; ++slot)
            model.SetFloorBitmap(dm, slot, imageOf(record.FloorBitmaps[size_t(l)][size_t(slot - 1)]));
        for (int slot = 0; slot < 2; ++slot) {
            model.SetArrow(dm, slot, imageOf(record.Arrows[size_t(l)][size_t(slot)]));
            model.SetSmallArrow(dm, slot, imageOf(record.SmallArrows[size_t(l)][size_t(slot)]));
        }
        model.SetLogo(dm, imageOf(record.Logos[size_t(l)]));
    }

    QStringList months;
    for (const QByteArray &m : record.MonthNames)
        months.append(text(m));
    model.MonthNames = months;

    if (options.Template) {
        model.SetDisplayModel(DisplayModel(qBound(0, options.TemplateDisplayModel, 2)));
        model.SetVerticalMounting(options.TemplateVertical);
    } else {
        model.SetDisplayModel(DisplayModel(qBound(0, int(record.DisplayModel), 2)));
        model.SetVerticalMounting(record.VerticalMounting);
    }

    model.StateFlags &= quint16(~ProjectModel::NewProjectBuilding);
    model.SetProjectOpen(true);
}

ProjectOpenResult ProjectMapping::OpenProjectFile(ProjectModel &model, const QString &path,
                                                           const ProjectApplyOptions &options)
{
    ProjectOpenResult result;
    const ConvertResult converted = ProjectFile::ConvertOldProject(path);
    ProjectReadResult read = ProjectFile::read(path);
    if (!read.ok()) {
        result.Error = read.Error;
        result.Where = read.Where;
        return result;
    }
    if (converted.Result == ConvertResult::Status::Failed)
        result.Warnings.append(converted.Error);
    result.Warnings += read.Warnings;
    ProjectApplyOptions applied = options;
    if (options.SelectFloorFont) {
        const FontSection &fonts = read.Contents->Fonts;
        applied.SelectFont = [&options, &fonts](const QString &name) { options.SelectFloorFont(name, fonts); };
    }
    ApplyRecord(model, read.Contents->Record, applied);
    result.Fonts = std::move(read.Contents->Fonts);
    result.Ok = true;
    return result;
}

bool ProjectMapping::SaveProjectFile(ProjectModel &model, const QString &path, const FontSection &fonts,
                                     QString *error, QStringList *warnings)
{
    const ProjectRecord rec = FillRecord(model, warnings);
    return ProjectFile::write(path, rec, fonts, error);
}
