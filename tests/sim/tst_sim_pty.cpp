// The pseudo-terminal front, used with plain POSIX calls as a serial port is.
#include "ecu-sim/ecu_simulator.h"
#include "ecu-sim/pty_port.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

using namespace ecusim;

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

class TstSimPty : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    // The tool closes and reopens its port: the simulator keeps answering until it vanishes.
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
        connectSimulator(&sim, &port);
        int fd = -1;
        for (int i = 0; i < 2; ++i) {
            ::close(fd);
            fd = openPort(entry);
            QCOMPARE(exchange(fd, "@R0371091\r"), dataFrame(0x037, sim.memory().range(0x037, 16)));
        }
        sim.vanish();
        QVERIFY(!QFileInfo(entry).isSymLink());
        char c;
        const ssize_t n = ::read(fd, &c, 1);
        QVERIFY(n == 0 || (n < 0 && errno == EIO)); // hung up
        ::close(fd);
    }
};

QTEST_GUILESS_MAIN(TstSimPty)
#include "tst_sim_pty.moc"
