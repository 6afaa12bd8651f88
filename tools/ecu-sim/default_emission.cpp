// The emission test a kit leaves the workshop with: its schedule and the
// results of the last run.
#include "ecu-sim/default_config.h"

#include <array>
#include <cstdlib>

namespace ecusim {

namespace {

// One step of the test cycle: how long it lasts, the idle and load values
// (the idle value is kept halved, as the ECU stores it) and the state
// (1 = measured on gas, 0 = on petrol, for comparison).
struct Step {
    int seconds;
    int idleHalf;
    int load;
    int state;
};

// A warm-up at idle, then five rounds of rising load and a settle back to idle.
constexpr std::array<Step, 10> Round = {{{30, 80, 100, 1},
                                         {20, 80, 120, 1},
                                         {20, 82, 140, 1},
                                         {15, 84, 160, 1},
                                         {25, 78, 110, 1},
                                         {20, 80, 100, 0},
                                         {20, 82, 120, 0},
                                         {15, 84, 140, 0},
                                         {15, 80, 160, 0},
                                         {20, 78, 100, 1}}};

// Idle (Text1..Text6) and load (Text7..Text12) deviations of the last test, and its cycle count.
constexpr std::array<int, 6> ResultsText1to6 = {3, -2, 1, 0, -4, 2};
constexpr std::array<int, 6> ResultsText7to12 = {5, 4, -1, 2, 0, -3};
constexpr int ResultCycles = 12;

} // namespace

void writeEmissionSchedule(EcuMemory &memory) {
    int at = 0;
    for (int i = 0; i < 50; ++i) {
        const Step &step = Round[std::size_t(i % int(Round.size()))];
        at += step.seconds;
        memory.setU16(0xA47 + 2 * i, at);
        memory.set(0xAAB + i, quint8(step.idleHalf));
        memory.set(0xADD + i, quint8(step.load));
        memory.set(0xB0F + i, quint8(step.state));
    }
}

void writeEmissionResults(EcuMemory &memory) {
    for (int i = 0; i < 6; ++i) {
        memory.set(0xB41 + i, ResultsText7to12[i] < 0 ? 1 : 0);
        memory.set(0xB47 + i, quint8(std::abs(ResultsText7to12[i])));
        memory.set(0xB4D + i, ResultsText1to6[i] < 0 ? 1 : 0);
        memory.set(0xB53 + i, quint8(std::abs(ResultsText1to6[i])));
    }
    memory.set(0xB59, ResultCycles);
}

} // namespace ecusim
