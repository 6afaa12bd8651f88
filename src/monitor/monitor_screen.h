#pragma once

#include "ui/form.h"
#include "ui/monitor_controls.h"

#include <QPointer>
#include <QTimer>

#include <array>
#include <vector>

class AlarmLamp;
class LevelBar;
class MemoryImage;
class NeedleGauge;
class NumericEdit;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class RecordStrip;
struct AppContext;

// FnMoniteur: the live view of the engine and the gas system. While it is
// open the link polls the live-data block and every answer is shown here;
// the fitter trims the injection times of both banks and writes them.
class MonitorScreen : public Form, public MonitorControls {
    Q_OBJECT
  public:
    explicit MonitorScreen(AppContext &app, QWidget *parent = nullptr);

    // The refresh's first pass over the monitor, before the main parameters
    // page: speed, water temperature and pressure captions with their
    // needles, and the pressure memory.
    void refreshGauges();
    // The second pass, after the main parameters page (whose lambda type
    // it reads): firmware, alarm lamps, trims (only while not polling),
    // lambda scale, the first injection time and its zoomed copy.
    void refreshLive();
    // The third pass, after the map screen has copied the monitor's values
    // of the previous pass: the other injection times and their bars,
    // speed, fuel state, temperatures, pressure and lambda, whose bar
    // colours read the main parameters page's alarm levels.
    void refreshTimesAndSensors();
    // Upload of edited values: the trims and the extra time.
    void encodeInto(MemoryImage &image) const;

    // While the ECU is silent (the poll watchdog sent the poll again) the
    // live values are shown stale: their panels faded, their fields
    // disabled. The next decoded answer shows them live again.
    void setLiveStale(bool stale);
    bool liveStale() const { return m_liveStale; }

    // Build variant: the gas injection-time column, and the emission timer.
    void applyGasTimesShown(int gasTimesShown);
    void applyEmissionTools(int emissionTools);

    // The alarm blink timer (800 ms).
    QTimer couleurTimer;
    // Colour of an active alarm lamp: 0 or 192, toggled by couleurTimer.
    int AlarmBlinkColour = 0;
    // Needle inputs, set by the refresh.
    int RpmGaugeValue = 0;
    int TempGaugeValue = 0;
    int PressureGaugeValue = 0;

    // The sensors, injection times, trims and fuel state others copy are
    // MonitorControls'.
    QLabel *LambaType1, *LambaType2;
    // Each pair of injection-time bars in a picture box (Picture4..7 and
    // Picture8, 12, 13, 14).
    std::array<QFrame *, 8> Picture{};
    QLabel *Label17, *Label18; // the column captions of the two halves
    QLabel *Label17b, *Label18b;
    NumericEdit *TxTIExclu;
    QPushButton *BtRalenti1, *BtRalenti2, *BtCharge1, *BtCharge2;
    QPushButton *BtRalenti1B, *BtRalenti2B, *BtCharge1B, *BtCharge2B;
    QPushButton *BtExclu1, *BtExclu2;
    QLineEdit *TxExclu2;
    QPushButton *BoutonCentrale, *BoutonCentraleB;
    // " Alarms " and " Status Operation "
    AlarmLamp *TxAldemarage, *TxAlarmePress, *TxAlarmeTmp;
    QPushButton *BtResetAlarme;
    QPushButton *SwitchCommutateur;
    // " Engine Variables 2 "
    NeedleGauge *PicRPM, *Pictemp, *PicPress;
    QLabel *TxTmp, *TxPrss;
    QLineEdit *TxLPress, *TxHPress;
    QPushButton *RazPrss;
    // Elsewhere on the form.
    QLabel *Label12;
    QPushButton *EmiStart;
    QLineEdit *TxTemps;
    // The drive log's Record button and the chart window's button.
    RecordStrip *Recording;

  public Q_SLOTS:
    // The status texts after the poll watchdog sent the poll again; error
    // is a Link::SendError.
    void pollResent(int error);
    void couleurTimer_Timer();
    void BtResetAlarme_Click();
    void SwitchCommutateur_Click() override;
    void RazPrss_Click();
    void EmiStart_Click();
    void BoutonCentrale_Click();
    void BoutonCentraleB_Click() override;
    // Validation of the four trims and the extra time.
    void TestValeur1();

  Q_SIGNALS:
    // The fitter asked the emission test's clock to start.
    void emissionStartRequested();

  protected:
    void Form_Load() override;
    void showEvent(QShowEvent *event) override;

  private:
    void buildLayout();
    QWidget *buildSensors();
    QWidget *buildInjectionTimes();
    QWidget *buildEngineVariables();
    QWidget *buildGauges();
    QWidget *buildAlarms();
    QWidget *buildStatus();
    QWidget *buildWriteColumn();
    void connectHandlers();
    void connectStepButtons();
    std::array<NumericEdit *, 5> trimFields() const;
    // Main parameters page fields read for bar colours and lambda captions.
    void findParameterFields();
    double parameterValue(const QPointer<QLineEdit> &field) const;

    std::vector<QLineEdit *> liveReadouts() const;

    AppContext &m_app;
    bool m_validating = false;
    bool m_liveStale = false;
    std::vector<QWidget *> m_livePanels; // sensors, gauges, alarms, status
    QPointer<QLineEdit> m_alTemperature, m_temperature, m_alPressure, m_pressure;
    QPointer<QComboBox> m_lambdaCombo;
};
