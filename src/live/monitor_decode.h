#pragma once

#include "ecu/live_block.h"
#include "ecu/memory_map.h"

#include <QString>

#include <array>

class MemoryImage;

// The live-data block and the monitor's trims as numbers and
// texts, without a widget: what each field of the monitor shows for the
// bytes in the image. Widths are in twips, colours 0x00BBGGRR.
namespace live {

// Addresses of the live block and of the settings the monitor reads.
namespace addr {
using namespace ecu::liveblock;
inline constexpr int LambdaType = ecu::field::LambdaType.address;
inline constexpr int InjectionType = ecu::field::InjectionType.address; // 0: speed stored halved
} // namespace addr

// Alarm bits of the alarm byte.
namespace alarm {
inline constexpr int Temperature = 2;
inline constexpr int Pressure = 4;
inline constexpr int StartOnGas = 128;
} // namespace alarm

// Two's complement: 128..255 are value - 256.
int s8(int byte);
// Injection times: 255 * high + low (the multiplier is 255, not 256).
int hi255(const MemoryImage &image, int address);

// Engine speed as shown: the stored value, doubled for sequential injection.
int displayedSpeed(const MemoryImage &image);
// The speed bar is always half the displayed speed.
int speedBarTwips(const MemoryImage &image);
// Needle input of the speed gauge: speed / 45, rounded down.
int speedGaugeValue(double speed);
// Needle input of the temperature gauge: rounded, never negative.
int temperatureGaugeValue(double celsius);

// Pressure caption on the dial: bar with a point, "0" above 10 bar.
QString pressureCaption(int hundredths);
// Needle input of the pressure gauge: hundredths of a bar.
int pressureGaugeValue(double bar);

// Injection time in milliseconds: Int(raw / 3.9) / 100.
double injectionMs(int raw);
int injectionBarTwips(int raw);

// Temperature bars: (value + 20) rounded, times 22; 0 below 1.
int temperatureBarTwips(double celsius);
// Pressure bar: ((bar + 1) * 100 rounded) * 8.5.
int pressureBarTwips(double bar);
// Lambda bar for a lambda type (0 to 3): raw * gain + offset, 0 below 1.
int lambdaBarTwips(int raw, int lambdaType);
// Red past 2340 twips (a rich mixture), otherwise green.
int lambdaBarColour(int widthTwips);
// Below the alarm level red, below the switch-over level orange, else green
// (compared in hundredths).
int sensorColour(double value, double alarmLevel, double switchLevel);

// Message-table entry of a fuel state (13 petrol, 14 waiting, 15 gas); 0
// for a value that has no text (the field keeps what it shows).
int fuelStateMessage(int state);

// A monitor trim or the extra injection time as the monitor edits it: a
// view of its row in the memory map.
struct TrimField {
    const char *name;
    int address;
    bool whole;  // shown as the byte itself (the extra time)
    int perByte; // hundredths one byte counts for (trims: 1 or 2)
    int limit;   // largest value in hundredths (whole units for the extra time)
    double step; // of the minus and plus buttons
    const char *caption;
};
constexpr TrimField trimOf(const ecu::Field &f) {
    const bool whole = f.den == 1;
    // In hundredths, rounded: 5.10 is 510.
    const int limit = static_cast<int>(whole ? f.max : f.max * f.den + 0.5);
    return {f.control, f.address, whole, f.num, limit, f.step, f.caption};
}
// In the order their validation checks them.
inline constexpr std::array<TrimField, 5> Trims{{
    trimOf(*ecu::Trims[0]),
    trimOf(*ecu::Trims[1]),
    trimOf(*ecu::Trims[2]),
    trimOf(*ecu::Trims[3]),
    trimOf(*ecu::Trims[4]),
}};
inline constexpr int ExtraTimeIndex = 4;
// Bank 2 trims are stored by the upload only for this firmware.
inline constexpr int TwoBankFirmware = 15;

// The text a trim shows for its byte (byte x perByte / 100, with a point).
QString trimText(const TrimField &field, int byte);
// The byte a trim's value is stored as (clamped to 0..255).
int trimByte(const TrimField &field, double value);
// The limit as the field shows it: "5.10", "255".
QString limitText(const TrimField &field);
// The field's text after the validation: negative gives "0", over the limit
// the limit text, and a text of 5 or more characters not starting with "."
// is cut to 4 characters.
QString validatedTrimText(const TrimField &field, const QString &text);
// The extra injection time in milliseconds: Int(raw * 4096 / 100) / 1000.
QString extraTimeMsText(double raw);

} // namespace live
