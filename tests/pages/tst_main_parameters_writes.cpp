// The main parameters page's writes to the ECU: the step buttons, Enter,
// the two transfer buttons and the reset.
#include "pages/tst_main_parameters_fixture.h"
#include "transfer/transfer_form.h"

#include <QTest>

class TestMainParametersWrites : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init() { w = std::make_unique<PagesWindow>(); }
    void cleanup() { w.reset(); }
    void stepButtons_data();
    void stepButtons();
    void enterWritesThePageAndTheSecondBlock();
    void reset_data();
    void reset();
    void ecuToPcReadsTheWholeMemory();

  private:
    std::unique_ptr<PagesWindow> w;
};

void TestMainParametersWrites::stepButtons_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("overlapping to 1000") << "BtDelaySup2"
                                         << "DelaySupText"
                                         << "995"
                                         << "1000";
    QTest::newRow("overlapping over 1000") << "BtDelaySup2"
                                           << "DelaySupText"
                                           << "1000"
                                           << "1000";
    QTest::newRow("overlapping down") << "BtDelaySup1"
                                      << "DelaySupText"
                                      << "100"
                                      << "95";
    QTest::newRow("rpm below 0") << "BTRPM1"
                                 << "RPMText"
                                 << "0"
                                 << "0";
    QTest::newRow("rpm up") << "BTRPM2"
                            << "RPMText"
                            << "1800"
                            << "1850";
    QTest::newRow("rpm over 6000") << "BTRPM2"
                                   << "RPMText"
                                   << "5990"
                                   << "6000";
    QTest::newRow("pressure up") << "BtPression2"
                                 << "PressionText"
                                 << "0.5"
                                 << "0.51";
    QTest::newRow("pressure down") << "BtPression1"
                                   << "PressionText"
                                   << "0"
                                   << "-0.01";
    QTest::newRow("pressure below -1") << "BtPression1"
                                       << "PressionText"
                                       << "-1"
                                       << "-1";
    QTest::newRow("alarm pressure up") << "BtALPression2"
                                       << "ALPressionText"
                                       << "0.4"
                                       << "0.41";
    QTest::newRow("alarm pressure below 0") << "BtALPression1"
                                            << "ALPressionText"
                                            << "0"
                                            << "0";
    QTest::newRow("alarm temperature low") << "BtALTemp1"
                                           << "ALTemperatureText"
                                           << "-20"
                                           << "-20";
    QTest::newRow("alarm temperature up") << "BtALTemp2"
                                          << "ALTemperatureText"
                                          << "15"
                                          << "16";
    QTest::newRow("temperature down") << "BtTemp1"
                                      << "TemperatureText"
                                      << "35"
                                      << "34";
    QTest::newRow("temperature over 100") << "BtTemp2"
                                          << "TemperatureText"
                                          << "100"
                                          << "100";
    QTest::newRow("switch delay up") << "BtDelayCom2"
                                     << "DelayComText"
                                     << "119"
                                     << "120";
    QTest::newRow("pressure delay down") << "BtDelayPress1"
                                         << "CoPressionText"
                                         << "1"
                                         << "0";
    QTest::newRow("cut off top") << "BtCut2"
                                 << "TxCutOff"
                                 << "255"
                                 << "255";
    QTest::newRow("tank bottom") << "BtTank1"
                                 << "TxTank"
                                 << "0"
                                 << "0";
}

// Every press clamps through the validation and writes the page.
void TestMainParametersWrites::stepButtons() {
    QFETCH(QString, button);
    QFETCH(QString, field);
    QFETCH(QString, before);
    QFETCH(QString, after);
    MainParametersPage &page = w->main();
    page.refreshFromImage();
    w->field(page, field)->setText(before);
    QTest::mouseClick(w->button(page, button), Qt::LeftButton);
    QCOMPARE(w->field(page, field)->text(), after);
    QCOMPARE(w->port->written.size(), 1);
    QVERIFY(w->port->written.at(0).startsWith("@W80138"));
    QCOMPARE(w->link->state.UploadStep, 1);
}

void TestMainParametersWrites::enterWritesThePageAndTheSecondBlock() {
    MainParametersPage &page = w->main();
    page.refreshFromImage();
    page.TemperatureText->setText(QStringLiteral("42"));
    page.RPMText->setText(QStringLiteral("2000"));
    QTest::keyClick(page.TemperatureText, Qt::Key_Return);
    QCOMPARE(page.TemperatureText->text(), QStringLiteral("42"));
    QCOMPARE(int(w->image().at(0x803)), 42);
    QCOMPARE(w->port->written.size(), 1);
    const QByteArray first = w->port->written.at(0);
    QCOMPARE(first.size(), 7 + 2 * 0x38 + 3);
    QVERIFY(first.startsWith("@W80138"));
    QCOMPARE(first.mid(11, 2), QByteArray("2A")); // 0x803 = 42, after the trims 0x801, 0x802
    QCOMPARE(first, w->writeOf("@W80138"));
    QCOMPARE(w->link->state.UploadStep, 1);

    w->acknowledge();
    QCOMPARE(w->port->written.size(), 2);
    // way 0, then the speed 2000 halved for sequential injection: 0x03E8
    QCOMPARE(w->port->written.at(1), w->writeOf("@WA4106"));
    QCOMPARE(w->port->written.at(1).mid(7, 6), QByteArray("0003E8"));
    QCOMPARE(w->link->state.UploadStep, 0);
    w->acknowledge();
    QCOMPARE(w->port->written.size(), 2);
}

void TestMainParametersWrites::reset_data() {
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void TestMainParametersWrites::reset() {
    QFETCH(bool, yes);
    w->dialogs.answers = {yes};
    QTest::mouseClick(w->main().Btreset, Qt::LeftButton);
    QCOMPARE(w->dialogs.shown.size(), 1);
    QCOMPARE(w->dialogs.shown.at(0).text, QStringLiteral(" RESET ECU ? "));
    QCOMPARE(w->dialogs.shown.at(0).title, QStringLiteral(" RESET ? "));
    QCOMPARE(w->dialogs.shown.at(0).icon, Dialogs::Icon::Warning);
    if (!yes) {
        QVERIFY(w->port->written.isEmpty());
        QVERIFY(!w->link->state.FullReadActive);
        return;
    }
    QCOMPARE(w->port->written.value(0), QByteArray("@F0091F\r"));
    QCOMPARE(w->port->written.value(1), w->link->blocks[0] + '\r');
    QVERIFY(w->link->state.FullReadActive);
}

void TestMainParametersWrites::ecuToPcReadsTheWholeMemory() {
    QTest::mouseClick(w->main().BoutonPC, Qt::LeftButton);
    QCOMPARE(w->port->written, QByteArrayList{w->link->blocks[0] + '\r'});
    QVERIFY(w->link->state.FullReadActive);
    QVERIFY(w->screens().FnDownload->isShown());
}

QTEST_MAIN(TestMainParametersWrites)
#include "tst_main_parameters_writes.moc"
