#pragma once

#include "ecu/memory_map.h"
#include "tuning/calibration_results.h"

#include <QObject>

#include <array>

class Link;
class MemoryImage;

namespace calibration {

// The switch-over settings a calibration zeroes while it samples.
constexpr int SwitchDelayAddress = ecu::field::SwitchDelay.address;
constexpr int SwitchModeAddress = ecu::field::SwitchWay.address;

// Where a calibration stands. The step counter runs through the two
// stabilisations and samplings; the switch to gas waits on the ECU.
enum class Phase {
    WaitingTemperature,  // the vaporiser is not yet warm enough
    StabilisingOnPetrol, // switched to petrol, counting steps up to L1
    SamplingPetrol,      // petrol injection times sampled up to L2
    SwitchingToGas,      // L2 reached: the switch to gas is asked for
    WaitingForGas,       // ... until the ECU reports running on gas
    StabilisingOnGas,    // counting steps up to L3
    SamplingGas,         // the same times sampled on gas up to L4
};

// The durations and limits of the sequence, as the settings form holds them.
struct Settings {
    // Steps waiting on petrol, petrol samples, steps waiting on gas, gas samples.
    std::array<double, 4> idleSteps{30, 100, 30, 100};
    std::array<double, 4> loadSteps{5, 15, 5, 15};
    double startTemperature = 40; // the vaporiser must be hotter than this, in degrees C
    double exclusion = 1;         // samples at or below this (ms) never enter a minimum
};

// The phase limits L1..L4 for four step settings: L1 = step 1 + 1, each
// next limit adds its setting, every sum rounded half to even and held to a
// signed 16-bit value before the next is formed (a setting too large for
// that clamps instead of failing).
std::array<int, 4> phaseLimits(const std::array<double, 4> &steps);

// What one step reads: the settings, the vaporiser temperature, the petrol
// injection time of cylinder 1 (bank 1) and 5 (bank 2), and each bank's
// load and idle trims (read only when the sequence finishes).
struct Inputs {
    Settings settings;
    double waterTemperature = 0;
    std::array<double, 2> petrolTime{};
    std::array<double, 2> loadTrim{};
    std::array<double, 2> idleTrim{};
};
// The inputs as the monitor shows them for the bytes in the image.
Inputs inputsFromImage(const MemoryImage &image, const Settings &settings);

// The automatic calibration: petrol injection times at idle or under load
// are sampled on petrol, the ECU is switched to gas, the same times are
// sampled again, and the differences give each bank's corrected trims. One
// step runs per screen refresh while it runs, so it goes at the pace of the
// monitor's poll. While it samples, the ECU's switch-over delay and way of
// switch-over are zeroed so the switch to gas is immediate; every way out
// writes them back.
class Sequence : public QObject {
    Q_OBJECT
  public:
    // running: the shared "a calibration is running" flag the menu guards read.
    Sequence(Link &link, bool &running, QObject *parent = nullptr);

    // Starts an idle or a load calibration: waits for the vaporiser
    // temperature, polling on and the poll watchdog running. A restart
    // while running keeps what the earlier start saved: the ECU holds zeros
    // by then, and those must never become the values written back.
    void start(Kind kind);
    // The fitter stopped it: no step runs from here on, switch-over
    // settings restored, polling on and the watchdog running.
    void stop();
    // A menu button or the window closing ends it: no step runs from here
    // on and the switch-over settings are written back; the poll is left
    // to the caller.
    void abandon();
    // One step; the caller runs it once per refresh while running().
    void RunCalibrationStep(const Inputs &in);
    // Writes back the switch-over settings saved by this calibration, if it
    // saved any, through the link's chained writes; polling stays off until
    // those writes are answered.
    void RestoreSwitchSettings();
    // The ECU's live terms, taken by every refresh pass (byte / 100).
    void setLiveTerms(const MemoryImage &image);

    bool running() const { return m_running; }
    Kind kind() const { return m_kind; }
    int step() const { return m_step; }
    Phase phase() const { return m_phase; }
    bool switchSettingsSaved() const { return m_saved; }
    // This calibration's write-back of the switch-over settings is on its
    // way and not yet acknowledged.
    bool restoring() const { return m_pending == Pending::Restore; }
    // What the fitter is told when the ECU may still hold the zeroed
    // switch-over settings, with the values to write back and how.
    QString leftChangedText() const;
    // The switch-over delay and mode the ECU held before they were zeroed
    // (kept after they were written back).
    int savedDelay() const { return m_savedDelay; }
    int savedMode() const { return m_savedMode; }
    const Measured &measured(Kind kind, int bank) const { return m_results[int(kind)][bank]; }
    // The idle results a load calibration compares with, when they come
    // from an earlier run (the command line keeps them between runs).
    void setIdleResults(int bank, const Measured &idle) { m_results[int(Kind::Idle)][bank] = idle; }
    // Bank 0 is shown on the bank-1 end form, bank 1 on the bank-2 one.
    const BankTexts &texts(int bank) const { return m_texts[bank]; }

  Q_SIGNALS:
    void actionChanged(const QString &caption); // the status caption
    void progressMaximum(int maximum);
    void progressValue(int value);
    // The calibration ended by itself with results on both banks' texts.
    void finished(calibration::Kind kind, bool acquisitionError);
    // The saved switch-over delay and mode are back in the image (and on
    // their way to the ECU): whatever shows them must show them again.
    void switchSettingsRestored();
    // The ECU acknowledged both write-back writes.
    void restoreAcknowledged();
    // The ECU may still hold the zeroed switch-over settings (a write went
    // unanswered, or the port closed while they were zeroed); text is
    // leftChangedText(). The calibration has stopped.
    void leftChanged(const QString &text);

  private:
    void prepareSampling();
    void enterPhase(Phase phase, const char *caption);
    void advancePetrol(const Inputs &in);
    void advanceGas();
    void zeroSwitchSettings();
    void sample(const Inputs &in, bool gas);
    void finish(const Inputs &in);
    void setAction(const char *caption);
    void onChainAcknowledged();
    void onChainFailed();
    void reportLeftChanged();

    // The chain of writes of this calibration awaiting its acknowledgement.
    enum class Pending { None, Zero, Restore };

    Link &m_link;
    bool &m_running;
    Kind m_kind = Kind::Idle;
    int m_step = 0;
    Phase m_phase = Phase::WaitingTemperature;
    bool m_saved = false; // the ECU's own values are in m_savedDelay/m_savedMode
    Pending m_pending = Pending::None;
    int m_savedDelay = 0;
    int m_savedMode = 0;
    double m_liveA = 0, m_liveB = 0;
    std::array<std::array<Measured, 2>, 2> m_results{}; // [kind][bank]
    std::array<BankTexts, 2> m_texts{initialTexts(), initialTexts()};
};

} // namespace calibration
