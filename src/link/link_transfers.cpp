// Whole-memory reads and uploads, and the chained-write sequencer.
#include "link/frames.h"
#include "link/link.h"

namespace {
// Corrupted answers in a row to one block request before the read gives up.
constexpr int MaxRejectedBlocks = 3;
// A request left unanswered for three 200 ms ticks is sent again this many
// times before the transfer gives up. Reads and writes alike are idempotent.
constexpr int MaxResends = 2;
constexpr int TicksBeforeResend = 3;
// A write outside a chain waits two ticks and is sent again once: the fitter
// hears of a silent ECU (wrong port, ECU off) 800 ms after the write.
constexpr int LoneWriteResends = 1;
constexpr int LoneTicksBeforeResend = 2;
} // namespace

void Link::StartFullRead(int endIndex) {
    m_readEnd = qBound(1, endIndex, int(blocks.size()));
    m_readStartedAfter = m_linesWritten;
    Q_EMIT fullReadStarted();
    m_state.FullReadActive = true;
    m_rejectedBlocks = 0;
    requestBlock(0);
    TimerDownload.start();
}

// The read waits for that block's answer to a request of its own: an answer
// to a request of the same block sent earlier (by an earlier read, still in
// flight) does not count.
void Link::requestBlock(int index, bool again) {
    m_state.FullReadIndex = index + 1;
    m_state.FullReadTicks = 0;
    if (!again) {
        m_readResends = 0;
        m_blockAskedAfter = m_linesWritten;
    }
    SendLine(blocks[static_cast<std::size_t>(index)] + frames::Cr);
}

// The read moves on only on the data frame of the block it asked for (same
// address and length); any other data frame was stored at its own address
// and changes nothing here. A corrupted one asks again for the block
// requested, so a noisy line never leaves a hole in the image.
void Link::continueFullRead(bool dataAccepted, int address, int count, qint64 readNumber) {
    const int asked = m_state.FullReadIndex - 1;
    if (!dataAccepted) {
        if (++m_rejectedBlocks > MaxRejectedBlocks) {
            forgetReadRequests();
            m_state.FullReadActive = false;
            TimerDownload.stop();
            Q_EMIT fullReadTimedOut();
            return;
        }
        requestBlock(asked, true);
        return;
    }
    const BlockRange range = blockRange(blocks[static_cast<std::size_t>(asked)]);
    if (address != range.address || count != range.count || readNumber <= m_blockAskedAfter)
        return;
    m_rejectedBlocks = 0;
    if (m_state.FullReadIndex != m_readEnd) {
        requestBlock(m_state.FullReadIndex);
        Q_EMIT fullReadProgress(m_state.FullReadIndex);
        return;
    }
    finishFullRead();
}

// A block asked for twice may still have an answer on the way once the read
// is over. By then the image may hold a file the fitter loaded: that late
// answer must not land in it, so the read's requests are forgotten.
void Link::forgetReadRequests() {
    m_readsInFlight.removeIf([this](const ReadInFlight &read) {
        if (read.number <= m_readStartedAfter)
            return false;
        for (int i = 0; i < m_readEnd; ++i) {
            const BlockRange block = blockRange(blocks[static_cast<std::size_t>(i)]);
            if (block.address == read.range.address && block.count == read.range.count)
                return true;
        }
        return false;
    });
}

void Link::finishFullRead() {
    forgetReadRequests();
    TimerDownload.stop();
    m_state.FullReadIndex = 0;
    m_state.FullReadActive = false;
    Q_EMIT fullReadCompleted();
    poll.resumeAfterTransfer();
    if (!m_state.DataLoaded) {
        m_state.DataLoaded = true;
        Q_EMIT firstDataLoaded();
    }
}

void Link::AbandonFullRead() {
    forgetReadRequests();
    m_state.FullReadActive = false;
    TimerDownload.stop();
    Q_EMIT fullReadAbandoned();
}

// Three silent ticks: the block is asked for again, a bounded number of times.
void Link::TimerDownload_Timer() {
    if (++m_state.FullReadTicks < TicksBeforeResend)
        return;
    if (m_state.FullReadActive && m_readResends < MaxResends) {
        ++m_readResends;
        requestBlock(m_state.FullReadIndex - 1, true);
        return;
    }
    forgetReadRequests();
    TimerDownload.stop();
    m_state.FullReadActive = false;
    Q_EMIT fullReadTimedOut();
}

void Link::StartUpload(int firstIndex, int endIndex, int lastAddress) {
    m_uploadEnd = qBound(firstIndex, endIndex, int(blocks.size()));
    m_uploadLast = lastAddress;
    m_uploadAcked = 0;
    m_uploadTotal = 1 + m_uploadEnd - firstIndex;
    m_writeResends = 0;
    Q_EMIT uploadStarted();
    writeUploadBlock(1);
    m_state.UploadIndex = firstIndex;
    m_state.UploadStep = ChainStep::WholeUpload;
    m_state.UploadTicks = 0;
    UPLoadTimer.start();
}

// BlockTable entry index, shortened to end at the upload's last address.
void Link::writeUploadBlock(int index) {
    const QByteArray &entry = blocks[static_cast<std::size_t>(index)];
    const BlockRange range = blockRange(entry);
    if (range.address + range.count - 1 > m_uploadLast && range.address <= m_uploadLast)
        WriteBlock(frames::readText(range.address, m_uploadLast + 1 - range.address));
    else
        WriteBlock(entry);
    stopWriteWatch(); // the upload watches its own writes
    m_chainWrite = m_lastWriteHanded;
}

// The fitter closed the upload's progress: the upload, and any chain of
// writes, rests.
void Link::AbandonUpload() {
    m_state.UploadIndex = 0;
    m_state.UploadStep = ChainStep::Rest;
    m_chainTailAwaited = false;
    UPLoadTimer.stop();
    ChainTimer.stop();
}

QString Link::uploadStoppedText(const QString &restorePoint) const {
    const QString wayBack = restorePoint.isEmpty()
                                ? QStringLiteral("write the file again or load its restore point")
                                : QStringLiteral("write the file again, or write the restore "
                                                 "point %1 to put back what it held")
                                      .arg(restorePoint);
    return QStringLiteral(" Upload stopped after %1 of %2 blocks: the ECU now holds part of "
                          "the new configuration and part of the old one; %3 ")
        .arg(m_uploadAcked)
        .arg(m_uploadTotal)
        .arg(wayBack);
}

// One 200 ms tick of a wait for an acknowledgement: ticksBeforeResend silent
// ticks send the write again (a write is idempotent), up to maxResends times, then the
// wait gives up. A write still waiting its turn on the line is not lost: its
// wait starts over.
Link::AckWait Link::ackWaitTick(int &ticks, int &resends, int maxResends, int ticksBeforeResend) {
    if (++ticks < ticksBeforeResend)
        return AckWait::Waiting;
    ticks = 0;
    if (writeStillWaiting())
        return AckWait::Waiting;
    if (resends >= maxResends)
        return AckWait::GiveUp;
    ++resends;
    m_state.WritesAwaited = 0;
    return AckWait::Resend;
}

// A lost acknowledgement sends the same block again; after the re-sends the
// upload gives up.
void Link::UPLoadTimer_Timer() {
    if (uploadRunning()) {
        switch (ackWaitTick(m_state.UploadTicks, m_writeResends,
                            m_chainWrite.isEmpty() ? 0 : MaxResends, TicksBeforeResend)) {
        case AckWait::Waiting:
            return;
        case AckWait::Resend:
            SendLine(m_chainWrite);
            return;
        case AckWait::GiveUp:
            break;
        }
    }
    UPLoadTimer.stop();
    m_state.UploadStep = ChainStep::Rest;
    Q_EMIT uploadTimedOut();
}

// The switch-over block follows the caller's own first write, just handed to
// SendLine, and goes out at its acknowledgement. The other chains have no
// write of the caller's: their first write goes out now (in order behind
// whatever waits), and each acknowledgement then sends the next.
void Link::StartSequence(ChainStep first) {
    stopWriteWatch(); // the chain watches its own writes, the caller's first one included
    m_state.UploadStep = first;
    m_chainTailAwaited = false;
    m_writeResends = 0;
    m_chainTicks = 0;
    m_chainWrite.clear();
    ChainTimer.start();
    if (first == ChainStep::SwitchOverBlock)
        m_chainWrite = m_lastWriteHanded;
    else
        runSequencer();
}

bool Link::writeStillWaiting() const {
    for (const QByteArray &line : m_state.PendingLines) {
        if (line.startsWith("@W") || line.startsWith("@F"))
            return true;
    }
    return false;
}

// A chain of writes: its write awaiting an acknowledgement goes out again,
// then the chain stops and says so.
void Link::ChainTimer_Timer() {
    if (!chainRunning() || uploadRunning()) {
        ChainTimer.stop();
        return;
    }
    switch (ackWaitTick(m_chainTicks, m_writeResends, m_state.PortIsOpen ? MaxResends : 0,
                        TicksBeforeResend)) {
    case AckWait::Waiting:
        return;
    case AckWait::Resend:
        if (m_chainWrite.isEmpty())
            runSequencer(); // nothing of the chain went out yet
        else
            SendLine(m_chainWrite);
        return;
    case AckWait::GiveUp:
        break;
    }
    m_failedWriteInChain = !m_chainTailAwaited; // writes were still to follow it
    m_failedWrite = m_chainWrite;
    ChainTimer.stop();
    m_state.UploadStep = ChainStep::Rest;
    m_chainTailAwaited = false;
    Q_EMIT chainFailed();
}

// A write outside a chain: sent again once, then said to be unacknowledged.
void Link::WriteTimer_Timer() {
    if (m_loneWrite.isEmpty() || !m_state.PortIsOpen) {
        stopWriteWatch();
        return;
    }
    switch (ackWaitTick(m_loneTicks, m_loneResends, LoneWriteResends, LoneTicksBeforeResend)) {
    case AckWait::Waiting:
        return;
    case AckWait::Resend:
        SendLine(m_loneWrite);
        return;
    case AckWait::GiveUp:
        break;
    }
    m_failedWrite = m_loneWrite;
    m_failedWriteInChain = false;
    stopWriteWatch();
    Q_EMIT writeFailed();
}

// An acknowledgement of the write awaiting one.
void Link::acknowledged() {
    if (!m_loneWrite.isEmpty() && m_state.WritesAwaited == 0 && !writeStillWaiting()) {
        stopWriteWatch();
        Q_EMIT writeAcknowledged();
    }
    m_writeResends = 0;
    m_chainTicks = 0;
    if (uploadRunning()) {
        m_uploadAcked += 1;
        m_state.UploadTicks = 0;
    }
    if (m_chainTailAwaited && m_state.UploadStep == ChainStep::Rest) {
        if (m_state.WritesAwaited > 0 || writeStillWaiting())
            return; // a write is still unacknowledged, or waits its turn on the line
        m_chainTailAwaited = false;
        ChainTimer.stop();
        Q_EMIT chainAcknowledged();
        return;
    }
    runSequencer();
}

// The chain's last write (next is Rest) ends the chain once the ECU
// acknowledged it; the trims and switch-over chains bring the poll back.
void Link::sendChainWrite(QByteArrayView descriptor, ChainStep next, bool resumesPoll) {
    WriteBlock(descriptor);
    m_chainWrite = m_lastWriteHanded;
    m_state.UploadStep = next;
    if (next == ChainStep::Rest)
        m_chainTailAwaited = true;
    if (resumesPoll)
        poll.resumeAfterChain();
}

// One write per acknowledgement: each step writes its block and names the
// step the next acknowledgement runs.
void Link::runSequencer() {
    switch (m_state.UploadStep) {
    case ChainStep::Rest:
        return;
    case ChainStep::SwitchOverBlock:
        sendChainWrite(frames::WriteA41Block, ChainStep::Rest, false);
        return;
    case ChainStep::WholeUpload:
        if (m_state.UploadIndex >= m_uploadEnd) {
            m_state.UploadStep = ChainStep::Rest;
            UPLoadTimer.stop();
            Q_EMIT uploadCompleted();
            poll.resumeAfterTransfer();
        } else {
            writeUploadBlock(m_state.UploadIndex);
            m_state.UploadIndex += 1;
            Q_EMIT uploadProgress(m_state.UploadIndex);
            m_state.UploadTicks = 0;
        }
        return;
    case ChainStep::ExtraTime:
        sendChainWrite(frames::WriteA44, ChainStep::Bank1Trims, false);
        return;
    case ChainStep::Bank1Trims:
        sendChainWrite(frames::WriteBank1Trims, ChainStep::Rest, true);
        return;
    case ChainStep::Bank2Trims:
        sendChainWrite(frames::WriteBank2Trims, ChainStep::ExtraTime, false);
        return;
    case ChainStep::SwitchOverDelay:
        sendChainWrite(frames::Write807, ChainStep::SwitchOverMode, false);
        return;
    case ChainStep::SwitchOverMode:
        sendChainWrite(frames::WriteA41, ChainStep::Rest, true);
        return;
    }
}
