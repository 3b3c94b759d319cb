// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QStringList>

namespace MonthNames {

/// The program's own abbreviations for a German system.
QStringList germanNames();

/// The twelve abbreviated month names the program starts with, January first:
/// the program's own German list on a German system, otherwise the locale's
/// standalone short names with trailing dots removed ("Sept." becomes "Sept").
QStringList startupNames(const QLocale &locale = QLocale::system());

} // namespace MonthNames
