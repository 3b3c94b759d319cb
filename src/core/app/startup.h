// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/appcontext.h"

#include <QString>

class LanguageLibrary;

/// The steps of the program start that come before any window: the language
/// choice and the date/time defaults in the settings file.
class Startup
{
public:
    explicit Startup(const AppContext &context);

    /// Step 1: when "orvedit.eng" exists, reads "Settings"/"Language" (default
    /// "AUTO"), writes it straight back and resolves "AUTO" by \a userIsGerman.
    /// Returns "DE", "EN" or the other value found; "DE" when there is no library.
    QString ChooseLanguage(bool userIsGerman) const;

    /// Step 2: loads the language library when \a language is "EN". Returns the
    /// language in use afterwards: "DE" when the library cannot be loaded.
    QString SwitchLanguage(const QString &language, LanguageLibrary &library) const;

    /// Step 3: the "SETTINGS"/"DateTimeFormat" switch and the simulation's
    /// date/time pattern ("SIMULATION"/"DateTimeFormat").
    void ApplyDateTimeDefaults(const QString &language) const;

    /// The date/time pattern for a language: German for "DE", English otherwise.
    static QString DefaultDateTimeFormat(const QString &language);

    /// Whether the user's language is German (QLocale::system()).
    static bool UserIsGerman();

    /// All three steps; returns the language in use.
    QString Run(bool userIsGerman, LanguageLibrary &library) const;

private:
    AppContext m_context;
};
