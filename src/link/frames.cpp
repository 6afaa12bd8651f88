#include "link/frames.h"

#include "ecu/memory_image.h"
#include "link/hex.h"

namespace frames {

namespace {
int sumOf(QByteArrayView text) {
    int sum = 0;
    for (char c : text)
        sum += static_cast<unsigned char>(c);
    return sum & 0xFF;
}

QByteArray field(int value, int digits) {
    QByteArray out(digits, '0');
    for (int i = digits - 1; i >= 0; --i) {
        out[i] = hex::HexDigits[value & 0xF];
        value >>= 4;
    }
    return out;
}
} // namespace

QByteArray checksum(QByteArrayView text) {
    return hex::byteHex(sumOf(text));
}

QByteArray sealed(QByteArrayView text) {
    return text.toByteArray() + checksum(text);
}

bool checksumMatches(QByteArrayView frame) {
    if (frame.size() < 3)
        return false;
    return frame.last(2) == checksum(frame.first(frame.size() - 2));
}

QByteArray readText(int address, int count) {
    return sealed("@R" + field(address, 3) + field(count, 2));
}

QByteArray function(int code) {
    QByteArray text = "@F";
    text += QByteArray::number(code).rightJustified(3, '0', true);
    return sealed(text) + Cr;
}

QByteArray writeFrame(QByteArrayView descriptor, const MemoryImage &image) {
    if (descriptor.size() < 7 || !hex::isUpperHex(descriptor.sliced(2, 5)))
        return {};
    const int address = hex::value(descriptor.sliced(2, 3));
    const int count = hex::value(descriptor.sliced(5, 2));
    if (address + count > MemoryImage::LastWireAddress + 1)
        return {};
    QByteArray frame = "@W";
    frame += descriptor.sliced(2, 5);
    frame.reserve(frame.size() + 2 * count + 3);
    for (int i = 0; i < count; ++i)
        frame += hex::byteHex(image.at(address + i));
    frame += checksum(frame);
    frame += Cr;
    return frame;
}

} // namespace frames
