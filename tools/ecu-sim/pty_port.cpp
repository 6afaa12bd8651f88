#include "ecu-sim/pty_port.h"

#include "ecu-sim/ecu_simulator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/inotify.h>
#include <termios.h>
#include <unistd.h>

namespace ecusim {

namespace {

constexpr qsizetype MaxPendingOutput = 64 * 1024; // about a minute of line time

QString systemError(const char *what) {
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(strerror(errno)));
}

} // namespace

PtyPort::PtyPort(QObject *parent) : QObject(parent) {}

PtyPort::~PtyPort() {
    close();
}

bool PtyPort::open(QString *error) {
    close();
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0) {
        *error = systemError("posix_openpt");
        return false;
    }
    char name[128] = {};
    if (grantpt(master) != 0 || unlockpt(master) != 0 ||
        ptsname_r(master, name, sizeof name) != 0) {
        *error = systemError("pseudo-terminal setup");
        ::close(master);
        return false;
    }
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    fcntl(master, F_SETFD, FD_CLOEXEC);
    const int slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave < 0) {
        *error = systemError("open slave");
        ::close(master);
        return false;
    }
    termios tio{};
    tcgetattr(slave, &tio);
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    cfsetispeed(&tio, B9600);
    cfsetospeed(&tio, B9600);
    tcsetattr(slave, TCSANOW, &tio);

    master_ = master;
    slave_ = slave;
    slavePath_ = QString::fromLocal8Bit(name);
    readNotifier_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
    connect(readNotifier_, &QSocketNotifier::activated, this, &PtyPort::readAvailable);
    writeNotifier_ = new QSocketNotifier(master_, QSocketNotifier::Write, this);
    writeNotifier_->setEnabled(false);
    connect(writeNotifier_, &QSocketNotifier::activated, this, &PtyPort::flushOutput);
    watchOpens(); // after our own open of the slave, which is no client
    return true;
}

void PtyPort::watchOpens() {
    const int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd < 0)
        return;
    if (inotify_add_watch(fd, QFile::encodeName(slavePath_).constData(), IN_OPEN) < 0) {
        ::close(fd);
        return;
    }
    watch_ = fd;
    watchNotifier_ = new QSocketNotifier(watch_, QSocketNotifier::Read, this);
    connect(watchNotifier_, &QSocketNotifier::activated, this, &PtyPort::readOpens);
}

void PtyPort::readOpens() {
    alignas(inotify_event) char buf[4096];
    for (;;) {
        const ssize_t n = ::read(watch_, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        for (ssize_t at = 0; at < n;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buf + at);
            at += ssize_t(sizeof(inotify_event) + event->len);
            if (event->mask & IN_OPEN)
                Q_EMIT clientOpened();
        }
    }
}

bool PtyPort::publish(const QString &dir, int port, QString *error) {
    const QString absDir = QDir(dir).absolutePath();
    if (!QDir().mkpath(absDir)) {
        *error = QStringLiteral("cannot create %1").arg(absDir);
        return false;
    }
    const QString entry = absDir + QStringLiteral("/com%1").arg(port);
    const QFileInfo existing(entry);
    if (existing.isSymLink() && existing.exists()) { // exists() follows the link
        *error = QStringLiteral("%1 already leads to %2 (another simulator?); remove it or use "
                                "another --port")
                     .arg(entry, existing.symLinkTarget());
        return false;
    }
    if (!existing.isSymLink() && existing.exists()) {
        *error = QStringLiteral("%1 exists and is not a link; not replacing it").arg(entry);
        return false;
    }
    // Link under a temporary name, then rename over the entry: the tool never sees it half made.
    const QByteArray tmp = QFile::encodeName(entry + QStringLiteral(".%1").arg(getpid()));
    ::unlink(tmp.constData());
    if (::symlink(QFile::encodeName(slavePath_).constData(), tmp.constData()) != 0 ||
        ::rename(tmp.constData(), QFile::encodeName(entry).constData()) != 0) {
        *error = systemError("publish port entry");
        ::unlink(tmp.constData());
        return false;
    }
    entry_ = entry;
    dir_ = dir;
    port_ = port;
    return true;
}

void PtyPort::unpublish() {
    if (entry_.isEmpty())
        return;
    // Remove the entry only while it still names our device.
    if (QFileInfo(entry_).symLinkTarget() == slavePath_)
        QFile::remove(entry_);
    entry_.clear();
}

void PtyPort::close() {
    unpublish();
    // close() may run inside a notifier's own signal (a read that unplugs the adapter).
    for (QSocketNotifier *n : {readNotifier_, writeNotifier_, watchNotifier_}) {
        if (n) {
            n->setEnabled(false);
            n->deleteLater();
        }
    }
    readNotifier_ = writeNotifier_ = watchNotifier_ = nullptr;
    if (watch_ >= 0)
        ::close(watch_);
    watch_ = -1;
    if (master_ >= 0)
        ::close(master_);
    if (slave_ >= 0)
        ::close(slave_);
    master_ = slave_ = -1;
    pending_.clear();
}

bool PtyPort::reopen(QString *error) {
    const QString dir = dir_;
    const int port = port_;
    return open(error) && publish(dir, port, error);
}

void PtyPort::write(const QByteArray &bytes) {
    if (master_ < 0)
        return;
    pending_ += bytes;
    if (pending_.size() > MaxPendingOutput) // nobody reads the port: keep the newest characters
        pending_.remove(0, pending_.size() - MaxPendingOutput);
    flushOutput();
}

void PtyPort::flushOutput() {
    while (master_ >= 0 && !pending_.isEmpty()) {
        const ssize_t n = ::write(master_, pending_.constData(), size_t(pending_.size()));
        if (n > 0) {
            pending_.remove(0, n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno != EAGAIN) {
            pending_.clear();
        } else {
            break;
        }
    }
    if (writeNotifier_)
        writeNotifier_->setEnabled(!pending_.isEmpty());
}

void PtyPort::readAvailable() {
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n > 0) {
            Q_EMIT received(QByteArray(buf, n)); // the receiver may close the port
            if (master_ < 0)
                return;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            if (n < 0 && errno != EAGAIN && readNotifier_)
                readNotifier_->setEnabled(false); // EIO: no slave left; do not spin
            return;
        }
    }
}

QString PtyPort::defaultPortsDir() {
    const QByteArray env = qgetenv("GASECU_PORTS");
    if (!env.isEmpty())
        return QFile::decodeName(env);
    return QDir::homePath() + QStringLiteral("/.config/gasecu/ports");
}

void connectSimulator(EcuSimulator *sim, PtyPort *port) {
    QObject::connect(sim, &EcuSimulator::transmit, port, &PtyPort::write);
    QObject::connect(port, &PtyPort::received, sim, &EcuSimulator::receive);
    QObject::connect(sim, &EcuSimulator::unplugged, port, &PtyPort::close);
    QObject::connect(port, &PtyPort::clientOpened, sim, &EcuSimulator::newClient);
    sim->setNoticesOpens(port->noticesOpens());
}

} // namespace ecusim
