// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/simulationpage.h"

#include "app/mainfrm.h"
#include "widgets/tledmatrix.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TSimulationPage::TSimulationPage(TMainForm &main, QWidget *parent) : QWidget(parent), m_main(main)
{
    setObjectName(u"TabSheetSimulation"_s);
    LEDPanel = new QWidget(this);
    LEDPanel->setObjectName(u"LEDPanel"_s);
    LED1 = new TLEDMATRIX(LEDPanel);
    LED1->setObjectName(u"LED1"_s);

    LabelTableau = new QLabel(tr("Tableau:"));
    CBAussenruf = new QListWidget;
    CBAussenruf->setObjectName(u"CBAussenruf"_s);
    CBAussenruf->setSelectionMode(QAbstractItemView::SingleSelection);
    LabelTableau->setBuddy(CBAussenruf);

    GroupBox6 = new QGroupBox(tr("Zustand:"));
    GroupBox6->setObjectName(u"GroupBox6"_s);
    struct Box
    {
        QCheckBox **field;
        const char *name;
        QString caption;
    };
    const Box boxes[StateCount] = {
        {&CBUeberlast, "CBUeberlast", tr("Ueberlast")},
        {&CBSonderfahrt, "CBSonderfahrt", tr("Sonderfahrt")},
        {&CBAusserBetrieb, "CBAusserBetrieb", tr("Ausser Betrieb")},
        {&CBBrandfall, "CBBrandfall", tr("Brandfall")},
        {&CBFeuerwehrfahrt, "CBFeuerwehrfahrt", tr("Feuerwehrfahrt                    .      ")},
        {&CBWartung, "CBWartung", tr("Wartung")},
        {&CBVollLast, "CBVollLast", tr("Volllast")},
        {&CBEvakuierung, "CBEvakuierung", tr("Evakuierung")},
        {&CBBeladung, "CBBeladung", tr("Beladung")},
        {&CBCustom, "CBCustom", u"Custom"_s},
    };
    auto *stateLayout = new QVBoxLayout(GroupBox6);
    for (int i = 0; i < StateCount; ++i) {
        auto *box = new QCheckBox(boxes[i].caption);
        box->setObjectName(QString::fromLatin1(boxes[i].name));
        *boxes[i].field = box;
        StateBoxes[size_t(i)] = box;
        stateLayout->addWidget(box);
    }

    auto *side = new QVBoxLayout;
    side->addWidget(LabelTableau);
    side->addWidget(CBAussenruf, 1);
    side->addWidget(GroupBox6);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(LEDPanel, 1);
    layout->addLayout(side);
}

void TSimulationPage::FillAussenruf()
{
    const QSignalBlocker b(CBAussenruf);
    CBAussenruf->clear();
    CurrentCall = -1;
    const ProjectModel *model = m_main.Model.get();
    if (!model)
        return;
    // Floor n stands in grid row FloorCount - n: the top entry is row 1.
    const int count = model->FloorCount();
    for (int floor = count - 1; floor >= 0; --floor) {
        auto *item = new QListWidgetItem(model->FloorLabel(count - floor), CBAussenruf);
        // The ticks follow the simulated car, not the user's clicks.
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Unchecked);
    }
}

void TSimulationPage::ClearStates()
{
    for (QCheckBox *box : StateBoxes)
        box->setChecked(false);
}

void TSimulationPage::EnterPage()
{
    FillAussenruf();
    ClearStates();
    const ProjectModel *model = m_main.Model.get();
    if (!model)
        return;
    const int index = model->CurrentFloorRow() - 1;
    if (index < 0 || index >= CBAussenruf->count())
        return;
    const QSignalBlocker b(CBAussenruf);
    CBAussenruf->setCurrentRow(index);
    CBAussenruf->item(index)->setCheckState(Qt::Checked);
    CurrentCall = index;
}
