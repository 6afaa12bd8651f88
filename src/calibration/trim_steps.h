#pragma once

#include "ui/numeric_edit.h"

#include <QAbstractButton>

// The minus and plus buttons of a calibration form's trim, wired to its
// steps; the connections live as long as the buttons.
inline void connectTrimSteps(const StepButtons &steps, QAbstractButton *minus,
                             QAbstractButton *plus) {
    QObject::connect(minus, &QAbstractButton::clicked, minus, [steps] { steps.press(-1); });
    QObject::connect(plus, &QAbstractButton::clicked, plus, [steps] { steps.press(+1); });
}
