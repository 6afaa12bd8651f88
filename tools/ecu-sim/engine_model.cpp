#include "ecu-sim/engine_model.h"

#include "ecu-sim/band_correction_response.h"

#include <cmath>
#include <numbers>

namespace ecusim {

namespace {

constexpr double ThermostatC = 88.0;
constexpr double WorkingPressureBar = 1.05;
constexpr double RunningBatteryV = 13.9;
constexpr double CrankingBatteryV = 10.6;
constexpr int CrankTimeMs = 800;
constexpr int ProbeHeatMs = 20000;

// Approach `target` with time constant tau over dt seconds.
double approach(double value, double target, double dt, double tau) {
    return value + (target - value) * (1.0 - std::exp(-dt / tau));
}

// Linear interpolation in a 20-entry coefficient table whose entry n (1..20) sits at n * step.
int tableAt(const EcuMemory &mem, int base, double x, double step) {
    const double pos = qBound(1.0, x / step, 20.0);
    const int lower = int(pos);
    const int upper = qMin(lower + 1, 20);
    const double frac = pos - lower;
    const double v = mem.at(base + lower - 1) * (1 - frac) + mem.at(base + upper - 1) * frac;
    return int(std::lround(v));
}

// Flag+magnitude setting in hundredths: a non-zero sign byte makes the magnitude negative.
double signedHundredths(const EcuMemory &mem, int address) {
    const int magnitude = mem.at(address + 1);
    return (mem.at(address) != 0 ? magnitude - 256 : magnitude) / 100.0;
}

} // namespace

EngineModel::EngineModel(EcuMemory &memory, quint32 seed) : mem_(memory), rng_(seed) {
    for (double &s : spread_)
        s = 1.0 + noise(0.015); // injectors and manifold runners never match exactly
    rpm_ = 800 + 5 * (60 - AmbientC);
    for (int c = 0; c < Cylinders; ++c)
        petrolMs_[c] = petrolTimeMs(c);
    publish();
}

double EngineModel::noise(double amplitude) {
    return (rng_.generateDouble() * 2.0 - 1.0) * amplitude;
}

void EngineModel::requestGas() {
    if (fuel_ == FuelState::Petrol) {
        fuel_ = FuelState::WaitingForGas;
        waitedMs_ = 0;
    }
}

void EngineModel::requestPetrol() {
    fuel_ = FuelState::Petrol;
    waitedMs_ = 0;
}

void EngineModel::raiseAlarms(quint8 bits) {
    alarms_ |= bits;
    if (bits & (Alarm::Temperature | Alarm::Pressure))
        requestPetrol(); // the kit falls back to petrol on a gas-system alarm
}

void EngineModel::restart() {
    requestPetrol();
    alarms_ = 0;
    crankMs_ = CrankTimeMs;
    runMs_ = 0;
    rpm_ = 0;
    fuelTrim_ = 0;
    levelAverage_ = levelNow_;
}

void EngineModel::warmUp() {
    waterC_ = 85.0;
    gasC_ = 45.0;
    runMs_ = qMax(runMs_, ProbeHeatMs);
}

double EngineModel::petrolTimeMs(int cylinder) const {
    if (crankMs_ > 0)
        return 6.0;
    const double base = 2.5 + 0.09 * throttle_;
    const double coldEnrichment = 1.0 + 0.35 * qBound(0.0, (70.0 - waterC_) / 52.0, 1.0);
    return base * coldEnrichment * (1.0 + fuelTrim_) * spread_[cylinder];
}

int EngineModel::pressureTermHundredths() const {
    return qMax(0, tableAt(mem_, 0x810, pressureBar_, 0.1) - 100);
}

int EngineModel::temperatureTermHundredths() const {
    return qMax(0, tableAt(mem_, 0x824, tableAxis(), 5.0) - 100);
}

// While driving, the second correction table follows the load ("Dep").
double EngineModel::tableAxis() const {
    return driving_ ? drive_.dep() : gasC_;
}

void EngineModel::setDriving(bool on) {
    driving_ = on;
    drive_.reset();
    if (!on)
        throttle_ = 0;
}

// On the road: no injection while the throttle is shut at speed, and on gas
// the petrol ECU's loop answers the load band's gas correction.
void EngineModel::drivePetrolTimes() {
    for (int c = 0; c < Cylinders; ++c) {
        if (drive_.cutOff()) {
            petrolMs_[c] = 0.0;
        } else if (fuel_ == FuelState::Gas) {
            const bool bank2 = c >= Cylinders / 2;
            // The kit looks its table up with the load it reports (whole
            // numbers), so a crossing is always answered by the band it is logged in.
            petrolMs_[c] *= BandCorrectionResponse::petrolFactor(
                mem_, double(std::lround(drive_.dep())), mem_.at(bank2 ? 0x839 : 0x801) / 100.0,
                pressureTermHundredths() / 100.0);
        }
    }
}

double EngineModel::gasTimeMs(double petrolMs, int cylinder) const {
    // Gas time = petrol time x (load trim + pressure term + temperature term) + idle offset,
    // with the trims of the cylinder's bank.
    const bool bank2 = cylinder >= Cylinders / 2;
    const double multiplier = mem_.at(bank2 ? 0x839 : 0x801) / 100.0;
    const double offsetMs = mem_.at(bank2 ? 0x83A : 0x802) * 2 / 100.0;
    const double terms = (pressureTermHundredths() + temperatureTermHundredths()) / 100.0;
    return petrolMs * (multiplier + terms) + offsetMs;
}

// The petrol ECU's lambda loop answers a gas mixture the trims get wrong.
double EngineModel::petrolOnGasMs(double petrolMs, int cylinder) const {
    const int bank = cylinder >= Cylinders / 2 ? 1 : 0;
    const double terms = (pressureTermHundredths() + temperatureTermHundredths()) / 100.0;
    return petrolTimeOnGas(petrolMs, mem_.at(bank ? 0x839 : 0x801) / 100.0,
                           mem_.at(bank ? 0x83A : 0x802) * 2 / 100.0, terms,
                           gasNeeds_.multiplier[bank], gasNeeds_.offsetMs[bank]);
}

bool EngineModel::switchConditionsMet() const {
    if (waterC_ < mem_.at(0x803) || pressureBar_ < signedHundredths(mem_, 0x804))
        return false;
    if (mem_.at(0xA41) == 0)
        return true; // direct switch-over
    // Switch-over on acceleration or deceleration waits for the switch-over engine speed.
    const int stored = mem_.u16(0xA42);
    return rpm_ >= (mem_.at(0x80D) == 0 ? 2 * stored : stored);
}

void EngineModel::updateFuel(int ms) {
    if (fuel_ == FuelState::WaitingForGas) {
        const int delay = switchDelayMs_ >= 0 ? switchDelayMs_ : mem_.at(0x807) * 1000;
        waitedMs_ = switchConditionsMet() ? waitedMs_ + ms : 0;
        if (waitedMs_ >= delay && switchConditionsMet())
            fuel_ = FuelState::Gas;
    } else if (fuel_ == FuelState::Gas) {
        // Low pressure must last the pressure alarm delay (tenths of a second) to count.
        const bool low = pressureBar_ < signedHundredths(mem_, 0x80A);
        lowPressureMs_ = low ? lowPressureMs_ + ms : 0;
        if (waterC_ < mem_.s8(0x809))
            raiseAlarms(Alarm::Temperature);
        else if (low && lowPressureMs_ > mem_.at(0x806) * 100)
            raiseAlarms(Alarm::Pressure);
    }
}

void EngineModel::tick(int ms) {
    const double dt = ms / 1000.0;
    runMs_ += ms;
    // The fuel state first, on the last tick's readings, so the times this
    // tick reports belong to the state it reports with them.
    updateFuel(ms);
    if (driving_) {
        drive_.advance(ms);
        throttle_ = drive_.throttle();
    }

    const bool cranking = crankMs_ > 0;
    crankMs_ = qMax(0, crankMs_ - ms);
    waterC_ = approach(waterC_, ThermostatC, dt, 60.0) + noise(0.05);
    const double gasShare = fuel_ == FuelState::Gas ? 0.55 : 0.75; // evaporation cools the gas
    gasC_ = approach(gasC_, AmbientC + gasShare * (waterC_ - AmbientC), dt, 40.0) + noise(0.05);

    if (cranking) {
        rpm_ = 220 + noise(30);
    } else {
        const double idle = 800 + 5 * qMax(0.0, 60.0 - waterC_); // cold engines idle higher
        rpm_ = approach(rpm_, idle + 32.0 * throttle_, dt, 0.8) + noise(12);
    }

    const bool probeHot = runMs_ > ProbeHeatMs && waterC_ > 35.0 && !cranking;
    if (probeHot && driving_ && drive_.loop() != DriveCycle::Loop::Closed) {
        // Open loop: enrichment holds the probe at the rich rail, a cut
        // injection at the lean one.
        lambdaV_ =
            drive_.loop() == DriveCycle::Loop::Rich ? 0.88 + noise(0.01) : 0.04 + noise(0.005);
        fuelTrim_ = 0;
    } else if (probeHot) {
        // Closed loop: the probe swings rich/lean about once a second, faster with engine speed,
        // and the petrol ECU trims its injection time against it.
        lambdaPhase_ += dt * 2.0 * std::numbers::pi * (0.8 + rpm_ / 4000.0);
        lambdaPhase_ = std::fmod(lambdaPhase_, 2.0 * std::numbers::pi);
        lambdaV_ = 0.45 + 0.37 * std::tanh(3.0 * std::sin(lambdaPhase_)) + noise(0.015);
        fuelTrim_ = -0.03 * std::sin(lambdaPhase_);
    } else {
        lambdaV_ = 0.45 + noise(0.01); // cold probe: bias voltage, open loop
        fuelTrim_ = 0;
    }
    for (int c = 0; c < Cylinders; ++c) {
        petrolMs_[c] = qMax(0.0, petrolTimeMs(c) + noise(0.02));
        // Standing or held at a throttle, on gas the petrol ECU's loop answers
        // how far the gas trims are from the engine's needs; on the road
        // cycle it answers the load band's correction entry instead.
        if (fuel_ == FuelState::Gas && !driving_)
            petrolMs_[c] = petrolOnGasMs(petrolMs_[c], c) + noise(0.01);
    }
    if (driving_)
        drivePetrolTimes();

    if (fuel_ != FuelState::Petrol) // valves open: the reducer holds its pressure under flow
        pressureBar_ =
            approach(pressureBar_, WorkingPressureBar - 0.0015 * throttle_, dt, 0.4) + noise(0.008);
    else // valves shut: the trapped gas leaks away slowly
        pressureBar_ = approach(pressureBar_, 0.0, dt, 300.0);
    pressureBar_ = qMax(0.0, pressureBar_);

    if (fuel_ == FuelState::Gas)
        levelRaw_ = qMin(190.0, levelRaw_ + dt * (0.004 + 0.0004 * throttle_));
    levelNow_ = levelRaw_ + noise(2.0 + 0.06 * throttle_); // fuel slops in the tank
    levelAverage_ = approach(levelAverage_, levelNow_, dt, 10.0);

    batteryV_ =
        approach(batteryV_, cranking ? CrankingBatteryV : RunningBatteryV, dt, 0.5) + noise(0.02);

    publish();
}

void EngineModel::publish() const {
    mem_.set(0x002, quint8(fuel_));
    mem_.set(0x003, alarms_);
    const int speed = int(std::lround(qMax(0.0, rpm_)));
    mem_.setU16(0x008, mem_.at(0x80D) == 0 ? speed / 2 : speed); // sequential: stored halved

    for (int c = 0; c < Cylinders; ++c) {
        // Gas follows petrol: none while the petrol injection is cut.
        const double gas =
            fuel_ == FuelState::Gas && petrolMs_[c] > 0 ? gasTimeMs(petrolMs_[c], c) : 0.0;
        // Injection times: raw / 3.9 is hundredths of a millisecond.
        mem_.setHi255(0x00C + 2 * c, int(std::lround(petrolMs_[c] * 390.0)));
        mem_.setHi255(0x01C + 2 * c, int(std::lround(gas * 390.0)));
    }
    mem_.setS8(0x02C, int(std::lround(waterC_)));
    mem_.setS8(0x02D, int(std::lround(driving_ ? drive_.dep() : gasC_)));
    mem_.setU16(0x02E, int(std::lround(pressureBar_ * 100.0)));

    // The probe signal as the configured lambda type delivers it, in 1/200 V.
    const double x = qBound(0.0, lambdaV_, 1.0);
    static constexpr double scale[4][2] = {{0.0, 1.0}, {0.8, 0.8}, {0.0, 5.0}, {5.0, -5.0}};
    const int type = qMin(int(mem_.at(0x80C)), 3);
    mem_.setU16(0x030, int(std::lround((scale[type][0] + scale[type][1] * x) * 200.0)));

    mem_.set(0x032, quint8(qMin(255, pressureTermHundredths())));
    mem_.set(0x033, quint8(qMin(255, temperatureTermHundredths())));
    mem_.set(0x034, quint8(qBound(0L, std::lround(levelNow_), 255L)));
    mem_.set(0x035, quint8(qBound(0L, std::lround(levelAverage_), 255L)));
    const int battery = int(qBound(0L, std::lround(batteryV_ / 0.075), 255L));
    mem_.set(0x037, quint8(battery));
    mem_.set(0x038, quint8(qBound(0, battery - 133, 66))); // entry of the battery table in use
}

} // namespace ecusim
