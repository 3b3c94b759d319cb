// SPDX-License-Identifier: GPL-3.0-or-later
#include "util/datetimeformat.h"

#include "util/monthnames.h"

#include <QLocale>

namespace {

QString number(int value, int minDigits)
{
    return QString::number(value).rightJustified(minDigits, u'0');
}

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

} // namespace

DateTimeFormat::DateTimeFormat()
    : MonthNames(MonthNames::startupNames())
    , AmText(QLocale::system().amText())
    , PmText(QLocale::system().pmText())
    , Clock([] { return QDateTime::currentDateTime(); })
{
}

QString DateTimeFormat::Format(const QString &pattern, const QDateTime &when) const
{
    const QDate date = when.date();
    const QTime time = when.time();
    const QString lower = pattern.toLower();
    const int len = int(lower.size());
    QString out;
    out.reserve(len + 8);
    QChar lastLetter;

    int i = 0;
    while (i < len) {
        const QChar c = lower.at(i);
        int run = 1;
        while (i + run < len && lower.at(i + run) == c)
            ++run;

        if (c == u'a' && lower.mid(i, 4) == u"ampm") {
            out += time.hour() < 12 ? AmText : PmText;
            lastLetter = u'a';
            i += 4;
            continue;
        }

        switch (c.unicode()) {
        case u'd':
            out += number(date.day(), run >= 2 ? 2 : 1);
            break;
        case u'm':
            if (lastLetter == u'h') {
                out += number(time.minute(), run >= 2 ? 2 : 1);
                lastLetter = u'n';
                i += run;
                continue;
            }
            if (run >= 3) {
                const int m = date.month() - 1;
                out += m >= 0 && m < MonthNames.size() ? MonthNames.at(m) : QString();
            } else {
                out += number(date.month(), run);
            }
            break;
        case u'y':
            out += run <= 2 ? number(date.year() % 100, 2) : number(date.year(), 4);
            break;
        case u'h': {
            int hour = time.hour();
            if (lower.indexOf(u"ampm", i + run) >= 0) {
                hour %= 12;
                if (hour == 0)
                    hour = 12;
            }
            out += number(hour, run >= 2 ? 2 : 1);
            break;
        }
        case u'n':
            out += number(time.minute(), run >= 2 ? 2 : 1);
            break;
        case u's':
            out += number(time.second(), run >= 2 ? 2 : 1);
            break;
        default:
            // Copied as typed (original case), one character at a time.
            out += pattern.at(i);
            if (isAsciiLetter(c))
                lastLetter = c;
            ++i;
            continue;
        }
        lastLetter = c;
        i += run;
    }
    return out;
}

QString DateTimeFormat::FormatNow(const QString &pattern) const
{
    return Format(pattern, Clock ? Clock() : QDateTime::currentDateTime());
}

QString DateTimeFormat::UprightPattern(const QString &configured)
{
    return configured.startsWith(u'd') ? QStringLiteral("dd.mm hh:mm") : QStringLiteral("mm/dd hh:mm");
}
