// SPDX-License-Identifier: GPL-3.0-or-later
#include "lfs/crc16.h"

#include <array>

namespace {

constexpr std::array<quint16, 256> makeTable()
{
    std::array<quint16, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        unsigned crc = i;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1u) ? (crc >> 1) ^ 0xA001u : crc >> 1;
        table[i] = quint16(crc);
    }
    return table;
}

constexpr std::array<quint16, 256> kTable = makeTable();

} // namespace

namespace Crc16 {

quint16 Update(quint16 crc, const char *data, qsizetype size)
{
    const auto *p = reinterpret_cast<const uchar *>(data);
    for (qsizetype i = 0; i < size; ++i)
        crc = quint16((crc >> 8) ^ kTable[(crc ^ p[i]) & 0xFFu]);
    return crc;
}

quint16 Arc(const char *data, qsizetype size)
{
    return Update(0, data, size);
}

quint16 Arc(const QByteArray &data)
{
    return Update(0, data.constData(), data.size());
}

} // namespace Crc16
