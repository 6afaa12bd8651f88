#include "ecu-sim/ecu_simulator.h"

#include "ecu-sim/default_config.h"
#include "ecu-sim/line_noise.h"

#include <QStringList>

namespace ecusim {

namespace {

constexpr qint64 NsPerMs = 1'000'000;

EcuMemory defaultMemory() {
    EcuMemory m;
    applyDefaultImage(m);
    return m;
}

const char *fuelName(FuelState s) {
    switch (s) {
    case FuelState::Petrol:
        return "petrol";
    case FuelState::WaitingForGas:
        return "waiting for gas";
    case FuelState::Gas:
        return "gas";
    }
    return "?";
}

} // namespace

EcuSimulator::EcuSimulator(quint32 seed, QObject *parent)
    : QObject(parent), memory_(defaultMemory()), engine_(memory_, seed),
      faults_(seed ^ 0x5EEDF00Du), staleRng_(seed ^ 0x57A1E5EDu) {
    connect(&line_, &SerialLine::output, this, [this](const QByteArray &bytes) {
        lastActivityNs_ = line_.nowNs();
        Q_EMIT transmit(bytes);
    });
    commandTimer_.setSingleShot(true);
    commandTimer_.setTimerType(Qt::PreciseTimer);
    connect(&commandTimer_, &QTimer::timeout, this, &EcuSimulator::processDue);
    engineTimer_.setInterval(EngineTickMs);
    connect(&engineTimer_, &QTimer::timeout, this, [this] { engine_.tick(EngineTickMs); });
    vanishTimer_.setSingleShot(true);
    connect(&vanishTimer_, &QTimer::timeout, this, &EcuSimulator::vanish);
    joinTimer_.setSingleShot(true);
    connect(&joinTimer_, &QTimer::timeout, this,
            [this] { line_.send(std::exchange(held_, {}), line_.nowNs()); });
}

void EcuSimulator::receive(const QByteArray &bytes) {
    if (vanished_)
        return;
    const qint64 now = line_.nowNs();
    if (!noticesOpens_ && line_.idle() &&
        (lastActivityNs_ < 0 || now - lastActivityNs_ >= StaleIdleMs * NsPerMs))
        newClient();
    lastActivityNs_ = now;
    for (const CommandSplitter::Frame &f : splitter_.feed(bytes, line_.nowNs())) {
        // The CR counts as a character on the line too.
        const qint64 ready = line_.inboundComplete(f.startNs, int(f.text.size()) + 1);
        pending_.push_back({ready, f.text});
    }
    stats_.skippedChars = splitter_.skipped();
    processDue();
}

void EcuSimulator::processDue() {
    while (!pending_.empty() && !vanished_) {
        const qint64 wait = pending_.front().readyNs - line_.nowNs();
        if (wait > 0) {
            commandTimer_.start(int((wait + NsPerMs - 1) / NsPerMs));
            return;
        }
        const Pending p = pending_.front();
        pending_.pop_front();
        execute(p.frame, p.readyNs);
    }
}

void EcuSimulator::reject(const QByteArray &frame, Rejection why) {
    switch (why) {
    case Rejection::None:
        return;
    case Rejection::BadChecksum:
        ++stats_.badChecksum;
        break;
    case Rejection::BadHex:
        ++stats_.badHex;
        break;
    case Rejection::BadRange:
        ++stats_.badRange;
        break;
    case Rejection::BadFormat:
        ++stats_.badFormat;
        break;
    case Rejection::UnknownCommand:
        ++stats_.unknownCommand;
        break;
    }
    log_.received(frame, QStringLiteral("ignored: %1").arg(QLatin1String(rejectionName(why))));
}

void EcuSimulator::execute(const QByteArray &frame, qint64 readyNs) {
    const ParsedCommand parsed = parseCommand(frame);
    if (parsed.rejection != Rejection::None) {
        reject(frame, parsed.rejection);
        return;
    }
    log_.received(frame);
    ++stats_.commands;
    const Command &cmd = parsed.command;
    QByteArray answer = acknowledgeFrame();
    switch (cmd.kind) {
    case CommandKind::Read:
        ++stats_.reads;
        answer = dataFrame(cmd.address, memory_.range(cmd.address, cmd.length));
        break;
    case CommandKind::Write:
        ++stats_.writes;
        if (faults_.fires(OverlapKind::NoWrite))
            log_.event(QStringLiteral("write acknowledged but not kept"));
        else
            memory_.store(cmd.address, cmd.data);
        break;
    case CommandKind::Function:
        ++stats_.functions;
        switch (FunctionCode(cmd.function)) {
        case FunctionCode::ClearAlarms:
            engine_.clearAlarms();
            break;
        case FunctionCode::SwitchToGas:
            engine_.requestGas();
            break;
        case FunctionCode::SwitchToPetrol:
            engine_.requestPetrol();
            break;
        case FunctionCode::Reset:
            engine_.restart();
            break;
        }
        engine_.publish();
        break;
    }
    if (cmd.kind != CommandKind::Read && faults_.fires(OverlapKind::DropAck)) {
        ++stats_.lostReplies;
        log_.sent(answer, QStringLiteral("lost: acknowledgement dropped"));
        return;
    }
    reply(answer, readyNs + replyDelayMs_ * NsPerMs);
}

void EcuSimulator::newClient() {
    const int count = faults_.staleReplies();
    if (count <= 0 || vanished_)
        return;
    log_.event(
        QStringLiteral("new client: %1 replies of an earlier program still in flight").arg(count));
    const auto range = [this](int address, int length) { return memory_.range(address, length); };
    qint64 at = line_.nowNs();
    for (int i = 0; i < count; ++i) {
        const QByteArray frame = staleReply(staleRng_, range);
        // One after the other, a few milliseconds apart, as the ECU answered the requests.
        at = qMax(at, line_.outboundFreeAt()) + qint64(staleRng_.bounded(20)) * NsPerMs;
        log_.sent(frame, QStringLiteral("in flight from an earlier program"));
        line_.send(frame, at);
        at = line_.outboundFreeAt();
    }
}

void EcuSimulator::reply(const QByteArray &frame, qint64 notBeforeNs) {
    if (faults_.fires(FaultKind::Spell))
        spellEndNs_ = line_.nowNs() + silentSpellMs(faults_.rng()) * NsPerMs;
    const bool spell = line_.nowNs() < spellEndNs_;
    if (spell || faults_.fires(FaultKind::Silent)) {
        ++stats_.lostReplies;
        log_.sent(frame,
                  spell ? QStringLiteral("lost: silent spell") : QStringLiteral("lost: silent"));
        return;
    }
    QStringList notes;
    QByteArray out = frame;
    if (faults_.fires(OverlapKind::Late)) {
        notBeforeNs += faults_.lateMs() * NsPerMs;
        notes << QStringLiteral("late by %1 ms").arg(faults_.lateMs());
    }
    const bool twice = faults_.fires(OverlapKind::Twice);
    if (twice)
        notes << QStringLiteral("sent twice");
    if (faults_.fires(FaultKind::Lowercase)) {
        out = lowercaseOneDigit(out, faults_.rng());
        notes << QStringLiteral("lowercase");
    }
    if (faults_.fires(FaultKind::BadChecksum)) {
        out = corruptChecksum(out, faults_.rng());
        notes << QStringLiteral("badsum");
    }
    if (faults_.fires(FaultKind::Garble)) {
        out = garbleOneChar(out, faults_.rng());
        notes << QStringLiteral("garbled");
    }
    QByteArray noise;
    if (faults_.fires(FaultKind::Noise)) {
        noise = noiseBytes(faults_.rng());
        notes << QStringLiteral("noise");
    }
    if (faults_.fires(FaultKind::Join)) {
        held_ += noise + out;
        ++stats_.replies;
        log_.sent(noise + out, QStringLiteral("held to join the next reply"));
        joinTimer_.start(JoinWaitMs);
        return;
    }
    const QByteArray joined = std::exchange(held_, {});
    if (!joined.isEmpty()) {
        joinTimer_.stop();
        notes << QStringLiteral("joined to the one before");
    }
    QList<QByteArray> pieces{out};
    if (faults_.fires(FaultKind::Split)) {
        pieces = splitReply(out, faults_.rng());
        notes << QStringLiteral("split in %1").arg(pieces.size());
    }
    const bool unplug = faults_.fires(FaultKind::Vanish);
    if (unplug) {
        pieces = {out.left(out.size() / 2)};
        notes << QStringLiteral("vanish");
    }
    ++stats_.replies;
    log_.sent(noise + out, notes.join(QStringLiteral(", ")));
    if (!joined.isEmpty()) // the held reply and this one leave as one piece
        pieces[0].prepend(joined + std::exchange(noise, {}));

    if (!noise.isEmpty())
        line_.send(noise, notBeforeNs);
    for (int i = 0; i < pieces.size(); ++i) {
        const bool last = i == pieces.size() - 1;
        const qint64 gapNs = i == 0 ? 0 : (20 + faults_.rng().bounded(21)) * NsPerMs;
        const qint64 start = i == 0 ? notBeforeNs : line_.outboundFreeAt() + gapNs;
        if (last && unplug)
            line_.send(pieces.at(i), start, [this] { vanish(); });
        else
            line_.send(pieces.at(i), start);
    }
    if (twice && !unplug)
        line_.send(out, line_.outboundFreeAt());
}

void EcuSimulator::startEngine() {
    engineTimer_.start();
}

void EcuSimulator::stopEngine() {
    engineTimer_.stop();
}

void EcuSimulator::advanceEngine(int ms) {
    for (int t = 0; t < ms; t += EngineTickMs)
        engine_.tick(EngineTickMs);
}

bool EcuSimulator::loadCapture(const QByteArray &text, QString *error) {
    if (!memory_.loadCapture(text, error))
        return false;
    engine_.publish();
    return true;
}

void EcuSimulator::vanish() {
    if (vanished_)
        return;
    vanished_ = true;
    vanishTimer_.stop();
    commandTimer_.stop();
    pending_.clear();
    splitter_.clear();
    line_.clear();
    joinTimer_.stop();
    held_.clear();
    spellEndNs_ = 0;
    log_.event(QStringLiteral("adapter unplugged"));
    Q_EMIT unplugged();
}

void EcuSimulator::vanishAfter(int ms) {
    vanishTimer_.start(qMax(0, ms));
}

void EcuSimulator::replug() {
    vanished_ = false;
    log_.event(QStringLiteral("adapter plugged in"));
}

QString EcuSimulator::status() const {
    const SimStats &s = stats_;
    return QStringLiteral("%1, %2 rpm, coolant %3 C, gas %4 bar, alarms %5; faults: %6; "
                          "commands %7 (R %8, W %9, F %10), ignored %11, skipped chars %12, "
                          "replies %13, lost %14%15")
        .arg(QLatin1String(fuelName(engine_.fuelState())))
        .arg(qRound(engine_.rpm()))
        .arg(qRound(engine_.waterC()))
        .arg(engine_.pressureBar(), 0, 'f', 2)
        .arg(memory_.at(0x003))
        .arg(faults_.describe())
        .arg(s.commands)
        .arg(s.reads)
        .arg(s.writes)
        .arg(s.functions)
        .arg(s.ignored())
        .arg(s.skippedChars)
        .arg(s.replies)
        .arg(s.lostReplies)
        .arg(vanished_ ? QStringLiteral(", unplugged") : QString());
}

} // namespace ecusim
