// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/newproj.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TNewProject::TNewProject(bool vfd256Enabled, QWidget *parent) : QDialog(parent)
{
    setObjectName(u"NewProject"_s);
    setWindowTitle(tr("Neues ORV-Projekt"));
    setModal(true);

    RGHardware = new QGroupBox(tr("Hardware-Auswahl gewählte ORV:"), this);
    RGHardware->setObjectName(u"RGHardware"_s);
    HardwareButtons = new QButtonGroup(this);
    auto *items = new QVBoxLayout(RGHardware);
    QStringList captions{tr("ORV-VFD  ( 128  x 64   )"), tr("ORV-LCD  ( 240  x 128 )")};
    if (vfd256Enabled)
        captions << tr("ORV-VFD  ( 256  x 128 )");
    for (int i = 0; i < captions.size(); ++i) {
        auto *rb = new QRadioButton(captions.at(i), RGHardware);
        rb->setObjectName(u"RGHardware"_s + QString::number(i));
        HardwareButtons->addButton(rb, i);
        items->addWidget(rb);
    }
    HardwareButtons->button(0)->setChecked(true);

    cbVertical = new QCheckBox(tr("Vertikale Ausrichtung"), this);
    cbVertical->setObjectName(u"cbVertical"_s);
    // The caption stands left of the box.
    cbVertical->setLayoutDirection(Qt::RightToLeft);

    auto *floorsLabel = new QLabel(tr("Wieviele Etagen hat der Lift insgesamt:"), this);
    EtagenUpDown = new QSpinBox(this);
    EtagenUpDown->setObjectName(u"EtagenUpDown"_s);
    EtagenUpDown->setRange(MinFloors, MaxFloors);
    EtagenUpDown->setValue(4);
    // The number changes through the arrows only.
    EditAnzahlEtagen = EtagenUpDown->findChild<QLineEdit *>();
    if (EditAnzahlEtagen) {
        EditAnzahlEtagen->setObjectName(u"EditAnzahlEtagen"_s);
        EditAnzahlEtagen->setReadOnly(true);
    }
    floorsLabel->setBuddy(EtagenUpDown);
    auto *floors = new QHBoxLayout;
    floors->addWidget(floorsLabel);
    floors->addWidget(EtagenUpDown);
    floors->addStretch();

    BitBtn1 = new QPushButton(tr("OK"), this);
    BitBtn1->setObjectName(u"BitBtn1"_s);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(tr("Abbruch"), this);
    BitBtn2->setObjectName(u"BitBtn2"_s);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(RGHardware);
    layout->addWidget(cbVertical, 0, Qt::AlignLeft);
    layout->addLayout(floors);
    layout->addStretch();
    layout->addLayout(buttons);
}

int TNewProject::HardwareIndex() const
{
    return qMax(0, HardwareButtons->checkedId());
}

void TNewProject::SetHardwareIndex(int index)
{
    if (QAbstractButton *b = HardwareButtons->button(index))
        b->setChecked(true);
}

bool TNewProject::Vertical() const
{
    return cbVertical->isChecked();
}

int TNewProject::FloorCount() const
{
    return EtagenUpDown->value();
}

int TNewProject::HardwareCount() const
{
    return int(HardwareButtons->buttons().size());
}

bool TNewProject::ShowModalOver(QWidget *owner)
{
    adjustSize();
    if (owner) {
        const QRect area = owner->frameGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    return exec() == QDialog::Accepted;
}
