// SPDX-License-Identifier: GPL-3.0-or-later
#include "lfs/packdatetime.h"

quint32 PackDateTime(const QDateTime &when)
{
    const QDate d = when.date();
    const QTime t = when.time();
    return (quint32(d.year() & 0xFFF) << 20) | (quint32(d.month() & 0xF) << 16)
        | (quint32(d.day() & 0x1F) << 11) | (quint32(t.hour() & 0x1F) << 6) | quint32(t.minute() & 0x3F);
}
