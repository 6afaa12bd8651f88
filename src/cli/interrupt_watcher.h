#pragma once

#include <QObject>

class QSocketNotifier;

// Turns Ctrl-C (SIGINT), SIGTERM, SIGHUP and SIGQUIT into a signal on the event loop, so a
// command can put the ECU back in order before the program ends.
class InterruptWatcher : public QObject {
    Q_OBJECT
  public:
    explicit InterruptWatcher(QObject *parent = nullptr);
    ~InterruptWatcher() override;

  Q_SIGNALS:
    void interrupted();

  private:
    QSocketNotifier *m_notifier = nullptr;
};
