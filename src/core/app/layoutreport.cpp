// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/layoutreport.h"

#include "display/display.h"
#include "display/layouts.h"

using namespace Qt::StringLiterals;

namespace {

QString rectText(const TRect &r)
{
    return u"(%1, %2, %3, %4)"_s.arg(r.Left).arg(r.Top).arg(r.Right).arg(r.Bottom);
}

} // namespace

QString LayoutReport::Text(const DisplayLayouts &layouts)
{
    QString s;
    for (int i = 0; i < DisplayLayouts::Count; ++i) {
        const TDisplay *d = layouts.At(i);
        s += u"Layout %1: %2, %3 x %4 LEDs, %5 rows x %6 columns of text\n"_s.arg(i)
                 .arg(d->Name)
                 .arg(d->Width)
                 .arg(d->Height)
                 .arg(d->Rows)
                 .arg(d->Columns);
        for (const auto &r : d->Rects) {
            s += u"  %1 %2 %3 %4 x %5 %6\n"_s.arg(r->Name.leftJustified(13))
                     .arg(QString(u'"' + r->Caption + u'"').leftJustified(26))
                     .arg(rectText(r->Rect).leftJustified(20))
                     .arg(r->Rect.Width(), 3)
                     .arg(r->Rect.Height(), -3)
                     .arg(r->Active ? u"active"_s : u"inactive"_s);
        }
    }
    const struct
    {
        DisplayModel model;
        const char16_t *name;
    } models[] = {{DisplayModel::Vfd128, u"ORV-VFD (128 x 64)"},
                  {DisplayModel::Lcd240, u"ORV-LCD (240 x 128)"},
                  {DisplayModel::Vfd256, u"ORV-VFD (256 x 128)"}};
    s += u"Display models:\n"_s;
    for (const auto &m : models) {
        s += u"  %1 main %2, special states %3, small font %4 (%5 x %6)\n"_s
                 .arg(QString::fromUtf16(m.name).leftJustified(20))
                 .arg(layouts.Main(m.model)->Name)
                 .arg(layouts.Sonder(m.model)->Name)
                 .arg(layouts.Klein(m.model)->Name)
                 .arg(layouts.Klein(m.model)->Width)
                 .arg(layouts.Klein(m.model)->Height);
    }
    return s;
}
