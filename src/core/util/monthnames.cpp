// SPDX-License-Identifier: GPL-3.0-or-later
#include "util/monthnames.h"

namespace MonthNames {

QStringList germanNames()
{
    return {QStringLiteral("Jan"), QStringLiteral("Feb"), QStringLiteral("Mrz"), QStringLiteral("Apr"),
            QStringLiteral("Mai"), QStringLiteral("Jun"), QStringLiteral("Jul"), QStringLiteral("Aug"),
            QStringLiteral("Sep"), QStringLiteral("Okt"), QStringLiteral("Nov"), QStringLiteral("Dez")};
}

QStringList startupNames(const QLocale &locale)
{
    if (locale.language() == QLocale::German)
        return germanNames();
    QStringList names;
    names.reserve(12);
    for (int m = 1; m <= 12; ++m) {
        QString name = locale.standaloneMonthName(m, QLocale::ShortFormat);
        while (name.endsWith(u'.'))
            name.chop(1);
        names.append(name);
    }
    return names;
}

} // namespace MonthNames
