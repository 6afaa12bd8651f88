#pragma once

#include "tuning/calibration_sequence.h"
#include "ui/form.h"

class LevelBar;
class NumericEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
struct AppContext;

// FnCalibration: starts and stops the automatic calibration, shows its
// progress with live copies of the monitor, applies its results, and lets
// the fitter trim both banks by hand. It owns the sequence, which the
// refresh steps once per pass while it runs.
class CalibrationScreen : public Form {
    Q_OBJECT
  public:
    explicit CalibrationScreen(AppContext &app, QWidget *parent = nullptr);

    calibration::Sequence &sequence() { return m_sequence; }

    // The refresh's pass: the mirrors of the monitor (its trims only while
    // not polling, bank 1 and 2's trims into the end forms), then the live
    // terms and one step of the sequence when it runs.
    void refresh();
    // The inputs of a step, read from the fields as they stand.
    calibration::Inputs stepInputs() const;
    // A calibration may start again: idle start on, load start and stop off.
    void calibrationReset();
    // The menu's Calibration button: the same, uploads off, the bar at rest.
    void resetForMenu();
    // The main window is closing: while a calibration runs the fitter is
    // asked first; on Yes it stops and the switch-over settings are written
    // back, waiting (at most RestoreWaitMs) for the ECU's acknowledgement.
    // False when the window must stay open.
    bool allowClose();
    static constexpr int RestoreWaitMs = 3000;
    // What the status caption says once a calibration has run to its end.
    // Build variant: the load calibration's controls.
    void applyExtendedCalibration(int extendedCalibration);

    QLabel *TxAction;
    QProgressBar *BarCalibration;
    QPushButton *BtStCalibration, *BtStCalibrationCh, *BtCalibrationStop, *BtCalibrationSet;
    // Opens the bank-1 end form with the last results; kept in every build,
    // whichever way to the settings form it has. Off while a calibration runs.
    QPushButton *BtCalibrationResults;
    QPushButton *BTuploadRalenti, *BTuploadCharge, *SwitchCommutateur, *BoutonCentrale;
    NumericEdit *TxCharge, *TxRalenti, *TxChargeB, *TxRalentiB;
    QPushButton *BtCharge1, *BtCharge2, *BtRalenti1, *BtRalenti2;
    QPushButton *BtCharge1B, *BtCharge2B, *BtRalenti1B, *BtRalenti2B;
    QLineEdit *TextE1, *TextE5, *TextTPEau, *TextTPGaz, *TextPression, *TextLambda, *TextRPM;
    QLineEdit *TextGazEtat;
    LevelBar *BarE1, *BarE5, *BarTPEau, *BarTPGaz, *BarPression, *BarLambda, *BarRPM;
    // Decoration around the load calibration's controls.
    QFrame *Line3, *Line4, *Shape3, *Shape5;

  public Q_SLOTS:
    void BtStCalibration_Click();
    void BtStCalibrationCh_Click();
    void BtCalibrationStop_Click();
    void BtCalibrationSet_Click();
    void BtCalibrationResults_Click();
    void SwitchCommutateur_Click();
    void BoutonCentrale_Click();
    void BTuploadRalenti_Click();
    void BTuploadCharge_Click();
    // Clamps the four trims without a message.
    void TestValeur1();

  Q_SIGNALS:
    // The switch-over delay and mode are back in the image as they were
    // before the run: the main parameters page shows them again (the shell
    // wires it).
    void switchSettingsRestored();
    // A run finished without an acquisition error: both banks' end forms
    // show its results.
    void resultsShown(calibration::Kind kind);

  protected:
    void Form_Load() override;
    void showEvent(QShowEvent *event) override;

  private:
    // Asks before writing trims far from the ECU's; true to write them.
    bool plausibleOrConfirmed(calibration::Kind kind);
    void refreshFromMonitor();
    // The live readouts copied from the monitor: every pass while shown,
    // and when shown.
    void refreshReadouts();
    void refreshCalibration();
    void buildLayout();
    QWidget *buildProgress();
    QWidget *buildLive();
    QWidget *buildCommands();
    QWidget *buildTrims();
    void connectHandlers();
    void connectSequence();
    void finished(calibration::Kind kind, bool acquisitionError);

    AppContext &m_app;
    calibration::Sequence m_sequence;
    bool m_validating = false;
};
