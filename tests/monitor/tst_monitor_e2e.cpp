// The monitor against the ECU simulator over a real pseudo-terminal: the
// watchdog starts the poll by itself and the screen follows the engine. The
// fuel switch and the trim writes reach the simulator in the map and
// calibration end-to-end tests.
#include "link/link.h"
#include "monitor/monitor_decode.h"
#include "monitor/monitor_screen.h"
#include "pages/number_format.h"
#include "shell/main_window.h"
#include "support/sim_session.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

namespace {
constexpr int Generous = 60000;
} // namespace

class TestMonitorEndToEnd : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void monitorPollsTheSimulator();
};

void TestMonitorEndToEnd::monitorPollsTheSimulator() {
    SimSession session(6);
    QVERIFY(session.sim.start({QStringLiteral("--warm")}));
    Link &link = session.link;
    MainWindow &window = *session.window;
    QVERIFY(link.OpenPort());
    MonitorScreen *m = window.screens().FnMoniteur;

    // Nothing is sent by the menu: the watchdog's third tick starts the
    // poll, and every answer asks for the next one.
    QSignalSpy decoded(&link, &Link::dataDecoded);
    window.navigation().Moniteur_Click();
    QTRY_VERIFY_WITH_TIMEOUT(decoded.count() >= 20, Generous);
    QVERIFY(link.state.PollingOn);
    for (const QList<QVariant> &answer : decoded) {
        QCOMPARE(answer.at(0).toInt(), 0x000);
        QCOMPARE(answer.at(1).toInt(), 0x37);
    }

    // What the screen shows is the engine's latest answer.
    QVERIFY(number::parse(m->TextRPM->text()) > 300); // a warm engine at idle
    QCOMPARE(m->TextRPM->text(), QString::number(live::displayedSpeed(link.image)));
    QCOMPARE(m->TextGazEtat->text(), QStringLiteral("Gasoline"));

    QVERIFY(session.dialogs.shown.isEmpty());
}

QTEST_MAIN(TestMonitorEndToEnd)
#include "tst_monitor_e2e.moc"
