#pragma once

#include <QString>

#include <array>
#include <optional>

namespace ecusim {

// What the engine really needs on gas, bank by bank: the gas injection time
// that gives the right mixture is petrol time x (multiplier + the ECU's
// pressure and temperature terms) + offset. The trims the ECU holds
// (0x801/0x802 for bank 1, 0x839/0x83A for bank 2) are the fitter's guess
// of these; the calibration measures how far off the guess is.
struct GasNeeds {
    std::array<double, 2> multiplier{1.25, 1.24};
    std::array<double, 2> offsetMs{0.80, 0.74}; // the default trims are 0.40 and 0.42 ms short
};

// On gas the petrol ECU still runs its own lambda loop: when the gas mixture
// is lean it lengthens the petrol time it computes (which the gas ECU turns
// into gas time) until the mixture is right again, and shortens it when rich.
// Returns the petrol time it then reports: the one whose gas time, with the
// trims held, equals what the engine needs for the petrol time it would use
// on petrol. The loop's authority is limited to half and twice that time.
// "M1,O1,M2,O2": each bank's multiplier and offset in ms (0.5..3 and 0..5).
std::optional<GasNeeds> parseGasNeeds(const QString &text);

double petrolTimeOnGas(double petrolMs, double heldMultiplier, double heldOffsetMs,
                       double termsFactor, double needMultiplier, double needOffsetMs);

} // namespace ecusim
