// SPDX-License-Identifier: GPL-3.0-or-later
#include "lfs/lfsreport.h"

#include <QCoreApplication>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("TBinaerForm", text);
}
} // namespace

QString LfsReport::WarningPrefix()
{
    return tr("Warnung: ");
}

QString LfsReport::ErrorPrefix()
{
    return tr("FEHLER: ");
}

QString LfsReport::Dashes()
{
    return QString(62, QLatin1Char('-'));
}

QString LfsReport::SuccessLine()
{
    return tr("Erfolg: ") + tr("Die Datei wurde erzeugt");
}

QString LfsReport::FailureLine()
{
    return tr("Kein Erfolg: ") + tr("Es sind Fehler aufgetreten");
}

void LfsReport::Clear()
{
    m_lines.clear();
    m_warnings = 0;
    m_errors = 0;
}

void LfsReport::Add(const QString &line)
{
    m_lines.append(line);
    if (m_lineAdded)
        m_lineAdded(line);
}

void LfsReport::Warning(const QString &text)
{
    ++m_warnings;
    Add(WarningPrefix() + text);
}

void LfsReport::Error(const QString &text)
{
    ++m_errors;
    Add(ErrorPrefix() + text);
}

void LfsReport::Finish(bool success)
{
    Add(Dashes());
    Add(success ? SuccessLine() : FailureLine());
}
