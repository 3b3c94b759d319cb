// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

/// The editor's command line: only the first two parameters count. "/NOSPLASH"
/// (any case) in either position suppresses the splash; a parameter naming an
/// existing file is the project to open, and when both do, the second wins.
struct CommandLine
{
    bool NoSplash = false;
    QString ProjectFile;

    /// \a parameters without the program name (argv[1], argv[2], ...).
    static CommandLine Parse(const QStringList &parameters);
};
