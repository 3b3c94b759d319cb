// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/floortextpage.h"

#include "app/mainfrm.h"
#include "widgets/tledmatrix.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TFloorTextPage::TFloorTextPage(TMainForm &main, QWidget *parent) : QWidget(parent), m_main(main)
{
    setObjectName(u"TabSheetGrund"_s);

    GroupBoxEtagenanzeige = new QGroupBox(tr("Etagenanzeige:"), this);
    RB_VFD1 = new QRadioButton(tr("ORV-VFD  (128 x 64 )"), GroupBoxEtagenanzeige);
    RB_LCD = new QRadioButton(tr("ORV-LCD  (240 x 128)"), GroupBoxEtagenanzeige);
    RB_VFD2 = new QRadioButton(tr("ORV-VFD  (256 x 128 )"), GroupBoxEtagenanzeige);
    RB_VFD1->setObjectName(u"RB_VFD1"_s);
    RB_LCD->setObjectName(u"RB_LCD"_s);
    RB_VFD2->setObjectName(u"RB_VFD2"_s);
    RB_LCD->setChecked(true);
    auto *models = new QVBoxLayout(GroupBoxEtagenanzeige);
    models->addWidget(RB_VFD1);
    models->addWidget(RB_LCD);
    models->addWidget(RB_VFD2);
    connect(RB_VFD1, &QRadioButton::clicked, &m_main, &TMainForm::RB_VFD1Click);
    connect(RB_LCD, &QRadioButton::clicked, &m_main, &TMainForm::RB_LCDClick);
    connect(RB_VFD2, &QRadioButton::clicked, &m_main, &TMainForm::RB_VFD2Click);

    PageControlFont = new QTabWidget(this);
    PageControlFont->setObjectName(u"PageControlFont"_s);
    LBFont = new QListWidget;
    LBFont->setObjectName(u"LBFont"_s);
    LBFont->setSortingEnabled(true);
    LBFont2 = new QListWidget;
    LBFont2->setObjectName(u"LBFont2"_s);
    TabSheetWinFont = LBFont;
    TabSheetOtherFont = LBFont2;
    PageControlFont->addTab(TabSheetWinFont, tr("Windows-Fonts"));
    PageControlFont->addTab(TabSheetOtherFont, tr("Sonstige Fonts"));

    LED2 = new TLEDMATRIX;
    LED2->setObjectName(u"LED2"_s);

    auto *left = new QVBoxLayout;
    left->addWidget(GroupBoxEtagenanzeige);
    left->addWidget(PageControlFont, 1);
    auto *right = new QVBoxLayout;
    right->addWidget(LED2, 0, Qt::AlignLeft | Qt::AlignTop);
    right->addStretch();
    auto *page = new QHBoxLayout(this);
    page->addLayout(left);
    page->addLayout(right, 1);
}
