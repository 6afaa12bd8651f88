#pragma once

#include "ecu/memory_image.h"
#include "link/block_table.h"
#include "support/fake_serial_port.h"
#include "support/frame_helpers.h"

#include <QTest>

#include <utility>
#include <vector>

// The ECU's side of a fake line, for screen tests that drive the real window.

// Answers every read request written on port from ecu, the requests the
// answers bring included; the other lines stay written.
inline void answerReads(FakeSerialPort &port, const MemoryImage &ecu) {
    QByteArrayList kept;
    for (bool asked = true; asked;) {
        asked = false;
        for (const QByteArray &line : std::exchange(port.written, {})) {
            if (!line.startsWith("@R")) {
                kept.append(line);
                continue;
            }
            asked = true;
            const BlockRange range = blockRange(line);
            std::vector<int> bytes;
            for (int a = range.address; a < range.address + range.count; ++a)
                bytes.push_back(ecu.at(a));
            port.feed(dataFrame(range.address, bytes));
        }
    }
    port.written = kept;
}

// Acknowledges count writes, one per reply: each time exactly one line
// must be waiting for its answer.
inline void acknowledgeEach(FakeSerialPort &port, int count) {
    for (int i = 0; i < count; ++i) {
        QCOMPARE(port.written.size(), 1);
        port.written.clear();
        port.feed(ackFrame());
    }
}
