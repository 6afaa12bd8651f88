// From program start to a loaded configuration: phases, menu states,
// transfer forms and their messages.
#include "link/link.h"
#include "monitor/monitor_screen.h"
#include "pages/level_page.h"
#include "shell/info_form.h"
#include "shell/main_window.h"
#include "support/fake_dialogs.h"
#include "support/fake_serial_port.h"
#include "support/frame_helpers.h"
#include "transfer/prog_start_form.h"
#include "transfer/transfer_form.h"
#include "ui/colors.h"
#include "ui/menu.h"
#include "ui/shape.h"
#include "ui/status_strip.h"

#include <QFile>
#include <QLabel>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {
const QStringList Always = {QStringLiteral("Info"), QStringLiteral("quitter")};
const QStringList Waiting = {QStringLiteral("Charger"), QStringLiteral("Connection"),
                             QStringLiteral("Info"), QStringLiteral("quitter")};

QStringList sorted(QStringList list) {
    list.sort();
    return list;
}
} // namespace

class TestStartup : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init();
    void cleanup();
    void phasesEnableTheRightButtons();
    void brandsChooseCaptionAndStartForm_data();
    void brandsChooseCaptionAndStartForm();
    void variantShowsAndHidesOptionalControls_data();
    void variantShowsAndHidesOptionalControls();
    void configurationFileSetsThePort_data();
    void configurationFileSetsThePort();
    void silentEcuTimesOutWithAMessage();
    void closedProgressFormIsLoadedAgainWithItsOwnMaximum();
    void activityLightTurnsAtEveryFrame();

  private:
    void start(const Variant &variant = {});
    void answerFullRead();

    QTemporaryDir dir;
    FakeSerialPort *port = nullptr;
    std::unique_ptr<Link> link;
    FakeDialogs dialogs;
    std::unique_ptr<MainWindow> window;
};

void TestStartup::init() {
    QFile::remove(dir.filePath(QStringLiteral("prconfig.txt")));
    dialogs = FakeDialogs();
}

void TestStartup::cleanup() {
    window.reset();
    link.reset();
    delete port;
    port = nullptr;
}

void TestStartup::start(const Variant &variant) {
    port = new FakeSerialPort;
    link = std::make_unique<Link>(port);
    window = std::make_unique<MainWindow>(*link, &dialogs, dir.path(), variant);
    window->MDIForm1_Load();
    window->show();
}

void TestStartup::answerFullRead() {
    for (int i = 0; i < BlockCount && link->state.FullReadActive; ++i) {
        const BlockRange r = blockRange(port->written.last().chopped(1));
        port->feed(filledFrame(r.address, r.count, 0x11));
    }
}

void TestStartup::phasesEnableTheRightButtons() {
    start();
    Menu &menu = window->menu();
    Screens &s = window->screens();
    QCOMPARE(window->windowTitle(), QStringLiteral(" Morvane Group 3.01"));
    QVERIFY(s.FnEntete->isShown());
    QVERIFY(!s.FnProgStart->isShown());
    QCOMPARE(sorted(menu.enabledButtons()), sorted(Always));
    QCOMPARE(window->etat().BarreEtat->text(), QStringLiteral("No Dialogue on COM"));
    QCOMPARE(s.FnDownload->AXProgress1->maximum(), BlockCount);
    // The connection form listed the ports 0..20 at start-up, each opened
    // and closed again.
    QCOMPARE(port->openedPorts.size(), 21);
    QVERIFY(!port->isOpen());
    port->openedPorts.clear();

    QTest::mouseClick(s.FnEntete->Command1, Qt::LeftButton);
    QVERIFY(!s.FnEntete->isShown());
    QVERIFY(s.FnProgStart->isShown());
    QCOMPARE(sorted(menu.enabledButtons()), sorted(Waiting));
    QCOMPARE(port->openedPorts, QList<int>{1});
    QCOMPARE(window->etat().BarreEtat->text(), QStringLiteral(" Connection on COM 1"));

    QTest::mouseClick(s.FnProgStart->BoutonPC, Qt::LeftButton);
    QVERIFY(s.FnDownload->isShown());
    answerFullRead();
    QVERIFY(link->state.DataLoaded);
    QVERIFY(!s.FnDownload->isShown());
    QVERIFY(!s.FnProgStart->isShown());
    QCOMPARE(s.FnDownload->AXProgress1->value(), BlockCount);
    QCOMPARE(sorted(menu.enabledButtons()), sorted(Menu::readyButtons() + Always));
    QCOMPARE(window->etat().BarreEtat2->text(), QStringLiteral("File to charge : ECM"));
    QCOMPARE(window->etat().BarreEtat->text(), QStringLiteral(" Dialogue on COM1"));
    QVERIFY(dialogs.shown.isEmpty());

    // A later read leaves the menu and the forms alone.
    menu.setButtonsEnabled({QStringLiteral("Moniteur")}, false);
    link->StartFullRead();
    answerFullRead();
    QVERIFY(!menu.Moniteur->isEnabled());
    QVERIFY(!s.FnProgStart->isShown());
}

void TestStartup::brandsChooseCaptionAndStartForm_data() {
    QTest::addColumn<int>("brand");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("firstForm");
    QTest::addColumn<QStringList>("enabled");
    QTest::newRow("0") << 0 << " Morvane Group 3.01"
                       << "FnEntete" << Always;
    QTest::newRow("1") << 1 << " Kelvra 3.01"
                       << "FnEntete2" << Always;
    QTest::newRow("2") << 2 << " Pelgaro "
                       << "FnProgStart" << Waiting;
}

void TestStartup::brandsChooseCaptionAndStartForm() {
    QFETCH(int, brand);
    QFETCH(QString, caption);
    QFETCH(QString, firstForm);
    QFETCH(QStringList, enabled);
    Variant variant;
    variant.Brand = brand;
    start(variant);
    QCOMPARE(window->windowTitle(), caption);
    QStringList shown;
    for (Form *f : window->findChildren<Form *>()) {
        if (f->isShown())
            shown.append(f->objectName());
    }
    QCOMPARE(shown, QStringList{firstForm});
    QCOMPARE(sorted(window->menu().enabledButtons()), sorted(enabled));
    QVERIFY(!window->menu().BtMap->isVisibleTo(window.get())); // no emission tools in this build
    QVERIFY(window->menu().Moniteur->isVisibleTo(window.get()));
}

void TestStartup::variantShowsAndHidesOptionalControls_data() {
    QTest::addColumn<int>("extended");
    QTest::addColumn<int>("batteryHidden");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<int>("gasTimes");
    QTest::addColumn<int>("tools");
    QTest::newRow("shipped build") << 0 << 1 << false << 0 << 0;
    QTest::newRow("extended, battery hidden") << 1 << 1 << false << 1 << 1;
    QTest::newRow("extended, battery shown") << 1 << 0 << true << 0 << 1;
    QTest::newRow("plain, battery shown") << 0 << 0 << true << 1 << 0;
}

void TestStartup::variantShowsAndHidesOptionalControls() {
    QFETCH(int, extended);
    QFETCH(int, batteryHidden);
    QFETCH(bool, shown);
    QFETCH(int, gasTimes);
    QFETCH(int, tools);
    Variant variant;
    variant.ExtendedCalibration = extended;
    variant.BatteryPageHidden = batteryHidden;
    variant.GasTimesShown = gasTimes;
    variant.EmissionTools = tools;
    start(variant);
    LevelPage *page = window->screens().FnParametres2;
    QCOMPARE(page->BtPageSuivante->isVisibleTo(page), shown);
    MonitorScreen *monitor = window->screens().FnMoniteur;
    for (QLineEdit *gas : monitor->TextG)
        QCOMPARE(gas->isVisibleTo(monitor), gasTimes == 1);
    QCOMPARE(monitor->EmiStart->isVisibleTo(monitor), tools != 0);
    QCOMPARE(window->menu().BtMap->isVisibleTo(window.get()), tools != 0);
    QCOMPARE(window->menu().BtMemoire->isVisibleTo(window.get()), tools != 0 && extended != 0);
}

void TestStartup::configurationFileSetsThePort_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("expectedPort");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("port 3") << QByteArray("FichierConfig:]3]]]]]Fin\r\n") << 3 << QStringList();
    QTest::newRow("LF only") << QByteArray("FichierConfig:]7]]]]]Fin\n") << 7 << QStringList();
    QTest::newRow("empty port field")
        << QByteArray("FichierConfig:]]]]]]Fin\r\n") << 0 << QStringList();
    QTest::newRow("wrong header") << QByteArray("Config:]3]]]]]Fin\r\n") << 1
                                  << QStringList{" Error in the file config "};
    QTest::newRow("garbage") << QByteArray("\x01\x02\xff") << 1
                             << QStringList{" Error in the file config "};
}

void TestStartup::configurationFileSetsThePort() {
    QFETCH(QByteArray, content);
    QFETCH(int, expectedPort);
    QFETCH(QStringList, messages);
    QFile file(dir.filePath(QStringLiteral("prconfig.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    start();
    QCOMPARE(link->state.PortNumber, expectedPort);
    QCOMPARE(dialogs.texts(), messages);
}

void TestStartup::silentEcuTimesOutWithAMessage() {
    start();
    window->screens().FnEntete->Command1_Click();
    window->screens().FnProgStart->BoutonPC_Click();
    for (int i = 0; i < 3; ++i)
        link->TimerDownload_Timer();
    QCOMPARE(dialogs.texts(), QStringList{"No communication on COM1"});
    QCOMPARE(dialogs.shown.at(0).icon, Dialogs::Icon::Warning);
    QVERIFY(!window->screens().FnDownload->isShown());
    QVERIFY(!link->state.DataLoaded);
    QCOMPARE(sorted(window->menu().enabledButtons()), sorted(Waiting));
}

void TestStartup::closedProgressFormIsLoadedAgainWithItsOwnMaximum() {
    start();
    Screens &s = window->screens();
    s.FnEntete->Command1_Click();
    s.FnProgStart->BoutonPC_Click();
    s.FnDownload->window()->close(); // the fitter closes the progress window
    QVERIFY(!link->state.FullReadActive);
    QVERIFY(!s.FnDownload->isShown());
    s.FnProgStart->BoutonPC_Click();
    QVERIFY(s.FnDownload->isShown());
    QCOMPARE(s.FnDownload->AXProgress1->maximum(), 21);
}

void TestStartup::activityLightTurnsAtEveryFrame() {
    start();
    window->screens().FnEntete->Command1_Click();
    Shape *light = window->etat().ShapeDialog;
    const int before = light->fillColor();
    port->feed(ackFrame());
    QVERIFY(light->fillColor() != before);
    port->feed(ackFrame());
    QCOMPARE(light->fillColor(), before);
    QVERIFY(before == colors::PureGreen || before == colors::PureBlue);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
