// SPDX-License-Identifier: GPL-3.0-or-later
#include "orvcli.h"

#include "app/appcontext.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    // Fonts and rasters need a GUI application, but never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(u"orvedit-cli"_s);
    QGuiApplication::setApplicationVersion(QStringLiteral(ORV_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Command-line tool of the Kelvra ORV-Editor.\n\n"
        "Commands:\n"
        "  new --model vfd128|lcd240|vfd256 [--upright] [--floors N] -o FILE.orv\n"
        "  convert FILE.orv\n"
        "  render FILE.orv [--row R] [--arrow up|down] [--state N] [--small] [--led-size S] -o FILE.png\n"
        "  generate FILE.orv [-o FILE.lfs]\n"
        "  info FILE.lfs [--json]\n"
        "  layouts  list the nine display layouts with their regions\n"
        "  demo     a new LCD project and its flash file (runs without a display)"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(u"command"_s, u"new, convert, render, generate, info, layouts or demo"_s);
    const QCommandLineOption outputOpt({u"o"_s, u"output"_s}, u"Output file."_s, u"file"_s);
    const QCommandLineOption modelOpt(u"model"_s, u"Display model: vfd128, lcd240 or vfd256."_s, u"model"_s);
    const QCommandLineOption uprightOpt(u"upright"_s, u"Mounted upright."_s);
    const QCommandLineOption floorsOpt(u"floors"_s, u"Number of floors (2..64, default 4)."_s, u"n"_s, u"4"_s);
    const QCommandLineOption rowOpt(u"row"_s, u"Floor row to render (default 1)."_s, u"r"_s, u"1"_s);
    const QCommandLineOption arrowOpt(u"arrow"_s, u"Arrow direction: up or down (default up)."_s, u"dir"_s, u"up"_s);
    const QCommandLineOption stateOpt(u"state"_s, u"Special state to render (1..10)."_s, u"n"_s);
    const QCommandLineOption smallOpt(u"small"_s, u"Render the small-font page."_s);
    const QCommandLineOption ledSizeOpt(u"led-size"_s, u"LED size 1..6 (default 1)."_s, u"s"_s, u"1"_s);
    const QCommandLineOption jsonOpt(u"json"_s, u"Output as JSON."_s);
    parser.addOptions({outputOpt, modelOpt, uprightOpt, floorsOpt, rowOpt, arrowOpt, stateOpt, smallOpt,
                       ledSizeOpt, jsonOpt});
    parser.process(app);

    QTextStream out(stdout);
    QTextStream err(stderr);
    const auto usage = [&](const QString &message) {
        err << "orvedit-cli: " << message << Qt::endl << parser.helpText();
        return OrvCli::ExitBadInput;
    };
    const auto number = [&](const QCommandLineOption &opt, int *value) {
        bool ok = false;
        *value = parser.value(opt).toInt(&ok);
        return ok;
    };

    const QStringList args = parser.positionalArguments();
    if (args.isEmpty())
        return usage(u"no command"_s);
    OrvCli cli(AppContext::FromApplication(), out, err);
    const QString command = args.first();
    const QString output = parser.value(outputOpt);

    if (command == u"layouts"_s && args.size() == 1)
        return cli.Layouts();
    if (command == u"demo"_s && args.size() == 1)
        return cli.Demo();
    if (command == u"new"_s && args.size() == 1) {
        int floors = 0;
        if (!parser.isSet(modelOpt))
            return usage(u"new needs --model"_s);
        if (!number(floorsOpt, &floors))
            return usage(u"--floors needs a number"_s);
        return cli.New(parser.value(modelOpt), parser.isSet(uprightOpt), floors, output);
    }
    if (command == u"convert"_s && args.size() == 2)
        return cli.Convert(args.at(1));
    if (command == u"generate"_s && args.size() == 2)
        return cli.Generate(args.at(1), output);
    if (command == u"info"_s && args.size() == 2)
        return cli.Info(args.at(1), parser.isSet(jsonOpt));
    if (command == u"render"_s && args.size() == 2) {
        OrvCli::RenderOptions options;
        if (parser.isSet(stateOpt) && parser.isSet(smallOpt))
            return usage(u"--state and --small exclude each other"_s);
        if (!number(ledSizeOpt, &options.LedSize))
            return usage(u"--led-size needs a number"_s);
        const QString arrow = parser.value(arrowOpt);
        if (arrow != u"up"_s && arrow != u"down"_s)
            return usage(u"--arrow is up or down"_s);
        options.ArrowDown = arrow == u"down"_s;
        if (parser.isSet(stateOpt)) {
            options.What = OrvCli::RenderOptions::Page::Special;
            if (!number(stateOpt, &options.Row))
                return usage(u"--state needs a number"_s);
        } else if (parser.isSet(smallOpt)) {
            options.What = OrvCli::RenderOptions::Page::Small;
        } else if (!number(rowOpt, &options.Row)) {
            return usage(u"--row needs a number"_s);
        }
        return cli.Render(args.at(1), options, output);
    }
    return usage(u"unknown command or wrong arguments: "_s + args.join(u' '));
}
