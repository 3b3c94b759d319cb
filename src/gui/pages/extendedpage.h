// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QTabWidget;
class TLEDMATRIX;
class TMainForm;

/// The page "Erweiterte Einstellungen" with its inner tabs "Sonderzeichen" (special
/// states on LED3), "Kleiner Zeichensatz" (small-font layout on LED4) and "Optionen".
class TExtendedPage : public QWidget
{
    Q_OBJECT
public:
    explicit TExtendedPage(TMainForm &main, QWidget *parent = nullptr);

    QTabWidget *PageControlErweitert = nullptr;
    QWidget *TabSheetSonderzeichen = nullptr;
    QWidget *TabSheetKleinerFont = nullptr;
    QWidget *TabSheetOptionen = nullptr;

    TLEDMATRIX *LED3 = nullptr; ///< special states
    TLEDMATRIX *LED4 = nullptr; ///< small font

private:
    TMainForm &m_main;
};
