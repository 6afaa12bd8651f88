#pragma once

#include "settings/field_description.h"

#include <array>
#include <span>

class MemoryImage;

// The switch-over, alarm and sensor settings of the main parameters page as
// numbers, and their codings in the ECU memory image.
namespace mainparams {

// Image addresses of the settings.
namespace addr {
inline constexpr int SwitchTemperature = 0x803;
inline constexpr int SwitchPressure = 0x804; // sign flag, then magnitude at 0x805
inline constexpr int PressureDelay = 0x806;
inline constexpr int SwitchDelay = 0x807;
inline constexpr int Overlapping = 0x808; // units of 5 ms
inline constexpr int AlarmTemperature = 0x809;
inline constexpr int AlarmPressure = 0x80A; // sign flag, then magnitude at 0x80B
inline constexpr int LambdaType = 0x80C;
inline constexpr int InjectionType = 0x80D;
inline constexpr int SwitchWay = 0xA41;
inline constexpr int SwitchSpeed = 0xA42; // u16, high byte first
inline constexpr int EmptyTank = 0xA45;
inline constexpr int CutOff = 0xA46;
} // namespace addr

// Entries of the three choice lists.
inline constexpr int SwitchWayCount = 3;
inline constexpr int InjectionTypeCount = 3;
inline constexpr int LambdaTypeCount = 4;

// The entries as the page's choice lists show them.
inline constexpr std::array<const char *, SwitchWayCount> SwitchWayTexts = {
    " Directe               ", " Acceleration          ", " Deceleration          "};
inline constexpr std::array<const char *, InjectionTypeCount> InjectionTypeTexts = {
    "Sequentielle      ", "Full groupe       ", "Semi Sequentielle "};
inline constexpr std::array<const char *, LambdaTypeCount> LambdaTypeTexts = {
    "   0 - 1V    ", " 0.8 - 1.6 V ", "   0 - 5 V   ", "   5 - 0 V   "};

// Index 0 of the injection types: sequential injection, whose engine
// speeds the ECU keeps halved.
inline constexpr int Sequential = 0;

struct Settings {
    double temperature = 0;      // switch-over coolant temperature, deg C
    double pressure = 0;         // switch-over gas pressure, bar (-1 .. 2.5)
    double pressureDelay = 0;    // pressure alarm delay
    double switchDelay = 0;      // delay before switch-over
    double overlapping = 0;      // fuel overlapping, ms
    double alarmTemperature = 0; // temperature alarm, deg C (signed)
    double alarmPressure = 0;    // pressure alarm, bar
    double switchSpeed = 0;      // switch-over engine speed, rpm
    double emptyTank = 0;        // empty-tank delay
    double cutOff = 0;           // deceleration cut-off delay
    // List indexes; -1 (no selection) leaves the byte in the image as it is.
    int lambdaType = -1;
    int injectionType = -1;
    int switchWay = -1;
};

// One row per setting, in the order the upload stores them: the engine
// speed's coding reads the injection type stored before it.
std::span<const fields::Field> settingFields();

// Every setting from the image. The list indexes are the bytes as they
// stand, possibly beyond their list.
Settings decode(const MemoryImage &image);

// Every setting into the image, in the order the ECU's upload has always
// used: the engine speed's coding reads the injection type stored just
// before it. Values outside what a byte holds are clamped to it.
void encode(const Settings &settings, MemoryImage &image);

} // namespace mainparams
