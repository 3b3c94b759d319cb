// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QtGlobal>

#include <functional>

/// 100 byte pairs, one per floor slot (slot 0 = lowest floor): the number of the
/// floor's bitmap (1 = first written, 0 = none) and the text number of its first
/// text line (TextTable entry + 1, 0 = none).
class FloorTable
{
public:
    static constexpr int Slots = 100;
    static constexpr int Size = 2 * Slots;

    FloorTable();

    /// Grid row \a row (1 = top) of \a floorCount floors sits in slot floorCount - row.
    static int SlotOfRow(int floorCount, int row) { return floorCount - row; }

    /// Setters ignore slots outside 0..99.
    void SetBitmapNumber(int slot, quint8 number);
    void SetTextNumber(int slot, quint8 number);
    quint8 BitmapNumber(int slot) const;
    quint8 TextNumber(int slot) const;

    /// Numbers the floors that have a bitmap, top grid row first, and returns
    /// their grid rows in that order. Rows beyond the 64 a project holds have none.
    QList<int> AssignBitmaps(int floorCount, const std::function<bool(int row)> &hasBitmap);

    const QByteArray &Bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};
