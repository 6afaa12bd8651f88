// The pseudo-terminal front and the gasecu-sim program, talked to with plain POSIX calls the way
// a serial port is used.

#include "ecu-sim/ecu_simulator.h"
#include "ecu-sim/pty_port.h"
#include "sim_test_util.h"

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

namespace {

int openPort(const QString &path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd >= 0) {
        termios t{};
        tcgetattr(fd, &t);
        cfmakeraw(&t);
        cfsetispeed(&t, B9600);
        cfsetospeed(&t, B9600);
        tcsetattr(fd, TCSANOW, &t);
    }
    return fd;
}

// Sends a command and collects characters until a CR, running the event loop meanwhile.
QByteArray exchange(int fd, const QByteArray &command) {
    if (::write(fd, command.constData(), size_t(command.size())) != command.size())
        return {};
    QByteArray got;
    const QDeadlineTimer deadline(30000);
    while (!got.endsWith('\r') && !deadline.hasExpired()) {
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

QString simulatorProgram() {
    return qEnvironmentVariable("GASECU_SIM", QStringLiteral(GASECU_SIM_PATH));
}

} // namespace

class TstSimPty : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void answersThroughPublishedEntry();
    void publishReplacesOnlyDanglingEntries();
    void programRunsAndStopsCleanly();
    void programVanishesAndPlugsBackIn();
};

void TstSimPty::answersThroughPublishedEntry() {
    QTemporaryDir dir;
    EcuSimulator sim(1); // paced, as on a real line
    PtyPort port;
    QString error;
    QVERIFY2(port.open(&error) && port.publish(dir.path() + "/ports", 4, &error),
             qPrintable(error));
    connectSimulator(&sim, &port);
    const QString entry = dir.path() + "/ports/com4";
    QCOMPARE(QFileInfo(entry).symLinkTarget(), port.slavePath());

    int fd = openPort(entry);
    QVERIFY(fd >= 0);
    QCOMPARE(exchange(fd, "@R0000183\r"), dataFrame(0x000, QByteArray(1, char(0x0F))));
    // The tool closes and reopens its port: the simulator keeps answering.
    ::close(fd);
    fd = openPort(entry);
    const QByteArray live = exchange(fd, "@R0371091\r");
    QVERIFY(live.startsWith("@W03710") && wellFormedReply(live));

    sim.vanish();
    QVERIFY(!QFileInfo(entry).isSymLink());
    QVERIFY(hungUp(fd));
    ::close(fd);
}

void TstSimPty::publishReplacesOnlyDanglingEntries() {
    QTemporaryDir dir;
    PtyPort port;
    QString error;
    QVERIFY(port.open(&error));
    const QString com1 = dir.path() + "/com1";
    QVERIFY(QFile::link(dir.path() + "/gone", com1)); // left by a killed simulator
    QVERIFY2(port.publish(dir.path(), 1, &error), qPrintable(error));
    QCOMPARE(QFileInfo(com1).symLinkTarget(), port.slavePath());

    QVERIFY(QFile::link(QStringLiteral("/dev/null"), dir.path() + "/com2")); // a live device
    QVERIFY(!port.publish(dir.path(), 2, &error));
    QCOMPARE(QFileInfo(dir.path() + "/com2").symLinkTarget(), QStringLiteral("/dev/null"));
}

void TstSimPty::programRunsAndStopsCleanly() {
    QTemporaryDir dir;
    QProcess sim;
    sim.start(simulatorProgram(), {"--ports-dir", dir.path(), "--port", "7", "--seed", "3"});
    QTRY_VERIFY_WITH_TIMEOUT(sim.canReadLine(), 30000);
    const QString banner = QString::fromLocal8Bit(sim.readLine()).trimmed();
    const QString entry = dir.path() + "/com7";
    QVERIFY2(banner.startsWith("gasecu-sim: port 7 on /dev/pts/") && banner.endsWith(entry + ')'),
             qPrintable(banner));

    const int fd = openPort(entry);
    QVERIFY(fd >= 0);
    const QByteArray live = exchange(fd, "@R000378C\r");
    QVERIFY(wellFormedReply(live) && live.size() == 120);

    // Runtime control on standard input, then end of input: the simulator carries on.
    sim.write("fault badsum next 1\n");
    QTRY_VERIFY_WITH_TIMEOUT(sim.canReadLine(), 30000);
    QVERIFY(sim.readLine().contains("badsum=next1"));
    sim.closeWriteChannel();
    QVERIFY(!wellFormedReply(exchange(fd, "@R0000183\r")));
    QVERIFY(wellFormedReply(exchange(fd, "@R0000183\r")));

    sim.terminate();
    QVERIFY(sim.waitForFinished(30000));
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), 0);
    QVERIFY(!QFileInfo(entry).isSymLink());
    QVERIFY(hungUp(fd));
    ::close(fd);
}

void TstSimPty::programVanishesAndPlugsBackIn() {
    QTemporaryDir dir;
    QProcess sim;
    sim.start(simulatorProgram(),
              {"--ports-dir", dir.path(), "--no-pacing", "--fault", "vanish-after=0.2"});
    QTRY_VERIFY_WITH_TIMEOUT(sim.canReadLine(), 30000);
    sim.readLine();
    const QString entry = dir.path() + "/com1";
    const int fd = openPort(entry);
    QVERIFY(fd >= 0);
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo(entry).isSymLink(), 30000);
    QVERIFY(hungUp(fd));
    ::close(fd);

    sim.write("plug\n");
    QTRY_VERIFY_WITH_TIMEOUT(sim.canReadLine(), 30000);
    QVERIFY(sim.readLine().contains("plugged in"));
    const int again = openPort(entry);
    QVERIFY(again >= 0);
    QVERIFY(wellFormedReply(exchange(again, "@R0000183\r")));
    ::close(again);

    sim.write("quit\n");
    QVERIFY(sim.waitForFinished(30000));
    QCOMPARE(sim.exitCode(), 0);
    QVERIFY(!QFileInfo(entry).isSymLink());
}

QTEST_GUILESS_MAIN(TstSimPty)
#include "tst_sim_pty.moc"
