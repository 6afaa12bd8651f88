// The connection form and the ways back to a working line: validating a
// port, the search through the form, the start form closed, the monitor
// watchdog's failing send.
#include "link/link.h"
#include "monitor/monitor_screen.h"
#include "shell/connection_form.h"
#include "shell/info_form.h"
#include "shell/main_window.h"
#include "support/fake_dialogs.h"
#include "support/fake_serial_port.h"
#include "support/frame_helpers.h"
#include "transfer/prog_start_form.h"
#include "ui/menu.h"
#include "ui/screens.h"
#include "ui/status_strip.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

class TestConnectionForm : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init();
    void cleanup();
    void listAtStartUp();
    void validate_data();
    void validate();
    void searchThroughTheFormStartsTheRead();
    void closingTheStartFormLeavesAWayOn();
    void watchdogReportsAFailingSend_data();
    void watchdogReportsAFailingSend();

  private:
    ConnectionForm &form() {
        return *static_cast<ConnectionForm *>(window->screens().FnConnection);
    }
    void start(QMap<int, SerialPort::OpenResult> ports);
    QByteArray config() const {
        QFile file(dir.filePath(QStringLiteral("prconfig.txt")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    FakeSerialPort *port = nullptr;
    std::unique_ptr<Link> link;
    FakeDialogs dialogs;
    std::unique_ptr<MainWindow> window;
};

void TestConnectionForm::init() {
    dialogs = FakeDialogs();
    QFile::remove(dir.filePath(QStringLiteral("prconfig.txt")));
}

void TestConnectionForm::cleanup() {
    window.reset();
    link.reset();
    delete port;
}

// Ports named open; every other port is missing.
void TestConnectionForm::start(QMap<int, SerialPort::OpenResult> ports) {
    port = new FakeSerialPort;
    port->nextOpen = SerialPort::OpenResult::NotFound;
    port->openByPort = std::move(ports);
    link = std::make_unique<Link>(port);
    window = std::make_unique<MainWindow>(*link, &dialogs, dir.path());
    window->MDIForm1_Load();
    window->show();
}

void TestConnectionForm::listAtStartUp() {
    start({{2, SerialPort::OpenResult::Opened}, {7, SerialPort::OpenResult::Opened}});
    QCOMPARE(form().Combo1->count(), 2);
    QCOMPARE(form().Combo1->itemText(0), QStringLiteral("COM 2"));
    QCOMPARE(form().Combo1->itemText(1), QStringLiteral("COM 7"));
    QCOMPARE(form().Combo1->currentIndex(), 0);
    QCOMPARE(form().windowTitle(), QStringLiteral("Connection "));
    QCOMPARE(form().Command1->text(), QStringLiteral("   Validate    "));
    QCOMPARE(form().Label1->text(), QStringLiteral("Selection of the port serial "));
    for (QToolButton *b : {form().Command3, form().Actualise, form().Command4})
        QVERIFY(!b->icon().isNull());
    QVERIFY(!link->state.PortIsOpen);
}

void TestConnectionForm::validate_data() {
    QTest::addColumn<int>("present"); // -1: none
    QTest::addColumn<bool>("opened");
    QTest::addColumn<int>("portNumber");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("port 7") << 7 << true << 7 << QStringList();
    QTest::newRow("no Rs232 tries port 2")
        << -1 << false << 2 << QStringList{" Serial Port non-existent "};
}

void TestConnectionForm::validate() {
    QFETCH(int, present);
    QFETCH(bool, opened);
    QFETCH(int, portNumber);
    QFETCH(QStringList, messages);
    QMap<int, SerialPort::OpenResult> ports;
    if (present >= 0)
        ports[present] = SerialPort::OpenResult::Opened;
    start(ports);
    window->screens().FnEntete->unloadForm(); // the fitter closed the start form
    QTest::mouseClick(window->menu().Connection, Qt::LeftButton);
    QVERIFY(form().isShown());
    form().Combo1->setCurrentIndex(form().Combo1->count() - 1);
    QTest::mouseClick(form().Command1, Qt::LeftButton);
    QCOMPARE(link->state.PortIsOpen, opened);
    QCOMPARE(link->state.PortNumber, portNumber);
    QCOMPARE(dialogs.texts(), messages);
    QCOMPARE(config(), QByteArray("FichierConfig:]") + QByteArray::number(portNumber) +
                           QByteArray("]]]]]Fin\r\n"));
    // A missing port brings the form back; an open one leads on to the read.
    QCOMPARE(form().isShown(), !opened);
    QCOMPARE(window->screens().FnProgStart->isShown(), true);
}

void TestConnectionForm::searchThroughTheFormStartsTheRead() {
    start({{1, SerialPort::OpenResult::Opened}, {4, SerialPort::OpenResult::Opened}});
    QTest::mouseClick(window->menu().Connection, Qt::LeftButton);
    QTest::mouseClick(form().Command4, Qt::LeftButton);
    QVERIFY(form().search.isSearching());
    form().search.TimerTestCom_Timer();
    form().search.TimerTestCom_Timer();
    port->written.clear();
    port->feed(dataFrame(0x000, {0x21}));
    form().search.TimerTestCom_Timer();
    QCOMPARE(port->written, QByteArrayList{"@R0003489\r"}); // the whole read begins
    QVERIFY(link->state.FullReadActive);
    QVERIFY(!form().isShown());
    QCOMPARE(form().Text1->toPlainText(), QStringLiteral(" timer  sur 1 = 1\n"
                                                         "ourvre la com 1\n"
                                                         " ferme comme 1\n"
                                                         " timer  sur 4 = 1\n"
                                                         "ourvre la com 4\n"
                                                         " trouver !!33\n"));
    QCOMPARE(config(), QByteArray("FichierConfig:]4]]]]]Fin\r\n"));
}

void TestConnectionForm::closingTheStartFormLeavesAWayOn() {
    start({{1, SerialPort::OpenResult::Opened}});
    Menu &menu = window->menu();
    QVERIFY(!menu.Connection->isEnabled());
    window->screens().FnEntete->window()->close();
    QVERIFY(menu.Connection->isEnabled());
    QVERIFY(menu.Charger->isEnabled());
    QVERIFY(window->screens().FnProgStart->isShown());
    QVERIFY(!link->state.PortIsOpen);
}

void TestConnectionForm::watchdogReportsAFailingSend_data() {
    QTest::addColumn<int>("write");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("connectionShown");
    QTest::newRow("write error") << int(SerialPort::WriteResult::Failed) << QStringList() << false;
    QTest::newRow("adapter gone") << int(SerialPort::WriteResult::DeviceGone)
                                  << QStringList{" Adapter serial not connect "} << true;
}

void TestConnectionForm::watchdogReportsAFailingSend() {
    QFETCH(int, write);
    QFETCH(QStringList, messages);
    QFETCH(bool, connectionShown);
    start({{1, SerialPort::OpenResult::Opened}});
    link->state.PortNumber = 1;
    QVERIFY(link->OpenPort());
    port->nextWrite = SerialPort::WriteResult(write);
    MonitorScreen &monitor = *window->screens().FnMoniteur;
    for (int tick = 0; tick < 3; ++tick)
        monitor.Timer1_Timer();
    QCOMPARE(window->etat().BarreEtat->text(), QStringLiteral(" --------- "));
    QCOMPARE(dialogs.texts(), messages);
    QCOMPARE(form().isShown(), connectionShown);
    QVERIFY(!link->state.PollingOn);
}

QTEST_MAIN(TestConnectionForm)
#include "tst_connection_form.moc"
