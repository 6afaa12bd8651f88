#pragma once

#include "tuning/map_acquisition.h"

#include <QDateTime>

#include <array>

// What the drive gathered in each depression band, for petrol and for gas:
// how many accepted crossings fell in it, their mean petrol-side injection
// time and its spread, and when the band was last filled. A band with fewer
// than MinSamples crossings is shown but never trusted for a correction.
class BandStats {
  public:
    static constexpr int Bands = MapAcquisition::Bands;
    static constexpr int MinSamples = 3;
    using Column = MapAcquisition::Column;

    struct Band {
        int count = 0;
        double mean = 0; // 0.01 ms
        double sumSquares = 0;
        QDateTime lastFilled;

        bool empty() const { return count == 0; }
        bool reliable() const { return count >= MinSamples; }
        // Sample standard deviation, 0.01 ms; 0 below two samples.
        double spread() const;
    };

    // band: 1..20; anything else is ignored.
    void add(int band, Column column, double value, const QDateTime &when);
    void clear();
    const Band &at(int band, Column column) const;

  private:
    std::array<Band, Bands> m_petrol{};
    std::array<Band, Bands> m_gas{};
};
