// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QtGlobal>

/// CRC-16/ARC: polynomial 0x8005 (reflected 0xA001), initial value 0, input and
/// output reflected, no final XOR. The check value for "123456789" is 0xBB3D.
namespace Crc16 {

/// Continues a running CRC over \a size more bytes; start with \a crc = 0.
quint16 Update(quint16 crc, const char *data, qsizetype size);
quint16 Arc(const char *data, qsizetype size);
quint16 Arc(const QByteArray &data);

} // namespace Crc16
