// The menu bar: which screen each button brings forward and how it sets up
// the live poll.
#include "link/frames.h"
#include "link/link.h"
#include "monitor/monitor_screen.h"
#include "pages/lambda_page.h"
#include "shell/main_window.h"
#include "shell/navigation.h"
#include "support/fake_dialogs.h"
#include "support/fake_serial_port.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestNavigation : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init();
    void cleanup();
    void parametersReopenTheLastPage_data();
    void parametersReopenTheLastPage();
    void monitorChecksThePort_data();
    void monitorChecksThePort();
    void lambdaAndConnectionScreens();
    void runningCalibrationIsNeverLeftSilently();

  private:
    QStringList shownScreens() const;

    QTemporaryDir dir;
    FakeSerialPort *port = nullptr;
    std::unique_ptr<Link> link;
    FakeDialogs dialogs;
    std::unique_ptr<MainWindow> window;
};

void TestNavigation::init() {
    dialogs = FakeDialogs();
    port = new FakeSerialPort;
    link = std::make_unique<Link>(port);
    window = std::make_unique<MainWindow>(*link, &dialogs, dir.path());
    window->MDIForm1_Load();
    window->show();
    QVERIFY(link->OpenPort());
}

void TestNavigation::cleanup() {
    window.reset();
    link.reset();
    delete port;
}

QStringList TestNavigation::shownScreens() const {
    QStringList out;
    for (Form *f : window->screens().screenSet()) {
        if (f->isShown())
            out.append(f->objectName());
    }
    return out;
}

void TestNavigation::parametersReopenTheLastPage_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("screen");
    QTest::addColumn<bool>("watchdog");
    QTest::addColumn<QByteArray>("pollFrame");
    const QByteArray monitor = frames::MonitorPoll.toByteArray();
    QTest::newRow("main") << 0 << "FnParametres" << false << monitor;
    QTest::newRow("level") << 1 << "FnParametres2" << true << monitor;
    QTest::newRow("coefficients") << 2 << "FnParametres3" << false << monitor;
    QTest::newRow("ntc") << 3 << "FnParametres4" << false << monitor;
    QTest::newRow("battery") << 4 << "FnParametres5" << true
                             << frames::SecondLivePoll.toByteArray();
}

void TestNavigation::parametersReopenTheLastPage() {
    QFETCH(int, page);
    QFETCH(QString, screen);
    QFETCH(bool, watchdog);
    QFETCH(QByteArray, pollFrame);
    window->navigation().Moniteur_Click();
    QVERIFY(link->state.PollingOn);
    window->app().CurrentPage = page;
    window->navigation().Parametres_Click();
    QCOMPARE(shownScreens(), QStringList{screen});
    QVERIFY(!link->state.PollingOn);
    QCOMPARE(window->screens().FnMoniteur->Timer1.isActive(), watchdog);
    QCOMPARE(link->state.PollFrame, pollFrame);
}

void TestNavigation::monitorChecksThePort_data() {
    QTest::addColumn<bool>("open");
    QTest::newRow("port open") << true;
    QTest::newRow("port closed") << false;
}

void TestNavigation::monitorChecksThePort() {
    QFETCH(bool, open);
    if (!open)
        link->ClosePort();
    link->state.PollFrame = frames::SecondLivePoll.toByteArray();
    window->navigation().Moniteur_Click();
    QCOMPARE(link->state.PollFrame, frames::MonitorPoll.toByteArray());
    QVERIFY(window->screens().FnMoniteur->isShown());
    QVERIFY(window->screens().FnMoniteur->Timer1.isActive());
    QCOMPARE(link->state.PollingOn, open);
    QCOMPARE(dialogs.texts(), open ? QStringList() : QStringList{" Serial port not select "});
    QCOMPARE(window->screens().FnConnection->isShown(), !open);
    if (!open)
        QCOMPARE(dialogs.shown.at(0).icon, Dialogs::Icon::Information);
}

void TestNavigation::lambdaAndConnectionScreens() {
    window->navigation().Moniteur_Click();
    window->navigation().BtEmission_Click();
    QCOMPARE(shownScreens(), QStringList{"FnParametres6"});
    QVERIFY(!link->state.PollingOn);
    QVERIFY(!window->screens().FnMoniteur->Timer1.isActive());

    window->navigation().Moniteur_Click();
    window->navigation().Connection_Click();
    QCOMPARE(shownScreens(), QStringList{"FnConnection"});
    QVERIFY(!link->state.PollingOn);
    QVERIFY(!window->screens().FnMoniteur->Timer1.isActive());
}

void TestNavigation::runningCalibrationIsNeverLeftSilently() {
    Navigation &nav = window->navigation();
    const std::function<void()> buttons[] = {
        [&] { nav.Moniteur_Click(); }, [&] { nav.Parametres_Click(); },
        [&] { nav.BtEmission_Click(); }, [&] { nav.Connection_Click(); }};
    for (const auto &press : buttons) {
        dialogs.shown.clear();
        window->app().CalibrationRunning = true;
        press();
        QCOMPARE(dialogs.texts().value(0), QStringLiteral(" CALIBRATION STOP "));
        QVERIFY(!window->app().CalibrationRunning);
    }
}

QTEST_MAIN(TestNavigation)
#include "tst_navigation.moc"
