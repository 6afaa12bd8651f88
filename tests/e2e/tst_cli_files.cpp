// gasecu-cli and files: a target that is not a regular file is refused
// before any port is opened, a port found but not remembered fails the
// search, diff compares memory files and the ECU, monitor writes a row per
// poll answer.
#include "live/live_log.h"
#include "pages/data_table.h"
#include "support/sim_process.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <functional>

#include <sys/stat.h>

namespace {
RunResult diff(const QStringList &args) {
    return runCli(QStringList{"diff"} + args);
}

// The configuration area's memory file: the bytes given, 0 elsewhere; or one character short.
QString memoryFile(const QTemporaryDir &dir, const char *name,
                   const QList<std::pair<int, int>> &bytes, bool whole = true) {
    QByteArray area(0x801, '\0');
    for (const auto &[address, value] : bytes)
        area[address - 0x800] = static_cast<char>(value);
    QByteArray text = "FichierMemoire:";
    for (char b : area)
        text += QByteArray::number(quint8(b), 16).toUpper().rightJustified(2, '0') + '.';
    text += "Fin\r\n";
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(whole ? text : text.left(6164) + "\r\n");
    return path;
}

const QList<std::pair<int, int>> Base = {{0x803, 35},  {0x809, 10},  {0xA42, 11},
                                         {0xA43, 184}, {0x812, 100}, {0x1000, 12}};
} // namespace

class TestCliFiles : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void saveRefusesWhatIsNotAFile_data() {
        columns<QString, QStringList>("target", "more");
        for (const char *target : {"/dev/full", "folder", "fifo"}) {
            row(target, QString::fromLatin1(target), QStringList{"--force"});
            row(qPrintable(QString::fromLatin1(target) + " without --force"),
                QString::fromLatin1(target), QStringList{});
        }
    }
    void saveRefusesWhatIsNotAFile() {
        const auto [target, more] = fetch<QString, QStringList>("target", "more");
        QTemporaryDir dir;
        QString path = target;
        if (target == "folder") {
            path = dir.filePath("x.fra");
            QVERIFY(QDir().mkdir(path));
        } else if (target == "fifo") {
            path = dir.filePath("x.fra");
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        } else if (!QFileInfo::exists(path)) {
            QSKIP("no such device here");
        }
        struct stat before {};
        QVERIFY(::stat(QFile::encodeName(path).constData(), &before) == 0);
        // Port 99 has no ECU: the refusal comes before any port is opened.
        const RunResult run = runCli(QStringList{"save", path, "--port", "99"} + more);
        QCOMPARE(run.exitCode, 3);
        QCOMPARE(run.out, QByteArray());
        QCOMPARE(QString::fromLocal8Bit(run.err),
                 "gasecu-cli: " + path + ": not a regular file, left as it is\n");
        struct stat after {};
        QVERIFY(::stat(QFile::encodeName(path).constData(), &after) == 0);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(after.st_ino, before.st_ino);
    }

    // The port the ECU answers on is shown, but a folder in the place of
    // prconfig.txt of the current folder keeps it from being remembered.
    void portsSaysWhyItCannotRemember() {
        QTemporaryDir work;
        const QString config =
            QDir(QFileInfo(work.path()).canonicalFilePath()).filePath("prconfig.txt");
        QVERIFY(QDir().mkdir(config));
        SimProcess sim(2);
        QVERIFY(sim.start());
        const RunResult run = runCli({"ports", "--ports-dir", sim.portsDir()}, work.path());
        QVERIFY2(run.out.contains("\nfound COM 2\n"), run.out.constData());
        QCOMPARE(run.exitCode, 3);
        QCOMPARE(QString::fromLocal8Bit(run.err),
                 "gasecu-cli: COM 2 could not be written to " + config + "\n");
        QVERIFY(QFileInfo(config).isDir());
    }

    // diff: two memory files, files that cannot be compared, the ECU against a file.
    void twoFiles() {
        QTemporaryDir dir;
        const QString a = memoryFile(dir, "a.fra", Base);
        const RunResult run =
            diff({a, memoryFile(dir, "b.fra",
                                Base + QList<std::pair<int, int>>{{0x803, 40}, {0x80E, 4}})});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(QString::fromUtf8(run.out),
                 QStringLiteral("Switch-over temperature 35 °C → 40 °C\nByte 0x80E 0 → 4\n"));
        QVERIFY(run.err.contains("2 differences"));
        const RunResult same = diff({a, a});
        QCOMPARE(same.exitCode, 0);
        QVERIFY(same.out.isEmpty() && same.err.contains("no difference"));
        // --exit-code: 1 for "they differ", as git diff does.
        QCOMPARE(diff({a, a, "--exit-code"}).exitCode, 0);
        QCOMPARE(diff({a, dir.filePath("b.fra"), "--exit-code"}).exitCode, 1);
    }

    // Options a command does not take, and values it does, before any port opens.
    void commandLines() {
        const struct {
            QStringList args;
            int exitCode;
            QByteArray said;
        } cases[] = {
            {{"ports", "--port", "3"}, 64, "Unknown option 'port'"},
            {{"read", "--apply"}, 64, "Unknown option 'apply'"},
            {{"calibrate", "idle", "--steps", "0,0,0,-1", "--port", "99"}, 64, "0..8000"},
            {{"calibrate", "idle", "--steps", "0,0,0,0", "--port", "99"}, 2, ""},
            {{"map", "--seconds", "0"}, 64, "--seconds takes whole seconds 1..86400"},
            {{"diff", "ECU", "Ecu", "--port", "99"}, 2, ""}, // both the ECU: the port is tried
        };
        for (const auto &c : cases) {
            const RunResult run = runCli(c.args);
            QCOMPARE(run.exitCode, c.exitCode);
            QVERIFY2(run.err.contains(c.said), run.err.constData());
        }
    }

    // Refused before any port is opened: no simulator here.
    void badFiles() {
        QTemporaryDir dir;
        const std::pair<QString, QByteArray> cases[] = {
            {dir.filePath("missing.fra"), " Non-existent file "},
            {memoryFile(dir, "short.fra", {}, false), " Noncorrect File error "}};
        for (const auto &[bad, message] : cases) {
            const RunResult run = diff({"ecu", bad, "--port", "99"});
            QCOMPARE(run.exitCode, 3);
            QVERIFY(run.out.isEmpty());
            QVERIFY2(run.err.contains(message), run.err.constData());
        }
    }

    // "What did I change?": the ECU against the file it was loaded from.
    void ecuAgainstAFile() {
        QTemporaryDir dir;
        const QString loaded = memoryFile(dir, "loaded.fra", Base);
        SimProcess sim(24);
        QVERIFY(sim.start({"--load", loaded}));
        sim.command("poke 809 EC"); // temperature alarm -20 °C
        const RunResult run = diff(QStringList{loaded, "ecu"} + sim.portArgs());
        QCOMPARE(run.exitCode, 0);
        QStringList lines = QString::fromUtf8(run.out).split(u'\n', Qt::SkipEmptyParts);
        // The simulator's own firmware byte may differ from the file's.
        lines.removeIf([](const QString &l) { return l.startsWith(QLatin1String("Firmware")); });
        QCOMPARE(lines, QStringList{QStringLiteral("Temperature alarm 10 °C → -20 °C")});
    }

    // monitor: a row per poll answer, rows on standard output.
    void monitor() {
        SimProcess sim(21);
        const QString simLog = sim.dirPath("frames.log"), csv = sim.dirPath("drive.csv");
        QVERIFY(sim.start({"--warm", "--log", simLog}));
        const auto cliMonitor = [&](const QStringList &more) {
            return sim.cli(QStringList{"monitor"} + more);
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

QTEST_GUILESS_MAIN(TestCliFiles)
#include "tst_cli_files.moc"
