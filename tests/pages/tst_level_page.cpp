// The level sensor page: its settings, presets, writes, the refresh while
// the level is polled, the percentages and the lamps.
#include "pages/level_percent.h"
#include "pages/number_format.h"
#include "pages/tst_main_parameters_fixture.h"
#include "shell/shape.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QTest>

class TestLevelPage : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init() { w = std::make_unique<PagesWindow>(); }
    void cleanup() { w.reset(); }
    void controlsAndCaptions();
    void settingsRoundTrip();
    void validation_data();
    void validation();
    void presets_data();
    void presets();
    void enterWritesTheSettings();
    void refreshLeavesTheSettingsWhilePolling();
    void ecuToPcPausesThePoll();
    void percentagesAndLamps_data();
    void percentagesAndLamps();

  private:
    QStringList settingTexts() {
        QStringList out;
        for (const QString &t : w->level().settingTexts())
            out.append(t);
        return out;
    }
    std::unique_ptr<PagesWindow> w;
};

void TestLevelPage::controlsAndCaptions() {
    LevelPage &page = w->level();
    const QList<std::pair<const char *, const char *>> buttons = {
        {"Predef1", "0 - 90 Ohms Livello"},
        {"Predef2", "0 - 90 Ohms AEB"},
        {"Predef3", "10 - 50   AEB"},
        {"SenosorLoad", "Charger"},
        {"SensorSave", "Sauvegarder"},
        {"BoutonCentrale", "PC -->> ECM"},
        {"BoutonPC", "ECM -->> PC"},
        {"BtPagePreced", "        <<  Previous         "},
        {"BtPageSuivante", "  Page suivante >>"}};
    for (const auto &[name, caption] : buttons)
        QCOMPARE(w->button(page, name)->text(), QString::fromLatin1(caption));
    for (const char *name : {"TxNiveauPWM", "TxNiveauMin", "TxNiveauMax", "TxNiveau1", "TxNiveau2",
                             "TxNiveau3", "TxNiveau4"})
        QCOMPARE(w->field(page, name)->allowedKeys(), keys::Whole);
    for (const char *name : {"TxNiveauImediat", "TxNiveau100", "TxNiveauMoyen", "TxNiveau100_2"})
        QVERIFY(w->control<QLineEdit>(page, name)->isReadOnly());
    for (const char *name : {"led1", "led2", "led3", "led4", "led5"})
        QVERIFY(w->control<Shape>(page, name));
    QStringList titles;
    for (QGroupBox *box : page.findChildren<QGroupBox *>())
        titles.append(box->title());
    for (const char *title : {" Parameters", " Level sensor", "Default", "Download"})
        QVERIFY2(titles.contains(QString::fromLatin1(title)), title);
}

void TestLevelPage::settingsRoundTrip() {
    LevelPage &page = w->level();
    page.setSettingTexts({"100", "1", "190", "7", "30", "50", "83"});
    page.encodeInto(w->image());
    const QList<int> expected = {100, 1, 190, 7, 30, 50, 83};
    for (int i = 0; i < 7; ++i)
        QCOMPARE(int(w->image().at(0xA3A + i)), expected.at(i));
    page.setSettingTexts({"0", "0", "0", "0", "0", "0", "0"});
    page.refreshFromImage();
    QCOMPARE(settingTexts(), QStringList({"100", "1", "190", "7", "30", "50", "83"}));
}

void TestLevelPage::validation_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("maximum 300") << "TxNiveauMax"
                                 << "300"
                                 << "255";
    QTest::newRow("half 150") << "TxNiveau2"
                              << "150"
                              << "100";
    QTest::newRow("minimum 0 stays") << "TxNiveauMin"
                                     << "0"
                                     << "0";
    QTest::newRow("minimum below 0") << "TxNiveauMin"
                                     << "-3"
                                     << "1";
    QTest::newRow("maximum below 0") << "TxNiveauMax"
                                     << "-3"
                                     << "1";
    QTest::newRow("range correction below 0") << "TxNiveauPWM"
                                              << "-1"
                                              << "0";
    QTest::newRow("range correction 256") << "TxNiveauPWM"
                                          << "256"
                                          << "255";
    QTest::newRow("full 101") << "TxNiveau4"
                              << "101"
                              << "100";
    QTest::newRow("quarter 100 stays") << "TxNiveau1"
                                       << "100"
                                       << "100";
    QTest::newRow("three quarters -1") << "TxNiveau3"
                                       << "-1"
                                       << "0";
}

void TestLevelPage::validation() {
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    NumericEdit *edit = w->field(w->level(), field);
    edit->setText(typed);
    QCOMPARE(edit->text(), shown);
}

void TestLevelPage::presets_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("Predef1") << "Predef1" << QStringList{"100", "1", "190", "7", "30", "50", "83"}
                             << QByteArray("6401BE071E3253");
    QTest::newRow("Predef2") << "Predef2" << QStringList{"100", "1", "190", "7", "15", "30", "60"}
                             << QByteArray("6401BE070F1E3C");
    QTest::newRow("Predef3") << "Predef3" << QStringList{"255", "0", "255", "20", "40", "55", "75"}
                             << QByteArray("FF00FF1428374B");
}

// A preset fills the fields only; the write button then sends them.
void TestLevelPage::presets() {
    QFETCH(QString, button);
    QFETCH(QStringList, texts);
    QFETCH(QByteArray, data);
    LevelPage &page = w->level();
    QTest::mouseClick(w->button(page, button), Qt::LeftButton);
    QCOMPARE(settingTexts(), texts);
    QVERIFY(w->port->written.isEmpty());
    QCOMPARE(int(w->image().at(0xA3A)), 0);
    QTest::mouseClick(page.BoutonCentrale, Qt::LeftButton);
    QCOMPARE(w->port->written, QByteArrayList{frames::sealed(QByteArray("@WA3A07" + data)) + '\r'});
    QCOMPARE(w->link->state.UploadStep, 0);
}

void TestLevelPage::enterWritesTheSettings() {
    LevelPage &page = w->level();
    page.Predef1_Click();
    page.TxNiveau1->setText(QStringLiteral("9"));
    QTest::keyClick(page.TxNiveau1, Qt::Key_Return);
    QCOMPARE(page.TxNiveau1->text(), QStringLiteral("9"));
    QCOMPARE(w->port->written, QByteArrayList{w->writeOf("@WA3A07")});
    QCOMPARE(int(w->image().at(0xA3D)), 9);
    w->acknowledge();
    QCOMPARE(w->port->written.size(), 1); // nothing follows
}

void TestLevelPage::refreshLeavesTheSettingsWhilePolling() {
    LevelPage &page = w->level();
    page.Predef3_Click();
    for (int i = 0; i < 7; ++i)
        w->image().set(0xA3A + i, 10 + i);
    w->image().set(0x034, 120);
    w->image().set(0x035, 121);
    w->link->state.PollingOn = true;
    page.refreshFromImage();
    QCOMPARE(settingTexts(), QStringList({"255", "0", "255", "20", "40", "55", "75"}));
    QCOMPARE(page.TxNiveauImediat->text(), QStringLiteral("120"));
    QCOMPARE(page.TxNiveauMoyen->text(), QStringLiteral("121"));
    w->link->state.PollingOn = false;
    page.refreshFromImage();
    QCOMPARE(settingTexts(), QStringList({"10", "11", "12", "13", "14", "15", "16"}));
}

void TestLevelPage::ecuToPcPausesThePoll() {
    w->timer1().start();
    w->link->state.PollingOn = true;
    QTest::mouseClick(w->level().BoutonPC, Qt::LeftButton);
    QVERIFY(!w->timer1().isActive());
    QVERIFY(!w->link->state.PollingOn);
    QVERIFY(w->link->state.FullReadActive);
    QVERIFY(w->link->state.MonitorResume);
    QCOMPARE(w->port->written, QByteArrayList{w->link->blocks[0] + '\r'});
}

void TestLevelPage::percentagesAndLamps_data() {
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("reading");
    QTest::addColumn<double>("percent");
    QTest::addColumn<QList<int>>("lamps");
    using namespace level::lamp;
    // thresholds 7, 30, 50, 83
    QTest::newRow("half way down")
        << 200 << 50 << 125 << 50.0 << QList<int>{GreenOff, GreenOn, GreenOn, GreenOn, RedOff};
    QTest::newRow("at the maximum")
        << 200 << 50 << 50 << 0.0 << QList<int>{GreenOff, GreenOff, GreenOff, GreenOff, RedOn};
    QTest::newRow("rising, at the minimum")
        << 50 << 200 << 50 << 0.0 << QList<int>{GreenOff, GreenOff, GreenOff, GreenOff, RedOn};
    QTest::newRow("rising, one above") << 50 << 200 << 51 << 100 - 100.0 / 150
                                       << QList<int>{GreenOn, GreenOn, GreenOn, GreenOn, RedOff};
    QTest::newRow("full sender") << 190 << 1 << 190 << 100.0
                                 << QList<int>{GreenOn, GreenOn, GreenOn, GreenOn, RedOff};
}

void TestLevelPage::percentagesAndLamps() {
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, reading);
    QFETCH(double, percent);
    QFETCH(QList<int>, lamps);
    MemoryImage &image = w->image();
    const QList<int> settings = {100, minimum, maximum, 7, 30, 50, 83};
    for (int i = 0; i < 7; ++i)
        image.set(0xA3A + i, static_cast<quint8>(settings.at(i)));
    image.set(0x034, static_cast<quint8>(reading));
    image.set(0x035, static_cast<quint8>(reading));
    LevelPage &page = w->level();
    page.refreshFromImage();
    QCOMPARE(number::parse(page.TxNiveau100->text()), percent);
    QCOMPARE(page.TxNiveau100_2->text(), page.TxNiveau100->text());
    const QList<Shape *> leds = {page.led1, page.led2, page.led3, page.led4, page.led5};
    for (int i = 0; i < 5; ++i)
        QCOMPARE(leds.at(i)->fillColor(), lamps.at(i));
}

QTEST_MAIN(TestLevelPage)
#include "tst_level_page.moc"
