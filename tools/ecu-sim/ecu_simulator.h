#pragma once

#include "ecu-sim/ecu_memory.h"
#include "ecu-sim/engine_model.h"
#include "ecu-sim/faults.h"
#include "ecu-sim/frame_log.h"
#include "ecu-sim/protocol.h"
#include "ecu-sim/serial_line.h"

#include <QObject>
#include <QTimer>

#include <deque>

namespace ecusim {

struct SimStats {
    int commands = 0; // accepted and executed
    int reads = 0;
    int writes = 0;
    int functions = 0;
    int badChecksum = 0;
    int badHex = 0;
    int badRange = 0;
    int badFormat = 0;
    int unknownCommand = 0;
    int skippedChars = 0; // characters outside any frame
    int replies = 0;
    int lostReplies = 0; // swallowed by the silent fault
    int ignored() const { return badChecksum + badHex + badRange + badFormat + unknownCommand; }
};

// The ECU as seen from its diagnostic connector: characters from the PC go into receive(), the
// ECU's characters come out of transmit(). It answers reads with data frames, writes and
// functions with the acknowledge frame "@A81" CR, and ignores anything malformed.
class EcuSimulator : public QObject {
    Q_OBJECT
  public:
    static constexpr int EngineTickMs = 100;

    explicit EcuSimulator(quint32 seed = 1, QObject *parent = nullptr);

    void receive(const QByteArray &bytes);

    EcuMemory &memory() { return memory_; }
    const EcuMemory &memory() const { return memory_; }
    EngineModel &engine() { return engine_; }
    FaultPlan &faults() { return faults_; }
    FrameLog &log() { return log_; }
    const SimStats &stats() const { return stats_; }
    QString status() const;

    void setPacing(bool on) { line_.setPacing(on); }
    bool pacing() const { return line_.pacing(); }
    void setReplyDelayMs(int ms) { replyDelayMs_ = qMax(0, ms); }
    int replyDelayMs() const { return replyDelayMs_; }

    void startEngine(); // the engine runs on its own timer, one tick every EngineTickMs
    void stopEngine();
    void advanceEngine(int ms); // runs the ticks for `ms` at once (tests)

    bool loadCapture(const QByteArray &text, QString *error);

    // A client opened the port: the replies an earlier program left in flight (the stale fault)
    // go out first, ahead of any answer to the new client. When the port cannot tell opens
    // (noticesOpens false), a command after the line was quiet for StaleIdleMs counts as a new
    // client instead.
    static constexpr int StaleIdleMs = 1000;
    void newClient();
    void setNoticesOpens(bool on) { noticesOpens_ = on; }

    void vanish(); // the adapter is pulled out: no input, no output, unplugged() is emitted
    void vanishAfter(int ms);
    void replug();
    bool isVanished() const { return vanished_; }

  Q_SIGNALS:
    void transmit(const QByteArray &bytes);
    void unplugged();

  private:
    struct Pending {
        qint64 readyNs;
        QByteArray frame;
    };
    void processDue();
    void execute(const QByteArray &frame, qint64 readyNs);
    void reject(const QByteArray &frame, Rejection why);
    void reply(const QByteArray &frame, qint64 notBeforeNs);

    EcuMemory memory_;
    EngineModel engine_;
    FaultPlan faults_;
    FrameLog log_;
    SerialLine line_;
    CommandSplitter splitter_;
    std::deque<Pending> pending_;
    QTimer commandTimer_;
    QTimer engineTimer_;
    QTimer vanishTimer_;
    SimStats stats_;
    int replyDelayMs_ = 0;
    bool vanished_ = false;
    QByteArray held_;       // a reply waiting to be joined with the next one
    QTimer joinTimer_;      // sends it alone when no other reply comes
    qint64 spellEndNs_ = 0; // no reply at all until then
    QRandomGenerator staleRng_;
    bool noticesOpens_ = false;
    qint64 lastActivityNs_ = -1; // last character either way; -1 before the first
};

} // namespace ecusim
