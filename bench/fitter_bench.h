#pragma once

#include "figures.h"

#include <QString>

// Figures a fitter feels, against the simulator on portsDir/port:
//   start_to_data_seconds: the main window built, the port opened and the
//     data-loading form's read run to the end of the first whole read
//     (process start-up aside); at most 10 % over the read's wire time.
//   map_acquisition_rate_hz, map_acquisition_wire_ratio: the poll answers a
//     second while the map acquisition runs on the map screen.
// False, said on stderr, when the simulator did not answer.
bool benchStartToData(Figures &figures, const QString &portsDir, int port, int runs);
bool benchMapAcquisition(Figures &figures, const QString &portsDir, int port, int windows,
                         int intervals);

// With --calibration (it takes some 40 s):
//   calibration_seconds, calibration_wire_ratio: gasecu-cli's idle
//     calibration with the default steps, from launch to its results; the
//     ratio is the time the steps' poll answers take on the line over it.
bool benchCalibration(Figures &figures, const QString &cli, const QString &portsDir, int port);
