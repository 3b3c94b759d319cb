// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

/// The generator's report: one line per event, warnings start with "Warnung: ",
/// errors with "FEHLER: "; a run ends with 62 dashes and the summary.
class LfsReport
{
public:
    /// Called after every added line, so a view can follow the run.
    using LineAdded = std::function<void(const QString &line)>;

    void SetLineAdded(LineAdded callback) { m_lineAdded = std::move(callback); }

    void Clear();
    void Add(const QString &line);
    void Warning(const QString &text);
    void Error(const QString &text);
    /// The row of dashes and "Erfolg: ..." or "Kein Erfolg: ...".
    void Finish(bool success);

    const QStringList &Lines() const { return m_lines; }
    int Count() const { return int(m_lines.size()); }
    bool HasErrors() const { return m_errors > 0; }
    int WarningCount() const { return m_warnings; }

    static QString WarningPrefix();
    static QString ErrorPrefix();
    static QString Dashes();
    static QString SuccessLine();
    static QString FailureLine();

private:
    QStringList m_lines;
    LineAdded m_lineAdded;
    int m_warnings = 0;
    int m_errors = 0;
};
