// The end forms' handlers: apply a result to the bank's trim, write bank 1's
// trims, move between the calibration forms.
#include "calibration/calibration_end_form.h"

#include "calibration/calibration_screen.h"
#include "calibration/calibration_set_form.h"
#include "calibration/trim_steps.h"
#include "link/frames.h"
#include "link/link.h"
#include "live/monitor_decode.h"
#include "settings/number_format.h"
#include "ui/app_context.h"
#include "ui/monitor_controls.h"
#include "ui/numeric_edit.h"
#include "ui/screens.h"

#include <QLineEdit>
#include <QPushButton>

using namespace calibration;

CalibrationEndForm::CalibrationEndForm(AppContext &app, int bank, QWidget *parent)
    : Form(bank == 0 ? QStringLiteral("FnCalibrationFin") : QStringLiteral("FnCalibrationFIN2"),
           bank == 0 ? QStringLiteral("Fin Calibration BAND 1")
                     : QStringLiteral("FIN Calibration BAND 2 "),
           parent),
      m_app(app), m_bank(bank) {
    buildLayout();
    showResults(initialTexts());
    connectHandlers();
}

void CalibrationEndForm::Form_Load() {
    place(0, 950);
}

void CalibrationEndForm::connectHandlers() {
    connect(BoutonCentrale, &QPushButton::clicked, this, &CalibrationEndForm::BoutonCentrale_Click);
    connect(BtCalibrationSet, &QPushButton::clicked, this,
            &CalibrationEndForm::BtCalibrationSet_Click);
    if (Command17)
        connect(Command17, &QPushButton::clicked, this, &CalibrationEndForm::Command17_Click);
    if (Command18)
        connect(Command18, &QPushButton::clicked, this, &CalibrationEndForm::Command18_Click);
    if (m_bank != 0)
        return; // bank 2's trims only mirror the monitor
    connect(Command1, &QPushButton::clicked, this, &CalibrationEndForm::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &CalibrationEndForm::Command2_Click);
    connect(Command4, &QPushButton::clicked, this, &CalibrationEndForm::Command4_Click);
    for (NumericEdit *field : {TxCharge, TxRalenti}) {
        field->setChangeHook([this] { TestValeur2(); });
        field->setEnterButton(BoutonCentrale);
    }
    connectTrimSteps({TxCharge, live::Trims[1].step, false, {}, {}}, BtCharge1, BtCharge2);
    connectTrimSteps({TxRalenti, live::Trims[0].step, false, {}, {}}, BtRalenti1, BtRalenti2);
}

void CalibrationEndForm::showResults(const BankTexts &texts) {
    for (int f = 0; f < FieldCount; ++f) {
        m_results[f]->setText(texts[f]);
        m_results[f]->setCursorPosition(0); // a long value shows its leading digits
    }
}

void CalibrationEndForm::offerApply(Kind kind) {
    Command1->setEnabled(kind == Kind::Idle);
    Command2->setEnabled(kind == Kind::Idle);
    Command4->setEnabled(kind == Kind::Load);
}

void CalibrationEndForm::disableApply() {
    for (QPushButton *b : {Command1, Command2, Command4})
        b->setEnabled(false);
}

void CalibrationEndForm::TestValeur2() {
    if (m_validating)
        return;
    m_validating = true;
    TxCharge->setTextIfChanged(live::validatedTrimText(live::Trims[1], TxCharge->text()));
    TxRalenti->setTextIfChanged(live::validatedTrimText(live::Trims[0], TxRalenti->text()));
    m_validating = false;
}

// Bank 1's trims into the monitor's fields, encoded and written.
void CalibrationEndForm::BoutonCentrale_Click() {
    MonitorControls *monitor = m_app.screens.monitorControls;
    monitor->TxCharge->setText(TxCharge->text());
    monitor->TxRalenti->setText(TxRalenti->text());
    m_app.uploadEditedValues();
    m_app.link.WriteBlock(frames::WriteBank1Trims);
}

void CalibrationEndForm::BtCalibrationSet_Click() {
    hideForm();
    m_app.screens.calibrationScreen->showForm();
}

// The idle offset from the minima.
void CalibrationEndForm::Command1_Click() {
    TxRalenti->setText(number::format(number::parse(result(TxApp1)->text())));
    Command4->setEnabled(false);
    m_app.screens.calibrationScreen->BtStCalibrationCh->setEnabled(false);
}

// The idle offset from the means.
void CalibrationEndForm::Command2_Click() {
    TxRalenti->setText(number::format(number::parse(result(TxApp2)->text())));
    Command4->setEnabled(false);
    m_app.screens.calibrationScreen->BtStCalibrationCh->setEnabled(false);
}

// The load line: new offset and new multiplier.
void CalibrationEndForm::Command4_Click() {
    TxRalenti->setText(number::format(number::parse(result(TxRCHP1)->text())));
    TxCharge->setText(number::format(number::parse(result(TxCCHP1)->text())));
    Command1->setEnabled(false);
    Command2->setEnabled(false);
}

void CalibrationEndForm::Command17_Click() {
    m_app.screens.calibrationEndBank2->showForm();
    disableApply();
}

void CalibrationEndForm::Command18_Click() {
    hideForm();
    m_app.screens.calibrationEndBank1->showForm();
    m_app.screens.calibrationEndBank1->disableApply();
}
