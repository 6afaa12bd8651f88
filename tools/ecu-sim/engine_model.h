#pragma once

#include "ecu-sim/drive_cycle.h"
#include "ecu-sim/ecu_memory.h"
#include "ecu-sim/gas_trim_response.h"

#include <QRandomGenerator>

#include <array>

namespace ecusim {

enum class FuelState : quint8 { Petrol = 0, WaitingForGas = 1, Gas = 3 };

namespace Alarm {
constexpr quint8 Temperature = 2;
constexpr quint8 Pressure = 4;
constexpr quint8 StartOnGas = 128;
} // namespace Alarm

// A running engine with its gas system, as the ECU measures it. Each tick advances the physics by
// the given time and publishes the live area 0x000..0x046; settings are read from the memory on
// every tick, so a write from the tool takes effect at once. Same seed, same ticks, same values.
class EngineModel {
  public:
    static constexpr int Cylinders = 8; // two banks of four: 1-4 and 5-8
    static constexpr double AmbientC = 18.0;

    EngineModel(EcuMemory &memory, quint32 seed);

    void tick(int ms);

    void requestGas();
    void requestPetrol();
    void clearAlarms() { alarms_ = 0; }
    void raiseAlarms(quint8 bits);
    void restart(); // ECU reset: petrol, no alarms, the engine cranks and the lambda probe reheats

    void setThrottle(int percent) { throttle_ = qBound(0, percent, 100); }
    void warmUp();                                         // jump to operating temperature
    void setSwitchDelayMs(int ms) { switchDelayMs_ = ms; } // < 0: byte 0x807 in seconds
    // The road cycle drives the throttle, the load byte 0x02D and the petrol
    // ECU's loop; off, the engine idles at the throttle set by hand.
    void setDriving(bool on);
    bool driving() const { return driving_; }
    const DriveCycle &driveCycle() const { return drive_; }
    void setGasNeeds(const GasNeeds &needs) { gasNeeds_ = needs; }

    FuelState fuelState() const { return fuel_; }
    double rpm() const { return rpm_; }
    double waterC() const { return waterC_; }
    double pressureBar() const { return pressureBar_; }
    int throttle() const { return throttle_; }

    void publish() const; // writes the live area from the current state

  private:
    double noise(double amplitude);
    double petrolTimeMs(int cylinder) const;
    double gasTimeMs(double petrolMs, int cylinder) const;
    double petrolOnGasMs(double petrolMs, int cylinder) const;
    int pressureTermHundredths() const;
    int temperatureTermHundredths() const;
    bool switchConditionsMet() const;
    void updateFuel(int ms);
    double tableAxis() const; // what the second correction table is read at
    void drivePetrolTimes();

    bool driving_ = false;
    DriveCycle drive_;

    EcuMemory &mem_;
    QRandomGenerator rng_;
    std::array<double, Cylinders> spread_{};
    std::array<double, Cylinders> petrolMs_{};

    FuelState fuel_ = FuelState::Petrol;
    quint8 alarms_ = 0;
    int switchDelayMs_ = -1;
    GasNeeds gasNeeds_;
    int waitedMs_ = 0;
    int lowPressureMs_ = 0;
    int throttle_ = 0;
    int crankMs_ = 0; // time left cranking after a restart
    int runMs_ = 0;   // time since start, for the lambda probe heater
    double rpm_ = 0;
    double waterC_ = AmbientC;
    double gasC_ = AmbientC;
    double pressureBar_ = 0.85; // gas held in the reducer since the last run
    double lambdaPhase_ = 0;
    double lambdaV_ = 0.45;
    double fuelTrim_ = 0;  // closed-loop correction of the petrol ECU
    double levelRaw_ = 72; // sender reading: 1 full .. 190 empty
    double levelAverage_ = 72;
    double levelNow_ = 72;
    double batteryV_ = 13.9;
};

} // namespace ecusim
