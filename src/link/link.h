#pragma once

#include "ecu/memory_image.h"
#include "link/block_table.h"
#include "link/frames.h"
#include "link/link_state.h"
#include "link/live_poll.h"
#include "link/message_table.h"
#include "link/serial_port.h"

#include <QObject>
#include <QTimer>
#include <optional>

// The dialogue with the ECU: the port, sending in order with a hold-back
// queue, cutting received text into frames, decoding data frames into the
// image, whole-memory reads and uploads, the chained-write sequencer and the
// live poll. It never touches a screen: it says what happened through
// signals, which the shell wires (direct connections, so they run in order).
//
// No line is lost while the port is open: a line that cannot go out at once
// waits behind those already waiting; only a live poll replaces a waiting
// live poll. Every answer counts only for its own request: a whole-memory
// read moves on only on the data frame of the block it asked for, and the
// chained writes and uploads move on only on an acknowledgement (a frame
// whose letter is neither "R" nor "W") while a write is awaiting one. A
// request left unanswered is sent again a bounded number of times.
class Link : public QObject {
    Q_OBJECT
  public:
    explicit Link(SerialPort *port, QObject *parent = nullptr);

  private:
    LinkState m_state;

  public:
    // Read-only for everyone but the link.
    const LinkState &state = m_state;
    LivePoll poll{*this};
    MemoryImage image;
    MessageTable messages;
    BlockTable blocks;

    // Back to the start-up state: counters, hold-back, buffers, tables,
    // timers, PortNumber 1 and the default messages.
    void ResetLinkState();

    void setPortNumber(int portNumber) { m_state.PortNumber = portNumber; }
    // The configuration counts as known (a memory file was loaded) or not
    // (the data-loading form asks for a fresh read).
    void setDataLoaded(bool loaded) { m_state.DataLoaded = loaded; }

    // Opens port PortNumber with its input emptied: nothing an earlier
    // program left on the line is taken for an answer.
    bool OpenPort();
    void ClosePort();
    // True when port portNumber can be opened; opens and closes it at once.
    // The link's own port must be closed.
    bool TesteCom(int portNumber);
    void SendLine(const QByteArray &line);
    // SendLine for a caller that reports a failing send itself: the link
    // handles a lost adapter (closes, stops transfers) without its own
    // status text, message or connection form.
    enum class SendError { None, Failed, DeviceGone };
    SendError trySendLine(const QByteArray &line);
    void WriteBlock(QByteArrayView descriptor);
    // Reads BlockTable entries 0..endIndex-1, one per reply. The emission
    // screen reads on to the end of its schedule (ScheduleBlockEnd).
    void StartFullRead(int endIndex = BlockCount);
    // A whole-memory upload: writes BlockTable entry 1 now, then the entries
    // firstIndex..endIndex-1 one per acknowledgement. No block reaches past
    // lastAddress: one that would is written shortened to end there.
    void StartUpload(int firstIndex, int endIndex = BlockCount,
                     int lastAddress = MemoryImage::LastWireAddress);
    // Where the running (or last) read and upload stop: the last value their
    // progress signals carry, so the progress bars' maximum.
    int readEnd() const { return m_readEnd; }
    int uploadEnd() const { return m_uploadEnd; }
    // Starts a chain of writes at its first step: SwitchOverBlock follows the
    // caller's own write, just handed to SendLine; ExtraTime, Bank2Trims and
    // SwitchOverDelay write their first block now.
    void StartSequence(ChainStep first);
    bool chainRunning() const {
        return m_state.UploadStep != ChainStep::Rest || m_chainTailAwaited;
    }
    // A whole-memory upload is writing its blocks.
    bool uploadRunning() const { return m_state.UploadStep == ChainStep::WholeUpload; }
    // A write, a chain or an upload still awaits the ECU's acknowledgement.
    bool writeInFlight() const { return !m_loneWrite.isEmpty() || chainRunning(); }

    // The user closed the transfer forms.
    void AbandonFullRead();
    void AbandonUpload();

    // Blocks of the running (or last) upload the ECU acknowledged, and how
    // many it has in all (15 for a whole memory file).
    int uploadBlocksWritten() const { return m_uploadAcked; }
    int uploadBlockTotal() const { return m_uploadTotal; }
    // What the ECU holds after an upload that stopped part-way, and where
    // the restore point made before it is (when one was).
    QString uploadStoppedText(const QString &restorePoint = {}) const;

    // The warning for a write the ECU left unacknowledged after its
    // re-sends (chainFailed, writeFailed): what was not written, and the port.
    QString unacknowledgedWriteText() const;
    // Whether that write was the switch-over delay or mode, which only the
    // calibration writes (and reports itself, with the values to put back).
    bool unacknowledgedSwitchOver() const {
        return m_failedWrite.startsWith(frames::Write807) ||
               m_failedWrite.startsWith(frames::WriteA41);
    }

    // "No communication on COM" + port number.
    QString noCommunicationText() const;
    // The warning for an adapter unplugged while the port was open.
    static QString adapterGoneText();

    // The receive chain, in calling order; public for the tests.
    void Traitement(const QByteArray &chaine);
    void Analyse(QByteArray TrameOK);
    bool Ecriture(const QByteArray &Trame);
    // The address and length of a whole, intact data frame: upper-case hex,
    // exactly the announced bytes, inside the wire range, checksum right.
    static std::optional<BlockRange> dataFrameRange(const QByteArray &Trame);

    QTimer ControlTimer3;
    QTimer TimerDownload;
    QTimer UPLoadTimer;
    // Acknowledgement wait of the chained writes (200 ms ticks).
    QTimer ChainTimer;
    // ... and of a write outside a chain or upload (200 ms ticks).
    QTimer WriteTimer;

  public Q_SLOTS:
    void onReceive();
    void ControlTimer3_Timer();
    void TimerDownload_Timer();
    void UPLoadTimer_Timer();
    void ChainTimer_Timer();
    void WriteTimer_Timer();

  Q_SIGNALS:
    void portOpened();                    // a port opened: the ECU behind it may be another one
    void statusText(const QString &text); // BarreEtat
    void frameArrived(const QByteArray &frame); // before anything else (map acquisition)
    void frameProcessed();                      // the activity light turns
    void dataDecoded(int address, int count);   // the image changed: refresh the screens
    void frameRejected();                       // a malformed data frame was ignored
    void connectionWanted();                    // show the connection form
    void warning(const QString &text);          // a message box with an exclamation icon
    void fullReadStarted();
    void fullReadProgress(int value);
    void fullReadCompleted(); // every block arrived
    void firstDataLoaded();   // ... and it was the first time
    void fullReadTimedOut();
    void fullReadStopped();   // the adapter vanished during a read
    void fullReadAbandoned(); // the fitter closed its progress form
    void uploadStarted();
    void uploadProgress(int value);
    void uploadCompleted();
    void uploadTimedOut();
    void uploadStopped(); // the port closed or the adapter vanished during an upload
    // The last write of a chain was acknowledged by the ECU.
    void chainAcknowledged();
    // A write of a chain stayed unacknowledged after its re-sends; the
    // chain stopped there.
    void chainFailed();
    // A write outside a chain or upload stayed unacknowledged after its
    // re-send.
    void writeFailed();
    // ... or the ECU acknowledged it.
    void writeAcknowledged();

  private:
    void writeNow(const QByteArray &line);
    void deviceLost();
    void stopTransfers();
    void continueFullRead(bool dataAccepted, int address, int count, qint64 readNumber);
    // Asks for BlockTable entry index; again marks a repeated request for
    // the same block, whose earlier requests still count.
    void requestBlock(int index, bool again = false);
    void finishFullRead();
    void acknowledged();
    void runSequencer();
    void sendChainWrite(QByteArrayView descriptor, ChainStep next, bool resumesPoll);
    void writeUploadBlock(int index);
    int m_uploadLast = MemoryImage::LastWireAddress; // the upload writes no byte past it
    bool writeStillWaiting() const;
    enum class AckWait { Waiting, Resend, GiveUp };
    AckWait ackWaitTick(int &ticks, int &resends, int maxResends, int ticksBeforeResend);
    void noteReadSent(const QByteArray &line);
    // The number of the oldest read in flight for range, now answered; 0
    // when none was.
    qint64 claimReadAnswered(const BlockRange &range);
    struct ReadInFlight {
        BlockRange range;
        qint64 number = 0; // lines written on this opening of the port, this one included
    };
    static constexpr qsizetype MaxReadsInFlight = 64;
    QList<ReadInFlight> m_readsInFlight;
    qint64 m_linesWritten = 0;
    qint64 m_blockAskedAfter = 0;  // the read's block counts only from a later line on
    qint64 m_readStartedAfter = 0; // the running read's requests come after this line
    void forgetReadRequests();
    void resumePoll();
    void stopWriteWatch();

    SerialPort *m_port;
    bool m_quietErrors = false;
    SendError m_sendError = SendError::None;
    int m_rejectedBlocks = 0;
    int m_readResends = 0;        // re-requests of the block asked for, after a silence
    int m_readEnd = BlockCount;   // BlockTable entry that ends the running read
    int m_uploadEnd = BlockCount; // ... and the running upload
    int m_uploadAcked = 0;
    int m_uploadTotal = 0;
    int m_writeResends = 0;            // re-sends of the write awaiting its acknowledgement
    int m_chainTicks = 0;              // ChainTimer ticks since the chain's last write
    bool m_chainTailAwaited = false;   // the chain's last write awaits its acknowledgement
    QByteArray m_lastSent;             // the last line written, without its CRs
    QByteArray m_lastWriteHanded;      // the last write or function given to SendLine
    QByteArray m_chainWrite;           // the chain's or upload's write awaiting its acknowledgement
    QByteArray m_loneWrite;            // a write outside a chain awaiting its acknowledgement
    QByteArray m_failedWrite;          // the last write left unacknowledged
    bool m_failedWriteInChain = false; // writes of its chain were still to follow it
    int m_loneTicks = 0;
    int m_loneResends = 0;
};
