// SPDX-License-Identifier: GPL-3.0-or-later
#include "lfs/floortable.h"

namespace {
constexpr int kProjectRows = 64;
}

FloorTable::FloorTable() : m_bytes(Size, '\0') {}

void FloorTable::SetBitmapNumber(int slot, quint8 number)
{
    if (slot >= 0 && slot < Slots)
        m_bytes[2 * slot] = char(number);
}

void FloorTable::SetTextNumber(int slot, quint8 number)
{
    if (slot >= 0 && slot < Slots)
        m_bytes[2 * slot + 1] = char(number);
}

quint8 FloorTable::BitmapNumber(int slot) const
{
    return slot >= 0 && slot < Slots ? quint8(m_bytes[2 * slot]) : 0;
}

quint8 FloorTable::TextNumber(int slot) const
{
    return slot >= 0 && slot < Slots ? quint8(m_bytes[2 * slot + 1]) : 0;
}

QList<int> FloorTable::AssignBitmaps(int floorCount, const std::function<bool(int row)> &hasBitmap)
{
    QList<int> rows;
    const int lastRow = qMin(floorCount, kProjectRows);
    for (int row = 1; row <= lastRow; ++row) {
        if (!hasBitmap(row))
            continue;
        rows.append(row);
        SetBitmapNumber(SlotOfRow(floorCount, row), quint8(rows.size()));
    }
    return rows;
}
