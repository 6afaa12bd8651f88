// Whole-memory reads and uploads against a line that misbehaves at one block:
// whatever the fault and wherever it strikes, the transfer ends with a
// complete, correct copy or with the "No communication" message, and never
// leaves a hole or a block at the wrong address.
#include "link/link.h"
#include "support/fake_serial_port.h"
#include "support/frame_helpers.h"

#include <QSignalSpy>
#include <QTest>

namespace {

enum class Fault {
    NoAnswer,
    LateAnswer,
    WrongChecksum,
    WrongLength,
    EchoOnly,
    Noise,
    NoiseWithFrameStart,
    Split
};
enum class Outcome { Complete, Message };

constexpr quint8 ImageFill = 0x5A;

quint8 ecuValue(int address) {
    return static_cast<quint8>(address * 7 + 1);
}
quint8 uploadValue(int address) {
    return static_cast<quint8>(address * 13 + 5);
}

// The ECU behind the line: answers a read with its memory, stores a write and
// acknowledges it with "@A81".
class Ecu {
  public:
    std::array<quint8, 0x1000> memory{};
    Ecu() {
        for (int a = 0; a < 0x1000; ++a)
            memory[std::size_t(a)] = ecuValue(a);
    }
    QByteArray answer(const QByteArray &command) {
        const BlockRange r = blockRange(command);
        if (command.startsWith("@R")) {
            std::vector<int> bytes;
            for (int j = 0; j < r.count; ++j)
                bytes.push_back(memory[std::size_t(r.address + j)]);
            return dataFrame(r.address, bytes);
        }
        for (int j = 0; j < r.count; ++j)
            memory[std::size_t(r.address + j)] =
                static_cast<quint8>(hex::value(QByteArrayView(command).sliced(7 + 2 * j, 2)));
        return "@A81\r";
    }
};

// The reply as the faulty line delivers it: one entry per receive event.
QByteArrayList spoil(Fault fault, const QByteArray &command, const QByteArray &reply) {
    switch (fault) {
    case Fault::NoAnswer:
    case Fault::LateAnswer:
        return {};
    case Fault::WrongChecksum: {
        QByteArray bad = reply;
        const qsizetype at = bad.size() - 3;
        bad[at] = bad.at(at) == '0' ? '1' : '0';
        return {bad};
    }
    case Fault::WrongLength:
        // One data byte short, sealed correctly: the length field lies.
        if (reply.startsWith("@W"))
            return {frames::sealed(reply.left(reply.size() - 5)) + '\r'};
        return {frames::sealed("@A0") + '\r'};
    case Fault::EchoOnly:
        return {command};
    case Fault::Noise:
        return {"\x07#x" + reply};
    case Fault::NoiseWithFrameStart:
        return {"x@Z" + reply};
    case Fault::Split:
        return {reply.left(reply.size() / 2), reply.mid(reply.size() / 2)};
    }
    return {};
}

const char *faultName(Fault f) {
    static const char *names[] = {"no answer",           "late answer", "wrong checksum",
                                  "wrong length",        "echo only",   "noise before",
                                  "noise with @ before", "split in two"};
    return names[int(f)];
}

} // namespace

class TestTransferFaults : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init();
    void cleanup();
    void wholeRead_data();
    void wholeRead();
    void wholeUpload_data();
    void wholeUpload();

  private:
    // Runs the line until the transfer ended; the fault strikes the reply to
    // command number faultAt (0-based) once. Returns the commands sent.
    QByteArrayList drive(Fault fault, int faultAt, const std::function<bool()> &ended,
                         const std::function<void()> &tick);
    void matrix(Outcome (*expected)(Fault), int replies);

    FakeSerialPort *port = nullptr;
    Link *link = nullptr;
    Ecu ecu;
};

void TestTransferFaults::init() {
    ecu = Ecu{};
    port = new FakeSerialPort;
    link = new Link(port);
    link->state.PortNumber = 2;
    QVERIFY(link->OpenPort());
    for (int a = 0; a < MemoryImage::Size; ++a)
        link->image.set(a, ImageFill);
}

void TestTransferFaults::cleanup() {
    delete link;
    delete port;
}

QByteArrayList TestTransferFaults::drive(Fault fault, int faultAt,
                                         const std::function<bool()> &ended,
                                         const std::function<void()> &tick) {
    QByteArrayList commands;
    QByteArray late;
    for (int round = 0; round < 400 && !ended(); ++round) {
        const QByteArrayList lines = std::exchange(port->written, {});
        if (lines.isEmpty()) {
            tick(); // time passes on a silent line
            continue;
        }
        for (const QByteArray &line : lines) {
            const bool struck = int(commands.size()) == faultAt;
            // Only the adapter's echo comes back: the ECU never saw the command.
            const QByteArray reply =
                struck && fault == Fault::EchoOnly ? QByteArray() : ecu.answer(line);
            commands.append(line);
            if (struck && fault == Fault::LateAnswer)
                late = reply;
            const QByteArrayList events =
                struck ? spoil(fault, line, reply) : QByteArrayList{reply};
            for (const QByteArray &e : events)
                port->feed(e);
        }
    }
    if (!late.isEmpty()) {
        port->feed(late); // after the time-out
        commands += std::exchange(port->written, {});
    }
    return commands;
}

namespace {
// The same for a read and an upload: silence (and an echo is silence from
// the ECU) ends in the message; a corrupted read answer is asked for again,
// and any reply but an echo acknowledges a written block.
Outcome outcome(Fault f) {
    switch (f) {
    case Fault::NoAnswer:
    case Fault::LateAnswer:
    case Fault::EchoOnly:
        return Outcome::Message;
    default:
        return Outcome::Complete;
    }
}
} // namespace

void TestTransferFaults::matrix(Outcome (*expected)(Fault), int replies) {
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("block");
    QTest::addColumn<bool>("complete");
    for (Fault f : {Fault::NoAnswer, Fault::LateAnswer, Fault::WrongChecksum, Fault::WrongLength,
                    Fault::EchoOnly, Fault::Noise, Fault::NoiseWithFrameStart, Fault::Split}) {
        for (int block = 0; block < replies; ++block) {
            QTest::addRow("%s at reply %d", faultName(f), block)
                << int(f) << block << (expected(f) == Outcome::Complete);
        }
    }
}

void TestTransferFaults::wholeRead_data() {
    matrix(outcome, BlockCount); // sixteen blocks asked for
}

void TestTransferFaults::wholeRead() {
    QFETCH(int, fault);
    QFETCH(int, block);
    QFETCH(bool, complete);
    QSignalSpy done(link, &Link::fullReadCompleted);
    QSignalSpy timedOut(link, &Link::fullReadTimedOut);
    link->StartFullRead();
    drive(
        Fault(fault), block, [&] { return !link->state.FullReadActive; },
        [&] { link->TimerDownload_Timer(); });
    QCOMPARE(done.count(), complete ? 1 : 0);
    QCOMPARE(timedOut.count(), complete ? 0 : 1);
    QCOMPARE(link->noCommunicationText(), QStringLiteral("No communication on COM2"));
    // Every byte of a block holds the ECU's value or (after the message) its
    // old one, bytes outside the blocks are untouched, and every block
    // answered before the fault arrived whole.
    std::array<bool, 0x1000> inBlock{};
    for (int i = 0; i < BlockCount; ++i) {
        const BlockRange r = blockRange(link->blocks[std::size_t(i)]);
        std::fill_n(inBlock.begin() + r.address, r.count, true);
    }
    for (int a = 0; a < 0x1000; ++a) {
        const quint8 v = link->image.at(a);
        const bool fits = inBlock[std::size_t(a)]
                              ? v == ecuValue(a) || (!complete && v == ImageFill)
                              : v == ImageFill;
        QVERIFY2(fits, qPrintable(QString::number(a, 16)));
    }
    for (int i = 0; i < (complete ? BlockCount : block); ++i) {
        const BlockRange r = blockRange(link->blocks[std::size_t(i)]);
        for (int a = r.address; a < r.address + r.count; ++a)
            QCOMPARE(link->image.at(a), ecuValue(a));
    }
    QCOMPARE(link->image.at(0x1000), ImageFill);
}

void TestTransferFaults::wholeUpload_data() {
    matrix(outcome, BlockCount - 1); // entries 1..15 written
}

void TestTransferFaults::wholeUpload() {
    QFETCH(int, fault);
    QFETCH(int, block);
    QFETCH(bool, complete);
    for (int a = 0; a < 0x1000; ++a)
        link->image.set(a, uploadValue(a));
    QSignalSpy done(link, &Link::uploadCompleted);
    QSignalSpy timedOut(link, &Link::uploadTimedOut);
    link->StartUpload(2);
    const QByteArrayList commands = drive(
        Fault(fault), block, [&] { return done.count() + timedOut.count() > 0; },
        [&] { link->UPLoadTimer_Timer(); });
    QCOMPARE(done.count(), complete ? 1 : 0);
    QCOMPARE(timedOut.count(), complete ? 0 : 1);
    QCOMPARE(link->state.UploadStep, 0);
    // Entries 1..15 once each, in order, and nothing after a time-out.
    const int expectedWrites = complete ? 15 : block + 1;
    QCOMPARE(commands.size(), expectedWrites);
    for (int i = 0; i < expectedWrites; ++i)
        QCOMPARE(commands.at(i).left(7), "@W" + link->blocks[std::size_t(i + 1)].mid(2, 5));
    // The ECU holds exactly what the commands that reached it carried (not the
    // one that only echoed back): no byte elsewhere, none shifted.
    std::array<quint8, 0x1000> expected{};
    for (int a = 0; a < 0x1000; ++a)
        expected[std::size_t(a)] = ecuValue(a);
    for (int i = 0; i < expectedWrites; ++i) {
        if (Fault(fault) == Fault::EchoOnly && i == block)
            continue;
        const BlockRange r = blockRange(commands.at(i));
        for (int a = r.address; a < r.address + r.count; ++a)
            expected[std::size_t(a)] = uploadValue(a);
    }
    for (int a = 0; a < 0x1000; ++a)
        QCOMPARE(ecu.memory[std::size_t(a)], expected[std::size_t(a)]);
}

QTEST_GUILESS_MAIN(TestTransferFaults)
#include "tst_transfer_faults.moc"
