// Finding the ECU's port: list, search tick by tick, port remembered, device names.
#include "files/config_file.h"
#include "link/port_directory.h"
#include "link/port_search.h"
#include "pages/data_table.h"
#include "support/fake_link.h"
#include "support/frame_helpers.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
QByteArray fileText(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

bool writeFile(const QString &path, const QByteArray &text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}
} // namespace

class TestPortSearch : public QObject, FakeLink {
    Q_OBJECT
    std::unique_ptr<PortSearch> search; // goes before the link it uses
    QTemporaryDir dir;
    QStringList logged;

    void startSearch() { // over ports 1 and 4; every other port is missing
        port->nextOpen = SerialPort::OpenResult::NotFound;
        port->openByPort = {{1, SerialPort::OpenResult::Opened},
                            {4, SerialPort::OpenResult::Opened}};
        search->buildList();
        search->start();
    }
    QString config() const { return dir.filePath("prconfig.txt"); }

  private Q_SLOTS:
    void init() {
        search.reset();
        rebuild();
        search = std::make_unique<PortSearch>(*link);
        logged.clear();
        connect(search.get(), &PortSearch::logged, this, [this](const QString &l) { logged += l; });
        QFile::remove(config());
    }

    void list_data() {
        columns<QList<int>, QStringList>("present", "entries");
        row("none", QList<int>{}, QStringList{" No Rs232 "});
        row("3, 21 and 255, not 0", QList<int>{0, 3, 21, 255},
            QStringList{"COM 3", "COM 21", "COM 255"});
    }
    void list() {
        const auto [present] = fetch<QList<int>>("present");
        port->nextOpen = SerialPort::OpenResult::InUse;
        for (int p : present)
            port->openByPort[p] = SerialPort::OpenResult::Opened;
        QTEST(search->buildList(), "entries");
        QVERIFY(!port->isOpen()); // each port was closed again
    }

    void findsTheEcuOnPort4PastPort1() {
        link->image.set(0x000, 0x41); // left from an earlier read
        QSignalSpy found(search.get(), &PortSearch::found);
        startSearch();
        QCOMPARE(link->image.at(0x000), quint8(0));
        QCOMPARE(search->TimerTestCom.interval(), 300);
        search->TimerTestCom_Timer(); // tick 1: port 1
        QCOMPARE(port->takeWritten(), QByteArray("@R0000183\r"));
        port->feed(filledFrame(0x000, 0x37, 0x41)); // a poll answer an earlier program left
        search->TimerTestCom_Timer();               // tick 2: 1 closed, 2 and 3 skipped, 4 opened
        QCOMPARE(port->takeWritten(), QByteArray("@R0000183\r"));
        port->feed(dataFrame(0x000, {0x5A}));
        search->TimerTestCom_Timer(); // tick 3: the answer is in
        QCOMPARE(found.count(), 1);
        QCOMPARE(found.at(0).at(0).toInt(), 4);
        QVERIFY(!search->isSearching() && link->state.PortIsOpen);
        QCOMPARE(logged.join(QString()), " timer  sur 1 = 1\r\nourvre la com 1\r\n"
                                         " ferme comme 1\r\n timer  sur 4 = 1\r\n"
                                         "ourvre la com 4\r\n trouver !!90\r\n");
    }

    void noAnswerEndsTheSearchWithAllPortsClosed() {
        QSignalSpy exhausted(search.get(), &PortSearch::exhausted);
        startSearch();
        for (int tick = 0; tick < 3; ++tick)
            search->TimerTestCom_Timer();
        QCOMPARE(exhausted.count(), 1);
        QVERIFY(!search->isSearching() && !link->state.PortIsOpen);
        QVERIFY(logged.join(QString()).endsWith(" ferme comme 4\r\n timer  sur 256 = 0\r\n"
                                                " teste fini pas de porte trouvé \r\n"));
        QVERIFY(!QFile::exists(config()));
    }

    void rememberingKeepsTheOtherFields() {
        QVERIFY(writeFile(config(), "FichierConfig:]3]C:\\lng\\fr.lng]a]b]c]Fin\r\n"));
        QVERIFY(ConfigFile(dir.path()).rememberPort(7));
        QCOMPARE(fileText(config()), QByteArray("FichierConfig:]7]C:\\lng\\fr.lng]a]b]c]Fin\r\n"));
        QVERIFY(writeFile(config(), "Garbage]3]x]Fin\r\n")); // a bad header: nothing else is kept
        QVERIFY(ConfigFile(dir.path()).rememberPort(7));
        QCOMPARE(fileText(config()), QByteArray("FichierConfig:]7]]]]]Fin\r\n"));
    }

    void deviceByPlatform_data() {
        columns<int, int, QString>("platform", "number", "name"); // "DIR/": the port directory
        const int onUnix = int(PortPlatform::Unix), onWindows = int(PortPlatform::Windows);
        row("unix adapter 1", onUnix, 1, QString("/dev/ttyUSB0"));
        row("unix entry link", onUnix, 4, QString("DIR/target4"));
        row("unix entry file", onUnix, 5, QString("/dev/ttyS9"));
        row("windows ignores entries", onWindows, 4, QString("COM4"));
    }
    void deviceByPlatform() {
        auto [platform, number, name] = fetch<int, int, QString>("platform", "number", "name");
        QTemporaryDir ports;
        QVERIFY(QFile::link(ports.filePath("target4"), ports.filePath("com4")));
        QVERIFY(writeFile(ports.filePath("com5"), "/dev/ttyS9\n"));
        const PortDevice device =
            PortDirectory(ports.path()).device(number, PortPlatform(platform));
        QCOMPARE(device.name, name.replace("DIR/", ports.path() + '/'));
        QCOMPARE(device.mustExist, platform == int(PortPlatform::Unix)); // else not tried
    }
};

QTEST_GUILESS_MAIN(TestPortSearch)
#include "tst_port_search.moc"
