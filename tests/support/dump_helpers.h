#pragma once

#include <QByteArray>
#include <QByteArrayList>

// The byte at an address of a dump printed by gasecu-cli read
// (256 lines "AAA: XX XX ...").
inline int dumpByte(const QByteArray &dump, int address) {
    const QByteArray line = dump.split('\n').value(address / 16);
    return line.mid(5 + 3 * (address % 16), 2).toInt(nullptr, 16);
}
