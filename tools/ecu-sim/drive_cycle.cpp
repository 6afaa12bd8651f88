#include "ecu-sim/drive_cycle.h"

#include <QtGlobal>

#include <array>
#include <cmath>
#include <numbers>

namespace ecusim {

namespace {
using Loop = DriveCycle::Loop;

constexpr std::array<DriveCycle::Phase, 12> Phases{{
    {5000, 0, 0, Loop::Closed, "idle"},
    {2500, 0, 35, Loop::Rich, "accelerate"},
    {7000, 20, 20, Loop::Closed, "cruise 20 %"},
    {2000, 20, 50, Loop::Rich, "accelerate"},
    {7000, 40, 40, Loop::Closed, "cruise 40 %"},
    {3000, 0, 0, Loop::Lean, "decelerate, cut-off"},
    {2500, 30, 70, Loop::Rich, "accelerate"},
    {7000, 60, 60, Loop::Closed, "cruise 60 %"},
    {2000, 60, 90, Loop::Rich, "accelerate"},
    {6000, 80, 80, Loop::Closed, "cruise 80 %"},
    {3500, 0, 0, Loop::Lean, "decelerate, cut-off"},
    {1500, 0, 0, Loop::Closed, "idle"},
}};

// Load of the engine at a throttle opening, 0..100.
double loadAt(double throttle) {
    return 8.0 + 0.9 * throttle;
}
} // namespace

int DriveCycle::lengthMs() {
    int total = 0;
    for (const Phase &p : Phases)
        total += p.ms;
    return total;
}

const DriveCycle::Phase &DriveCycle::phase(int *startMs) const {
    int start = 0;
    for (const Phase &p : Phases) {
        if (timeMs_ < start + p.ms) {
            *startMs = start;
            return p;
        }
        start += p.ms;
    }
    *startMs = 0;
    return Phases.front();
}

int DriveCycle::throttle() const {
    int start = 0;
    const Phase &p = phase(&start);
    const double f = double(timeMs_ - start) / p.ms;
    return int(std::lround(p.throttleFrom + (p.throttleTo - p.throttleFrom) * f));
}

double DriveCycle::dep() const {
    int start = 0;
    const Phase &p = phase(&start);
    double load = loadAt(throttle());
    if (p.loop == Loop::Closed && p.throttleFrom > 0) // a road is never quite flat
        load += 4.0 * std::sin(2.0 * std::numbers::pi * (timeMs_ - start) / 3500.0);
    if (p.loop == Loop::Lean)
        load = 2.0; // throttle shut: high depression, no load
    return qBound(0.0, load, 100.0);
}

DriveCycle::Loop DriveCycle::loop() const {
    int start = 0;
    return phase(&start).loop;
}

QString DriveCycle::phaseName() const {
    int start = 0;
    return QString::fromLatin1(phase(&start).name);
}

} // namespace ecusim
