// The records keep vehicles, jobs and what was recorded in each exactly as
// given, find plates however the fitter types them, and refuse what would
// make them inconsistent.
#include "pages/data_table.h"
#include "vehicles/record_store.h"

#include <QTemporaryDir>
#include <QTest>

namespace {
Vehicle clio() {
    Vehicle v;
    v.plate = QStringLiteral("AB-123-CD");
    v.vin = QStringLiteral("VF1BB0A0H12345678");
    v.make = QStringLiteral("Renault");
    v.model = QStringLiteral("Clio");
    v.year = 2011;
    v.capacityCc = 1149;
    v.cylinders = 4;
    v.powerKw = 55;
    v.odometerKm = 187432;
    v.reducer = QStringLiteral("RX-9 R");
    v.injectors = QStringLiteral("Rail IG1");
    v.nozzle = QStringLiteral("1.9 mm");
    v.tank = QStringLiteral("toroidal 54 l");
    v.firmware = 0x2C;
    return v;
}

QDateTime at(int day, int hour) {
    return QDateTime(QDate(2026, 3, day), QTime(hour, 17, 5, 250));
}

Job conversion(qint64 vehicleId) {
    Job j;
    j.vehicleId = vehicleId;
    j.date = at(2, 9);
    j.fitter = QStringLiteral("Marc");
    j.customer = QStringLiteral("Mme Durand");
    j.kind = Job::Kind::Repair;
    j.notes = QStringLiteral("idle hunting\nreducer replaced");
    j.firstRead = "FichierMemoire:01.Fin\r\n";
    j.firstReadAt = at(2, 10);
    j.lastWritten = "FichierMemoire:02.Fin\r\n";
    j.lastWrittenAt = at(2, 11);
    return j;
}

void compareVehicles(const Vehicle &a, const Vehicle &b) {
    QCOMPARE(a.id, b.id);
    QCOMPARE(
        QStringList({a.plate, a.vin, a.make, a.model, a.reducer, a.injectors, a.nozzle, a.tank}),
        QStringList({b.plate, b.vin, b.make, b.model, b.reducer, b.injectors, b.nozzle, b.tank}));
    QCOMPARE(QList<int>({a.year, a.capacityCc, a.cylinders, a.powerKw, a.odometerKm, a.firmware}),
             QList<int>({b.year, b.capacityCc, b.cylinders, b.powerKw, b.odometerKm, b.firmware}));
}
} // namespace

class TestRecordStore : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init();
    void cleanup();
    void defaultPathIsInTheDataFolder();
    void vehicleRoundTrip();
    void jobRoundTrip();
    void jobsNewestFirst();
    void plateSearch_data();
    void plateSearch();
    void duplicatePlateRefused();
    void entriesRoundTripInOrder();
    void firstReadKeptLastWrittenReplaced();
    void missingVehicleOrJobRefused();
    void settings();

  private:
    QTemporaryDir *m_dir = nullptr;
    RecordStore *m_store = nullptr;
};

void TestRecordStore::init() {
    m_dir = new QTemporaryDir;
    m_store = new RecordStore;
    QVERIFY2(m_store->open(m_dir->filePath(QStringLiteral("shop/records.sqlite"))),
             qPrintable(m_store->error()));
    QCOMPARE(m_store->schemaVersion(), 3);
}

void TestRecordStore::cleanup() {
    delete m_store;
    delete m_dir;
}

void TestRecordStore::defaultPathIsInTheDataFolder() {
    qputenv("XDG_DATA_HOME", m_dir->path().toUtf8());
    QCOMPARE(RecordStore::defaultPath(), m_dir->filePath(QStringLiteral("gasecu/records.sqlite")));
}

void TestRecordStore::vehicleRoundTrip() {
    Vehicle v = clio();
    v.id = m_store->addVehicle(v);
    QVERIFY(v.id > 0);
    compareVehicles(*m_store->vehicle(v.id), v);

    v.plate = QStringLiteral("EF-456-GH");
    v.odometerKm = 190001;
    v.tank = QStringLiteral("cylindrical 60 l");
    QVERIFY(m_store->updateVehicle(v));
    QVERIFY(m_store->setFirmware(v.id, 0x31));
    v.firmware = 0x31;
    RecordStore reopened; // another connection sees what was committed
    QVERIFY(reopened.open(m_store->path()));
    compareVehicles(*reopened.vehicle(v.id), v);
    QVERIFY(!reopened.vehicle(v.id + 1));
}

void TestRecordStore::jobRoundTrip() {
    const qint64 vehicleId = m_store->addVehicle(clio());
    Job j = conversion(vehicleId);
    j.id = m_store->addJob(j);
    QVERIFY(j.id > 0);
    const Job stored = *m_store->job(j.id);
    QCOMPARE(stored.vehicleId, vehicleId);
    QCOMPARE(QList<QDateTime>({stored.date, stored.firstReadAt, stored.lastWrittenAt}),
             QList<QDateTime>({at(2, 9), at(2, 10), at(2, 11)}));
    QCOMPARE(QStringList({stored.fitter, stored.customer, stored.notes}),
             QStringList({j.fitter, j.customer, j.notes}));
    QCOMPARE(stored.kind, Job::Kind::Repair);
    QCOMPARE(stored.firstRead, QByteArray("FichierMemoire:01.Fin\r\n"));
    QCOMPARE(stored.lastWritten, QByteArray("FichierMemoire:02.Fin\r\n"));

    j.date = at(3, 14);
    j.fitter = QStringLiteral("Lucie");
    j.customer = QStringLiteral("Garage Nord");
    j.kind = Job::Kind::Service;
    j.notes = QStringLiteral("yearly service");
    QVERIFY(m_store->updateJob(j));
    const Job updated = *m_store->job(j.id);
    QCOMPARE(updated.date, at(3, 14));
    QCOMPARE(QStringList({updated.fitter, updated.customer, updated.notes}),
             QStringList({"Lucie", "Garage Nord", "yearly service"}));
    QCOMPARE(updated.kind, Job::Kind::Service);
    QCOMPARE(updated.firstRead, QByteArray("FichierMemoire:01.Fin\r\n")); // not an updated field
}

void TestRecordStore::jobsNewestFirst() {
    const qint64 a = m_store->addVehicle(clio());
    Vehicle other = clio();
    other.plate = QStringLiteral("ZZ-999-ZZ");
    const qint64 b = m_store->addVehicle(other);
    QList<qint64> ids;
    for (const auto &[vehicle, day] : {std::pair{a, 5}, {b, 9}, {a, 12}, {a, 7}}) {
        Job j = conversion(vehicle);
        j.date = at(day, 8);
        ids << m_store->addJob(j);
    }
    QList<qint64> ofA, all;
    for (const Job &j : m_store->jobs(a))
        ofA << j.id;
    for (const Job &j : m_store->jobs())
        all << j.id;
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
                                     {"ab 123 cd", "VF1BBBBB"}}) {
        Vehicle v;
        v.plate = QString::fromLatin1(plate);
        v.vin = QString::fromLatin1(vin);
        QVERIFY(m_store->addVehicle(v) > 0);
    }
    QStringList found;
    for (const Vehicle &v : m_store->findVehicles(text))
        found << v.plate;
    QCOMPARE(found, plates);
    QCOMPARE(m_store->vehicleByPlate(QStringLiteral("Ab123 - Cd"))->plate, "ab 123 cd");
    QVERIFY(!m_store->vehicleByPlate(QStringLiteral("AB-12-CD")));
}

void TestRecordStore::duplicatePlateRefused() {
    const qint64 first = m_store->addVehicle(clio());
    Vehicle twin = clio();
    twin.plate = QStringLiteral("ab 123cd");
    QCOMPARE(m_store->addVehicle(twin), 0);
    QVERIFY2(m_store->error().contains(
                 QLatin1String("the plate ab 123cd is already stored (as AB-123-CD)")),
             qPrintable(m_store->error()));
    QVERIFY(m_store->error().endsWith(QLatin1String("Nothing was changed.")));
    QCOMPARE(m_store->findVehicles({}).size(), 1);

    twin.plate = QStringLiteral("XX-000-XX");
    twin.id = m_store->addVehicle(twin);
    QVERIFY(twin.id > 0);
    twin.plate = QStringLiteral("AB123CD");
    twin.make = QStringLiteral("Dacia");
    QVERIFY(!m_store->updateVehicle(twin));
    QCOMPARE(m_store->vehicle(twin.id)->plate, "XX-000-XX");
    QCOMPARE(m_store->vehicle(twin.id)->make, "Renault");
    QVERIFY(m_store->updateVehicle(*m_store->vehicle(first))); // its own plate is no duplicate
}

void TestRecordStore::entriesRoundTripInOrder() {
    const qint64 job = m_store->addJob(conversion(m_store->addVehicle(clio())));
    const QStringList bank1{"1.10", "2.20", "3.30"}, bank2{"9.90"};
    QVERIFY(m_store->addRestorePoint(job, {at(4, 8), QStringLiteral("/b/restore-1.fra")}));
    QVERIFY(m_store->addCalibration(job, {at(4, 9), 1, bank1, bank2}));
    QVERIFY(
        m_store->addMap(job, {at(4, 10), {{"1", "2.5", "ok"}, {"2", "-1.5", "lean"}}, {3, -4}}));
    QVERIFY(m_store->addFinalTest(job, {at(4, 11), {"CO 0.12", "HC 41", "7"}}));
    QVERIFY(m_store->addRestorePoint(job, {at(4, 12), QStringLiteral("/b/restore-2.fra")}));
    QVERIFY(m_store->addCalibration(job, {at(4, 13), 0, bank2, {}}));
    QVERIFY(m_store->addMap(job, {at(4, 14), {{"5", "0.0"}}, {}}));

    const JobRecord r = *m_store->record(job);
    QCOMPARE(r.job.id, job);
    QCOMPARE(r.restorePoints.size(), 2);
    QCOMPARE(r.restorePoints[0].path, "/b/restore-1.fra");
    QCOMPARE(r.restorePoints[1].path, "/b/restore-2.fra");
    QCOMPARE(r.restorePoints[1].at, at(4, 12));
    QCOMPARE(r.calibrations.size(), 2);
    QCOMPARE(r.calibrations[0].kind, 1);
    QCOMPARE(r.calibrations[0].bank1, bank1);
    QCOMPARE(r.calibrations[0].bank2, bank2);
    QCOMPARE(r.calibrations[1].kind, 0);
    QCOMPARE(r.calibrations[1].bank1, bank2);
    QCOMPARE(r.calibrations[1].bank2, QStringList());
    QCOMPARE(r.maps.size(), 2);
    QCOMPARE(r.maps[0].bands, QList<QStringList>({{"1", "2.5", "ok"}, {"2", "-1.5", "lean"}}));
    QCOMPARE(r.maps[0].applied, QList<int>({3, -4}));
    QCOMPARE(r.maps[1].at, at(4, 14));
    QCOMPARE(r.maps[1].applied, QList<int>());
    QCOMPARE(r.finalTests.size(), 1);
    QCOMPARE(r.finalTests[0].texts, QStringList({"CO 0.12", "HC 41", "7"}));
    QCOMPARE(r.finalTests[0].at, at(4, 11));
}

void TestRecordStore::firstReadKeptLastWrittenReplaced() {
    Job j = conversion(m_store->addVehicle(clio()));
    j.firstRead.clear();
    j.lastWritten.clear();
    j.firstReadAt = j.lastWrittenAt = QDateTime();
    const qint64 id = m_store->addJob(j);
    QVERIFY(m_store->setFirstRead(id, "first", at(6, 8)));
    QVERIFY(m_store->setFirstRead(id, "second", at(6, 9)));
    QVERIFY(m_store->setLastWritten(id, "write 1", at(6, 10)));
    QVERIFY(m_store->setLastWritten(id, "write 2", at(6, 11)));
    const Job stored = *m_store->job(id);
    QCOMPARE(stored.firstRead, QByteArray("first"));
    QCOMPARE(stored.firstReadAt, at(6, 8));
    QCOMPARE(stored.lastWritten, QByteArray("write 2"));
    QCOMPARE(stored.lastWrittenAt, at(6, 11));
}

void TestRecordStore::missingVehicleOrJobRefused() {
    Job j = conversion(77);
    QCOMPARE(m_store->addJob(j), 0);
    QVERIFY2(m_store->error().contains(QLatin1String("there is no vehicle 77")),
             qPrintable(m_store->error()));
    QVERIFY(!m_store->addFinalTest(78, {at(1, 1), {"x"}}));
    QVERIFY(m_store->error().contains(QLatin1String("there is no job 78")));
    QVERIFY(!m_store->setLastWritten(79, "x", at(1, 1)));
    QVERIFY(!m_store->setFirmware(80, 1));
    QVERIFY(m_store->error().contains(QLatin1String("there is no vehicle 80")));
    QVERIFY(m_store->jobs().isEmpty());

    RecordStore closed;
    QVERIFY(!closed.isOpen());
    QCOMPARE(closed.addVehicle(clio()), 0);
    QCOMPARE(closed.error(), "No records database is open; nothing was read or changed.");
}

void TestRecordStore::settings() {
    QCOMPARE(m_store->setting(QStringLiteral("workshop.name")), QString());
    QVERIFY(m_store->setSetting(QStringLiteral("workshop.name"), QStringLiteral("Gaz Auto")));
    QVERIFY(m_store->setSetting(QStringLiteral("workshop.phone"), QStringLiteral("0102")));
    QVERIFY(m_store->setSetting(QStringLiteral("workshop.name"), QStringLiteral("Gaz Auto Sud")));
    QCOMPARE(m_store->setting(QStringLiteral("workshop.name")), "Gaz Auto Sud");
    QCOMPARE(m_store->setting(QStringLiteral("workshop.phone")), "0102");
}

QTEST_GUILESS_MAIN(TestRecordStore)
#include "tst_record_store.moc"
