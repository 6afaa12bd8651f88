// Replies that overlap on the line, end to end: the command line against an ECU that still has
// replies of an earlier program in flight, answers late or twice, or loses acknowledgements.
// Whatever the line does, the saved file and the ECU's memory end up as on a quiet line.
#include "pages/data_table.h"
#include "support/sim_console.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int ConfigStart = 0x800;
// What the tool reads and writes of it: the blocks from 0x801 to 0xA79.
constexpr int ReadStart = 0x801, ReadSize = 0xA7A - 0x801;
constexpr int FileHeader = 15; // "FichierMemoire:", then "XX." per byte from 0x800

// The bytes of the blocks the tool reads, as a memory file carries them.
QByteArray fileBlocks(const QByteArray &text) {
    QByteArray bytes;
    for (int a = ReadStart; a < ReadStart + ReadSize; ++a)
        bytes += char(text.mid(FileHeader + 3 * (a - ConfigStart), 2).toInt(nullptr, 16));
    return bytes;
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

// Bytes changed in several blocks: one block not written shows.
const QList<std::pair<int, int>> Changes = {{0x801, 0x8C}, {0x80A, 0x21}, {0x8A7, 0x44},
                                            {0x915, 0x55}, {0x9A7, 0x66}, {0xA15, 0x77},
                                            {0xA79, 0x12}};

enum class Job { Save, Upload, Ports };

} // namespace

class TestOverlap : public QObject {
    Q_OBJECT
    OwnDataHome dataHome;   // restore points of uploads
    QByteArray cleanFile;   // a save on a quiet line
    QByteArray cleanConfig; // the ECU's configuration at start

  private Q_SLOTS:
    void initTestCase() {
        Ecu ecu(10);
        QVERIFY(ecu.start());
        const QString saved = ecu.dirPath("clean.fra");
        QCOMPARE(ecu.cli({"save", saved}).exitCode, 0);
        cleanFile = fileBytes(saved);
        cleanConfig = ecu.config();
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
    }

    void nothingLost_data() {
        columns<int, QStringList>("job", "fault");
        const std::pair<const char *, Job> jobs[] = {
            {"save", Job::Save}, {"upload", Job::Upload}, {"ports", Job::Ports}};
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
        const auto [job, fault] = fetch<int, QStringList>("job", "fault");
        Ecu ecu(12);
        QVERIFY(ecu.start(fault + QStringList{"--seed", "1", "--warm"}));
        // The tool's last command may still be crossing the line when it exits: the longest
        // takes 130 ms.
        const auto settle = [] { QTest::qWait(300); };
        switch (Job(job)) {
        case Job::Save: {
            const QString saved = ecu.dirPath("faulty.fra");
            const RunResult r = ecu.cli({"save", saved});
            QVERIFY2(r.exitCode == 0, r.err.constData());
            settle();
            QCOMPARE(fileBytes(saved), cleanFile);
            QCOMPARE(ecu.config(), cleanConfig);
            break;
        }
        case Job::Upload: {
            const QByteArray text = withBytes(cleanFile, Changes);
            const QString upload = ecu.dirPath("upload.fra");
            QFile f(upload);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(text) == text.size() && f.flush());
            const RunResult r = ecu.cli({"upload", upload});
            QVERIFY2(r.exitCode == 0 && r.out.endsWith("verified\n"), r.err.constData());
            settle();
            QCOMPARE(ecu.peek(ReadStart, ReadSize), fileBlocks(text));
            break;
        }
        case Job::Ports: {
            QTemporaryDir work;
            RunResult r;
            // One 300 ms tick per port: a loaded machine may need another search.
            for (int attempt = 0; attempt < 3 && r.exitCode != 0; ++attempt)
                r = runCli({"ports", "--ports-dir", ecu.portsDir()}, work.path());
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
