// gasecu-cli's save and upload stopped part-way on a real pseudo-terminal: every
// failure says what the ECU now holds, and an upload names its restore point,
// which puts the ECU back as it was.
#include "ecu/memory_image.h"
#include "files/memory_file.h"
#include "pages/data_table.h"
#include "support/sim_console.h"

#include <QFile>
#include <QRegularExpression>

class TestCliTransferFailures : public QObject {
    Q_OBJECT
    OwnDataHome dataHome;

  private Q_SLOTS:
    void uploadStoppedPartWay_data() {
        columns<QByteArray, int, QByteArray>("fault", "exitCode", "firstLine");
        row("acknowledgements lost", QByteArray("fault dropack on"), 1,
            QByteArray("No communication on COM21"));
        row("adapter unplugged", QByteArray("vanish"), 2,
            QByteArray(" Adapter Serial not connect "));
    }
    // Once the ECU holds the new first block, it stops answering: the message
    // counts the blocks written, says the ECU holds a mix and names the
    // restore point, which holds the ECU's configuration as it was.
    void uploadStoppedPartWay() {
        const auto [fault, exitCode, firstLine] =
            fetch<QByteArray, int, QByteArray>("fault", "exitCode", "firstLine");
        Ecu ecu(21);
        QVERIFY(ecu.start());
        const QByteArray before = ecu.config();
        const QString saved = ecu.dirPath("car.fra");
        QCOMPARE(ecu.cli({"save", saved}).exitCode, 0);
        const memory_file::Parsed car = memory_file::read(saved);
        MemoryImage other;
        for (int a = 0x800; a <= 0x1000; ++a)
            other.set(a, quint8(car.bytes[std::size_t(a - 0x800)] ^ (a < 0x1000 ? 0x5A : 0)));
        QVERIFY(memory_file::writeAtomically(ecu.dirPath("other.fra"), memory_file::format(other)));

        RunningCli upload(ecu, {"upload", ecu.dirPath("other.fra")});
        const auto firstBlockWritten = [&] {
            return quint8(ecu.peek(0x803, 1).at(0)) == other.at(0x803);
        };
        QVERIFY(QTest::qWaitFor(firstBlockWritten, 30000));
        QVERIFY(!ecu.ask(fault).isEmpty());
        const RunResult r = upload.finish();
        QCOMPARE(r.exitCode, exitCode);

        const QByteArrayList out = r.out.split('\n');
        QVERIFY2(out.at(0).startsWith("restore point "), r.out.constData());
        const QString point = QString::fromLocal8Bit(out.at(0).mid(14));
        QCOMPARE(fileBytes(point), fileBytes(saved));
        const QRegularExpression stopped(
            "^" + QRegularExpression::escape(firstLine) +
            "\\n Upload stopped after (\\d+) of 15 blocks: the ECU now holds part of the new "
            "configuration and part of the old one; write the file again, or write the restore "
            "point " +
            QRegularExpression::escape(point) + " to put back what it held \\n$");
        const QRegularExpressionMatch match = stopped.match(QString::fromLocal8Bit(r.err));
        QVERIFY2(match.hasMatch(), r.err.constData());
        const int written = match.captured(1).toInt();
        // Acknowledged ones only: the first block's acknowledgement may still
        // have been on the way when the line died.
        QVERIFY2(written >= 0 && written < 14, r.err.constData());
        // A mix: the first block is the new one, the last (0xA47..0xA79) still the old one.
        QCOMPARE(quint8(ecu.peek(0x803, 1).at(0)), other.at(0x803));
        QCOMPARE(ecu.peek(0xA47, 0x33), before.mid(0xA47 - 0x800, 0x33));

        // The restore point puts the ECU back.
        QVERIFY(!ecu.ask("fault off").isEmpty());
        QVERIFY(!ecu.ask("plug").isEmpty());
        QCOMPARE(ecu.cli({"upload", point}).exitCode, 0);
        QCOMPARE(ecu.config(), before);
    }

    // The adapter unplugged while the whole memory is read: a message, no file.
    void saveUnplugged() {
        Ecu ecu(22);
        QVERIFY(ecu.start());
        RunningCli save(ecu, {"save", ecu.dirPath("car.fra")});
        const QRegularExpression reads(QStringLiteral("\\(R (\\d+),"));
        const auto readsAnswered = [&] {
            return reads.match(QString::fromLatin1(ecu.ask("status"))).captured(1).toInt();
        };
        QVERIFY(QTest::qWaitFor([&] { return readsAnswered() >= 3; }, 30000));
        QVERIFY(!ecu.ask("vanish").isEmpty());
        const RunResult r = save.finish();
        QCOMPARE(r.exitCode, 2);
        QCOMPARE(r.err, QByteArray(" Adapter Serial not connect \n"));
        QVERIFY(r.out.isEmpty() && !QFile::exists(ecu.dirPath("car.fra")));
    }
};

QTEST_MAIN(TestCliTransferFailures)
#include "tst_cli_transfer_failures.moc"
