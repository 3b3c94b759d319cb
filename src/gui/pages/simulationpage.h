// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class TLEDMATRIX;
class TMainForm;

/// The page "Simulation": the simulated indicator LED1 centred in its panel, the
/// hall-call list "Tableau:" (one entry per floor, highest floor first, the ticked
/// entry is the floor the car is at) and the ten special-state boxes.
class TSimulationPage : public QWidget
{
    Q_OBJECT
public:
    static constexpr int StateCount = 10;

    explicit TSimulationPage(TMainForm &main, QWidget *parent = nullptr);

    /// What entering the page does to its lists: the hall calls are rebuilt from the
    /// current floor labels, the state boxes cleared, and the entry of the current
    /// floor row becomes the current call, selected and ticked.
    void EnterPage();
    /// One entry per floor from the highest (count - 1) down to 0, each showing the
    /// label of its floor's grid row; nothing ticked.
    void FillAussenruf();
    /// Unticks all ten state boxes.
    void ClearStates();

    /// Index of the ticked hall-call entry (0 for the top one), -1 when there is none.
    /// Entry k stands for floor grid row k + 1.
    int CurrentCall = -1;

    QWidget *LEDPanel = nullptr; ///< the panel LED1 is centred in
    TLEDMATRIX *LED1 = nullptr;
    QLabel *LabelTableau = nullptr;
    QListWidget *CBAussenruf = nullptr;
    QGroupBox *GroupBox6 = nullptr; ///< "Zustand:"
    QCheckBox *CBUeberlast = nullptr;
    QCheckBox *CBSonderfahrt = nullptr;
    QCheckBox *CBAusserBetrieb = nullptr;
    QCheckBox *CBBrandfall = nullptr;
    QCheckBox *CBFeuerwehrfahrt = nullptr;
    QCheckBox *CBWartung = nullptr;
    QCheckBox *CBVollLast = nullptr;
    QCheckBox *CBEvakuierung = nullptr;
    QCheckBox *CBBeladung = nullptr;
    QCheckBox *CBCustom = nullptr;
    /// The ten boxes in the numbering of the special states (index 0 is state 1).
    std::array<QCheckBox *, StateCount> StateBoxes{};

private:
    TMainForm &m_main;
};
