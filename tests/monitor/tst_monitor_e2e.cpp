// The monitor against the ECU simulator over a real pseudo-terminal: the
// watchdog starts the poll by itself, the screen follows the engine, the
// fuel switch reaches the ECU, and a trim write goes out and polling
// resumes after it.
#include "link/frames.h"
#include "link/link.h"
#include "monitor/monitor_decode.h"
#include "monitor/monitor_screen.h"
#include "pages/number_format.h"
#include "pages/numeric_edit.h"
#include "shell/main_window.h"
#include "support/sim_session.h"

#include <QPushButton>
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

    // The fuel switch goes out in the middle of the poll and the ECU acts on it.
    QTest::mouseClick(m->SwitchCommutateur, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(m->TextGazEtat->text() != QStringLiteral("Gasoline"), Generous);
    QVERIFY(link.state.PollingOn);

    // A trim write stops the poll, chains its two blocks, and the watchdog
    // resumes the poll afterwards.
    m->TxCharge->setText(QStringLiteral("1.11"));
    m->TxTIExclu->setText(QStringLiteral("33"));
    QTest::mouseClick(m->BoutonCentrale, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(link.state.UploadStep == 0 && m->Timer1.isActive(), Generous);
    const int afterWrite = decoded.count();
    QTRY_VERIFY_WITH_TIMEOUT(decoded.count() >= afterWrite + 10, Generous);
    QVERIFY(link.state.PollingOn);

    // Read the trims back from the ECU itself.
    window.navigation().Parametres_Click();
    link.image.set(0x801, 0);
    link.image.set(0xA44, 0);
    link.SendLine(frames::readText(0x801, 2) + frames::Cr);
    QTRY_VERIFY_WITH_TIMEOUT(link.image.at(0x801) == 111, Generous);
    link.SendLine(frames::readText(0xA44, 1) + frames::Cr);
    QTRY_VERIFY_WITH_TIMEOUT(link.image.at(0xA44) == 33, Generous);
    QVERIFY(session.dialogs.shown.isEmpty());
}

QTEST_MAIN(TestMonitorEndToEnd)
#include "tst_monitor_e2e.moc"
