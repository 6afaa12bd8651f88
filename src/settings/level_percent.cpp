#include "settings/level_percent.h"

#include "settings/number_format.h"

namespace level {

std::optional<double> percent(const Range &range, double reading) {
    const bool descending = range.minimumByte >= range.maximumByte;
    const double reference = descending ? range.maximum : range.minimum;
    const double delta = number::roundHalfEven(reading - reference);
    if (delta == 0)
        return 0.0;
    if (range.minimum - range.maximum == 0)
        return std::nullopt;
    if (descending)
        return 100 / (range.minimum - range.maximum) * delta;
    return 100 - 100 / (range.maximum - range.minimum) * delta;
}

std::array<int, 5> lamps(double levelPercent, const std::array<int, 4> &thresholds) {
    auto green = [levelPercent](int threshold) {
        return levelPercent < threshold ? lamp::GreenOff : lamp::GreenOn;
    };
    return {green(thresholds[3]), green(thresholds[2]), green(thresholds[1]), green(thresholds[0]),
            levelPercent <= thresholds[0] ? lamp::RedOn : lamp::RedOff};
}

} // namespace level
