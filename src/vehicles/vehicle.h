#pragma once

#include <QString>

// A car the workshop has worked on, and the gas kit fitted to it. Numbers
// the fitter did not give are 0; the firmware is the byte read from the
// ECU, -1 until one was read.
struct Vehicle {
    qint64 id = 0; // 0: not stored yet
    QString plate; // as typed; searches ignore case, blanks and dashes
    QString vin;
    QString make;
    QString model;
    int year = 0;
    int capacityCc = 0; // engine capacity, cm³
    int cylinders = 0;
    int powerKw = 0;
    int odometerKm = 0;
    // The kit.
    QString reducer;
    QString injectors;
    QString nozzle; // nozzle size, as the kit's papers give it ("1.9 mm")
    QString tank;
    int firmware = -1;

    // "AB-123-CD Renault Clio"; the plate alone when nothing else is known.
    QString title() const;
};
