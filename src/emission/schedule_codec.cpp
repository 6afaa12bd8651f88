#include "emission/schedule_codec.h"

#include "ecu/memory_image.h"
#include "settings/number_format.h"

#include <cmath>

namespace schedule {

namespace {
constexpr int TimeLimit = 9999;
constexpr int IdleLimit = 510;
constexpr int LoadLimit = 255;
constexpr int StateLimit = 1;
} // namespace

int limit(Column column) {
    switch (column) {
    case Column::Time:
        return TimeLimit;
    case Column::Idle:
        return IdleLimit;
    case Column::Load:
        return LoadLimit;
    case Column::State:
        break;
    }
    return StateLimit;
}

int address(Column column, int entry) {
    switch (column) {
    case Column::Time:
        return ecu::ScheduleTimes.address + 2 * entry;
    case Column::Idle:
        return ecu::ScheduleIdle.address + entry;
    case Column::Load:
        return ecu::ScheduleLoad.address + entry;
    case Column::State:
        break;
    }
    return ecu::ScheduleStates.address + entry;
}

int decode(const MemoryImage &image, Column column, int entry) {
    const int at = address(column, entry);
    switch (column) {
    case Column::Time:
        return image.u16(at);
    case Column::Idle:
        return 2 * image.at(at);
    case Column::Load:
    case Column::State:
        break;
    }
    return image.at(at);
}

void encode(MemoryImage &image, Column column, int entry, int value) {
    const int at = address(column, entry);
    if (column == Column::Time) {
        const int high = number::toByteClamped(std::floor(value / 256.0));
        image.set(at, quint8(high));
        image.set(at + 1, quint8(number::toByteClamped(value - 256.0 * high)));
        return;
    }
    const double stored = column == Column::Idle ? value / 2.0 : value;
    image.set(at, quint8(number::toByteClamped(stored)));
}

int enteredValue(const QString &text, Column column) {
    const double v = number::roundHalfEven(number::parse(text));
    if (!std::isfinite(v) || v >= limit(column))
        return limit(column);
    // Only digits reach a cell through the keyboard; a pasted minus sign
    // gives the smallest value rather than a byte that wraps around.
    return v <= 0.0 ? 0 : static_cast<int>(v);
}

void initialise(MemoryImage &image) {
    for (int entry = 0; entry < EntryCount; ++entry) {
        encode(image, Column::Time, entry, 25 + 24 * entry);
        encode(image, Column::Idle, entry, 160);
        encode(image, Column::Load, entry, 120);
        encode(image, Column::State, entry, 1);
    }
}

} // namespace schedule
