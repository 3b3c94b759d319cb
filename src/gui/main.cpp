// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/appcontext.h"
#include "app/appstartup.h"
#include "app/processaffinity.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    PinToLowestAllowedCpu();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvedit"));
    QApplication::setApplicationVersion(QStringLiteral(ORV_VERSION));
    AppStartup startup(AppContext::FromApplication(), QApplication::arguments().mid(1));
    return startup.Run();
}
