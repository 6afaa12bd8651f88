#pragma once

#include "ecu/memory_map.h"

#include <QString>

#include <array>
#include <optional>

class MemoryImage;

// The result block of the last emission test: twelve values kept as a sign
// flag (1 = negative) and a magnitude, and a cycle count. In block order:
//   signs of Text7..Text12, magnitudes of Text7..Text12,
//   signs of Text1..Text6, magnitudes of Text1..Text6, the cycle count.
namespace results {

inline constexpr int FirstAddress = ecu::FinalTest.address;
inline constexpr int Length = ecu::FinalTest.length;
inline constexpr int ValueCount = 12;
inline constexpr int CycleAddress = ecu::FinalTestCycles;

// Texts of Text1..Text12, then TxCycle.
using Texts = std::array<QString, ValueCount + 1>;
inline constexpr std::size_t CycleText = ValueCount;

// Sign flag and magnitude addresses of value n (0 = Text1 .. 11 = Text12).
int signAddress(int n);
int magnitudeAddress(int n);

// ShowValue: decimal magnitudes, "-" in front where the sign flag is 1.
Texts decode(const MemoryImage &image);

// A field whose value the block cannot hold: its control name and text.
struct Refusal {
    QString field;
    QString text;
};
QString refusalText(const Refusal &refusal);

// Encodes every field, or none: a value whose rounded magnitude exceeds 255
// (or a cycle count outside 0..255) is returned and the image is left as it
// was. The sign follows the rounded value, so -0 and -0.4 store a plain 0.
std::optional<Refusal> encode(const Texts &texts, MemoryImage &image);

} // namespace results
