// The main parameters page against the ECU simulator: change values, write
// both blocks, and read them back.
#include "pages/main_parameters_page.h"
#include "support/sim_session.h"

#include <QComboBox>

class TestMainParametersEndToEnd : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void editWriteAndReadBack() {
        SimSession tool(6);
        QVERIFY(tool.readEcu());

        tool.window->app().CurrentPage = 0;
        tool.window->navigation().Parametres_Click();
        MainParametersPage *main = tool.screens().FnParametres;
        main->TemperatureText->setText(QStringLiteral("42"));
        main->ALTemperatureText->setText(QStringLiteral("-10"));
        main->RPMText->setText(QStringLiteral("2500"));
        QSignalSpy processed(&tool.link, &Link::frameProcessed);
        QTest::keyClick(main->PressionText, Qt::Key_Return);
        // Both blocks answered: 0x801..0x838, then 0xA41..0xA46.
        QTRY_VERIFY_WITH_TIMEOUT(processed.count() >= 2 && tool.link.state.UploadStep == 0,
                                 WriteTimeoutMs);

        QVERIFY2(tool.dialogs.shown.isEmpty(), qPrintable(tool.dialogs.texts().join(u'|')));

        const std::optional<MemoryImage> ecu = tool.closeAndReadBack();
        QVERIFY(ecu);
        QCOMPARE(int(ecu->at(0x803)), 42);
        QCOMPARE(int(ecu->at(0x809)), 0xF6); // -10
        QCOMPARE(int(ecu->at(0x805)), 50);   // unchanged 0.5 bar
        QCOMPARE(ecu->u16(0xA42), 1250);     // 2500 rpm halved
    }
};

QTEST_MAIN(TestMainParametersEndToEnd)
#include "tst_main_parameters_e2e.moc"
