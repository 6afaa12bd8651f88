#pragma once

namespace ecusim {

class EcuMemory;

// How the petrol ECU answers a wrong gas correction on the road. On gas the
// kit derives the gas time from the petrol time; where the load band's entry
// of the gas correction table (0x824 + band - 1) gives more gas than the
// engine needs, the mixture goes rich and the petrol ECU's closed loop
// shortens its own time, and the other way round. The factor returned scales
// the petrol time on gas: 1 where the entry is right.
//
// EngineNeeds is what this engine really wants per band: the default table
// is right at idle and a little lean everywhere else, most above half load
// (2 to 9 points, within one bounded step of a proposal), which shows as the
// gas curve standing above the petrol curve until the fitter raises those
// entries.
struct BandCorrectionResponse {
    static const int EngineNeeds[20];

    // Band of a load ("Dep") value, 1..20 (band k covers 5k..5k+5).
    static int band(double dep);
    // multiplier: the bank's load trim (0x801 / 100); pressureTerm: the
    // pressure table's term in the same units.
    static double petrolFactor(const EcuMemory &memory, double dep, double multiplier,
                               double pressureTerm);
};

} // namespace ecusim
