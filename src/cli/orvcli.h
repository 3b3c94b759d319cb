// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/appcontext.h"

#include <QTextStream>

/// The commands of orvedit-cli; each returns the process exit code. Output goes
/// to \a out, errors to \a err.
class OrvCli
{
public:
    OrvCli(const AppContext &context, QTextStream &out, QTextStream &err);

    /// The nine layouts with their regions.
    int Layouts();
    /// The headless demonstration: version and layouts.
    int Demo();

private:
    AppContext m_context;
    QTextStream &m_out;
    QTextStream &m_err;
};
