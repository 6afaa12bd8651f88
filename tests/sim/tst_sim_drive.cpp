// The simulator's road cycle: phases, load byte, lambda probe, cut-off, and the
// petrol time on gas answering the load band's gas correction entry.
#include "ecu-sim/band_correction_response.h"
#include "ecu-sim/drive_cycle.h"
#include "ecu-sim/ecu_simulator.h"

#include <QTest>

using namespace ecusim;

// Lambda type 0: 0..1 V.
static double lambdaVolts(const EcuMemory &m) {
    return m.u16(0x030) / 200.0;
}

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
        QFETCH(double, factor);
        EcuMemory memory;
        memory.set(0x824 + BandCorrectionResponse::band(dep) - 1, quint8(entry));
        QCOMPARE(BandCorrectionResponse::petrolFactor(memory, dep, 1.25, 0.0), factor);
    }

    void probeAndLoadOnTheRoad_data() {
        QTest::addColumn<QList<int>>("span");      // from, to ms
        QTest::addColumn<QList<int>>("crossings"); // fewest, most
        QTest::addColumn<QList<double>>("lambda"); // lowest, highest volts
        QTest::addColumn<bool>("injecting");
        QTest::newRow("cruise 40 %: closed loop")
            << QList<int>{17000, 23000} << QList<int>{8, 40} << QList<double>{0.0, 1.0} << true;
        QTest::newRow("acceleration: rich rail")
            << QList<int>{14700, 16300} << QList<int>{0, 0} << QList<double>{0.85, 0.92} << true;
        QTest::newRow("cut-off: lean rail")
            << QList<int>{23700, 26300} << QList<int>{0, 0} << QList<double>{0.0, 0.06} << false;
    }
    void probeAndLoadOnTheRoad() {
        QFETCH(QList<int>, span);
        QFETCH(QList<int>, crossings);
        QFETCH(QList<double>, lambda);
        QFETCH(bool, injecting);
        EcuSimulator sim(7);
        sim.engine().warmUp();
        sim.engine().setDriving(true);
        sim.advanceEngine(span[0]);
        int count = 0;
        bool lean = lambdaVolts(sim.memory()) < 0.45, anyTime = false;
        double low = 5, high = -1;
        for (int t = span[0]; t < span[1]; t += EcuSimulator::EngineTickMs) {
            sim.advanceEngine(EcuSimulator::EngineTickMs);
            const double v = lambdaVolts(sim.memory());
            low = qMin(low, v);
            high = qMax(high, v);
            count += (v < 0.45) != lean;
            lean = v < 0.45;
            anyTime = anyTime || sim.memory().hi255(0x00C) > 0;
            QCOMPARE(int(qint8(sim.memory().at(0x02D))),
                     int(std::lround(sim.engine().driveCycle().dep())));
        }
        QVERIFY2(count >= crossings[0] && count <= crossings[1],
                 qPrintable(QString::number(count)));
        QVERIFY2(low >= lambda[0] && high <= lambda[1],
                 qPrintable(QStringLiteral("%1..%2").arg(low).arg(high)));
        QCOMPARE(anyTime, injecting);
    }

    void gasShowsTheWrongBands_data() {
        QTest::addColumn<int>("atMs");
        QTest::addColumn<bool>("gap");
        QTest::newRow("cruise 20 %: default entries are right") << 9000 << false;
        QTest::newRow("cruise 80 %: default entries too lean") << 39000 << true;
    }

    // The same stretch of the cycle on petrol and on gas: the petrol time on gas
    // is longer only where the table gives too little gas.
    void gasShowsTheWrongBands() {
        QFETCH(int, atMs);
        QFETCH(bool, gap);
        double times[2] = {};
        for (int onGas = 0; onGas < 2; ++onGas) {
            EcuSimulator sim(11);
            sim.engine().warmUp();
            sim.engine().setSwitchDelayMs(0);
            if (onGas)
                sim.engine().requestGas();
            sim.advanceEngine(3000);
            QCOMPARE(sim.memory().at(0x002), quint8(onGas ? 3 : 0));
            sim.engine().setDriving(true);
            sim.advanceEngine(atMs);
            double sum = 0;
            const int samples = 30; // several probe swings: the loop's trim averages out
            for (int i = 0; i < samples; ++i) {
                sim.advanceEngine(EcuSimulator::EngineTickMs);
                sum += sim.memory().hi255(0x00C);
            }
            times[onGas] = sum / samples;
        }
        const double ratio = times[1] / times[0];
        QVERIFY2(gap ? ratio > 1.05 : qAbs(ratio - 1) < 0.03, qPrintable(QString::number(ratio)));
    }
};

QTEST_GUILESS_MAIN(TstSimDrive)
#include "tst_sim_drive.moc"
