// The refresh's pass over the calibration forms: live copies of the
// monitor, the trims mirrored into the end forms, then one step.
#include "calibration/calibration_screen.h"

#include "calibration/calibration_end_form.h"
#include "link/link.h"
#include "ui/app_context.h"
#include "ui/monitor_controls.h"
#include "ui/numeric_edit.h"
#include "ui/readout_widgets.h"
#include "ui/screens.h"

#include <QLineEdit>

namespace {
void copyText(QLineEdit *to, const QLineEdit *from) {
    if (to->text() != from->text())
        to->setText(from->text());
}
void copyWidth(LevelBar *to, const LevelBar *from) {
    to->setWidthTwips(from->widthTwips());
}
} // namespace

void CalibrationScreen::refresh() {
    refreshFromMonitor();
    refreshCalibration();
}

void CalibrationScreen::refreshFromMonitor() {
    const MonitorControls *m = m_app.screens.monitorControls;
    CalibrationEndForm *fin = m_app.screens.calibrationEndBank1;
    CalibrationEndForm *fin2 = m_app.screens.calibrationEndBank2;
    copyText(fin->TxCharge, m->TxCharge);
    copyText(fin->TxRalenti, m->TxRalenti);
    copyText(fin2->TxCharge, m->TxChargeB);
    copyText(fin2->TxRalenti, m->TxRalentiB);
    // While polling, the fitter may be editing these trims here.
    if (!m_app.link.poll.isOn()) {
        copyText(TxCharge, m->TxCharge);
        copyText(TxRalenti, m->TxRalenti);
        copyText(TxChargeB, m->TxChargeB);
        copyText(TxRalentiB, m->TxRalentiB);
    }
    // A running calibration's step reads the readouts, shown or not.
    if (isShown() || m_app.CalibrationRunning)
        refreshReadouts();
}

// The monitor's fields hold what the last pass left, so a hidden screen
// catches up when it is shown.
void CalibrationScreen::refreshReadouts() {
    const MonitorControls *m = m_app.screens.monitorControls;
    BarLambda->setFillColor(m->BarLambda->fillColor());
    copyWidth(BarLambda, m->BarLambda);
    copyText(TextE1, m->TextE[0]);
    copyText(TextE5, m->TextE[4]);
    copyText(TextTPEau, m->TextTPEau);
    copyText(TextGazEtat, m->TextGazEtat);
    copyText(TextRPM, m->TextRPM);
    copyText(TextTPGaz, m->TextTPGaz);
    copyText(TextPression, m->TextPression);
    copyText(TextLambda, m->TextLambda);
    copyWidth(BarE1, m->BarE[0]);
    copyWidth(BarE5, m->BarE[4]);
    copyWidth(BarRPM, m->BarRPM);
    copyWidth(BarTPGaz, m->BarTPGaz);
    copyWidth(BarPression, m->BarPression);
    copyWidth(BarTPEau, m->BarTPEau);
}
