#pragma once

#include <array>

class BandStats;

// The correction the depression table needs, band by band. The petrol ECU's
// lambda loop stretches its injection time while the gas mixture is lean, so
// a band where the petrol-side time on gas exceeds the time on petrol needs
// more gas: its entry is raised in proportion (entry x gas / petrol), and
// lowered the other way round. Entry k is the one behind band k.
namespace mapproposal {

inline constexpr int MaxStep = 10; // points an entry may move in one proposal
inline constexpr int EntryMax = 255;

struct Entry {
    int current = 0;
    int proposed = 0;
    bool hasData = false; // both fuels reliable in the band
    int difference() const { return proposed - current; }
};

// The entry that makes the gas time meet the petrol time, one bounded step.
int corrected(int current, double petrolMean, double gasMean);

// current[k - 1] is entry k. Entries without reliable data on both fuels
// stay as they are.
std::array<Entry, 20> propose(const std::array<int, 20> &current, const BandStats &stats);

} // namespace mapproposal
