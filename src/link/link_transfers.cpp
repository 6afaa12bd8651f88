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
    state.FullReadActive = true;
    state.FullReadIndex = 1;
    m_rejectedBlocks = 0;
    SendLine(blocks[0] + frames::Cr);
    state.FullReadTicks = 0;
    TimerDownload.start();
}

// Every data frame advances the read, whichever block it carries: each is
// stored at its own address. A corrupted one asks again for the block last
// requested, so a noisy line never leaves a hole in the image.
void Link::continueFullRead(bool dataAccepted) {
    if (!dataAccepted) {
        if (++m_rejectedBlocks > MaxRejectedBlocks) {
            state.FullReadActive = false;
            TimerDownload.stop();
            Q_EMIT fullReadTimedOut();
            return;
        }
        SendLine(blocks[static_cast<std::size_t>(state.FullReadIndex - 1)] + frames::Cr);
        state.FullReadTicks = 0;
        return;
    }
    m_rejectedBlocks = 0;
    if (state.FullReadIndex != m_readEnd) {
        SendLine(blocks[static_cast<std::size_t>(state.FullReadIndex)] + frames::Cr);
        state.FullReadIndex += 1;
        Q_EMIT fullReadProgress(state.FullReadIndex);
        state.FullReadTicks = 0;
        return;
    }
    finishFullRead();
}

void Link::finishFullRead() {
    TimerDownload.stop();
    state.FullReadIndex = 0;
    state.FullReadActive = false;
    Q_EMIT fullReadCompleted();
    if (state.MonitorResume) {
        state.MonitorResume = false;
        Q_EMIT monitorTimerWanted();
    }
    if (!state.DataLoaded) {
        state.DataLoaded = true;
        Q_EMIT firstDataLoaded();
    }
}

void Link::TimerDownload_Timer() {
    if (++state.FullReadTicks < 3)
        return;
    TimerDownload.stop();
    state.FullReadActive = false;
    Q_EMIT fullReadTimedOut();
}

void Link::StartUpload(int firstIndex, int endIndex) {
    m_uploadEnd = qBound(firstIndex, endIndex, int(blocks.size()));
    Q_EMIT uploadStarted();
    WriteBlock(blocks[1]);
    state.UploadIndex = firstIndex;
    state.UploadStep = 2;
    state.UploadTicks = 0;
    UPLoadTimer.start();
}

void Link::AbandonUpload() {
    state.UploadIndex = 0;
    state.UploadStep = 0;
    UPLoadTimer.stop();
}

void Link::UPLoadTimer_Timer() {
    if (++state.UploadTicks < 3)
        return;
    UPLoadTimer.stop();
    state.UploadStep = 0;
    Q_EMIT uploadTimedOut();
}

// One write per reply. The states are tested in the order 1, 2, 4, 3, 5, 7, 6
// and every state moves only to one already tested, so a chain advances by
// exactly one block each time.
void Link::runSequencer() {
    int &step = state.UploadStep;
    if (step == 1) {
        WriteBlock(frames::WriteA41Block);
        step = 0;
    }
    if (step == 2) {
        if (state.UploadIndex >= m_uploadEnd) {
            step = 0;
            UPLoadTimer.stop();
            Q_EMIT uploadCompleted();
            if (state.MonitorResume) {
                state.MonitorResume = false;
                Q_EMIT monitorTimerWanted();
            }
        } else {
            WriteBlock(blocks[static_cast<std::size_t>(state.UploadIndex)]);
            state.UploadIndex += 1;
            Q_EMIT uploadProgress(state.UploadIndex);
            state.UploadTicks = 0;
        }
    }
    if (step == 4) {
        WriteBlock(frames::WriteBank1Trims);
        step = 0;
        Q_EMIT monitorTimerWanted();
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
        Q_EMIT monitorTimerWanted();
    }
    if (step == 6) {
        WriteBlock(frames::Write807);
        step = 7;
    }
}
