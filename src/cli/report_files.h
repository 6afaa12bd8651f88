#pragma once

#include "report/report_data.h"

#include <QString>

#include <functional>

// What the report and job commands share: the tool's language and the
// report written with its message.
namespace cli {

// The language file prconfig.txt names in the current folder, as the tool
// shows it; English when there is none or it cannot be read.
std::function<QString(int, const QString &)> toolLanguage();

// Writes the report and prints "report PATH"; prints the reason and returns
// 3 when it could not be written (nothing is then left at path).
int writeReport(ReportData data, const QString &path);

} // namespace cli
