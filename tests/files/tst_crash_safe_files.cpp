// The tool's files survive a writer killed at any moment: a process that
// keeps rewriting the configuration and a sensor file is killed with SIGKILL
// a few hundred times, and each time both files are found whole, either the
// version before or the one being written, never a mixture or a fragment.
#include "files/config_file.h"
#include "files/sensor_file.h"
#include "pages/data_table.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <csignal>

namespace {
// Whether the files in dir are each a whole version of the writer's.
bool configWhole(const QString &dir) {
    ConfigFile config(dir);
    if (config.ReadConfigFile() != ConfigFile::ReadResult::Read)
        return false;
    const int version = config.languagePath().section(QLatin1Char('-'), 1, 1).toInt();
    return version >= 1 &&
           config.languagePath() == QStringLiteral("lng-%1-").arg(version).repeated(400) &&
           config.portNumber() == version % 200 + 1;
}

bool sensorWhole(const QString &dir) {
    const auto s = sensorfile::read(QDir(dir).filePath(sensorfile::DefaultName));
    return s && s->front().toInt() >= 1 &&
           std::all_of(s->begin(), s->end(), [&](const QString &f) { return f == s->front(); });
}
} // namespace

class TestCrashSafeFiles : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void killedWriterLeavesWholeFiles_data() {
        columns<int, int>("kills", "maxDelayUs");
        row("killed at once", 100, 2000);
        row("killed later", 200, 30000);
    }
    void killedWriterLeavesWholeFiles();
};

void TestCrashSafeFiles::killedWriterLeavesWholeFiles() {
    const auto [kills, maxDelayUs] = fetch<int, int>("kills", "maxDelayUs");
    QTemporaryDir dir;
    QRandomGenerator rng(20261206);
    bool hadConfig = false, hadSensor = false; // absent only until first written
    for (int k = 0; k < kills; ++k) {
        QProcess writer;
        writer.start(QStringLiteral(GASECU_FILE_WRITER), {dir.path()});
        QVERIFY(writer.waitForReadyRead(30000)); // "writing": it is in its loop
        QThread::usleep(rng.bounded(maxDelayUs));
        ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
        QVERIFY(writer.waitForFinished(30000));
        QCOMPARE(writer.exitStatus(), QProcess::CrashExit); // killed mid-run
        const bool config = configWhole(dir.path()), sensor = sensorWhole(dir.path());
        QVERIFY2(config || (!hadConfig && !QFile::exists(dir.filePath("prconfig.txt"))),
                 qPrintable(QStringLiteral("kill %1: configuration file broken").arg(k)));
        QVERIFY2(sensor || (!hadSensor && !QFile::exists(dir.filePath("Default.sen"))),
                 qPrintable(QStringLiteral("kill %1: sensor file broken").arg(k)));
        hadConfig |= config;
        hadSensor |= sensor;
    }
}

QTEST_GUILESS_MAIN(TestCrashSafeFiles)
#include "tst_crash_safe_files.moc"
