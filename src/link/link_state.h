#pragma once

#include <QByteArray>
#include <QByteArrayList>

// Shared link state, one instance owned by the Link, which alone changes it;
// everyone else reads it. Names are those every screen uses when it talks
// about the line. The live poll's own state lives in LivePoll.
struct LinkState {
    int PortNumber = 1;
    bool PortIsOpen = false;
    bool LinkBusy = false;       // a reply is being received or awaited
    QByteArrayList PendingLines; // lines waiting, in order, while the link is busy
    int PendingTicks = 0;        // ControlTimer3 ticks the first waiting line has waited
    QByteArray RxBuffer;         // received text not yet consumed
    QByteArray FrameText;        // frame being assembled, without "@" and CR
    int InFrame = 0;             // 1 between "@" and CR
    bool FullReadActive = false; // a whole-memory read is running
    int FullReadIndex = 0;       // next BlockTable entry to request
    int FullReadTicks = 0;       // download-timer ticks since the last request
    int UploadStep = 0;          // chained-write sequencer state, 0 = at rest
    int UploadIndex = 0;         // next BlockTable entry to write in an upload
    int UploadTicks = 0;         // upload-timer ticks since the last block written
    int WritesAwaited = 0;       // writes and functions on the wire not yet acknowledged
    bool DataLoaded = false;     // the configuration was read once or loaded from a file
};
