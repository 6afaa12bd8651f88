// Whole-memory reads and uploads over a line that misbehaves at one block end with a
// complete, correct copy (the block asked for again or written again) or, when the line
// stays dead, with "No communication", never a hole or a misplaced block.
#include "pages/data_table.h"
#include "support/fake_link.h"
#include "support/frame_helpers.h"

#include <QSignalSpy>
#include <QTest>

// A dead line from one command on ends in the message; after one silent
// reply (an echo is the adapter's) the command goes out again, and after the
// others a read asks again and a write is acknowledged.
enum Fault {
    DeadLine,
    NoAnswer,
    LateAnswer,
    EchoOnly,
    WrongChecksum,
    WrongLength,
    Noise,
    NoiseAt,
    Split
};
const char *const FaultNames[] = {"dead line",    "no answer",      "late answer",
                                  "echo only",    "wrong checksum", "wrong length",
                                  "noise before", "noise with @",   "split in two"};
constexpr quint8 ImageFill = 0x5A;

const auto ecuValue = [](int address) { return quint8(address * 7 + 1); };
const auto uploadValue = [](int address) { return quint8(address * 13 + 5); };

// The ECU behind the line: answers a read, stores and acknowledges a write.
struct Ecu {
    std::array<quint8, 0x1000> memory{};
    Ecu() {
        for (int a = 0; a < 0x1000; ++a)
            memory[std::size_t(a)] = ecuValue(a);
    }
    QByteArray answer(const QByteArray &command) {
        const BlockRange r = blockRange(command);
        const bool read = command.startsWith("@R");
        std::vector<int> bytes;
        for (int j = 0; j < r.count; ++j) {
            quint8 &cell = memory[std::size_t(r.address + j)];
            if (!read)
                cell = quint8(hex::value(QByteArrayView(command).sliced(7 + 2 * j, 2)));
            bytes.push_back(cell);
        }
        return read ? dataFrame(r.address, bytes) : QByteArray("@A81\r");
    }
};

// The reply as the faulty line delivers it: one entry per receive event.
QByteArrayList spoil(Fault fault, const QByteArray &command, const QByteArray &reply) {
    QByteArray bad = reply;
    switch (fault) {
    case WrongChecksum:
        bad[bad.size() - 3] = bad.at(bad.size() - 3) == '0' ? '1' : '0';
        return {bad};
    case WrongLength: // one data byte short, sealed correctly: the length field lies
        return {frames::sealed(reply.startsWith("@W") ? reply.left(reply.size() - 5) : "@A0") +
                '\r'};
    case EchoOnly:
        return {command};
    case Noise:
    case NoiseAt:
        return {(fault == Noise ? "\x07#x" : "x@Z") + reply};
    case Split:
        return {reply.left(reply.size() / 2), reply.mid(reply.size() / 2)};
    default:
        return {};
    }
}

class TestTransferFaults : public QObject, FakeLink {
    Q_OBJECT
  private Q_SLOTS:
    void transfer_data() {
        columns<bool, int, int>("upload", "fault", "at"); // at: the struck reply's command, 0-based
        // Of a read's sixteen blocks, an upload's entries 1..15: first, middle, last.
        for (bool upload : {false, true})
            for (int f = DeadLine; f <= Split; ++f)
                for (int at : {0, 7, BlockCount - 1 - int(upload)})
                    QTest::addRow("%s, %s at %d", upload ? "upload" : "read", FaultNames[f], at)
                        << upload << f << at;
    }

    void transfer() {
        const auto [upload, fault, at] = fetch<bool, int, int>("upload", "fault", "at");
        const bool complete = fault != DeadLine;
        Ecu ecu;
        QVERIFY(reset(2));
        for (int a = 0; a < MemoryImage::Size; ++a)
            link->image.set(a, upload && a < 0x1000 ? uploadValue(a) : ImageFill);
        QSignalSpy done(link, upload ? &Link::uploadCompleted : &Link::fullReadCompleted);
        QSignalSpy timedOut(link, upload ? &Link::uploadTimedOut : &Link::fullReadTimedOut);
        upload ? link->StartUpload(2) : link->StartFullRead();
        QByteArrayList commands;
        QByteArray late;
        for (int round = 0; round < 400 && done.count() + timedOut.count() == 0; ++round) {
            const QByteArrayList lines = std::exchange(port->written, {});
            if (lines.isEmpty()) { // 100 ms pass: a line held back goes out, or time runs
                link->ControlTimer3_Timer();
                upload ? link->UPLoadTimer_Timer() : link->TimerDownload_Timer();
            }
            for (const QByteArray &line : lines) {
                if (fault == DeadLine && int(commands.size()) >= at) {
                    commands.append(line); // never reaches the ECU
                    continue;
                }
                const bool struck = int(commands.size()) == at;
                const QByteArray reply =
                    struck && fault == EchoOnly ? QByteArray() : ecu.answer(line);
                commands.append(line);
                if (struck && fault == LateAnswer)
                    late = reply;
                for (const QByteArray &e :
                     struck ? spoil(Fault(fault), line, reply) : QByteArrayList{reply})
                    port->feed(e);
            }
        }
        if (!late.isEmpty()) {
            port->feed(late); // after the time-out
            commands += std::exchange(port->written, {});
        }
        QCOMPARE(done.count(), complete ? 1 : 0);
        QCOMPARE(timedOut.count(), complete ? 0 : 1);
        QVERIFY(upload ? link->state.UploadStep == ChainStep::Rest : !link->state.FullReadActive);
        QCOMPARE(link->noCommunicationText(), QStringLiteral("No communication on COM2"));

        // Per byte of the first 4 KiB: the old value, the new one, or either.
        enum { Old, Either, New };
        std::array<int, 0x1000> want{};
        auto mark = [&](const QByteArray &entry, int how) {
            const BlockRange r = blockRange(entry);
            for (int a = r.address; a < r.address + r.count; ++a)
                want[std::size_t(a)] = std::max(want[std::size_t(a)], how);
        };
        if (upload) {
            // Entries 1..15 in order, the struck one possibly sent again right
            // after itself (three times in all on a dead line), none after a
            // time-out; the ECU holds what reached it.
            QByteArrayList distinct;
            for (const QByteArray &command : std::as_const(commands)) {
                if (distinct.isEmpty() || distinct.last() != command)
                    distinct.append(command);
            }
            const int writes = complete ? 15 : at + 1;
            QCOMPARE(distinct.size(), writes);
            QCOMPARE(commands.size(), complete ? 15 + int(fault <= EchoOnly) : at + 3);
            for (int i = 0; i < writes; ++i) {
                QCOMPARE(distinct.at(i).left(7), "@W" + link->blocks[std::size_t(i + 1)].mid(2, 5));
                if (complete || i < at)
                    mark(distinct.at(i), New);
            }
            if (!complete)
                QCOMPARE(link->uploadBlocksWritten(), at);
        } else {
            // Blocks before a dead line arrived whole; the rest hold old or new bytes.
            for (int i = 0; i < BlockCount; ++i)
                mark(link->blocks[std::size_t(i)], complete || i < at ? New : Either);
        }
        for (int a = 0; a < 0x1000; ++a) {
            const quint8 v = upload ? ecu.memory[std::size_t(a)] : link->image.at(a);
            const int w = want[std::size_t(a)];
            QVERIFY2((w != New && v == (upload ? ecuValue(a) : ImageFill)) ||
                         (w != Old && v == (upload ? uploadValue(a) : ecuValue(a))),
                     qPrintable(QString::number(a, 16)));
        }
        QCOMPARE(link->image.at(0x1000), ImageFill);
    }
};

QTEST_GUILESS_MAIN(TestTransferFaults)
#include "tst_transfer_faults.moc"
