// SPDX-License-Identifier: GPL-3.0-or-later
#include "lfs/lfsheaders.h"

#include <QtEndian>

namespace {

void put16(QByteArray &b, int offset, quint16 v)
{
    qToLittleEndian<quint16>(v, b.data() + offset);
}

void put32(QByteArray &b, int offset, quint32 v)
{
    qToLittleEndian<quint32>(v, b.data() + offset);
}

quint16 get16(const QByteArray &b, int offset)
{
    return qFromLittleEndian<quint16>(b.constData() + offset);
}

quint32 get32(const QByteArray &b, int offset)
{
    return qFromLittleEndian<quint32>(b.constData() + offset);
}

} // namespace

LfsFileHeader LfsFileHeader::ForImage(quint32 imageLength, quint32 dateTime, quint16 crc)
{
    LfsFileHeader h;
    h.FileLength = imageLength + Size;
    h.ImageLength = imageLength;
    h.DateTime = dateTime;
    h.Crc = crc;
    return h;
}

QByteArray LfsFileHeader::ToBytes() const
{
    QByteArray b(Size, '\0');
    put16(b, 0, Magic);
    put16(b, 2, Kind);
    put32(b, 4, FileLength);
    put32(b, 8, ImageLength);
    put16(b, 12, Format);
    put16(b, 14, Reserved);
    put32(b, 16, DateTime);
    put16(b, 20, Crc);
    put16(b, 22, Trailer);
    return b;
}

bool LfsFileHeader::FromBytes(const QByteArray &b)
{
    if (b.size() < Size)
        return false;
    Magic = get16(b, 0);
    Kind = get16(b, 2);
    FileLength = get32(b, 4);
    ImageLength = get32(b, 8);
    Format = get16(b, 12);
    Reserved = get16(b, 14);
    DateTime = get32(b, 16);
    Crc = get16(b, 20);
    Trailer = get16(b, 22);
    return true;
}

QByteArray LfsImageHeader::ToBytes() const
{
    QByteArray b(Size, '\0');
    put16(b, 0, Version);
    put16(b, 2, HeaderLength);
    put32(b, 4, FlashSize);
    for (int i = 0; i < 6; ++i)
        b[8 + i] = char(Fill[i]);
    put16(b, 14, Reserved);
    put32(b, 16, DateTime);
    put16(b, 20, Reserved2);
    return b;
}

bool LfsImageHeader::FromBytes(const QByteArray &b)
{
    if (b.size() < Size)
        return false;
    Version = get16(b, 0);
    HeaderLength = get16(b, 2);
    FlashSize = get32(b, 4);
    for (int i = 0; i < 6; ++i)
        Fill[i] = quint8(b[8 + i]);
    Reserved = get16(b, 14);
    DateTime = get32(b, 16);
    Reserved2 = get16(b, 20);
    return true;
}
