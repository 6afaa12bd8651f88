// A calibration over the line: the frames a small ECU receives, in order.
#include "link/frames.h"
#include "support/fake_link.h"
#include "support/frame_helpers.h"
#include "tuning/calibration_sequence.h"

#include <QTest>

using namespace calibration;

// Answers one command at a time: the poll with its live block, writes by
// storing them; the fuel turns to gas on the poll after "@F0071D".
struct SmallEcu {
    MemoryImage memory;
    bool gasAsked = false;
    QByteArrayList log; // every command received, polls included

    QByteArray answer(const QByteArray &line) {
        log.append(line);
        if (line == frames::MonitorPoll) {
            if (gasAsked)
                memory.set(0x002, 3);
            std::vector<int> live;
            for (int a = 0; a < 0x37; ++a)
                live.push_back(memory.at(a));
            return dataFrame(0x000, live);
        }
        if (line.startsWith("@W")) // only single bytes here: address, 01, value, sum
            memory.set(line.mid(2, 3).toInt(nullptr, 16), line.mid(7, 2).toInt(nullptr, 16));
        gasAsked |= line == frames::SwitchToGas;
        return ackFrame();
    }
};

class TestCalibrationLink : public QObject, FakeLink {
    Q_OBJECT
    std::unique_ptr<Sequence> seq; // goes before the link it uses
    SmallEcu ecu;
    bool running = false;
    Settings settings;

    // Serves the ECU until the line is quiet; the watchdog, when on, resends the poll.
    void serve() {
        for (int served = 0; served < 200; ++served) {
            if (!port->written.isEmpty()) {
                port->feed(ecu.answer(port->written.takeFirst()));
            } else if (!link->poll.watchdogActive() || !running) {
                return;
            } else {
                for (int tick = 0; tick < 3; ++tick)
                    link->poll.watchdogTick();
            }
        }
    }

  private Q_SLOTS:
    void init() {
        seq.reset();
        QVERIFY(reset());
        link->poll.setFrame(frames::MonitorPoll);
        ecu = SmallEcu{};
        // Vaporiser 60 degrees, 3 x 255 + 16 (2 ms) on cylinder 1, switch-over delay and mode.
        for (auto [address, value] :
             {std::pair{0x02C, 60}, {0x00C, 3}, {0x00D, 16}, {0x807, 2}, {0xA41, 1}})
            ecu.memory.set(address, value);
        link->image.set(0x807, 2);
        link->image.set(0xA41, 1);
        running = false;
        seq = std::make_unique<Sequence>(*link, running);
        settings.idleSteps = {1, 2, 1, 2};
        // One step after every decoded data frame, as the refresh does.
        connect(link, &Link::dataDecoded, seq.get(), [this] {
            seq->setLiveTerms(link->image);
            if (seq->running())
                seq->RunCalibrationStep(inputsFromImage(link->image, settings));
        });
    }

    void wholeIdleSequenceFrames() {
        seq->start(Kind::Idle);
        serve();
        QVERIFY(!running);
        // Each answer runs a step and, while polling, is followed by a poll (P). L1..L4
        // 2, 4, 5, 7: the first poll starts on petrol; step 2 zeroes the delay, stops
        // polling; step 3 reaches L2, asks for gas while the chain writes the mode;
        // gas is asked again at L2, then reported; L4 writes the saved settings back.
        const QByteArray P = frames::MonitorPoll.toByteArray();
        const QByteArrayList expected{
            P, "@F0081E\r", P, P, "@W8070100F7\r", "@F0071D\r",    "@WA410100FE\r",
            P, "@F0071D\r", P, P, "@W8070102F9\r", "@WA410101FF\r"};
        QCOMPARE(ecu.log, expected);
    }
};

QTEST_GUILESS_MAIN(TestCalibrationLink)
#include "tst_calibration_link.moc"
