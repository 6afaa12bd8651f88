// The calibration forms: validation and step buttons, the fuel switch, the
// uploads with the frames they write, the button states over whole
// calibrations, and every way out of a running one.
#include "calibration/calibration_end_form.h"
#include "calibration/calibration_screen.h"
#include "calibration/calibration_set_form.h"
#include "link/frames.h"
#include "link/link.h"
#include "monitor/monitor_screen.h"
#include "pages/main_parameters_page.h"
#include "pages/numeric_edit.h"
#include "presentation/refresh.h"
#include "shell/main_window.h"
#include "shell/navigation.h"
#include "support/fake_dialogs.h"
#include "support/fake_serial_port.h"
#include "support/frame_helpers.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <map>
#include <memory>

using namespace calibration;

class TestCalibrationScreens : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init();
    void cleanup();
    void trimsAreClamped_data();
    void trimsAreClamped();
    void stepButtons_data();
    void stepButtons();
    void switchAsksForTheOtherFuel_data();
    void switchAsksForTheOtherFuel();
    void idleUploadWritesBothBanksIdleTrims();
    void loadUploadWritesBank1Only();
    void applyButtonsExcludeTheOtherKind();
    void buttonStatesOverIdleThenLoad();
    void loadWithoutLoadIsAnAcquisitionError();
    void everyWayOutRestores_data();
    void everyWayOutRestores();
    void settingsWhileWaitingForTemperature();

  private:
    CalibrationScreen *cal() { return window->screens().FnCalibration; }
    CalibrationEndForm *fin() { return window->screens().FnCalibrationFin; }
    CalibrationEndForm *fin2() { return window->screens().FnCalibrationFIN2; }
    // Petrol times of cylinders 1 and 5 in the image, as the ECU reports them.
    void setPetrol(int raw1, int raw5);
    // Refresh passes (as after each poll answer) until the calibration ends;
    // the ECU reports gas once asked for it.
    void runCalibration();
    // Answers every write with an acknowledgement; returns the writes.
    QByteArrayList acknowledgeWrites(int count);
    QList<bool> states() const;

    QTemporaryDir dir;
    FakeSerialPort *port = nullptr;
    std::unique_ptr<Link> link;
    FakeDialogs dialogs;
    std::unique_ptr<MainWindow> window;
};

void TestCalibrationScreens::init() {
    dialogs = FakeDialogs();
    port = new FakeSerialPort;
    link = std::make_unique<Link>(port);
    window = std::make_unique<MainWindow>(*link, &dialogs, dir.path());
    window->MDIForm1_Load();
    window->show();
    QVERIFY(link->OpenPort());
    MemoryImage &image = link->image;
    image.set(0x801, 120);
    image.set(0x802, 20);
    image.set(0x839, 110);
    image.set(0x83A, 25);
    image.set(0x807, 2);
    image.set(0xA41, 1);
    image.set(0x02C, 60);
    setPetrol(781, 859); // 2.00 and 2.20 ms
    RefreshScreens(window->app());
    for (int i = 0; i < 4; ++i) {
        window->screens().FnCalibrationSet->TxCaStep[i]->setText(i % 2 ? "2" : "1");
        window->screens().FnCalibrationSet->TxCaStepC[i]->setText(i % 2 ? "2" : "1");
    }
    window->navigation().Calibration_Click();
    port->written.clear();
}

void TestCalibrationScreens::cleanup() {
    window.reset();
    link.reset();
    delete port;
}

void TestCalibrationScreens::setPetrol(int raw1, int raw5) {
    link->image.set(0x00C, raw1 / 255);
    link->image.set(0x00D, raw1 % 255);
    link->image.set(0x014, raw5 / 255);
    link->image.set(0x015, raw5 % 255);
}

void TestCalibrationScreens::runCalibration() {
    for (int pass = 0; pass < 50 && window->app().CalibrationRunning; ++pass) {
        if (cal()->sequence().phase() == 4)
            link->image.set(0x002, 3);
        RefreshScreens(window->app());
    }
    QVERIFY(!window->app().CalibrationRunning);
}

QByteArrayList TestCalibrationScreens::acknowledgeWrites(int count) {
    QByteArrayList writes;
    for (int i = 0; i < count; ++i) {
        port->written.clear();
        port->feed(ackFrame());
        for (const QByteArray &line : port->written)
            if (line.startsWith("@W"))
                writes.append(line);
    }
    return writes;
}

// BtStCalibration, BtStCalibrationCh, BtCalibrationStop, BTuploadRalenti,
// BTuploadCharge, SwitchCommutateur.
QList<bool> TestCalibrationScreens::states() const {
    const CalibrationScreen *c = window->screens().FnCalibration;
    return {c->BtStCalibration->isEnabled(),   c->BtStCalibrationCh->isEnabled(),
            c->BtCalibrationStop->isEnabled(), c->BTuploadRalenti->isEnabled(),
            c->BTuploadCharge->isEnabled(),    c->SwitchCommutateur->isEnabled()};
}

void TestCalibrationScreens::trimsAreClamped_data() {
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    for (const char *form : {"FnCalibration", "FnCalibrationFin"}) {
        const QString f = QString::fromLatin1(form);
        QTest::newRow(qPrintable(f + ": load 3")) << f << "TxCharge"
                                                  << "3"
                                                  << "2.55";
        QTest::newRow(qPrintable(f + ": load 2.55 stays")) << f << "TxCharge"
                                                           << "2.55"
                                                           << "2.55";
        QTest::newRow(qPrintable(f + ": idle 5.2")) << f << "TxRalenti"
                                                    << "5.2"
                                                    << "5.10";
        QTest::newRow(qPrintable(f + ": idle 5.1 stays")) << f << "TxRalenti"
                                                          << "5.1"
                                                          << "5.1";
        QTest::newRow(qPrintable(f + ": cut to four")) << f << "TxCharge"
                                                       << "1.234"
                                                       << "1.23";
        QTest::newRow(qPrintable(f + ": pasted huge")) << f << "TxRalenti"
                                                       << "99999999"
                                                       << "5.10";
    }
    QTest::newRow("bank 2 load") << "FnCalibration"
                                 << "TxChargeB"
                                 << "2.56"
                                 << "2.55";
    QTest::newRow("bank 2 idle") << "FnCalibration"
                                 << "TxRalentiB"
                                 << "6"
                                 << "5.10";
}

void TestCalibrationScreens::trimsAreClamped() {
    QFETCH(QString, form);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QWidget *owner = form == QLatin1String("FnCalibration") ? static_cast<QWidget *>(cal())
                                                            : static_cast<QWidget *>(fin());
    auto *edit = owner->findChild<NumericEdit *>(field);
    QVERIFY(edit);
    edit->setText(typed);
    QCOMPARE(edit->text(), shown);
}

void TestCalibrationScreens::stepButtons_data() {
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("2.55 up clamps back") << "FnCalibration"
                                         << "BtCharge2"
                                         << "TxCharge"
                                         << "2.55"
                                         << "2.55";
    QTest::newRow("idle up 0.02") << "FnCalibration"
                                  << "BtRalenti2"
                                  << "TxRalenti"
                                  << "1"
                                  << "1.02";
    QTest::newRow("0 down stays 0") << "FnCalibration"
                                    << "BtRalenti1B"
                                    << "TxRalentiB"
                                    << "0"
                                    << "0";
    QTest::newRow("bank 2 load down") << "FnCalibration"
                                      << "BtCharge1B"
                                      << "TxChargeB"
                                      << "1.1"
                                      << "1.09";
    QTest::newRow("end form load up") << "FnCalibrationFin"
                                      << "BtCharge2"
                                      << "TxCharge"
                                      << "1.2"
                                      << "1.21";
    QTest::newRow("end form idle down") << "FnCalibrationFin"
                                        << "BtRalenti1"
                                        << "TxRalenti"
                                        << "0.4"
                                        << "0.38";
}

void TestCalibrationScreens::stepButtons() {
    QFETCH(QString, form);
    QFETCH(QString, button);
    QFETCH(QString, field);
    QFETCH(QString, before);
    QFETCH(QString, after);
    QWidget *owner = form == QLatin1String("FnCalibration") ? static_cast<QWidget *>(cal())
                                                            : static_cast<QWidget *>(fin());
    auto *edit = owner->findChild<NumericEdit *>(field);
    edit->setText(before);
    owner->findChild<QPushButton *>(button)->click();
    QCOMPARE(edit->text(), after);
    QVERIFY(port->written.isEmpty()); // nothing goes to the ECU
}

void TestCalibrationScreens::switchAsksForTheOtherFuel_data() {
    QTest::addColumn<int>("state");
    QTest::addColumn<QByteArray>("frame");
    QTest::newRow("petrol") << 0 << QByteArray("@F0071D\r");
    QTest::newRow("waiting for gas") << 1 << QByteArray("@F0081E\r");
    QTest::newRow("gas") << 3 << QByteArray("@F0081E\r");
}

void TestCalibrationScreens::switchAsksForTheOtherFuel() {
    QFETCH(int, state);
    QFETCH(QByteArray, frame);
    link->image.set(0x002, state);
    cal()->SwitchCommutateur_Click();
    QCOMPARE(port->written, QByteArrayList{frame});
}

void TestCalibrationScreens::idleUploadWritesBothBanksIdleTrims() {
    BankTexts t1 = initialTexts(), t2 = initialTexts();
    t1[TxApp1] = "3.12";
    t2[TxApp1] = "3.06";
    fin()->showResults(t1);
    fin2()->showResults(t2);
    cal()->BTuploadRalenti_Click();
    QCOMPARE(int(link->image.at(0x802)), 156);
    QCOMPARE(int(link->image.at(0x83A)), 153);
    QCOMPARE(int(link->image.at(0x801)), 120);
    QCOMPARE(int(link->image.at(0x839)), 110);
    QVERIFY(!cal()->BTuploadCharge->isEnabled());
    QVERIFY(!fin()->Command4->isEnabled());
    QCOMPARE(acknowledgeWrites(3),
             (QByteArrayList{"@W839026E998A\r", "@WA44010001\r", "@W80102789C7D\r"}));
}

void TestCalibrationScreens::loadUploadWritesBank1Only() {
    BankTexts t1 = initialTexts();
    t1[TxCCHP1] = "1.31";
    t1[TxRCHP1] = "0.52";
    fin()->showResults(t1);
    cal()->BTuploadCharge_Click();
    QCOMPARE(port->written, QByteArrayList{"@W80102831A6F\r"});
    QCOMPARE(int(link->image.at(0x839)), 110);
    QCOMPARE(int(link->image.at(0x83A)), 25);
    QCOMPARE(fin()->TxCharge->text(), QStringLiteral("1.31"));
    QVERIFY(!fin()->Command1->isEnabled());
    QVERIFY(!link->state.PollingOn);
    QVERIFY(acknowledgeWrites(2).isEmpty()); // no chain follows
}

void TestCalibrationScreens::applyButtonsExcludeTheOtherKind() {
    BankTexts t = initialTexts();
    t[TxApp1] = "0.64";
    t[TxApp2] = "0.7";
    t[TxCCHP1] = "1.3";
    t[TxRCHP1] = "0.5";
    fin()->showResults(t);
    fin()->offerApply(Kind::Idle);
    cal()->BtStCalibrationCh->setEnabled(true);
    fin()->Command2->click();
    QCOMPARE(fin()->TxRalenti->text(), QStringLiteral("0.7"));
    QVERIFY(!fin()->Command4->isEnabled());
    QVERIFY(!cal()->BtStCalibrationCh->isEnabled());
    fin()->Command1->click();
    QCOMPARE(fin()->TxRalenti->text(), QStringLiteral("0.64"));
    fin()->offerApply(Kind::Load);
    fin()->Command4->click();
    QCOMPARE(fin()->TxRalenti->text(), QStringLiteral("0.5"));
    QCOMPARE(fin()->TxCharge->text(), QStringLiteral("1.3"));
    QVERIFY(!fin()->Command1->isEnabled());
    QVERIFY(!fin()->Command2->isEnabled());
    // Only the fitter's "PC -->> Centrale" writes it.
    QVERIFY(port->written.isEmpty());
    fin()->BoutonCentrale->click();
    QCOMPARE(port->written, QByteArrayList{"@W80102821966\r"});
}

void TestCalibrationScreens::buttonStatesOverIdleThenLoad() {
    using S = QList<bool>;
    //            start  load   stop   upIdle upLoad switch
    QCOMPARE(states(), (S{true, false, false, false, false, true}));
    cal()->BtStCalibration->click();
    QCOMPARE(states(), (S{false, false, true, false, false, false}));
    QCOMPARE(cal()->TxAction->text(), QStringLiteral(" Waiting Temperature "));
    runCalibration();
    QCOMPARE(states(), (S{true, true, false, true, false, true}));
    QCOMPARE(cal()->BarCalibration->value(), 7);
    QCOMPARE(fin()->result(TxMinER)->text(), QStringLiteral("2"));
    QCOMPARE(fin2()->result(TxMinER)->text(), QStringLiteral("2.2"));
    QCOMPARE(fin()->result(TxMoyenEC)->text(), QStringLiteral("0"));
    QVERIFY(fin()->Command1->isEnabled() && fin()->Command2->isEnabled());
    QVERIFY(!fin()->Command4->isEnabled());

    link->image.set(0x002, 0);
    setPetrol(1561, 1639); // 4.00 and 4.20 ms under load
    cal()->BtStCalibrationCh->click();
    QCOMPARE(states(), (S{true, true, true, false, false, false}));
    runCalibration();
    QCOMPARE(states(), (S{true, true, false, false, true, true}));
    QVERIFY(dialogs.shown.isEmpty());
    QCOMPARE(fin()->result(TxMinER)->text(), QStringLiteral("2"));
    QCOMPARE(fin()->result(TxMoyenEC)->text(), QStringLiteral("4"));
    QVERIFY(fin()->Command4->isEnabled());
    QVERIFY(!fin()->Command1->isEnabled());
}

void TestCalibrationScreens::loadWithoutLoadIsAnAcquisitionError() {
    cal()->BtStCalibration->click();
    runCalibration();
    link->image.set(0x002, 0);
    setPetrol(1132, 1132); // 2.9 ms: less than 1 ms above the idle 2.0
    cal()->BtStCalibrationCh->click();
    runCalibration();
    QCOMPARE(dialogs.texts(), QStringList{QStringLiteral(" ERROR Aquisition  ")});
    QVERIFY(dialogs.shown.value(0).icon == Dialogs::Icon::Warning);
    QVERIFY(!cal()->BTuploadCharge->isEnabled());
    QVERIFY(!cal()->BTuploadRalenti->isEnabled());
    QCOMPARE(fin()->result(TxMinEC)->text(), QStringLiteral("2.9"));
}

void TestCalibrationScreens::everyWayOutRestores_data() {
    QTest::addColumn<QString>("way");
    QTest::addColumn<bool>("warned");
    for (const char *way : {"BtCalibrationStop", "BtCalibrationSet", "Moniteur", "Calibration",
                            "Parametres", "BtEmission", "Connection"})
        QTest::newRow(way) << QString::fromLatin1(way) << (QByteArray(way) != "BtCalibrationStop");
}

void TestCalibrationScreens::everyWayOutRestores() {
    QFETCH(QString, way);
    QFETCH(bool, warned);
    cal()->BtStCalibration->click();
    RefreshScreens(window->app());
    RefreshScreens(window->app()); // step 2: the switch-over settings are zeroed
    QCOMPARE(int(link->image.at(0x807)), 0);
    QCOMPARE(acknowledgeWrites(2), (QByteArrayList{"@W8070100F7\r", "@WA410100FE\r"}));
    Navigation &nav = window->navigation();
    const std::map<QString, std::function<void()>> ways{
        {"BtCalibrationStop", [&] { cal()->BtCalibrationStop->click(); }},
        {"BtCalibrationSet", [&] { cal()->BtCalibrationSet_Click(); }},
        {"Moniteur", [&] { nav.Moniteur_Click(); }},
        {"Calibration", [&] { nav.Calibration_Click(); }},
        {"Parametres", [&] { nav.Parametres_Click(); }},
        {"BtEmission", [&] { nav.BtEmission_Click(); }},
        {"Connection", [&] { nav.Connection_Click(); }}};
    ways.at(way)();
    QVERIFY(!window->app().CalibrationRunning);
    QCOMPARE(dialogs.texts(),
             warned ? QStringList{QStringLiteral(" CALIBRATION STOP ")} : QStringList{});
    QCOMPARE(int(link->image.at(0x807)), 2);
    QCOMPARE(int(link->image.at(0xA41)), 1);
    // The parameters page shows them again at once: its next upload keeps them.
    QCOMPARE(window->screens().FnParametres->findChild<QLineEdit *>("DelayComText")->text(),
             QStringLiteral("2"));
    QCOMPARE(acknowledgeWrites(2), (QByteArrayList{"@W8070102F9\r", "@WA410101FF\r"}));
}

void TestCalibrationScreens::settingsWhileWaitingForTemperature() {
    link->image.set(0x02C, 40); // exactly the threshold: never starts
    cal()->BtStCalibration->click();
    RefreshScreens(window->app());
    QCOMPARE(cal()->sequence().step(), 0);
    cal()->BtCalibrationSet_Click();
    QCOMPARE(dialogs.texts(), QStringList{QStringLiteral(" CALIBRATION STOP ")});
    QVERIFY(!window->app().CalibrationRunning);
    QVERIFY(window->screens().FnCalibrationSet->isShown());
    QVERIFY(!cal()->isShown());
    QCOMPARE(link->state.UploadStep, 0); // nothing was saved, nothing is written
    QVERIFY(acknowledgeWrites(2).isEmpty());
}

QTEST_MAIN(TestCalibrationScreens)
#include "tst_calibration_screens.moc"
