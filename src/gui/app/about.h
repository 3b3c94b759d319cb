// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

/// The about box "Info...": icon, program name, version and build date, OK.
class TfrmAbout : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget *parent = nullptr);

    /// Centres the box on \a window (on the screen when there is none) and shows it modally.
    int ShowModalOver(const QWidget *window);

    QLabel *LabelName = nullptr;
    QLabel *LabelVersion = nullptr;
    QLabel *LabelDate = nullptr;
    QLabel *ProgramIcon = nullptr;
    QPushButton *OKButton = nullptr;
};
