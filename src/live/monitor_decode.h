#pragma once

#include <QString>

#include <array>

class MemoryImage;

// The live-data block 0x000..0x036 and the monitor's trims as numbers and
// texts, without a widget: what each field of the monitor shows for the
// bytes in the image. Widths are in twips, colours 0x00BBGGRR.
namespace live {

// Addresses of the live block and of the settings the monitor reads.
namespace addr {
inline constexpr int Firmware = 0x000;
inline constexpr int FuelState = 0x002;
inline constexpr int Alarms = 0x003;
inline constexpr int Speed = 0x008;       // u16
inline constexpr int PetrolTimes = 0x00C; // hi255 x 8
inline constexpr int GasTimes = 0x01C;    // hi255 x 8
inline constexpr int WaterTemp = 0x02C;   // s8
inline constexpr int GasTemp = 0x02D;     // s8
inline constexpr int Pressure = 0x02E;    // u16, hundredths of a bar
inline constexpr int Lambda = 0x030;      // u16, 1/200 V
inline constexpr int LambdaType = 0x80C;
inline constexpr int InjectionType = 0x80D; // 0 = sequential: speed stored halved
} // namespace addr

// Alarm bits of byte 0x003.
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

// The monitor's trims and the extra injection time, in the order their
// validation checks them.
struct TrimField {
    const char *name;
    int address;
    bool whole;  // shown as the byte itself (the extra time)
    int perByte; // hundredths one byte counts for (trims: 1 or 2)
    int limit;   // largest value in hundredths (whole units for the extra time)
    const char *limitText;
    double step;         // of the minus and plus buttons
    const char *caption; // how the fitter knows the setting
};
inline constexpr std::array<TrimField, 5> Trims{{
    {"TxRalenti", 0x802, false, 2, 510, "5.10", 0.02, "Idle trim, bank 1"},
    {"TxCharge", 0x801, false, 1, 255, "2.55", 0.01, "Load trim, bank 1"},
    {"TxRalentiB", 0x83A, false, 2, 510, "5.10", 0.02, "Idle trim, bank 2"},
    {"TxChargeB", 0x839, false, 1, 255, "2.55", 0.01, "Load trim, bank 2"},
    {"TxTIExclu", 0xA44, true, 1, 255, "255", 1.0, "Extra injection time"},
}};
inline constexpr int ExtraTimeIndex = 4;
// Bank 2 trims are stored by the upload only for this firmware.
inline constexpr int TwoBankFirmware = 15;

// The text a trim shows for its byte (byte x perByte / 100, with a point).
QString trimText(const TrimField &field, int byte);
// The byte a trim's value is stored as (clamped to 0..255).
int trimByte(const TrimField &field, double value);
// The field's text after the validation: negative gives "0", over the limit
// the limit text, and a text of 5 or more characters not starting with "."
// is cut to 4 characters.
QString validatedTrimText(const TrimField &field, const QString &text);
// The extra injection time in milliseconds: Int(raw * 4096 / 100) / 1000.
QString extraTimeMsText(double raw);

} // namespace live
