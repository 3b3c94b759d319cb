// SPDX-License-Identifier: GPL-3.0-or-later
#include "lfs/statetable.h"

QByteArray StateTable::Build(const std::array<bool, LfsStates::Count> &hasBitmap, bool bitmapsOnly)
{
    QByteArray bytes(Size, '\0');
    for (int k = 1; k <= LfsStates::Count; ++k) {
        bytes[k] = char(k);
        if (hasBitmap[size_t(k - 1)])
            bytes[11 + k] = char(bitmapsOnly ? 2 : 1);
    }
    return bytes;
}
