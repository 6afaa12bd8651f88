#include "ecu-sim/ecu_memory.h"

#include <QList>

namespace ecusim {

QByteArray EcuMemory::range(int address, int length) const {
    QByteArray out;
    out.reserve(length);
    for (int i = 0; i < length; ++i)
        out.append(char(at(address + i)));
    return out;
}

void EcuMemory::store(int address, const QByteArray &data) {
    for (int i = 0; i < data.size(); ++i)
        set(address + i, quint8(data.at(i)));
}

void EcuMemory::setU16(int address, int value) {
    value = qBound(0, value, 0xFFFF);
    set(address, quint8(value >> 8));
    set(address + 1, quint8(value & 0xFF));
}

void EcuMemory::setHi255(int address, int value) {
    // Injection times use 255 as the weight of the high byte; the low byte stays below 255.
    value = qBound(0, value, 255 * 255 + 254);
    set(address, quint8(value / 255));
    set(address + 1, quint8(value % 255));
}

bool EcuMemory::loadCapture(const QByteArray &text, QString *error) {
    if (text.trimmed().startsWith("FichierMemoire:"))
        return loadMemoryFile(text.trimmed(), error);
    return loadHexDump(text, error);
}

static int hexValue(const QByteArray &digits) {
    bool ok = false;
    const int v = digits.toInt(&ok, 16);
    return ok ? v : -1;
}

bool EcuMemory::loadHexDump(const QByteArray &text, QString *error) {
    int lines = 0;
    int lineNo = 0;
    for (const QByteArray &raw : text.split('\n')) {
        ++lineNo;
        const QByteArray line = raw.trimmed();
        const int colon = line.indexOf(':');
        if (colon < 1 || colon > 4)
            continue; // headers, blank lines, anything that is not "AAA: ..."
        const int address = hexValue(line.left(colon).trimmed());
        if (address < 0)
            continue;
        int a = address;
        for (const QByteArray &field : line.mid(colon + 1).simplified().split(' ')) {
            const int v = field.size() == 2 ? hexValue(field) : -1;
            if (v < 0)
                break; // an ASCII column or a comment ends the byte list
            if (a >= FrameReach) {
                *error = QStringLiteral("line %1: address beyond 0xFFF").arg(lineNo);
                return false;
            }
            set(a++, quint8(v));
        }
        if (a > address)
            ++lines;
    }
    if (lines == 0) {
        *error = QStringLiteral("no \"AAA: XX XX ...\" line found");
        return false;
    }
    set(0x1000, at(0x000));
    return true;
}

bool EcuMemory::loadMemoryFile(const QByteArray &text, QString *error) {
    constexpr int first = 0x800;
    constexpr int count = Size - first;
    if (text.size() < 15 + 3 * count) {
        *error = QStringLiteral("memory file too short");
        return false;
    }
    for (int k = 0; k < count; ++k) {
        const int v = hexValue(text.mid(15 + 3 * k, 2));
        set(first + k, quint8(v < 0 ? 0 : v));
    }
    return true;
}

} // namespace ecusim
