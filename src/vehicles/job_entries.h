#pragma once

#include "vehicles/job.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

// How the records keep what was recorded in a job: one row an entry, its
// kind a word and its content a JSON object, so a new kind of entry needs
// no new table. Times are ISO 8601 texts with their offset from UTC.
namespace jobentries {

inline constexpr char RestorePointKind[] = "restore-point";
inline constexpr char CalibrationKind[] = "calibration";
inline constexpr char MapKind[] = "map";
inline constexpr char FinalTestKind[] = "final-test";

// "2026-12-07T09:30:00.000+01:00"; "" for an invalid time.
QString dateText(const QDateTime &at);
// The local time of such a text; invalid for "" or a text that is not one.
QDateTime dateFrom(const QString &text);

QByteArray payload(const RestorePointEntry &entry);
QByteArray payload(const CalibrationEntry &entry);
QByteArray payload(const MapEntry &entry);
QByteArray payload(const FinalTestEntry &entry);

// Appends a stored entry to its list in record; an unknown kind is skipped
// (a newer tool's entry this one cannot show).
void addTo(JobRecord *record, const QDateTime &at, const QString &kind, const QByteArray &payload);

} // namespace jobentries
