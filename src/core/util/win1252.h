// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

/// Windows-1252, the character set of every stored text and of the bitmap fonts.
/// The five codes without a character (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the
/// C1 control characters of the same value, so every byte round-trips.
namespace Win1252 {

QChar toUnicode(uchar byte);
QString toUnicode(const QByteArray &bytes);
/// Characters that Windows-1252 cannot represent become '?'.
uchar fromUnicode(QChar ch);
QByteArray fromUnicode(const QString &text);

} // namespace Win1252
