#pragma once

#include <QByteArray>

// Shared link state, one instance owned by the Link. Names are those every
// screen uses when it talks about the line.
struct LinkState {
    int PortNumber = 1;
    bool PortIsOpen = false;
    bool LinkBusy = false;       // a reply is being received or awaited
    QByteArray PendingLine;      // the one line held back while busy ("" = none)
    int PendingTicks = 0;        // ControlTimer3 ticks since it was held back
    int NoAnswerTicks = 0;       // monitor-timer ticks since the last receive event
    bool PollingOn = false;      // after each processed reply, send PollFrame again
    QByteArray PollFrame;        // read frame with CR used for live polling
    QByteArray RxBuffer;         // received text not yet consumed
    QByteArray FrameText;        // frame being assembled, without "@" and CR
    int InFrame = 0;             // 1 between "@" and CR
    bool FullReadActive = false; // a whole-memory read is running
    int FullReadIndex = 0;       // next BlockTable entry to request
    int FullReadTicks = 0;       // download-timer ticks since the last request
    int UploadStep = 0;          // chained-write sequencer state, 0 = at rest
    int UploadIndex = 0;         // next BlockTable entry to write in an upload
    int UploadTicks = 0;         // upload-timer ticks since the last block written
    bool MonitorResume = false;  // re-enable the monitor timer when a transfer ends
    bool DataLoaded = false;     // the configuration was read once or loaded from a file
};
