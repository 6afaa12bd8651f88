// gasecu-bench: the link against the ECU simulator at 9600 baud over a
// pseudo-terminal. One figure a line, "name value".
//   full_read_seconds, full_read_wire_ratio: a whole-memory read moves 1,824
//     characters, 1.90 s at 960 characters a second; ratio = ideal / measured.
//   poll_rate_hz, poll_wire_ratio: one poll moves 130 characters, 7.38 polls
//     a second at best.
//   refresh_pass_us, poll_cpu_percent and the other figures of the live
//     monitor: monitor_bench.h.
#include "event_wait.h"
#include "monitor_bench.h"

#include "link/link.h"
#include "link/qt_serial_port.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace {

constexpr double CharsPerSecond = 960.0;
constexpr double FullReadChars = 1824.0;
constexpr double PollChars = 130.0;

void figure(const char *name, double value) {
    std::printf("%s %.3f\n", name, value);
    std::fflush(stdout);
}

QString defaultSim() {
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(QStringLiteral("../tools/ecu-sim/gasecu-sim"));
}

} // namespace

int main(int argc, char **argv) {
    // The screens are built and painted without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser args;
    args.addHelpOption();
    args.addOption({QStringLiteral("sim"), QStringLiteral("Path of gasecu-sim."),
                    QStringLiteral("PATH"), defaultSim()});
    args.addOption({QStringLiteral("reads"), QStringLiteral("Whole-memory reads to time."),
                    QStringLiteral("N"), QStringLiteral("3")});
    args.addOption({QStringLiteral("poll-seconds"), QStringLiteral("How long to poll."),
                    QStringLiteral("S"), QStringLiteral("5")});
    args.addOption({QStringLiteral("refresh-passes"),
                    QStringLiteral("Screen-refresh passes to time."), QStringLiteral("N"),
                    QStringLiteral("2000")});
    args.process(app);

    QTemporaryDir ports;
    QProcess sim;
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim.start(args.value(QStringLiteral("sim")),
              {QStringLiteral("--port"), QStringLiteral("1"), QStringLiteral("--ports-dir"),
               ports.path(), QStringLiteral("--warm")});
    if (!sim.waitForStarted(10000) || !waitUntil([&] { return sim.canReadLine(); }, 10000)) {
        std::fprintf(stderr, "gasecu-bench: the simulator did not start\n");
        return 1;
    }

    QtSerialPort serial{PortDirectory(ports.path())};
    Link link(&serial);
    if (!link.OpenPort()) {
        std::fprintf(stderr, "gasecu-bench: cannot open the simulator's port\n");
        return 1;
    }

    // Whole-memory reads, best of N (the first warms the line up).
    double best = 1e9;
    const int reads = qMax(1, args.value(QStringLiteral("reads")).toInt());
    for (int i = 0; i < reads; ++i) {
        bool done = false;
        bool failed = false;
        qint64 endNs = 0;
        QElapsedTimer t;
        auto c1 = QObject::connect(&link, &Link::fullReadCompleted, [&] {
            endNs = t.nsecsElapsed();
            done = true;
        });
        auto c2 = QObject::connect(&link, &Link::fullReadTimedOut, [&] { failed = true; });
        t.start();
        link.StartFullRead();
        waitUntil([&] { return done || failed; }, 30000);
        const double seconds = endNs / 1e9;
        QObject::disconnect(c1);
        QObject::disconnect(c2);
        if (!done) {
            std::fprintf(stderr, "gasecu-bench: the whole-memory read failed\n");
            return 1;
        }
        best = qMin(best, seconds);
    }
    figure("full_read_seconds", best);
    figure("full_read_wire_ratio", FullReadChars / CharsPerSecond / best);

    // Live polling: the link re-sends the poll from each answer.
    int answers = 0;
    QObject::connect(&link, &Link::dataDecoded, [&] { ++answers; });
    link.poll.start();
    link.SendLine(link.poll.frame());
    waitUntil([&] { return answers >= 2; }, 5000);
    const int start = answers;
    QElapsedTimer t;
    t.start();
    const int pollMs = qMax(1, args.value(QStringLiteral("poll-seconds")).toInt()) * 1000;
    waitUntil([&] { return t.elapsed() >= pollMs; }, pollMs + 1000);
    const double rate = (answers - start) / (t.nsecsElapsed() / 1e9);
    link.poll.stop();
    figure("poll_rate_hz", rate);
    figure("poll_wire_ratio", rate / (CharsPerSecond / PollChars));

    link.ClosePort();

    benchRefresh(figure, qMax(1, args.value(QStringLiteral("refresh-passes")).toInt()));
    if (!benchMonitorPolling(figure, ports.path(), 1, pollMs / 1000)) {
        std::fprintf(stderr, "gasecu-bench: the monitor did not poll the simulator\n");
        return 1;
    }

    sim.terminate();
    sim.waitForFinished(5000);
    return 0;
}
