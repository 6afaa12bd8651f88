#include "tuning/map_proposal.h"

#include "ecu/memory_image.h"
#include "ecu/memory_map.h"
#include "settings/number_format.h"
#include "tuning/band_stats.h"

#include <algorithm>

namespace mapproposal {

int corrected(int current, double loadTrim, double petrolMean, double gasMean) {
    if (petrolMean <= 0 || gasMean <= 0)
        return current;
    const int effective = std::max(current, 100); // below 100 an entry adds nothing
    const double factor = loadTrim + (effective - 100) / 100.0;
    const int change =
        int(number::roundHalfEven((gasMean - petrolMean) * factor * 100 / petrolMean));
    if (current < 100 && change <= 0)
        return current; // nothing to take away
    const int step = std::clamp(effective + change - current, -MaxStep, MaxStep);
    return std::clamp(current + step, 0, EntryMax);
}

std::array<Entry, 20> propose(const std::array<int, 20> &current, double loadTrim,
                              const BandStats &stats) {
    std::array<Entry, 20> entries{};
    for (int k = 1; k <= 20; ++k) {
        Entry &e = entries.at(std::size_t(k - 1));
        e.current = e.proposed = current.at(std::size_t(k - 1));
        const BandStats::Band &petrol = stats.at(k, BandStats::Column::Petrol);
        const BandStats::Band &gas = stats.at(k, BandStats::Column::Gas);
        e.hasData = petrol.reliable() && gas.reliable() && petrol.mean > 0 && gas.mean > 0;
        if (e.hasData)
            e.proposed = corrected(e.current, loadTrim, petrol.mean, gas.mean);
    }
    return entries;
}

double loadTrimOf(const MemoryImage &image) {
    const ecu::Field &trim = ecu::field::LoadTrim;
    return image.at(trim.address) * trim.num / double(trim.den);
}

} // namespace mapproposal
