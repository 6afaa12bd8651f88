// gasecu-bench: the tool against the ECU simulator at 9600 baud over a
// pseudo-terminal. One figure a line, "name median +/-spread (samples) unit";
// --json FILE writes them with their limits for scripts/bench.sh.
//   full_read_seconds, full_read_wire_ratio: a whole-memory read moves 1,824
//     characters, 1.90 s at 960 characters a second; ratio = ideal / measured.
//   poll_rate_hz, poll_wire_ratio: one poll moves 130 characters, 7.38 polls
//     a second at best; timed between answers, several windows.
//   The live monitor's figures: monitor_bench.h; the fitter's: fitter_bench.h.
// A rate above what the line allows stops the bench: the measurement is wrong.
#include "answer_clock.h"
#include "event_wait.h"
#include "figures.h"
#include "fitter_bench.h"
#include "monitor_bench.h"
#include "report_bench.h"
#include "wire.h"

#include "link/link.h"
#include "link/qt_serial_port.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

QString besideBench(const char *path) {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QLatin1String(path));
}

// Whole-memory reads and the bare link's poll, no window.
bool benchLink(Figures &figures, const QString &portsDir, int reads, int windows, int intervals) {
    QtSerialPort serial{PortDirectory(portsDir)};
    Link link(&serial);
    if (!link.OpenPort()) {
        std::fprintf(stderr, "gasecu-bench: cannot open the simulator's port\n");
        return false;
    }
    QList<double> seconds, ratios;
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
        QObject::disconnect(c1);
        QObject::disconnect(c2);
        if (!done) {
            std::fprintf(stderr, "gasecu-bench: the whole-memory read failed\n");
            return false;
        }
        seconds << double(endNs) / 1e9;
        ratios << wire::FullReadChars / wire::CharsPerSecond / seconds.back();
    }
    figures.add(QStringLiteral("full_read_seconds"), QStringLiteral("s"), seconds);
    figures.add(QStringLiteral("full_read_wire_ratio"), {}, ratios, Limit::atLeast(0.95));

    // Live polling: the link re-sends the poll from each answer.
    AnswerClock clock(link);
    link.poll.start();
    link.SendLine(link.poll.frame());
    QList<double> rates, wireRatios;
    for (int i = 0; i < windows; ++i) {
        const double hz = clock.measure(intervals, 30000).rateHz;
        if (hz <= 0) {
            std::fprintf(stderr, "gasecu-bench: the poll's answers stopped\n");
            return false;
        }
        if (!wire::plausiblePollRate(hz, "the bare link's poll"))
            return false;
        rates << hz;
        wireRatios << hz / wire::PollsPerSecond;
    }
    link.poll.stop();
    link.ClosePort();
    figures.add(QStringLiteral("poll_rate_hz"), QStringLiteral("Hz"), rates,
                Limit::atMost(wire::PollsPerSecond));
    figures.add(QStringLiteral("poll_wire_ratio"), {}, wireRatios, Limit::atLeast(0.95));
    return true;
}

int intOption(const QCommandLineParser &args, const char *name, int least) {
    return qMax(least, args.value(QLatin1String(name)).toInt());
}

} // namespace

int main(int argc, char **argv) {
    // The screens are built and painted without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser args;
    args.addHelpOption();
    const auto option = [&](const char *name, const char *help, const char *value,
                            const QString &fallback) {
        args.addOption({QLatin1String(name), QLatin1String(help), QLatin1String(value), fallback});
    };
    option("sim", "Path of gasecu-sim.", "PATH", besideBench("../tools/ecu-sim/gasecu-sim"));
    option("cli", "Path of gasecu-cli, for the calibration.", "PATH",
           besideBench("../src/cli/gasecu-cli"));
    option("json", "Also write the figures, with their limits, as JSON into FILE.", "FILE", {});
    option("reads", "Whole-memory reads to time.", "N", QStringLiteral("3"));
    option("windows", "Windows of the bare poll and of the map acquisition.", "N",
           QStringLiteral("3"));
    option("intervals", "Answers a timed window spans (about 7 a second).", "N",
           QStringLiteral("36"));
    option("rounds", "Rounds of plain, drive log and chart windows.", "N", QStringLiteral("5"));
    option("starts", "Start-ups to the first data to time.", "N", QStringLiteral("3"));
    option("refresh-passes", "Screen-refresh passes to time, in 10 batches.", "N",
           QStringLiteral("3000"));
    args.addOption({QStringLiteral("calibration"),
                    QStringLiteral("Also time gasecu-cli's idle calibration (about 40 s more).")});
    option("reports", "Reports to write and time.", "N", QStringLiteral("5"));
    args.addOption({QStringLiteral("report-only"),
                    QStringLiteral("Only the report's figure, without the simulator.")});
    args.addOption({QStringLiteral("refresh-only"),
                    QStringLiteral("Only the screen-refresh figures, without the simulator.")});
    args.process(app);

    Figures figures;
    if (args.isSet(QStringLiteral("report-only")))
        return benchReport(figures, intOption(args, "reports", 1)) ? 0 : 1;
    if (args.isSet(QStringLiteral("refresh-only"))) {
        benchRefresh(figures, intOption(args, "refresh-passes", 10), 10);
        return 0;
    }

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

    const int windows = intOption(args, "windows", 1);
    const int intervals = intOption(args, "intervals", 2);
    const PollingPlan plan{intOption(args, "rounds", 1), intervals};
    bool ok = benchLink(figures, ports.path(), intOption(args, "reads", 1), windows, intervals);
    if (ok) {
        benchRefresh(figures, intOption(args, "refresh-passes", 10), 10);
        ok = benchReport(figures, intOption(args, "reports", 1)) &&
             benchMonitorPolling(figures, ports.path(), 1, plan) &&
             benchStartToData(figures, ports.path(), 1, intOption(args, "starts", 1)) &&
             benchMapAcquisition(figures, ports.path(), 1, windows, intervals);
    }
    if (ok && args.isSet(QStringLiteral("calibration")))
        ok = benchCalibration(figures, args.value(QStringLiteral("cli")), ports.path(), 1);
    sim.terminate();
    sim.waitForFinished(5000);

    const QString json = args.value(QStringLiteral("json"));
    if (!json.isEmpty() && !figures.writeJson(json)) {
        std::fprintf(stderr, "gasecu-bench: cannot write %s\n", qPrintable(json));
        return 1;
    }
    return ok ? 0 : 1;
}
