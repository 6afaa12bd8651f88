// The main parameters page: its controls, the decoding and encoding of each
// field, the validation and the choice lists.
#include "pages/tst_main_parameters_fixture.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using Bytes = QList<std::pair<int, int>>;
Q_DECLARE_METATYPE(Bytes)

class TestMainParametersPage : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init() { w = std::make_unique<PagesWindow>(); }
    void cleanup() { w.reset(); }
    void controlsAndCaptions();
    void choiceLists();
    void fieldsRoundTrip_data();
    void fieldsRoundTrip();
    void validation_data();
    void validation();
    void combosStoreTheirByteAtOnce();
    void lambdaClickRefreshesOnce();
    void byteBeyondTheListSelectsNothing();

  private:
    std::unique_ptr<PagesWindow> w;
};

void TestMainParametersPage::controlsAndCaptions() {
    MainParametersPage &page = w->main();
    const QList<std::pair<const char *, const char *>> buttons = {
        {"Btreset", "Reset ECU"},
        {"BoutonPC", "     ECU -->> PC     "},
        {"BtChangePage", "            Next >>           "}};
    for (const auto &[name, caption] : buttons)
        QCOMPARE(w->button(page, name)->text(), QString::fromLatin1(caption));
    const QList<std::pair<const char *, QString>> fields = {
        {"TemperatureText", keys::Whole},
        {"PressionText", keys::SignedDecimal},
        {"DelayComText", keys::Whole},
        {"DelaySupText", keys::Whole},
        {"ALTemperatureText", keys::SignedWhole},
        {"ALPressionText", keys::Decimal},
        {"CoPressionText", keys::Whole},
        {"RPMText", keys::Whole},
        {"TxCutOff", keys::Decimal},
        {"TxTank", keys::Decimal}};
    for (const auto &[name, keySet] : fields)
        QCOMPARE(w->field(page, name)->allowedKeys(), keySet);
    for (const char *name :
         {"BtTemp1",       "BtTemp2",       "BtPression1",   "BtPression2",   "BtDelayCom1",
          "BtDelayCom2",   "BtDelaySup1",   "BtDelaySup2",   "BtALTemp1",     "BtALTemp2",
          "BtALPression1", "BtALPression2", "BtDelayPress1", "BtDelayPress2", "BTRPM1",
          "BTRPM2",        "BtCut1",        "BtCut2",        "BtTank1",       "BtTank2",
          "BoutonCentrale"})
        QVERIFY(w->button(page, name));
    QVERIFY(w->control<QLineEdit>(page, "TxCutOff2")->isReadOnly());
    QVERIFY(w->control<QLineEdit>(page, "TxTank2")->isReadOnly());
    const QStringList frames = {" Switch over ", " Decceleration ", " Alarmes - Check",
                                "Empty tank",    " Sensors",        " Reset ",
                                "Download"};
    QStringList titles;
    for (QGroupBox *box : page.findChildren<QGroupBox *>())
        titles.append(box->title());
    for (const QString &title : frames)
        QVERIFY2(titles.contains(title), qPrintable(title));
}

void TestMainParametersPage::choiceLists() {
    MainParametersPage &page = w->main();
    auto items = [](QComboBox *combo) {
        QStringList out;
        for (int i = 0; i < combo->count(); ++i)
            out.append(combo->itemText(i));
        return out;
    };
    QCOMPARE(items(page.ComboCommutation),
             QStringList({" Directe               ", " Acceleration          ",
                          " Deceleration          "}));
    QCOMPARE(items(page.ComboInjection),
             QStringList({"Sequentielle      ", "Full groupe       ", "Semi Sequentielle "}));
    QCOMPARE(items(page.ComboLambda),
             QStringList({"   0 - 1V    ", " 0.8 - 1.6 V ", "   0 - 5 V   ", "   5 - 0 V   "}));
}

void TestMainParametersPage::fieldsRoundTrip_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("injection");
    QTest::addColumn<Bytes>("bytes");
    QTest::newRow("temperature") << "TemperatureText"
                                 << "35" << 1 << Bytes{{0x803, 35}};
    QTest::newRow("pressure -0.5") << "PressionText"
                                   << "-0.5" << 1 << Bytes{{0x804, 255}, {0x805, 206}};
    QTest::newRow("pressure 2.5") << "PressionText"
                                  << "2.5" << 1 << Bytes{{0x804, 0}, {0x805, 250}};
    QTest::newRow("pressure -1") << "PressionText"
                                 << "-1" << 1 << Bytes{{0x804, 0xFF}, {0x805, 0x9C}};
    QTest::newRow("pressure delay") << "CoPressionText"
                                    << "120" << 1 << Bytes{{0x806, 120}};
    QTest::newRow("switch delay") << "DelayComText"
                                  << "7" << 1 << Bytes{{0x807, 7}};
    QTest::newRow("overlapping 1000") << "DelaySupText"
                                      << "1000" << 1 << Bytes{{0x808, 200}};
    QTest::newRow("overlapping 5") << "DelaySupText"
                                   << "5" << 1 << Bytes{{0x808, 1}};
    QTest::newRow("alarm -20") << "ALTemperatureText"
                               << "-20" << 1 << Bytes{{0x809, 236}};
    QTest::newRow("alarm 100") << "ALTemperatureText"
                               << "100" << 1 << Bytes{{0x809, 100}};
    QTest::newRow("alarm pressure") << "ALPressionText"
                                    << "0.4" << 1 << Bytes{{0x80A, 0}, {0x80B, 40}};
    QTest::newRow("rpm sequential") << "RPMText"
                                    << "3000" << 0 << Bytes{{0xA42, 5}, {0xA43, 220}};
    QTest::newRow("rpm full group") << "RPMText"
                                    << "3000" << 1 << Bytes{{0xA42, 11}, {0xA43, 184}};
    QTest::newRow("empty tank") << "TxTank"
                                << "100" << 1 << Bytes{{0xA45, 100}};
    QTest::newRow("cut off") << "TxCutOff"
                             << "200" << 1 << Bytes{{0xA46, 200}};
}

// Typed, encoded, decoded back into an emptied field.
void TestMainParametersPage::fieldsRoundTrip() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(int, injection);
    QFETCH(Bytes, bytes);
    MainParametersPage &page = w->main();
    page.refreshFromImage();
    PagesWindow::pick(page.ComboInjection, injection);
    NumericEdit *edit = w->field(page, field);
    edit->setText(text);
    QCOMPARE(edit->text(), text);
    MemoryImage &image = w->image();
    page.encodeInto(image);
    for (const auto &[address, value] : bytes)
        QCOMPARE(int(image.at(address)), value);
    edit->setText(QStringLiteral("1"));
    page.refreshFromImage();
    QCOMPARE(edit->text(), text);
}

void TestMainParametersPage::validation_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("temperature high") << "TemperatureText"
                                      << "150"
                                      << "100";
    QTest::newRow("temperature bound") << "TemperatureText"
                                       << "100"
                                       << "100";
    QTest::newRow("pressure high") << "PressionText"
                                   << "3"
                                   << "2.5";
    QTest::newRow("pressure low") << "PressionText"
                                  << "-2"
                                  << "-1";
    QTest::newRow("pressure 3 decimals") << "PressionText"
                                         << "1.234"
                                         << "1.23";
    QTest::newRow("pressure signed 3 decimals") << "PressionText"
                                                << "-0.555"
                                                << "-0.55";
    QTest::newRow("switch delay") << "DelayComText"
                                  << "121"
                                  << "120";
    QTest::newRow("overlapping 12") << "DelaySupText"
                                    << "12"
                                    << "10";
    QTest::newRow("overlapping 1003") << "DelaySupText"
                                      << "1003"
                                      << "1000";
    QTest::newRow("overlapping 1012") << "DelaySupText"
                                      << "1012"
                                      << "1000";
    QTest::newRow("overlapping 995") << "DelaySupText"
                                     << "995"
                                     << "995";
    QTest::newRow("alarm 150") << "ALTemperatureText"
                               << "150"
                               << "100";
    QTest::newRow("alarm 101") << "ALTemperatureText"
                               << "101"
                               << "100";
    QTest::newRow("alarm -21") << "ALTemperatureText"
                               << "-21"
                               << "-20";
    QTest::newRow("alarm pressure high") << "ALPressionText"
                                         << "3"
                                         << "2.5";
    QTest::newRow("alarm pressure cut") << "ALPressionText"
                                        << "1.234"
                                        << "1.23";
    QTest::newRow("alarm pressure leading point") << "ALPressionText"
                                                  << ".1234"
                                                  << ".1234";
    QTest::newRow("pressure delay") << "CoPressionText"
                                    << "200"
                                    << "120";
    QTest::newRow("rpm high") << "RPMText"
                              << "7000"
                              << "6000";
    QTest::newRow("rpm negative") << "RPMText"
                                  << "-50"
                                  << "0";
    QTest::newRow("cut off") << "TxCutOff"
                             << "300"
                             << "255";
    QTest::newRow("tank") << "TxTank"
                          << "256"
                          << "255";
    QTest::newRow("not a number") << "TxTank"
                                  << ""
                                  << "";
}

void TestMainParametersPage::validation() {
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    MainParametersPage &page = w->main();
    NumericEdit *edit = w->field(page, field);
    edit->setText(QStringLiteral("1"));
    edit->setText(typed);
    QCOMPARE(edit->text(), shown);
}

void TestMainParametersPage::combosStoreTheirByteAtOnce() {
    MainParametersPage &page = w->main();
    PagesWindow::pick(page.ComboCommutation, 2);
    PagesWindow::pick(page.ComboInjection, 1);
    QCOMPARE(int(w->image().at(0xA41)), 2);
    QCOMPARE(int(w->image().at(0x80D)), 1);
    QVERIFY(w->port->written.isEmpty());
}

void TestMainParametersPage::lambdaClickRefreshesOnce() {
    MainParametersPage &page = w->main();
    page.refreshFromImage();
    w->image().set(0x803, 44); // a refresh shows it
    QSignalSpy changes(page.ComboLambda, &QComboBox::currentIndexChanged);
    PagesWindow::pick(page.ComboLambda, 3);
    QCOMPARE(int(w->image().at(0x80C)), 3);
    QCOMPARE(page.TemperatureText->text(), QStringLiteral("44"));
    QCOMPARE(changes.size(), 1);
    // A refresh that changes the selection does not run the click again.
    w->image().set(0x80C, 1);
    page.refreshFromImage();
    QCOMPARE(page.ComboLambda->currentIndex(), 1);
    QCOMPARE(changes.size(), 2);
    QCOMPARE(int(w->image().at(0x80C)), 1);
}

void TestMainParametersPage::byteBeyondTheListSelectsNothing() {
    MainParametersPage &page = w->main();
    w->image().set(0x80C, 2);
    page.refreshFromImage();
    QCOMPARE(page.ComboLambda->currentIndex(), 2);
    w->image().set(0x80C, 9);
    w->image().set(0x80D, 3);
    w->image().set(0xA41, 200);
    page.refreshFromImage();
    QCOMPARE(page.ComboLambda->currentIndex(), -1);
    QCOMPARE(page.ComboInjection->currentIndex(), -1);
    QCOMPARE(page.ComboCommutation->currentIndex(), -1);
    page.encodeInto(w->image());
    QCOMPARE(int(w->image().at(0x80C)), 9);
    QCOMPARE(int(w->image().at(0x80D)), 3);
    QCOMPARE(int(w->image().at(0xA41)), 200);
}

QTEST_MAIN(TestMainParametersPage)
#include "tst_main_parameters_page.moc"
