// Whole-memory reads and uploads, and the chained-write sequencer.
#include "link/frames.h"
#include "link/link.h"

namespace {
// Corrupted answers in a row to one block request before the read gives up.
constexpr int MaxRejectedBlocks = 3;
} // namespace

void Link::StartFullRead(int endIndex) {
    m_readEnd = qBound(1, endIndex, int(blocks.size()));
    Q_EMIT fullReadStarted();
    m_state.FullReadActive = true;
    m_state.FullReadIndex = 1;
    m_rejectedBlocks = 0;
    SendLine(blocks[0] + frames::Cr);
    m_state.FullReadTicks = 0;
    TimerDownload.start();
}

// Every data frame advances the read, whichever block it carries: each is
// stored at its own address. A corrupted one asks again for the block last
// requested, so a noisy line never leaves a hole in the image.
void Link::continueFullRead(bool dataAccepted, int, int) {
    if (!dataAccepted) {
        if (++m_rejectedBlocks > MaxRejectedBlocks) {
            m_state.FullReadActive = false;
            TimerDownload.stop();
            Q_EMIT fullReadTimedOut();
            return;
        }
        SendLine(blocks[static_cast<std::size_t>(m_state.FullReadIndex - 1)] + frames::Cr);
        m_state.FullReadTicks = 0;
        return;
    }
    m_rejectedBlocks = 0;
    if (m_state.FullReadIndex != m_readEnd) {
        SendLine(blocks[static_cast<std::size_t>(m_state.FullReadIndex)] + frames::Cr);
        m_state.FullReadIndex += 1;
        Q_EMIT fullReadProgress(m_state.FullReadIndex);
        m_state.FullReadTicks = 0;
        return;
    }
    finishFullRead();
}

void Link::finishFullRead() {
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

void Link::TimerDownload_Timer() {
    if (++m_state.FullReadTicks < 3)
        return;
    TimerDownload.stop();
    m_state.FullReadActive = false;
    Q_EMIT fullReadTimedOut();
}

void Link::StartUpload(int firstIndex, int endIndex) {
    m_uploadEnd = qBound(firstIndex, endIndex, int(blocks.size()));
    Q_EMIT uploadStarted();
    WriteBlock(blocks[1]);
    m_state.UploadIndex = firstIndex;
    m_state.UploadStep = 2;
    m_state.UploadTicks = 0;
    UPLoadTimer.start();
}

void Link::AbandonUpload() {
    m_state.UploadIndex = 0;
    m_state.UploadStep = 0;
    UPLoadTimer.stop();
}

void Link::UPLoadTimer_Timer() {
    if (++m_state.UploadTicks < 3)
        return;
    UPLoadTimer.stop();
    m_state.UploadStep = 0;
    Q_EMIT uploadTimedOut();
}

// One write per reply. The states are tested in the order 1, 2, 4, 3, 5, 7, 6
// and every state moves only to one already tested, so a chain advances by
// exactly one block each time.
void Link::runSequencer() {
    int &step = m_state.UploadStep;
    if (step == 1) {
        WriteBlock(frames::WriteA41Block);
        step = 0;
    }
    if (step == 2) {
        if (m_state.UploadIndex >= m_uploadEnd) {
            step = 0;
            UPLoadTimer.stop();
            Q_EMIT uploadCompleted();
            poll.resumeAfterTransfer();
        } else {
            WriteBlock(blocks[static_cast<std::size_t>(m_state.UploadIndex)]);
            m_state.UploadIndex += 1;
            Q_EMIT uploadProgress(m_state.UploadIndex);
            m_state.UploadTicks = 0;
        }
    }
    if (step == 4) {
        WriteBlock(frames::WriteBank1Trims);
        step = 0;
        m_chainTailAwaited = true;
        poll.resumeAfterChain();
    }
    if (step == 3) {
        WriteBlock(frames::WriteA44);
        step = 4;
    }
    if (step == 5) {
        WriteBlock(frames::WriteBank2Trims);
        step = 3;
    }
    if (step == 7) {
        WriteBlock(frames::WriteA41);
        step = 0;
        m_chainTailAwaited = true;
        poll.resumeAfterChain();
    }
    if (step == 6) {
        WriteBlock(frames::Write807);
        step = 7;
    }
}
