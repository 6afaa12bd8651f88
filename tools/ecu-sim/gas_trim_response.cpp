#include "ecu-sim/gas_trim_response.h"

#include <QStringList>

#include <algorithm>

namespace ecusim {

std::optional<GasNeeds> parseGasNeeds(const QString &text) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return std::nullopt;
    GasNeeds needs;
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        const double value = parts[i].trimmed().toDouble(&ok);
        const bool multiplier = i % 2 == 0;
        if (!ok || value < 0 || value > (multiplier ? 3.0 : 5.0) || (multiplier && value < 0.5))
            return std::nullopt;
        (multiplier ? needs.multiplier : needs.offsetMs)[i / 2] = value;
    }
    return needs;
}

double petrolTimeOnGas(double petrolMs, double heldMultiplier, double heldOffsetMs,
                       double termsFactor, double needMultiplier, double needOffsetMs) {
    if (petrolMs <= 0)
        return petrolMs;
    const double needGasMs = petrolMs * (needMultiplier + termsFactor) + needOffsetMs;
    const double gain = heldMultiplier + termsFactor;
    // A zero multiplier delivers only the offset: the loop runs to its stop.
    const double reported = gain > 0 ? (needGasMs - heldOffsetMs) / gain : 2.0 * petrolMs;
    return std::clamp(reported, 0.5 * petrolMs, 2.0 * petrolMs);
}

} // namespace ecusim
