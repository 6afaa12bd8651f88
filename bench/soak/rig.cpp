#include "rig.h"

#include "event_wait.h"

SoakRig::SoakRig(quint32 seed) : sim(seed), serial(PortDirectory(ports.path())), link(&serial) {
    m_clock.start();
    connect(&link, &Link::dataDecoded, this, [this](int address, int) {
        if (address == 0)
            ++polls;
    });
    connect(&link, &Link::frameRejected, this, [this] { ++rejected; });
    connect(&link, &Link::warning, this, [this] { ++warnings; });
    connect(&serial, &SerialPort::readyRead, this, [this] { lastReceiveMs = m_clock.elapsed(); });
    // The monitor's watchdog: three 200 ms ticks without a character and
    // the poll goes out again.
    m_watchdog.setInterval(200);
    connect(&m_watchdog, &QTimer::timeout, this, [this] {
        if (++link.state.NoAnswerTicks < 3)
            return;
        link.state.NoAnswerTicks = 0;
        link.state.PollingOn = true;
        link.SendLine(link.state.PollFrame);
    });
}

bool SoakRig::start(QString *error) {
    if (!pty.open(error) || !pty.publish(ports.path(), 1, error))
        return false;
    ecusim::connectSimulator(&sim, &pty);
    sim.setPacing(true);
    sim.engine().warmUp();
    sim.startEngine();
    for (int a = 0; a < 0x1000; ++a)
        expectedEcu[std::size_t(a)] = sim.memory().at(a);
    link.state.PortNumber = 1;
    if (!link.OpenPort()) {
        *error = QStringLiteral("cannot open the simulator's port");
        return false;
    }
    return true;
}

bool SoakRig::waitUntil(const std::function<bool()> &done, int timeoutMs) {
    return ::waitUntil(done, timeoutMs);
}

void SoakRig::waitQuiet(int quietMs) {
    waitUntil([&] { return m_clock.elapsed() - lastReceiveMs >= quietMs; }, 20000);
}

void SoakRig::startPolling() {
    link.state.PollingOn = true;
    link.state.NoAnswerTicks = 0;
    link.SendLine(link.state.PollFrame);
    m_watchdog.start();
}

void SoakRig::stopPolling() {
    m_watchdog.stop();
    link.state.PollingOn = false;
}

namespace {
// Runs one transfer until one of its ending signals; a hang is neither
// within a minute (a whole transfer takes about two seconds).
template <typename DoneSignal, typename FailSignal, typename StopSignal>
SoakRig::End transfer(Link &link, DoneSignal done, FailSignal fail, StopSignal stop,
                      const std::function<void()> &begin) {
    int outcome = 0;
    auto c1 = QObject::connect(&link, done, &link, [&] { outcome = 1; });
    auto c2 = QObject::connect(&link, fail, &link, [&] { outcome = 2; });
    auto c3 = QObject::connect(&link, stop, &link, [&] { outcome = 2; });
    begin();
    SoakRig::waitUntil([&] { return outcome != 0; }, 60000);
    QObject::disconnect(c1);
    QObject::disconnect(c2);
    QObject::disconnect(c3);
    return outcome == 1 ? SoakRig::End::Done
                        : (outcome == 2 ? SoakRig::End::Message : SoakRig::End::Hang);
}
} // namespace

SoakRig::End SoakRig::fullRead() {
    return transfer(link, &Link::fullReadCompleted, &Link::fullReadTimedOut, &Link::fullReadStopped,
                    [this] { link.StartFullRead(); });
}

SoakRig::End SoakRig::upload() {
    return transfer(link, &Link::uploadCompleted, &Link::uploadTimedOut, &Link::uploadStopped,
                    [this] { link.StartUpload(2); });
}

SoakRig::End SoakRig::pageWrite(QByteArrayView descriptor) {
    link.WriteBlock(descriptor);
    link.StartSequence(5);
    // The chain has no timer of its own: a lost reply stalls it, and the
    // fitter presses the button again.
    if (!waitUntil([&] { return link.state.UploadStep == 0; }, 3000)) {
        link.state.UploadStep = 0;
        return End::Message;
    }
    return End::Done;
}

void SoakRig::unplug() {
    sim.vanish(); // closes the pseudo-terminal: the tool's device is gone
}

bool SoakRig::plugBackIn(QString *error) {
    if (!pty.reopen(error))
        return false;
    sim.replug();
    return true;
}

int SoakRig::imageBytesWrong() const {
    int wrong = 0;
    for (int i = 0; i < BlockCount; ++i) {
        const BlockRange r = blockRange(link.blocks[std::size_t(i)]);
        for (int a = qMax(r.address, LiveAreaEnd); a < r.address + r.count; ++a)
            wrong += link.image.at(a) != sim.memory().at(a);
    }
    return wrong;
}

int SoakRig::ecuBytesWrong() const {
    int wrong = 0;
    for (int a = LiveAreaEnd; a < 0x1000; ++a)
        wrong += sim.memory().at(a) != expectedEcu[std::size_t(a)];
    return wrong;
}

void SoakRig::noteWritten(int first, int last) {
    for (int a = first; a <= last; ++a)
        expectedEcu[std::size_t(a)] = link.image.at(a);
}
