// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's start on a temporary program folder: splash or none, the main
// window shown afterwards with its page control hidden, the project named on the
// command line remembered, the English library switching the frame's texts.
#include "app/appstartup.h"
#include "app/mainfrm.h"
#include "app/splash.h"
#include "gui/programfolder.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestStartupGui : public QObject
{
    Q_OBJECT

private:
    QScopedPointer<QTemporaryDir> m_dir;
    AppContext context() const { return AppContext(m_dir->path()); }

private Q_SLOTS:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
        QVERIFY(ProgramFolder::CopyBitmapFonts(m_dir->path()));
    }

    void withoutSplash_data()
    {
        QTest::addColumn<QStringList>("parameters");
        QTest::addColumn<bool>("project");
        QTest::newRow("/nosplash") << QStringList{u"/nosplash"_s} << false;
        QTest::newRow("project and /NOSPLASH") << QStringList{u"x.orv"_s, u"/NOSPLASH"_s} << true;
    }

    void withoutSplash()
    {
        QFETCH(QStringList, parameters);
        QFETCH(bool, project);
        QVERIFY(QFile(m_dir->filePath(u"x.orv"_s)).open(QIODevice::WriteOnly));
        const QString previous = QDir::currentPath();
        QDir::setCurrent(m_dir->path());
        AppStartup startup(context(), parameters);
        QDir::setCurrent(previous);

        QSignalSpy started(&startup, &AppStartup::started);
        QVERIFY(startup.Start());
        QVERIFY(!startup.Splash());
        // The command-line project (an empty file here) is opened once the window shows.
        QStringList messages;
        startup.MainForm()->ShowMessage = [&messages](const QString &text) { messages << text; };
        QVERIFY(started.wait(1000));
        TMainForm *form = startup.MainForm();
        QVERIFY(form->isVisible());
        QVERIFY(form->MainPageControl->isHidden());
        QCOMPARE(form->CommandLineProject, project ? m_dir->filePath(u"x.orv"_s) : QString());
        QCOMPARE(messages.size(), project ? 1 : 0);
        QVERIFY(form->OpenDialogFileName.isEmpty());
        QCOMPARE(form->Model->StateFlags, quint16(0));
        QCOMPARE(startup.Language(), u"DE"_s);
        // A first start without settings file and without language library leaves these keys.
        QFile ini(context().SettingsPath());
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QCOMPARE(ini.readAll(), QByteArray("[SETTINGS]\nDateTimeFormat=AUTO\n"
                                           "[SIMULATION]\nDateTimeFormat=dd.mmm.yyyy hh:nn\nColor1=0000FFFFFFFF\n"));
        QVERIFY(QFileInfo(m_dir->filePath(u"project"_s)).isDir());
        QVERIFY(QFileInfo(m_dir->filePath(u"tmp"_s)).isDir());
        form->close();
    }

    void splashShownTwoSeconds()
    {
        QVERIFY(QImage(8, 8, QImage::Format_RGB32).save(m_dir->filePath(u"splash.jpg"_s)));
        AppStartup startup(context(), {});
        QSignalSpy started(&startup, &AppStartup::started);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(startup.Start());
        TSplashForm *splash = startup.Splash();
        QVERIFY(splash);
        QVERIFY(splash->isVisible());
        QVERIFY(splash->HasPicture());
        QCOMPARE(splash->size(), QSize(401, 331));
        QVERIFY(splash->windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(splash->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(splash->VersionLabel()->text(), u"Version 1.8.2"_s);
        QCOMPARE(splash->VersionLabel()->geometry(), QRect(264, 248, 129, 22));
        QVERIFY(splash->VersionLabel()->alignment().testFlag(Qt::AlignRight));
        QVERIFY(!startup.MainForm()->isVisible());

        QVERIFY(started.wait(5000));
        QVERIFY(clock.elapsed() >= AppStartup::kSplashMs - 50);
        QVERIFY(!startup.Splash());
        QVERIFY(startup.MainForm()->isVisible());
        startup.MainForm()->close();
    }

    void splashWithoutPicture()
    {
        TSplashForm splash(m_dir->filePath(u"splash.jpg"_s));
        QVERIFY(!splash.HasPicture());
        QVERIFY(!splash.grab().isNull());
    }

    void englishLibrarySwitchesTheFrame()
    {
        QVERIFY(QFile::copy(QStringLiteral(ORV_BIN_DIR) + u"/orvedit.eng"_s, m_dir->filePath(u"orvedit.eng"_s)));
        {
            QFile ini(context().SettingsPath());
            QVERIFY(ini.open(QIODevice::WriteOnly));
            ini.write("[Settings]\nLanguage=EN\n");
        }
        {
            AppStartup startup(context(), {u"/NOSPLASH"_s});
            QVERIFY(startup.Start());
            QCOMPARE(startup.Language(), u"EN"_s);
            TMainForm *form = startup.MainForm();
            QCOMPARE(form->MenuDatei->title(), u"File"_s);
            QCOMPARE(form->aBeenden->text(), u"Exit"_s);
            QCOMPARE(form->MainPageControl->tabText(2), u"Simulation"_s);
            form->close();
        }
        // The translator goes with the start-up object: later windows are German again.
        TMainForm plain(context());
        QCOMPARE(plain.MenuDatei->title(), u"Datei"_s);
    }
};

QTEST_MAIN(TestStartupGui)
#include "test_startup_gui.moc"
