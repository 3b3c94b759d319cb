// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

/// The program's date/time formatter for the clock line.
///
/// Pattern elements (letters in either case): "d" day, "dd" two-digit day, "m" month,
/// "mm" two-digit month, "mmm" abbreviated month name from MonthNames, "yy" two-digit
/// and "yyyy" four-digit year, "h"/"hh" hour, "n"/"nn" minute, "s"/"ss" second,
/// "ampm" the AM or PM designator. Every other character is copied. "m" or "mm" whose
/// last preceding letter belongs to an hour element means minutes ("hh:mm"); an hour
/// element is a 12-hour clock when "ampm" follows it anywhere in the pattern.
class DateTimeFormat
{
public:
    /// Month names of the start-up (MonthNames::startupNames), the system's AM/PM
    /// designators and the local clock.
    DateTimeFormat();

    QStringList MonthNames; ///< January first; a missing entry formats as empty
    QString AmText;
    QString PmText;
    std::function<QDateTime()> Clock; ///< the current local date and time

    QString Format(const QString &pattern, const QDateTime &when) const;
    QString FormatNow(const QString &pattern) const;

    /// The short pattern of an upright display: "dd.mm hh:mm" when \a configured starts
    /// with a lower-case "d", otherwise "mm/dd hh:mm".
    static QString UprightPattern(const QString &configured);
};
