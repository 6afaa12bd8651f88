// Finding the ECU's port: the list, the automatic search tick by tick, the
// port remembered, and which device a port number opens on each platform.
#include "link/link.h"
#include "link/port_directory.h"
#include "link/port_search.h"
#include "support/fake_serial_port.h"
#include "support/frame_helpers.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
QByteArray fileText(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}
} // namespace

class TestPortSearch : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init();
    void cleanup();
    void list_data();
    void list();
    void entryPort_data();
    void entryPort();
    void findsTheEcuOnPort4PastPort1();
    void noAnswerEndsTheSearchWithAllPortsClosed();
    void lateAnswerIsNotCreditedToItsPort();
    void rememberingKeepsTheOtherFields_data();
    void rememberingKeepsTheOtherFields();
    void deviceByPlatform_data();
    void deviceByPlatform();

  private:
    // Ports 1 and 4 open; every other port is missing.
    void twoPorts();
    QString log() const { return logged.join(QString()); }

    FakeSerialPort *port = nullptr;
    Link *link = nullptr;
    PortSearch *search = nullptr;
    QTemporaryDir dir;
    QStringList logged;
};

void TestPortSearch::init() {
    port = new FakeSerialPort;
    link = new Link(port);
    search = new PortSearch(*link, dir.path());
    logged.clear();
    connect(search, &PortSearch::logged, search, [this](const QString &l) { logged.append(l); });
    QFile::remove(dir.filePath(QStringLiteral("prconfig.txt")));
}

void TestPortSearch::cleanup() {
    delete search;
    delete link;
    delete port;
}

void TestPortSearch::twoPorts() {
    port->nextOpen = SerialPort::OpenResult::NotFound;
    port->openByPort = {{1, SerialPort::OpenResult::Opened}, {4, SerialPort::OpenResult::Opened}};
}

void TestPortSearch::list_data() {
    QTest::addColumn<QList<int>>("present");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("none") << QList<int>{} << QStringList{" No Rs232 "};
    QTest::newRow("0, 3 and 20") << QList<int>{0, 3, 20} << QStringList{"COM 0", "COM 3", "COM 20"};
    QTest::newRow("21 is never listed") << QList<int>{12, 21} << QStringList{"COM 12"};
}

void TestPortSearch::list() {
    QFETCH(QList<int>, present);
    QFETCH(QStringList, entries);
    port->nextOpen = SerialPort::OpenResult::InUse;
    for (int p : present)
        port->openByPort[p] = SerialPort::OpenResult::Opened;
    QCOMPARE(search->buildList(), entries);
    for (int i = 0; i <= 20; ++i)
        QCOMPARE(search->PortFlags[std::size_t(i)], quint8(present.contains(i) ? 1 : 0));
    QVERIFY(!port->isOpen()); // each port was closed again
    QVERIFY(!link->state.PortIsOpen);
}

void TestPortSearch::entryPort_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("number");
    QTest::newRow("COM 3") << "COM 3" << 3;
    QTest::newRow("COM 12") << "COM 12" << 12;
    QTest::newRow("no port tries port 2") << " No Rs232 " << 2;
}

void TestPortSearch::entryPort() {
    QFETCH(QString, entry);
    QFETCH(int, number);
    QCOMPARE(PortSearch::entryPort(entry), number);
}

void TestPortSearch::findsTheEcuOnPort4PastPort1() {
    twoPorts();
    link->image.set(0x000, 0x41); // left from an earlier read
    search->buildList();
    QSignalSpy found(search, &PortSearch::found);
    search->start();
    QCOMPARE(link->image.at(0x000), quint8(0));
    QCOMPARE(search->TimerTestCom.interval(), 300);

    search->TimerTestCom_Timer(); // tick 1: port 1
    QCOMPARE(link->state.PortNumber, 1);
    QCOMPARE(port->takeWritten(), QByteArray("@R0000183\r"));
    search->TimerTestCom_Timer(); // tick 2: 1 closed, 2 and 3 skipped, 4 opened
    QCOMPARE(link->state.PortNumber, 4);
    QCOMPARE(port->takeWritten(), QByteArray("@R0000183\r"));
    port->feed(dataFrame(0x000, {0x5A}));
    search->TimerTestCom_Timer(); // tick 3: the answer is in
    QCOMPARE(found.count(), 1);
    QCOMPARE(found.at(0).at(0).toInt(), 4);
    QVERIFY(!search->isSearching());
    QVERIFY(link->state.PortIsOpen);
    QCOMPARE(log(), QStringLiteral(" timer  sur 1 = 1\r\n"
                                   "ourvre la com 1\r\n"
                                   " ferme comme 1\r\n"
                                   " timer  sur 4 = 1\r\n"
                                   "ourvre la com 4\r\n"
                                   " trouver !!90\r\n"));
    QCOMPARE(fileText(dir.filePath(QStringLiteral("prconfig.txt"))),
             QByteArray("FichierConfig:]4]]]]]Fin\r\n"));
}

void TestPortSearch::noAnswerEndsTheSearchWithAllPortsClosed() {
    twoPorts();
    search->buildList();
    QSignalSpy exhausted(search, &PortSearch::exhausted);
    search->start();
    for (int tick = 0; tick < 3; ++tick)
        search->TimerTestCom_Timer();
    QCOMPARE(exhausted.count(), 1);
    QVERIFY(!search->isSearching());
    QVERIFY(!link->state.PortIsOpen);
    QCOMPARE(search->ScanIndex, 1);
    QVERIFY(log().endsWith(QStringLiteral(" ferme comme 4\r\n"
                                          " timer  sur 21 = 0\r\n"
                                          " teste fini pas de porte trouvé \r\n")));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("prconfig.txt"))));
}

void TestPortSearch::lateAnswerIsNotCreditedToItsPort() {
    twoPorts();
    search->buildList();
    search->start();
    search->TimerTestCom_Timer(); // port 1 asked
    search->TimerTestCom_Timer(); // port 1 closed, port 4 asked
    QCOMPARE(link->state.PortNumber, 4);
    // Port 1's answer can no longer arrive: its port is closed.
    QCOMPARE(port->openedPorts.mid(port->openedPorts.size() - 2), (QList<int>{1, 4}));
    QCOMPARE(link->image.at(0x000), quint8(0));
}

void TestPortSearch::rememberingKeepsTheOtherFields_data() {
    QTest::addColumn<QByteArray>("before"); // empty: no file
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("no file") << QByteArray() << QByteArray("FichierConfig:]7]]]]]Fin\r\n");
    QTest::newRow("language kept") << QByteArray("FichierConfig:]3]C:\\lng\\fr.lng]a]b]c]Fin\r\n")
                                   << QByteArray("FichierConfig:]7]C:\\lng\\fr.lng]a]b]c]Fin\r\n");
    QTest::newRow("bad header replaced")
        << QByteArray("Garbage]3]x]Fin\r\n") << QByteArray("FichierConfig:]7]]]]]Fin\r\n");
}

void TestPortSearch::rememberingKeepsTheOtherFields() {
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    const QString path = dir.filePath(QStringLiteral("prconfig.txt"));
    if (!before.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before);
    }
    link->state.PortNumber = 7;
    QVERIFY(search->rememberPort());
    QCOMPARE(fileText(path), after);
}

void TestPortSearch::deviceByPlatform_data() {
    QTest::addColumn<int>("platform");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("name"); // "DIR/" stands for the port directory
    QTest::addColumn<bool>("mustExist");
    const int onUnix = int(PortPlatform::Unix);
    const int onWindows = int(PortPlatform::Windows);
    QTest::newRow("unix adapter 1") << onUnix << 1 << "/dev/ttyUSB0" << true;
    QTest::newRow("unix adapter 12") << onUnix << 12 << "/dev/ttyUSB11" << true;
    QTest::newRow("unix entry link") << onUnix << 4 << "DIR/target4" << true;
    QTest::newRow("unix entry file") << onUnix << 5 << "/dev/ttyS9" << true;
    QTest::newRow("windows 1") << onWindows << 1 << "COM1" << false;
    QTest::newRow("windows 10 by name") << onWindows << 10 << "COM10" << false;
    QTest::newRow("windows ignores entries") << onWindows << 4 << "COM4" << false;
}

void TestPortSearch::deviceByPlatform() {
    QFETCH(int, platform);
    QFETCH(int, number);
    QFETCH(QString, name);
    QFETCH(bool, mustExist);
    QTemporaryDir ports;
    QVERIFY(QFile::link(ports.filePath(QStringLiteral("target4")),
                        ports.filePath(QStringLiteral("com4"))));
    QFile entry(ports.filePath(QStringLiteral("com5")));
    QVERIFY(entry.open(QIODevice::WriteOnly));
    entry.write("/dev/ttyS9\n");
    entry.close();
    const PortDevice device = PortDirectory(ports.path()).device(number, PortPlatform(platform));
    QCOMPARE(device.name, name.replace(QStringLiteral("DIR/"), ports.path() + QLatin1Char('/')));
    QCOMPARE(device.mustExist, mustExist);
}

QTEST_GUILESS_MAIN(TestPortSearch)
#include "tst_port_search.moc"
