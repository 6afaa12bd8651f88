// The calibration forms: trim fields, uploads' frames, button states over whole
// calibrations, and every way out of a running one.
#include "calibration/calibration_end_form.h"
#include "calibration/calibration_screen.h"
#include "calibration/calibration_set_form.h"
#include "pages/data_table.h"
#include "pages/main_parameters_page.h"
#include "presentation/refresh.h"
#include "shell/navigation.h"
#include "support/fake_dialogs.h"
#include "support/frame_helpers.h"
#include "support/window_session.h"
#include "ui/numeric_edit.h"
#include "ui/readout_widgets.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <utility>

using namespace calibration;

class TestCalibrationScreens : public QObject, WindowFixture {
    Q_OBJECT
  private:
    CalibrationScreen *cal() { return window->screens().calibrationScreen; }
    CalibrationEndForm *fin() { return window->screens().calibrationEndBank1; }
    CalibrationEndForm *fin2() { return window->screens().calibrationEndBank2; }
    // Petrol times of cylinders 1 and 5 in the image, as the ECU reports them.
    void setPetrol(int raw1, int raw5) {
        for (auto [address, raw] : {std::pair{0x00C, raw1}, {0x014, raw5}}) {
            link->image.set(address, raw / 255);
            link->image.set(address + 1, raw % 255);
        }
    }

    // Refresh passes until the calibration ends; gas is reported once asked for.
    void runCalibration() {
        for (int pass = 0; pass < 50 && window->app().CalibrationRunning; ++pass) {
            if (cal()->sequence().phase() == calibration::Phase::WaitingForGas)
                link->image.set(0x002, 3);
            RefreshScreens(window->app());
        }
        QVERIFY(!window->app().CalibrationRunning);
    }
    // The writes on the line so far and after each of count acknowledgements.
    QByteArrayList acknowledgeWrites(int count) {
        QByteArrayList writes;
        for (int i = 0; i <= count; ++i) {
            if (i > 0)
                port->feed(ackFrame());
            for (const QByteArray &line : std::exchange(port->written, {}))
                if (line.startsWith("@W"))
                    writes.append(line);
        }
        return writes;
    }
    // An idle calibration started and past its step that zeroes the
    // switch-over settings, both writes acknowledged.
    void startAndZero() {
        cal()->BtStCalibration->click();
        RefreshScreens(window->app());
        RefreshScreens(window->app());
        acknowledgeWrites(2);
    }
    QList<bool> states() {
        const CalibrationScreen *c = cal();
        return {c->BtStCalibration->isEnabled(),   c->BtStCalibrationCh->isEnabled(),
                c->BtCalibrationStop->isEnabled(), c->BTuploadRalenti->isEnabled(),
                c->BTuploadCharge->isEnabled(),    c->SwitchCommutateur->isEnabled()};
    }

  private Q_SLOTS:
    void init() {
        dialogs = FakeDialogs();
        session.start(dialogs, dir.path());
        QVERIFY(link->OpenPort());
        // Trims, switch-over delay and mode, vaporiser temperature.
        const int bytes[][2] = {{0x801, 120}, {0x802, 20}, {0x839, 110}, {0x83A, 25},
                                {0x807, 2},   {0xA41, 1},  {0x02C, 60}};
        for (auto [address, value] : bytes)
            link->image.set(address, value);
        setPetrol(781, 859); // 2.00 and 2.20 ms
        RefreshScreens(window->app());
        for (int i = 0; i < 4; ++i) {
            window->screens().calibrationSettings->TxCaStep[i]->setText(i % 2 ? "2" : "1");
            window->screens().calibrationSettings->TxCaStepC[i]->setText(i % 2 ? "2" : "1");
        }
        window->navigation().Calibration_Click();
        port->written.clear();
    }

    void cleanup() { session.reset(); }

    // Hidden while the answers come, the screen shows the last pass's values
    // once shown; hidden while a calibration runs, its step reads them current.
    void hiddenScreenShowsTheLastPassWhenShown() {
        cal()->hideForm();
        const int bytes[][2] = {{0x008, 0x05}, {0x009, 0xDC}, {0x02D, 35}, {0x002, 3}};
        for (auto [address, value] : bytes)
            link->image.set(address, value);
        setPetrol(3985, 1000);
        RefreshScreens(window->app());
        setPetrol(3985, 1300);
        RefreshScreens(window->app());
        cal()->showForm();
        QCOMPARE(
            (QStringList{cal()->TextE1->text(), cal()->TextE5->text(), cal()->TextTPEau->text(),
                         cal()->TextRPM->text(), cal()->TextTPGaz->text(),
                         cal()->TextGazEtat->text(), QString::number(cal()->BarRPM->widthTwips()),
                         QString::number(cal()->BarE1->widthTwips()),
                         QString::number(cal()->BarE5->widthTwips())}),
            (QStringList{"10.21", "3.33", "60", "3000", "35", "Gas", "1500", "848", "277"}));

        cal()->BtStCalibration->click();
        QVERIFY(window->app().CalibrationRunning);
        cal()->hideForm();
        setPetrol(1000, 3985);
        RefreshScreens(window->app());
        QCOMPARE(cal()->stepInputs().petrolTime, (std::array<double, 2>{2.56, 10.21}));
    }

    // Form, field, step button ("-": typed only), text before, text after.
    void trimFields_data() {
        columns<QString>("words");
        for (const char *words :
             {"fin TxRalenti - 99999999 5.10", "cal TxRalentiB BtRalenti1B 0 0",
              "cal TxChargeB BtCharge1B 1.1 1.09", "fin TxCharge BtCharge2 1.2 1.21"})
            row(words, QString::fromLatin1(words));
    }

    void trimFields() {
        const QStringList w = std::get<0>(fetch<QString>("words")).split(u' ');
        QWidget *owner = w[0] == QLatin1String("fin") ? static_cast<QWidget *>(fin()) : cal();
        auto *edit = owner->findChild<NumericEdit *>(w[1]);
        edit->setText(w[3]);
        if (w[2] != QLatin1String("-"))
            owner->findChild<QPushButton *>(w[2])->click();
        QCOMPARE(edit->text(), w[4]);
        QVERIFY(port->written.isEmpty()); // nothing goes to the ECU
    }

    // Trims far from the ECU's (idle 0.40 and 0.42 ms here) are written only
    // once the fitter has seen both and said yes: both banks' idle trims x 50
    // beside the untouched load trims 120 and 110.
    void implausibleTrimsAskFirst_data() {
        columns<QString, bool, bool, int>("bank2", "answer", "asked", "written"); // -1: none
        row("within 0.5 ms", QString("0.92"), false, false, 46);
        row("bank 2 beyond, fitter says no", QString("0.94"), false, true, -1);
        row("bank 2 beyond, fitter says yes", QString("0.94"), true, true, 47);
    }
    void implausibleTrimsAskFirst() {
        const auto [bank2, answer, asked, written] =
            fetch<QString, bool, bool, int>("bank2", "answer", "asked", "written");
        link->image.set(0x802, 20);
        link->image.set(0x83A, 21);
        BankTexts t1 = initialTexts(), t2 = initialTexts();
        t1[TxApp1] = "0.5";
        t2[TxApp1] = bank2;
        fin()->showResults(t1);
        fin2()->showResults(t2);
        dialogs.answers = {answer};
        cal()->BTuploadRalenti_Click();
        QCOMPARE(dialogs.texts(),
                 asked ? QStringList{" The new trims differ from the ECU's by more than 0.5 ms "
                                     "(bank 2 idle trim 0.42 ms, new 0.94 ms). The engine may "
                                     "not have been idling, or its speed or load was unsteady "
                                     "while the samples were taken. Write them anyway? "}
                       : QStringList{});
        const QByteArrayList writes{dataFrame(0x839, {110, written}), "@WA44010001\r",
                                    dataFrame(0x801, {120, 25})};
        QCOMPARE(acknowledgeWrites(3), written < 0 ? QByteArrayList{} : writes);
    }

    void loadUploadWritesBank1Only() {
        BankTexts t1 = initialTexts();
        t1[TxCCHP1] = "1.31";
        t1[TxRCHP1] = "0.52";
        fin()->showResults(t1);
        cal()->BTuploadCharge_Click();
        QCOMPARE(acknowledgeWrites(2), QByteArrayList{"@W80102831A6F\r"}); // no chain follows
        QCOMPARE(int(link->image.at(0x83A)), 25);
    }

    void applyButtonsExcludeTheOtherKind() {
        BankTexts t = initialTexts();
        t[TxApp1] = "0.64";
        t[TxApp2] = "0.7";
        t[TxCCHP1] = "1.3";
        t[TxRCHP1] = "0.5";
        fin()->showResults(t);
        fin()->offerApply(Kind::Idle);
        cal()->BtStCalibrationCh->setEnabled(true);
        fin()->Command2->click();
        QVERIFY(!fin()->Command4->isEnabled() && !cal()->BtStCalibrationCh->isEnabled());
        fin()->offerApply(Kind::Load);
        fin()->Command4->click();
        QCOMPARE(fin()->TxRalenti->text(), QStringLiteral("0.5"));
        QCOMPARE(fin()->TxCharge->text(), QStringLiteral("1.3"));
        QVERIFY(!fin()->Command1->isEnabled() && !fin()->Command2->isEnabled());
        QVERIFY(port->written.isEmpty()); // only "PC -->> Centrale" writes it
        fin()->BoutonCentrale->click();
        QCOMPARE(port->written, QByteArrayList{"@W80102821966\r"});
    }

    void buttonStatesOverIdleThenLoad() {
        using S = QList<bool>;
        //            start  load   stop   upIdle upLoad switch
        QCOMPARE(states(), (S{true, false, false, false, false, true}));
        cal()->SwitchCommutateur->click(); // the monitor's switch: petrol asks for gas
        QCOMPARE(std::exchange(port->written, {}), QByteArrayList{"@F0071D\r"});
        cal()->BtStCalibration->click();
        QCOMPARE(states(), (S{false, false, true, false, false, false}));
        runCalibration();
        QCOMPARE(states(), (S{true, true, false, true, false, true}));
        QVERIFY(fin()->Command1->isEnabled() && !fin()->Command4->isEnabled());

        link->image.set(0x002, 0);
        setPetrol(1561, 1639); // 4.00 and 4.20 ms under load
        cal()->BtStCalibrationCh->click();
        runCalibration();
        QCOMPARE(states(), (S{true, true, false, false, true, true}));
        QCOMPARE(fin()->result(TxMoyenEC)->text(), QStringLiteral("4"));
        QVERIFY(fin()->Command4->isEnabled() && !fin()->Command1->isEnabled());
    }

    // A finished run says so, and its results are one button away in every
    // build: the settings form's way to them is hidden.
    void endShownAndResultsReachable() {
        QVERIFY(cal()->BtCalibrationSet->isHidden());
        QVERIFY(!cal()->BtCalibrationResults->isHidden());
        cal()->BtStCalibration->click();
        QVERIFY(!cal()->BtCalibrationResults->isEnabled());
        runCalibration();
        QCOMPARE(cal()->TxAction->text(), QStringLiteral(" Calibration done: see Results "));
        QCOMPARE(cal()->BarCalibration->value(), cal()->BarCalibration->maximum());
        QVERIFY(cal()->BtCalibrationResults->isEnabled());
        cal()->BtCalibrationResults->click();
        QVERIFY(fin()->isShown() && !cal()->isShown());
        QCOMPARE(fin()->result(TxMinER)->text(), QStringLiteral("2"));
        QVERIFY(fin()->Command1->isEnabled() && fin()->Command2->isEnabled());
        fin()->Command17->click();
        QCOMPARE(fin2()->result(TxMinER)->text(), QStringLiteral("2.2"));
        fin2()->BtCalibrationSet->click();
        QVERIFY(cal()->isShown());
        // Stopped early: the earlier run's results stay within reach.
        cal()->BtStCalibration->click();
        cal()->BtCalibrationStop->click();
        QVERIFY(cal()->BtCalibrationResults->isEnabled());
    }

    void loadWithoutLoadIsAnAcquisitionError() {
        cal()->BtStCalibration->click();
        runCalibration();
        link->image.set(0x002, 0);
        setPetrol(1132, 1132); // 2.9 ms: less than 1 ms above the idle 2.0
        cal()->BtStCalibrationCh->click();
        runCalibration();
        QCOMPARE(dialogs.texts(), QStringList{QStringLiteral(" ERROR Aquisition  ")});
        QCOMPARE(states(), (QList<bool>{true, true, false, false, false, true}));
    }

    // Each way out of a calibration, taken before (1 refresh) or after (2)
    // the switch-over settings were zeroed: the writes it makes, each
    // acknowledged, and what the fitter is told.
    void everyWayOutRestores_data() {
        columns<QString, int, QByteArrayList, QStringList>("way", "refreshes", "writes", "texts");
        const QByteArrayList restore{"@W8070102F9\r", "@WA410101FF\r"};
        const QStringList stop{QStringLiteral(" CALIBRATION STOP ")};
        const QStringList close{QStringLiteral(
            "A calibration is running: the ECU's switch-over delay and mode may be at 0. Stop it, "
            "write them back and close?")};
        row("Stop", QString("BtCalibrationStop"), 2, restore, QStringList{});
        row("Set", QString("BtCalibrationSet"), 2, restore, stop);
        row("Moniteur", QString("Moniteur"), 2, restore, stop);
        row("Connection", QString("Connection"), 2, restore, stop);
        // The refresh after the menu button runs no step: nothing is zeroed.
        row("Map before zeroing", QString("BtMap"), 1, QByteArrayList{}, stop);
        row("close window", QString("close"), 2, restore, close);
        // Zeroed twice by the restarted run: the ECU's own values come back.
        row("restart during load", QString("restart"), 2, restore, QStringList{});
    }

    void everyWayOutRestores() {
        const auto [way, refreshes, writes, texts] =
            fetch<QString, int, QByteArrayList, QStringList>("way", "refreshes", "writes", "texts");
        const QByteArrayList zero{"@W8070100F7\r", "@WA410100FE\r"};
        if (way == QLatin1String("restart"))
            cal()->BtStCalibrationCh_Click();
        else
            cal()->BtStCalibration->click();
        for (int i = 0; i < refreshes; ++i)
            RefreshScreens(window->app()); // step 2 zeroes the switch-over settings
        QCOMPARE(acknowledgeWrites(2), refreshes == 2 ? zero : QByteArrayList{});
        Navigation &nav = window->navigation();
        const std::map<QString, std::function<void()>> ways{
            {"BtCalibrationStop", [&] { cal()->BtCalibrationStop->click(); }},
            {"BtCalibrationSet", [&] { cal()->BtCalibrationSet_Click(); }},
            {"Moniteur", [&] { nav.Moniteur_Click(); }},
            {"BtMap", [&] { nav.BtMap_Click(); }},
            {"Connection", [&] { nav.Connection_Click(); }},
            {"close",
             [&] {
                 // The ECU answers each write while the window waits for it.
                 QTimer acks;
                 QObject::connect(&acks, &QTimer::timeout, this, [this] {
                     if (!port->written.isEmpty() && port->written.last().startsWith("@W"))
                         port->feed(ackFrame());
                 });
                 acks.start(50);
                 QVERIFY(window->close());
             }},
            {"restart", [&] {
                 cal()->BtStCalibration->click();
                 RefreshScreens(window->app());
                 RefreshScreens(window->app());
                 QCOMPARE(acknowledgeWrites(2), zero);
                 cal()->BtCalibrationStop->click();
             }}};
        ways.at(way)();
        QVERIFY(!window->app().CalibrationRunning);
        QCOMPARE(dialogs.texts(), texts);
        QCOMPARE(acknowledgeWrites(2), writes);
        if (way == QLatin1String("close"))
            return;
        // No step after the way out: further refreshes write nothing.
        RefreshScreens(window->app());
        QCOMPARE(acknowledgeWrites(2), QByteArrayList{});
        // The parameters page shows them again at once: its next upload keeps them.
        QCOMPARE(
            window->screens().mainParametersPage->findChild<QLineEdit *>("DelayComText")->text(),
            QStringLiteral("2"));
        QCOMPARE(link->image.at(0x807), 2);
        QCOMPARE(link->image.at(0xA41), 1);
    }

    void closeRefusedKeepsTheCalibration() {
        dialogs.answers = {false};
        startAndZero();
        QVERIFY(!window->close());
        QVERIFY(window->app().CalibrationRunning);
        QCOMPARE(acknowledgeWrites(2), QByteArrayList{});
    }

    // The ECU never sees the write-back (silent, or the adapter pulled): the
    // fitter is told what it holds and what to write back.
    void leftChangedNamesTheValues_data() {
        columns<QString>("fault");
        row("silent on Stop", QString("silent"));
        row("unplugged while sampling", QString("unplug"));
        row("silent while closing", QString("close"));
    }

    void leftChangedNamesTheValues() {
        const auto [fault] = fetch<QString>("fault");
        const QString left = QStringLiteral(
            "The ECU was left with its switch-over delay and mode at 0; write back delay 2 and "
            "mode 1 once it answers (Calibration, Start Calibration idle, then Stop) or load the "
            "restore point");
        startAndZero();
        if (fault == QLatin1String("silent")) {
            cal()->BtCalibrationStop->click();
            QTRY_COMPARE_WITH_TIMEOUT(dialogs.texts(), QStringList{left}, 15000);
        } else if (fault == QLatin1String("unplug")) {
            port->unplug();
            RefreshScreens(window->app());
            QVERIFY(dialogs.texts().contains(left));
        } else {
            dialogs.answers = {true, true};
            QVERIFY(window->close()); // after the bounded wait, closing anyway
            QVERIFY(dialogs.texts().contains(left + QStringLiteral("\n\nClose anyway?")));
            return;
        }
        QVERIFY(cal()->BtStCalibration->isEnabled());
        // The image holds the ECU's own values, so no other upload stores the zeros.
        QCOMPARE(link->image.at(0x807), 2);
        QCOMPARE(link->image.at(0xA41), 1);
    }
};

QTEST_MAIN(TestCalibrationScreens)
#include "tst_calibration_screens.moc"
