#include "answer_clock.h"

#include "link/link.h"

#include <QTimer>

#include <ctime>

double processCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

AnswerClock::AnswerClock(Link &link) {
    m_wall.start();
    connect(&link, &Link::dataDecoded, this, [this] {
        m_wallNs.append(m_wall.nsecsElapsed());
        m_cpuS.append(processCpuSeconds());
        if (m_loop.isRunning() && answers() >= m_target)
            m_loop.quit();
    });
}

bool AnswerClock::waitForAnswers(qsizetype count, int timeoutMs) {
    if (answers() >= count)
        return true;
    m_target = count;
    QTimer timeout;
    timeout.setSingleShot(true);
    connect(&timeout, &QTimer::timeout, &m_loop, &QEventLoop::quit);
    timeout.start(timeoutMs);
    m_loop.exec();
    return answers() >= count;
}

AnswerClock::Window AnswerClock::measure(int intervals, int timeoutMs, int settle) {
    const qsizetype first = answers() + settle;
    if (!waitForAnswers(first + intervals + 1, timeoutMs))
        return {};
    const qsizetype last = first + intervals;
    const double wallS = double(m_wallNs[last] - m_wallNs[first]) / 1e9;
    return {intervals / wallS, 100.0 * (m_cpuS[last] - m_cpuS[first]) / wallS};
}
