#pragma once

#include "figures.h"

// report_seconds: a whole job's report (the simulator's configuration, an
// idle and a load calibration, a map drive of 20 bands, a final test and
// the changes against a first read) drawn and written as PDF, each time
// from scratch. At most 2 s: the fitter waits for it with the customer.
// False, said on stderr, when a report could not be written.
bool benchReport(Figures &figures, int runs);
