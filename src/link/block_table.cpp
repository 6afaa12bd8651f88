#include "link/block_table.h"

#include "ecu/memory_map.h"
#include "link/frames.h"
#include "link/hex.h"

namespace {
// The schedule's blocks each run one byte into the next: 51 bytes.
constexpr int ScheduleBlockLength = ecu::ScheduleSteps + 1;
} // namespace

BlockTable makeBlockTable() {
    return {
        "@R0003489",
        "@R8030B9F",
        "@R8013896",
        "@RA15249F",
        "@RA390EB4",
        "@R8A737AC",
        "@R8DE37BD",
        "@R9152497",
        "@R93937A1",
        "@R8013896",
        "@R970379C",
        "@R9A737AD",
        "@R9DE37BE",
        "@R83937A0",
        "@R870379B",
        "@RA4733A4",
        frames::readText(ecu::ScheduleTimes.address + ecu::ScheduleSteps, ScheduleBlockLength),
        frames::readText(ecu::ScheduleIdle.address, ScheduleBlockLength),
        frames::readText(ecu::ScheduleLoad.address, ScheduleBlockLength),
        frames::readText(ecu::ScheduleStates.address, ScheduleBlockLength),
        "@RB4119A3",
    };
}

BlockRange blockRange(const QByteArray &entry) {
    return {hex::value(QByteArrayView(entry).sliced(2, 3)),
            hex::value(QByteArrayView(entry).sliced(5, 2))};
}
