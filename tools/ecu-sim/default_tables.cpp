#include "ecu-sim/default_config.h"

#include <array>
#include <cmath>

namespace ecusim {

namespace {

// Gas pressure correction, % of injection time, at 0.1, 0.2 ... 2.0 bar. The reducer is set to
// about 1 bar; below that the thinner gas needs longer injection.
constexpr std::array<int, 20> PressureCoefficients = {
    118, 116, 114, 112, 110, 108, 106, 104, 102, 100, //
    100, 100, 100, 100, 100, 100, 100, 100, 100, 100};

// Gas temperature correction, % of injection time, at 5, 10 ... 100 C: warm gas is less dense.
constexpr std::array<int, 20> GasTemperatureCoefficients = {
    100, 100, 100, 100, 100, 100, 101, 101, 102, 102, //
    103, 103, 104, 104, 105, 105, 106, 106, 107, 107};

// Temperature of an NTC thermistor read through a pull-up divider into an 8-bit converter:
// raw = 255 * R / (R + pullUp). Higher temperature, lower resistance, lower reading.
int ntcCelsius(int raw, double r25, double beta, double pullUp) {
    if (raw <= 0)
        return 127;
    if (raw >= 255)
        return -40;
    const double r = pullUp * raw / (255.0 - raw);
    const double inverseKelvin = 1.0 / 298.15 + std::log(r / r25) / beta;
    if (inverseKelvin <= 1.0 / (273.15 + 127.0))
        return 127;
    return qBound(-40, int(std::lround(1.0 / inverseKelvin - 273.15)), 127);
}

} // namespace

int coolantNtcCelsius(int raw) {
    return ntcCelsius(raw, 2000.0, 3450.0, 1000.0);
}

int gasNtcCelsius(int raw) {
    return ntcCelsius(raw, 4700.0, 3950.0, 2200.0);
}

void writeCoefficientTables(EcuMemory &memory) {
    for (int n = 0; n < 20; ++n) {
        memory.set(0x810 + n, quint8(PressureCoefficients[n]));
        memory.set(0x824 + n, quint8(GasTemperatureCoefficients[n]));
    }
}

void writeNtcTables(EcuMemory &memory) {
    // The coolant table shares its first entries with the bank 2 trims, the battery table and the
    // lambda block; those settings are written over it afterwards.
    for (int raw = 0; raw < 256; ++raw) {
        memory.setS8(0x839 + raw, coolantNtcCelsius(raw));
        memory.setS8(0x939 + raw, gasNtcCelsius(raw));
    }
}

void writeBatteryTable(EcuMemory &memory) {
    // Entry i is for the battery reading 133 + i (x 0.075 V: 9.98 V to 14.93 V). Injectors open
    // late on a weak battery, so low voltages add time; above 13.5 V a little is taken off.
    for (int i = 0; i < 67; ++i) {
        const double volts = (133 + i) * 0.075;
        const double correction =
            volts < 13.5 ? 40.0 * (13.5 - volts) / 3.5 : -4.0 * (volts - 13.5);
        memory.setS8(0x83C + i, int(std::lround(correction)));
    }
}

} // namespace ecusim
