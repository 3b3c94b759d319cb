// SPDX-License-Identifier: GPL-3.0-or-later
#include "orvcli.h"

#include "app/appcontext.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Fonts and rasters need a GUI application, but never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("orvedit-cli"));
    QGuiApplication::setApplicationVersion(QStringLiteral(ORV_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Command-line tool of the Kelvra ORV-Editor.\n\n"
        "Commands:\n"
        "  layouts  list the nine display layouts with their regions\n"
        "  demo     show the version and the layouts (runs without a display)"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("layouts or demo"));
    parser.process(app);

    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = parser.positionalArguments();
    if (args.isEmpty()) {
        err << parser.helpText();
        return 2;
    }
    OrvCli cli(AppContext::FromApplication(), out, err);
    const QString command = args.first();
    if (command == QStringLiteral("layouts") && args.size() == 1)
        return cli.Layouts();
    if (command == QStringLiteral("demo") && args.size() == 1)
        return cli.Demo();
    err << "orvedit-cli: unknown command or extra arguments: " << args.join(u' ') << Qt::endl;
    err << parser.helpText();
    return 2;
}
