#pragma once

#include "tuning/calibration_results.h"

#include <QList>
#include <QString>
#include <array>

class MemoryImage;

namespace calibration {

// A calibration corrects trims by tenths of a millisecond; a new trim more
// than this far from the ECU's (a customer's 0.4 ms becoming 3.2 ms) comes
// from samples taken off idle or while speed or load moved.
inline constexpr double PlausibleStepMs = 0.5;

// One trim a results write would change, as the ECU holds it and as written.
struct TrimChange {
    int bank = 0;
    double now = 0;
    double next = 0;
};

// The trims a write of these results would move by more than PlausibleStepMs:
// both banks' idle trims (idle), bank 1's trim from the load line (load).
QList<TrimChange> implausibleChanges(const MemoryImage &image, Kind kind,
                                     const std::array<BankTexts, 2> &texts);

// "bank 1 idle trim 0.4 ms, new 3.2 ms; bank 2 ..."
QString describeChanges(const QList<TrimChange> &changes);

} // namespace calibration
