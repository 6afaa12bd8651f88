#pragma once

#include <QByteArray>
#include <QByteArrayList>

// What the chained-write sequencer writes at the ECU's next acknowledgement.
// A chain runs through the steps that follow its first one: the switch-over
// block alone; the extra time, then bank 1's trims; bank 2's trims, then the
// extra time and bank 1's; the switch-over delay, then the mode. A whole
// upload writes one BlockTable entry per acknowledgement instead.
enum class ChainStep {
    Rest,            // first: a value-initialised step is at rest
    SwitchOverBlock, // "@WA4106": 0xA41..0xA46 (switch-over way and speed, extra time,
                     // empty tank, cut-off), after the page's own write; then rest
    WholeUpload,     // the next BlockTable entry of an upload, until its last
    ExtraTime,       // "@WA4401": the extra injection time, 0xA44; then bank 1's trims
    Bank1Trims,      // "@W80102": bank 1's load and idle trims; then rest, the poll back
    Bank2Trims,      // "@W83902": bank 2's load and idle trims; then the extra time
    SwitchOverDelay, // "@W80701": the switch-over delay, 0x807; then the mode
    SwitchOverMode,  // "@WA4101": the switch-over mode, 0xA41; then rest, the poll back
};

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
    ChainStep UploadStep{};      // chained-write sequencer's next write, Rest at rest
    int UploadIndex = 0;         // next BlockTable entry to write in an upload
    int UploadTicks = 0;         // upload-timer ticks since the last block written
    int WritesAwaited = 0;       // writes and functions on the wire not yet acknowledged
    bool DataLoaded = false;     // the configuration was read once or loaded from a file
};
