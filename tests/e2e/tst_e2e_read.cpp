// The whole road over a real pseudo-terminal: the command-line reader and
// the tool's own start-up against the ECU simulator.
#include "cli/memory_dump.h"
#include "support/dump_helpers.h"
#include "support/fake_dialogs.h"
#include "support/sim_process.h"
#include "support/sim_session.h"
#include "ui/menu.h"

#include <QFile>
#include <QRegularExpression>

namespace {
bool writeFile(const QString &path, const QByteArray &content) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}
} // namespace

class TestEndToEndRead : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void cliReadsTheWholeMemory();
    void cliFailures_data();
    void cliFailures();
    void toolStartsUpAgainstTheSimulator();
    void unpluggedAdapterWhilePolling();
};

void TestEndToEndRead::cliReadsTheWholeMemory() {
    // A captured ECU whose configuration bytes follow a pattern no default has.
    MemoryImage expected;
    for (int a = 0x800; a <= 0xFFF; ++a)
        expected.set(a, static_cast<quint8>((a * 7 + 3) & 0xFF));
    SimProcess sim(4);
    const QString capture = sim.dirPath(QStringLiteral("capture.txt"));
    QVERIFY(writeFile(capture, memoryDump(expected)));
    QVERIFY(sim.start({QStringLiteral("--load"), capture}));
    // The port comes from prconfig.txt in the current directory.
    QTemporaryDir work;
    QVERIFY(
        writeFile(work.filePath(QStringLiteral("prconfig.txt")), "FichierConfig:]4]]]]]Fin\r\n"));
    const RunResult r = runProgram(
        qEnvironmentVariable("GASECU_CLI"),
        {QStringLiteral("read"), QStringLiteral("--ports-dir"), sim.portsDir()}, work.path());
    QCOMPARE(r.exitCode, 0);
    const QByteArrayList lines = r.out.split('\n');
    QCOMPARE(lines.size(), 257); // 256 lines and the final line end
    static const QRegularExpression line(QStringLiteral("^[0-9A-F]{3}:( [0-9A-F]{2}){16}$"));
    for (int i = 0; i < 256; ++i) {
        QVERIFY2(line.match(QString::fromLatin1(lines[i])).hasMatch(), lines[i].constData());
        QCOMPARE(lines[i].left(3).toInt(nullptr, 16), 16 * i);
    }
    // Every configuration byte the block table covers came across intact.
    for (int a = 0x801; a <= 0xA79; ++a)
        QCOMPARE(dumpByte(r.out, a), int(expected.at(a)));
}

void TestEndToEndRead::cliFailures_data() {
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<int>("cliPort");
    QTest::addColumn<bool>("portHeld");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("silent ECU") << QStringList{QStringLiteral("--fault"), QStringLiteral("silent")}
                                << 1 << false << 1 << QByteArray("No communication on COM1\n");
    QTest::newRow("missing port") << QStringList() << 9 << false << 2
                                  << QByteArray(" Serial Port non-existent \n");
    QTest::newRow("busy port") << QStringList() << 1 << true << 2
                               << QByteArray(" Serial Port already in use \n");
}

void TestEndToEndRead::cliFailures() {
    QFETCH(QStringList, simArgs);
    QFETCH(int, cliPort);
    QFETCH(bool, portHeld);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, message);
    SimProcess sim(1);
    QVERIFY(sim.start(simArgs));
    QtSerialPort holder{PortDirectory(sim.portsDir())};
    if (portHeld)
        QCOMPARE(holder.open(1), SerialPort::OpenResult::Opened);
    const RunResult r =
        runProgram(qEnvironmentVariable("GASECU_CLI"),
                   {QStringLiteral("read"), QStringLiteral("--port"), QString::number(cliPort),
                    QStringLiteral("--ports-dir"), sim.portsDir()});
    QCOMPARE(r.exitCode, exitCode);
    QCOMPARE(r.err, message);
    QVERIFY(r.out.isEmpty());
}

void TestEndToEndRead::toolStartsUpAgainstTheSimulator() {
    SimSession session(2);
    QVERIFY(session.readEcu());
    QCOMPARE(session.window->menu().enabledButtons().size(), 12);
    QVERIFY(session.dialogs.shown.isEmpty());
    QVERIFY(session.link.image.at(0x000) != 0); // the firmware byte
}

void TestEndToEndRead::unpluggedAdapterWhilePolling() {
    SimProcess sim(3);
    QVERIFY(sim.start());
    QtSerialPort serial{PortDirectory(sim.portsDir())};
    Link link(&serial);
    link.state.PortNumber = 3;
    QSignalSpy warnings(&link, &Link::warning);
    QSignalSpy decoded(&link, &Link::dataDecoded);
    QVERIFY(link.OpenPort());
    link.state.PollingOn = true;
    link.SendLine(link.state.PollFrame);
    QTRY_VERIFY_WITH_TIMEOUT(decoded.count() >= 3, 20000);
    sim.command("vanish");
    QTRY_VERIFY_WITH_TIMEOUT(!link.state.PortIsOpen, 20000);
    QTest::qWait(500); // nothing more may come: no second message, no spinning
    QCOMPARE(warnings.count(), 1);
    QCOMPARE(warnings.at(0).at(0).toString(), QStringLiteral(" Adapter Serial not connect "));
    QVERIFY(!serial.isOpen());
}

QTEST_MAIN(TestEndToEndRead)
#include "tst_e2e_read.moc"
