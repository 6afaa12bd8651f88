// The simulator in-process: answers, ignored commands, functions, faults and the engine.
#include "ecu-sim/ecu_simulator.h"
#include "pages/data_table.h"

#include <QSignalSpy>
#include <QTest>

using namespace ecusim;

const QByteArray Ack = "@A81\r";
const QByteArray FirmwarePoll = "@R0000183\r";
const QByteArray FirmwareReply = "@W000010FFE\r"; // firmware 15

// An unpaced simulator and everything it sent.
struct Rig {
    Rig() : sim(42), spy(&sim, &EcuSimulator::transmit) { sim.setPacing(false); }
    QByteArray out() const {
        QByteArray all;
        for (const QList<QVariant> &args : spy)
            all += args.at(0).toByteArray();
        return all;
    }
    EcuSimulator sim;
    QSignalSpy spy;
};

class TstSim : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    // A read is answered with the bytes at its address, a write in the same
    // layout is acknowledged; anything malformed is ignored without a trace.
    void readsOrIgnores_data() {
        columns<QByteArray, QByteArray, bool>("command", "written", "answered"); // written first
        row("edge of reach", QByteArray("@RF01FFC5\r"), QByteArray(), true);
        row("longest write", QByteArray("@R8013896\r"), QByteArray(0x38, '\x5A'), true);
        row("write to the last byte", QByteArray("@RFFF01C5\r"), QByteArray("\xEE", 1), true);
        const std::pair<const char *, QByteArray> ignored[] = {
            {"bad checksum", "@R000378D\r"},
            {"lower-case field", withChecksum("@Ra4101")},
            {"read past 0xFFF", withChecksum("@RFFF02")},
            {"length 0", withChecksum("@R80100")},
            {"write past 0xFFF", withChecksum("@WFFF020102")},
            {"write short of its length", withChecksum("@WA410205")},
            {"unknown letter", withChecksum("@X00001")},
            {"unknown function", withChecksum("@F00A")},
            {"letter only", "@R\r"}};
        for (const auto &[name, command] : ignored)
            row(name, command, QByteArray(), false);
    }
    void readsOrIgnores() {
        const auto [command, written, answered] =
            fetch<QByteArray, QByteArray, bool>("command", "written", "answered");
        const int address = command.mid(2, 3).toInt(nullptr, 16);
        Rig r;
        if (!written.isEmpty()) {
            r.sim.receive(dataFrame(address, written)); // a write has the layout of a data frame
            QCOMPARE(r.out(), Ack);
            r.spy.clear();
        }
        const QByteArray image = r.sim.memory().range(0, EcuMemory::FrameReach);
        r.sim.receive(command);
        if (answered) {
            const QByteArray data = image.mid(address, command.mid(5, 2).toInt(nullptr, 16));
            QVERIFY(written.isEmpty() || data == written);
            QCOMPARE(r.out(), withChecksum("@W" + command.mid(2, 5) + data.toHex().toUpper()));
        } else {
            QVERIFY(r.spy.isEmpty() && r.sim.stats().ignored() == 1);
            QCOMPARE(r.sim.memory().range(0, EcuMemory::FrameReach), image);
        }
        r.spy.clear();
        r.sim.receive(FirmwarePoll); // still listening
        QCOMPARE(r.out(), FirmwareReply);
    }

    void cutsInputAnyHowItArrives() {
        // Garbage, a frame cut short by a new "@", a runaway frame; whole frames between.
        const QByteArray stream = "\x01zz\n@R00" + FirmwarePoll + "#@F0081E\r@" +
                                  QByteArray(200, 'A') + '\r' + FirmwarePoll;
        for (const int step : {1, 7, int(stream.size())}) {
            Rig r;
            for (int i = 0; i < stream.size(); i += step)
                r.sim.receive(stream.mid(i, step));
            QCOMPARE(r.out(), FirmwareReply + Ack + FirmwareReply);
            QCOMPARE(r.sim.stats().skippedChars, 4 + 4 + 1 + 202); // the runaway frame, CR included
        }
    }

    void functionsDriveTheFuelState() {
        Rig r;
        EcuMemory &m = r.sim.memory();
        r.sim.engine().setSwitchDelayMs(1000);
        r.sim.receive("@F0071D\r");
        r.sim.advanceEngine(5000);
        QCOMPARE(m.at(0x002), quint8(1)); // waiting: cold coolant holds it
        r.sim.engine().warmUp();
        r.sim.advanceEngine(500);
        QCOMPARE(m.at(0x002), quint8(1)); // the delay runs from when the conditions hold
        r.sim.advanceEngine(1000);
        QCOMPARE(m.at(0x002), quint8(3));
        // Settings are read on every tick: a higher load trim lengthens the gas times at once.
        const auto ratio = [&m] { return double(m.hi255(0x01C)) / m.hi255(0x00C); };
        const double before = ratio();
        r.sim.receive(dataFrame(0x801, QByteArray(1, char(175))));
        r.sim.advanceEngine(EcuSimulator::EngineTickMs);
        QVERIFY(ratio() > before + 0.3);
        r.sim.receive("@F0081E\r");
        QCOMPARE(m.at(0x002), quint8(0));
        // A gas-system alarm falls back to petrol; function 000 clears it.
        r.sim.receive("@F0071D\r");
        r.sim.advanceEngine(3000);
        QCOMPARE(m.at(0x002), quint8(3));
        r.sim.engine().raiseAlarms(Alarm::Pressure);
        r.sim.advanceEngine(EcuSimulator::EngineTickMs);
        QVERIFY(m.at(0x003) == Alarm::Pressure && m.at(0x002) == 0);
        r.sim.receive("@F00016\r");
        QCOMPARE(m.at(0x003), quint8(0));
        // Reset: the engine cranks again, the settings stay.
        const QByteArray settings = m.range(0x800, 0x800);
        r.sim.receive("@F0091F\r");
        QVERIFY(m.u16(0x008) == 0 && m.range(0x800, 0x800) == settings);
        QCOMPARE(r.out(), Ack.repeated(6));
    }

    // Each fault spoils the next reply only; a spell and a held reply last longer.
    void faults_data() {
        columns<int>("kind");
        for (int k = 0; k < FaultKindCount; ++k)
            row(faultKindName(FaultKind(k)), k);
    }
    void faults() {
        const FaultKind fault = FaultKind(std::get<0>(fetch<int>("kind")));
        const QByteArray &good = FirmwareReply;
        Rig r;
        r.sim.faults().set(fault, FaultRule::next(1));
        QSignalSpy unplugged(&r.sim, &EcuSimulator::unplugged);
        r.sim.receive(FirmwarePoll);
        const QByteArray out = r.out();
        switch (fault) {
        case FaultKind::Silent:
        case FaultKind::Join:  // held for the next reply
        case FaultKind::Spell: // and the replies after it, for a while
            QVERIFY(out.isEmpty());
            break;
        case FaultKind::Noise: // never an "@" in the noise
            QVERIFY(out.size() > good.size() && out.endsWith(good) &&
                    !out.chopped(good.size()).contains('@'));
            break;
        case FaultKind::Split:
            QTRY_VERIFY(r.out() == good && r.spy.size() >= 2);
            break;
        case FaultKind::Lowercase:
            QVERIFY(out != good && out.toUpper().chopped(3) == good.chopped(3));
            break;
        case FaultKind::BadChecksum:
            QVERIFY(out != good && out.chopped(3) == good.chopped(3));
            break;
        case FaultKind::Vanish:
            QVERIFY(unplugged.size() == 1 && good.startsWith(out) && out.size() < good.size());
            break;
        case FaultKind::Garble:
            QVERIFY(out != good && qAbs(out.size() - good.size()) <= 1);
            break;
        }
        r.spy.clear();
        r.sim.receive(FirmwarePoll);
        // Nothing more when unplugged or in a spell; a held reply comes glued to the next.
        const bool none = fault == FaultKind::Vanish || fault == FaultKind::Spell;
        QTRY_COMPARE(r.out(), none ? QByteArray() : fault == FaultKind::Join ? good + good : good);
        QVERIFY(fault != FaultKind::Join || r.spy.size() == 1);
    }

    void loadsCliDump() {
        EcuSimulator sim;
        QString error;
        // A header, a short line with a comment, the last line of reach; other bytes stay.
        const QByteArray dump = "gasecu memory\n8A0: 11 22 33  ; trim AB\n"
                                "FF0: 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F\n";
        const quint8 kept = sim.memory().at(0x8A3);
        QVERIFY2(sim.loadCapture(dump, &error), qPrintable(error));
        QCOMPARE(sim.memory().range(0x8A0, 4), QByteArray::fromHex("112233") + char(kept));
        QCOMPARE(sim.memory().at(0xFFF), quint8(0x0F));
        QVERIFY(!sim.loadCapture("nothing here\n", &error));
    }
};

QTEST_GUILESS_MAIN(TstSim)
#include "tst_sim.moc"
