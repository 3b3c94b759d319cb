// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <array>

/// The special states in the order of the flash image. The project keeps them in
/// the order of its grid; ProjectStateOf(k) is the project state (1..10) of
/// flash state k (1..10).
namespace LfsStates {

constexpr int Count = 10;
constexpr std::array<int, Count> kProjectState = {1, 2, 3, 9, 4, 5, 6, 7, 8, 10};
constexpr int ProjectStateOf(int lfsState) { return kProjectState[size_t(lfsState - 1)]; }

} // namespace LfsStates

/// 22 bytes: 0, the text entries 1..10 of the ten states, 0, then per state 0
/// (no bitmap), 1 (bitmap beside text) or 2 (bitmaps only).
class StateTable
{
public:
    static constexpr int Size = 22;

    /// \a hasBitmap is indexed by flash state - 1.
    static QByteArray Build(const std::array<bool, LfsStates::Count> &hasBitmap, bool bitmapsOnly);
};
