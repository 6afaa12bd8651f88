#pragma once

#include "calibration/calibration_sequence.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class Link;

// One automatic calibration from the command line, on a link whose image
// already holds the ECU's configuration: polls the live block as the
// monitor does, steps the sequence on every answer, prints progress on
// stderr and the results on stdout, lets the switch-over settings be
// written back, and with apply writes the trims the calibration form's
// upload button would. Ends with done(exit code).
class CalibrateRun : public QObject {
    Q_OBJECT
  public:
    // Silence on the line for this long means the ECU stopped answering.
    static constexpr int SilenceMs = 5000;

    CalibrateRun(Link &link, calibration::Kind kind, const calibration::Settings &settings,
                 bool apply, QObject *parent = nullptr);

    void start();
    // Ctrl-C: stop as the Stop button does, and end once the switch-over
    // settings are back in the ECU.
    void interrupt();

  Q_SIGNALS:
    void done(int exitCode);

  private:
    enum class Stage { Running, Restoring, ApplyingLoad, Applying, Ending };

    void onData();
    void onFrame();
    void onChainDone();
    void onChainFailed();
    void onFinished(calibration::Kind kind, bool acquisitionError);
    void silenceTick();
    void printResults();
    void applyIdle();
    void applyLoad();
    void end(int code);

    Link &m_link;
    bool m_running = false;
    calibration::Sequence m_sequence;
    calibration::Settings m_settings;
    calibration::Kind m_kind;
    bool m_apply;
    Stage m_stage = Stage::Running;
    int m_result = 0;
    int m_maximum = 0;
    int m_lastPrinted = -1;
    QString m_caption;
    QTimer m_silence;
    QElapsedTimer m_sinceAnswer;
};
