// SPDX-License-Identifier: GPL-3.0-or-later
#include "lfs/lfsparams.h"

#include <QtEndian>

namespace {

// Offsets of the named fields (16-bit ones cover two bytes).
constexpr int kWord16Offsets[] = {0, 6, 36, 38, 40, 42, 44, 46, 48, 50};
constexpr int kByteOffsets[] = {2, 52, 53, 56, 57, 58, 59, 60, 61, 62};

void putBE(QByteArray &b, int offset, quint16 v)
{
    qToBigEndian<quint16>(v, b.data() + offset);
}

quint16 getBE(const QByteArray &b, int offset)
{
    return qFromBigEndian<quint16>(b.constData() + offset);
}

} // namespace

LfsBox LfsBox::FromRect(const TRect &r, quint8 enabled)
{
    LfsBox box;
    box.Enabled = enabled;
    box.X = quint8(r.Left & 0xFF);
    box.Y = quint8(r.Top & 0xFF);
    box.Width = quint8(r.Width() & 0xFF);
    box.Height = quint8(r.Height() & 0xFF);
    return box;
}

bool LfsParams::IsFreeByte(int offset)
{
    if (offset < 0 || offset >= BoxesOffset)
        return false;
    for (int o : kWord16Offsets)
        if (offset == o || offset == o + 1)
            return false;
    for (int o : kByteOffsets)
        if (offset == o)
            return false;
    return true;
}

void LfsParams::SetByte(int offset, quint8 value)
{
    if (IsFreeByte(offset))
        m_bytes[size_t(offset)] = value;
}

quint8 LfsParams::Byte(int offset) const
{
    return IsFreeByte(offset) ? m_bytes[size_t(offset)] : 0;
}

QByteArray LfsParams::ToBytes() const
{
    QByteArray b(Size, '\0');
    for (int i = 0; i < BoxesOffset; ++i)
        if (IsFreeByte(i))
            b[i] = char(m_bytes[size_t(i)]);
    putBE(b, 0, Word0);
    b[2] = char(ModelCode);
    qToLittleEndian<quint16>(Word6, b.data() + 6);
    putBE(b, 36, LargeGlyphBytes);
    putBE(b, 38, SmallGlyphBytes);
    putBE(b, 40, LargeArrowBytes);
    putBE(b, 42, SmallArrowBytes);
    putBE(b, 44, LogoBytes);
    putBE(b, 46, FloorBitmapBytes);
    putBE(b, 48, SpecialBitmapBytes);
    putBE(b, 50, Word50);
    b[52] = char(LargeCellGap);
    b[53] = char(SmallCellGap);
    b[56] = char(LargeGlyphCount);
    b[57] = char(SmallGlyphCount);
    b[58] = char(LargeArrowCount);
    b[59] = char(SmallArrowCount);
    b[60] = char(LogoCount);
    b[61] = char(FloorBitmapCount);
    b[62] = char(SpecialBitmapCount);
    for (int k = 0; k < BoxCount; ++k) {
        const LfsBox &box = Boxes[size_t(k)];
        const int o = BoxesOffset + 6 * k;
        b[o] = char(box.Enabled);
        b[o + 1] = char(box.X);
        b[o + 2] = char(box.Y);
        b[o + 3] = char(box.Width);
        b[o + 4] = char(box.Height);
    }
    return b;
}

bool LfsParams::FromBytes(const QByteArray &b)
{
    if (b.size() < Size)
        return false;
    for (int i = 0; i < Size; ++i)
        m_bytes[size_t(i)] = IsFreeByte(i) ? quint8(b[i]) : 0;
    Word0 = getBE(b, 0);
    ModelCode = quint8(b[2]);
    Word6 = qFromLittleEndian<quint16>(b.constData() + 6);
    LargeGlyphBytes = getBE(b, 36);
    SmallGlyphBytes = getBE(b, 38);
    LargeArrowBytes = getBE(b, 40);
    SmallArrowBytes = getBE(b, 42);
    LogoBytes = getBE(b, 44);
    FloorBitmapBytes = getBE(b, 46);
    SpecialBitmapBytes = getBE(b, 48);
    Word50 = getBE(b, 50);
    LargeCellGap = quint8(b[52]);
    SmallCellGap = quint8(b[53]);
    LargeGlyphCount = quint8(b[56]);
    SmallGlyphCount = quint8(b[57]);
    LargeArrowCount = quint8(b[58]);
    SmallArrowCount = quint8(b[59]);
    LogoCount = quint8(b[60]);
    FloorBitmapCount = quint8(b[61]);
    SpecialBitmapCount = quint8(b[62]);
    for (int k = 0; k < BoxCount; ++k) {
        LfsBox &box = Boxes[size_t(k)];
        const int o = BoxesOffset + 6 * k;
        box.Enabled = quint8(b[o]);
        box.X = quint8(b[o + 1]);
        box.Y = quint8(b[o + 2]);
        box.Width = quint8(b[o + 3]);
        box.Height = quint8(b[o + 4]);
    }
    return true;
}
