#include "fitter_bench.h"

#include "bench_window.h"
#include "wire.h"

#include "map/map_screen.h"
#include "transfer/prog_start_form.h"
#include "tuning/calibration_sequence.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <cstdio>
#include <numeric>

namespace {
// The tool's own share of the wait for the first data, beyond the wire's.
constexpr double StartUpAllowanceS = 0.5;
} // namespace

bool benchStartToData(Figures &figures, const QString &portsDir, int port, int runs) {
    QList<double> samples;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer t;
        t.start();
        BenchWindow w(portsDir, port);
        QEventLoop loop;
        double seconds = 0;
        QObject::connect(&w.link, &Link::fullReadCompleted, &loop, [&] {
            seconds = double(t.nsecsElapsed()) / 1e9;
            loop.quit();
        });
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        if (!w.link.OpenPort()) {
            std::fprintf(stderr, "gasecu-bench: cannot open the simulator's port\n");
            return false;
        }
        w.window.screens().startForm->BoutonPC_Click();
        loop.exec();
        if (seconds <= 0) {
            std::fprintf(stderr, "gasecu-bench: the first whole read did not end\n");
            return false;
        }
        samples << seconds;
    }
    figures.add(QStringLiteral("start_to_data_seconds"), QStringLiteral("s"), samples,
                Limit::atMost(wire::FullReadChars / wire::CharsPerSecond + StartUpAllowanceS));
    return true;
}

bool benchMapAcquisition(Figures &figures, const QString &portsDir, int port, int windows,
                         int intervals) {
    BenchWindow w(portsDir, port);
    if (!w.startMonitor()) {
        std::fprintf(stderr, "gasecu-bench: the monitor did not poll the simulator\n");
        return false;
    }
    w.window.navigation().BtMap_Click();
    w.window.screens().mapScreen->StarMapAqui_Click();
    QList<double> rates, ratios;
    for (int i = 0; i < windows; ++i) {
        const double hz = w.clock.measure(intervals, 30000).rateHz;
        if (hz <= 0) {
            std::fprintf(stderr, "gasecu-bench: the answers stopped during the acquisition\n");
            return false;
        }
        if (!wire::plausiblePollRate(hz, "the map acquisition"))
            return false;
        rates << hz;
        ratios << hz / wire::PollsPerSecond;
    }
    w.window.screens().mapScreen->StopMapAqui_Click();
    figures.add(QStringLiteral("map_acquisition_rate_hz"), QStringLiteral("Hz"), rates,
                Limit::atMost(wire::PollsPerSecond));
    figures.add(QStringLiteral("map_acquisition_wire_ratio"), {}, ratios, Limit::atLeast(0.95));
    return true;
}

bool benchCalibration(Figures &figures, const QString &cli, const QString &portsDir, int port) {
    const calibration::Settings defaults;
    const double answers =
        std::accumulate(defaults.idleSteps.begin(), defaults.idleSteps.end(), 0.0);
    QProcess run;
    run.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer t;
    t.start();
    run.start(cli, {QStringLiteral("calibrate"), QStringLiteral("idle"), QStringLiteral("--port"),
                    QString::number(port), QStringLiteral("--ports-dir"), portsDir});
    // The calibration needs a few hundred answers: give it five times their time.
    const int timeoutMs = int(answers / wire::PollsPerSecond * 5000) + 30000;
    if (!run.waitForStarted(10000) || !run.waitForFinished(timeoutMs) ||
        run.exitStatus() != QProcess::NormalExit || run.exitCode() != 0) {
        std::fprintf(stderr, "gasecu-bench: the idle calibration failed (%s): %s\n",
                     qPrintable(cli), run.readAllStandardError().right(400).constData());
        return false;
    }
    const double seconds = double(t.nsecsElapsed()) / 1e9;
    const double wireSeconds = answers / wire::PollsPerSecond;
    figures.add(QStringLiteral("calibration_seconds"), QStringLiteral("s"), seconds);
    figures.add(QStringLiteral("calibration_wire_ratio"), {}, wireSeconds / seconds,
                Limit::atLeast(0.85));
    return true;
}
