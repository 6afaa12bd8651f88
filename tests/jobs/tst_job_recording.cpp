// What the shell records into the current job while the fitter works: the
// first whole read (kept once), a configuration written only once the ECU
// acknowledged it, the restore point made before it, and nothing at all
// without a job.
#include "calibration/calibration_end_form.h"
#include "calibration/calibration_screen.h"
#include "emission/final_test_screen.h"
#include "files/memory_file.h"
#include "files/restore_points.h"
#include "jobs/job_fixture.h"
#include "map/map_screen.h"
#include "pages/main_parameters_page.h"
#include "support/ecu_answers.h"
#include "support/fake_dialogs.h"
#include "ui/menu.h"
#include "ui/screens.h"
#include "vehicles/job_images.h"
#include "vehicles/record_store.h"

#include <QLineEdit>
#include <QTest>

class TestJobRecording : public QObject, JobFixture {
    Q_OBJECT

    Job currentJob() const { return *panel()->store().job(panel()->currentJob()); }
    // A memory file of ecu with the switch-over temperature changed, loaded
    // with the menu's Load button and its upload accepted.
    void loadChanged(const MemoryImage &ecu, int switchTemperature) {
        MemoryImage file = ecu;
        file.set(0x803, quint8(switchTemperature));
        file.set(0x1000, 0x47);
        const QString path = dir.filePath(QStringLiteral("changed.fra"));
        QVERIFY(memory_file::writeAtomically(path, memory_file::format(file)));
        dialogs.fileAnswers = {path};
        QTest::mouseClick(window->menu().Charger, Qt::LeftButton);
    }
    void acknowledge(int count) { acknowledgeEach(*port, count); }

  private Q_SLOTS:
    void init() { startWindow(); }
    void cleanup() { session.reset(); }

    // The read before the job started is its first read; a later read of
    // another configuration leaves it.
    void firstReadKeptOnce() {
        readEcu(ecuMemory(35));
        const QByteArray first = jobimages::memoryFileOf(link->image);
        newVehicleAndJob(QStringLiteral("AB-123-CD"));
        QCOMPARE(currentJob().firstRead, first);
        QCOMPARE(jobimages::imageOf(currentJob().firstRead)->at(0x803), quint8(35));
        readEcu(ecuMemory(50));
        QCOMPARE(currentJob().firstRead, first);
        QCOMPARE(panel()->store().vehicle(panel()->currentVehicle())->firmware, 0x47);
    }

    void firstReadAfterTheJobStarted() {
        QTest::mouseClick(window->menu().Charger, Qt::LeftButton); // nothing loaded: no panel
        link->setDataLoaded(true);
        panel()->setReady(true);
        newVehicleAndJob(QStringLiteral("AB-123-CD"));
        QVERIFY(currentJob().firstRead.isEmpty());
        readEcu(ecuMemory(38));
        QCOMPARE(currentJob().firstRead, jobimages::memoryFileOf(link->image));
        QCOMPARE(jobimages::imageOf(currentJob().firstRead)->at(0x803), quint8(38));
    }

    void acknowledgedUploadIsLastWritten() {
        const MemoryImage ecu = ecuMemory(35);
        readEcu(ecu);
        newVehicleAndJob(QStringLiteral("AB-123-CD"));
        loadChanged(ecu, 40);
        acknowledge(14);
        QVERIFY(currentJob().lastWritten.isEmpty()); // one block still unacknowledged
        acknowledge(1);
        QCOMPARE(jobimages::imageOf(currentJob().lastWritten)->at(0x803), quint8(40));
        const JobRecord record = *panel()->store().record(panel()->currentJob());
        QCOMPARE(record.restorePoints.size(), 1);
        QCOMPARE(record.restorePoints[0].path, RestorePoints().list().value(0));
    }

    // A page's own write: recorded once the ECU acknowledged its last block.
    void acknowledgedPageWriteIsLastWritten() {
        readEcu(ecuMemory(35));
        newVehicleAndJob(QStringLiteral("AB-123-CD"));
        MainParametersPage &page = *window->screens().mainParametersPage;
        page.refreshFromImage();
        page.TemperatureText->setText(QStringLiteral("41"));
        page.BoutonCentrale_Click();
        QVERIFY(!port->written.isEmpty());
        while (port->written.size() == 1 && link->writeInFlight()) {
            QVERIFY(currentJob().lastWritten.isEmpty());
            port->written.clear();
            port->feed(ackFrame());
        }
        QVERIFY(!link->writeInFlight());
        QCOMPARE(jobimages::imageOf(currentJob().lastWritten)->at(0x803), quint8(41));
    }

    // The ECU stops answering after 7 blocks: the job keeps no written
    // configuration, and a late acknowledgement changes nothing.
    void unacknowledgedUploadIsNotRecorded() {
        const MemoryImage ecu = ecuMemory(35);
        readEcu(ecu);
        newVehicleAndJob(QStringLiteral("AB-123-CD"));
        loadChanged(ecu, 40);
        acknowledge(7);
        for (int tick = 0; tick < 9; ++tick)
            link->UPLoadTimer_Timer();
        port->feed(ackFrame());
        QVERIFY(currentJob().lastWritten.isEmpty());
        QCOMPARE(panel()->store().record(panel()->currentJob())->restorePoints.size(), 1);
    }

    // The final test's block: recorded when the ECU answers a read or
    // acknowledges a write, never for a write left unacknowledged.
    void finalTestBlock_data() {
        QTest::addColumn<int>("how");
        QTest::addColumn<QStringList>("cycles");
        QTest::newRow("read answered") << 0 << QStringList{"7"};
        QTest::newRow("write acknowledged") << 1 << QStringList{"12"};
        QTest::newRow("write unacknowledged") << 2 << QStringList{};
    }
    void finalTestBlock() {
        QFETCH(int, how);
        QFETCH(QStringList, cycles);
        readEcu();
        newVehicleAndJob(QStringLiteral("AB-123-CD"));
        FinalTestScreen *screen = window->screens().finalTestScreen;
        port->written.clear();
        if (how == 0) {
            screen->BoutonPC_Click();
            std::vector<int> block(25, 0);
            block.back() = 7;
            port->feed(dataFrame(0xB41, block));
        } else {
            screen->TxCycle->setText(QStringLiteral("12"));
            screen->BoutonCentrale_Click();
            QCOMPARE(port->written.size(), 1);
            if (how == 1)
                port->feed(ackFrame());
            for (int tick = 0; how == 2 && tick < 9; ++tick)
                link->WriteTimer_Timer();
        }
        QStringList recorded;
        const JobRecord record = *panel()->store().record(panel()->currentJob());
        for (const FinalTestEntry &entry : record.finalTests) {
            QCOMPARE(entry.texts.size(), 13);
            recorded.append(entry.texts.last());
        }
        QCOMPARE(recorded, cycles);
    }

    // A finished calibration's end forms and an applied map proposal, as
    // the screens announce them, land in the job; a bank 2 left at its "0"
    // is not recorded.
    void calibrationAndMapRecorded() {
        readEcu(ecuMemory(35));
        newVehicleAndJob(QStringLiteral("AB-123-CD"));
        Screens &s = window->screens();
        s.calibrationEndBank1->result(calibration::TxMinER)->setText(QStringLiteral("2.41"));
        for (int f = 0; f < calibration::FieldCount; ++f)
            s.calibrationEndBank2->result(calibration::Field(f))->setText(QStringLiteral("0"));
        Q_EMIT s.calibrationScreen->resultsShown(calibration::Kind::Load);
        QList<int> entries(20, 100);
        entries[5] = 106;
        Q_EMIT s.mapScreen->proposalWritten(entries);
        const JobRecord r = *panel()->store().record(panel()->currentJob());
        QCOMPARE(r.calibrations.size(), 1);
        QCOMPARE(r.calibrations[0].kind, 1);
        QCOMPARE(r.calibrations[0].bank1.size(), 20);
        QCOMPARE(r.calibrations[0].bank1[calibration::TxMinER], QStringLiteral("2.41"));
        QVERIFY(r.calibrations[0].bank2.isEmpty());
        QCOMPARE(r.maps.size(), 1);
        QCOMPARE(r.maps[0].applied, entries);
        QCOMPARE(r.maps[0].bands.size(), 20);
    }

    void nothingRecordedWithoutAJob() {
        const MemoryImage ecu = ecuMemory(35);
        readEcu(ecu);
        loadChanged(ecu, 40);
        acknowledge(15);
        QCOMPARE(dialogs.texts(), QStringList{"PC --> ECM?"});
        QVERIFY(panel()->store().jobs().isEmpty());
    }
};

QTEST_MAIN(TestJobRecording)
#include "tst_job_recording.moc"
