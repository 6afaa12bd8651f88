#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QObject>
#include <QTimer>

class Link;

// The live poll: the read frame sent again after every processed answer,
// whether it is on, the watchdog that restarts it when the ECU falls silent,
// and the pause around a whole-memory transfer. Screens and the command line
// say what they want (start, pause, resume, stop); only this class and the
// link change the poll's state.
class LivePoll : public QObject {
    Q_OBJECT
  public:
    explicit LivePoll(Link &link);

    // The read frame repeated while polling (a CR is added when missing).
    void setFrame(QByteArrayView frame);
    const QByteArray &frame() const { return m_frame; }
    // Whether a line is this poll's read: a newer poll makes an older one
    // still waiting to be sent pointless.
    bool isPollLine(QByteArrayView line) const;

    // Polling on: every processed answer sends the poll again.
    void start() { m_on = true; }
    // Polling off; the watchdog keeps its own state.
    void stop() { m_on = false; }
    bool isOn() const { return m_on; }

    // The watchdog (200 ms): three ticks without a received character send
    // the poll again and switch polling on.
    void startWatchdog();
    // Starts the watchdog unless it runs already (a running one keeps its phase).
    void keepWatchdog();
    void stopWatchdog() { m_watchdog.stop(); }
    bool watchdogActive() const { return m_watchdog.isActive(); }
    // A character arrived (or the count starts afresh).
    void clearSilence() { m_silentTicks = 0; }
    int silentTicks() const { return m_silentTicks; }

    // No poll answer may overwrite the image between an encoding and its
    // write: polling off, watchdog stopped and its count cleared.
    void pauseForWrite();
    // A whole-memory transfer takes the line: polling off, the watchdog
    // stopped, and restarted by resumeAfterTransfer when the transfer ends.
    void pauseForTransfer();
    // Called by the link when a transfer or a chain of writes ends.
    void resumeAfterTransfer();
    // The chain of writes ended: the watchdog runs again and restarts the poll.
    void resumeAfterChain() { startWatchdog(); }

    // Back to the start-up state.
    void reset();

    // One watchdog tick; public for the tests and the command line's loops.
    void watchdogTick();

  Q_SIGNALS:
    // The third silent tick re-sent the poll; error says how the send went
    // (a value of Link::SendError).
    void pollResent(int error);

  private:
    Link &m_link;
    QByteArray m_frame;
    bool m_on = false;
    bool m_resumeAfterTransfer = false;
    int m_silentTicks = 0;
    QTimer m_watchdog;
};
