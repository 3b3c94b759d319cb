// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

/// The new-project dialog: display model, mounting and number of floors. It is made
/// once and kept, so the next new project offers the previous choices again.
class TNewProject : public QDialog
{
    Q_OBJECT
public:
    static constexpr int MinFloors = 2;
    static constexpr int MaxFloors = 64;

    /// \a vfd256Enabled offers the third model ("ENABLEVFD256").
    explicit TNewProject(bool vfd256Enabled, QWidget *parent = nullptr);

    /// 0 VFD 128 x 64, 1 LCD 240 x 128, 2 VFD 256 x 128 (the display model's value).
    int HardwareIndex() const;
    void SetHardwareIndex(int index);
    bool Vertical() const;
    int FloorCount() const;
    /// Number of hardware items offered (2 or 3).
    int HardwareCount() const;

    /// Shown centred on the parent; true when closed with OK.
    bool ShowModalOver(QWidget *owner);

    QGroupBox *RGHardware = nullptr;
    QButtonGroup *HardwareButtons = nullptr;
    QCheckBox *cbVertical = nullptr;
    QLineEdit *EditAnzahlEtagen = nullptr; ///< the spin box's read-only text
    QSpinBox *EtagenUpDown = nullptr;
    QPushButton *BitBtn1 = nullptr; ///< OK
    QPushButton *BitBtn2 = nullptr; ///< "Abbruch"
};
