// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startup.h"

#include "app/languagelibrary.h"
#include "settings/inifile.h"
#include "settings/programsettings.h"

#include <QFileInfo>
#include <QLocale>

using namespace Qt::StringLiterals;

Startup::Startup(const AppContext &context) : m_context(context) {}

QString Startup::ChooseLanguage(bool userIsGerman) const
{
    if (!QFileInfo(m_context.LanguageLibraryPath()).isFile())
        return u"DE"_s;
    IniFile ini(m_context.SettingsPath());
    QString language = ini.ReadString(Keys::kSettings, Keys::kLanguage, u"AUTO"_s);
    ini.WriteString(Keys::kSettings, Keys::kLanguage, language);
    if (language == u"AUTO"_s)
        language = userIsGerman ? u"DE"_s : u"EN"_s;
    return language;
}

QString Startup::SwitchLanguage(const QString &language, LanguageLibrary &library) const
{
    if (language != u"EN"_s)
        return language;
    return library.Load(m_context.LanguageLibraryPath()) ? language : u"DE"_s;
}

QString Startup::DefaultDateTimeFormat(const QString &language)
{
    return language == u"DE"_s ? u"dd.mmm.yyyy hh:nn"_s : u"mmm/dd/yyyy hh:nn ampm"_s;
}

void Startup::ApplyDateTimeDefaults(const QString &language) const
{
    IniFile ini(m_context.SettingsPath());
    const QString def = DefaultDateTimeFormat(language);
    if (ini.ReadString(Keys::kSettingsUpper, Keys::kDateTimeFormat, QString()).isEmpty())
        ini.WriteString(Keys::kSettingsUpper, Keys::kDateTimeFormat, u"AUTO"_s);
    if (ini.ReadString(Keys::kSettingsUpper, Keys::kDateTimeFormat, u"AUTO"_s) == u"AUTO"_s)
        ini.WriteString(Keys::kSimulation, Keys::kDateTimeFormat, def);
    if (ini.ReadString(Keys::kSimulation, Keys::kDateTimeFormat, QString()).isEmpty())
        ini.WriteString(Keys::kSimulation, Keys::kDateTimeFormat, def);
}

bool Startup::UserIsGerman()
{
    return QLocale::system().language() == QLocale::German;
}

QString Startup::Run(bool userIsGerman, LanguageLibrary &library) const
{
    const QString language = SwitchLanguage(ChooseLanguage(userIsGerman), library);
    ApplyDateTimeDefaults(language);
    return language;
}
