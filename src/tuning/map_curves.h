#pragma once

#include <QLineF>
#include <QList>

#include <array>

// Where the band curves stand on the map screen's graph, in the graph's own
// units (480 wide, y growing downwards, zero time at 310, 12 units a ms).
// Band 20 stands at the left (x = 12) and band 1 at the right (x = 468).
namespace mapcurve {

inline constexpr double Width = 480;
inline constexpr double Height = 320;
inline constexpr double BaseY = 310;
inline constexpr double UnitsPerMs = 12;
inline constexpr double FirstX = 12;
inline constexpr double BandStep = 24;
// Curve colours, 0x00BBGGRR: green for the gas column, dark red for petrol.
inline constexpr int GasColour = 30000;
inline constexpr int PetrolColour = 70000;

// y of a band value in 0.01 ms.
double y(double value);
// x of band k (1..20).
double x(int band);
// The polyline of one column: from (0, 310) to band 20, then band by band
// down to band 1. values[k - 1] is band k's value in 0.01 ms; NaN marks an
// empty band, and the lines to and from it are left out, so the curve shows
// a gap there instead of diving to zero.
QList<QLineF> segments(const std::array<double, 20> &values);

} // namespace mapcurve
