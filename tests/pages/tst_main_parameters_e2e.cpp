// The main parameters and level sensor pages against the ECU simulator over
// a real pseudo-terminal: read the configuration, change values on both
// pages, write each, and find the new bytes in a fresh whole-memory read.
#include "link/link.h"
#include "link/qt_serial_port.h"
#include "monitor/monitor_screen.h"
#include "pages/level_page.h"
#include "pages/main_parameters_page.h"
#include "shell/app_context.h"
#include "shell/info_form.h"
#include "shell/main_window.h"
#include "shell/navigation.h"
#include "support/fake_dialogs.h"
#include "support/sim_process.h"
#include "transfer/prog_start_form.h"

#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
constexpr int Port = 6;
}

class TestMainParametersEndToEnd : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void editWriteAndReadBack();
};

void TestMainParametersEndToEnd::editWriteAndReadBack() {
    SimProcess sim(Port);
    QVERIFY(sim.start());
    QTemporaryDir work;
    QtSerialPort serial{PortDirectory(sim.portsDir())};
    Link link(&serial);
    FakeDialogs dialogs;
    auto window = std::make_unique<MainWindow>(link, &dialogs, work.path());
    window->MDIForm1_Load();
    link.state.PortNumber = Port;
    window->show();
    Screens &s = window->screens();
    s.FnEntete->Command1_Click();
    QVERIFY(link.state.PortIsOpen);
    s.FnProgStart->BoutonPC_Click();
    QTRY_VERIFY_WITH_TIMEOUT(link.state.DataLoaded, 30000);

    // The main parameters page as the ECU holds them.
    window->app().CurrentPage = 0;
    window->navigation().Parametres_Click();
    MainParametersPage *main = s.FnParametres;
    QVERIFY(main->isShown());
    QCOMPARE(main->TemperatureText->text(), QStringLiteral("35"));
    QCOMPARE(main->RPMText->text(), QStringLiteral("1800"));
    QCOMPARE(main->ComboInjection->currentIndex(), 0);

    main->TemperatureText->setText(QStringLiteral("42"));
    main->ALTemperatureText->setText(QStringLiteral("-10"));
    main->RPMText->setText(QStringLiteral("2500"));
    QSignalSpy processed(&link, &Link::frameProcessed);
    QTest::keyClick(main->PressionText, Qt::Key_Return);
    // Both blocks answered: 0x801..0x838, then 0xA41..0xA46.
    QTRY_VERIFY_WITH_TIMEOUT(processed.count() >= 2 && link.state.UploadStep == 0, 10000);

    // The level sensor page, with the live level polled meanwhile.
    QTest::mouseClick(main->BtChangePage, Qt::LeftButton);
    LevelPage *levelPage = s.FnParametres2;
    QVERIFY(levelPage->isShown());
    QCOMPARE(levelPage->TxNiveauMax->text(), QStringLiteral("190"));
    QTest::mouseClick(levelPage->Predef3, Qt::LeftButton);
    levelPage->TxNiveau2->setText(QStringLiteral("45"));
    processed.clear();
    QTest::mouseClick(levelPage->BoutonCentrale, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(link.state.PendingLine.isEmpty() && processed.count() >= 2, 10000);
    QVERIFY2(dialogs.shown.isEmpty(), qPrintable(dialogs.texts().join(u'|')));

    s.FnMoniteur->Timer1.stop();
    link.state.PollingOn = false;
    QTest::qWait(300); // an answer still on its way
    window.reset();
    link.ClosePort();

    // A fresh read of the whole memory finds every change.
    QtSerialPort serial2{PortDirectory(sim.portsDir())};
    Link fresh(&serial2);
    fresh.state.PortNumber = Port;
    QSignalSpy done(&fresh, &Link::fullReadCompleted);
    QVERIFY(fresh.OpenPort());
    fresh.StartFullRead();
    QTRY_VERIFY_WITH_TIMEOUT(done.count() == 1, 30000);
    const MemoryImage &ecu = fresh.image;
    QCOMPARE(int(ecu.at(0x803)), 42);
    QCOMPARE(int(ecu.at(0x809)), 0xF6); // -10
    QCOMPARE(int(ecu.at(0x805)), 50);   // unchanged 0.5 bar
    QCOMPARE(int(ecu.at(0xA42)), 0x04); // 2500 rpm halved: 1250
    QCOMPARE(int(ecu.at(0xA43)), 0xE2);
    const QList<int> level = {0xFF, 0x00, 0xFF, 20, 45, 55, 75};
    for (int i = 0; i < level.size(); ++i)
        QCOMPARE(int(ecu.at(0xA3A + i)), level.at(i));
    fresh.ClosePort();
}

QTEST_MAIN(TestMainParametersEndToEnd)
#include "tst_main_parameters_e2e.moc"
