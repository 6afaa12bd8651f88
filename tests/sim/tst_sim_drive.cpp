// The road cycle, and the petrol time on gas answering the band's gas correction.
#include "ecu-sim/band_correction_response.h"
#include "ecu-sim/drive_cycle.h"
#include "ecu-sim/ecu_simulator.h"
#include "pages/data_table.h"

using namespace ecusim;

class TstSimDrive : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void cyclePhases_data() {
        columns<int, QList<int>>("ms", "want"); // throttle, loop (0 closed, 1 rich, 2 lean), load
        QTest::newRow("idle, last ms") << 4999 << QList<int>{0, 0, 8, 8};
        QTest::newRow("acceleration, first ms") << 5000 << QList<int>{0, 1, 8, 8};
        QTest::newRow("acceleration, halfway") << 6250 << QList<int>{18, 1, 20, 30};
        QTest::newRow("cruise 40 %") << 20000 << QList<int>{40, 0, 40, 48};
        QTest::newRow("cut-off") << 25000 << QList<int>{0, 2, 2, 2};
        QTest::newRow("again from the start")
            << DriveCycle::lengthMs() + 1000 << QList<int>{0, 0, 8, 8};
    }
    void cyclePhases() {
        const auto [ms, want] = fetch<int, QList<int>>("ms", "want");
        DriveCycle cycle;
        cycle.advance(ms);
        QCOMPARE(cycle.throttle(), want[0]);
        QCOMPARE(int(cycle.loop()), want[1]);
        QVERIFY2(cycle.dep() >= want[2] && cycle.dep() <= want[3],
                 qPrintable(QString::number(cycle.dep())));
    }

    void petrolFactor_data() {
        columns<double, int, double>("dep", "entry", "factor"); // entry at the band's address
        // multiplier 1.25, no pressure term
        QTest::newRow("entry below 100 counts as 100") << 12.0 << 80 << 1.0;
        QTest::newRow("too lean at band 19") << 97.0 << 107 << 1.40 / 1.32;
        QTest::newRow("too rich at band 19") << 99.9 << 150 << 1.40 / 1.75;
        QTest::newRow("band 11 starts at 55") << 55.0 << 100 << 1.33 / 1.25;
        QTest::newRow("band 10 ends before 55") << 54.9 << 106 << 1.0;
        QTest::newRow("beyond 100 uses band 20") << 100.0 << 116 << 1.0;
    }
    void petrolFactor() {
        const auto [dep, entry] = fetch<double, int>("dep", "entry");
        EcuMemory memory;
        memory.set(0x824 + BandCorrectionResponse::band(dep) - 1, quint8(entry));
        QTEST(BandCorrectionResponse::petrolFactor(memory, dep, 1.25, 0.0), "factor");
    }
};

QTEST_GUILESS_MAIN(TstSimDrive)
#include "tst_sim_drive.moc"
