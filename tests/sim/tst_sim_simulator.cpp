// The simulator in-process: answers, writes, ignored commands, functions, faults and pacing.

#include "ecu-sim/console.h"
#include "ecu-sim/ecu_simulator.h"
#include "sim_test_util.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

using namespace ecusim;

namespace {

struct Rig {
    explicit Rig(bool pacing = false) : sim(42), spy(&sim, &EcuSimulator::transmit) {
        sim.setPacing(pacing);
    }
    QByteArray out() const {
        QByteArray all;
        for (const QList<QVariant> &args : spy)
            all += args.at(0).toByteArray();
        return all;
    }
    EcuSimulator sim;
    QSignalSpy spy;
};

} // namespace

class TstSimSimulator : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void readsEveryBlock_data();
    void readsEveryBlock();
    void writeThenReadBack_data();
    void writeThenReadBack();
    void ignoresMalformedCommands_data();
    void ignoresMalformedCommands();
    void cutsInputAnyHowItArrives();
    void switchToGasSequence();
    void alarmsAndReset();
    void faults_data();
    void faults();
    void faultForNextReplies();
    void vanishUnplugs();
    void pacingTakesLineTime();
    void frameLogAndConsole();
    void loadsCliDump();
};

void TstSimSimulator::readsEveryBlock_data() {
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("length");
    // The tool's block table, the live areas, the port-search byte, and the edges of reach.
    const int blocks[][2] = {
        {0x000, 0x34}, {0x803, 0x0B}, {0x801, 0x38}, {0xA15, 0x24}, {0xA39, 0x0E},
        {0x8A7, 0x37}, {0x8DE, 0x37}, {0x915, 0x24}, {0x939, 0x37}, {0x970, 0x37},
        {0x9A7, 0x37}, {0x9DE, 0x37}, {0x839, 0x37}, {0x870, 0x37}, {0xA47, 0x33},
        {0xA79, 0x33}, {0xAAB, 0x33}, {0xADD, 0x33}, {0xB0F, 0x33}, {0xB41, 0x19},
        {0x000, 0x37}, {0x037, 0x10}, {0x000, 0x01}, {0xFFF, 0x01}, {0xF01, 0xFF}};
    for (const auto &b : blocks)
        QTest::addRow("%03X+%02X", b[0], b[1]) << b[0] << b[1];
}

void TstSimSimulator::readsEveryBlock() {
    QFETCH(int, address);
    QFETCH(int, length);
    Rig r;
    const QByteArray expected = r.sim.memory().range(address, length);
    r.sim.receive(readCommand(address, length));
    QCOMPARE(r.spy.size(), 1);
    const QByteArray reply = r.out();
    QVERIFY2(wellFormedReply(reply), reply.constData());
    QCOMPARE(reply, dataFrame(address, expected));
    QCOMPARE(reply.mid(2, 5), readCommand(address, length).mid(2, 5));
}

void TstSimSimulator::writeThenReadBack_data() {
    QTest::addColumn<int>("address");
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("main parameters block") << 0x801 << QByteArray(0x38, '\x5A');
    QTest::newRow("switch-over block") << 0xA41 << QByteArray::fromHex("010BB8140A28");
    QTest::newRow("final test block") << 0xB41 << QByteArray(0x19, '\x01');
    QTest::newRow("last byte") << 0xFFF << QByteArray("\xEE", 1);
    QTest::newRow("zeros and FF") << 0x900 << QByteArray::fromHex("00FF00FF");
}

void TstSimSimulator::writeThenReadBack() {
    QFETCH(int, address);
    QFETCH(QByteArray, data);
    Rig r;
    QByteArray w = dataFrame(address, data); // a write command has the data frame's layout
    r.sim.receive(w);
    QCOMPARE(r.out(), acknowledgeFrame());
    r.spy.clear();
    r.sim.receive(readCommand(address, int(data.size())));
    QCOMPARE(r.out(), dataFrame(address, data));
    QCOMPARE(r.sim.stats().writes, 1);
}

void TstSimSimulator::ignoresMalformedCommands_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::newRow("bad checksum") << QByteArray("@R000378D\r");
    QTest::newRow("lower-case hex") << withChecksum("@Ra4101");
    QTest::newRow("beyond 0xFFF") << withChecksum("@RFF011");
    QTest::newRow("length 0") << withChecksum("@R80100");
    QTest::newRow("write beyond 0xFFF") << withChecksum("@WFFF020102");
    QTest::newRow("unknown function") << withChecksum("@F00A");
}

void TstSimSimulator::ignoresMalformedCommands() {
    QFETCH(QByteArray, input);
    Rig r;
    const QByteArray before = r.sim.memory().range(0xF00, 0x100);
    r.sim.receive(input);
    QCOMPARE(r.spy.size(), 0);
    QCOMPARE(r.sim.stats().ignored(), 1);
    QCOMPARE(r.sim.stats().commands, 0);
    QCOMPARE(r.sim.memory().range(0xF00, 0x100), before);
    r.sim.receive("@R0000183\r"); // still listening
    QCOMPARE(r.spy.size(), 1);
}

void TstSimSimulator::cutsInputAnyHowItArrives() {
    Rig r;
    const QByteArray stream = "\x01zz\n@R00@R0371091\r#@F0081E\r@R0000183\r";
    for (char c : stream)
        r.sim.receive(QByteArray(1, c));
    QCOMPARE(r.out(), dataFrame(0x037, r.sim.memory().range(0x037, 16)) + acknowledgeFrame() +
                          dataFrame(0x000, QByteArray(1, '\x0F')));
    QCOMPARE(r.sim.stats().skippedChars, 4 + 4 + 1);
}

void TstSimSimulator::switchToGasSequence() {
    Rig r;
    EngineModel &e = r.sim.engine();
    e.setSwitchDelayMs(1000);
    r.sim.receive("@F0071D\r");
    QCOMPARE(r.sim.memory().at(0x002), quint8(1)); // waiting for gas at once
    r.sim.advanceEngine(5000);
    QCOMPARE(r.sim.memory().at(0x002), quint8(1)); // cold coolant keeps it waiting
    e.warmUp();
    r.sim.advanceEngine(500);
    QCOMPARE(r.sim.memory().at(0x002), quint8(1));
    r.sim.advanceEngine(1000);
    QCOMPARE(r.sim.memory().at(0x002), quint8(3));
    QVERIFY(r.sim.memory().hi255(0x01C) > 0);
    r.sim.receive("@F0081E\r");
    QCOMPARE(r.sim.memory().at(0x002), quint8(0));
    QCOMPARE(r.sim.memory().hi255(0x01C), 0);
    QCOMPARE(r.out(), acknowledgeFrame() + acknowledgeFrame());
}

void TstSimSimulator::alarmsAndReset() {
    Rig r;
    r.sim.engine().warmUp();
    r.sim.engine().setSwitchDelayMs(0);
    r.sim.receive("@F0071D\r");
    r.sim.advanceEngine(1000);
    r.sim.engine().raiseAlarms(Alarm::Pressure | Alarm::StartOnGas);
    r.sim.engine().publish();
    QCOMPARE(r.sim.memory().at(0x003), quint8(132));
    QCOMPARE(r.sim.memory().at(0x002), quint8(0)); // gas-system alarm: back to petrol
    r.sim.receive("@F00016\r");
    QCOMPARE(r.sim.memory().at(0x003), quint8(0));

    const QByteArray config = r.sim.memory().range(0x800, 0x800);
    r.sim.receive("@F0091F\r");
    QCOMPARE(r.sim.memory().u16(0x008), 0); // the engine cranks again
    r.sim.advanceEngine(3000);
    QVERIFY(r.sim.memory().u16(0x008) > 300);
    QCOMPARE(r.sim.memory().range(0x800, 0x800), config);
    QCOMPARE(r.sim.stats().functions, 3);
}

void TstSimSimulator::faults_data() {
    QTest::addColumn<int>("kind");
    for (int k = 0; k < FaultKindCount; ++k)
        QTest::newRow(faultKindName(FaultKind(k))) << k;
}

void TstSimSimulator::faults() {
    QFETCH(int, kind);
    Rig r;
    r.sim.memory().store(0x900, QByteArray::fromHex("ABCDEF"));
    r.sim.faults().set(FaultKind(kind), FaultRule::always());
    QSignalSpy unplugged(&r.sim, &EcuSimulator::unplugged);
    const QByteArray good = dataFrame(0x900, QByteArray::fromHex("ABCDEF"));
    r.sim.receive(readCommand(0x900, 3));
    const QByteArray out = r.out();
    switch (FaultKind(kind)) {
    case FaultKind::Silent:
        QVERIFY(out.isEmpty());
        QCOMPARE(r.sim.stats().lostReplies, 1);
        break;
    case FaultKind::Noise:
        QVERIFY(out.endsWith(good) && out.size() > good.size());
        QVERIFY(!out.chopped(good.size()).contains('@'));
        break;
    case FaultKind::Split:
        QTRY_COMPARE(r.out(), good);
        QVERIFY(r.spy.size() >= 2);
        break;
    case FaultKind::Lowercase:
        QVERIFY(out != good && out.toUpper().chopped(3) == good.chopped(3));
        break;
    case FaultKind::BadChecksum:
        QVERIFY(!wellFormedReply(out) && out.chopped(3) == good.chopped(3));
        break;
    case FaultKind::Vanish:
        QCOMPARE(unplugged.size(), 1);
        QVERIFY(good.startsWith(out) && out.size() < good.size());
        r.sim.receive(readCommand(0x900, 3));
        QCOMPARE(r.out(), out); // nothing more
        break;
    }
}

void TstSimSimulator::faultForNextReplies() {
    Rig r;
    r.sim.faults().set(FaultKind::BadChecksum, FaultRule::next(2));
    QList<bool> wellFormed;
    for (int i = 0; i < 4; ++i) {
        r.spy.clear();
        r.sim.receive("@R0000183\r");
        wellFormed << wellFormedReply(r.out());
    }
    QCOMPARE(wellFormed, (QList<bool>{false, false, true, true}));

    r.sim.faults().set(FaultKind::Silent, FaultRule::chance(0.5));
    for (int i = 0; i < 200; ++i)
        r.sim.receive("@R0000183\r");
    QVERIFY(r.sim.stats().lostReplies > 50 && r.sim.stats().lostReplies < 150);
}

void TstSimSimulator::vanishUnplugs() {
    Rig r;
    QSignalSpy unplugged(&r.sim, &EcuSimulator::unplugged);
    r.sim.vanishAfter(10);
    QTRY_COMPARE(unplugged.size(), 1);
    r.sim.receive("@R0000183\r");
    QCOMPARE(r.spy.size(), 0);
    r.sim.replug();
    r.sim.receive("@R0000183\r");
    QCOMPARE(r.spy.size(), 1);
}

void TstSimSimulator::pacingTakesLineTime() {
    // 10 characters in, 120 out, at 960 a second: the answer cannot be complete before 135 ms.
    Rig r(true);
    r.sim.setReplyDelayMs(20);
    QElapsedTimer t;
    t.start();
    r.sim.receive("@R000378C\r");
    QCOMPARE(r.spy.size(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(r.out().endsWith('\r'), 20000);
    QVERIFY(t.elapsed() >= (10 + 120) * 1000 / 960 + 20);
    QVERIFY(wellFormedReply(r.out()));
    QCOMPARE(r.out().size(), 120);
}

void TstSimSimulator::frameLogAndConsole() {
    Rig r;
    QBuffer log;
    log.open(QIODevice::ReadWrite);
    r.sim.log().attach(&log);
    Console console(&r.sim, nullptr);
    QVERIFY(console.execute(QStringLiteral("fault badsum next 1")).contains("badsum=next1"));
    r.sim.receive("@R0000183\r@R000378D\r");
    const QList<QByteArray> lines = log.data().split('\n');
    QCOMPARE(lines.size(), 4);
    QVERIFY(lines.at(0).endsWith(" RX @R0000183"));
    QVERIFY(lines.at(1).contains(" TX @W00001") && lines.at(1).endsWith("[badsum]"));
    QVERIFY(lines.at(2).endsWith("RX @R000378D [ignored: bad checksum]"));

    QVERIFY(console.execute(QStringLiteral("status")).startsWith("petrol"));
    QVERIFY(console.execute(QStringLiteral("gas")).startsWith("waiting for gas"));
    QVERIFY(console.execute(QStringLiteral("bogus")).startsWith("unknown command"));
    QSignalSpy quit(&console, &Console::quitRequested);
    console.execute(QStringLiteral("quit"));
    QCOMPARE(quit.size(), 1);
}

void TstSimSimulator::loadsCliDump() {
    Rig r;
    QByteArray dump = "gasecu memory\n";
    for (int line = 0; line < 256; ++line) {
        dump += QByteArray::number(line * 16, 16).toUpper().rightJustified(3, '0') + ':';
        for (int k = 0; k < 16; ++k)
            dump += ' ' + hexByte(quint8(line + k));
        dump += '\n';
    }
    QString error;
    QVERIFY2(r.sim.loadCapture(dump, &error), qPrintable(error));
    QCOMPARE(r.sim.memory().at(0x000), quint8(0));
    QCOMPARE(r.sim.memory().at(0x8A3), quint8(0x8A + 3));
    QCOMPARE(r.sim.memory().at(0xFFF), quint8(0xFF + 15));
    QVERIFY(!r.sim.loadCapture("nothing here\n", &error));
}

QTEST_GUILESS_MAIN(TstSimSimulator)
#include "tst_sim_simulator.moc"
