#pragma once

#include <QByteArray>
#include <QList>
#include <QtGlobal>

namespace ecusim {

// Frames on the diagnostic line: "@" + command letter + upper-case hex fields + checksum + CR.
// The checksum is the sum of the character codes before it ("@" and letter included) mod 256,
// written as two upper-case hex digits.

constexpr char FrameStart = '@';
constexpr char FrameEnd = '\r';
constexpr int MaxFrameLength = 128; // longest command: a 56-byte write is 121 characters + CR

quint8 checksum(const QByteArray &text);
QByteArray hexByte(quint8 value);
QByteArray withChecksum(const QByteArray &text); // text + CC + CR

enum class CommandKind { Read, Write, Function };

enum class FunctionCode {
    ClearAlarms = 0x000,
    SwitchToGas = 0x007,
    SwitchToPetrol = 0x008,
    Reset = 0x009,
};

struct Command {
    CommandKind kind = CommandKind::Read;
    int address = 0;
    int length = 0;
    QByteArray data;  // write payload
    int function = 0; // function code
};

enum class Rejection { None, BadChecksum, BadHex, BadRange, BadFormat, UnknownCommand };

struct ParsedCommand {
    Rejection rejection = Rejection::None;
    Command command;
};

// frame: from "@" up to, not including, the CR.
ParsedCommand parseCommand(const QByteArray &frame);
const char *rejectionName(Rejection r);

// Replies of the ECU.
QByteArray dataFrame(int address, const QByteArray &bytes); // "@W" AAA LL data CC CR
QByteArray acknowledgeFrame();                              // "@A81" CR

// Cuts the characters from the PC into frames. Characters outside a frame are skipped; a new "@"
// restarts the frame; a frame that grows past MaxFrameLength without a CR is dropped.
class CommandSplitter {
  public:
    struct Frame {
        QByteArray text; // "@..." without the CR
        qint64 startNs;  // arrival of its "@"
    };
    QList<Frame> feed(const QByteArray &bytes, qint64 nowNs);
    int skipped() const { return skipped_; }
    void clear();

  private:
    QByteArray current_;
    qint64 startNs_ = 0;
    bool inFrame_ = false;
    int skipped_ = 0;
};

} // namespace ecusim
