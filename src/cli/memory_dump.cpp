#include "cli/memory_dump.h"

#include "ecu/memory_image.h"
#include "link/hex.h"

QByteArray memoryDump(const MemoryImage &image) {
    QByteArray out;
    out.reserve(256 * 53);
    for (int line = 0; line < 256; ++line) {
        const int address = line * 16;
        out += hex::WordToHex(address).right(3).toLatin1();
        out += ':';
        for (int k = 0; k < 16; ++k) {
            out += ' ';
            out += hex::byteHex(image.at(address + k));
        }
        out += '\n';
    }
    return out;
}
