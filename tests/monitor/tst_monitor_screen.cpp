// The monitor screen inside the real main window, on an in-memory line:
// what it shows for chosen bytes, the watchdog, the write chains, the trims
// and their buttons.
#include "link/frames.h"
#include "link/link.h"
#include "monitor/monitor_screen.h"
#include "monitor/monitor_widgets.h"
#include "monitor/needle_gauge.h"
#include "pages/main_parameters_page.h"
#include "pages/numeric_edit.h"
#include "presentation/refresh.h"
#include "shell/main_window.h"
#include "shell/status_strip.h"
#include "support/fake_dialogs.h"
#include "support/fake_serial_port.h"
#include "support/frame_helpers.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {
constexpr int Green = 49152;
constexpr int DarkRed = 192;
constexpr int Red = 255;
constexpr int Orange = 33023;

QByteArray written(const char *text) {
    return frames::sealed(QByteArray(text)) + '\r';
}
} // namespace

class TestMonitorScreen : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init();
    void cleanup();
    void decodesLiveFields_data();
    void decodesLiveFields();
    void speedBarAndGauges();
    void sensorBarsAndColours_data();
    void sensorBarsAndColours();
    void lambdaScaleCaptions();
    void fuelStateTexts_data();
    void fuelStateTexts();
    void alarmLampsBlink();
    void settingsLeftAloneWhilePolling();
    void pressureMemory();
    void watchdogSendsOnTheThirdTick();
    void watchdogWaitsWhileAnswersCome();
    void writeChains_data();
    void writeChains();
    void enterRunsTheWriteButtons_data();
    void enterRunsTheWriteButtons();
    void typedTrimsAreValidated_data();
    void typedTrimsAreValidated();
    void stepButtons_data();
    void stepButtons();
    void alarmResetAndFuelSwitch_data();
    void alarmResetAndFuelSwitch();
    void bank2IsStoredOnlyForItsFirmware_data();
    void bank2IsStoredOnlyForItsFirmware();
    void variantHidesOptionalControls();

  private:
    MemoryImage &image() { return link->image; }
    void setU16(int address, int value);
    void refresh() { RefreshScreens(window->app()); }
    // A field of the main parameters page the monitor reads; a stand-in
    // when the page does not hold it.
    void parameterField(const char *name, const QString &text);
    QString textOf(const QString &name) const;
    QByteArray liveAnswer();

    QTemporaryDir dir;
    FakeSerialPort *port = nullptr;
    std::unique_ptr<Link> link;
    FakeDialogs dialogs;
    std::unique_ptr<MainWindow> window;
    MonitorScreen *m = nullptr;
};

void TestMonitorScreen::init() {
    port = new FakeSerialPort;
    link = std::make_unique<Link>(port);
    window = std::make_unique<MainWindow>(*link, &dialogs, dir.path());
    window->MDIForm1_Load();
    m = window->screens().FnMoniteur;
}

void TestMonitorScreen::cleanup() {
    window.reset();
    link.reset();
    delete port;
    port = nullptr;
}

void TestMonitorScreen::setU16(int address, int value) {
    image().set(address, static_cast<quint8>(value >> 8));
    image().set(address + 1, static_cast<quint8>(value & 0xFF));
}

void TestMonitorScreen::parameterField(const char *name, const QString &text) {
    QWidget *page = window->screens().FnParametres;
    if (!page->findChild<QLineEdit *>(QString::fromLatin1(name))) {
        auto *standIn = new QLineEdit(page);
        standIn->setObjectName(QString::fromLatin1(name));
        standIn->setText(text);
    }
}

QString TestMonitorScreen::textOf(const QString &name) const {
    QWidget *w = m->findChild<QWidget *>(name);
    return w ? w->property("text").toString() : QStringLiteral("<missing>");
}

QByteArray TestMonitorScreen::liveAnswer() {
    std::vector<int> bytes;
    for (int a = 0; a < 0x37; ++a)
        bytes.push_back(image().at(a));
    return dataFrame(0x000, bytes);
}

void TestMonitorScreen::decodesLiveFields_data() {
    QTest::addColumn<QList<int>>("bytes"); // address, value pairs
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("water 200 is -56")
        << QList<int>{0x02C, 200} << QStringList{"TxTmp", "TextTPEau"} << QStringList{"-56", "-56"};
    QTest::newRow("water 127") << QList<int>{0x02C, 127} << QStringList{"TxTmp", "TextTPEau"}
                               << QStringList{"127", "127"};
    QTest::newRow("gas temperature 128 is -128")
        << QList<int>{0x02D, 128} << QStringList{"TextTPGaz"} << QStringList{"-128"};
    QTest::newRow("pressure 1050 over the dial")
        << QList<int>{0x02E, 0x04, 0x02F, 0x1A} << QStringList{"TxPrss", "TextPression"}
        << QStringList{"0", "10.5"};
    QTest::newRow("pressure 1000")
        << QList<int>{0x02E, 0x03, 0x02F, 0xE8} << QStringList{"TxPrss", "TextPression"}
        << QStringList{"10", "10"};
    QTest::newRow("injection 0x0F 0xA0 on cylinder 1")
        << QList<int>{0x00C, 0x0F, 0x00D, 0xA0} << QStringList{"TextE1", "txZoom"}
        << QStringList{"10.21", "10.21"};
    QTest::newRow("petrol cylinder 8 and gas cylinders 1 and 8")
        << QList<int>{0x01A, 0x01, 0x01B, 0x00, 0x01C, 0x0F, 0x01D, 0xA0, 0x02A, 0, 0x02B, 40}
        << QStringList{"TextE8", "TextG1", "TextG8"} << QStringList{"0.65", "10.21", "0.1"};
    QTest::newRow("speed 1500 sequential")
        << QList<int>{0x80D, 0, 0x008, 0x05, 0x009, 0xDC} << QStringList{"TxRPM", "TextRPM"}
        << QStringList{"3000", "3000"};
    QTest::newRow("speed 1500 full group")
        << QList<int>{0x80D, 1, 0x008, 0x05, 0x009, 0xDC} << QStringList{"TxRPM", "TextRPM"}
        << QStringList{"1500", "1500"};
    QTest::newRow("lambda 100 is half a volt")
        << QList<int>{0x030, 0, 0x031, 100} << QStringList{"TextLambda"} << QStringList{"0.5"};
    QTest::newRow("firmware") << QList<int>{0x000, 15} << QStringList{"Label12"}
                              << QStringList{"ECM fireware :15"};
}

void TestMonitorScreen::decodesLiveFields() {
    QFETCH(QList<int>, bytes);
    QFETCH(QStringList, fields);
    QFETCH(QStringList, texts);
    for (int i = 0; i + 1 < bytes.size(); i += 2)
        image().set(bytes[i], static_cast<quint8>(bytes[i + 1]));
    refresh();
    for (int i = 0; i < fields.size(); ++i)
        QCOMPARE(textOf(fields[i]), texts[i]);
}

void TestMonitorScreen::speedBarAndGauges() {
    QVERIFY(!m->PicRPM->hasNeedle()); // no needle before the first refresh
    image().set(0x80D, 0);
    setU16(0x008, 1500);
    image().set(0x02C, 60);
    setU16(0x02E, 150);
    image().set(0x00C, 0x0F); // 15 x 255 + 160 = 3985
    image().set(0x00D, 0xA0);
    refresh();
    QCOMPARE(m->BarRPM->widthTwips(), 1500);
    QCOMPARE(m->RpmGaugeValue, 66);
    QCOMPARE(m->PicRPM->value(), 66);
    QVERIFY(m->PicRPM->hasNeedle());
    QCOMPARE(m->TempGaugeValue, 60);
    QVERIFY(qAbs(m->Pictemp->angle() - 270.0f) < 1e-3f);
    QCOMPARE(m->PressureGaugeValue, 150);
    QVERIFY(qAbs(m->PicPress->angle() - 270.0f) < 1e-3f);
    QCOMPARE(m->BarE[0]->widthTwips(), 848); // raw / 4.7

    image().set(0x02C, 200); // -56 degrees: the dial stops at 0
    refresh();
    QCOMPARE(m->TempGaugeValue, 0);
    QCOMPARE(m->BarTPEau->widthTwips(), 0);
}

void TestMonitorScreen::sensorBarsAndColours_data() {
    QTest::addColumn<int>("water");
    QTest::addColumn<int>("pressure");
    QTest::addColumn<int>("waterColour");
    QTest::addColumn<int>("pressureColour");
    QTest::addColumn<int>("pressureTwips");
    // Alarm at 20 C and 0.5 bar, switch-over at 35 C and 0.8 bar.
    QTest::newRow("cold, low") << 10 << 30 << Red << Red << 1105;
    QTest::newRow("at the alarms") << 20 << 50 << Orange << Orange << 1275;
    QTest::newRow("warming") << 30 << 60 << Orange << Orange << 1360;
    QTest::newRow("at the switch-over") << 35 << 80 << Green << Green << 1530;
    QTest::newRow("running") << 86 << 123 << Green << Green << 1896;
}

void TestMonitorScreen::sensorBarsAndColours() {
    QFETCH(int, water);
    QFETCH(int, pressure);
    QFETCH(int, waterColour);
    QFETCH(int, pressureColour);
    QFETCH(int, pressureTwips);
    image().set(0x809, 20); // alarm temperature
    image().set(0x803, 35); // switch-over temperature
    image().set(0x80A, 0);  // alarm pressure 0.5
    image().set(0x80B, 50);
    image().set(0x804, 0); // switch-over pressure 0.8
    image().set(0x805, 80);
    parameterField("ALTemperatureText", QStringLiteral("20"));
    parameterField("TemperatureText", QStringLiteral("35"));
    parameterField("ALPressionText", QStringLiteral("0.5"));
    parameterField("PressionText", QStringLiteral("0.8"));
    image().set(0x02C, static_cast<quint8>(water));
    setU16(0x02E, pressure);
    image().set(0x02D, 236); // gas at -20 C: an empty bar
    refresh();
    QCOMPARE(m->BarTPEau->fillColor(), waterColour);
    QCOMPARE(m->BarTPEau->widthTwips(), (water + 20) * 22);
    QCOMPARE(m->BarPression->fillColor(), pressureColour);
    QCOMPARE(m->BarPression->widthTwips(), pressureTwips);
    QCOMPARE(m->BarTPGaz->widthTwips(), 0);
}

void TestMonitorScreen::lambdaScaleCaptions() {
    QWidget *page = window->screens().FnParametres;
    auto *combo = page->findChild<QComboBox *>(QStringLiteral("ComboLambda"));
    if (!combo) {
        combo = new QComboBox(page);
        combo->setObjectName(QStringLiteral("ComboLambda"));
        combo->addItems({"   0 - 1V    ", " 0.8 - 1.6 V ", "   0 - 5 V   ", "   5 - 0 V   "});
    }
    image().set(0x80C, 1);
    combo->setCurrentIndex(1);
    setU16(0x030, 240); // 1.2 V on a 0.8 - 1.6 V probe
    refresh();
    QCOMPARE(m->LambaType1->text(), QStringLiteral(" 0.8 "));
    QCOMPARE(m->LambaType2->text(), QStringLiteral("1.6 V "));
    QCOMPARE(m->BarLambda->widthTwips(), 2000);
    QCOMPARE(m->BarLambda->fillColor(), Green);

    image().set(0x80C, 0);
    combo->setCurrentIndex(0);
    refresh();
    QCOMPARE(m->LambaType1->text(), QStringLiteral("   0 "));
    QCOMPARE(m->BarLambda->widthTwips(), 6000);
    QCOMPARE(m->BarLambda->fillColor(), Red);
}

void TestMonitorScreen::fuelStateTexts_data() {
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("text");
    QTest::newRow("petrol") << 0 << "Gasoline";
    QTest::newRow("waiting") << 1 << "Gas Waiting";
    QTest::newRow("unknown leaves the text") << 2 << "Gas";
    QTest::newRow("gas") << 3 << "Gas";
    QTest::newRow("unknown 200") << 200 << "Gas";
}

void TestMonitorScreen::fuelStateTexts() {
    QFETCH(int, state);
    QFETCH(QString, text);
    image().set(0x002, 3);
    refresh();
    image().set(0x002, static_cast<quint8>(state));
    refresh();
    QCOMPARE(m->TextGazEtat->text(), text);
}

void TestMonitorScreen::alarmLampsBlink() {
    QVERIFY(m->couleurTimer.isActive());
    QCOMPARE(m->couleurTimer.interval(), 800);
    image().set(0x003, 4 | 2 | 128);
    refresh();
    QCOMPARE(m->TxAlarmePress->backColor(), 0);
    QCOMPARE(m->TxAlarmeTmp->backColor(), 0);
    QCOMPARE(m->TxAldemarage->backColor(), DarkRed);
    m->couleurTimer_Timer();
    refresh();
    QCOMPARE(m->TxAlarmePress->backColor(), 192);
    QCOMPARE(m->TxAlarmeTmp->backColor(), 192);
    m->couleurTimer_Timer();
    QCOMPARE(m->AlarmBlinkColour, 0);

    image().set(0x003, 4);
    refresh();
    QCOMPARE(m->TxAlarmePress->backColor(), 0);
    QCOMPARE(m->TxAlarmeTmp->backColor(), Green);
    QCOMPARE(m->TxAldemarage->backColor(), Green);
}

void TestMonitorScreen::settingsLeftAloneWhilePolling() {
    image().set(0x801, 125);
    image().set(0x802, 255);
    image().set(0x839, 80);
    image().set(0x83A, 21);
    image().set(0xA44, 100);
    refresh();
    QCOMPARE(m->TxCharge->text(), QStringLiteral("1.25"));
    QCOMPARE(m->TxRalenti->text(), QStringLiteral("5.1"));
    QCOMPARE(m->TxChargeB->text(), QStringLiteral("0.8"));
    QCOMPARE(m->TxRalentiB->text(), QStringLiteral("0.42"));
    QCOMPARE(m->TxTIExclu->text(), QStringLiteral("100"));
    QCOMPARE(m->TxExclu2->text(), QStringLiteral("4.096"));

    link->state.PollingOn = true;
    image().set(0x801, 10);
    image().set(0xA44, 7);
    image().set(0x008, 3);
    refresh();
    QCOMPARE(m->TxCharge->text(), QStringLiteral("1.25"));
    QCOMPARE(m->TxTIExclu->text(), QStringLiteral("100"));
    QCOMPARE(m->TextRPM->text(), QStringLiteral("1536")); // live fields go on

    link->state.PollingOn = false;
    refresh();
    QCOMPARE(m->TxCharge->text(), QStringLiteral("0.1"));
    QCOMPARE(m->TxTIExclu->text(), QStringLiteral("7"));
}

void TestMonitorScreen::pressureMemory() {
    setU16(0x02E, 120);
    refresh();
    m->RazPrss_Click();
    QCOMPARE(m->TxLPress->text(), QStringLiteral("1.2"));
    QCOMPARE(m->TxHPress->text(), QStringLiteral("1.2"));
    for (int p : {150, 90, 130}) {
        setU16(0x02E, p);
        refresh();
    }
    QCOMPARE(m->TxLPress->text(), QStringLiteral("0.9"));
    QCOMPARE(m->TxHPress->text(), QStringLiteral("1.5"));
    QTest::mouseClick(m->RazPrss, Qt::LeftButton);
    QCOMPARE(m->TxLPress->text(), QStringLiteral("1.3"));
    QCOMPARE(m->TxHPress->text(), QStringLiteral("1.3"));
}

void TestMonitorScreen::watchdogSendsOnTheThirdTick() {
    QCOMPARE(m->Timer1.interval(), 200);
    QVERIFY(!m->Timer1.isActive());
    QVERIFY(link->OpenPort());
    port->written.clear();
    for (int round = 0; round < 2; ++round) {
        m->Timer1_Timer();
        m->Timer1_Timer();
        QVERIFY(port->written.isEmpty());
        QVERIFY(!link->state.PollingOn || round > 0);
        m->Timer1_Timer();
        QCOMPARE(port->written, QByteArrayList{QByteArray("@R000378C\r")});
        QVERIFY(link->state.PollingOn);
        QCOMPARE(link->state.NoAnswerTicks, 0);
        QCOMPARE(window->etat().BarreEtat->text(), QStringLiteral("No Dialogue on COM1"));
        port->written.clear();
    }

    // A closed port: the count goes on, nothing is sent.
    link->ClosePort();
    link->state.PollingOn = false;
    for (int i = 0; i < 3; ++i)
        m->Timer1_Timer();
    QVERIFY(port->written.isEmpty());
    QVERIFY(!link->state.PollingOn);
    QCOMPARE(link->state.NoAnswerTicks, 0);
}

void TestMonitorScreen::watchdogWaitsWhileAnswersCome() {
    QVERIFY(link->OpenPort());
    port->written.clear();
    for (int i = 0; i < 6; ++i) {
        m->Timer1_Timer();
        m->Timer1_Timer();
        port->feed(ackFrame()); // any received character clears the count
    }
    QVERIFY(port->written.isEmpty());
}

void TestMonitorScreen::writeChains_data() {
    QTest::addColumn<bool>("secondBank");
    QTest::addColumn<QByteArrayList>("frames");
    QTest::newRow("BoutonCentrale: extra time, then bank 1")
        << false << QByteArrayList{written("@WA440164"), written("@W801027B19")};
    QTest::newRow("BoutonCentraleB: bank 2, extra time, bank 1")
        << true
        << QByteArrayList{written("@W839025032"), written("@WA440164"), written("@W801027B19")};
}

void TestMonitorScreen::writeChains() {
    QFETCH(bool, secondBank);
    QFETCH(QByteArrayList, frames);
    image().set(0x000, 12); // bank 2 goes out through BoutonCentraleB only
    QVERIFY(link->OpenPort());
    window->navigation().Moniteur_Click();
    QVERIFY(link->state.PollingOn);
    m->TxCharge->setText(QStringLiteral("1.23"));
    m->TxRalenti->setText(QStringLiteral("0.5"));
    m->TxTIExclu->setText(QStringLiteral("100"));
    m->TxChargeB->setText(QStringLiteral("0.8"));
    m->TxRalentiB->setText(QStringLiteral("1"));
    port->written.clear();

    QTest::mouseClick(secondBank ? m->BoutonCentraleB : m->BoutonCentrale, Qt::LeftButton);
    QVERIFY(!link->state.PollingOn);
    QVERIFY(!m->Timer1.isActive());
    QVERIFY(port->written.isEmpty()); // the first block waits for the answer in flight
    QCOMPARE(image().at(0x801), quint8(123));
    QCOMPARE(image().at(0x802), quint8(25));
    QCOMPARE(image().at(0xA44), quint8(100));
    QCOMPARE(image().at(0x839), quint8(secondBank ? 80 : 0));

    port->feed(liveAnswer()); // the answer to the poll in flight: no new poll
    for (int i = 0; i < frames.size(); ++i) {
        QCOMPARE(port->written, QByteArrayList{frames[i]});
        QCOMPARE(m->Timer1.isActive(), i == frames.size() - 1);
        port->written.clear();
        port->feed(ackFrame());
    }
    QVERIFY(port->written.isEmpty());
    QCOMPARE(link->state.UploadStep, 0);
    QCOMPARE(m->TxCharge->text(), QStringLiteral("1.23")); // refreshed from what was written

    // The watchdog resumes the poll.
    for (int i = 0; i < 3; ++i)
        m->Timer1_Timer();
    QCOMPARE(port->written, QByteArrayList{QByteArray("@R000378C\r")});
    QVERIFY(link->state.PollingOn);
}

void TestMonitorScreen::enterRunsTheWriteButtons_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("sequence");
    QTest::addColumn<QString>("button");
    QTest::newRow("TxCharge") << "TxCharge" << 5 << "BoutonCentraleB";
    QTest::newRow("TxRalentiB") << "TxRalentiB" << 5 << "BoutonCentraleB";
    QTest::newRow("TxTIExclu") << "TxTIExclu" << 3 << "BoutonCentrale";
}

void TestMonitorScreen::enterRunsTheWriteButtons() {
    QFETCH(QString, field);
    QFETCH(int, sequence);
    QFETCH(QString, button);
    window->show();
    m->showForm();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    auto *edit = m->findChild<NumericEdit *>(field);
    edit->setText(QStringLiteral("1"));
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(edit->text(), QStringLiteral("1"));
    QCOMPARE(link->state.UploadStep, sequence);
    QCOMPARE(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(),
             button);
}

void TestMonitorScreen::typedTrimsAreValidated_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<QString>("extraMs");
    QTest::newRow("2.56") << "TxCharge"
                          << "2.56"
                          << "2.55"
                          << "0";
    QTest::newRow("400") << "TxCharge"
                         << "400"
                         << "2.55"
                         << "0";
    QTest::newRow("1.234") << "TxCharge"
                           << "1.234"
                           << "1.23"
                           << "0";
    QTest::newRow(".1234") << "TxCharge"
                           << ".1234"
                           << ".1234"
                           << "0";
    QTest::newRow("letters are dropped") << "TxChargeB"
                                         << ".1a,2-"
                                         << ".12"
                                         << "0";
    QTest::newRow("5.12 idle") << "TxRalentiB"
                               << "5.12"
                               << "5.10"
                               << "0";
    QTest::newRow("extra 100") << "TxTIExclu"
                               << "100"
                               << "100"
                               << "4.096";
    QTest::newRow("extra 300") << "TxTIExclu"
                               << "300"
                               << "255"
                               << "10.444";
}

void TestMonitorScreen::typedTrimsAreValidated() {
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QFETCH(QString, extraMs);
    auto *edit = m->findChild<NumericEdit *>(field);
    edit->clear();
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), kept);
    QCOMPARE(m->TxExclu2->text(), extraMs);
}

void TestMonitorScreen::stepButtons_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("BtCharge1 at 0") << "BtCharge1"
                                    << "TxCharge"
                                    << "0"
                                    << "0";
    QTest::newRow("BtCharge2") << "BtCharge2"
                               << "TxCharge"
                               << "1.25"
                               << "1.26";
    QTest::newRow("BtCharge2 at the top") << "BtCharge2"
                                          << "TxCharge"
                                          << "2.55"
                                          << "2.55";
    QTest::newRow("BtRalenti2 at 5.1") << "BtRalenti2"
                                       << "TxRalenti"
                                       << "5.1"
                                       << "5.10";
    QTest::newRow("BtRalenti1") << "BtRalenti1"
                                << "TxRalenti"
                                << "0.4"
                                << "0.38";
    QTest::newRow("BtCharge1B") << "BtCharge1B"
                                << "TxChargeB"
                                << "1"
                                << "0.99";
    QTest::newRow("BtRalenti2B") << "BtRalenti2B"
                                 << "TxRalentiB"
                                 << "0.42"
                                 << "0.44";
    QTest::newRow("BtExclu2") << "BtExclu2"
                              << "TxTIExclu"
                              << "20"
                              << "21";
    QTest::newRow("BtExclu1 at 0") << "BtExclu1"
                                   << "TxTIExclu"
                                   << "0"
                                   << "0";
}

void TestMonitorScreen::stepButtons() {
    QFETCH(QString, button);
    QFETCH(QString, field);
    QFETCH(QString, before);
    QFETCH(QString, after);
    QVERIFY(link->OpenPort());
    port->written.clear();
    auto *edit = m->findChild<NumericEdit *>(field);
    edit->setText(before);
    QTest::mouseClick(m->findChild<QPushButton *>(button), Qt::LeftButton);
    QCOMPARE(edit->text(), after);
    QVERIFY(port->written.isEmpty()); // a step never writes to the ECU
    QCOMPARE(link->state.UploadStep, 0);
    if (field == QLatin1String("TxTIExclu"))
        QCOMPARE(m->TxExclu2->text(), after == QLatin1String("21") ? "0.86" : "0");
}

void TestMonitorScreen::alarmResetAndFuelSwitch_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("fuelState");
    QTest::addColumn<QByteArray>("frame");
    QTest::newRow("reset alarms") << "BtResetAlarme" << 0 << QByteArray("@F00016\r");
    QTest::newRow("petrol asks for gas") << "SwitchCommutateur" << 0 << QByteArray("@F0071D\r");
    QTest::newRow("waiting goes back to petrol")
        << "SwitchCommutateur" << 1 << QByteArray("@F0081E\r");
    QTest::newRow("gas goes back to petrol") << "SwitchCommutateur" << 3 << QByteArray("@F0081E\r");
}

void TestMonitorScreen::alarmResetAndFuelSwitch() {
    QFETCH(QString, button);
    QFETCH(int, fuelState);
    QFETCH(QByteArray, frame);
    QVERIFY(link->OpenPort());
    port->written.clear();
    image().set(0x002, static_cast<quint8>(fuelState));
    QTest::mouseClick(m->findChild<QPushButton *>(button), Qt::LeftButton);
    QCOMPARE(port->written, QByteArrayList{frame});
}

void TestMonitorScreen::bank2IsStoredOnlyForItsFirmware_data() {
    QTest::addColumn<int>("firmware");
    QTest::addColumn<int>("stored");
    QTest::newRow("firmware 15") << 15 << 80;
    QTest::newRow("firmware 12") << 12 << 7;
}

void TestMonitorScreen::bank2IsStoredOnlyForItsFirmware() {
    QFETCH(int, firmware);
    QFETCH(int, stored);
    image().set(0x000, static_cast<quint8>(firmware));
    image().set(0x839, 7);
    image().set(0x83A, 7);
    m->TxChargeB->setText(QStringLiteral("0.8"));
    m->TxRalentiB->setText(QStringLiteral("1.6"));
    m->TxCharge->setText(QStringLiteral("0.29"));
    m->TxTIExclu->setText(QStringLiteral("12.5"));
    m->encodeInto(image());
    QCOMPARE(int(image().at(0x839)), stored);
    QCOMPARE(int(image().at(0x83A)), firmware == 15 ? 80 : 7);
    QCOMPARE(int(image().at(0x801)), 29);
    QCOMPARE(int(image().at(0xA44)), 12); // halves go to the even neighbour
}

void TestMonitorScreen::variantHidesOptionalControls() {
    m->applyGasTimesShown(0);
    for (int i = 0; i < 8; ++i) {
        QVERIFY(m->TextG[i]->isHidden());
        QVERIFY(m->BarG[i]->isHidden());
        QVERIFY(!m->TextE[i]->isHidden());
    }
    QVERIFY(m->Label17->isHidden() && m->Label18->isHidden());
    image().set(0x01C, 0x0F);
    image().set(0x01D, 0xA0);
    refresh();
    QCOMPARE(m->TextG[0]->text(), QStringLiteral("10.21")); // still refreshed
    m->applyGasTimesShown(2);                               // changes nothing
    QVERIFY(m->TextG[0]->isHidden());
    m->applyGasTimesShown(1);
    QVERIFY(!m->TextG[7]->isHidden() && !m->BarG[7]->isHidden() && !m->Label18->isHidden());

    m->applyEmissionTools(0);
    QVERIFY(m->EmiStart->isHidden() && m->TxTemps->isHidden());
    m->applyEmissionTools(3);
    QVERIFY(!m->EmiStart->isHidden() && !m->TxTemps->isHidden());
    for (const char *name : {"Picture4", "Picture7", "Picture8", "Picture12", "Picture14"})
        QVERIFY2(m->findChild<QFrame *>(QString::fromLatin1(name)), name);
}

QTEST_MAIN(TestMonitorScreen)
#include "tst_monitor_screen.moc"
