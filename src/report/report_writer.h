#pragma once

#include "report/report_data.h"

#include <QString>

// The conversion report as a PDF on A4: the workshop, the vehicle and its
// kit, every setting by page with its unit, the calibration results, the
// map bands as a small chart, the final test, what changed against the
// configuration first read, dates and firmware. Black on white, so it
// prints the same on any printer. Needs a QGuiApplication (fonts).
namespace report {

// Writes the report to path (replacing a regular file only, never half a
// file). False with *error set, naming the path, when it was not written.
bool write(const ReportData &data, const QString &path, QString *error = nullptr);

} // namespace report
