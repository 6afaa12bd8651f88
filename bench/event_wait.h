#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <functional>

// Runs the event loop (sleeping between events, never spinning) until the
// condition holds or the time is up; the condition is looked at every few
// milliseconds. Returns the condition.
inline bool waitUntil(const std::function<bool()> &done, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done() || t.elapsed() > timeoutMs)
            loop.quit();
    });
    check.start(2);
    if (!done())
        loop.exec();
    return done();
}
