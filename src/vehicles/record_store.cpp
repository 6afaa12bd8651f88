#include "vehicles/record_store.h"

#include "files/restore_points.h"
#include "vehicles/job_entries.h"
#include "vehicles/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace {
const char *const VehicleColumns =
    "id, plate, vin, make, model, year, capacity_cc, cylinders, power_kw, odometer_km, reducer, "
    "injectors, nozzle, tank, firmware";
const char *const JobColumns = "id, vehicle_id, date, fitter, customer, kind, notes, first_read, "
                               "first_read_at, last_written, last_written_at";

// The plate as searches compare it: upper case, without blanks or dashes.
QString plateKey(const QString &plate) {
    QString key;
    for (const QChar c : plate) {
        if (!c.isSpace() && c.category() != QChar::Punctuation_Dash)
            key += c;
    }
    return key.toUpper();
}

// A text column is never NULL: an unset text is stored as "".
QVariant notNull(const QString &s) {
    return s.isNull() ? QVariant(QStringLiteral("")) : QVariant(s);
}

Vehicle vehicleFrom(const QSqlQuery &q) {
    Vehicle v;
    v.id = q.value(0).toLongLong();
    v.plate = q.value(1).toString();
    v.vin = q.value(2).toString();
    v.make = q.value(3).toString();
    v.model = q.value(4).toString();
    v.year = q.value(5).toInt();
    v.capacityCc = q.value(6).toInt();
    v.cylinders = q.value(7).toInt();
    v.powerKw = q.value(8).toInt();
    v.odometerKm = q.value(9).toInt();
    v.reducer = q.value(10).toString();
    v.injectors = q.value(11).toString();
    v.nozzle = q.value(12).toString();
    v.tank = q.value(13).toString();
    v.firmware = q.value(14).toInt();
    return v;
}

Job jobFrom(const QSqlQuery &q) {
    Job j;
    j.id = q.value(0).toLongLong();
    j.vehicleId = q.value(1).toLongLong();
    j.date = jobentries::dateFrom(q.value(2).toString());
    j.fitter = q.value(3).toString();
    j.customer = q.value(4).toString();
    j.kind = static_cast<Job::Kind>(std::max(0, kindFromName(q.value(5).toString())));
    j.notes = q.value(6).toString();
    j.firstRead = q.value(7).toByteArray();
    j.firstReadAt = jobentries::dateFrom(q.value(8).toString());
    j.lastWritten = q.value(9).toByteArray();
    j.lastWrittenAt = jobentries::dateFrom(q.value(10).toString());
    return j;
}

QVariantList vehicleValues(const Vehicle &v) {
    const QString key = plateKey(v.plate);
    return {notNull(v.plate),   key.isEmpty() ? QVariant() : QVariant(key),
            notNull(v.vin),     notNull(v.make),
            notNull(v.model),   v.year,
            v.capacityCc,       v.cylinders,
            v.powerKw,          v.odometerKm,
            notNull(v.reducer), notNull(v.injectors),
            notNull(v.nozzle),  notNull(v.tank),
            v.firmware};
}

QVariantList jobValues(const Job &j) {
    return {notNull(jobentries::dateText(j.date)), notNull(j.fitter), notNull(j.customer),
            kindName(j.kind), notNull(j.notes)};
}
} // namespace

struct RecordStore::Private {
    QString connection;
    QString path;
    QString error;
    int version = 0;
    bool open = false;

    QSqlDatabase db() const { return QSqlDatabase::database(connection, false); }

    void close() {
        open = false;
        version = 0;
        if (QSqlDatabase::contains(connection)) {
            db().close();
            QSqlDatabase::removeDatabase(connection);
        }
    }

    bool fail(const QString &what, const QSqlError &why = {}) {
        error = why.isValid() ? QStringLiteral("Records %1: %2 (%3).").arg(path, what, why.text())
                              : QStringLiteral("Records %1: %2.").arg(path, what);
        return false;
    }

    bool ready() {
        if (open)
            return true;
        error = QStringLiteral("No records database is open; nothing was read or changed.");
        return false;
    }

    // Runs sql with the values bound in order; on failure error says what
    // could not be done.
    bool run(QSqlQuery &q, const QString &sql, const QVariantList &values, const QString &what) {
        q = QSqlQuery(db());
        bool ok = q.prepare(sql);
        for (const QVariant &value : values)
            q.addBindValue(value);
        ok = ok && q.exec();
        return ok || fail(QStringLiteral("could not %1").arg(what), q.lastError());
    }
    bool run(const QString &sql, const QVariantList &values, const QString &what) {
        QSqlQuery q;
        return run(q, sql, values, what);
    }

    // Runs change as one transaction: all of it is committed or none.
    template <typename Change> bool write(const QString &what, Change change) {
        if (!ready())
            return false;
        QSqlQuery q(db());
        if (!q.exec(QStringLiteral("BEGIN IMMEDIATE")))
            return fail(QStringLiteral("could not %1; nothing was changed").arg(what),
                        q.lastError());
        if (!change()) {
            QSqlQuery(db()).exec(QStringLiteral("ROLLBACK"));
            error += QStringLiteral(" Nothing was changed.");
            return false;
        }
        if (q.exec(QStringLiteral("COMMIT")))
            return true;
        fail(QStringLiteral("could not %1; nothing was changed").arg(what), q.lastError());
        QSqlQuery(db()).exec(QStringLiteral("ROLLBACK"));
        return false;
    }

    // True when a row with id is in table; false with error set otherwise.
    bool exists(const char *table, qint64 id, const QString &name) {
        QSqlQuery q;
        if (!run(q, QStringLiteral("SELECT 1 FROM %1 WHERE id = ?").arg(QLatin1String(table)), {id},
                 QStringLiteral("look up %1 %2").arg(name).arg(id)))
            return false;
        return q.next() || fail(QStringLiteral("there is no %1 %2").arg(name).arg(id));
    }

    // Refuses a plate another vehicle than id already has.
    bool plateFree(const QString &plate, qint64 id) {
        const QString key = plateKey(plate);
        QSqlQuery q;
        if (key.isEmpty())
            return true;
        if (!run(q, QStringLiteral("SELECT plate FROM vehicles WHERE plate_key = ? AND id <> ?"),
                 {key, id}, QStringLiteral("look up the plate %1").arg(plate)))
            return false;
        return !q.next() || fail(QStringLiteral("the plate %1 is already stored (as %2)")
                                     .arg(plate, q.value(0).toString()));
    }

    bool addEntry(qint64 jobId, const QDateTime &at, const char *kind, const QByteArray &payload) {
        return write(QStringLiteral("record into job %1").arg(jobId), [&] {
            return exists("jobs", jobId, QStringLiteral("job")) &&
                   run(QStringLiteral("INSERT INTO job_entries (job_id, at, kind, payload) VALUES "
                                      "(?, ?, ?, ?)"),
                       {jobId, notNull(jobentries::dateText(at)), QString::fromLatin1(kind),
                        QString::fromUtf8(payload)},
                       QStringLiteral("record into job %1").arg(jobId));
        });
    }

    bool checkFile();
    bool prepareFile();
    bool upgrade();
};

RecordStore::RecordStore() : d(new Private) {
    static int connections = 0;
    d->connection = QStringLiteral("gasecu-records-%1").arg(++connections);
}

RecordStore::~RecordStore() {
    d->close();
    delete d;
}

QString RecordStore::defaultPath() {
    return QFileInfo(RestorePoints::defaultDirectory())
        .dir()
        .filePath(QStringLiteral("records.sqlite"));
}

bool RecordStore::open(const QString &path) {
    d->close();
    d->error.clear();
    d->path = QFileInfo(path.isEmpty() ? defaultPath() : path).absoluteFilePath();
    const QFileInfo info(d->path);
    if (!QDir().mkpath(info.absolutePath()))
        return d->fail(QStringLiteral("the folder %1 could not be created; no records are open")
                           .arg(info.absolutePath()));
    if (!d->checkFile())
        return false;
    bool opened = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), d->connection);
        db.setDatabaseName(d->path);
        opened = db.isValid() && db.open();
        if (!opened)
            d->fail(QStringLiteral("could not be opened; no records are open"), db.lastError());
    }
    if (!opened || !d->prepareFile() || !d->upgrade()) {
        d->close();
        return false;
    }
    d->open = true;
    return true;
}

// Before SQLite sees the file: an existing file must start as a database.
bool RecordStore::Private::checkFile() {
    const QFileInfo info(path);
    if (!info.exists())
        return true;
    if (!info.isFile())
        return fail(QStringLiteral("is not a file; no records are open"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(
            QStringLiteral("could not be read (%1); no records are open").arg(file.errorString()));
    const QByteArray header = file.read(16);
    if (header.isEmpty() || header == QByteArray("SQLite format 3\0", 16))
        return true;
    return fail(QStringLiteral("is not a records database (not an SQLite file); it is left as "
                               "it is and no records are open"));
}

// Checks the file is a whole database of ours that this version can read,
// touching nothing, then sets the connection up.
bool RecordStore::Private::prepareFile() {
    const QString leftAlone = QStringLiteral("; it is left as it is and no records are open");
    QSqlQuery q(db());
    if (!q.exec(QStringLiteral("PRAGMA quick_check")))
        return fail(QStringLiteral("is damaged or not a database") + leftAlone, q.lastError());
    QStringList problems;
    while (q.next())
        problems << q.value(0).toString();
    if (problems != QStringList{QStringLiteral("ok")})
        return fail(QStringLiteral("is damaged (%1)").arg(problems.join(u' ').simplified()) +
                    leftAlone);
    if (!q.exec(QStringLiteral("SELECT (SELECT application_id FROM pragma_application_id), "
                               "(SELECT user_version FROM pragma_user_version), "
                               "(SELECT count(*) FROM sqlite_master WHERE type = 'table')")) ||
        !q.next())
        return fail(QStringLiteral("could not be read") + leftAlone, q.lastError());
    const int applicationId = q.value(0).toInt();
    version = q.value(1).toInt();
    const int tables = q.value(2).toInt();
    q.finish();
    const bool empty = applicationId == 0 && version == 0 && tables == 0;
    if (!empty && applicationId != recordschema::ApplicationId)
        return fail(QStringLiteral("is a database of another program, not the workshop's records") +
                    leftAlone);
    if (version > RecordStore::SchemaVersion)
        return fail(QStringLiteral("was made by a newer gasecu (records version %1, this one reads "
                                   "up to %2)")
                        .arg(version)
                        .arg(RecordStore::SchemaVersion) +
                    leftAlone);
    // The write-ahead log keeps each commit whole when the program is
    // killed; synchronous FULL also syncs the log at each commit, so a job
    // the tool reported stored survives a power cut at the car too. Writes
    // are a handful a minute, so the sync costs nothing the fitter notices.
    if (!q.exec(QStringLiteral("PRAGMA journal_mode = WAL")) || !q.next() ||
        q.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0)
        return fail(QStringLiteral("could not be switched to write-ahead logging; no records are "
                                   "open"),
                    q.lastError());
    q.finish();
    if (!q.exec(QStringLiteral("PRAGMA synchronous = FULL")) ||
        !q.exec(QStringLiteral("PRAGMA foreign_keys = ON")))
        return fail(QStringLiteral("could not be set up; no records are open"), q.lastError());
    return true;
}

// Brings the file to SchemaVersion one version at a time, each step whole
// or not at all.
bool RecordStore::Private::upgrade() {
    for (int next = version + 1; next <= RecordStore::SchemaVersion; ++next) {
        QSqlQuery q(db());
        bool ok = q.exec(QStringLiteral("BEGIN IMMEDIATE"));
        const QStringList statements = recordschema::upgradeTo(next)
                                       << QStringLiteral("PRAGMA user_version = %1").arg(next);
        for (const QString &statement : statements) {
            if (!ok)
                break;
            ok = q.exec(statement);
        }
        if (!ok || !q.exec(QStringLiteral("COMMIT"))) {
            const QSqlError why = q.lastError();
            QSqlQuery(db()).exec(QStringLiteral("ROLLBACK"));
            return fail(version == 0
                            ? QStringLiteral("could not be created; no records are open")
                            : QStringLiteral("could not be upgraded from version %1 to %2; it is "
                                             "left at version %1 and no records are open")
                                  .arg(version)
                                  .arg(next),
                        why);
        }
        version = next;
    }
    return true;
}

bool RecordStore::isOpen() const {
    return d->open;
}
QString RecordStore::path() const {
    return d->path;
}
QString RecordStore::error() const {
    return d->error;
}
int RecordStore::schemaVersion() const {
    return d->version;
}

qint64 RecordStore::addVehicle(const Vehicle &vehicle) {
    qint64 id = 0;
    const bool ok = d->write(QStringLiteral("add the vehicle %1").arg(vehicle.plate), [&] {
        QSqlQuery q;
        if (!d->plateFree(vehicle.plate, 0) ||
            !d->run(
                q,
                QStringLiteral("INSERT INTO vehicles (plate, plate_key, vin, make, model, year, "
                               "capacity_cc, cylinders, power_kw, odometer_km, reducer, "
                               "injectors, nozzle, tank, firmware) VALUES "
                               "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                vehicleValues(vehicle), QStringLiteral("add the vehicle %1").arg(vehicle.plate)))
            return false;
        id = q.lastInsertId().toLongLong();
        return true;
    });
    return ok ? id : 0;
}

bool RecordStore::updateVehicle(const Vehicle &vehicle) {
    return d->write(QStringLiteral("change the vehicle %1").arg(vehicle.plate), [&] {
        return d->exists("vehicles", vehicle.id, QStringLiteral("vehicle")) &&
               d->plateFree(vehicle.plate, vehicle.id) &&
               d->run(QStringLiteral("UPDATE vehicles SET plate = ?, plate_key = ?, vin = ?, "
                                     "make = ?, model = ?, year = ?, capacity_cc = ?, "
                                     "cylinders = ?, power_kw = ?, odometer_km = ?, reducer = ?, "
                                     "injectors = ?, nozzle = ?, tank = ?, firmware = ? "
                                     "WHERE id = ?"),
                      vehicleValues(vehicle) << vehicle.id,
                      QStringLiteral("change the vehicle %1").arg(vehicle.plate));
    });
}

std::optional<Vehicle> RecordStore::vehicle(qint64 id) const {
    QSqlQuery q;
    if (!d->ready() ||
        !d->run(q,
                QStringLiteral("SELECT %1 FROM vehicles WHERE id = ?")
                    .arg(QLatin1String(VehicleColumns)),
                {id}, QStringLiteral("read vehicle %1").arg(id)) ||
        !q.next())
        return std::nullopt;
    return vehicleFrom(q);
}

QList<Vehicle> RecordStore::findVehicles(const QString &text) const {
    const QString key = plateKey(text);
    QSqlQuery q;
    QList<Vehicle> found;
    if (!d->ready() ||
        !d->run(q,
                QStringLiteral("SELECT %1 FROM vehicles WHERE ? = '' OR instr(plate_key, ?) > 0 OR "
                               "instr(upper(replace(replace(vin, ' ', ''), '-', '')), ?) > 0 "
                               "ORDER BY plate_key, id")
                    .arg(QLatin1String(VehicleColumns)),
                {notNull(key), notNull(key), notNull(key)}, QStringLiteral("search the vehicles")))
        return found;
    while (q.next())
        found << vehicleFrom(q);
    return found;
}

std::optional<Vehicle> RecordStore::vehicleByPlate(const QString &plate) const {
    QSqlQuery q;
    if (!d->ready() ||
        !d->run(q,
                QStringLiteral("SELECT %1 FROM vehicles WHERE plate_key = ?")
                    .arg(QLatin1String(VehicleColumns)),
                {plateKey(plate)}, QStringLiteral("look up the plate %1").arg(plate)) ||
        !q.next())
        return std::nullopt;
    return vehicleFrom(q);
}

qint64 RecordStore::addJob(const Job &job) {
    qint64 id = 0;
    const QString what = QStringLiteral("add a job to vehicle %1").arg(job.vehicleId);
    const bool ok = d->write(what, [&] {
        QSqlQuery q;
        if (!d->exists("vehicles", job.vehicleId, QStringLiteral("vehicle")) ||
            !d->run(q,
                    QStringLiteral("INSERT INTO jobs (date, fitter, customer, kind, notes, "
                                   "vehicle_id, first_read, first_read_at, last_written, "
                                   "last_written_at) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                    jobValues(job)
                        << job.vehicleId << (job.firstRead.isEmpty() ? QVariant() : job.firstRead)
                        << jobentries::dateText(job.firstReadAt)
                        << (job.lastWritten.isEmpty() ? QVariant() : job.lastWritten)
                        << jobentries::dateText(job.lastWrittenAt),
                    what))
            return false;
        id = q.lastInsertId().toLongLong();
        return true;
    });
    return ok ? id : 0;
}

bool RecordStore::updateJob(const Job &job) {
    const QString what = QStringLiteral("change job %1").arg(job.id);
    return d->write(what, [&] {
        return d->exists("jobs", job.id, QStringLiteral("job")) &&
               d->run(QStringLiteral("UPDATE jobs SET date = ?, fitter = ?, customer = ?, "
                                     "kind = ?, notes = ? WHERE id = ?"),
                      jobValues(job) << job.id, what);
    });
}

std::optional<Job> RecordStore::job(qint64 id) const {
    QSqlQuery q;
    if (!d->ready() ||
        !d->run(q,
                QStringLiteral("SELECT %1 FROM jobs WHERE id = ?").arg(QLatin1String(JobColumns)),
                {id}, QStringLiteral("read job %1").arg(id)) ||
        !q.next())
        return std::nullopt;
    return jobFrom(q);
}

QList<Job> RecordStore::jobs(qint64 vehicleId) const {
    QSqlQuery q;
    QList<Job> found;
    if (!d->ready() ||
        !d->run(q,
                QStringLiteral("SELECT %1 FROM jobs WHERE ? = 0 OR vehicle_id = ? ORDER BY id DESC")
                    .arg(QLatin1String(JobColumns)),
                {vehicleId, vehicleId}, QStringLiteral("read the jobs")))
        return found;
    while (q.next())
        found << jobFrom(q);
    // Dates carry their own offsets, so they are compared as instants, not
    // as texts; jobs of the same moment stay newest stored first.
    std::stable_sort(found.begin(), found.end(),
                     [](const Job &a, const Job &b) { return a.date > b.date; });
    return found;
}

std::optional<JobRecord> RecordStore::record(qint64 jobId) const {
    std::optional<Job> stored = job(jobId);
    QSqlQuery q;
    if (!stored ||
        !d->run(q,
                QStringLiteral(
                    "SELECT at, kind, payload FROM job_entries WHERE job_id = ? ORDER BY id"),
                {jobId}, QStringLiteral("read what was recorded in job %1").arg(jobId)))
        return std::nullopt;
    JobRecord out;
    out.job = *stored;
    while (q.next())
        jobentries::addTo(&out, jobentries::dateFrom(q.value(0).toString()), q.value(1).toString(),
                          q.value(2).toString().toUtf8());
    return out;
}

bool RecordStore::setFirstRead(qint64 jobId, const QByteArray &memoryFile, const QDateTime &at) {
    const QString what = QStringLiteral("keep the first read of job %1").arg(jobId);
    return d->write(what, [&] {
        return d->exists("jobs", jobId, QStringLiteral("job")) &&
               d->run(QStringLiteral("UPDATE jobs SET first_read = ?, first_read_at = ? "
                                     "WHERE id = ? AND ifnull(length(first_read), 0) = 0"),
                      {memoryFile, jobentries::dateText(at), jobId}, what);
    });
}

bool RecordStore::setLastWritten(qint64 jobId, const QByteArray &memoryFile, const QDateTime &at) {
    const QString what = QStringLiteral("keep the last write of job %1").arg(jobId);
    return d->write(what, [&] {
        return d->exists("jobs", jobId, QStringLiteral("job")) &&
               d->run(QStringLiteral(
                          "UPDATE jobs SET last_written = ?, last_written_at = ? WHERE id = ?"),
                      {memoryFile, jobentries::dateText(at), jobId}, what);
    });
}

bool RecordStore::addRestorePoint(qint64 jobId, const RestorePointEntry &entry) {
    return d->addEntry(jobId, entry.at, jobentries::RestorePointKind, jobentries::payload(entry));
}

bool RecordStore::addCalibration(qint64 jobId, const CalibrationEntry &entry) {
    return d->addEntry(jobId, entry.at, jobentries::CalibrationKind, jobentries::payload(entry));
}

bool RecordStore::addMap(qint64 jobId, const MapEntry &entry) {
    return d->addEntry(jobId, entry.at, jobentries::MapKind, jobentries::payload(entry));
}

bool RecordStore::addFinalTest(qint64 jobId, const FinalTestEntry &entry) {
    return d->addEntry(jobId, entry.at, jobentries::FinalTestKind, jobentries::payload(entry));
}

bool RecordStore::setFirmware(qint64 vehicleId, int firmware) {
    const QString what = QStringLiteral("keep the firmware of vehicle %1").arg(vehicleId);
    return d->write(what, [&] {
        return d->exists("vehicles", vehicleId, QStringLiteral("vehicle")) &&
               d->run(QStringLiteral("UPDATE vehicles SET firmware = ? WHERE id = ?"),
                      {firmware, vehicleId}, what);
    });
}

QString RecordStore::setting(const QString &key) const {
    QSqlQuery q;
    if (!d->ready() ||
        !d->run(q, QStringLiteral("SELECT value FROM settings WHERE key = ?"), {notNull(key)},
                QStringLiteral("read the setting %1").arg(key)) ||
        !q.next())
        return QString();
    return q.value(0).toString();
}

bool RecordStore::setSetting(const QString &key, const QString &value) {
    const QString what = QStringLiteral("keep the setting %1").arg(key);
    return d->write(what, [&] {
        return d->run(QStringLiteral("INSERT INTO settings (key, value) VALUES (?, ?) "
                                     "ON CONFLICT (key) DO UPDATE SET value = excluded.value"),
                      {notNull(key), notNull(value)}, what);
    });
}
