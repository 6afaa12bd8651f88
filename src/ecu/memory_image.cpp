#include "ecu/memory_image.h"

#include <stdexcept>
#include <string>

namespace {
[[noreturn]] void outOfImage(int address) {
    throw std::out_of_range("ECU image address out of range: " + std::to_string(address));
}
} // namespace

quint8 MemoryImage::at(int address) const {
    if (!contains(address))
        outOfImage(address);
    return m_bytes[static_cast<std::size_t>(address)];
}

void MemoryImage::set(int address, quint8 value) {
    if (!contains(address))
        outOfImage(address);
    m_bytes[static_cast<std::size_t>(address)] = value;
}
