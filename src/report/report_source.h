#pragma once

#include "report/report_data.h"

#include <QStringList>

#include <optional>

class RecordStore;

// Where a report's data comes from: a job's record, a memory file or the
// ECU's own memory, with the workshop's details and the tool's language.
namespace report {

// The texts of a loaded language file (texts 0..200) as the report reads
// them; a text the file leaves empty keeps the English one.
std::function<QString(int, const QString &)> languageOf(const QStringList &texts);

// The job's report: the configuration last written to the car, else the one
// first read; the first read to list what changed. Nothing, with *error
// set, when the job is unknown or holds no configuration yet.
std::optional<ReportData> forJob(const RecordStore &store, qint64 jobId, QString *error);

// A configuration that belongs to no job; source says where it came from.
ReportData forImage(const MemoryImage &image, const QString &source);

// The workshop's name and address as the records keep them.
void addWorkshop(ReportData &data, const RecordStore &store);

inline constexpr char WorkshopName[] = "workshop.name";
inline constexpr char WorkshopAddress[] = "workshop.address";

} // namespace report
