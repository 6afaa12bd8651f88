// The table pages against the ECU simulator over a real pseudo-terminal:
// read the configuration, show the NTC tables, change a value on the
// coefficient, lambda and battery pages, write each, and find the new bytes
// in a fresh whole-memory read.
#include "cli/memory_dump.h"
#include "link/link.h"
#include "link/qt_serial_port.h"
#include "monitor/monitor_screen.h"
#include "pages/battery_page.h"
#include "pages/battery_table.h"
#include "pages/coefficient_page.h"
#include "pages/lambda_page.h"
#include "pages/ntc_page.h"
#include "pages/ntc_table.h"
#include "pages/numeric_edit.h"
#include "shell/app_context.h"
#include "shell/info_form.h"
#include "shell/main_window.h"
#include "shell/navigation.h"
#include "support/fake_dialogs.h"
#include "support/sim_process.h"
#include "transfer/prog_start_form.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
constexpr int Port = 7;

// An ECU whose sensor tables count, with sane battery and lambda settings
// over the shared bytes.
MemoryImage capturedEcu() {
    MemoryImage image;
    for (int i = 0; i < 256; ++i) {
        image.set(ntc::CoolantBase + i, static_cast<quint8>((i * 3 + 1) & 0xFF));
        image.set(ntc::GasBase + i, static_cast<quint8>((200 - i) & 0xFF));
    }
    for (int a = 0x839; a <= 0x88F; ++a)
        image.set(a, 0);
    image.set(0x839, 100);
    image.set(0x83A, 50);
    image.set(battery::ModeAddress, 1);
    for (int n = 1; n <= 40; ++n)
        image.set(0x80F + n, 100);
    image.set(0x883, 143); // rich activation 0.70 V
    image.set(0x885, 41);
    image.set(0x886, 20);
    image.set(0x887, 20);
    image.set(0x889, 0x0F);
    image.set(0x88A, 0xA0);
    return image;
}
} // namespace

class TestTablesEndToEnd : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void editWriteAndReadBack();
};

void TestTablesEndToEnd::editWriteAndReadBack() {
    SimProcess sim(Port);
    QFile capture(sim.dirPath(QStringLiteral("capture.txt")));
    QVERIFY(capture.open(QIODevice::WriteOnly));
    capture.write(memoryDump(capturedEcu()));
    capture.close();
    QVERIFY(sim.start({QStringLiteral("--load"), capture.fileName()}));

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

    // NTC tables as the ECU holds them, at both ends of the scroll bars.
    s.FnParametres4->HScroll1->setValue(238);
    QCOMPARE(s.FnParametres4->TxTbEau.at(17)->text(), QStringLiteral("-2")); // 0x2FE
    s.FnParametres4->HScroll2->setValue(0);
    QCOMPARE(s.FnParametres4->TxTbGaz.at(0)->text(), QStringLiteral("-56"));  // 200
    QCOMPARE(s.FnParametres4->TxTbGaz.at(17)->text(), QStringLiteral("-73")); // 183

    // Coefficient tables: one entry in each table.
    QSignalSpy processed(&link, &Link::frameProcessed);
    CoefficientPage *tables = s.FnParametres3;
    QCOMPARE(tables->TxTbCP(4)->text(), QStringLiteral("100"));
    tables->TxTbCP(4)->setText(QStringLiteral("77"));
    tables->TxTbCG(20)->setText(QStringLiteral("201"));
    tables->BoutonCentrale_Click();
    QTRY_VERIFY_WITH_TIMEOUT(processed.count() >= 1, 10000);

    // Lambda settings: the activation speed, then 0xA41 follows.
    window->navigation().BtEmission_Click();
    LambdaPage *lambdaPage = s.FnParametres6;
    QCOMPARE(lambdaPage->field(lambda::RpmAct)->text(), QStringLiteral("4000"));
    lambdaPage->field(lambda::RpmAct)->setText(QStringLiteral("2750"));
    processed.clear();
    lambdaPage->BoutonCentrale_Click();
    QTRY_VERIFY_WITH_TIMEOUT(processed.count() >= 2 && link.state.UploadStep == 0, 10000);

    // Battery: a linked stretch and the % TI mode in one upload, then one
    // entry typed with Enter in a second.
    window->app().CurrentPage = 4;
    window->navigation().Parametres_Click();
    BatteryPage *battery = s.FnParametres5;
    QVERIFY(battery->isShown());
    QSignalSpy uploads(&link, &Link::uploadCompleted);
    battery->CalculDebut->setText(QStringLiteral("50"));
    battery->CalculFin->setText(QStringLiteral("60"));
    link.image.set(battery::TableBase + 60, 20);
    battery->CalculeTab_Click();
    battery->Option1.at(2)->click();
    QTRY_VERIFY_WITH_TIMEOUT(uploads.count() == 1, 15000);
    battery->HS_index->setValue(30);
    battery->TxTBBat.at(5)->setText(QStringLiteral("-17"));
    QTest::keyClick(battery->TxTBBat.at(5), Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(uploads.count() == 2, 15000);
    QVERIFY2(dialogs.shown.isEmpty(), qPrintable(dialogs.texts().join(u'|')));
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
    QCOMPARE(int(ecu.at(0x813)), 77);
    QCOMPARE(int(ecu.at(0x837)), 201);
    QCOMPARE(int(ecu.at(0x812)), 100);
    QCOMPARE(int(ecu.at(0x889)), 0x0A);
    QCOMPARE(int(ecu.at(0x88A)), 0xBE);
    QCOMPARE(int(ecu.at(0x883)), 143);
    QCOMPARE(int(ecu.at(battery::ModeAddress)), 2);
    for (int i = 50; i <= 60; ++i)
        QCOMPARE(battery::entry(ecu, i), 2 * (i - 50));
    QCOMPARE(battery::entry(ecu, 35), -17);
    fresh.ClosePort();
}

QTEST_MAIN(TestTablesEndToEnd)
#include "tst_tables_e2e.moc"
