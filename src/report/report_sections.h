#pragma once

#include "report/report_data.h"

class Sheet;

// The report's sections, each drawn down the sheet in the data's language.
namespace reportsections {

void header(Sheet &sheet, const ReportData &data);
void vehicle(Sheet &sheet, const ReportData &data);
void job(Sheet &sheet, const ReportData &data);
void dates(Sheet &sheet, const ReportData &data);
void calibrations(Sheet &sheet, const ReportData &data);
void maps(Sheet &sheet, const ReportData &data);
void finalTests(Sheet &sheet, const ReportData &data);
void changes(Sheet &sheet, const ReportData &data);
void settings(Sheet &sheet, const ReportData &data);
void tables(Sheet &sheet, const ReportData &data);

// "07/12/2026 10:15"; "-" for no date.
QString dateText(const QDateTime &at);

} // namespace reportsections
