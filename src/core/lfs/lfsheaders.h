// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QtGlobal>

/// The 24-byte header in front of a flash image (little-endian).
struct LfsFileHeader
{
    static constexpr int Size = 24;

    quint16 Magic = 0xCCCC;
    quint16 Kind = 0xA501;
    quint32 FileLength = 0;  ///< the whole file: image length + 24
    quint32 ImageLength = 0; ///< the image that follows, its own header included
    quint16 Format = 0x1003;
    quint16 Reserved = 0;
    quint32 DateTime = 0; ///< PackDateTime
    quint16 Crc = 0;      ///< CRC-16/ARC over the image
    quint16 Trailer = 0xFFFE;

    /// A header for an image of \a imageLength bytes.
    static LfsFileHeader ForImage(quint32 imageLength, quint32 dateTime, quint16 crc);

    QByteArray ToBytes() const;
    /// False when \a bytes is shorter than Size.
    bool FromBytes(const QByteArray &bytes);
};

/// The 22-byte header at the start of a flash image (little-endian).
struct LfsImageHeader
{
    static constexpr int Size = 22;

    quint16 Version = 4;
    quint16 HeaderLength = Size;
    quint32 FlashSize = 0; ///< bytes of the image after this header
    quint8 Fill[6] = {0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC};
    quint16 Reserved = 0;
    quint32 DateTime = 0; ///< PackDateTime
    quint16 Reserved2 = 0;

    QByteArray ToBytes() const;
    bool FromBytes(const QByteArray &bytes);
};
