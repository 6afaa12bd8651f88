#pragma once

#include "link/frames.h"
#include "link/hex.h"

#include <QByteArray>
#include <vector>

// A data frame as the ECU sends it: "@W" AAA LL data CC CR.
inline QByteArray dataFrame(int address, const std::vector<int> &bytes) {
    QByteArray text = "@W" + hex::WordToHex(address).right(3).toLatin1() +
                      hex::byteHex(static_cast<int>(bytes.size()));
    for (int b : bytes)
        text += hex::byteHex(b);
    return frames::sealed(text) + '\r';
}

// A data frame for a block of the given size filled with one value.
inline QByteArray filledFrame(int address, int count, int value) {
    return dataFrame(address, std::vector<int>(static_cast<std::size_t>(count), value));
}

// The acknowledgement of a write: any frame whose letter is not R.
inline QByteArray ackFrame() {
    return frames::sealed("@A") + '\r';
}
