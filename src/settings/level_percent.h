#pragma once

#include "ecu/live_block.h"
#include "ecu/memory_map.h"

#include <array>
#include <optional>

// The gas level as a percentage of the sensor's range, and the five level
// lamps, as the level sensor page shows them.
namespace level {

// Image addresses of the level sensor's settings and readings.
namespace addr {
inline constexpr int Immediate = ecu::liveblock::LevelImmediate;
inline constexpr int Average = ecu::liveblock::LevelAverage; // averaged by the ECU
inline constexpr int RangeCorrection = ecu::field::LevelRange.address;
inline constexpr int Minimum = ecu::field::LevelMinimum.address;
inline constexpr int Maximum = ecu::field::LevelMaximum.address;
inline constexpr int Threshold1 = ecu::field::LevelThreshold1.address; // 1/2, 3/4, full follow
} // namespace addr

// The sensor's range: the values of the minimum and maximum fields, and the
// stored bytes, which tell which way round the sensor reads.
struct Range {
    double minimum = 0;
    double maximum = 0;
    int minimumByte = 0;
    int maximumByte = 0;
};

// A reading as a percentage: 100 at the minimum value, 0 at the maximum.
// A reading equal to the reference end of the range (the maximum when the
// minimum byte is the larger, else the minimum) shows 0. Nothing when the
// range is empty: the field then keeps what it shows.
std::optional<double> percent(const Range &range, double reading);

// Lamp colours (0x00BBGGRR).
namespace lamp {
inline constexpr int RedOn = 255;
inline constexpr int RedOff = 64;
inline constexpr int GreenOn = 65280;
inline constexpr int GreenOff = 16384;
} // namespace lamp

// led1 (top, full) to led5 (bottom, reserve) for the level shown and the
// thresholds 1/4, 1/2, 3/4 and full: the four green lamps light from their
// threshold up, the red reserve lamp at or below the 1/4 threshold.
std::array<int, 5> lamps(double levelPercent, const std::array<int, 4> &thresholds);

} // namespace level
