// The tool's files survive a writer killed at any moment: a process that
// keeps rewriting the configuration and a sensor file is killed with SIGKILL
// a few hundred times, and each time both files are found whole, either the
// version before or the one being written, never a mixture or a fragment.
#include "files/config_file.h"
#include "files/sensor_file.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>

namespace {

// The version a configuration file was written as, or -1 when it is not a
// whole file of the writer's.
int configVersion(const QString &dir) {
    ConfigFile config(dir);
    if (config.ReadConfigFile() != ConfigFile::ReadResult::Read)
        return -1;
    static const QRegularExpression piece(QStringLiteral("^lng-(\\d+)-"));
    const QRegularExpressionMatch m = piece.match(config.languagePath());
    if (!m.hasMatch())
        return -1;
    const int version = m.captured(1).toInt();
    const QString path = QStringLiteral("lng-%1-").arg(version).repeated(400);
    if (config.languagePath() != path || config.portNumber() != version % 200 + 1)
        return -1;
    return version;
}

int sensorVersion(const QString &dir) {
    const auto s = sensorfile::read(QDir(dir).filePath(sensorfile::DefaultName));
    if (!s)
        return -1;
    for (const QString &field : *s) {
        if (field != s->front())
            return -1;
    }
    return s->front().toInt();
}

} // namespace

class TestCrashSafeFiles : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void killedWriterLeavesWholeFiles_data();
    void killedWriterLeavesWholeFiles();
};

void TestCrashSafeFiles::killedWriterLeavesWholeFiles_data() {
    QTest::addColumn<int>("kills");
    QTest::addColumn<int>("maxDelayUs");
    QTest::newRow("killed at once") << 100 << 2000;
    QTest::newRow("killed later") << 200 << 30000;
}

void TestCrashSafeFiles::killedWriterLeavesWholeFiles() {
    QFETCH(int, kills);
    QFETCH(int, maxDelayUs);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QRandomGenerator rng(20261206);
    int lastConfig = 0;
    int lastSensor = 0;
    int killedMidRun = 0;
    for (int k = 0; k < kills; ++k) {
        QProcess writer;
        writer.start(QStringLiteral(GASECU_FILE_WRITER), {dir.path()});
        QVERIFY(writer.waitForReadyRead(30000)); // "writing": it is in its loop
        QThread::usleep(rng.bounded(maxDelayUs));
        ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
        QVERIFY(writer.waitForFinished(30000));
        killedMidRun += writer.exitStatus() == QProcess::CrashExit;
        const int config = configVersion(dir.path());
        const int sensor = sensorVersion(dir.path());
        // Each run starts again at version 1; a file is whole whatever it holds.
        QVERIFY2(config >= 1 || (lastConfig == 0 && !QFile::exists(dir.filePath("prconfig.txt"))),
                 qPrintable(QStringLiteral("kill %1: configuration file broken").arg(k)));
        QVERIFY2(sensor >= 1 || (lastSensor == 0 && !QFile::exists(dir.filePath("Default.sen"))),
                 qPrintable(QStringLiteral("kill %1: sensor file broken").arg(k)));
        lastConfig = qMax(config, 0);
        lastSensor = qMax(sensor, 0);
    }
    QCOMPARE(killedMidRun, kills);
}

QTEST_GUILESS_MAIN(TestCrashSafeFiles)
#include "tst_crash_safe_files.moc"
