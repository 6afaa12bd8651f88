#pragma once

#include <QString>

#include <array>
#include <optional>

class MemoryImage;

// The battery-voltage correction: a mode byte and 67 signed corrections
// indexed by the battery-voltage byte, with the block flag right after them.
namespace battery {

inline constexpr int ModeAddress = 0x83B;
inline constexpr int TableBase = 0x83C; // entry i at 0x83C + i
inline constexpr int Entries = 67;
inline constexpr int BlockFlagAddress = 0x87F;
inline constexpr int WindowSize = 20;
inline constexpr int ScrollMax = Entries - WindowSize; // 47
inline constexpr int ModeCount = 3;
inline constexpr std::array<const char *, ModeCount> ModeTexts = {"OFF", "ADD ( x2 )", "% TI"};
inline constexpr int LiveVoltage = 0x037; // x 0.075 V
inline constexpr int LivePointer = 0x038;
inline constexpr int EntryMin = -128;
inline constexpr int EntryMax = 127;

// The signed correction of entry i (0..66).
int entry(const MemoryImage &image, int i);
// The byte a typed correction is stored as: the value rounded to the nearest
// integer (halves to even) in two's complement; nothing outside -128..127.
std::optional<quint8> entryByte(double value);
// The mode byte for a typed mode; nothing outside 0..2.
std::optional<quint8> modeByte(double value);
// The option button a mode byte selects: modes beyond the list select OFF.
int modeOption(int modeByte);
// The live battery reading in volts.
double volts(int raw);

enum class LinkResult { Done, SameEnds, OutOfRange };

// Straight line between two entries, each point rounded down. start is taken
// with its fraction, end rounded to a whole index (halves to even); the ends
// are exchanged when end lies below start. Both must lie within 0..66 once
// rounded, or nothing is changed.
LinkResult interpolate(MemoryImage &image, double start, double end);

} // namespace battery
