// The pseudo-terminal front and the gasecu-sim program, talked to with plain
// POSIX calls the way a serial port is used.
#include "ecu-sim/ecu_simulator.h"
#include "ecu-sim/pty_port.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

using namespace ecusim;

const QByteArray FirmwarePoll = "@R0000183\r";
const QByteArray FirmwareReply = "@W000010FFE\r"; // firmware 15

int openPort(const QString &path) {
    const int fd = ::open(QFile::encodeName(path), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd >= 0) {
        termios t{};
        tcgetattr(fd, &t);
        cfmakeraw(&t);
        cfsetspeed(&t, B9600);
        tcsetattr(fd, TCSANOW, &t);
    }
    return fd;
}

// Sends a command and collects characters until a CR, running the event loop meanwhile.
QByteArray exchange(int fd, const QByteArray &command) {
    QByteArray got;
    if (::write(fd, command.constData(), size_t(command.size())) != command.size())
        return got;
    for (const QDeadlineTimer deadline(30000); !got.endsWith('\r') && !deadline.hasExpired();) {
        char buf[256];
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n > 0)
            got.append(buf, n);
        else
            QTest::qWait(5);
    }
    return got;
}

bool hungUp(int fd) {
    char c;
    const ssize_t n = ::read(fd, &c, 1);
    return n == 0 || (n < 0 && errno == EIO);
}

class TstSimPty : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void answersThroughPublishedEntry() {
        QTemporaryDir dir;
        const QString entry = dir.path() + "/com4";
        const QString live = dir.path() + "/com2";
        QVERIFY(QFile::link(dir.path() + "/gone", entry)); // left behind by a killed simulator
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), live));
        EcuSimulator sim(1); // paced, as on a real line
        PtyPort port;
        QString error;
        QVERIFY(port.open(&error));
        QVERIFY(!port.publish(dir.path(), 2, &error)); // an entry that leads to a device stays
        QCOMPARE(QFileInfo(live).symLinkTarget(), QStringLiteral("/dev/null"));
        QVERIFY2(port.publish(dir.path(), 4, &error), qPrintable(error));
        QCOMPARE(QFileInfo(entry).symLinkTarget(), port.slavePath());
        connectSimulator(&sim, &port);

        int fd = openPort(entry);
        QVERIFY(fd >= 0);
        QCOMPARE(exchange(fd, FirmwarePoll), FirmwareReply);
        // The tool closes and reopens its port: the simulator keeps answering.
        ::close(fd);
        fd = openPort(entry);
        QCOMPARE(exchange(fd, "@R0371091\r"), dataFrame(0x037, sim.memory().range(0x037, 16)));

        sim.vanish();
        QVERIFY(!QFileInfo(entry).isSymLink());
        QVERIFY(hungUp(fd));
        ::close(fd);
    }

    void programPublishesAndStopsCleanly() {
        QTemporaryDir dir;
        const QString entry = dir.path() + "/ports/com7"; // the directory is created
        QProcess sim;
        sim.start(qEnvironmentVariable("GASECU_SIM", QStringLiteral(GASECU_SIM_PATH)),
                  {"--ports-dir", dir.path() + "/ports", "--port", "7"});
        QTRY_VERIFY_WITH_TIMEOUT(sim.canReadLine(), 30000);
        const QString banner = QString::fromLocal8Bit(sim.readLine()).trimmed();
        QVERIFY2(banner.startsWith("gasecu-sim: port 7 on /dev/pts/") &&
                     banner.endsWith(entry + ')'),
                 qPrintable(banner));
        const int fd = openPort(entry);
        QVERIFY(fd >= 0);

        // Control on standard input, then end of input: the simulator carries on.
        sim.write("fault badsum next 1\n");
        QTRY_VERIFY_WITH_TIMEOUT(sim.canReadLine(), 30000);
        QVERIFY(sim.readLine().contains("badsum=next1"));
        sim.closeWriteChannel();
        QVERIFY(exchange(fd, FirmwarePoll) != FirmwareReply);
        QCOMPARE(exchange(fd, FirmwarePoll), FirmwareReply);

        sim.terminate();
        QVERIFY(sim.waitForFinished(30000));
        QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
        QCOMPARE(sim.exitCode(), 0);
        QVERIFY(!QFileInfo(entry).isSymLink());
        QVERIFY(hungUp(fd));
        ::close(fd);
    }
};

QTEST_GUILESS_MAIN(TstSimPty)
#include "tst_sim_pty.moc"
