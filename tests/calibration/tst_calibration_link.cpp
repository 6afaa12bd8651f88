// A whole calibration over the line: the frames that go out, in order, when
// a small ECU answers every command, and the switch-over settings it holds
// afterwards whichever way the calibration ends.
#include "calibration/calibration_sequence.h"
#include "link/frames.h"
#include "link/link.h"
#include "support/fake_serial_port.h"
#include "support/frame_helpers.h"

#include <QTest>

#include <functional>

using namespace calibration;

namespace {

// Answers the tool's commands one at a time, as the ECU does: the poll with
// its live block, writes by storing them, functions by switching the fuel.
// The fuel turns to gas on the answer after "@F0071D" when gasAllowed.
struct SmallEcu {
    MemoryImage memory;
    bool gasAllowed = true;
    bool gasAsked = false;
    QByteArrayList log; // every command received, polls included

    QByteArray answer(const QByteArray &line) {
        log.append(line);
        if (line == frames::MonitorPoll) {
            if (gasAsked && gasAllowed)
                memory.set(0x002, 3);
            std::vector<int> live;
            for (int a = 0; a < 0x37; ++a)
                live.push_back(memory.at(a));
            return dataFrame(0x000, live);
        }
        if (line.startsWith("@W")) {
            const int address = line.mid(2, 3).toInt(nullptr, 16);
            const int count = line.mid(5, 2).toInt(nullptr, 16);
            for (int i = 0; i < count; ++i)
                memory.set(address + i, line.mid(7 + 2 * i, 2).toInt(nullptr, 16));
        }
        if (line == frames::SwitchToGas)
            gasAsked = true;
        if (line == frames::SwitchToPetrol) {
            gasAsked = false;
            memory.set(0x002, 0);
        }
        return ackFrame();
    }
};

} // namespace

class TestCalibrationLink : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init();
    void wholeIdleSequenceFrames();
    void everyWayOutRestores_data();
    void everyWayOutRestores();

  private:
    // Serves the ECU until the line is quiet; the poll watchdog resends the
    // poll when it is on and nothing is in flight, as the monitor's does.
    void serve(int maxCommands, const std::function<bool()> &pollOn);

    FakeSerialPort *port = nullptr;
    Link *link = nullptr;
    Sequence *seq = nullptr;
    SmallEcu ecu;
    bool running = false;
    bool watchdogOn = false;
    Settings settings;
};

void TestCalibrationLink::init() {
    delete seq;
    delete link;
    delete port;
    port = new FakeSerialPort;
    link = new Link(port);
    QVERIFY(link->OpenPort());
    link->state.PollFrame = frames::MonitorPoll.toByteArray();
    ecu = SmallEcu{};
    ecu.memory.set(0x02C, 60); // vaporiser 60 degrees
    ecu.memory.set(0x00C, 3);  // 3 x 255 + 16: 2 ms on cylinder 1
    ecu.memory.set(0x00D, 16);
    ecu.memory.set(0x807, 2); // switch-over delay
    ecu.memory.set(0xA41, 1); // switch-over mode
    link->image.set(0x807, 2);
    link->image.set(0xA41, 1);
    running = false;
    watchdogOn = false;
    seq = new Sequence(*link, running);
    settings = Settings{};
    settings.idleSteps = {1, 2, 1, 2};
    // The refresh runs one step after every decoded data frame.
    connect(link, &Link::dataDecoded, seq, [this] {
        seq->setLiveTerms(link->image);
        if (seq->running())
            seq->RunCalibrationStep(inputsFromImage(link->image, settings));
    });
    connect(seq, &Sequence::pollTimerWanted, this, [this](bool on) { watchdogOn = on; });
    connect(link, &Link::monitorTimerWanted, this, [this] { watchdogOn = true; });
}

void TestCalibrationLink::serve(int maxCommands, const std::function<bool()> &pollOn) {
    for (int served = 0; served < maxCommands; ++served) {
        if (port->written.isEmpty()) {
            if (!watchdogOn || !pollOn())
                return;
            link->SendLine(link->state.PollFrame);
            link->state.PollingOn = true;
            continue;
        }
        port->feed(ecu.answer(port->written.takeFirst()));
    }
}

void TestCalibrationLink::wholeIdleSequenceFrames() {
    seq->start(Kind::Idle);
    serve(200, [this] { return running; });
    QVERIFY(!running);
    // The ECU answers one command at a time; every answer runs the
    // sequencer once and, while polling, is followed by a poll (P). Settings
    // 1,2,1,2: L1 2, L2 4, L3 5, L4 7.
    const QByteArray P = frames::MonitorPoll.toByteArray();
    const QByteArrayList expected{
        P, // the watchdog's poll: hot enough, step 1
        "@F0081E\r",
        P,               // petrol, and the poll after that answer
        P,               // after the acknowledgement of petrol
        "@W8070100F7\r", // step 2 zeroed the delay, polling off
        "@F0071D\r",     // step 3 reached L2 on the second petrol sample
        "@WA410100FE\r", // the next answer carries the chain on
        P,               // the watchdog, once the chain is written
        "@F0071D\r",
        P, // still at L2: gas asked again, then reported
        P, // gas sample 2: L4, finished, saved settings back
        "@W8070102F9\r",
        "@WA410101FF\r",
    };
    QCOMPARE(ecu.log, expected);
    QCOMPARE(int(ecu.memory.at(0x807)), 2);
    QCOMPARE(int(ecu.memory.at(0xA41)), 1);
    QCOMPARE(seq->texts(0)[TxMinER], QStringLiteral("2"));
}

void TestCalibrationLink::everyWayOutRestores_data() {
    QTest::addColumn<int>("commands"); // served before the fitter leaves
    QTest::addColumn<bool>("gas");
    QTest::addColumn<QByteArrayList>("tail"); // what the ECU gets after leaving
    const QByteArrayList restore{"@W8070102F9\r", "@WA410101FF\r"};
    QTest::newRow("waiting for temperature: nothing saved") << 0 << true << QByteArrayList{};
    QTest::newRow("while sampling petrol") << 8 << true << restore;
    QTest::newRow("waiting for a gas that never comes") << 40 << false << restore;
}

void TestCalibrationLink::everyWayOutRestores() {
    QFETCH(int, commands);
    QFETCH(bool, gas);
    QFETCH(QByteArrayList, tail);
    ecu.gasAllowed = gas;
    if (commands == 0)
        ecu.memory.set(0x02C, 20); // too cold to begin
    seq->start(Kind::Idle);
    serve(qMax(commands, 3), [] { return true; });
    QVERIFY(running);
    // Whatever the fitter pressed (stop, settings, a menu button), the
    // sequence is left through the same restore.
    // Lines already on their way are answered first; they are not the restore.
    const qsizetype before = ecu.log.size() + port->written.size();
    seq->stop();
    serve(int(before - ecu.log.size()) + 12, [] { return true; });
    QByteArrayList after = ecu.log.mid(before);
    after.removeAll(frames::MonitorPoll.toByteArray());
    QCOMPARE(after, tail);
    QCOMPARE(int(ecu.memory.at(0x807)), 2);
    QCOMPARE(int(ecu.memory.at(0xA41)), 1);
}

QTEST_GUILESS_MAIN(TestCalibrationLink)
#include "tst_calibration_link.moc"
