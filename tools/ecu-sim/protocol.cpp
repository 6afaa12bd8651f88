#include "ecu-sim/protocol.h"

namespace ecusim {

namespace {

constexpr char HexDigits[] = "0123456789ABCDEF";

// Reads upper-case hex digits only: the line never carries lower-case digits.
int parseHex(const QByteArray &text, int from, int count) {
    int value = 0;
    for (int i = from; i < from + count; ++i) {
        const char c = text.at(i);
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

// The tool polls the second live area with this literal, whose checksum field is 91 where the
// rule gives 8D. The ECU answers it all the same.
constexpr char SecondLiveAreaPoll[] = "@R0371091";

} // namespace

quint8 checksum(const QByteArray &text) {
    unsigned sum = 0;
    for (char c : text)
        sum += quint8(c);
    return quint8(sum & 0xFF);
}

QByteArray hexByte(quint8 value) {
    const char digits[2] = {HexDigits[value >> 4], HexDigits[value & 0x0F]};
    return QByteArray(digits, 2);
}

QByteArray withChecksum(const QByteArray &text) {
    return text + hexByte(checksum(text)) + FrameEnd;
}

QByteArray dataFrame(int address, const QByteArray &bytes) {
    QByteArray text = "@W";
    text += HexDigits[(address >> 8) & 0xF];
    text += hexByte(quint8(address & 0xFF));
    text += hexByte(quint8(bytes.size()));
    for (char b : bytes)
        text += hexByte(quint8(b));
    return withChecksum(text);
}

QByteArray acknowledgeFrame() {
    return withChecksum("@A");
}

const char *rejectionName(Rejection r) {
    switch (r) {
    case Rejection::None:
        return "ok";
    case Rejection::BadChecksum:
        return "bad checksum";
    case Rejection::BadHex:
        return "bad hex";
    case Rejection::BadRange:
        return "address out of range";
    case Rejection::BadFormat:
        return "bad length";
    case Rejection::UnknownCommand:
        return "unknown command";
    }
    return "?";
}

ParsedCommand parseCommand(const QByteArray &frame) {
    ParsedCommand out;
    if (frame.size() < 4 || frame.at(0) != FrameStart) {
        out.rejection = Rejection::BadFormat;
        return out;
    }
    const int n = frame.size();
    for (int i = 2; i < n; ++i) {
        if (parseHex(frame, i, 1) < 0) {
            out.rejection = Rejection::BadHex;
            return out;
        }
    }
    const int sum = parseHex(frame, n - 2, 2);
    if (sum != checksum(frame.left(n - 2)) && frame != SecondLiveAreaPoll) {
        out.rejection = Rejection::BadChecksum;
        return out;
    }

    Command &cmd = out.command;
    const char letter = frame.at(1);
    if (letter == 'F') {
        if (n != 7) {
            out.rejection = Rejection::BadFormat;
            return out;
        }
        cmd.kind = CommandKind::Function;
        cmd.function = parseHex(frame, 2, 3);
        switch (FunctionCode(cmd.function)) {
        case FunctionCode::ClearAlarms:
        case FunctionCode::SwitchToGas:
        case FunctionCode::SwitchToPetrol:
        case FunctionCode::Reset:
            break;
        default:
            out.rejection = Rejection::UnknownCommand;
        }
        return out;
    }
    if (letter != 'R' && letter != 'W') {
        out.rejection = Rejection::UnknownCommand;
        return out;
    }
    if (n < 9) {
        out.rejection = Rejection::BadFormat;
        return out;
    }
    cmd.kind = letter == 'R' ? CommandKind::Read : CommandKind::Write;
    cmd.address = parseHex(frame, 2, 3);
    cmd.length = parseHex(frame, 5, 2);
    const int expected = cmd.kind == CommandKind::Read ? 9 : 9 + 2 * cmd.length;
    if (n != expected) {
        out.rejection = Rejection::BadFormat;
        return out;
    }
    if (cmd.length == 0 || cmd.address + cmd.length > 0x1000) {
        out.rejection = Rejection::BadRange;
        return out;
    }
    for (int i = 0; cmd.kind == CommandKind::Write && i < cmd.length; ++i)
        cmd.data.append(char(parseHex(frame, 7 + 2 * i, 2)));
    return out;
}

QList<CommandSplitter::Frame> CommandSplitter::feed(const QByteArray &bytes, qint64 nowNs) {
    QList<Frame> frames;
    for (char c : bytes) {
        if (c == FrameStart) {
            if (inFrame_)
                skipped_ += int(current_.size());
            current_ = QByteArray(1, c);
            startNs_ = nowNs;
            inFrame_ = true;
        } else if (!inFrame_) {
            ++skipped_;
        } else if (c == FrameEnd) {
            frames.append({current_, startNs_});
            current_.clear();
            inFrame_ = false;
        } else if (current_.size() >= MaxFrameLength) {
            skipped_ += int(current_.size()) + 1;
            current_.clear();
            inFrame_ = false;
        } else {
            current_.append(c);
        }
    }
    return frames;
}

void CommandSplitter::clear() {
    current_.clear();
    inFrame_ = false;
}

} // namespace ecusim
