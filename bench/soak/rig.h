#pragma once

#include "ecu-sim/ecu_simulator.h"
#include "ecu-sim/pty_port.h"
#include "link/link.h"
#include "link/qt_serial_port.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <array>
#include <functional>

// The tool's core and the ECU simulator in one process, joined by a real
// pseudo-terminal at 9600-baud pacing, with the link's poll watchdog.
// Every operation runs the event loop until it ends or gives up.
class SoakRig : public QObject {
  public:
    enum class End { Done, Message, Hang };

    explicit SoakRig(quint32 seed);
    bool start(QString *error);

    // Runs the event loop, sleeping between events, until the condition
    // holds or the time is up; returns the condition.
    static bool waitUntil(const std::function<bool()> &done, int timeoutMs);
    // Waits until nothing has arrived for this long (late replies drained).
    void waitQuiet(int quietMs);

    void startPolling();
    void stopPolling();
    End fullRead();
    End upload();
    // One page written, then the three-block chain the sequencer sends.
    End pageWrite(QByteArrayView descriptor);

    // The adapter pulled out and plugged back in (a new device, same port).
    void unplug();
    bool plugBackIn(QString *error);

    // Bytes of the blocks 0..15 outside the live area where the image and the
    // ECU differ.
    int imageBytesWrong() const;
    // Configuration bytes where the ECU differs from what was last written.
    int ecuBytesWrong() const;
    // The image's bytes of blocks 1..15 become what the ECU should hold.
    void noteWritten(int first, int last);

    QTemporaryDir ports;
    ecusim::EcuSimulator sim;
    ecusim::PtyPort pty;
    QtSerialPort serial;
    Link link;
    std::array<quint8, 0x1000> expectedEcu{};
    int polls = 0;
    int rejected = 0;
    int warnings = 0;
    qint64 lastReceiveMs = 0;

  private:
    QElapsedTimer m_clock;
};

// The ECU rewrites these addresses itself (live values).
inline constexpr int LiveAreaEnd = 0x047;
