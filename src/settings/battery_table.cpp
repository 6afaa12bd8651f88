#include "settings/battery_table.h"

#include "ecu/memory_image.h"
#include "settings/number_format.h"

#include <array>
#include <cmath>

namespace battery {

namespace {
int toSigned(quint8 b) {
    return b < 128 ? b : b - 256;
}

quint8 fromSigned(int v) {
    return static_cast<quint8>(v < 0 ? v + 256 : v);
}

bool isIndex(double value) {
    const double r = number::roundHalfEven(value);
    return std::isfinite(value) && r >= 0 && r <= Entries - 1;
}
} // namespace

int entry(const MemoryImage &image, int i) {
    return toSigned(image.at(TableBase + i));
}

std::optional<quint8> entryByte(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    const double r = number::roundHalfEven(value);
    if (r < EntryMin || r > EntryMax)
        return std::nullopt;
    return fromSigned(static_cast<int>(r));
}

std::optional<quint8> modeByte(double value) {
    const std::optional<int> b = number::toByte(value);
    if (!b || *b >= ModeCount)
        return std::nullopt;
    return static_cast<quint8>(*b);
}

int modeOption(int b) {
    return b >= 0 && b < ModeCount ? b : 0;
}

double volts(int raw) {
    return raw * ecu::liveblock::BatteryVoltsPerCount;
}

LinkResult interpolate(MemoryImage &image, double start, double end) {
    if (!isIndex(start) || !isIndex(end))
        return LinkResult::OutOfRange;
    // The working list has one place more than the table; it reads 0 there.
    std::array<int, Entries + 1> t{};
    for (int i = 0; i < Entries; ++i)
        t[static_cast<std::size_t>(i)] = entry(image, i);

    double a = start;
    int b = static_cast<int>(number::roundHalfEven(end));
    if (b < a) {
        const double oldA = a;
        a = b;
        b = static_cast<int>(number::roundHalfEven(oldA));
    }
    if (a == b)
        return LinkResult::SameEnds;

    const int ia = static_cast<int>(number::roundHalfEven(a));
    const double tia = t[static_cast<std::size_t>(ia)];
    const double tb = t[static_cast<std::size_t>(b)];
    // The slope is held in single precision, each point computed in double.
    const double slope = static_cast<float>((tb - tia) / (b - a));
    for (int i = ia; i <= b; ++i) {
        const double x = tia + (i - a) * slope;
        // A start with a fraction may put the first point a little beyond its
        // neighbour's range; an entry never leaves -128..127.
        const int v = qBound(EntryMin, static_cast<int>(std::floor(x)), EntryMax);
        image.set(TableBase + i, fromSigned(v));
    }
    return LinkResult::Done;
}

} // namespace battery
