// The records keep vehicles, jobs and what was recorded in each exactly as
// given, find plates however the fitter types them, and refuse what would
// make them inconsistent.
#include "pages/data_table.h"
#include "vehicles/record_store.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

namespace {
// Times an hour ahead of UTC, so the offset is kept too.
QDateTime at(int day, int hour) {
    return QDateTime(QDate(2026, 3, day), QTime(hour, 17, 5, 250), QTimeZone(3600));
}
QString iso(const QDateTime &t) {
    return t.toUTC().toString(Qt::ISODateWithMs);
}

Vehicle clio() {
    return {0,      "AB-123-CD", "VF1BB0A0H12345678", "Renault", "Clio",          2011, 1149, 4, 55,
            187432, "RX-9 R",    "Rail IG1",          "1.9 mm",  "toroidal 54 l", 0x2C};
}

Job repair(qint64 vehicleId) {
    return {0,
            vehicleId,
            at(2, 9),
            "Marc",
            "Mme Durand",
            Job::Kind::Repair,
            "idle\nhunting",
            "FichierMemoire:01.Fin",
            "FichierMemoire:02.Fin",
            at(2, 10),
            at(2, 11)};
}

Vehicle plated(const QString &plate, const QString &vin, const QString &make = {}) {
    Vehicle v;
    v.plate = plate;
    v.vin = vin;
    v.make = make;
    return v;
}

Job dated(qint64 vehicleId, const QDateTime &date) {
    Job j;
    j.vehicleId = vehicleId;
    j.date = date;
    return j;
}

// Every field in one text, so one comparison tells any two fields apart.
template <typename... Parts> QString joined(const Parts &...parts) {
    return QStringList{QVariant(parts).toString()...}.join(u'|');
}
QString fields(const Vehicle &v) {
    return joined(v.id, v.plate, v.vin, v.make, v.model, v.year, v.capacityCc, v.cylinders,
                  v.powerKw, v.odometerKm, v.reducer, v.injectors, v.nozzle, v.tank, v.firmware);
}
QString fields(const Job &j) {
    return joined(j.id, j.vehicleId, iso(j.date), j.fitter, j.customer, kindName(j.kind), j.notes,
                  j.firstRead, j.lastWritten, iso(j.firstReadAt), iso(j.lastWrittenAt));
}
} // namespace

class TestRecordStore : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init();
    void cleanup() {
        delete m_store;
        delete m_dir;
    }
    void defaultPathIsInTheDataFolder();
    void vehicleRoundTrip();
    void jobRoundTrip();
    void plateSearch_data();
    void plateSearch();
    void duplicatePlateRefused();
    void entriesRoundTripInOrder();
    void firstReadKeptLastWrittenReplaced();
    void missingVehicleOrJobRefused();

  private:
    QTemporaryDir *m_dir = nullptr;
    RecordStore *m_store = nullptr;
};

void TestRecordStore::init() {
    m_dir = new QTemporaryDir;
    m_store = new RecordStore;
    QVERIFY2(m_store->open(m_dir->filePath("shop/records.sqlite")), qPrintable(m_store->error()));
    QCOMPARE(m_store->schemaVersion(), 3);
}

void TestRecordStore::defaultPathIsInTheDataFolder() {
    qputenv("XDG_DATA_HOME", m_dir->path().toUtf8());
    QCOMPARE(RecordStore::defaultPath(), m_dir->filePath("gasecu/records.sqlite"));
}

void TestRecordStore::vehicleRoundTrip() {
    Vehicle v = clio();
    v.id = m_store->addVehicle(v);
    QVERIFY(v.id > 0);
    QCOMPARE(fields(*m_store->vehicle(v.id)), fields(v));

    v = {v.id, "EF-456-GH", "W0L",    "Opel",   "Corsa",  2009,   1229, 3,
         59,   190001,      "Zenith", "Keihin", "2.1 mm", "60 l", 0x2C};
    QVERIFY(m_store->updateVehicle(v));
    QVERIFY(m_store->setFirmware(v.id, 0x31));
    v.firmware = 0x31;
    RecordStore other; // another connection sees what was committed
    QVERIFY(other.open(m_store->path()));
    QCOMPARE(fields(*other.vehicle(v.id)), fields(v));
    QVERIFY(!other.vehicle(v.id + 1));

    QVERIFY(m_store->setSetting("workshop.name", "Gaz Auto"));
    QVERIFY(m_store->setSetting("workshop.name", "Gaz Auto Sud"));
    QCOMPARE(other.setting("workshop.name"), "Gaz Auto Sud");
    QCOMPARE(other.setting("workshop.phone"), "");
}

void TestRecordStore::jobRoundTrip() {
    const qint64 a = m_store->addVehicle(clio());
    Job j = repair(a);
    j.id = m_store->addJob(j);
    QVERIFY(j.id > 0);
    QCOMPARE(fields(*m_store->job(j.id)), fields(j));

    Job changed = dated(0, at(3, 14));
    changed.id = j.id;
    changed.fitter = "Lucie";
    changed.customer = "Garage Nord";
    changed.kind = Job::Kind::Service;
    changed.notes = "yearly";
    QVERIFY(m_store->updateJob(changed));
    QCOMPARE(fields(*m_store->job(j.id)), // the memory files are not the update's
             "1|1|2026-03-03T13:17:05.250Z|Lucie|Garage Nord|service|yearly|FichierMemoire:01.Fin|"
             "FichierMemoire:02.Fin|2026-03-02T09:17:05.250Z|2026-03-02T10:17:05.250Z");

    // Newest first, by the job's date rather than by when it was stored.
    Vehicle second = clio();
    second.plate = "ZZ-999-ZZ";
    const Job b = dated(m_store->addVehicle(second), at(9, 8));
    const QList<qint64> ids{j.id, m_store->addJob(b), m_store->addJob(dated(a, at(12, 8))),
                            m_store->addJob(dated(a, at(7, 8)))};
    QList<qint64> ofA, all;
    for (const Job &job : m_store->jobs(a))
        ofA << job.id;
    for (const Job &job : m_store->jobs())
        all << job.id;
    QCOMPARE(ofA, QList<qint64>({ids[2], ids[3], ids[0]}));
    QCOMPARE(all, QList<qint64>({ids[2], ids[1], ids[3], ids[0]}));
}

void TestRecordStore::plateSearch_data() {
    columns<QString, QStringList>("text", "plates");
    row("empty lists all by plate", QString(), QStringList{"ab 123 cd", "AB-124-CD", "xy-55-zz"});
    row("case, blanks and dashes", QStringLiteral("b12 3-c"), QStringList{"ab 123 cd"});
    row("part of two plates", QStringLiteral("ab-12"), QStringList{"ab 123 cd", "AB-124-CD"});
    row("part of a VIN", QStringLiteral("wvw zzz-1"), QStringList{"xy-55-zz"});
    row("nothing", QStringLiteral("QQ"), QStringList{});
}

void TestRecordStore::plateSearch() {
    const auto [text, plates] = fetch<QString, QStringList>("text", "plates");
    for (const auto &[plate, vin] : {std::pair{"xy-55-zz", "WVWZZZ1JZXW000001"},
                                     {"AB-124-CD", "VF1AAAAA"},
                                     {"ab 123 cd", "VF1BBBBB"}})
        QVERIFY(m_store->addVehicle(plated(plate, vin)) > 0);
    QStringList found;
    for (const Vehicle &v : m_store->findVehicles(text))
        found << v.plate;
    QCOMPARE(found, plates);
    QCOMPARE(m_store->vehicleByPlate("Ab123 - Cd")->plate, "ab 123 cd");
    QVERIFY(!m_store->vehicleByPlate("AB-12-CD"));
}

void TestRecordStore::duplicatePlateRefused() {
    const qint64 first = m_store->addVehicle(clio());
    QCOMPARE(m_store->addVehicle(plated("ab 123cd", "VF1")), 0);
    QCOMPARE(m_store->error(), "Records " + m_store->path() +
                                   ": the plate ab 123cd is already stored (as AB-123-CD). "
                                   "Nothing was changed.");
    QCOMPARE(m_store->findVehicles({}).size(), 1);

    Vehicle other = plated("XX-000-XX", "VF2", "Renault");
    other.id = m_store->addVehicle(other);
    other.plate = "AB123CD";
    other.make = "Dacia";
    QVERIFY(!m_store->updateVehicle(other));
    QCOMPARE(fields(*m_store->vehicle(other.id)), "2|XX-000-XX|VF2|Renault||0|0|0|0|0|||||-1");
    QVERIFY(m_store->updateVehicle(*m_store->vehicle(first))); // its own plate is no duplicate
}

void TestRecordStore::entriesRoundTripInOrder() {
    const qint64 job = m_store->addJob(repair(m_store->addVehicle(clio())));
    QVERIFY(m_store->addRestorePoint(job, {at(4, 8), "/b/restore-1.fra"}));
    QVERIFY(m_store->addCalibration(job, {at(4, 9), 1, {"1.10", "2.20"}, {"9.90"}}));
    QVERIFY(m_store->addMap(job, {at(4, 10), {{"1", "2.5", "ok"}, {"2", "-1.5"}}, {3, -4}}));
    QVERIFY(m_store->addFinalTest(job, {at(4, 11), {"CO 0.12", "HC 41", "7"}}));
    QVERIFY(m_store->addRestorePoint(job, {at(4, 12), "/b/restore-2.fra"}));
    QVERIFY(m_store->addCalibration(job, {at(4, 13), 0, {"5.50"}, {}}));
    QVERIFY(m_store->addMap(job, {at(4, 14), {{"5", "0.0"}}, {}}));

    const JobRecord r = *m_store->record(job);
    QStringList seen;
    for (const RestorePointEntry &e : r.restorePoints)
        seen << iso(e.at) + " restore " + e.path;
    for (const CalibrationEntry &e : r.calibrations)
        seen << iso(e.at) + QStringLiteral(" calibration %1 ").arg(e.kind) + e.bank1.join(',') +
                    " / " + e.bank2.join(',');
    for (const MapEntry &e : r.maps) {
        QString applied;
        for (const int value : e.applied)
            applied += QString::number(value) + ';';
        seen << iso(e.at) + " map " + e.bands.value(0).join(',') + " | " +
                    e.bands.value(1).join(',') + " applied " + applied;
    }
    for (const FinalTestEntry &e : r.finalTests)
        seen << iso(e.at) + " final " + e.texts.join(',');
    QCOMPARE(r.job.id, job);
    QCOMPARE(seen, QStringList({"2026-03-04T07:17:05.250Z restore /b/restore-1.fra",
                                "2026-03-04T11:17:05.250Z restore /b/restore-2.fra",
                                "2026-03-04T08:17:05.250Z calibration 1 1.10,2.20 / 9.90",
                                "2026-03-04T12:17:05.250Z calibration 0 5.50 / ",
                                "2026-03-04T09:17:05.250Z map 1,2.5,ok | 2,-1.5 applied 3;-4;",
                                "2026-03-04T13:17:05.250Z map 5,0.0 |  applied ",
                                "2026-03-04T10:17:05.250Z final CO 0.12,HC 41,7"}));
}

void TestRecordStore::firstReadKeptLastWrittenReplaced() {
    const qint64 id = m_store->addJob(dated(m_store->addVehicle(clio()), at(6, 7)));
    QVERIFY(m_store->setFirstRead(id, "first", at(6, 8)));
    QVERIFY(m_store->setFirstRead(id, "second", at(6, 9)));
    QVERIFY(m_store->setLastWritten(id, "write 1", at(6, 10)));
    QVERIFY(m_store->setLastWritten(id, "write 2", at(6, 11)));
    QCOMPARE(fields(*m_store->job(id)), "1|1|2026-03-06T06:17:05.250Z|||conversion||first|write 2|"
                                        "2026-03-06T07:17:05.250Z|2026-03-06T10:17:05.250Z");
}

void TestRecordStore::missingVehicleOrJobRefused() {
    QCOMPARE(m_store->addJob(repair(77)), 0);
    QVERIFY(m_store->error().endsWith(": there is no vehicle 77. Nothing was changed."));
    QVERIFY(!m_store->addFinalTest(78, {at(1, 1), {"x"}}));
    QVERIFY(m_store->error().endsWith(": there is no job 78. Nothing was changed."));
    QVERIFY(!m_store->setLastWritten(79, "x", at(1, 1)));
    QVERIFY(!m_store->setFirmware(80, 1));
    QVERIFY(m_store->jobs().isEmpty());

    RecordStore closed;
    QCOMPARE(closed.addVehicle(clio()), 0);
    QCOMPARE(closed.error(), "No records database is open; nothing was read or changed.");
}

QTEST_GUILESS_MAIN(TestRecordStore)
#include "tst_record_store.moc"
