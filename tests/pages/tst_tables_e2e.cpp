// The parameter pages against the ECU simulator: change values on the main
// parameters, coefficient and battery pages, write each, and read them back.
#include "pages/battery_page.h"
#include "pages/coefficient_page.h"
#include "pages/main_parameters_page.h"
#include "settings/battery_table.h"
#include "support/sim_session.h"
#include "ui/numeric_edit.h"

#include <QLineEdit>
#include <QRadioButton>

class TestTablesEndToEnd : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void editWriteAndReadBack() {
        SimSession tool(7);
        QVERIFY(tool.readEcu());
        Screens &s = tool.screens();
        QSignalSpy processed(&tool.link, &Link::frameProcessed);

        tool.window->app().CurrentPage = 0;
        tool.window->navigation().Parametres_Click();
        MainParametersPage *main = s.mainParametersPage;
        main->TemperatureText->setText(QStringLiteral("42"));
        main->ALTemperatureText->setText(QStringLiteral("-10"));
        main->RPMText->setText(QStringLiteral("2500"));
        QTest::keyClick(main->PressionText, Qt::Key_Return);
        // Both blocks answered: 0x801..0x838, then 0xA41..0xA46.
        QTRY_VERIFY_WITH_TIMEOUT(processed.count() >= 2 &&
                                     tool.link.state.UploadStep == ChainStep::Rest,
                                 WriteTimeoutMs);

        CoefficientPage *tables = s.coefficientPage;
        tables->TxTbCP(4)->setText(QStringLiteral("77"));
        tables->TxTbCG(20)->setText(QStringLiteral("201"));
        tables->BoutonCentrale_Click();
        QTRY_VERIFY_WITH_TIMEOUT(processed.count() >= 3, WriteTimeoutMs);

        // Battery: a linked stretch and the % TI mode in one upload.
        tool.window->app().CurrentPage = 4;
        tool.window->navigation().Parametres_Click();
        BatteryPage *battery = s.batteryPage;
        QSignalSpy uploads(&tool.link, &Link::uploadCompleted);
        battery->CalculDebut->setText(QStringLiteral("50"));
        battery->CalculFin->setText(QStringLiteral("60"));
        tool.link.image.set(battery::TableBase + 50, 0);
        tool.link.image.set(battery::TableBase + 60, 20);
        battery->CalculeTab_Click();
        battery->Option1.at(2)->click();
        QTRY_VERIFY_WITH_TIMEOUT(uploads.count() == 1, WriteTimeoutMs);
        QVERIFY2(tool.dialogs.shown.isEmpty(), qPrintable(tool.dialogs.texts().join(u'|')));

        const std::optional<MemoryImage> ecu = tool.closeAndReadBack();
        QVERIFY(ecu);
        QCOMPARE(int(ecu->at(0x803)), 42);
        QCOMPARE(int(ecu->at(0x809)), 0xF6); // -10
        QCOMPARE(int(ecu->at(0x805)), 50);   // unchanged 0.5 bar
        QCOMPARE(ecu->u16(0xA42), 1250);     // 2500 rpm halved
        QCOMPARE(int(ecu->at(0x813)), 77);
        QCOMPARE(int(ecu->at(0x837)), 201);
        QCOMPARE(int(ecu->at(0x812)), 114); // unchanged
        QCOMPARE(int(ecu->at(battery::ModeAddress)), 2);
        for (int i = 50; i <= 60; ++i)
            QCOMPARE(battery::entry(*ecu, i), 2 * (i - 50));
    }
};

QTEST_MAIN(TestTablesEndToEnd)
#include "tst_tables_e2e.moc"
