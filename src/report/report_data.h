#pragma once

#include "ecu/memory_image.h"
#include "vehicles/job.h"
#include "vehicles/vehicle.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

// Everything a report prints. Built from a job's record, a memory file or
// the ECU's own memory; the parts not known are left empty and their
// sections say so.
struct ReportData {
    QString workshopName;
    QString workshopAddress; // may hold line ends

    std::optional<Vehicle> vehicle;
    std::optional<JobRecord> job;

    // The configuration reported (the last written, or the one read), and
    // where it came from: "ECU, read 07/12/2026 10:15", "File CLIO.fra".
    MemoryImage image;
    QString source;
    // The configuration first read from the car, to list what changed;
    // nothing when there is none to compare with.
    std::optional<MemoryImage> firstRead;

    QDateTime printedAt;

    // The tool's language: the text numbered n of the loaded language file,
    // or english when the file has none. Unset: English throughout.
    std::function<QString(int n, const QString &english)> text;
};
