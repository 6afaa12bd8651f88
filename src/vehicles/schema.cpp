#include "vehicles/schema.h"

namespace recordschema {

namespace {
// Version 1: vehicles with their plate (plate_key is the plate in upper
// case without blanks or dashes, the form searches compare) and jobs.
const char *const Version1[] = {
    "PRAGMA application_id = 1196639555",
    "CREATE TABLE vehicles ("
    " id INTEGER PRIMARY KEY,"
    " plate TEXT NOT NULL DEFAULT '',"
    " plate_key TEXT UNIQUE,"
    " vin TEXT NOT NULL DEFAULT '',"
    " make TEXT NOT NULL DEFAULT '',"
    " model TEXT NOT NULL DEFAULT '',"
    " year INTEGER NOT NULL DEFAULT 0)",
    "CREATE TABLE jobs ("
    " id INTEGER PRIMARY KEY,"
    " vehicle_id INTEGER NOT NULL REFERENCES vehicles(id),"
    " date TEXT NOT NULL DEFAULT '',"
    " fitter TEXT NOT NULL DEFAULT '',"
    " customer TEXT NOT NULL DEFAULT '',"
    " kind TEXT NOT NULL DEFAULT 'conversion',"
    " notes TEXT NOT NULL DEFAULT '')",
    "CREATE INDEX jobs_by_vehicle ON jobs(vehicle_id)",
};

// Version 2: the engine and the gas kit of each vehicle; the configuration
// first read from the car and the last one written to it in each job.
const char *const Version2[] = {
    "ALTER TABLE vehicles ADD COLUMN capacity_cc INTEGER NOT NULL DEFAULT 0",
    "ALTER TABLE vehicles ADD COLUMN cylinders INTEGER NOT NULL DEFAULT 0",
    "ALTER TABLE vehicles ADD COLUMN power_kw INTEGER NOT NULL DEFAULT 0",
    "ALTER TABLE vehicles ADD COLUMN odometer_km INTEGER NOT NULL DEFAULT 0",
    "ALTER TABLE vehicles ADD COLUMN reducer TEXT NOT NULL DEFAULT ''",
    "ALTER TABLE vehicles ADD COLUMN injectors TEXT NOT NULL DEFAULT ''",
    "ALTER TABLE vehicles ADD COLUMN nozzle TEXT NOT NULL DEFAULT ''",
    "ALTER TABLE vehicles ADD COLUMN tank TEXT NOT NULL DEFAULT ''",
    "ALTER TABLE vehicles ADD COLUMN firmware INTEGER NOT NULL DEFAULT -1",
    "ALTER TABLE jobs ADD COLUMN first_read BLOB",
    "ALTER TABLE jobs ADD COLUMN first_read_at TEXT",
    "ALTER TABLE jobs ADD COLUMN last_written BLOB",
    "ALTER TABLE jobs ADD COLUMN last_written_at TEXT",
};

// Version 3: what the tool records while the fitter works (restore points,
// calibrations, road drives, final tests; each a JSON object) and the
// workshop's own details.
const char *const Version3[] = {
    "CREATE TABLE job_entries ("
    " id INTEGER PRIMARY KEY,"
    " job_id INTEGER NOT NULL REFERENCES jobs(id),"
    " at TEXT NOT NULL DEFAULT '',"
    " kind TEXT NOT NULL,"
    " payload TEXT NOT NULL)",
    "CREATE INDEX job_entries_by_job ON job_entries(job_id)",
    "CREATE TABLE settings (key TEXT PRIMARY KEY, value TEXT NOT NULL)",
};

template <std::size_t N> QStringList listOf(const char *const (&statements)[N]) {
    QStringList out;
    for (const char *statement : statements)
        out << QString::fromLatin1(statement);
    return out;
}
} // namespace

QStringList upgradeTo(int version) {
    switch (version) {
    case 1:
        return listOf(Version1);
    case 2:
        return listOf(Version2);
    case 3:
        return listOf(Version3);
    default:
        return {};
    }
}

} // namespace recordschema
