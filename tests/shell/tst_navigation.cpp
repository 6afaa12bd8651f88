// The menu bar: which screen each button brings forward and how it sets up
// the live poll.
#include "link/frames.h"
#include "monitor/monitor_screen.h"
#include "pages/lambda_page.h"
#include "shell/navigation.h"
#include "support/fake_dialogs.h"
#include "support/window_session.h"

#include <QTemporaryDir>
#include <QTest>

class TestNavigation : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    FakeDialogs dialogs;
    WindowSession session;
    std::unique_ptr<Link> &link = session.link;
    std::unique_ptr<MainWindow> &window = session.window;

    QStringList shownScreens() const {
        QStringList out;
        for (Form *f : window->screens().screenSet()) {
            if (f->isShown())
                out.append(f->objectName());
        }
        return out;
    }

  private Q_SLOTS:
    void init() {
        dialogs = FakeDialogs();
        session.start(dialogs, dir.path(), Variant::build());
        QVERIFY(link->OpenPort());
    }
    void cleanup() { session.reset(); }

    // Leaving the monitor stops the poll; the level and battery pages keep
    // the watchdog, the battery page polls the second live area.
    void parametersReopenTheLastPage_data() {
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
    void parametersReopenTheLastPage() {
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

    void monitorChecksThePort_data() {
        QTest::addColumn<bool>("open");
        QTest::newRow("port open") << true;
        QTest::newRow("port closed") << false;
    }
    void monitorChecksThePort() {
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

    // The lambda page and the connection screen stop the poll and the watchdog;
    // every button stops a running calibration, and says so.
    void otherButtons() {
        Navigation &nav = window->navigation();
        const std::pair<std::function<void()>, QString> buttons[] = {
            {[&] { nav.BtEmission_Click(); }, "FnParametres6"},
            {[&] { nav.Connection_Click(); }, "FnConnection"},
            {[&] { nav.Parametres_Click(); }, ""},
            {[&] { nav.Moniteur_Click(); }, ""}};
        for (const auto &[press, screen] : buttons) {
            if (!screen.isEmpty()) {
                nav.Moniteur_Click();
                press();
                QCOMPARE(shownScreens(), QStringList{screen});
                QVERIFY(!link->state.PollingOn);
                QVERIFY(!window->screens().FnMoniteur->Timer1.isActive());
            }
            dialogs.shown.clear();
            window->app().CalibrationRunning = true;
            press();
            QCOMPARE(dialogs.texts().value(0), QStringLiteral(" CALIBRATION STOP "));
            QVERIFY(!window->app().CalibrationRunning);
        }
    }
};

QTEST_MAIN(TestNavigation)
#include "tst_navigation.moc"
