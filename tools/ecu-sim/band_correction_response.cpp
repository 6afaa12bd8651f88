#include "ecu-sim/band_correction_response.h"

#include "ecu-sim/ecu_memory.h"

#include <QtGlobal>

#include <cmath>

namespace ecusim {

const int BandCorrectionResponse::EngineNeeds[20] = {
    100, 100, 102, 103, 104, 104, 105, 105, 106, 106, //
    108, 110, 111, 112, 113, 114, 114, 115, 115, 116};

int BandCorrectionResponse::band(double dep) {
    return qBound(1, int(std::floor(dep / 5.0)), 20);
}

double BandCorrectionResponse::petrolFactor(const EcuMemory &memory, double dep, double multiplier,
                                            double pressureTerm) {
    const int k = band(dep);
    // The table's term as the kit applies it: the part above 100 %.
    auto term = [](int entry) { return qMax(0, entry - 100) / 100.0; };
    const double given = multiplier + pressureTerm + term(memory.at(0x824 + k - 1));
    const double needed = multiplier + pressureTerm + term(EngineNeeds[k - 1]);
    if (given <= 0.0 || needed <= 0.0)
        return 1.0;
    // Gas delivered in proportion to `given`; the loop brings it back to `needed`.
    return qBound(0.5, needed / given, 2.0);
}

} // namespace ecusim
