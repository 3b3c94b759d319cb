// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/about.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfrmAbout::TfrmAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("Info..."));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    ProgramIcon = new QLabel(this);
    ProgramIcon->setPixmap(QPixmap(QStringLiteral(":/icons/app.png")));
    ProgramIcon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    // The double blanks are part of the texts.
    LabelName = new QLabel(tr("Kelvra  ORV-Editor"), this);
    QFont bold = LabelName->font();
    bold.setBold(true);
    LabelName->setFont(bold);
    LabelVersion = new QLabel(tr("Version  1.8.2"), this);
    LabelDate = new QLabel(tr("vom 7 Dez 2007 / 10:50:53"), this);

    OKButton = new QPushButton(tr("OK"), this);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto *texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addWidget(LabelName);
    texts->addWidget(LabelVersion);
    texts->addWidget(LabelDate);
    texts->addStretch();

    auto *row = new QHBoxLayout;
    row->addWidget(ProgramIcon);
    row->addSpacing(12);
    row->addLayout(texts, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->addLayout(row, 1);
    outer->addLayout(buttons);

    setFixedSize(300, 135);
}

int TfrmAbout::ShowModalOver(const QWidget *window)
{
    if (window) {
        const QRect w = window->frameGeometry();
        move(w.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    }
    return exec();
}
