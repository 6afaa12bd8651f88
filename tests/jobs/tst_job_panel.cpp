// The job panel in the ready area: shown once data is loaded, a vehicle and
// a job made through its controls, the search by plate or VIN, a vehicle's
// history with what changed since each job, the report and the workshop,
// and damaged records that leave the tool working without jobs.
#include "jobs/job_fixture.h"
#include "jobs/job_history.h"
#include "jobs/job_panel.h"
#include "monitor/monitor_screen.h"
#include "support/fake_dialogs.h"
#include "support/sim_process.h"
#include "ui/menu.h"
#include "ui/screens.h"
#include "vehicles/job_images.h"
#include "vehicles/record_store.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QTest>

namespace {
QStringList texts(const QListWidget *list) {
    QStringList out;
    for (int row = 0; row < list->count(); ++row)
        out.append(list->item(row)->text());
    return out;
}
} // namespace

class TestJobPanel : public QObject, JobFixture {
    Q_OBJECT

  private Q_SLOTS:
    void init() { startWindow(); }
    void cleanup() { session.reset(); }

    void shownBehindTheScreensOnceDataIsLoaded() {
        QVERIFY(!panel()->isVisible());
        readEcu();
        QVERIFY(panel()->isVisible());
        QCOMPARE(panel()->parentWidget(), window->area()->viewport());
        QCOMPARE(panel()->geometry(), window->area()->viewport()->rect());
        QCOMPARE(control<QLabel>("CurrentJob")->text(), QStringLiteral("<i>No job</i>"));
        QVERIFY(!control<QPushButton>("NewJobButton")->isEnabled());
        QVERIFY(!control<QPushButton>("ReportButton")->isEnabled());
    }

    // Ctrl+J brings the panel forward from any screen: every screen hidden.
    void jobActionHidesTheScreens() {
        readEcu();
        QTest::mouseClick(window->menu().Moniteur, Qt::LeftButton);
        QVERIFY(window->screens().monitorScreen->isVisible());
        window->findChild<QAction *>(QStringLiteral("ActJob"))->trigger();
        QVERIFY(!window->screens().monitorScreen->isVisible());
        QVERIFY(panel()->isVisible());
    }

    void newVehicleAndJobThroughTheControls() {
        readEcu();
        click("NewVehicleButton");
        QVERIFY(!control<QPushButton>("SaveVehicleButton")->isEnabled()); // no plate yet
        type("PlateEdit", QStringLiteral("AB-123-CD"));
        type("VinEdit", QStringLiteral("vf1bb05cf12345678"));
        type("MakeEdit", QStringLiteral("Renault"));
        type("ModelEdit", QStringLiteral("Clio"));
        type("YearEdit", QStringLiteral("2014"));
        type("CylindersEdit", QStringLiteral("4"));
        type("ReducerEdit", QStringLiteral("RX-2"));
        type("NozzleEdit", QStringLiteral("1.9 mm"));
        click("SaveVehicleButton");
        QCOMPARE(texts(control<QListWidget>("VehicleList")),
                 QStringList{"AB-123-CD Renault Clio   VF1BB05CF12345678"});

        click("NewJobButton");
        control<QComboBox>("KindChoice")->setCurrentIndex(1);
        type("FitterEdit", QStringLiteral("Ana"));
        type("CustomerEdit", QStringLiteral("Taxi Co"));
        click("SaveJobButton");

        RecordStore &store = panel()->store();
        const std::optional<Vehicle> car = store.vehicleByPlate(QStringLiteral("ab 123 cd"));
        QVERIFY(car);
        QCOMPARE(car->year, 2014);
        QCOMPARE(car->cylinders, 4);
        QCOMPARE(car->nozzle, QStringLiteral("1.9 mm"));
        const QList<Job> jobs = store.jobs(car->id);
        QCOMPARE(jobs.size(), 1);
        QCOMPARE(panel()->currentJob(), jobs[0].id);
        QCOMPARE(jobs[0].kind, Job::Kind::Service);
        QCOMPARE(jobs[0].customer, QStringLiteral("Taxi Co"));
        const QString date = jobs[0].date.toString(QStringLiteral("dd/MM/yyyy hh:mm"));
        QCOMPARE(control<QLabel>("CurrentJob")->text(),
                 "<b>AB-123-CD Renault Clio</b><br>Reducer: RX-2 · Nozzle: 1.9 mm<br>" + date +
                     " · Service · Fitter: Ana · Customer: Taxi Co");
        // The fitter is offered again for the next job.
        QCOMPARE(store.setting(QStringLiteral("job.fitter")), QStringLiteral("Ana"));
        click("NewJobButton");
        QCOMPARE(control<QLineEdit>("FitterEdit")->text(), QStringLiteral("Ana"));
        click("CancelJobButton");
        QCOMPARE(store.jobs(car->id).size(), 1);
    }

    void samePlateTwiceIsRefused() {
        readEcu();
        newVehicleAndJob(QStringLiteral("AB-123-CD"));
        click("NewVehicleButton");
        type("PlateEdit", QStringLiteral("ab 123cd"));
        click("SaveVehicleButton");
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(dialogs.shown[0].text.startsWith(QStringLiteral(" Not stored: ")));
        QCOMPARE(panel()->store().findVehicles({}).size(), 1);
    }

    void searchByAVinFragment() {
        readEcu();
        RecordStore &store = panel()->store();
        Vehicle a, b;
        a.plate = QStringLiteral("GX-501-ZT");
        a.vin = QStringLiteral("WVWZZZ1JZXW000111");
        b.plate = QStringLiteral("KL-77-PP");
        b.vin = QStringLiteral("VF7NC9HD8AY123999");
        QVERIFY(store.addVehicle(a) && store.addVehicle(b));
        type("VehicleSearch", QStringLiteral("hd8ay"));
        QCOMPARE(texts(control<QListWidget>("VehicleList")),
                 QStringList{"KL-77-PP   VF7NC9HD8AY123999"});
        type("VehicleSearch", QStringLiteral("zzz"));
        QCOMPARE(texts(control<QListWidget>("VehicleList")),
                 QStringList{"GX-501-ZT   WVWZZZ1JZXW000111"});
    }

    // Two jobs, newest first; the older one selected shows what changed
    // between the configuration it left and the current job's.
    void historyNewestFirstWithChanges() {
        readEcu();
        RecordStore &store = panel()->store();
        Vehicle car;
        car.plate = QStringLiteral("AB-123-CD");
        const qint64 carId = store.addVehicle(car);
        Job older;
        older.vehicleId = carId;
        older.date = QDateTime(QDate(2026, 3, 1), QTime(14, 0));
        older.fitter = QStringLiteral("Ben");
        older.customer = QStringLiteral("Taxi Co");
        const qint64 olderId = store.addJob(older);
        Job newer = older;
        newer.date = QDateTime(QDate(2026, 7, 12), QTime(9, 30));
        newer.kind = Job::Kind::Service;
        newer.fitter = QStringLiteral("Ana");
        newer.customer.clear();
        const qint64 newerId = store.addJob(newer);
        // The configurations as read from the ECU, the switch-over
        // temperature set to each job's.
        const auto configuration = [this](int switchTemperature) {
            MemoryImage image = link->image;
            image.set(0x803, quint8(switchTemperature));
            return jobimages::memoryFileOf(image);
        };
        const QDateTime at = QDateTime::currentDateTime();
        QVERIFY(store.setFirstRead(olderId, configuration(30), at));
        QVERIFY(store.setLastWritten(olderId, configuration(35), at));
        QVERIFY(store.setFirstRead(newerId, configuration(40), at));

        type("VehicleSearch", QStringLiteral("AB"));
        control<QListWidget>("VehicleList")->setCurrentRow(0);
        panel()->resumeJob(newerId);
        auto *history = control<QListWidget>("HistoryList");
        QCOMPARE(texts(history),
                 (QStringList{"● 12/07/2026 09:30  ·  Service  ·  Ana",
                              "01/03/2026 14:00  ·  Conversion  ·  Ben  ·  Taxi Co"}));
        history->setCurrentRow(1);
        QCOMPARE(texts(control<QListWidget>("ChangesList")),
                 QStringList{"Switch-over temperature 35 °C → 40 °C"});
        // The current job against its own first read: the ECU read at 35 °C.
        history->setCurrentRow(0);
        QCOMPARE(texts(control<QListWidget>("ChangesList")),
                 QStringList{"Switch-over temperature 40 °C → 35 °C"});
    }

    void reportAndWorkshop() {
        readEcu();
        click("WorkshopButton");
        type("WorkshopNameEdit", QStringLiteral("Garage Nord"));
        click("SaveWorkshopButton");
        QCOMPARE(panel()->store().setting(QStringLiteral("workshop.name")),
                 QStringLiteral("Garage Nord"));
        newVehicleAndJob(QStringLiteral("AB 123 CD"));
        const QString path = dir.filePath(QStringLiteral("clio.pdf"));
        dialogs.fileAnswers = {path};
        click("ReportButton");
        const QString day = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
        QCOMPARE(dialogs.fileAsked.last(),
                 (QStringList{"Report", "PDF(*.pdf)|*.pdf", "AB-123-CD " + day + ".pdf"}));
        QCOMPARE(dialogs.texts(), QStringList{" File saved: " + path + ' '});
        QVERIFY(QFile::exists(path));

        dialogs.shown.clear();
        dialogs.fileAnswers = {dir.filePath(QStringLiteral("no-such-folder/clio.pdf"))};
        click("ReportButton");
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(dialogs.shown[0].text.startsWith(QStringLiteral(" File not saved: ")));
    }

    // Records that are not a database: said in the panel's place with the
    // file, and the menu works as without jobs.
    void damagedRecordsLeaveTheToolWorking() {
        const QString path = RecordStore::defaultPath();
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile damaged(path);
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write(QByteArray(4096, '\x5a'));
        damaged.close();
        readEcu();
        QLabel *message = control<QLabel>("RecordsMessage");
        QVERIFY(message->isVisible());
        QVERIFY(message->text().startsWith(
            QStringLiteral(" The job records cannot be used; the tool works without jobs: ")));
        QVERIFY(message->text().contains(QDir::toNativeSeparators(path)));
        QCOMPARE(panel()->currentJob(), 0);
        QCOMPARE(fileBytes(path), QByteArray(4096, '\x5a')); // left as it was
        QTest::mouseClick(window->menu().Moniteur, Qt::LeftButton);
        QVERIFY(window->screens().monitorScreen->isShown());
    }
};

QTEST_MAIN(TestJobPanel)
#include "tst_job_panel.moc"
