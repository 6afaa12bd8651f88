#pragma once

#include <array>

class BandStats;
class MemoryImage;

// The correction the depression table needs, band by band. On gas the kit
// makes the gas time from the petrol time times the bank's load trim plus
// the table terms, where an entry adds its part above 100 % (below 100 it
// adds nothing). The petrol ECU's lambda loop stretches its own time while
// the gas mixture is lean, so the petrol-side time on gas over the time on
// petrol is how much more gas the band needs: the entry moves by that
// ratio less one, times the whole factor it is part of. Entry k is the one
// behind band k; the pressure table's term is left out (it adds nothing at
// the reducer's working pressure).
namespace mapproposal {

inline constexpr int MaxStep = 10; // points an entry may move in one proposal
inline constexpr int EntryMax = 255;

struct Entry {
    int current = 0;
    int proposed = 0;
    bool hasData = false; // both fuels reliable in the band
    int difference() const { return proposed - current; }
};

// The entry that makes the gas time meet the petrol time, one bounded step;
// loadTrim is the bank-1 load trim as a multiplier (1.25 for 125).
int corrected(int current, double loadTrim, double petrolMean, double gasMean);

// current[k - 1] is entry k. Entries without reliable data on both fuels
// stay as they are.
std::array<Entry, 20> propose(const std::array<int, 20> &current, double loadTrim,
                              const BandStats &stats);

// The bank-1 load trim the image holds, as a multiplier.
double loadTrimOf(const MemoryImage &image);

} // namespace mapproposal
