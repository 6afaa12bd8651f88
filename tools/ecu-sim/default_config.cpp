#include "ecu-sim/default_config.h"

namespace ecusim {

// Settings of a typical LPG sequential installation on a petrol engine. Codings:
// flag+magnitude pressures are a sign byte and hundredths of a bar; u16 values are high byte first.
const QList<ConfigEntry> &defaultSettings() {
    static const QList<ConfigEntry> table = {
        {0x800, 0x00, "configuration area marker"},
        {0x801, 125, "bank 1 load trim: gas multiplier 1.25"},
        {0x802, 20, "bank 1 idle trim: 0.40 ms offset (x 2 / 100)"},
        {0x803, 35, "switch-over coolant temperature, 35 C"},
        {0x804, 0x00, "switch-over pressure sign: positive"},
        {0x805, 50, "switch-over pressure 0.50 bar"},
        {0x806, 20, "pressure alarm delay"},
        {0x807, 2, "delay before switch-over, 2 s"},
        {0x808, 20, "fuel overlapping 100 ms (x 5 ms)"},
        {0x809, 15, "temperature alarm below 15 C (s8)"},
        {0x80A, 0x00, "pressure alarm sign: positive"},
        {0x80B, 40, "pressure alarm below 0.40 bar"},
        {0x80C, 0, "lambda type: 0 - 1 V"},
        {0x80D, 0, "injection type: sequential (speed stored halved)"},
        {0x80E, 0, "reserved"},
        {0x80F, 0, "reserved"},
        {0x838, 0, "reserved"},
        {0x839, 124, "bank 2 load trim: gas multiplier 1.24"},
        {0x83A, 21, "bank 2 idle trim: 0.42 ms offset"},
        {0x83B, 1, "battery correction mode: ADD (x2)"},
        {0x87F, 0, "blocking flag: not blocked"},
        {0x882, 0x00, "lambda rich activation, high byte"},
        {0x883, 143, "lambda rich activation 0.70 V (10-bit counts of 5 V)"},
        {0x884, 0x00, "lambda lean activation, high byte"},
        {0x885, 41, "lambda lean activation 0.20 V"},
        {0x886, 20, "rich correction delay 1.0 s (x 0.05 s)"},
        {0x887, 20, "lean correction delay 1.0 s"},
        {0x888, 10, "detection repeat delay"},
        {0x889, 0x0F, "lambda correction active below, high byte"},
        {0x88A, 0xA0, "lambda correction active below 4000 rpm"},
        {0x88B, 10, "lean idle correction 0.20 ms (x 0.02 ms)"},
        {0x88C, 10, "rich idle correction 0.20 ms"},
        {0x88D, 5, "lean load correction"},
        {0x88E, 5, "rich load correction"},
        {0x88F, 0, "memorise correction: off"},
        {0xA39, 0, "reserved"},
        {0xA3A, 100, "level sensor range correction (0 - 90 ohm sender)"},
        {0xA3B, 1, "level sensor reading when full"},
        {0xA3C, 190, "level sensor reading when empty"},
        {0xA3D, 7, "level lamp 1/4 threshold %"},
        {0xA3E, 30, "level lamp 1/2 threshold %"},
        {0xA3F, 50, "level lamp 3/4 threshold %"},
        {0xA40, 83, "level lamp full threshold %"},
        {0xA41, 0, "way of switch-over: direct"},
        {0xA42, 0x03, "switch-over engine speed, high byte"},
        {0xA43, 0x84, "switch-over engine speed 900, shown 1800 rpm"},
        {0xA44, 20, "extra injection time, raw (0.819 ms)"},
        {0xA45, 100, "empty tank delay (x 0.005)"},
        {0xA46, 40, "cut-off delay (x 0.005)"},
    };
    return table;
}

void applyDefaultImage(EcuMemory &memory) {
    memory = EcuMemory();
    memory.set(0x000, FirmwareNumber);
    // Unused configuration space reads as erased memory.
    for (int a = 0xB5A; a < EcuMemory::FrameReach; ++a)
        memory.set(a, 0xFF);
    writeCoefficientTables(memory);
    writeNtcTables(memory); // before the settings that share the coolant table's space
    writeBatteryTable(memory);
    writeEmissionSchedule(memory);
    writeEmissionResults(memory);
    for (const ConfigEntry &e : defaultSettings())
        memory.set(e.address, quint8(e.value));
    memory.set(0x1000, FirmwareNumber);
}

} // namespace ecusim
