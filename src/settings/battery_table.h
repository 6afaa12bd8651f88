#pragma once

#include "ecu/live_block.h"
#include "ecu/memory_map.h"

#include <QString>

#include <array>
#include <optional>

class MemoryImage;

// The battery-voltage correction: a mode byte and 67 signed corrections
// indexed by the battery-voltage byte, with the block flag right after them.
namespace battery {

inline constexpr int ModeAddress = ecu::field::BatteryMode.address;
inline constexpr int TableBase = ecu::BatteryCorrections.address; // entry i at TableBase + i
inline constexpr int Entries = ecu::BatteryCorrections.length;
inline constexpr int BlockFlagAddress = ecu::field::BlockFlag.address;
inline constexpr int WindowSize = 20;
inline constexpr int ScrollMax = Entries - WindowSize; // 47
inline constexpr int ModeCount = static_cast<int>(ecu::BatteryModeTexts.size());
inline constexpr const auto &ModeTexts = ecu::BatteryModeTexts;
inline constexpr int LiveVoltage = ecu::liveblock::BatteryVoltage;
inline constexpr int LivePointer = ecu::liveblock::BatteryPointer;
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
