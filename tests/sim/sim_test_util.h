#pragma once

#include "ecu-sim/protocol.h"

#include <QByteArray>

// A reply is well formed when it is "@" + letter + upper-case hex + checksum by the rule + CR.
inline bool wellFormedReply(const QByteArray &frame) {
    if (frame.size() < 5 || frame.front() != '@' || frame.back() != '\r')
        return false;
    const QByteArray body = frame.left(frame.size() - 3);
    for (int i = 2; i < frame.size() - 1; ++i) {
        const char c = frame.at(i);
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')))
            return false;
    }
    return frame.mid(frame.size() - 3, 2) == ecusim::hexByte(ecusim::checksum(body));
}

// "@R" + AAA + LL + checksum by the rule + CR.
inline QByteArray readCommand(int address, int length) {
    const QByteArray text = "@R" +
                            QByteArray::number(address, 16).toUpper().rightJustified(3, '0') +
                            QByteArray::number(length, 16).toUpper().rightJustified(2, '0');
    return ecusim::withChecksum(text);
}
