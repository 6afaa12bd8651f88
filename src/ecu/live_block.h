#pragma once

// The live-data block the monitor polls, 0x000 onwards, and the second live
// area right after it: where each value lies and how its raw number becomes
// what the fitter reads.
namespace ecu::liveblock {

inline constexpr int Address = 0x000;
inline constexpr int Length = 55;

inline constexpr int Firmware = 0x000;  // the firmware identification byte
inline constexpr int FuelState = 0x002; // 0 petrol, 1 waiting for gas, 3 gas
inline constexpr int Alarms = 0x003;
inline constexpr int Speed = 0x008;       // word
inline constexpr int PetrolTimes = 0x00C; // 8 injection times
inline constexpr int GasTimes = 0x01C;    // 8 injection times
inline constexpr int WaterTemp = 0x02C;   // s8
inline constexpr int GasTemp = 0x02D;     // s8
inline constexpr int Pressure = 0x02E;    // word
inline constexpr int Lambda = 0x030;      // word
inline constexpr int TermA = 0x032;       // hundredths, read at the end of a calibration
inline constexpr int TermB = 0x033;
inline constexpr int LevelImmediate = 0x034;
inline constexpr int LevelAverage = 0x035; // averaged by the ECU

// The second live area, read on the battery and level pages.
inline constexpr int BatteryVoltage = 0x037;
inline constexpr int BatteryPointer = 0x038; // the table entry the ECU uses
inline constexpr int SecondLength = 16;

// An injection time is two bytes weighted 255 (not 256) and 1; its raw
// number / InjectionDivisor is hundredths of a millisecond.
inline constexpr int InjectionHighWeight = 255;
inline constexpr double InjectionDivisor = 3.9;
inline constexpr double PressureDivisor = 100.0; // hundredths of a bar
inline constexpr double LambdaDivisor = 200.0;   // 1/200 V
inline constexpr double BatteryVoltsPerCount = 0.075;

// Fuel states.
inline constexpr int OnPetrol = 0;
inline constexpr int OnGas = 3;

// True for an answer that carries the whole live block: a read from its
// first byte of at least its length. The whole-memory read's first block
// (52 bytes) and the port test's single byte start there too, but are not
// live answers.
constexpr bool isLiveAnswer(int address, int count) {
    return address == Address && count >= Length;
}

} // namespace ecu::liveblock
