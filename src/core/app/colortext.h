// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRgb>
#include <QString>

/// Colours written in the settings file as groups of six hexadecimal digits,
/// each group a colour 0xRRGGBB.
namespace ColorText {

/// Group \a index (0 = digits 1-6) of \a text as a colour. A group the text does
/// not reach is 0; a partial group at the end is read as far as it goes; a group
/// that is not hexadecimal gives 0 (black).
QRgb Group(const QString &text, int index);

/// The text of colours as groups of six upper-case hexadecimal digits.
QString Format(const QRgb *colors, int count);

} // namespace ColorText

/// The LED colours of the three editing matrices ("EditLEDColor").
struct EditLedColors
{
    QRgb ColorOff = 0x000000;    ///< digits 1-6
    QRgb ColorOn = 0x000000;     ///< digits 7-12, also the unknown colour
    QRgb BoxColorOff = 0x000000; ///< digits 13-18
    QRgb BoxColorOn = 0x000000;  ///< digits 19-24, also the unknown colour in marks

    static EditLedColors FromText(const QString &text);
    friend bool operator==(const EditLedColors &a, const EditLedColors &b)
    {
        return a.ColorOff == b.ColorOff && a.ColorOn == b.ColorOn
            && a.BoxColorOff == b.BoxColorOff && a.BoxColorOn == b.BoxColorOn;
    }
};

/// One simulation colour pair ("Color<n>"): LED off, then LED on.
struct SimColorPair
{
    QRgb Off = 0x000000;
    QRgb On = 0xFFFFFF;

    static SimColorPair FromText(const QString &text);
    friend bool operator==(const SimColorPair &a, const SimColorPair &b)
    {
        return a.Off == b.Off && a.On == b.On;
    }
};
