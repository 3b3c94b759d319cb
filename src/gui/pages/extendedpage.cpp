// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/extendedpage.h"

#include "app/mainfrm.h"
#include "widgets/tledmatrix.h"

#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

/// A tab whose matrix sits at its top-left corner.
QWidget *matrixTab(TLEDMATRIX *matrix)
{
    auto *tab = new QWidget;
    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(matrix, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addStretch();
    return tab;
}

} // namespace

TExtendedPage::TExtendedPage(TMainForm &main, QWidget *parent) : QWidget(parent), m_main(main)
{
    setObjectName(u"TabSheetErweitert"_s);
    LED3 = new TLEDMATRIX;
    LED3->setObjectName(u"LED3"_s);
    LED4 = new TLEDMATRIX;
    LED4->setObjectName(u"LED4"_s);

    PageControlErweitert = new QTabWidget(this);
    PageControlErweitert->setObjectName(u"PageControlErweitert"_s);
    TabSheetSonderzeichen = matrixTab(LED3);
    TabSheetSonderzeichen->setObjectName(u"TabSheetSonderzeichen"_s);
    TabSheetKleinerFont = matrixTab(LED4);
    TabSheetKleinerFont->setObjectName(u"TabSheetKleinerFont"_s);
    TabSheetOptionen = new QWidget;
    TabSheetOptionen->setObjectName(u"TabSheetOptionen"_s);
    PageControlErweitert->addTab(TabSheetSonderzeichen, tr("Sonderzeichen"));
    PageControlErweitert->addTab(TabSheetKleinerFont, tr("Kleiner Zeichensatz"));
    PageControlErweitert->addTab(TabSheetOptionen, tr("Optionen"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PageControlErweitert);
}
