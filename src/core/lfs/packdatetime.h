// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QtGlobal>

/// Date and time in the 32 bits the flash headers carry: bits 20..31 the year
/// (low 12 bits of the full year), 16..19 the month, 11..15 the day, 6..10 the
/// hour, 0..5 the minute. Seconds are dropped.
quint32 PackDateTime(const QDateTime &when);
