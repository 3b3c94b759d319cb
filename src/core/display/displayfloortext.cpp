// SPDX-License-Identifier: GPL-3.0-or-later
// The floor-text characters of a layout, drawn in the outline font through FontInfo.
#include "display/display.h"
#include "display/winfontinfo.h"

namespace {

const QChar kSpace(u' ');

} // namespace

void TDisplay::DrawChar(const TRect &rect, const QString &text, FontSpec &font)
{
    if (!Matrix)
        return;
    Matrix->ClearArea(rect);
    // An empty text has no first character: the cleared rectangle is all there is.
    if (!text.isEmpty() && text.at(0) != kSpace) {
        const QChar ch = text.at(0);
        font.Size = FontInfo->FontSize();
        const int x = FontInfo->CharXOffset(ch);
        const int y = FontInfo->CharYOffset(ch);
        Matrix->DrawFontText(rect, x, y, font, QString(ch));
    }
    Matrix->Redraw();
}

void TDisplay::DrawFloorText(const QString &text, FontSpec &font)
{
    FontInfo->SetFont(font);
    if (!Matrix)
        return;

    const TDisplayRect *single = FindRect(QStringLiteral("TXT3"));
    if (text.size() == 2 && text.at(1) == kSpace && single) {
        for (const QString &name : {QStringLiteral("TXT1"), QStringLiteral("TXT2")}) {
            if (const TDisplayRect *r = FindRect(name))
                Matrix->ClearArea(r->Rect);
        }
        Matrix->ClearArea(single->Rect);
        const QChar ch = text.at(0);
        const int x = FontInfo->CharXOffset(ch);
        const int y = FontInfo->CharYOffset(ch);
        font.Size = FontInfo->FontSize();
        Matrix->DrawFontText(single->Rect, x, y, font, QString(ch));
        return;
    }

    for (int i = 1; i <= text.size(); ++i) {
        const TDisplayRect *r = FindRect(QStringLiteral("TXT") + QString::number(i));
        if (!r || !r->Active)
            continue;
        Matrix->ClearArea(r->Rect);
        const QChar ch = text.at(i - 1);
        if (ch != kSpace) {
            const int x = FontInfo->CharXOffset(ch);
            const int y = FontInfo->CharYOffset(ch);
            font.Size = FontInfo->FontSize();
            Matrix->DrawFontText(r->Rect, x, y, font, QString(ch));
        }
        Matrix->Redraw();
    }
}
