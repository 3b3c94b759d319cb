// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QGroupBox;
class QListWidget;
class QRadioButton;
class QTabWidget;
class TLEDMATRIX;
class TMainForm;

/// The page "Grundeinstellungen": the display-model choice and the font lists on the
/// left, the floor texts and the floor preview on LED2 on the right.
class TFloorTextPage : public QWidget
{
    Q_OBJECT
public:
    explicit TFloorTextPage(TMainForm &main, QWidget *parent = nullptr);

    QGroupBox *GroupBoxEtagenanzeige = nullptr;
    QRadioButton *RB_VFD1 = nullptr;
    QRadioButton *RB_LCD = nullptr;
    QRadioButton *RB_VFD2 = nullptr;

    QTabWidget *PageControlFont = nullptr;
    QWidget *TabSheetWinFont = nullptr;   ///< "Windows-Fonts"
    QWidget *TabSheetOtherFont = nullptr; ///< "Sonstige Fonts"
    QListWidget *LBFont = nullptr;        ///< installed families, sorted
    QListWidget *LBFont2 = nullptr;       ///< families of the program's fonts folder

    TLEDMATRIX *LED2 = nullptr; ///< the floor preview

private:
    TMainForm &m_main;
};
