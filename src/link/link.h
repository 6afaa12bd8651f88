#pragma once

#include "link/block_table.h"
#include "link/link_state.h"
#include "link/memory_image.h"
#include "link/message_table.h"
#include "link/serial_port.h"

#include <QObject>
#include <QTimer>

// The dialogue with the ECU: the port, sending with a one-line hold-back,
// cutting received text into frames, decoding data frames into the image,
// whole-memory reads and uploads, the chained-write sequencer and the live
// poll. It never touches a screen: it says what happened through signals,
// which the shell wires (direct connections, so they run in order).
class Link : public QObject {
    Q_OBJECT
  public:
    explicit Link(SerialPort *port, QObject *parent = nullptr);

    LinkState state;
    MemoryImage image;
    MessageTable messages;
    BlockTable blocks;

    // Back to the start-up state: counters, hold-back, buffers, tables,
    // timers, PortNumber 1 and the default messages.
    void ResetLinkState();

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
    // firstIndex..endIndex-1 one per reply.
    void StartUpload(int firstIndex, int endIndex = BlockCount);
    // Starts the chained-write sequencer at 1, 3, 5 or 6 after the caller's
    // own first write.
    void StartSequence(int startValue) { state.UploadStep = startValue; }

    // The user closed the transfer forms.
    void AbandonFullRead() {
        state.FullReadActive = false;
        TimerDownload.stop();
    }
    void AbandonUpload();

    // "No communication on COM" + port number.
    QString noCommunicationText() const;

    // One 200 ms tick of the poll watchdog: counts NoAnswerTicks (every
    // receive event clears them); true on the third tick without an answer,
    // the count then starting again.
    bool watchdogExpired();

    // The receive chain, in calling order; public for the tests.
    void Traitement(const QByteArray &chaine);
    void Analyse(QByteArray TrameOK);
    bool Ecriture(const QByteArray &Trame);

    QTimer ControlTimer3;
    QTimer TimerDownload;
    QTimer UPLoadTimer;

  public Q_SLOTS:
    void onReceive();
    void ControlTimer3_Timer();
    void TimerDownload_Timer();
    void UPLoadTimer_Timer();

  Q_SIGNALS:
    void statusText(const QString &text);       // BarreEtat
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
    void fullReadStopped(); // the adapter vanished during a read
    void uploadStarted();
    void uploadProgress(int value);
    void uploadCompleted();
    void uploadTimedOut();
    void uploadStopped();      // the adapter vanished during an upload
    void monitorTimerWanted(); // re-enable the monitor's watchdog

  private:
    void writeNow(const QByteArray &line);
    void deviceLost();
    void continueFullRead(bool dataAccepted);
    void finishFullRead();
    void runSequencer();
    void resumePoll();

    SerialPort *m_port;
    bool m_quietErrors = false;
    SendError m_sendError = SendError::None;
    int m_rejectedBlocks = 0;
    int m_readEnd = BlockCount;   // BlockTable entry that ends the running read
    int m_uploadEnd = BlockCount; // ... and the running upload
    QByteArray m_lastSent;        // the last line written, without its CRs
};
