// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/appstartup.h"

#include "app/mainfrm.h"
#include "app/splash.h"
#include "app/startup.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

AppStartup::AppStartup(const AppContext &context, const QStringList &parameters)
    : m_context(context), m_commandLine(CommandLine::Parse(parameters))
{
}

AppStartup::~AppStartup()
{
    if (m_languageLibrary.IsLoaded())
        QCoreApplication::removeTranslator(m_languageLibrary.Translator());
}

bool AppStartup::Start()
{
    // The language is fixed before any window exists.
    m_language = Startup(m_context).Run(Startup::UserIsGerman(), m_languageLibrary);
    if (m_languageLibrary.IsLoaded())
        QCoreApplication::installTranslator(m_languageLibrary.Translator());

    if (!m_commandLine.NoSplash) {
        m_splash = std::make_unique<TSplashForm>(m_context.SplashPicturePath());
        m_splash->show();
        m_splash->repaint();
        QCoreApplication::processEvents();
        m_splashShown.start();
    }

    m_mainForm = std::make_unique<TMainForm>(m_context);
    QString error;
    if (!m_mainForm->Create(&error)) {
        m_splash.reset();
        QMessageBox::critical(nullptr, m_mainForm->windowTitle(), error);
        m_mainForm.reset();
        return false;
    }
    m_mainForm->CommandLineProject = m_commandLine.ProjectFile;

    // The splash stays its two seconds while the event loop already runs.
    const int remaining = m_splash ? int(qMax<qint64>(0, kSplashMs - m_splashShown.elapsed())) : 0;
    QTimer::singleShot(remaining, this, &AppStartup::finishStart);
    return true;
}

void AppStartup::finishStart()
{
    m_splash.reset();
    m_mainForm->show();
    m_mainForm->CheckScreenResolution();
    m_mainForm->OpenCommandLineProject();
    Q_EMIT started();
}

int AppStartup::Run()
{
    if (!Start())
        return 1;
    return QApplication::exec();
}
