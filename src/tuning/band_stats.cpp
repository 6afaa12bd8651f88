#include "tuning/band_stats.h"

#include <cmath>

double BandStats::Band::spread() const {
    return count < 2 ? 0.0 : std::sqrt(sumSquares / (count - 1));
}

// Running mean and sum of squared deviations, so a long drive neither keeps
// every sample nor loses precision.
void BandStats::add(int band, Column column, double value, const QDateTime &when) {
    if (band < 1 || band > Bands)
        return;
    auto &bands = column == Column::Gas ? m_gas : m_petrol;
    Band &b = bands.at(std::size_t(band - 1));
    ++b.count;
    const double delta = value - b.mean;
    b.mean += delta / b.count;
    b.sumSquares += delta * (value - b.mean);
    b.lastFilled = when;
}

void BandStats::clear() {
    m_petrol = {};
    m_gas = {};
}

const BandStats::Band &BandStats::at(int band, Column column) const {
    const auto &bands = column == Column::Gas ? m_gas : m_petrol;
    return bands.at(std::size_t(band - 1));
}
