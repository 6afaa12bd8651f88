#include "link/link.h"

#include "link/frames.h"

namespace {
const QString NotConnect = QStringLiteral(" Not Connect ");
const QString NonConnecter = QStringLiteral(" Non Connecter ");
const QString AdapterGone = QStringLiteral(" Adapter Serial not connect ");
// The device exists but this user may not open it: on Linux serial devices
// belong to the dialout group.
const QString NoPermission =
    QStringLiteral(" No permission to open the serial port: add your user to the dialout group "
                   "(sudo usermod -aG dialout $USER), then log in again ");
} // namespace

Link::Link(SerialPort *port, QObject *parent) : QObject(parent), m_port(port) {
    connect(m_port, &SerialPort::readyRead, this, &Link::onReceive);
    connect(m_port, &SerialPort::deviceGone, this, &Link::deviceLost);
    connect(&ControlTimer3, &QTimer::timeout, this, &Link::ControlTimer3_Timer);
    connect(&TimerDownload, &QTimer::timeout, this, &Link::TimerDownload_Timer);
    connect(&UPLoadTimer, &QTimer::timeout, this, &Link::UPLoadTimer_Timer);
    connect(&ChainTimer, &QTimer::timeout, this, &Link::ChainTimer_Timer);
    connect(&WriteTimer, &QTimer::timeout, this, &Link::WriteTimer_Timer);
    ResetLinkState();
}

void Link::ResetLinkState() {
    ClosePort();
    m_state = LinkState{};
    poll.reset();
    ControlTimer3.setInterval(100);
    TimerDownload.setInterval(200);
    UPLoadTimer.setInterval(200);
    ChainTimer.setInterval(200);
    WriteTimer.setInterval(200);
    ControlTimer3.stop();
    TimerDownload.stop();
    UPLoadTimer.stop();
    ChainTimer.stop();
    WriteTimer.stop();
    m_loneWrite.clear();
    blocks = makeBlockTable();
    messages.resetDefaults();
    m_rejectedBlocks = 0;
    m_readResends = 0;
    m_writeResends = 0;
    m_chainTailAwaited = false;
    m_lastSent.clear();
    m_lastWriteHanded.clear();
    m_chainWrite.clear();
}

bool Link::OpenPort() {
    ClosePort();
    switch (m_port->open(m_state.PortNumber)) {
    case SerialPort::OpenResult::Opened:
        // The port empties its input on opening; the link starts afresh too,
        // so nothing left from an earlier program counts as an answer.
        m_state.PortIsOpen = true;
        m_state.RxBuffer.clear();
        m_state.LinkBusy = false;
        m_state.WritesAwaited = 0;
        m_readsInFlight.clear();
        m_linesWritten = 0;
        m_blockAskedAfter = 0;
        Q_EMIT statusText(QStringLiteral(" Connection on COM ") +
                          QString::number(m_state.PortNumber));
        Q_EMIT portOpened();
        return true;
    case SerialPort::OpenResult::NotFound:
        Q_EMIT statusText(NotConnect);
        Q_EMIT warning(QStringLiteral(" Serial Port non-existent "));
        break;
    case SerialPort::OpenResult::InUse:
        Q_EMIT statusText(NotConnect);
        Q_EMIT warning(QStringLiteral(" Serial Port already in use "));
        break;
    case SerialPort::OpenResult::NoPermission:
        Q_EMIT statusText(NotConnect);
        Q_EMIT warning(NoPermission);
        break;
    case SerialPort::OpenResult::Failed:
        // Neither missing nor busy: the status says it; the fitter picks a port.
        Q_EMIT statusText(NotConnect);
        break;
    }
    Q_EMIT connectionWanted();
    return false;
}

// Lines still waiting cannot go out on a closed port (and must not go out on
// the next port opened): they are dropped, and the transfer or chain that
// owns them ends now, with its message.
void Link::ClosePort() {
    if (!m_state.PortIsOpen)
        return;
    m_port->close();
    m_state.PortIsOpen = false;
    // No reply can still arrive on a closed port.
    m_state.LinkBusy = false;
    m_state.RxBuffer.clear();
    m_state.PendingLines.clear();
    m_state.PendingTicks = 0;
    m_state.WritesAwaited = 0;
    ControlTimer3.stop();
    stopTransfers();
}

void Link::stopTransfers() {
    if (m_state.FullReadActive || TimerDownload.isActive()) {
        m_state.FullReadActive = false;
        TimerDownload.stop();
        Q_EMIT fullReadStopped();
    }
    if (UPLoadTimer.isActive()) {
        m_state.UploadStep = ChainStep::Rest;
        UPLoadTimer.stop();
        Q_EMIT uploadStopped();
    }
    if (chainRunning()) {
        m_state.UploadStep = ChainStep::Rest;
        m_chainTailAwaited = false;
        ChainTimer.stop();
        Q_EMIT chainFailed();
    }
    stopWriteWatch();
}

void Link::stopWriteWatch() {
    WriteTimer.stop();
    m_loneWrite.clear();
}

bool Link::TesteCom(int portNumber) {
    if (m_state.PortIsOpen)
        return false;
    const bool opened = m_port->open(portNumber) == SerialPort::OpenResult::Opened;
    m_port->close();
    return opened;
}

void Link::SendLine(const QByteArray &line) {
    if (!m_state.PortIsOpen) {
        Q_EMIT connectionWanted();
        return;
    }
    if (line.startsWith("@W") || line.startsWith("@F"))
        m_lastWriteHanded = line;
    QByteArrayList &waiting = m_state.PendingLines;
    if (waiting.isEmpty() && !m_state.LinkBusy) {
        writeNow(line);
        return;
    }
    // Lines wait in order; only a newer live poll replaces a waiting one.
    if (!waiting.isEmpty() && poll.isPollLine(line) && poll.isPollLine(waiting.last()))
        return;
    if (waiting.isEmpty())
        m_state.PendingTicks = 0;
    waiting.append(line);
    if (!ControlTimer3.isActive())
        ControlTimer3.start();
}

void Link::WriteBlock(QByteArrayView descriptor) {
    const QByteArray frame = frames::writeFrame(descriptor, image);
    Q_ASSERT_X(!frame.isEmpty(), "WriteBlock", "descriptor without address and length");
    if (frame.isEmpty())
        return;
    SendLine(frame);
    // A write outside a chain or upload is watched for its acknowledgement
    // too; a chain started right after takes it over.
    if (!chainRunning() && m_state.PortIsOpen) {
        m_loneWrite = m_lastWriteHanded;
        m_loneTicks = 0;
        m_loneResends = 0;
        WriteTimer.start();
    }
}

void Link::writeNow(const QByteArray &line) {
    if (!m_state.PortIsOpen)
        return;
    m_lastSent = line;
    while (m_lastSent.endsWith(frames::Cr))
        m_lastSent.chop(1);
    // Writes and functions are answered by an acknowledgement.
    if (m_lastSent.startsWith("@W") || m_lastSent.startsWith("@F"))
        m_state.WritesAwaited += 1;
    ++m_linesWritten;
    noteReadSent(m_lastSent);
    switch (m_port->write(line)) {
    case SerialPort::WriteResult::Written:
        return;
    case SerialPort::WriteResult::DeviceGone:
        m_sendError = SendError::DeviceGone;
        deviceLost();
        return;
    case SerialPort::WriteResult::Failed:
        m_sendError = SendError::Failed;
        if (!m_quietErrors)
            Q_EMIT statusText(NonConnecter);
        return;
    }
}

// The adapter was unplugged: close, say so once, stop the transfers that can
// no longer finish, and let the fitter choose a port again.
void Link::deviceLost() {
    if (!m_state.PortIsOpen)
        return;
    ClosePort();
    if (m_quietErrors)
        return;
    Q_EMIT statusText(NonConnecter);
    Q_EMIT warning(AdapterGone);
    Q_EMIT connectionWanted();
}

Link::SendError Link::trySendLine(const QByteArray &line) {
    m_quietErrors = true;
    m_sendError = SendError::None;
    SendLine(line);
    m_quietErrors = false;
    return std::exchange(m_sendError, SendError::None);
}

// The first waiting line goes out once the link is free, or after two ticks
// whether answered or not; the next one then gets its own wait.
void Link::ControlTimer3_Timer() {
    if (++m_state.PendingTicks >= 2) {
        m_state.PendingTicks = 0;
        m_state.LinkBusy = false;
    }
    if (!m_state.PortIsOpen || m_state.LinkBusy)
        return;
    if (m_state.PendingLines.isEmpty()) {
        ControlTimer3.stop();
        return;
    }
    const QByteArray line = m_state.PendingLines.takeFirst();
    m_state.PendingTicks = 0;
    if (m_state.PendingLines.isEmpty())
        ControlTimer3.stop();
    writeNow(line);
}

QString Link::adapterGoneText() {
    return AdapterGone;
}

QString Link::unacknowledgedWriteText() const {
    QString what = QStringLiteral("a write");
    if (m_failedWrite.startsWith("@W") && m_failedWrite.size() >= 7) {
        const BlockRange range = blockRange(m_failedWrite);
        const auto address = [](int a) {
            return QString::number(a, 16).toUpper().rightJustified(3, QLatin1Char('0'));
        };
        what = QStringLiteral("the write of 0x%1..0x%2")
                   .arg(address(range.address), address(range.address + range.count - 1));
    }
    // A chain stops at its unacknowledged write: the writes after it were never sent.
    const QString rest =
        m_failedWriteInChain ? QStringLiteral(", nor the writes after it") : QString();
    return QStringLiteral(" No acknowledgement from the ECU on COM%1: %2 was not written%3; check "
                          "the port and that the ECU is on ")
        .arg(m_state.PortNumber)
        .arg(what, rest);
}

QString Link::noCommunicationText() const {
    return messages[7] + QString::number(m_state.PortNumber);
}
