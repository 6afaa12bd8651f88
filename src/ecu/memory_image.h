#pragma once

#include <QtGlobal>

#include <array>

// Byte-for-byte mirror of the ECU's address space, 0x000..0x1000.
// Byte 0x1000 is never transferred: frames carry three-digit addresses only,
// so it serves memory files as the home of the firmware byte's copy.
class MemoryImage {
  public:
    static constexpr int Size = 4097;
    static constexpr int LastWireAddress = 0xFFF;

    static constexpr bool contains(int address) { return address >= 0 && address < Size; }

    // Bounds-checked access: an address outside the image is a programming
    // error and throws std::out_of_range rather than touching foreign memory.
    quint8 at(int address) const;
    void set(int address, quint8 value);

    // Two bytes, high first: 256 * hi + lo.
    int u16(int address) const { return 256 * at(address) + at(address + 1); }

    const std::array<quint8, Size> &bytes() const { return m_bytes; }

  private:
    std::array<quint8, Size> m_bytes{};
};
