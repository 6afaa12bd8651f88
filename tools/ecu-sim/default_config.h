#pragma once

#include "ecu-sim/ecu_memory.h"

#include <QList>

namespace ecusim {

// One setting of the default image: what a fitter finds in a freshly installed kit.
struct ConfigEntry {
    int address;
    int value;
    const char *meaning;
};

constexpr quint8 FirmwareNumber = 15; // firmware with a second injector bank (trims 0x839/0x83A)

// Single settings, in address order.
const QList<ConfigEntry> &defaultSettings();

// Writes the whole default image: live area at rest, settings and every table.
void applyDefaultImage(EcuMemory &memory);

// Tables (default_tables.cpp).
void writeCoefficientTables(EcuMemory &memory); // 0x810..0x837
void writeNtcTables(EcuMemory &memory);         // coolant 0x839.., gas 0x939..
void writeBatteryTable(EcuMemory &memory);      // 0x83C..0x87E
void writeEmissionSchedule(EcuMemory &memory);  // 0xA47..0xB40
void writeEmissionResults(EcuMemory &memory);   // 0xB41..0xB59

// Temperature in degrees Celsius that an NTC table holds for a raw reading.
int coolantNtcCelsius(int raw);
int gasNtcCelsius(int raw);

} // namespace ecusim
