// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class TLEDMATRIX;
class TMainForm;

/// The page "Simulation": the simulated indicator LED1 centred in its panel.
class TSimulationPage : public QWidget
{
    Q_OBJECT
public:
    explicit TSimulationPage(TMainForm &main, QWidget *parent = nullptr);

    QWidget *LEDPanel = nullptr; ///< the panel LED1 is centred in
    TLEDMATRIX *LED1 = nullptr;

private:
    TMainForm &m_main;
};
