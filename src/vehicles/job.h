#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// One visit of a car to the workshop: who, when, why, and what the tool
// recorded while the fitter worked.
struct Job {
    enum class Kind { Conversion = 0, Service = 1, Repair = 2 };

    qint64 id = 0; // 0: not stored yet
    qint64 vehicleId = 0;
    QDateTime date; // when the job was opened (local time)
    QString fitter;
    QString customer;
    Kind kind = Kind::Conversion;
    QString notes;
    // The configuration first read from the car during the job and the
    // last one written to it, each as a memory file's whole text (empty:
    // none yet).
    QByteArray firstRead;
    QByteArray lastWritten;
    QDateTime firstReadAt;
    QDateTime lastWrittenAt;
};

// "conversion", "service", "repair": the words the records and the command
// line use; kindFromName gives -1 for any other word.
QString kindName(Job::Kind kind);
int kindFromName(const QString &name);

// Something the tool recorded into a job while the fitter worked.
struct RestorePointEntry {
    QDateTime at;
    QString path; // the memory file kept before a write
};

// The texts of both banks' calibration end forms after a calibration
// (20 texts each, in the order of calibration::Field; bank 2 empty when
// the car has one bank).
struct CalibrationEntry {
    QDateTime at;
    int kind = 0; // calibration::Kind: 0 idle, 1 load
    QStringList bank1;
    QStringList bank2;
};

// A road drive's band statistics as mapexport::bandSummary gives them (one
// row a band), and the gas correction entries written after it (20, band 1
// first; empty when the proposal was not applied).
struct MapEntry {
    QDateTime at;
    QList<QStringList> bands;
    QList<int> applied;
};

// The emission test's result block: Text1..Text12 then the cycle count, as
// the final test screen shows them.
struct FinalTestEntry {
    QDateTime at;
    QStringList texts;
};

// Everything recorded into one job, oldest first within each kind.
struct JobRecord {
    Job job;
    QList<RestorePointEntry> restorePoints;
    QList<CalibrationEntry> calibrations;
    QList<MapEntry> maps;
    QList<FinalTestEntry> finalTests;
};
