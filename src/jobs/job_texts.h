#pragma once

#include "vehicles/job.h"

#include <QString>

// The job panel's captions, in English, numbered in a language file from
// FirstText on; a file without them keeps the English.
namespace jobtexts {

enum Id : int {
    NoJob,
    PlateOrVin,
    NewVehicle,
    NewJob,
    Report,
    Workshop,
    History,
    Changes,
    Plate,
    Vin,
    MakeAndModel,
    Year,
    Capacity,
    Cylinders,
    Power,
    Odometer,
    Reducer,
    Injectors,
    Nozzle,
    Tank,
    Conversion,
    Service,
    Repair,
    Fitter,
    Customer,
    Notes,
    Cancel,
    NameAndAddress,
    NotStored,       // followed by the reason
    RecordsUnusable, // followed by the reason, which names the file
    Count
};

inline constexpr int FirstText = 171;

QString english(Id id);
// In the language loaded last.
QString text(Id id);
// "Conversion", "Service", "Repair" in the language loaded last.
QString kindText(Job::Kind kind);
// The menu's "Save", in the language loaded last.
QString save();

} // namespace jobtexts
