#pragma once

#include "tuning/calibration_sequence.h"
#include "ui/form.h"

#include <array>

class QLineEdit;
class QPushButton;
struct AppContext;

// FnCalibrationSet, "Parametres Calibration": the durations of the idle and
// load sequences, the vaporiser temperature that starts them and the
// injection time below which a sample never makes a minimum. The sequence
// reads these texts afresh at every step.
class CalibrationSetForm : public Form {
    Q_OBJECT
  public:
    explicit CalibrationSetForm(AppContext &app, QWidget *parent = nullptr);

    // The settings as the number reader takes them from the texts (no key
    // filter: whatever was typed reads as its leading number, or 0).
    calibration::Settings settings() const;

    std::array<QLineEdit *, 4> TxCaStep{};  // TxCaStep1..4: idle
    std::array<QLineEdit *, 4> TxCaStepC{}; // TxCaStepC1..4: load
    QLineEdit *TextTPEauSet, *TxTIExcluCASet;
    // Defaults kept with the settings; nothing reads them.
    QLineEdit *TxCharge, *TxRalenti;
    QPushButton *BtValider, *Command18, *Command17;

  public Q_SLOTS:
    void BtValider_Click();
    void Command18_Click();
    void Command17_Click();

  protected:
    void Form_Load() override;

  private:
    AppContext &m_app;
};
