#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <array>

namespace ecusim {

// The ECU's address space as the tool mirrors it: 0x000..0x1000. Frames reach 0x000..0xFFF;
// 0x1000 only carries the firmware byte in memory files.
class EcuMemory {
  public:
    static constexpr int Size = 0x1001;
    static constexpr int FrameReach = 0x1000;

    EcuMemory() { bytes_.fill(0); }

    quint8 at(int address) const { return bytes_.at(std::size_t(address)); }
    void set(int address, quint8 value) { bytes_.at(std::size_t(address)) = value; }
    QByteArray range(int address, int length) const;
    void store(int address, const QByteArray &data);

    // Codings shared with the tool's decoders.
    int u16(int address) const { return 256 * at(address) + at(address + 1); }
    void setU16(int address, int value);
    int hi255(int address) const { return 255 * at(address) + at(address + 1); }
    void setHi255(int address, int value);
    int s8(int address) const { return qint8(at(address)); }
    void setS8(int address, int value) { set(address, quint8(qBound(-128, value, 127))); }

    // Loads a captured ECU: either the text dump "AAA: XX XX ..." (one line per 16 bytes, lines
    // without an address are skipped) or a memory file "FichierMemoire:XX.XX....Fin"
    // (0x800..0x1000). Bytes the file does not name keep their value. Returns false with a reason
    // on error.
    bool loadCapture(const QByteArray &text, QString *error);

  private:
    bool loadHexDump(const QByteArray &text, QString *error);
    bool loadMemoryFile(const QByteArray &text, QString *error);

    std::array<quint8, Size> bytes_{};
};

} // namespace ecusim
