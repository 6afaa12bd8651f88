#pragma once

#include "vehicles/job.h"
#include "vehicles/vehicle.h"

#include <QList>
#include <QString>

#include <optional>

// The workshop's records: vehicles, their jobs and what was recorded in
// each, in one SQLite database in the user's data folder, next to the
// restore points. The file is opened in write-ahead-log mode and every
// change is one transaction, so a killed program leaves the last committed
// change whole. A file that is not a database of ours, or is damaged, is
// reported and left as it is, never replaced. An older file is upgraded in
// place, one version at a time, each step in its own transaction.
//
// Every call returns false (or an empty result) with error() set when the
// database could not do what was asked; nothing is then half written.
class RecordStore {
  public:
    static constexpr int SchemaVersion = 3;

    RecordStore();
    ~RecordStore();
    RecordStore(const RecordStore &) = delete;
    RecordStore &operator=(const RecordStore &) = delete;

    // "records.sqlite" in the data folder of the application named
    // "gasecu" (the restore points' folder's parent).
    static QString defaultPath();

    // Opens (or creates) the database at path; empty for defaultPath().
    bool open(const QString &path = {});
    bool isOpen() const;
    QString path() const;
    // The text of the last failure: what went wrong and with which file.
    QString error() const;
    // The schema version the file holds (SchemaVersion once open).
    int schemaVersion() const;

    // Vehicles. addVehicle returns the new id (0 on failure); a plate that
    // is already stored (ignoring case, blanks and dashes) is refused.
    qint64 addVehicle(const Vehicle &vehicle);
    bool updateVehicle(const Vehicle &vehicle);
    std::optional<Vehicle> vehicle(qint64 id) const;
    // Vehicles whose plate or VIN holds text (ignoring case, blanks and
    // dashes), by plate; every vehicle for an empty text.
    QList<Vehicle> findVehicles(const QString &text) const;
    std::optional<Vehicle> vehicleByPlate(const QString &plate) const;

    // Jobs. addJob returns the new id (0 on failure; the vehicle must exist).
    qint64 addJob(const Job &job);
    // Date, fitter, customer, kind and notes.
    bool updateJob(const Job &job);
    std::optional<Job> job(qint64 id) const;
    // A vehicle's jobs, newest first; every job for vehicleId 0.
    QList<Job> jobs(qint64 vehicleId = 0) const;
    std::optional<JobRecord> record(qint64 jobId) const;

    // What the tool records while the fitter works. The first read is kept
    // once (a later read of the same job leaves it); the last written is
    // replaced by each write.
    bool setFirstRead(qint64 jobId, const QByteArray &memoryFile, const QDateTime &at);
    bool setLastWritten(qint64 jobId, const QByteArray &memoryFile, const QDateTime &at);
    bool addRestorePoint(qint64 jobId, const RestorePointEntry &entry);
    bool addCalibration(qint64 jobId, const CalibrationEntry &entry);
    bool addMap(qint64 jobId, const MapEntry &entry);
    bool addFinalTest(qint64 jobId, const FinalTestEntry &entry);
    // The ECU's firmware byte, kept with the vehicle's kit.
    bool setFirmware(qint64 vehicleId, int firmware);

    // A consistent copy of the whole database at path (a new file; an
    // existing one is refused), taken while the tool may be writing.
    bool backupTo(const QString &path);

    // The workshop's own details for the reports ("" when not set).
    QString setting(const QString &key) const;
    bool setSetting(const QString &key, const QString &value);

  private:
    struct Private;
    Private *d;
};
