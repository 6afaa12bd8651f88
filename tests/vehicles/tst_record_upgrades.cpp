// Records made by older versions of the tool are upgraded in place with
// their rows kept; a file that is not ours, is damaged or is newer is
// refused and left byte for byte as it was.
#include "pages/data_table.h"
#include "vehicles/record_store.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {
// Runs statements on the file through a connection of the test's own, as
// an older tool (or another program) would have written it.
void runSql(const QString &path, const QStringList &statements) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "test");
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery q(db);
        for (const QString &statement : statements)
            QVERIFY2(q.exec(statement), qPrintable(statement));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("test"));
}

int userVersion(const QString &path) {
    int version = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "test");
        db.setDatabaseName(path);
        QSqlQuery q(db);
        if (db.open() && q.exec(QStringLiteral("PRAGMA user_version")) && q.next())
            version = q.value(0).toInt();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("test"));
    return version;
}

QByteArray bytesOf(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The tables as the first version of the tool created them.
const QStringList Version1{
    "PRAGMA application_id = 1196639555",
    "CREATE TABLE vehicles (id INTEGER PRIMARY KEY, plate TEXT NOT NULL DEFAULT '', "
    "plate_key TEXT UNIQUE, vin TEXT NOT NULL DEFAULT '', make TEXT NOT NULL DEFAULT '', "
    "model TEXT NOT NULL DEFAULT '', year INTEGER NOT NULL DEFAULT 0)",
    "CREATE TABLE jobs (id INTEGER PRIMARY KEY, vehicle_id INTEGER NOT NULL REFERENCES "
    "vehicles(id), date TEXT NOT NULL DEFAULT '', fitter TEXT NOT NULL DEFAULT '', customer TEXT "
    "NOT NULL DEFAULT '', kind TEXT NOT NULL DEFAULT 'conversion', notes TEXT NOT NULL DEFAULT "
    "'')",
    "CREATE INDEX jobs_by_vehicle ON jobs(vehicle_id)",
    "INSERT INTO vehicles VALUES (7, 'ab-12 cd', 'AB12CD', 'VF7X', 'Peugeot', '206', 2004)",
    "INSERT INTO jobs VALUES (3, 7, '2019-05-02T08:30:00.000+02:00', 'Marc', 'M. Petit', "
    "'service', 'first visit')",
    "PRAGMA user_version = 1",
};

// The second version's tables, engine, kit and memory files included.
const QStringList Version2{
    "PRAGMA application_id = 1196639555",
    "CREATE TABLE vehicles (id INTEGER PRIMARY KEY, plate TEXT NOT NULL DEFAULT '', "
    "plate_key TEXT UNIQUE, vin TEXT NOT NULL DEFAULT '', make TEXT NOT NULL DEFAULT '', "
    "model TEXT NOT NULL DEFAULT '', year INTEGER NOT NULL DEFAULT 0, capacity_cc INTEGER NOT "
    "NULL DEFAULT 0, cylinders INTEGER NOT NULL DEFAULT 0, power_kw INTEGER NOT NULL DEFAULT 0, "
    "odometer_km INTEGER NOT NULL DEFAULT 0, reducer TEXT NOT NULL DEFAULT '', injectors TEXT "
    "NOT NULL DEFAULT '', nozzle TEXT NOT NULL DEFAULT '', tank TEXT NOT NULL DEFAULT '', "
    "firmware INTEGER NOT NULL DEFAULT -1)",
    "CREATE TABLE jobs (id INTEGER PRIMARY KEY, vehicle_id INTEGER NOT NULL REFERENCES "
    "vehicles(id), date TEXT NOT NULL DEFAULT '', fitter TEXT NOT NULL DEFAULT '', customer TEXT "
    "NOT NULL DEFAULT '', kind TEXT NOT NULL DEFAULT 'conversion', notes TEXT NOT NULL DEFAULT "
    "'', first_read BLOB, first_read_at TEXT, last_written BLOB, last_written_at TEXT)",
    "CREATE INDEX jobs_by_vehicle ON jobs(vehicle_id)",
    "INSERT INTO vehicles VALUES (7, 'ab-12 cd', 'AB12CD', 'VF7X', 'Peugeot', '206', 2004, "
    "1360, 4, 55, 212000, 'RX-9', 'Rail IG1', '2.0 mm', '42 l', 44)",
    "INSERT INTO jobs VALUES (3, 7, '2019-05-02T08:30:00.000+02:00', 'Marc', 'M. Petit', "
    "'service', 'first visit', X'46696E', '2019-05-02T09:00:00.000+02:00', NULL, NULL)",
    "PRAGMA user_version = 2",
};
} // namespace

class TestRecordUpgrades : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void oldFileUpgraded_data();
    void oldFileUpgraded();
    void failedUpgradeLeavesEarlierVersion();
    void refused_data();
    void refused();
};

void TestRecordUpgrades::oldFileUpgraded_data() {
    columns<QStringList, bool>("sql", "hasKit");
    row("version 1", Version1, false);
    row("version 2", Version2, true);
}

void TestRecordUpgrades::oldFileUpgraded() {
    const auto [sql, hasKit] = fetch<QStringList, bool>("sql", "hasKit");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("records.sqlite"));
    runSql(path, sql);
    {
        RecordStore store;
        QVERIFY2(store.open(path), qPrintable(store.error()));
        QCOMPARE(store.schemaVersion(), 3);
        const Vehicle v = *store.vehicleByPlate(QStringLiteral("AB 12-CD"));
        QCOMPARE(v.id, 7);
        QCOMPARE(v.title(), "ab-12 cd Peugeot 206");
        QCOMPARE(v.year, 2004);
        QCOMPARE(v.capacityCc, hasKit ? 1360 : 0);
        QCOMPARE(v.odometerKm, hasKit ? 212000 : 0);
        QCOMPARE(v.nozzle, hasKit ? "2.0 mm" : "");
        QCOMPARE(v.firmware, hasKit ? 44 : -1);
        const Job j = *store.job(3);
        QCOMPARE(j.date, QDateTime(QDate(2019, 5, 2), QTime(6, 30), Qt::UTC));
        QCOMPARE(j.kind, Job::Kind::Service);
        QCOMPARE(j.notes, "first visit");
        QCOMPARE(j.firstRead, hasKit ? QByteArray("Fin") : QByteArray());
        QCOMPARE(j.firstReadAt.isValid(), hasKit);
        QVERIFY(j.lastWritten.isEmpty());
        QVERIFY(!j.lastWrittenAt.isValid());
        // The new tables take rows.
        QVERIFY(store.addFinalTest(3, {QDateTime::currentDateTime(), {"CO 0.1"}}));
        QCOMPARE(store.record(3)->finalTests.size(), 1);
        QVERIFY(store.setSetting(QStringLiteral("workshop.name"), QStringLiteral("Gaz Nord")));
    }
    QCOMPARE(userVersion(path), 3);
}

void TestRecordUpgrades::failedUpgradeLeavesEarlierVersion() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("records.sqlite"));
    // A table in the way of the third version's.
    runSql(path, QStringList(Version1) << "CREATE TABLE settings (name TEXT)");
    RecordStore store;
    QVERIFY(!store.open(path));
    QVERIFY(!store.isOpen());
    QVERIFY2(store.error().startsWith(QStringLiteral("Records %1: could not be upgraded from "
                                                     "version 2 to 3; it is left at version 2 "
                                                     "and no records are open (")
                                          .arg(path)),
             qPrintable(store.error()));
    QCOMPARE(userVersion(path), 2);
    runSql(path, {"SELECT capacity_cc FROM vehicles", "SELECT * FROM jobs WHERE id = 3"});
}

void TestRecordUpgrades::refused_data() {
    columns<QString, QString>("file", "error");
    row("text file", QStringLiteral("text"),
        QStringLiteral("is not a records database (not an SQLite file); it is left as it is and "
                       "no records are open."));
    row("garbled database", QStringLiteral("garbled"), QStringLiteral("is damaged"));
    row("newer version", QStringLiteral("version 4"),
        QStringLiteral("was made by a newer gasecu (records version 4, this one reads up to 3); "
                       "it is left as it is and no records are open."));
    row("another program's", QStringLiteral("foreign"),
        QStringLiteral("is a database of another program, not the workshop's records; it is "
                       "left as it is and no records are open."));
}

void TestRecordUpgrades::refused() {
    const auto [file, error] = fetch<QString, QString>("file", "error");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("records.sqlite"));
    if (file == QLatin1String("text")) {
        QFile text(path);
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("plate;make\nAB-123-CD;Renault\n");
    } else if (file == QLatin1String("garbled")) {
        {
            RecordStore store;
            QVERIFY(store.open(path));
            const qint64 vehicle = store.addVehicle({});
            for (int k = 0; k < 40; ++k) {
                Job j;
                j.vehicleId = vehicle;
                j.notes = QStringLiteral("note %1 ").arg(k).repeated(100);
                QVERIFY(store.addJob(j) > 0);
            }
        }
        QFile garbled(path);
        QVERIFY(garbled.open(QIODevice::ReadWrite));
        QVERIFY(garbled.size() >= 10 * 4096);
        QVERIFY(garbled.seek(garbled.size() / 4096 / 2 * 4096));
        garbled.write(QByteArray(4096, '\xA5'));
    } else if (file == QLatin1String("version 4")) {
        runSql(path, QStringList(Version2) << "CREATE TABLE trips (id INTEGER PRIMARY KEY)"
                                           << "PRAGMA user_version = 4");
    } else {
        runSql(path, {"CREATE TABLE customers (name TEXT)", "INSERT INTO customers VALUES ('x')"});
    }
    const QByteArray before = bytesOf(path);
    QVERIFY(!before.isEmpty());

    RecordStore store;
    QVERIFY(!store.open(path));
    QVERIFY(!store.isOpen());
    QVERIFY2(store.error().startsWith(QStringLiteral("Records %1: %2").arg(path, error)),
             qPrintable(store.error()));
    QVERIFY(store.findVehicles({}).isEmpty());
    QCOMPARE(bytesOf(path), before);
}

QTEST_GUILESS_MAIN(TestRecordUpgrades)
#include "tst_record_upgrades.moc"
