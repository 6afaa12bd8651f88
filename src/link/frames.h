#pragma once

#include <QByteArray>
#include <QByteArrayView>

class MemoryImage;

// Command frames of the ECU protocol: "@" + letter + upper-case hex fields +
// two-digit checksum + CR. The checksum is the sum of the character codes of
// everything before it, "@" and the letter included, modulo 256.
namespace frames {

inline constexpr char Cr = '\r';

// The two checksum digits for the given frame text (without checksum and CR).
QByteArray checksum(QByteArrayView text);
// text + checksum (no CR).
QByteArray sealed(QByteArrayView text);
// Whether the last two characters of a received frame are the checksum of
// the characters before them.
bool checksumMatches(QByteArrayView frameWithChecksum);

// "@R" AAA LL CC (no CR), as BlockTable holds them.
QByteArray readText(int address, int count);
// "@F" NNN CC CR.
QByteArray function(int code);

// Builds the write frame "@W" AAA LL D1..Dn CC CR for a descriptor whose
// characters 3..5 hold an address and 6..7 a length (a write prefix such as
// "@W80138" or a BlockTable read text). The image is only read. Returns an
// empty array for a descriptor that does not hold those fields or reaches
// beyond the wire range 0x000..0xFFF.
QByteArray writeFrame(QByteArrayView descriptor, const MemoryImage &image);

// Literal frames sent by the tool (with CR).
inline constexpr QByteArrayView MonitorPoll = "@R000378C\r";
// The second live area's poll carries the checksum "91" the ECU has always
// been sent; the tool keeps sending that literal.
inline constexpr QByteArrayView SecondLivePoll = "@R0371091\r";
inline constexpr QByteArrayView PortTest = "@R0000183\r";
inline constexpr QByteArrayView FinalTestRead = "@RB4119A3\r";
inline constexpr QByteArrayView ClearAlarms = "@F00016\r";
inline constexpr QByteArrayView SwitchToGas = "@F0071D\r";
inline constexpr QByteArrayView SwitchToPetrol = "@F0081E\r";
inline constexpr QByteArrayView ResetEcu = "@F0091F\r";

// Write descriptors (address and length of the block to write).
inline constexpr QByteArrayView WriteMainParameters = "@W80138";
inline constexpr QByteArrayView WriteBank1Trims = "@W80102";
inline constexpr QByteArrayView WriteA41Block = "@WA4106";
inline constexpr QByteArrayView WriteA44 = "@WA4401";
inline constexpr QByteArrayView WriteBank2Trims = "@W83902";
inline constexpr QByteArrayView WriteA41 = "@WA4101";
inline constexpr QByteArrayView Write807 = "@W80701";
inline constexpr QByteArrayView WriteLevelSensor = "@WA3A07";
inline constexpr QByteArrayView WriteLambda = "@W8820E";
inline constexpr QByteArrayView WriteFinalTest = "@WB4119";

} // namespace frames
