#pragma once

#include "report/report_data.h"

class Dialogs;
class Link;
class RecordStore;

// The conversion report of one job.
namespace jobreport {

// What the report prints for the job's record: the configuration last
// written in it, else first read, else the ECU's (or file's) image in the
// tool; the workshop from the store's settings; the loaded language's texts.
ReportData data(const RecordStore &store, const JobRecord &record, const Link &link);
// "AB-123-CD 2026-07-12.pdf": the plate (characters a file name cannot
// hold made dashes) and the job's date.
QString fileName(const Vehicle &vehicle, const Job &job);
// Asks where to save the report of the job, writes it and says where it
// went, or why it was not written (nothing is then left at the path).
void save(const RecordStore &store, qint64 jobId, const Link &link, Dialogs &dialogs);

} // namespace jobreport
