#include "files/memory_file.h"

#include "ecu/memory_image.h"
#include "files/records.h"
#include "link/block_table.h"
#include "link/hex.h"

namespace memory_file {

QByteArray format(const MemoryImage &image) {
    QByteArray line;
    line.reserve(LineLength + 2);
    line += Header;
    for (int a = FirstAddress; a <= LastAddress; ++a) {
        line += hex::byteHex(image.at(a));
        line += '.';
    }
    line += "Fin\r\n";
    return line;
}

namespace {
Parsed parseLine(const QString &line) {
    Parsed out;
    if (!line.startsWith(QLatin1String(Header)) || line.size() < LineLength)
        return out;
    const int headerLength = int(sizeof(Header)) - 1;
    for (int k = 0; k < ByteCount; ++k) {
        const QStringView digits = QStringView(line).mid(headerLength + 3 * k, 2);
        out.bytes[std::size_t(k)] = static_cast<quint8>(hex::leadingValue(digits) & 0xFF);
    }
    out.ok = true;
    return out;
}
} // namespace

Parsed parse(const QString &fileText) {
    const QStringList all = records::split(fileText);
    return all.isEmpty() ? Parsed{} : parseLine(all.constLast());
}

Parsed read(const QString &path) {
    bool readable = false;
    const QString line = records::lastRecord(path, &readable);
    return readable ? parseLine(line) : Parsed{};
}

void apply(const Parsed &parsed, MemoryImage *image) {
    for (int k = 0; k < ByteCount; ++k)
        image->set(FirstAddress + k, parsed.bytes[std::size_t(k)]);
}

int firstUploadedDifference(const MemoryImage &a, const MemoryImage &b) {
    static const BlockTable blocks = makeBlockTable();
    int first = -1;
    for (int entry = 1; entry < BlockCount; ++entry) {
        const BlockRange range = blockRange(blocks[std::size_t(entry)]);
        for (int address = range.address; address < range.address + range.count; ++address) {
            if (a.at(address) != b.at(address) && (first < 0 || address < first))
                first = address;
        }
    }
    return first;
}

bool writeAtomically(const QString &path, const QByteArray &text, QString *error) {
    return records::writeAtomically(path, text, error);
}

} // namespace memory_file
