// The receive chain: Traitement cuts one frame per receive event, Analyse
// acts on it, Ecriture stores a data frame in the image.
#include "link/frames.h"
#include "link/hex.h"
#include "link/link.h"

namespace {
// The line's input buffer. Text that grows past it without ever closing a
// frame is noise: keep only a frame that may still be arriving.
constexpr qsizetype MaxPending = 1024;
constexpr qsizetype LongestReply = 2 * 255 + 12;
} // namespace

void Link::onReceive() {
    m_state.LinkBusy = true;
    poll.clearSilence();
    Traitement(m_port->readAll());
}

void Link::Traitement(const QByteArray &chaine) {
    m_state.FrameText.clear();
    m_state.RxBuffer += chaine;
    if (m_state.RxBuffer.isEmpty()) {
        m_state.LinkBusy = false;
        Analyse(QByteArray());
        return;
    }
    // Every scan starts outside a frame: the buffer still holds every
    // character of an unfinished frame, so stray characters left over from
    // an earlier event can never be glued to the front of the next frame.
    m_state.InFrame = 0;
    const qsizetype n = m_state.RxBuffer.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = m_state.RxBuffer.at(i);
        if (c == '@') {
            m_state.InFrame = 1; // a second "@" inside a frame does not restart it
            continue;
        }
        if (m_state.InFrame != 0 && c == frames::Cr) {
            m_state.InFrame = 0;
            if (m_state.FrameText.size() <= 2) {
                // Too short to carry a command letter and checksum: dropped.
                m_state.FrameText.clear();
                continue;
            }
            m_state.RxBuffer.remove(0, i + 1);
            if (m_state.RxBuffer.isEmpty())
                m_state.LinkBusy = false;
            const QByteArray frame = m_state.FrameText;
            m_state.FrameText.clear();
            Analyse(frame);
            return;
        }
        if (m_state.InFrame == 1)
            m_state.FrameText += c;
    }
    if (m_state.RxBuffer.size() > MaxPending) {
        const qsizetype at = m_state.RxBuffer.lastIndexOf('@');
        if (at >= 0 && m_state.RxBuffer.size() - at <= LongestReply)
            m_state.RxBuffer.remove(0, at);
        else
            m_state.RxBuffer.clear();
        if (m_state.RxBuffer.isEmpty())
            m_state.LinkBusy = false;
    }
}

void Link::Analyse(QByteArray TrameOK) {
    Q_EMIT frameArrived(TrameOK);
    Q_EMIT statusText(messages[11] + QString::number(m_state.PortNumber));
    TrameOK.prepend('@');
    Q_EMIT frameProcessed();
    const char letter = TrameOK.size() > 1 ? TrameOK.at(1) : '\0';
    // While a chain of writes waits for the ECU's acknowledgement, an adapter
    // that echoes the line sends back the PC's own write frame first (or
    // instead); like a read's echo it carries nothing for the PC. Outside a
    // chain a "W" frame is data.
    const bool writeEcho = letter == 'W' && chainRunning() && TrameOK == m_lastSent;
    if (letter == 'R' || writeEcho) {
        // An echo of a command: nothing for the PC, the answer follows.
        m_state.LinkBusy = true;
        return;
    }
    if (letter == 'W') {
        // A data frame answers a read, never a write. One that answers no read
        // sent since the port was opened (left in flight by an earlier
        // program) is dropped whole: it may describe another moment, or
        // another ECU. An answer of ours is stored at its own address and
        // moves a whole-memory read on only when it carries the block asked for.
        const std::optional<BlockRange> range = dataFrameRange(TrameOK);
        const qint64 readNumber = range ? claimReadAnswered(*range) : 0;
        if (range && readNumber == 0)
            return;
        const bool accepted = Ecriture(TrameOK);
        if (m_state.FullReadActive)
            continueFullRead(accepted, range ? range->address : -1, range ? range->count : -1,
                             readNumber);
    } else if (letter != '\0') {
        // Any other letter acknowledges a write or a function. It counts only
        // while one is awaiting its acknowledgement: one left over from an
        // earlier program moves nothing on.
        if (m_state.FullReadActive && letter == 'A')
            m_state.FullReadTicks = 0; // the line is alive; the block's answer is queued behind
        else if (m_state.FullReadActive)
            continueFullRead(false, -1, -1, 0); // garbled beyond its letter: ask again
        if (m_state.WritesAwaited > 0) {
            m_state.WritesAwaited -= 1;
            acknowledged();
        }
    }
    resumePoll();
}

// A data frame reaches the image only whole and intact: upper-case hex from
// the address on, exactly the announced number of data bytes, inside the
// wire range, and a checksum that matches. Anything else pauses the poll and
// leaves the image alone.
bool Link::Ecriture(const QByteArray &Trame) {
    const std::optional<BlockRange> range = dataFrameRange(Trame);
    if (!range) {
        poll.stop();
        Q_EMIT frameRejected();
        return false;
    }
    const QByteArrayView data = QByteArrayView(Trame).sliced(7);
    for (int j = 0; j < range->count; ++j)
        image.set(range->address + j, static_cast<quint8>(hex::value(data.sliced(2 * j, 2))));
    Q_EMIT dataDecoded(range->address, range->count);
    return true;
}

std::optional<BlockRange> Link::dataFrameRange(const QByteArray &Trame) {
    if (Trame.size() < 7 || !hex::isUpperHex(QByteArrayView(Trame).sliced(2)))
        return std::nullopt;
    const int address = hex::value(QByteArrayView(Trame).sliced(2, 3));
    const int count = hex::value(QByteArrayView(Trame).sliced(5, 2));
    if (Trame.size() != 7 + 2 * count + 2 || address + count > MemoryImage::LastWireAddress + 1 ||
        !frames::checksumMatches(Trame))
        return std::nullopt;
    return BlockRange{address, count};
}

// Reads on the wire whose answers have not come yet, oldest first, each with
// its place among the lines written. The ECU answers in order, so an answer
// takes the oldest read of its range; a read whose answer never comes is
// forgotten once newer ones push it out.
void Link::noteReadSent(const QByteArray &line) {
    if (line.size() < 7 || !line.startsWith("@R") ||
        !hex::isUpperHex(QByteArrayView(line).sliced(2, 5)))
        return;
    if (m_readsInFlight.size() >= MaxReadsInFlight)
        m_readsInFlight.removeFirst();
    m_readsInFlight.append({blockRange(line), m_linesWritten});
}

qint64 Link::claimReadAnswered(const BlockRange &range) {
    for (qsizetype i = 0; i < m_readsInFlight.size(); ++i) {
        const ReadInFlight &read = m_readsInFlight.at(i);
        if (read.range.address == range.address && read.range.count == range.count) {
            const qint64 number = read.number;
            m_readsInFlight.removeAt(i);
            return number;
        }
    }
    return 0;
}

// After every processed reply: keep the live poll going. Lines waiting go
// out first, one per reply, ahead of the next poll.
void Link::resumePoll() {
    if (!poll.isOn())
        return;
    QByteArrayList &waiting = m_state.PendingLines;
    if (waiting.isEmpty() && !m_state.LinkBusy) {
        writeNow(poll.frame());
        return;
    }
    m_state.PendingTicks = 0;
    if (!waiting.isEmpty()) {
        // The waiting line keeps the extra CR the ECU has always been sent here.
        const QByteArray line = waiting.takeFirst() + frames::Cr;
        if (waiting.isEmpty())
            ControlTimer3.stop();
        writeNow(line);
    }
}
