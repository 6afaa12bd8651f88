// gasecu-cli monitor against the simulator: a row per poll answer, rows on standard output.
#include "monitor/live_log.h"
#include "support/sim_process.h"

#include <QFile>
#include <QTest>

#include <algorithm>
#include <functional>

class TestCliMonitor : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void monitor() {
        SimProcess sim(21);
        const QString simLog = sim.dirPath("frames.log"), csv = sim.dirPath("drive.csv");
        QVERIFY(sim.start({"--warm", "--log", simLog}));
        const auto cliMonitor = [&](const QStringList &more) {
            return runProgram(
                qEnvironmentVariable("GASECU_CLI"),
                QStringList{"monitor", "--port", "21", "--ports-dir", sim.portsDir()} + more);
        };
        RunResult run = cliMonitor({"--csv", csv, "--seconds", "3"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.isEmpty() && run.err.contains("rows"));
        QString error;
        auto log = live::readLiveLog(csv, &error);
        QVERIFY2(log, qPrintable(error));
        QCOMPARE(log->skipped, 0);
        QVERIFY(log->rows >= 3);
        // Every answer the simulator sent is a row, but one still on the line
        // when the time was up.
        QFile frames(simLog);
        QVERIFY(frames.open(QIODevice::ReadOnly));
        const int answers = int(frames.readAll().count(" TX @W00039"));
        QVERIFY2(log->rows == answers || log->rows == answers - 1,
                 qPrintable(QStringLiteral("%1 rows, %2 answers").arg(log->rows).arg(answers)));
        const std::vector<double> &times = log->values.front();
        QVERIFY(std::adjacent_find(times.begin(), times.end(), std::greater_equal<>()) ==
                    times.end() &&
                times.back() < 4000);
        QVERIFY(log->values.at(3).back() > 300); // a warm engine at idle, on petrol
        QCOMPARE(log->values.at(1).back(), 0.0);

        run = cliMonitor({"--seconds", "1.5"});
        QCOMPARE(run.exitCode, 0);
        const QList<QByteArray> lines = run.out.trimmed().split('\n');
        QVERIFY(lines.size() >= 2);
        QCOMPARE(lines.first() + '\n', live::csvHeader());
        QCOMPARE(lines.at(1).split(',').size(), 30);
    }
};

QTEST_GUILESS_MAIN(TestCliMonitor)
#include "tst_cli_monitor.moc"
