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
    // The poll watchdog's send reports no lost adapter by itself; the
    // monitor screen warns for it, and so counts it here.
    connect(&link.poll, &LivePoll::pollResent, this, [this](int error) {
        if (Link::SendError(error) == Link::SendError::DeviceGone)
            ++warnings;
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
    link.setPortNumber(1);
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
    link.poll.start();
    link.poll.clearSilence();
    link.SendLine(link.poll.frame());
    link.poll.startWatchdog();
}

void SoakRig::stopPolling() {
    link.poll.stopWatchdog();
    link.poll.stop();
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
    link.StartSequence(ChainStep::Bank2Trims);
    // A chain left unacknowledged fails or stalls: the fitter sees a message
    // and presses the button again.
    bool failed = false;
    const auto c = connect(&link, &Link::chainFailed, this, [&failed] { failed = true; });
    const bool ended = waitUntil([&] { return failed || !link.chainRunning(); }, 3000);
    disconnect(c);
    if (!ended || failed) {
        link.AbandonUpload(); // the sequencer back at rest
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
