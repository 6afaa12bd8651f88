// The default configuration and the living engine, read back through the tool's codings.

#include "ecu-sim/default_config.h"
#include "ecu-sim/ecu_simulator.h"

#include <QTest>

using namespace ecusim;

namespace {

enum Coding { Byte, Signed, FlagMagnitude, SpeedU16 };

// A setting as the parameter pages show it.
double decoded(const EcuMemory &m, int address, Coding coding) {
    switch (coding) {
    case Byte:
        return m.at(address);
    case Signed:
        return m.s8(address);
    case FlagMagnitude:
        return (m.at(address) ? m.at(address + 1) - 256 : m.at(address + 1)) / 100.0;
    case SpeedU16:
        return m.u16(address) * (m.at(0x80D) == 0 ? 2 : 1);
    }
    return 0;
}

double ms(const EcuMemory &m, int address) {
    return int(m.hi255(address) / 3.9) / 100.0;
}

} // namespace

class TstSimEngine : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void settingsWithinPageLimits_data();
    void settingsWithinPageLimits();
    void tablesShapedLikeAKit();
    void liveValuesStayPlausible_data();
    void liveValuesStayPlausible();
    void gasTimesFollowPetrolThroughTrims();
    void speedCodingFollowsInjectionType();
    void seededRunsRepeat();
};

void TstSimEngine::settingsWithinPageLimits_data() {
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("coding");
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    QTest::newRow("load trim 1") << 0x801 << int(Byte) << 50.0 << 255.0;
    QTest::newRow("idle trim 1") << 0x802 << int(Byte) << 0.0 << 255.0;
    QTest::newRow("switch-over temperature") << 0x803 << int(Byte) << 35.0 << 35.0;
    QTest::newRow("switch-over pressure") << 0x804 << int(FlagMagnitude) << -1.0 << 2.5;
    QTest::newRow("pressure delay") << 0x806 << int(Byte) << 0.0 << 120.0;
    QTest::newRow("switch-over delay") << 0x807 << int(Byte) << 1.0 << 2.0;
    QTest::newRow("fuel overlapping x5") << 0x808 << int(Byte) << 0.0 << 200.0;
    QTest::newRow("alarm temperature") << 0x809 << int(Signed) << -20.0 << 100.0;
    QTest::newRow("alarm pressure") << 0x80A << int(FlagMagnitude) << 0.0 << 2.5;
    QTest::newRow("lambda type") << 0x80C << int(Byte) << 0.0 << 3.0;
    QTest::newRow("injection type sequential") << 0x80D << int(Byte) << 0.0 << 0.0;
    QTest::newRow("load trim 2") << 0x839 << int(Byte) << 50.0 << 255.0;
    QTest::newRow("idle trim 2") << 0x83A << int(Byte) << 0.0 << 255.0;
    QTest::newRow("battery mode") << 0x83B << int(Byte) << 0.0 << 2.0;
    QTest::newRow("not blocked") << 0x87F << int(Byte) << 0.0 << 0.0;
    QTest::newRow("lambda memorise") << 0x88F << int(Byte) << 0.0 << 1.0;
    QTest::newRow("level min") << 0xA3B << int(Byte) << 0.0 << 255.0;
    QTest::newRow("level 1/4") << 0xA3D << int(Byte) << 0.0 << 100.0;
    QTest::newRow("level full") << 0xA40 << int(Byte) << 0.0 << 100.0;
    QTest::newRow("way of switch-over") << 0xA41 << int(Byte) << 0.0 << 2.0;
    QTest::newRow("switch-over speed") << 0xA42 << int(SpeedU16) << 1000.0 << 6000.0;
    QTest::newRow("emission state") << 0xB0F << int(Byte) << 0.0 << 1.0;
    QTest::newRow("firmware") << 0x000 << int(Byte) << 1.0 << 255.0;
}

void TstSimEngine::settingsWithinPageLimits() {
    QFETCH(int, address);
    QFETCH(int, coding);
    QFETCH(double, low);
    QFETCH(double, high);
    EcuSimulator sim;
    const double v = decoded(sim.memory(), address, Coding(coding));
    QVERIFY2(v >= low && v <= high, qPrintable(QString::number(v)));
}

void TstSimEngine::tablesShapedLikeAKit() {
    EcuSimulator sim;
    const EcuMemory &m = sim.memory();
    for (int n = 0; n < 20; ++n) {
        QVERIFY(m.at(0x810 + n) >= 90 && m.at(0x810 + n) <= 130);
        QVERIFY(m.at(0x824 + n) >= 90 && m.at(0x824 + n) <= 130);
    }
    // NTC tables: the temperature falls as the raw reading rises. The coolant table's first
    // entries hold the settings that share its space.
    for (int raw = 1; raw < 256; ++raw) {
        QVERIFY(m.s8(0x939 + raw) <= m.s8(0x939 + raw - 1));
        if (0x839 + raw > 0x890)
            QVERIFY(m.s8(0x839 + raw) <= m.s8(0x839 + raw - 1));
    }
    QVERIFY(m.s8(0x939 + 250) < 0 && m.s8(0x939 + 40) > 80);
    for (int i = 1; i < 67; ++i)
        QVERIFY(m.s8(0x83C + i) <= m.s8(0x83C + i - 1)); // weaker battery, more time
    for (int i = 1; i < 50; ++i)
        QVERIFY(m.u16(0xA47 + 2 * i) > m.u16(0xA47 + 2 * (i - 1)));
    QVERIFY(m.at(0xA3B) != m.at(0xA3C));
}

void TstSimEngine::liveValuesStayPlausible_data() {
    QTest::addColumn<int>("throttle");
    QTest::addColumn<bool>("gas");
    QTest::newRow("idle, petrol") << 0 << false;
    QTest::newRow("idle, gas") << 0 << true;
    QTest::newRow("half load, gas") << 50 << true;
    QTest::newRow("full load, gas") << 100 << true;
}

void TstSimEngine::liveValuesStayPlausible() {
    QFETCH(int, throttle);
    QFETCH(bool, gas);
    EcuSimulator sim(3);
    const EcuMemory &m = sim.memory();
    sim.engine().setThrottle(throttle);
    if (gas)
        sim.engine().requestGas();
    int lastWater = m.s8(0x02C);
    int lambdaCrossings = 0;
    bool rich = false;
    for (int tick = 0; tick < 3000; ++tick) { // five minutes from a cold start
        sim.advanceEngine(EcuSimulator::EngineTickMs);
        const int rpm = decoded(m, 0x008, SpeedU16);
        QVERIFY2(rpm > 600 && rpm < 4500, qPrintable(QString::number(rpm)));
        QVERIFY(m.s8(0x02C) >= lastWater - 1 && m.s8(0x02C) <= 95);
        lastWater = m.s8(0x02C);
        QVERIFY(m.s8(0x02D) >= 10 && m.s8(0x02D) <= m.s8(0x02C) + 1);
        QVERIFY(m.u16(0x02E) <= 110);
        QVERIFY(m.u16(0x030) <= 200);
        for (int c = 0; c < 8; ++c) {
            const double petrol = ms(m, 0x00C + 2 * c);
            QVERIFY(petrol > 1.5 && petrol < 16.0);
            const double g = ms(m, 0x01C + 2 * c);
            QVERIFY(m.at(0x002) == 3 ? g > petrol && g < 2 * petrol : g == 0);
        }
        QVERIFY(m.at(0x034) < 100 && m.at(0x035) < 100);
        QVERIFY(m.at(0x037) * 0.075 > 13.0 && m.at(0x037) * 0.075 < 14.8);
        QCOMPARE(m.at(0x003), quint8(0));
        if ((m.u16(0x030) > 100) != rich) {
            rich = !rich;
            ++lambdaCrossings;
        }
    }
    QCOMPARE(m.at(0x002), quint8(gas ? 3 : 0));
    QVERIFY(m.s8(0x02C) > 80);
    QVERIFY(lambdaCrossings > 200); // closed loop once the probe is hot
}

void TstSimEngine::gasTimesFollowPetrolThroughTrims() {
    EcuSimulator sim(9);
    sim.setPacing(false);
    EcuMemory &m = sim.memory();
    sim.engine().warmUp();
    sim.engine().requestGas();
    sim.advanceEngine(5000);
    QCOMPARE(m.at(0x002), quint8(3));
    for (int multiplier : {100, 125, 150}) {
        sim.receive(dataFrame(0x801, QByteArray(1, char(multiplier))));
        sim.advanceEngine(EcuSimulator::EngineTickMs);
        for (int c = 0; c < 8; ++c) {
            const int k = c < 4 ? m.at(0x801) : m.at(0x839);
            const int r = c < 4 ? m.at(0x802) : m.at(0x83A);
            const double factor = (k + m.at(0x032) + m.at(0x033)) / 100.0;
            const double expected = ms(m, 0x00C + 2 * c) * factor + r * 2 / 100.0;
            QVERIFY(qAbs(ms(m, 0x01C + 2 * c) - expected) < 0.05);
        }
    }
}

void TstSimEngine::speedCodingFollowsInjectionType() {
    EcuSimulator sim;
    sim.engine().warmUp();
    sim.advanceEngine(5000);
    QVERIFY(qAbs(sim.engine().rpm() / 2 - sim.memory().u16(0x008)) <= 1); // sequential: halved
    sim.memory().set(0x80D, 1); // full group: stored as it is
    sim.advanceEngine(EcuSimulator::EngineTickMs);
    QVERIFY(qAbs(sim.engine().rpm() - sim.memory().u16(0x008)) <= 1);
}

void TstSimEngine::seededRunsRepeat() {
    EcuSimulator a(5), b(5), c(6);
    for (EcuSimulator *s : {&a, &b, &c})
        s->advanceEngine(20000);
    QCOMPARE(a.memory().range(0, 0x47), b.memory().range(0, 0x47));
    QVERIFY(a.memory().range(0, 0x47) != c.memory().range(0, 0x47));
}

QTEST_GUILESS_MAIN(TstSimEngine)
#include "tst_sim_engine.moc"
