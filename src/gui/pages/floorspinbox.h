// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSpinBox>

/// A spin box counting the other way: its up arrow (button and key) lowers the value.
/// The vertical text offset uses it, so that "up" moves the text up.
class FloorReverseSpinBox : public QSpinBox
{
    Q_OBJECT
public:
    explicit FloorReverseSpinBox(QWidget *parent = nullptr);

    void stepBy(int steps) override;

protected:
    StepEnabled stepEnabled() const override;
};
