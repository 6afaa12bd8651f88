#pragma once

#include "tuning/calibration_sequence.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <optional>

class Link;

// One automatic calibration from the command line, on a link whose image
// already holds the ECU's configuration: polls the live block as the
// monitor does, steps the sequence on every answer, prints progress on
// stderr and the results on stdout, writes the switch-over settings back
// and reads them again before saying they are restored, and with apply
// writes the trims the calibration form's upload button would. Ends with
// done(exit code).
class CalibrateRun : public QObject {
    Q_OBJECT
  public:
    // Silence on the line for this long means the ECU stopped answering.
    static constexpr int SilenceMs = 5000;

    CalibrateRun(Link &link, calibration::Kind kind, const calibration::Settings &settings,
                 bool apply, QObject *parent = nullptr);

    // Each wait (vaporiser temperature, switch to gas) ends the run after
    // this long: settings written back, exit AcquisitionError. 0: no bound.
    void setWaitLimit(int seconds) { m_waitLimitS = seconds; }
    // The port the run talks on, for the command that writes the settings back.
    void setPort(int port) { m_port = port; }
    // Writes trims that differ implausibly from the ECU's without refusing.
    void setForce(bool force) { m_force = force; }
    calibration::Sequence &sequence() { return m_sequence; }

    void start();
    // A signal (Ctrl-C, TERM, HUP, QUIT): stop as the Stop button does, and
    // end once the switch-over settings are back in the ECU.
    void interrupt();
    // The adapter vanished: what it leaves in the ECU is said, then the run ends.
    void portLost();

  Q_SIGNALS:
    void done(int exitCode);

  private:
    enum class Stage { Running, Restoring, Verifying, ApplyingLoad, Applying, Ending, Ended };

    void onData(int address, int count);
    void onFrame();
    void onRestored();
    void onChainDone();
    void onChainFailed();
    void onFinished(calibration::Kind kind, bool acquisitionError);
    void silenceTick();
    void checkWait();
    void writeBack(const QString &why, int code);
    void verified();
    void printLeftChanged();
    void printResults();
    bool plausibleOrForced();
    void applyIdle();
    void applyLoad();
    void end(int code);

    Link &m_link;
    bool m_running = false;
    calibration::Sequence m_sequence;
    calibration::Settings m_settings;
    calibration::Kind m_kind;
    bool m_apply;
    bool m_force = false;
    Stage m_stage = Stage::Running;
    int m_result = 0;
    int m_maximum = 0;
    int m_lastPrinted = -1;
    int m_waitLimitS = 0;
    int m_port = 1;
    int m_readAttempts = 0;
    int m_waitingFor = -1; // 0 temperature, 4 gas: the sequence's step or phase it waits in
    std::optional<int> m_readDelay, m_readMode;
    QString m_caption;
    QTimer m_silence;
    QElapsedTimer m_sinceAnswer;
    QElapsedTimer m_waiting;
    QElapsedTimer m_sinceProgress;
};
