#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

namespace ecusim {

class EcuSimulator;

// The simulator's end of a pseudo-terminal: the tool opens the slave device like any serial
// adapter. The slave path is published as the entry comN of a port directory, which is how the
// tool maps port numbers to devices. A slave descriptor stays open here so that the tool can
// close and reopen the port without the master seeing a hang-up.
class PtyPort : public QObject {
    Q_OBJECT
  public:
    explicit PtyPort(QObject *parent = nullptr);
    ~PtyPort() override;

    bool open(QString *error);
    bool isOpen() const { return master_ >= 0; }
    QString slavePath() const { return slavePath_; }

    // Creates DIR/comN -> slave path (the directory is created if missing). A dangling entry left
    // by a killed simulator is replaced; an entry that leads to a live device is not.
    bool publish(const QString &dir, int port, QString *error);
    QString entryPath() const { return entry_; }

    // Unplugs the adapter: both descriptors close, so the tool's side reads end-of-file or EIO,
    // and the entry is removed.
    void close();
    // Plugs a new adapter in and publishes it under the same entry.
    bool reopen(QString *error);

    void write(const QByteArray &bytes);

    // Whether clientOpened() is emitted: the kernel reports opens of the slave device.
    bool noticesOpens() const { return watch_ >= 0; }

    // --ports-dir, else $GASECU_PORTS, else ~/.config/gasecu/ports.
    static QString defaultPortsDir();

  Q_SIGNALS:
    void received(const QByteArray &bytes);
    // A program opened the slave device: a new client on the line.
    void clientOpened();

  private:
    void readAvailable();
    void flushOutput();
    void unpublish();
    void watchOpens();
    void readOpens();

    int master_ = -1;
    int slave_ = -1;
    QString slavePath_;
    QString entry_;
    QString dir_;
    int port_ = 0;
    QSocketNotifier *readNotifier_ = nullptr;
    QSocketNotifier *writeNotifier_ = nullptr;
    int watch_ = -1; // inotify descriptor watching the slave device's opens
    QSocketNotifier *watchNotifier_ = nullptr;
    QByteArray pending_;
};

// Wires the simulator to the port: characters both ways, and unplugging closes the port.
void connectSimulator(EcuSimulator *sim, PtyPort *port);

} // namespace ecusim
