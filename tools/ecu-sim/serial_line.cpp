#include "ecu-sim/serial_line.h"

#include <algorithm>

namespace ecusim {

namespace {
constexpr int WriteBatchMs = 3; // with pacing, write the due characters every few milliseconds
}

SerialLine::SerialLine(QObject *parent) : QObject(parent) {
    clock_.start();
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &SerialLine::flush);
}

qint64 SerialLine::inboundComplete(qint64 startNs, int length) {
    const qint64 done = qMax(qMax(startNs, rxFreeNs_) + length * charNs(), nowNs());
    rxFreeNs_ = done;
    return done;
}

void SerialLine::send(const QByteArray &bytes, qint64 notBeforeNs, std::function<void()> then) {
    const qint64 start = qMax(qMax(notBeforeNs, txFreeNs_), nowNs());
    const qint64 step = charNs();
    txFreeNs_ = start + bytes.size() * step;
    queue_.push_back({start, step, bytes, 0, std::move(then)});
    flush();
}

void SerialLine::clear() {
    queue_.clear();
    ++generation_;
    timer_.stop();
    txFreeNs_ = nowNs();
}

void SerialLine::flush() {
    if (flushing_)
        return; // called back from output(): the running loop picks up what was queued
    flushing_ = true;
    while (!queue_.empty()) {
        Segment &s = queue_.front();
        const int total = int(s.bytes.size());
        int due = total;
        if (s.charNs > 0)
            due = int(std::clamp<qint64>((nowNs() - s.startNs) / s.charNs, 0, total));
        else if (nowNs() < s.startNs)
            due = 0;
        if (due > s.sent) {
            const QByteArray chunk = s.bytes.mid(s.sent, due - s.sent);
            s.sent = due;
            const int generation = generation_;
            Q_EMIT output(chunk);
            if (generation != generation_)
                continue; // the queue was cleared meanwhile
        }
        if (s.sent < total)
            break;
        auto then = std::move(s.then);
        queue_.pop_front();
        if (then)
            then();
    }
    flushing_ = false;
    arm();
}

void SerialLine::arm() {
    if (queue_.empty()) {
        timer_.stop();
        return;
    }
    const Segment &s = queue_.front();
    const qint64 nextDue = s.startNs + (s.sent + 1) * s.charNs;
    qint64 waitMs = (nextDue - nowNs() + 999'999) / 1'000'000;
    if (s.charNs > 0)
        waitMs = qMax<qint64>(waitMs, WriteBatchMs);
    timer_.start(int(std::clamp<qint64>(waitMs, 0, 60000)));
}

} // namespace ecusim
