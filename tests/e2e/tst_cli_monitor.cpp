// gasecu-cli monitor against the ECU simulator on a real pseudo-terminal:
// one row per poll answer the simulator gave, a killed logger leaves whole
// rows, rows on standard output.
#include "monitor/live_log.h"
#include "support/sim_process.h"

#include <QFile>
#include <QProcess>
#include <QTest>

namespace {
constexpr int Bound = 60000;

QString cli() {
    return qEnvironmentVariable("GASECU_CLI");
}

int pollAnswers(const QString &simLog) {
    QFile f(simLog);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    int n = 0;
    for (const QByteArray &line : f.readAll().split('\n'))
        n += line.contains(" TX @W00039") ? 1 : 0;
    return n;
}
} // namespace

class TestCliMonitor : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void monitorLogsEveryAnswer();
    void killedLoggerLeavesWholeRows();
    void rowsOnStandardOutput();
};

void TestCliMonitor::monitorLogsEveryAnswer() {
    SimProcess sim(21);
    const QString simLog = sim.dirPath(QStringLiteral("frames.log"));
    QVERIFY(sim.start({QStringLiteral("--warm"), QStringLiteral("--log"), simLog}));
    const QString csv = sim.dirPath(QStringLiteral("drive.csv"));
    const RunResult run = runProgram(cli(), {QStringLiteral("monitor"), QStringLiteral("--port"),
                                             QStringLiteral("21"), QStringLiteral("--ports-dir"),
                                             sim.portsDir(), QStringLiteral("--csv"), csv,
                                             QStringLiteral("--seconds"), QStringLiteral("3")});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.isEmpty());
    QString error;
    const auto log = live::readLiveLog(csv, &error);
    QVERIFY2(log, qPrintable(error));
    QCOMPARE(log->skipped, 0);
    QVERIFY(log->rows >= 3);
    // Every answer the simulator sent is a row, but an answer still on the
    // line when the time was up.
    const int answers = pollAnswers(simLog);
    QVERIFY2(log->rows == answers || log->rows == answers - 1,
             qPrintable(QStringLiteral("%1 rows, %2 answers").arg(log->rows).arg(answers)));
    const std::vector<double> &times = log->values.front();
    for (std::size_t i = 1; i < times.size(); ++i)
        QVERIFY(times[i] > times[i - 1]);
    QVERIFY(times.back() < 4000);
    // A warm engine at idle, on petrol.
    QVERIFY(
        log->values.at(static_cast<std::size_t>(log->column(QStringLiteral("speed_rpm")))).back() >
        300);
    QCOMPARE(log->values.at(1).back(), 0.0);
    QVERIFY(run.err.contains("rows"));
}

void TestCliMonitor::killedLoggerLeavesWholeRows() {
    SimProcess sim(22);
    QVERIFY(sim.start({QStringLiteral("--warm")}));
    const QString csv = sim.dirPath(QStringLiteral("killed.csv"));
    QProcess logger;
    logger.start(cli(),
                 {QStringLiteral("monitor"), QStringLiteral("--port"), QStringLiteral("22"),
                  QStringLiteral("--ports-dir"), sim.portsDir(), QStringLiteral("--csv"), csv});
    QVERIFY(logger.waitForStarted());
    QString error;
    QTRY_VERIFY_WITH_TIMEOUT(live::readLiveLog(csv, &error).value_or(live::LiveLogData{}).rows >= 4,
                             Bound);
    logger.kill();
    QVERIFY(logger.waitForFinished(Bound));
    const auto log = live::readLiveLog(csv, &error);
    QVERIFY2(log, qPrintable(error));
    QVERIFY(log->rows >= 4);
    QCOMPARE(log->skipped, 0);
}

void TestCliMonitor::rowsOnStandardOutput() {
    SimProcess sim(23);
    QVERIFY(sim.start({QStringLiteral("--warm")}));
    const RunResult run =
        runProgram(cli(), {QStringLiteral("monitor"), QStringLiteral("--port"),
                           QStringLiteral("23"), QStringLiteral("--ports-dir"), sim.portsDir(),
                           QStringLiteral("--seconds"), QStringLiteral("1.5")});
    QCOMPARE(run.exitCode, 0);
    const QList<QByteArray> lines = run.out.trimmed().split('\n');
    QVERIFY(lines.size() >= 2);
    QCOMPARE(lines.first() + '\n', live::csvHeader());
    QCOMPARE(lines.at(1).split(',').size(), 30);
}

QTEST_GUILESS_MAIN(TestCliMonitor)
#include "tst_cli_monitor.moc"
