#include "tuning/map_curves.h"

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
    lines.append(QLineF(0, BaseY, FirstX, y(at(20))));
    for (int i = 1; i <= 19; ++i) {
        lines.append(QLineF(FirstX + BandStep * (i - 1), y(at(21 - i)), FirstX + BandStep * i,
                            y(at(20 - i))));
    }
    return lines;
}

} // namespace mapcurve
