#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QList>
#include <QObject>

class Link;

// The time and the process's CPU time of every data frame the link decodes.
// A rate is taken between two answers, N intervals over the time they span:
// no part-interval at either end, so a window of a few seconds resolves the
// rate to a fraction of a percent where counting answers in a fixed time
// would be off by one answer in thirty.
class AnswerClock : public QObject {
    Q_OBJECT
  public:
    explicit AnswerClock(Link &link);

    struct Window {
        double rateHz = 0;
        double cpuPercent = 0; // CPU time over wall time between the two answers
    };

    qsizetype answers() const { return m_wallNs.size(); }
    // Runs the event loop (sleeping, never polling) until `count` answers in
    // all have come; false when they did not within timeoutMs.
    bool waitForAnswers(qsizetype count, int timeoutMs);
    // `settle` answers to let a change settle (a window opened, a file
    // created), then `intervals` more; the window spans them. rateHz is 0
    // when the answers stopped.
    Window measure(int intervals, int timeoutMs, int settle = 3);

  private:
    QElapsedTimer m_wall;
    QList<qint64> m_wallNs;
    QList<double> m_cpuS;
    QEventLoop m_loop;
    qsizetype m_target = 0;
};

double processCpuSeconds();
