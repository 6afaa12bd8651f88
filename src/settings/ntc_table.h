#pragma once

#include "ecu/memory_map.h"

#include <QtGlobal>

class MemoryImage;

// The two temperature-sensor conversion tables: 256 signed bytes each, one
// per raw sensor reading, giving degrees Celsius. The page shows a window of
// 18 consecutive entries moved by a scroll bar running 0..238.
namespace ntc {

inline constexpr int CoolantBase = ecu::CoolantNtc.address; // entry i at base + i
inline constexpr int GasBase = ecu::GasNtc.address;
inline constexpr int Entries = ecu::CoolantNtc.length;
inline constexpr int WindowSize = 18;
inline constexpr int ScrollMax = Entries - WindowSize; // 238

// Two's complement: 0..127 as they are, 128..255 as value - 256.
constexpr int signedValue(quint8 b) {
    return b < 128 ? b : b - 256;
}

// The number beside the k-th value field (k = 1..18) with the scroll bar at s.
constexpr int indexLabel(int s, int k) {
    return s + k;
}

// The entry the k-th value field (k = 1..18) shows with the scroll bar at s;
// s is held to 0..238 so the window never leaves the table.
int windowEntry(const MemoryImage &image, int base, int s, int k);

} // namespace ntc
