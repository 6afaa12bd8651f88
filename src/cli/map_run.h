#pragma once

#include "tuning/band_stats.h"
#include "tuning/map_acquisition.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class Link;

// One road-tuning drive from the command line, on a link whose image holds
// the ECU's configuration: polls the live block as the monitor does, runs
// the map acquisition on every answer, first on petrol for the given
// seconds, then asks the ECU for gas and acquires as long again, and at the
// end asks for the fuel the ECU was found on and waits until it reports it.
// Progress goes to stderr. Ends with done(exit code).
class MapRun : public QObject {
    Q_OBJECT
  public:
    // Silence on the line for this long means the ECU stopped answering.
    static constexpr int SilenceMs = 5000;
    // A switch request the ECU has not followed yet is sent again this often.
    static constexpr int AskAgainMs = 2000;

    MapRun(Link &link, int seconds, int waitLimitS, QObject *parent = nullptr);

    void start();
    // Ctrl-C and the like: stop acquiring and put the fuel back first; a
    // second one ends at once.
    void interrupt();
    // The adapter vanished: what it leaves in the ECU is said, then the run ends.
    void portLost();

    const BandStats &stats() const { return m_stats; }
    const MapAcquisition &acquisition() const { return m_acquisition; }

  Q_SIGNALS:
    void done(int exitCode);

  private:
    enum class Stage { ToPetrol, Petrol, ToGas, Gas, Restoring, Ended };

    void onData(int address, int count);
    void acquire(MapAcquisition::Column column);
    void enter(Stage stage);
    // The switch the stage waits for: petrol before the petrol drive and, when
    // the ECU was found on petrol, at the end; gas otherwise.
    bool wantsPetrol() const;
    void ask();
    void tick();
    void progress();
    void restore(int code, const QString &why);
    bool fuelIsBack(int state) const;
    QString fuelText(int state) const;
    void sayWhatIsLeft();
    void end(int code);

    Link &m_link;
    int m_seconds;
    int m_waitLimitS;
    Stage m_stage = Stage::ToPetrol;
    int m_foundState = -1; // the fuel state of the first answer
    int m_state = -1;      // of the latest answer
    int m_result = 0;
    MapAcquisition m_acquisition;
    BandStats m_stats;
    int m_accepted = 0;
    QTimer m_ticks;
    QElapsedTimer m_sinceAnswer;
    QElapsedTimer m_inStage;    // since the stage began
    QElapsedTimer m_acquiring;  // since the stage's first answer on its fuel
    QElapsedTimer m_sinceAsked; // since the last switch request
    QElapsedTimer m_sinceProgress;
};
