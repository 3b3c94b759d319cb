// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/simulationpage.h"

#include "app/mainfrm.h"
#include "widgets/tledmatrix.h"

#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TSimulationPage::TSimulationPage(TMainForm &main, QWidget *parent) : QWidget(parent), m_main(main)
{
    setObjectName(u"TabSheetSimulation"_s);
    LEDPanel = new QWidget(this);
    LEDPanel->setObjectName(u"LEDPanel"_s);
    LED1 = new TLEDMATRIX(LEDPanel);
    LED1->setObjectName(u"LED1"_s);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(LEDPanel, 1);
}
