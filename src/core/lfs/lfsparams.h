// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "util/trect.h"

#include <QByteArray>
#include <QtGlobal>

#include <array>

/// One placement box of the parameter block: where the display puts an element.
struct LfsBox
{
    quint8 Enabled = 0;
    quint8 X = 0;
    quint8 Y = 0;
    quint8 Width = 0;
    quint8 Height = 0;

    /// Enabled box for \a r: the low 8 bits of Left, Top, width and height.
    static LfsBox FromRect(const TRect &r, quint8 enabled = 1);
};

/// The 198-byte parameter block in front of the data section.
///
/// The named 16-bit fields are held as numbers and stored high byte first by
/// ToBytes() (all but Word6, which is stored low byte first). The fixed bytes
/// without a name of their own are set with SetByte().
struct LfsParams
{
    static constexpr int Size = 198;
    static constexpr int BoxCount = 12;
    static constexpr int BoxesOffset = 126;

    quint16 Word0 = 0; ///< offset 0, BE; 125 in every file
    quint8 ModelCode = 0;
    quint16 Word6 = 0; ///< offset 6, low byte first; 421 in every file
    quint16 LargeGlyphBytes = 0;
    quint16 SmallGlyphBytes = 0;
    quint16 LargeArrowBytes = 0;
    quint16 SmallArrowBytes = 0;
    quint16 LogoBytes = 0;
    quint16 FloorBitmapBytes = 0;
    quint16 SpecialBitmapBytes = 0;
    quint16 Word50 = 0; ///< offset 50, BE; 2 in every file
    quint8 LargeCellGap = 0;
    quint8 SmallCellGap = 0;
    quint8 LargeGlyphCount = 0;
    quint8 SmallGlyphCount = 0;
    quint8 LargeArrowCount = 0;
    quint8 SmallArrowCount = 0;
    quint8 LogoCount = 0;
    quint8 FloorBitmapCount = 0;
    quint8 SpecialBitmapCount = 0;
    std::array<LfsBox, BoxCount> Boxes{};

    /// Sets an unnamed byte (a flag or a fixed value). Offsets that belong to a
    /// named field or to the boxes are ignored.
    void SetByte(int offset, quint8 value);
    quint8 Byte(int offset) const;

    QByteArray ToBytes() const;
    /// Reads a stored block back (tests, tools). False when \a bytes is too short.
    bool FromBytes(const QByteArray &bytes);

    /// True for the offsets of the unnamed bytes SetByte() accepts.
    static bool IsFreeByte(int offset);

private:
    std::array<quint8, Size> m_bytes{};
};
