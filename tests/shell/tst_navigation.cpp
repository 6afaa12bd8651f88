// The menu bar: which screen each button brings forward and how it sets up
// the live poll.
#include "link/frames.h"
#include "monitor/monitor_screen.h"
#include "pages/data_table.h"
#include "pages/lambda_page.h"
#include "shell/navigation.h"
#include "support/fake_dialogs.h"
#include "support/window_session.h"

#include <QTemporaryDir>
#include <QTest>

class TestNavigation : public QObject, WindowFixture {
    Q_OBJECT

    QStringList shownScreens() const {
        QStringList out;
        for (Form *f : window->screens().screenSet()) {
            if (f->isShown())
                out.append(f->objectName());
        }
        return out;
    }
    bool watchdogOn() const { return link->poll.watchdogActive(); }

  private Q_SLOTS:
    void init() {
        dialogs = FakeDialogs();
        session.start(dialogs, dir.path());
        QVERIFY(link->OpenPort());
    }
    void cleanup() { session.reset(); }

    // Leaving the monitor stops the poll; the level and battery pages keep
    // the watchdog, the battery page polls the second live area.
    void parametersReopenTheLastPage_data() {
        columns<int, QString, bool>("page", "screen", "watchdog");
        row("main", 0, "FnParametres", false);
        row("level", 1, "FnParametres2", true);
        row("battery", 4, "FnParametres5", true);
    }
    void parametersReopenTheLastPage() {
        const auto [page, screen] = fetch<int, QString>("page", "screen");
        window->navigation().Moniteur_Click();
        window->app().CurrentPage = page;
        window->navigation().Parametres_Click();
        QCOMPARE(shownScreens(), QStringList{screen});
        QVERIFY(!link->poll.isOn());
        QTEST(watchdogOn(), "watchdog");
        QCOMPARE(link->poll.frame(),
                 (page == 4 ? frames::SecondLivePoll : frames::MonitorPoll).toByteArray());
    }

    void monitorChecksThePort_data() {
        columns<bool>("open");
        row("port open", true);
        row("port closed", false);
    }
    void monitorChecksThePort() {
        const auto [open] = fetch<bool>("open");
        if (!open)
            link->ClosePort();
        link->poll.setFrame(frames::SecondLivePoll);
        window->navigation().Moniteur_Click();
        QCOMPARE(link->poll.frame(), frames::MonitorPoll.toByteArray());
        QVERIFY(window->screens().monitorScreen->isShown() && watchdogOn());
        QCOMPARE(link->poll.isOn(), open);
        QCOMPARE(dialogs.texts(), open ? QStringList() : QStringList{" Serial port not select "});
        QCOMPARE(window->screens().connection->isShown(), !open);
    }

    // The lambda page and the connection screen stop the poll and the watchdog.
    void lambdaAndConnectionStopThePoll() {
        Navigation &nav = window->navigation();
        nav.Moniteur_Click();
        nav.BtEmission_Click();
        QCOMPARE(shownScreens(), QStringList{"FnParametres6"});
        QVERIFY(!link->poll.isOn() && !watchdogOn());
        nav.Moniteur_Click();
        nav.Connection_Click();
        QCOMPARE(shownScreens(), QStringList{"FnConnection"});
        QVERIFY(!link->poll.isOn() && !watchdogOn());
    }
};

QTEST_MAIN(TestNavigation)
#include "tst_navigation.moc"
