#include "tuning/calibration_results.h"

#include "settings/number_format.h"

#include <cmath>

namespace calibration {

namespace {
constexpr std::array<const char *, FieldCount> Names{
    "TxMinER",       "TxMoyenER",    "TxMinGR",   "TxMoyenGR", "TxNewRalenti",
    "TxDiffMoyen",   "TxMinEC",      "TxMoyenEC", "TxMinGC",   "TxMoyenGC",
    "TxNewRalentiC", "TxDiffMoyenC", "TxTIGR1",   "TxTIGR2",   "TxTIGR3",
    "TxTIGR4",       "TxApp1",       "TxApp2",    "TxCCHP1",   "TxRCHP1"};

// The six fields of a kind, starting at its petrol minimum.
void writeMeasured(BankTexts &texts, Field first, const Measured &m) {
    const double values[] = {m.petrolMin, m.petrolMean, m.gasMin, m.gasMean, m.diffMin, m.diffMean};
    for (int i = 0; i < 6; ++i)
        texts[first + i] = number::format(values[i]);
    // The difference of minima is the offset correction: always with a point.
    texts[first + 4] = number::formatPoint(m.diffMin);
}
} // namespace

const char *fieldName(Field field) {
    return Names[field];
}

BankTexts initialTexts() {
    BankTexts texts;
    texts.fill(QStringLiteral("0"));
    return texts;
}

double difference(double gas, double petrol) {
    return std::floor(100.0 * gas - 100.0 * petrol) / 100.0;
}

double meanWith(double mean, double x) {
    return mean != 0 ? (mean + x) / 2.0 : x;
}

double minimumWith(double minimum, double x, double exclusion) {
    return (x < minimum || minimum == 0) && exclusion < x ? x : minimum;
}

void writeResults(BankTexts &texts, const Measured &idle, const Measured &load, double loadTrim,
                  double idleTrim, double liveA, double liveB) {
    writeMeasured(texts, TxMinER, idle);
    writeMeasured(texts, TxMinEC, load);
    auto v = [&texts](Field f) { return number::parse(texts[f]); };
    auto set = [&texts](Field f, double value) { texts[f] = number::format(value); };

    const double s = liveA + loadTrim + liveB;
    set(TxTIGR1, v(TxMinER) * s + idleTrim + v(TxNewRalenti));
    set(TxTIGR2, v(TxMoyenER) * s + idleTrim + v(TxDiffMoyen));
    set(TxTIGR3, v(TxMinEC) * s + idleTrim + v(TxNewRalentiC));
    set(TxTIGR4, v(TxMoyenEC) * s + idleTrim + v(TxDiffMoyenC));
    texts[TxApp1] = number::formatPoint(idleTrim + v(TxNewRalenti));
    texts[TxApp2] = number::formatPoint(idleTrim + v(TxDiffMoyen));
    // The straight line through (idle petrol minimum, its gas time) and
    // (load petrol mean, its gas time): slope and intercept.
    const double run = v(TxMoyenEC) - v(TxMinER);
    if (run != 0)
        set(TxCCHP1, (v(TxTIGR4) - v(TxTIGR1)) / run);
    set(TxRCHP1, v(TxTIGR4) - v(TxCCHP1) * v(TxMoyenEC));
    // The multiplier the ECU adds its live terms to.
    set(TxCCHP1, v(TxCCHP1) - liveA - liveB);
}

bool acquisitionFailed(const BankTexts &bank1) {
    return number::parse(bank1[TxMinEC]) - number::parse(bank1[TxMinER]) - 1 < 0;
}

} // namespace calibration
