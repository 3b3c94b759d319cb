// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/appcontext.h"
#include "app/commandline.h"
#include "app/languagelibrary.h"

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>

#include <memory>

class TMainForm;
class TSplashForm;

/// The editor's start: language, date/time defaults, splash, main window, the
/// project named on the command line; then the event loop.
class AppStartup : public QObject
{
    Q_OBJECT
public:
    static constexpr int kSplashMs = 2000;

    /// \a parameters: the command line without the program name.
    AppStartup(const AppContext &context, const QStringList &parameters);
    ~AppStartup() override;

    /// Everything up to the shown main window, without running the event loop.
    /// False (after telling the user) when the editor cannot start.
    bool Start();
    /// Start() and the event loop; returns the program's exit code.
    int Run();

    QString Language() const { return m_language; }
    TMainForm *MainForm() const { return m_mainForm.get(); }
    TSplashForm *Splash() const { return m_splash.get(); }
    const CommandLine &Arguments() const { return m_commandLine; }

Q_SIGNALS:
    /// The splash is gone and the main window is shown.
    void started();

private:
    void finishStart();

    AppContext m_context;
    CommandLine m_commandLine;
    LanguageLibrary m_languageLibrary;
    QString m_language;
    std::unique_ptr<TSplashForm> m_splash;
    std::unique_ptr<TMainForm> m_mainForm;
    QElapsedTimer m_splashShown;
};
