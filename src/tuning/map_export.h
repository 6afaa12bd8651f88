#pragma once

#include "tuning/band_stats.h"
#include "tuning/map_acquisition.h"

#include <QByteArray>
#include <QStringList>

// The band table and the crossing log as CSV, for a spreadsheet after the
// drive: one header line, then one line a band or a crossing, CR LF ends.
namespace mapexport {

// Bands 1..20: "Dep" range, petrol and gas values as the band fields show
// them (0.01 ms, empty when nothing was recorded), the gas-to-petrol gap in
// percent when both are set, and the band's entry of the gas correction table.
// petrol, gas, correction: 20 texts each, band 1 first.
QByteArray bandsCsv(const QStringList &petrol, const QStringList &gas,
                    const QStringList &correction);

// Every crossing kept by the acquisition.
QByteArray crossingsCsv(const QList<MapAcquisition::Crossing> &crossings);

// A drive's band statistics, one row a band: band, "Dep" from and to, the
// petrol mean (ms, two decimals) and its count, the gas mean and its count,
// and the gas mean against the petrol one in percent (signed, one decimal);
// "-" where there is nothing to say.
QList<QStringList> bandSummary(const BandStats &stats);
// The same rows as CSV, under a header.
QByteArray bandSummaryCsv(const BandStats &stats);

} // namespace mapexport
