// Replies that overlap on the line, end to end: the command line against an ECU that still has
// replies of an earlier program in flight, answers late or twice, or loses acknowledgements.
// Whatever the line does, the saved file and the ECU's memory end up as on a quiet line.
#include "support/sim_console.h"
#include "support/sim_process.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int ConfigStart = 0x800, ConfigSize = 0x800;
// What the tool reads and writes of it: the blocks from 0x801 to 0xA79.
constexpr int ReadStart = 0x801, ReadSize = 0xA7A - 0x801;
constexpr int FileHeader = 15; // "FichierMemoire:", then "XX." per byte from 0x800

QByteArray fileBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

// The bytes of the blocks the tool reads, as a memory file carries them.
QByteArray fileBlocks(const QByteArray &text) {
    QByteArray bytes;
    for (int a = ReadStart; a < ReadStart + ReadSize; ++a)
        bytes += char(text.mid(FileHeader + 3 * (a - ConfigStart), 2).toInt(nullptr, 16));
    return bytes;
}

// Where two memory files first differ, as "0x8A7: 00, not 34"; empty when they are the same.
QByteArray firstDifference(const QByteArray &got, const QByteArray &want) {
    if (got == want)
        return {};
    for (int a = ConfigStart; a <= 0x1000; ++a) {
        const qsizetype at = FileHeader + 3 * (a - ConfigStart);
        if (got.mid(at, 2) != want.mid(at, 2))
            return "0x" + QByteArray::number(a, 16).toUpper() + ": " + got.mid(at, 2) + ", not " +
                   want.mid(at, 2);
    }
    return "length " + QByteArray::number(got.size()) + ", not " + QByteArray::number(want.size());
}

// The memory file with the bytes at these addresses changed.
QByteArray withBytes(QByteArray text, const QList<std::pair<int, int>> &bytes) {
    for (const auto &[address, value] : bytes)
        text.replace(FileHeader + 3 * (address - ConfigStart), 2,
                     QByteArray::number(value, 16).toUpper().rightJustified(2, '0'));
    return text;
}

// Frames cut from what a port received: "@..." up to its CR.
QByteArrayList framesIn(const QByteArray &received) {
    QByteArrayList frames = received.split('\r');
    frames.removeLast();
    return frames;
}

bool checksumHolds(const QByteArray &frame) {
    int sum = 0;
    for (char c : frame.chopped(2))
        sum += quint8(c);
    return frame.right(2) == QByteArray::number(sum & 0xFF, 16).toUpper().rightJustified(2, '0');
}

enum class Job { Save, Upload, Calibrate, Ports };

} // namespace

class TestOverlap : public QObject {
    Q_OBJECT
    QTemporaryDir dataHome;
    QByteArray cleanFile;   // a save on a quiet line
    QByteArray cleanConfig; // the ECU's configuration at start

  private Q_SLOTS:
    void initTestCase() {
        qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit()); // restore points of uploads
        Ecu ecu(10);
        QVERIFY(ecu.start({}));
        const QString saved = ecu.file("clean.fra");
        QCOMPARE(ecu.cli({"save", saved}).exitCode, 0);
        cleanFile = fileBytes(saved);
        cleanConfig = ecu.config();
        QCOMPARE(cleanConfig.size(), ConfigSize);
        QCOMPARE(fileBlocks(cleanFile), ecu.peek(ReadStart, ReadSize));
    }

    // The simulator's own part: replies in flight reach a program that has just opened the
    // port, well formed and ahead of the answer to its first request; same seed, same replies.
    void repliesInFlightAtOpen() {
        Ecu ecu(11);
        QVERIFY(ecu.start({"--fault", "stale=3", "--seed", "1"}));
        const int fd = ::open(QFile::encodeName(ecu.entry()), O_RDWR | O_NOCTTY | O_NONBLOCK);
        QVERIFY(fd >= 0);
        termios t{};
        tcgetattr(fd, &t);
        cfmakeraw(&t);
        tcsetattr(fd, TCSANOW, &t);
        QCOMPARE(::write(fd, "@R0003489\r", 10), 10);
        QByteArray got;
        for (const QDeadlineTimer deadline(10000);
             framesIn(got).size() < 4 && !deadline.hasExpired();) {
            char buf[512];
            const ssize_t n = ::read(fd, buf, sizeof buf);
            n > 0 ? void(got.append(buf, n)) : QTest::qWait(10);
        }
        ::close(fd);
        const QByteArrayList frames = framesIn(got);
        QCOMPARE(frames.size(), 4);
        QByteArrayList heads;
        for (const QByteArray &f : frames) {
            QVERIFY2(checksumHolds(f), f.constData());
            heads << f.left(7);
        }
        QCOMPARE(heads, (QByteArrayList{"@WA7933", "@WA1524", "@W00037", "@W00034"}));
        QCOMPARE(frames[1], QByteArray("@WA15240302010100FFFEFEFDFCFBFBFAF9F8F7F6F5F4F3F2F0EFEEECEB"
                                       "E9E7E5E2E0DCD8D8D8D824"));
    }

    void nothingLost_data() {
        QTest::addColumn<int>("job");
        QTest::addColumn<QStringList>("fault");
        const std::pair<const char *, Job> jobs[] = {{"save", Job::Save},
                                                     {"upload", Job::Upload},
                                                     {"calibrate", Job::Calibrate},
                                                     {"ports", Job::Ports}};
        // Replies of an earlier program at open; a reply still arriving when the tool asks
        // again; a reply twice; a write carried out whose acknowledgement is lost.
        const std::pair<const char *, QStringList> faults[] = {
            {"in flight at open", {"--fault", "stale=6"}},
            {"late answer", {"--fault", "late=520:0.3"}},
            {"answered twice", {"--fault", "twice=0.3"}},
            {"lost acknowledgement", {"--fault", "dropack=0.2"}}};
        for (const auto &[jobName, job] : jobs)
            for (const auto &[faultName, fault] : faults)
                QTest::addRow("%s, %s", jobName, faultName) << int(job) << fault;
    }

    void nothingLost() {
        QFETCH(int, job);
        QFETCH(QStringList, fault);
        Ecu ecu(12);
        QVERIFY(ecu.start(fault + QStringList{"--seed", "1", "--warm"}));
        // The tool's last command may still be crossing the line when it exits: the longest
        // takes 130 ms.
        const auto settle = [] { QTest::qWait(300); };
        switch (Job(job)) {
        case Job::Save: {
            const QString saved = ecu.file("faulty.fra");
            const RunResult r = ecu.cli({"save", saved});
            QVERIFY2(r.exitCode == 0, r.err.constData());
            settle();
            QCOMPARE(firstDifference(fileBytes(saved), cleanFile), QByteArray());
            QCOMPARE(ecu.config(), cleanConfig);
            break;
        }
        case Job::Upload: {
            // Bytes changed in several blocks: one block not written shows.
            const QByteArray text = withBytes(cleanFile, {{0x801, 0x8C},
                                                          {0x80A, 0x21},
                                                          {0x8A7, 0x44},
                                                          {0x915, 0x55},
                                                          {0x9A7, 0x66},
                                                          {0xA15, 0x77},
                                                          {0xA79, 0x12}});
            const QString upload = ecu.file("upload.fra");
            QFile f(upload);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(text) == text.size());
            f.close();
            const RunResult r = ecu.cli({"upload", upload});
            QVERIFY2(r.exitCode == 0 && r.out.endsWith("verified\n"), r.err.constData());
            settle();
            QCOMPARE(ecu.peek(ReadStart, ReadSize), fileBlocks(text));
            break;
        }
        case Job::Calibrate: {
            // Switch-over delay 3 s and the other way of switching: zeroed while the
            // calibration runs, then written back.
            QCOMPARE(ecu.ask("poke 807 03"), QByteArray("807: 03"));
            QCOMPARE(ecu.ask("poke a41 01"), QByteArray("A41: 01"));
            const QByteArray before = ecu.config();
            const RunResult r = ecu.cli({"calibrate", "idle", "--steps", "1,1,1,1"});
            QVERIFY2(r.exitCode == 0, r.err.constData());
            settle();
            QCOMPARE(ecu.peek(0x807, 1), QByteArray("\x03"));
            QCOMPARE(ecu.peek(0xA41, 1), QByteArray("\x01"));
            QCOMPARE(ecu.config(), before);
            break;
        }
        case Job::Ports: {
            QTemporaryDir work;
            RunResult r;
            // One 300 ms tick per port: a loaded machine may need another search.
            for (int attempt = 0; attempt < 3 && r.exitCode != 0; ++attempt)
                r = runProgram(qEnvironmentVariable("GASECU_CLI"),
                               {"ports", "--ports-dir", ecu.portsDir()}, work.path());
            QVERIFY2(r.exitCode == 0 && r.out.contains("found COM 12\n"), r.out.constData());
            settle();
            QCOMPARE(fileBytes(QDir(work.path()).filePath("prconfig.txt")),
                     QByteArray("FichierConfig:]12]]]]]Fin\r\n"));
            QCOMPARE(ecu.config(), cleanConfig);
            break;
        }
        }
    }
};

QTEST_GUILESS_MAIN(TestOverlap)
#include "tst_overlap.moc"
