#pragma once

#include "tuning/calibration_results.h"
#include "ui/form.h"

#include <array>

class NumericEdit;
class QLineEdit;
class QPushButton;
struct AppContext;

// FnCalibrationFin (bank 1) and FnCalibrationFIN2 (bank 2): the results of
// the last calibrations of a bank, the "Appliquer" buttons that turn a
// result into the bank's trim, and the trims themselves. Bank 1 writes its
// trims here; bank 2's reach the ECU only through the calibration form's
// idle upload, so on its form the apply, step and write buttons are hidden
// and its trims only mirror the monitor.
class CalibrationEndForm : public Form {
    Q_OBJECT
  public:
    // bank: 0 for FnCalibrationFin, 1 for FnCalibrationFIN2.
    CalibrationEndForm(AppContext &app, int bank, QWidget *parent = nullptr);

    int bank() const { return m_bank; }
    // The result texts of the sequence, one field each.
    void showResults(const calibration::BankTexts &texts);
    QLineEdit *result(calibration::Field field) const { return m_results[field]; }
    // Enables the apply buttons of one kind and disables the other kind's.
    void offerApply(calibration::Kind kind);
    void disableApply();

    NumericEdit *TxCharge, *TxRalenti;
    QPushButton *BtCharge1, *BtCharge2, *BtRalenti1, *BtRalenti2;
    QPushButton *Command1 = nullptr, *Command2 = nullptr, *Command4 = nullptr;
    QPushButton *BoutonCentrale, *BtCalibrationSet;
    QPushButton *Command17 = nullptr; // bank 1: to the bank-2 form
    QPushButton *Command18 = nullptr; // bank 2: to the bank-1 form

  public Q_SLOTS:
    void BoutonCentrale_Click();
    void BtCalibrationSet_Click();
    void Command1_Click();
    void Command2_Click();
    void Command4_Click();
    void Command17_Click();
    void Command18_Click();
    // Clamps the two trims of bank 1 without a message.
    void TestValeur2();

  protected:
    void Form_Load() override;

  private:
    void buildLayout();
    QWidget *buildKind(calibration::Kind kind);
    QWidget *buildTrims();
    void connectHandlers();

    AppContext &m_app;
    int m_bank;
    bool m_validating = false;
    std::array<QLineEdit *, calibration::FieldCount> m_results{};
};
