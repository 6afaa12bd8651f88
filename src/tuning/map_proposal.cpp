#include "tuning/map_proposal.h"

#include "settings/number_format.h"
#include "tuning/band_stats.h"

#include <algorithm>

namespace mapproposal {

int corrected(int current, double petrolMean, double gasMean) {
    if (petrolMean <= 0 || gasMean <= 0)
        return current;
    const int wanted = int(number::roundHalfEven(current * gasMean / petrolMean));
    const int step = std::clamp(wanted - current, -MaxStep, MaxStep);
    return std::clamp(current + step, 0, EntryMax);
}

std::array<Entry, 20> propose(const std::array<int, 20> &current, const BandStats &stats) {
    std::array<Entry, 20> entries{};
    for (int k = 1; k <= 20; ++k) {
        Entry &e = entries.at(std::size_t(k - 1));
        e.current = e.proposed = current.at(std::size_t(k - 1));
        const BandStats::Band &petrol = stats.at(k, BandStats::Column::Petrol);
        const BandStats::Band &gas = stats.at(k, BandStats::Column::Gas);
        e.hasData = petrol.reliable() && gas.reliable() && petrol.mean > 0 && gas.mean > 0;
        if (e.hasData)
            e.proposed = corrected(e.current, petrol.mean, gas.mean);
    }
    return entries;
}

} // namespace mapproposal
