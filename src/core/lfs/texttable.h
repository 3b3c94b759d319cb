// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <functional>

class FloorTable;

/// The text table of the flash image: 23-byte entries. Entry 0 is empty, 1..10
/// hold the special-state texts, 11..22 the month names, then (optionally) the
/// floors' text lines, and the last entry the fixed text "Spielwaren".
class TextTable
{
public:
    static constexpr int EntrySize = 23;
    static constexpr int FirstFloorEntry = 23;
    /// Floor rows start only while the next entry is below this.
    static constexpr int EntryLimit = 255;
    static constexpr int MaxLinesPerFloor = 8;

    /// The stored 22-byte text of column \a col (1..9), grid row \a row (1..64);
    /// shorter results count as zero-padded.
    using FloorTextSource = std::function<QByteArray(int col, int row)>;

    TextTable();

    /// Entries 1..22: bytes 0..21 spaces, byte 22 zero, then the first 21 bytes of
    /// the 22-byte text field \a stored (zero-padded when shorter) copied over bytes
    /// 0..20, so only byte 21 keeps its space.
    void SetFixedEntry(int entry, const QByteArray &stored);

    /// Appends the shown lines of every floor (\a lines per floor, at most 8 are
    /// taken) and writes each floor's first text number into \a floors. A row is
    /// begun only while the next entry is below 255 and is then completed.
    void AddFloorLines(FloorTable &floors, int floorCount, int lines, const FloorTextSource &text);

    /// Appends "Spielwaren" as the last entry.
    void Finish();

    int EntryCount() const { return int(m_bytes.size() / EntrySize); }
    QByteArray Entry(int index) const { return m_bytes.mid(qsizetype(index) * EntrySize, EntrySize); }
    const QByteArray &Bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};
