#pragma once

#include <QObject>

class QSocketNotifier;

namespace ecusim {

// Turns SIGINT, SIGTERM and SIGHUP into a Qt signal through a signalfd, so that the port entry
// is removed by the ordinary shutdown path.
class SignalWatcher : public QObject {
    Q_OBJECT
  public:
    // Call before any thread exists: the blocked mask is inherited.
    static void blockTerminationSignals();

    explicit SignalWatcher(QObject *parent = nullptr);
    ~SignalWatcher() override;
    bool isValid() const { return fd_ >= 0; }

  Q_SIGNALS:
    void terminationRequested(int signalNumber);

  private:
    void readSignal();

    int fd_ = -1;
    QSocketNotifier *notifier_ = nullptr;
};

} // namespace ecusim
