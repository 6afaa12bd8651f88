// The road cycle, and the petrol time on gas answering the band's gas correction.
#include "ecu-sim/band_correction_response.h"
#include "ecu-sim/drive_cycle.h"
#include "ecu-sim/ecu_simulator.h"

#include <QTest>

using namespace ecusim;

class TstSimDrive : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void cyclePhases_data() {
        QTest::addColumn<int>("ms");
        QTest::addColumn<QList<int>>("want"); // throttle, loop (0 closed, 1 rich, 2 lean), load
        QTest::newRow("idle, last ms") << 4999 << QList<int>{0, 0, 8, 8};
        QTest::newRow("acceleration, first ms") << 5000 << QList<int>{0, 1, 8, 8};
        QTest::newRow("acceleration, halfway") << 6250 << QList<int>{18, 1, 20, 30};
        QTest::newRow("cruise 40 %") << 20000 << QList<int>{40, 0, 40, 48};
        QTest::newRow("cut-off") << 25000 << QList<int>{0, 2, 2, 2};
        QTest::newRow("again from the start")
            << DriveCycle::lengthMs() + 1000 << QList<int>{0, 0, 8, 8};
    }
    void cyclePhases() {
        QFETCH(int, ms);
        QFETCH(QList<int>, want);
        DriveCycle cycle;
        cycle.advance(ms);
        QCOMPARE(cycle.throttle(), want[0]);
        QCOMPARE(int(cycle.loop()), want[1]);
        QVERIFY2(cycle.dep() >= want[2] && cycle.dep() <= want[3],
                 qPrintable(QString::number(cycle.dep())));
    }

    void petrolFactor_data() {
        QTest::addColumn<double>("dep");
        QTest::addColumn<int>("entry"); // at the band's address
        QTest::addColumn<double>("factor");
        // multiplier 1.25, no pressure term
        QTest::newRow("entry below 100 counts as 100") << 12.0 << 80 << 1.0;
        QTest::newRow("too lean at band 19") << 97.0 << 107 << 1.55 / 1.32;
        QTest::newRow("too rich at band 19") << 99.9 << 150 << 1.55 / 1.75;
        QTest::newRow("band 11 starts at 55") << 55.0 << 100 << 1.35 / 1.25;
        QTest::newRow("band 10 ends before 55") << 54.9 << 102 << 1.0;
        QTest::newRow("beyond 100 uses band 20") << 100.0 << 130 << 1.0;
    }
    void petrolFactor() {
        QFETCH(double, dep);
        QFETCH(int, entry);
        EcuMemory memory;
        memory.set(0x824 + BandCorrectionResponse::band(dep) - 1, quint8(entry));
        QTEST(BandCorrectionResponse::petrolFactor(memory, dep, 1.25, 0.0), "factor");
    }

    // The same stretch of the cycle on petrol and on gas: the petrol time on gas
    // is longer only where the table gives too little gas.
    void gasShowsTheWrongBands() {
        const auto ratio = [](int atMs) { // on gas / on petrol
            double times[2] = {};
            for (int onGas = 0; onGas < 2; ++onGas) {
                EcuSimulator sim(11);
                sim.engine().warmUp();
                sim.engine().setSwitchDelayMs(0);
                if (onGas)
                    sim.engine().requestGas();
                sim.advanceEngine(3000);
                if (sim.memory().at(0x002) != (onGas ? 3 : 0))
                    return -1.0;
                sim.engine().setDriving(true);
                sim.advanceEngine(atMs);
                for (int i = 0; i < 30; ++i) { // several probe swings: the loop's trim averages out
                    sim.advanceEngine(EcuSimulator::EngineTickMs);
                    times[onGas] += sim.memory().hi255(0x00C);
                }
            }
            return times[1] / times[0];
        };
        const double cruise20 = ratio(9000), cruise80 = ratio(39000);
        QVERIFY2(qAbs(cruise20 - 1) < 0.03, qPrintable(QString::number(cruise20))); // entries right
        QVERIFY2(cruise80 > 1.05, qPrintable(QString::number(cruise80))); // entries too lean
    }
};

QTEST_GUILESS_MAIN(TstSimDrive)
#include "tst_sim_drive.moc"
