// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/floorspinbox.h"

FloorReverseSpinBox::FloorReverseSpinBox(QWidget *parent) : QSpinBox(parent) {}

void FloorReverseSpinBox::stepBy(int steps)
{
    QSpinBox::stepBy(-steps);
}

QAbstractSpinBox::StepEnabled FloorReverseSpinBox::stepEnabled() const
{
    // The arrows swap roles, and so do the limits that disable them.
    const StepEnabled normal = QSpinBox::stepEnabled();
    StepEnabled swapped = StepNone;
    if (normal & StepUpEnabled)
        swapped |= StepDownEnabled;
    if (normal & StepDownEnabled)
        swapped |= StepUpEnabled;
    return swapped;
}
