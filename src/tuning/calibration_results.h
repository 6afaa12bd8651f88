#pragma once

#include <QString>

#include <array>

// What an automatic calibration measured and what it derives from it, for
// one injector bank, as the texts the end forms show. Each field keeps the
// name of the end form's text field that shows it.
namespace calibration {

enum class Kind { Idle = 0, Load = 1 };

// The six values measured and compared per kind and bank.
struct Measured {
    double petrolMin = 0, petrolMean = 0, gasMin = 0, gasMean = 0;
    double diffMin = 0, diffMean = 0;
};

// Result fields of an end form, in the order they are listed there.
enum Field {
    TxMinER,
    TxMoyenER,
    TxMinGR,
    TxMoyenGR,
    TxNewRalenti,
    TxDiffMoyen,
    TxMinEC,
    TxMoyenEC,
    TxMinGC,
    TxMoyenGC,
    TxNewRalentiC,
    TxDiffMoyenC,
    TxTIGR1,
    TxTIGR2,
    TxTIGR3,
    TxTIGR4,
    TxApp1,
    TxApp2,
    TxCCHP1,
    TxRCHP1,
    FieldCount
};
const char *fieldName(Field field);

using BankTexts = std::array<QString, FieldCount>;
// Every result field reads "0" before the first calibration.
BankTexts initialTexts();

// floor(100 x gas - 100 x petrol) / 100: the difference in hundredths of a
// millisecond, always rounded towards minus infinity (-0.005 gives -0.01).
double difference(double gas, double petrol);

// A running mean with weight one half on the newest sample, started by the
// first sample (a mean of exactly 0 counts as not started).
double meanWith(double mean, double x);
// The minimum with x, unless x is at or below the exclusion time (such a
// sample never enters the minimum); a minimum of 0 counts as not started.
double minimumWith(double minimum, double x, double exclusion);

// The end form's texts after a calibration: the twelve measured values of
// both kinds, then the gas times, corrected idle offsets and the new load
// multiplier and offset, each computed from the texts just written (as the
// fitter reads them). loadTrim and idleTrim are the bank's current trims,
// liveA and liveB the ECU's two live terms. TxCCHP1 keeps its previous text
// when the load mean equals the idle minimum.
void writeResults(BankTexts &texts, const Measured &idle, const Measured &load, double loadTrim,
                  double idleTrim, double liveA, double liveB);

// A load calibration is refused when the bank-1 load petrol minimum is less
// than 1 ms above its idle petrol minimum (the engine was not under load).
bool acquisitionFailed(const BankTexts &bank1);

} // namespace calibration
