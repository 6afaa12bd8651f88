#include "tuning/map_curves.h"

#include <cmath>

namespace mapcurve {

double y(double value) {
    return BaseY - (value / 100) * UnitsPerMs;
}

double x(int band) {
    return FirstX + BandStep * (20 - band);
}

QList<QLineF> segments(const std::array<double, 20> &values) {
    auto at = [&values](int band) { return values.at(static_cast<std::size_t>(band - 1)); };
    QList<QLineF> lines;
    lines.reserve(20);
    if (!std::isnan(at(20)))
        lines.append(QLineF(0, BaseY, FirstX, y(at(20))));
    for (int i = 1; i <= 19; ++i) {
        if (std::isnan(at(21 - i)) || std::isnan(at(20 - i)))
            continue;
        lines.append(QLineF(FirstX + BandStep * (i - 1), y(at(21 - i)), FirstX + BandStep * i,
                            y(at(20 - i))));
    }
    return lines;
}

} // namespace mapcurve
