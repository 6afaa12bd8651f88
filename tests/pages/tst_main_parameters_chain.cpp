// The chain of parameter pages: which page each next and previous button
// shows, the page the menu reopens, the poll frame, the poll flag and the
// monitor's poll watchdog.
#include "pages/tst_main_parameters_fixture.h"
#include "shell/navigation.h"

#include <QTest>

class TestMainParametersChain : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init() { w = std::make_unique<PagesWindow>(); }
    void cleanup() { w.reset(); }
    void buttons_data();
    void buttons();
    void menuReopensTheLastPage();

  private:
    std::unique_ptr<PagesWindow> w;
};

void TestMainParametersChain::buttons_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("pollingBefore");
    QTest::addColumn<int>("shown");
    QTest::addColumn<QByteArray>("pollFrame");
    QTest::addColumn<bool>("pollingAfter");
    const QByteArray other = "@R0371091\r";
    const QByteArray monitor = "@R000378C\r";
    QTest::newRow("next, polling on") << 0 << "BtChangePage" << true << 1 << monitor << true;
    QTest::newRow("next, polling off") << 0 << "BtChangePage" << false << 1 << monitor << false;
    QTest::newRow("previous") << 1 << "BtPagePreced" << true << 0 << other << false;
    QTest::newRow("level next") << 1 << "BtPageSuivante" << true << 2 << other << false;
}

void TestMainParametersChain::buttons() {
    QFETCH(int, from);
    QFETCH(QString, button);
    QFETCH(bool, pollingBefore);
    QFETCH(int, shown);
    QFETCH(QByteArray, pollFrame);
    QFETCH(bool, pollingAfter);
    Screens &s = w->screens();
    s.parameterPage(from)->showForm();
    w->link->state.PollFrame = "@R0371091\r";
    w->link->state.PollingOn = pollingBefore;
    w->timer1().stop();
    Form *page = s.parameterPage(from);
    QTest::mouseClick(w->button(*page, button), Qt::LeftButton);
    QCOMPARE(w->app().CurrentPage, shown);
    QCOMPARE(w->link->state.PollFrame, pollFrame);
    QCOMPARE(w->link->state.PollingOn, pollingAfter);
    QVERIFY(w->timer1().isActive());
    for (int p = 0; p <= 4; ++p)
        QCOMPARE(s.parameterPage(p)->isShown(), p == shown);
    QVERIFY(w->port->written.isEmpty());
}

void TestMainParametersChain::menuReopensTheLastPage() {
    Screens &s = w->screens();
    w->main().BtChangePage_Click();
    s.FnParametres2->BtPagePreced_Click();
    w->main().BtChangePage_Click();
    w->window->navigation().Moniteur_Click();
    QVERIFY(!s.FnParametres2->isShown());
    w->window->navigation().Parametres_Click();
    QVERIFY(s.FnParametres2->isShown());
    QCOMPARE(w->app().CurrentPage, 1);
}

QTEST_MAIN(TestMainParametersChain)
#include "tst_main_parameters_chain.moc"
