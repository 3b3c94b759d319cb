// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/colortext.h"

QRgb ColorText::Group(const QString &text, int index)
{
    if (index < 0)
        return 0;
    const QString group = text.mid(qsizetype(index) * 6, 6);
    if (group.isEmpty())
        return 0;
    bool ok = false;
    // Digits only: toUInt would also accept a sign or "0x".
    for (const QChar c : group) {
        const bool hex = (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f')
            || (c >= u'A' && c <= u'F');
        if (!hex)
            return 0;
    }
    const uint v = group.toUInt(&ok, 16);
    return ok ? QRgb(v) : 0;
}

QString ColorText::Format(const QRgb *colors, int count)
{
    QString s;
    for (int i = 0; i < count; ++i)
        s += QString::number(colors[i] & 0xFFFFFF, 16).rightJustified(6, u'0').toUpper();
    return s;
}

EditLedColors EditLedColors::FromText(const QString &text)
{
    EditLedColors c;
    c.ColorOff = ColorText::Group(text, 0);
    c.ColorOn = ColorText::Group(text, 1);
    c.BoxColorOff = ColorText::Group(text, 2);
    c.BoxColorOn = ColorText::Group(text, 3);
    return c;
}

SimColorPair SimColorPair::FromText(const QString &text)
{
    SimColorPair p;
    p.Off = ColorText::Group(text, 0);
    p.On = ColorText::Group(text, 1);
    return p;
}
