// The simulator's road cycle: its phases, the load byte, the lambda probe in
// closed and open loop, the cut-off, and the petrol time on gas answering the
// load band's entry of the gas correction table.
#include "ecu-sim/band_correction_response.h"
#include "ecu-sim/drive_cycle.h"
#include "ecu-sim/ecu_simulator.h"

#include <QTest>

using namespace ecusim;

namespace {
double lambdaVolts(const EcuMemory &m) {
    return m.u16(0x030) / 200.0; // lambda type 0: 0..1 V
}

double petrolMs(const EcuMemory &m) {
    return m.hi255(0x00C) / 390.0;
}
} // namespace

class TstSimDrive : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void cyclePhases_data();
    void cyclePhases();
    void petrolFactor_data();
    void petrolFactor();
    void probeAndLoadOnTheRoad_data();
    void probeAndLoadOnTheRoad();
    void gasShowsTheWrongBands_data();
    void gasShowsTheWrongBands();
};

void TstSimDrive::cyclePhases_data() {
    QTest::addColumn<int>("ms");
    QTest::addColumn<int>("throttle");
    QTest::addColumn<int>("loop"); // 0 closed, 1 rich, 2 lean
    QTest::addColumn<int>("depLow");
    QTest::addColumn<int>("depHigh");
    QTest::newRow("idle") << 1000 << 0 << 0 << 8 << 8;
    QTest::newRow("first acceleration, halfway") << 6250 << 18 << 1 << 20 << 30;
    QTest::newRow("cruise 20 %") << 10000 << 20 << 0 << 22 << 30;
    QTest::newRow("cruise 40 %") << 20000 << 40 << 0 << 40 << 48;
    QTest::newRow("cut-off") << 25000 << 0 << 2 << 2 << 2;
    QTest::newRow("cruise 60 %") << 33000 << 60 << 0 << 58 << 66;
    QTest::newRow("cruise 80 %") << 42000 << 80 << 0 << 76 << 84;
    QTest::newRow("second cut-off") << 46000 << 0 << 2 << 2 << 2;
    QTest::newRow("again from the start") << DriveCycle::lengthMs() + 1000 << 0 << 0 << 8 << 8;
}

void TstSimDrive::cyclePhases() {
    QFETCH(int, ms);
    QFETCH(int, throttle);
    QFETCH(int, loop);
    QFETCH(int, depLow);
    QFETCH(int, depHigh);
    DriveCycle cycle;
    cycle.advance(ms);
    QCOMPARE(cycle.throttle(), throttle);
    QCOMPARE(int(cycle.loop()), loop);
    QVERIFY2(cycle.dep() >= depLow && cycle.dep() <= depHigh,
             qPrintable(QString::number(cycle.dep())));
}

void TstSimDrive::petrolFactor_data() {
    QTest::addColumn<double>("dep");
    QTest::addColumn<int>("entry"); // at the band's address
    QTest::addColumn<double>("factor");
    // multiplier 1.25, no pressure term
    QTest::newRow("right entry at light load") << 12.0 << 100 << 1.0;
    QTest::newRow("entry below 100 counts as 100") << 12.0 << 80 << 1.0;
    QTest::newRow("too lean at band 19") << 97.0 << 107 << 1.55 / 1.32;
    QTest::newRow("right at band 19") << 95.0 << 130 << 1.0;
    QTest::newRow("too rich at band 19") << 99.9 << 150 << 1.55 / 1.75;
    QTest::newRow("band 11 starts at 55") << 55.0 << 100 << 1.35 / 1.25;
    QTest::newRow("band 10 ends before 55") << 54.9 << 102 << 1.0;
    QTest::newRow("beyond 100 uses band 20") << 100.0 << 130 << 1.0;
}

void TstSimDrive::petrolFactor() {
    QFETCH(double, dep);
    QFETCH(int, entry);
    QFETCH(double, factor);
    EcuMemory memory;
    const int band = BandCorrectionResponse::band(dep);
    memory.set(0x824 + band - 1, quint8(entry));
    QCOMPARE(BandCorrectionResponse::petrolFactor(memory, dep, 1.25, 0.0), factor);
}

void TstSimDrive::probeAndLoadOnTheRoad_data() {
    QTest::addColumn<int>("fromMs");
    QTest::addColumn<int>("toMs");
    QTest::addColumn<int>("minCrossings");
    QTest::addColumn<int>("maxCrossings");
    QTest::addColumn<double>("lambdaLow");
    QTest::addColumn<double>("lambdaHigh");
    QTest::addColumn<bool>("injecting");
    QTest::newRow("cruise 40 %: closed loop") << 17000 << 23000 << 8 << 40 << 0.0 << 1.0 << true;
    QTest::newRow("acceleration: rich rail") << 14700 << 16300 << 0 << 0 << 0.85 << 0.92 << true;
    QTest::newRow("cut-off: lean rail") << 23700 << 26300 << 0 << 0 << 0.0 << 0.06 << false;
}

void TstSimDrive::probeAndLoadOnTheRoad() {
    QFETCH(int, fromMs);
    QFETCH(int, toMs);
    QFETCH(int, minCrossings);
    QFETCH(int, maxCrossings);
    QFETCH(double, lambdaLow);
    QFETCH(double, lambdaHigh);
    QFETCH(bool, injecting);
    EcuSimulator sim(7);
    sim.engine().warmUp();
    sim.engine().setDriving(true);
    sim.advanceEngine(fromMs);
    int crossings = 0;
    bool lean = lambdaVolts(sim.memory()) < 0.45;
    double low = 5, high = -1;
    bool anyTime = false;
    for (int t = fromMs; t < toMs; t += EcuSimulator::EngineTickMs) {
        sim.advanceEngine(EcuSimulator::EngineTickMs);
        const double v = lambdaVolts(sim.memory());
        low = qMin(low, v);
        high = qMax(high, v);
        if ((v < 0.45) != lean) {
            lean = !lean;
            ++crossings;
        }
        anyTime = anyTime || petrolMs(sim.memory()) > 0;
        QCOMPARE(int(qint8(sim.memory().at(0x02D))),
                 int(std::lround(sim.engine().driveCycle().dep())));
    }
    QVERIFY2(crossings >= minCrossings && crossings <= maxCrossings,
             qPrintable(QString::number(crossings)));
    if (maxCrossings == 0) {
        QVERIFY2(low >= lambdaLow && high <= lambdaHigh,
                 qPrintable(QStringLiteral("%1..%2").arg(low).arg(high)));
    }
    QCOMPARE(anyTime, injecting);
}

void TstSimDrive::gasShowsTheWrongBands_data() {
    QTest::addColumn<int>("atMs");
    QTest::addColumn<bool>("gap");
    QTest::newRow("cruise 20 %: default entries are right") << 9000 << false;
    QTest::newRow("cruise 80 %: default entries too lean") << 39000 << true;
}

// The same stretch of the cycle on petrol and on gas: the petrol time on gas
// is longer only where the table gives too little gas.
void TstSimDrive::gasShowsTheWrongBands() {
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
            sum += petrolMs(sim.memory());
        }
        times[onGas] = sum / samples;
    }
    const double ratio = times[1] / times[0];
    QVERIFY2(gap ? ratio > 1.05 : qAbs(ratio - 1) < 0.03, qPrintable(QString::number(ratio)));
}

QTEST_GUILESS_MAIN(TstSimDrive)
#include "tst_sim_drive.moc"
