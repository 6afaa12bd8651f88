#pragma once

#include <QColor>

// Colours are stored as 24-bit numbers with red in the low byte (0x00BBGGRR).
inline QColor bgrColor(int value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

namespace colors {
inline constexpr int Green = 49152; // 0, 192, 0
inline constexpr int DarkRed = 192; // 192, 0, 0
inline constexpr int Red = 255;
inline constexpr int Orange = 33023; // 255, 128, 0
inline constexpr int PureGreen = 0x00FF00;
inline constexpr int PureBlue = 0xFF0000;
} // namespace colors
