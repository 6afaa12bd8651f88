#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <deque>
#include <functional>

namespace ecusim {

// Timing of the RS-232 line between the PC and the ECU: 9600 baud, 10 bits a character, so 960
// characters per second each way. Outgoing characters are released as they become due, a few at
// a time from a precise timer; with pacing off they go out as soon as they are queued.
class SerialLine : public QObject {
    Q_OBJECT
  public:
    static constexpr int CharsPerSecond = 960;

    explicit SerialLine(QObject *parent = nullptr);

    void setPacing(bool on) { pacing_ = on; }
    bool pacing() const { return pacing_; }
    qint64 nowNs() const { return clock_.nsecsElapsed(); }
    qint64 charNs() const { return pacing_ ? 1'000'000'000LL / CharsPerSecond : 0; }

    // A command of `length` characters whose first character reached the ECU at startNs is
    // complete once all of them have crossed the line, which carries one character at a time.
    qint64 inboundComplete(qint64 startNs, int length);

    // Queues characters to the PC, starting no earlier than notBeforeNs and after everything
    // already queued. `then` runs once the last of them has gone out.
    void send(const QByteArray &bytes, qint64 notBeforeNs, std::function<void()> then = {});
    qint64 outboundFreeAt() const { return txFreeNs_; }
    bool idle() const { return queue_.empty(); }
    void clear();

  Q_SIGNALS:
    void output(const QByteArray &bytes);

  private:
    struct Segment {
        qint64 startNs;
        qint64 charNs;
        QByteArray bytes;
        int sent = 0;
        std::function<void()> then;
    };
    void flush();
    void arm();

    QElapsedTimer clock_;
    QTimer timer_;
    std::deque<Segment> queue_;
    qint64 rxFreeNs_ = 0;
    qint64 txFreeNs_ = 0;
    bool pacing_ = true;
    bool flushing_ = false;
    int generation_ = 0;
};

} // namespace ecusim
