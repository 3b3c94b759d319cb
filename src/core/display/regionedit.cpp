// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/regionedit.h"

#include "display/display.h"
#include "display/displayrect.h"

using namespace Qt::StringLiterals;

namespace RegionEdit {

QImage ScaleNearest(const QImage &source, int width, int height)
{
    if (source.isNull() || width < 1 || height < 1)
        return QImage();
    const QImage src = source.format() == QImage::Format_ARGB32 || source.format() == QImage::Format_RGB32
        ? source
        : source.convertToFormat(QImage::Format_ARGB32);
    QImage out(width, height, QImage::Format_ARGB32);
    if (out.isNull())
        return out;
    const qint64 srcW = src.width();
    const qint64 srcH = src.height();
    for (int y = 0; y < height; ++y) {
        const auto *in = reinterpret_cast<const quint32 *>(src.constScanLine(int(y * srcH / height)));
        auto *line = reinterpret_cast<quint32 *>(out.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = in[x * srcW / width];
    }
    return out;
}

void AlignCharacterRegions(TDisplay &layout, const TDisplayRect &dragged)
{
    QString partnerName;
    if (dragged.Name == u"TXT1"_s)
        partnerName = u"TXT2"_s;
    else if (dragged.Name == u"TXT2"_s)
        partnerName = u"TXT1"_s;
    else
        return;
    TDisplayRect *partner = layout.FindRect(partnerName);
    if (!partner)
        return;
    // Copies: the partner may be the dragged region itself when names repeat.
    const TRect d = dragged.Rect;
    const int w = d.Right - d.Left;
    const int h = d.Bottom - d.Top;
    partner->Rect.Top = d.Top;
    partner->Rect.Right = partner->Rect.Left + w;
    partner->Rect.Bottom = partner->Rect.Top + h;
    partner->SavedRect = partner->Rect;

    const TDisplayRect *t1 = layout.FindRect(u"TXT1"_s);
    const TDisplayRect *t2 = layout.FindRect(u"TXT2"_s);
    TDisplayRect *t3 = layout.FindRect(u"TXT3"_s);
    if (!t3 || !t1 || !t2)
        return;
    // Integer division truncates toward zero.
    t3->Rect.Left = t1->Rect.Left + (t2->Rect.Left - t1->Rect.Left) / 2;
    t3->Rect.Top = d.Top;
    t3->Rect.Right = t3->Rect.Left + w;
    t3->Rect.Bottom = t3->Rect.Top + h;
    t3->SavedRect = t3->Rect;
}

namespace {

void fitArrows(TDisplayRect *region, const TDisplay *main)
{
    const int w = region->Width();
    const int h = region->Height();
    if (w < 1 || h < 1)
        return;
    const TDisplayRect *mainRegion = main ? main->FindRect(u"PFEIL"_s) : nullptr;
    for (int slot = 0; slot <= 1; ++slot) {
        if (!region->SlotBitmap(slot))
            continue;
        QImage blank(w, h, QImage::Format_ARGB32);
        blank.fill(0u);
        region->SetSlotBitmap(slot, blank);
        const QImage *arrow = mainRegion ? mainRegion->SlotBitmap(slot) : nullptr;
        if (arrow && !arrow->isNull())
            region->SetSlotBitmap(slot, ScaleNearest(*arrow, w, h));
    }
}

} // namespace

void FitSmallArrows(TDisplay &small, const TDisplay *main)
{
    if (TDisplayRect *region = small.FindRect(u"PFEIL"_s))
        fitArrows(region, main);
}

bool EndSmallFontDrag(TDisplay &small, const TDisplay *main)
{
    TDisplayRect *dragged = small.DraggedRect();
    if (!dragged)
        return false;
    dragged->DragMode = TDisplayRect::DragNone;
    dragged->SavedRect = dragged->Rect;
    if (dragged->Name == u"PFEIL"_s)
        fitArrows(dragged, main);
    else
        AlignCharacterRegions(small, *dragged);
    return true;
}

} // namespace RegionEdit
