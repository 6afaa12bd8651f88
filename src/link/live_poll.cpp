#include "link/live_poll.h"

#include "link/frames.h"
#include "link/link.h"

LivePoll::LivePoll(Link &link) : m_link(link), m_frame(frames::MonitorPoll.toByteArray()) {
    m_watchdog.setInterval(200);
    connect(&m_watchdog, &QTimer::timeout, this, &LivePoll::watchdogTick);
}

void LivePoll::setFrame(QByteArrayView frame) {
    m_frame = frame.toByteArray();
    if (!m_frame.endsWith(frames::Cr))
        m_frame += frames::Cr;
}

bool LivePoll::isPollLine(QByteArrayView line) const {
    return line == QByteArrayView(m_frame);
}

void LivePoll::startWatchdog() {
    m_watchdog.start();
}

void LivePoll::keepWatchdog() {
    if (!m_watchdog.isActive())
        m_watchdog.start();
}

void LivePoll::pauseForWrite() {
    m_on = false;
    m_silentTicks = 0;
    m_watchdog.stop();
}

void LivePoll::pauseForTransfer() {
    m_on = false;
    m_watchdog.stop();
    m_resumeAfterTransfer = true;
}

void LivePoll::resumeAfterTransfer() {
    if (!std::exchange(m_resumeAfterTransfer, false))
        return;
    startWatchdog();
}

void LivePoll::reset() {
    m_frame = frames::MonitorPoll.toByteArray();
    m_on = false;
    m_resumeAfterTransfer = false;
    m_silentTicks = 0;
    m_watchdog.stop();
}

// Every receive event clears the count; the third tick without one sends the
// poll again and, when the send went out, switches polling on.
void LivePoll::watchdogTick() {
    if (++m_silentTicks <= 2)
        return;
    m_silentTicks = 0;
    if (!m_link.state.PortIsOpen)
        return;
    const Link::SendError error = m_link.trySendLine(m_frame);
    if (error == Link::SendError::None)
        m_on = true;
    Q_EMIT pollResent(int(error));
}
