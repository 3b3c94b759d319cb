// SPDX-License-Identifier: GPL-3.0-or-later
#include "lfs/texttable.h"

#include "lfs/floortable.h"

#include <cstring>

namespace {

constexpr int kCopied = 21;
constexpr int kProjectRows = 64;
constexpr int kTextColumns = 9;

// The first 21 bytes of a stored text field; a text held without its trailing
// zero bytes counts as zero-padded to the field.
void copyFirst21(char *entry, const QByteArray &stored)
{
    const size_t n = size_t(qMin<qsizetype>(stored.size(), kCopied));
    std::memcpy(entry, stored.constData(), n);
    std::memset(entry + n, 0, size_t(kCopied) - n);
}

} // namespace

TextTable::TextTable() : m_bytes(FirstFloorEntry * EntrySize, '\0')
{
    for (int e = 1; e < FirstFloorEntry; ++e) {
        char *entry = m_bytes.data() + e * EntrySize;
        std::memset(entry, ' ', EntrySize - 1);
    }
}

void TextTable::SetFixedEntry(int entry, const QByteArray &stored)
{
    if (entry < 1 || entry >= FirstFloorEntry)
        return;
    char *p = m_bytes.data() + entry * EntrySize;
    std::memset(p, ' ', EntrySize - 1);
    p[EntrySize - 1] = 0;
    copyFirst21(p, stored);
}

void TextTable::AddFloorLines(FloorTable &floors, int floorCount, int lines, const FloorTextSource &text)
{
    const int n = qMin(lines, MaxLinesPerFloor);
    if (n <= 0)
        return;
    int e = EntryCount();
    for (int row = 1; row <= floorCount && e < EntryLimit; ++row) {
        const int slot = FloorTable::SlotOfRow(floorCount, row);
        for (int col = 2; col <= n + 1; ++col) {
            QByteArray entry(EntrySize, '\0');
            if (row <= kProjectRows && col <= kTextColumns) {
                const QByteArray stored = text(col, row);
                if (!stored.isEmpty() && stored.at(0) != 0)
                    copyFirst21(entry.data(), stored);
            }
            if (col == 2)
                floors.SetTextNumber(slot, quint8(e + 1));
            m_bytes.append(entry);
            ++e;
        }
    }
}

void TextTable::Finish()
{
    QByteArray entry(EntrySize, '\0');
    std::memcpy(entry.data(), "Spielwaren", 10);
    m_bytes.append(entry);
}
