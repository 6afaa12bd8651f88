// The monitor screen in the main window, on an in-memory line.
#include "monitor/needle_gauge.h"
#include "pages/tst_pages_fixture.h"
#include "presentation/refresh.h"
#include "support/fake_link.h"
#include "ui/readout_widgets.h"
#include "ui/status_strip.h"

#include <QGraphicsEffect>
#include <QHash>
#include <QLabel>

namespace {
// Steps of a row besides "address, value": refresh the screens, toggle the
// blink colour, press the pressure memory's reset, switch polling on.
enum Step { Refresh = -1, Blink = -2, ResetMemory = -3, Polling = -4 };

// Whether a widget is drawn faded: it or a panel around it carries an effect.
bool faded(const QWidget *widget) {
    for (; widget; widget = widget->parentWidget()) {
        if (widget->graphicsEffect())
            return true;
    }
    return false;
}

QString colourName(int bgr) {
    static const QHash<int, QString> names{
        {0, "black"}, {192, "dark red"}, {255, "red"}, {33023, "orange"}, {49152, "green"}};
    return names.value(bgr, QString::number(bgr));
}

// Steps to run, then "Name=shown|..." for what the screen must show.
void live(const char *name, const QList<int> &steps, const char *expected) {
    QTest::newRow(name) << steps << QString::fromLatin1(expected);
}
} // namespace

class TestMonitorScreen : public QObject {
    Q_OBJECT
    std::unique_ptr<PagesWindow> w; // new for every test
    MonitorScreen *m = nullptr;

    void run(const QList<int> &steps) {
        for (int i = 0; i < steps.size(); i += steps[i] < 0 ? 1 : 2) {
            if (steps[i] == Refresh)
                RefreshScreens(w->app());
            else if (steps[i] == Blink)
                m->couleurTimer_Timer();
            else if (steps[i] == ResetMemory)
                QTest::mouseClick(m->RazPrss, Qt::LeftButton);
            else if (steps[i] == Polling)
                w->link.poll.start();
            else
                w->image().set(steps[i], static_cast<quint8>(steps[i + 1]));
        }
        RefreshScreens(w->app());
    }

  private Q_SLOTS:
    void init() {
        w = std::make_unique<PagesWindow>();
        m = w->screens().monitorScreen;
        // Alarm at 20 C and 0.5 bar, switch-over at 35 C and 0.8 bar, read by
        // the monitor from the main parameters page.
        run({0x809, 20, 0x803, 35, 0x80B, 50, 0x805, 80});
    }
    void cleanup() { w.reset(); }

    void showsLiveData_data() {
        columns<QList<int>, QString>("steps", "expected");
        live("water 200 is -56, pressure 0.3: below the alarms", {0x02C, 200, 0x02F, 30},
             "TxTmp=-56|Pictemp=0|BarTPEau=0|BarTPEau.colour=red|TxPrss=0.3|BarPression=1105|"
             "BarPression.colour=red");
        live("at the alarm levels", {0x02C, 20, 0x02F, 50},
             "BarTPEau=880|BarTPEau.colour=orange|PicPress=50|BarPression.colour=orange");
        live("at the switch-over levels", {0x02C, 35, 0x02F, 80},
             "BarTPEau.colour=green|BarPression.colour=green");
        live("water 127, gas 128 is -128", {0x02C, 127, 0x02D, 128}, "Pictemp=127|BarTPGaz=0");
        live("pressure 1050 is over the dial", {0x02E, 0x04, 0x02F, 0x1A},
             "TxPrss=0|PicPress=0|BarPression=9775");
        live("injection times, first and last cylinders",
             {0x00C, 0x0F, 0x00D, 0xA0, 0x01A, 1, 0x01B, 0, 0x01C, 0x0F, 0x01D, 0xA0, 0x02A, 0,
              0x02B, 40},
             "txZoom=10.21|BarE1=848|TextE8=0.65|BarE8=54|BarG1=848|BarG8=9");
        live("speed 1500 sequential", {0x80D, 0, 0x008, 0x05, 0x009, 0xDC},
             "TxRPM=3000|BarRPM=1500|PicRPM=66");
        live("speed 1500 full group", {0x80D, 1, 0x008, 0x05, 0x009, 0xDC},
             "TxRPM=1500|BarRPM=750|PicRPM=33");
        live("lambda 0-1 V, 0.5 V is rich", {0x80C, 0, 0x031, 100},
             "BarLambda=2500|BarLambda.colour=red|LambaType1=   0 |LambaType2=1V    ");
        live("lambda 0.8-1.6 V, 1.2 V", {0x80C, 1, 0x030, 0, 0x031, 240},
             "BarLambda=2000|BarLambda.colour=green|LambaType1= 0.8 |LambaType2=1.6 V ");
        live("lambda 0-5 V, 2340 twips is not yet rich", {0x80C, 2, 0x030, 0x01, 0x031, 0xD4},
             "BarLambda=2340|BarLambda.colour=green");
        live("unknown fuel state leaves the text", {0x002, 1, Refresh, 0x002, 2},
             "TextGazEtat=Gas Waiting");
        live("firmware, petrol", {0x000, 15, 0x002, 0},
             "Label12=ECM fireware :15|TextGazEtat=Gasoline");
        live("pressure and start-on-gas alarms", {0x003, 4 | 128},
             "TxAlarmePress=black|TxAlarmeTmp=green|TxAldemarage=dark red");
        live("temperature alarm blinks", {0x003, 2, Refresh, Blink},
             "TxAlarmeTmp=dark red|TxAlarmePress=green|TxAldemarage=green");
        live(
            "pressure memory",
            {0x02F, 120, Refresh, ResetMemory, 0x02F, 150, Refresh, 0x02F, 90, Refresh, 0x02F, 130},
            "TxLPress=0.9|TxHPress=1.5");
        live("trims and extra time", {0x801, 125, 0x802, 255, 0x839, 80, 0x83A, 21, 0xA44, 100},
             "TxCharge=1.25|TxRalenti=5.1|TxChargeB=0.8|TxRalentiB=0.42|TxTIExclu=100|TxExclu2=4."
             "096");
        live("trims left alone while polling",
             {0x801, 125, 0xA44, 100, Refresh, Polling, 0x801, 10, 0xA44, 7, 0x008, 3},
             "TxCharge=1.25|TxTIExclu=100|TextRPM=1536");
    }

    // A bar's width (with ".colour" its fill), a dial's input, a lamp's colour, a text.
    void showsLiveData() {
        const auto [steps, expected] = fetch<QList<int>, QString>("steps", "expected");
        run(steps);
        QStringList shown;
        for (const QString &e : expected.split(u'|')) {
            const QString key = e.section(u'=', 0, 0);
            QObject *o = m->findChild<QObject *>(key.section(u'.', 0, 0));
            QString value = QStringLiteral("<missing>");
            if (auto *bar = qobject_cast<LevelBar *>(o))
                value = key.endsWith(QLatin1String(".colour")) ? colourName(bar->fillColor())
                                                               : QString::number(bar->widthTwips());
            else if (auto *dial = qobject_cast<NeedleGauge *>(o))
                value = QString::number(dial->value());
            else if (auto *lamp = qobject_cast<AlarmLamp *>(o))
                value = colourName(lamp->backColor());
            else if (o)
                value = o->property("text").toString();
            shown << key + u'=' + value;
        }
        QCOMPARE(shown.join(u'|'), expected);
    }

    void trimsAreValidated_data() {
        // Keys typed or step buttons pressed, the text kept, the extra time in ms.
        columns<QString, QString, QString, QString>("field", "input", "kept", "ms");
        const auto trim = [](const char *field, const char *input, const char *kept,
                             const char *ms) { row(input, QString(field), input, kept, ms); };
        trim("TxCharge", "2.56", "2.55", "0");
        trim("TxChargeB", ".1a,2-", ".12", "0");
        trim("TxRalentiB", "5.12", "5.10", "0");
        trim("TxTIExclu", "300", "255", "10.444");
        trim("TxRalenti", "0.4 BtRalenti1", "0.38", "0");
        trim("TxTIExclu", "21 BtExclu1", "20", "0.819");
        trim("TxTIExclu", "20 BtExclu2", "21", "0.86");
    }

    // Typed or stepped, a trim is validated at once; a step never writes.
    void trimsAreValidated() {
        const auto [field, input, kept, ms] =
            fetch<QString, QString, QString, QString>("field", "input", "kept", "ms");
        auto *edit = m->findChild<NumericEdit *>(field);
        edit->clear();
        for (const QString &word : input.split(QLatin1Char(' '))) {
            if (auto *step = m->findChild<QPushButton *>(word))
                QTest::mouseClick(step, Qt::LeftButton);
            else
                QTest::keyClicks(edit, word);
        }
        QCOMPARE(edit->text(), kept);
        QCOMPARE(m->TxExclu2->text(), ms);
        QVERIFY(w->port.written.isEmpty());
    }

    void writeChains_data() {
        // A write button, or the field Enter is pressed in.
        columns<QString, int, int, QByteArrayList>("trigger", "firmware", "bank2Stored", "frames");
        const auto written = [](const char *text) { return frames::sealed(text) + '\r'; };
        const QByteArrayList bank1{written("@WA44010C"), written("@W801021D19")};
        const QByteArrayList both = QByteArrayList{written("@W839025032")} + bank1;
        row("BoutonCentrale: extra time, then bank 1", "BoutonCentrale", 12, 0, bank1);
        row("BoutonCentraleB: bank 2 first", "BoutonCentraleB", 12, 80, both);
        row("firmware 15 stores bank 2", "BoutonCentrale", 15, 80, bank1);
        row("Enter in a trim writes both banks", "TxRalentiB", 12, 80, both);
        row("Enter in the extra time writes bank 1", "TxTIExclu", 12, 0, bank1);
    }

    void writeChains() {
        const auto [trigger, firmware, bank2Stored, frames] =
            fetch<QString, int, int, QByteArrayList>("trigger", "firmware", "bank2Stored",
                                                     "frames");
        w->image().set(0x000, static_cast<quint8>(firmware));
        w->window.navigation().Moniteur_Click();
        typeInto({{m->TxCharge, "0.29"}, {m->TxRalenti, "0.5"}, {m->TxChargeB, "0.8"}});
        typeInto({{m->TxTIExclu, "12.5"}, {m->TxRalentiB, "1"}}); // 12.5: half to the even 12
        w->port.written.clear();
        if (auto *button = m->findChild<QPushButton *>(trigger))
            QTest::mouseClick(button, Qt::LeftButton);
        else
            QTest::keyClick(m->findChild<NumericEdit *>(trigger), Qt::Key_Return);
        QVERIFY(!w->link.poll.isOn() && !w->link.poll.watchdogActive());
        QCOMPARE(int(w->link.image.at(0x839)), bank2Stored);
        // The chain's first write goes out at once, behind the poll in flight;
        // the poll's answer neither polls again nor moves the chain on.
        answerRead(w->link, w->port, filledFrame(0x000, 0x37, 0));
        for (int i = 0; i < frames.size(); ++i) {
            QCOMPARE(w->port.written, QByteArrayList{frames[i]});
            QCOMPARE(w->link.poll.watchdogActive(), i == frames.size() - 1);
            w->port.written.clear();
            w->port.feed(ackFrame());
        }
        QVERIFY(w->port.written.isEmpty());
        QCOMPARE(m->TxTIExclu->text(), QStringLiteral("12")); // refreshed from what was written
    }

    void alarmResetAndFuelSwitch_data() {
        columns<QString, int, QByteArray>("button", "fuelState", "frame");
        row("reset alarms", "BtResetAlarme", 0, QByteArray("@F00016\r"));
        row("petrol asks for gas", "SwitchCommutateur", 0, QByteArray("@F0071D\r"));
        row("gas goes back", "SwitchCommutateur", 3, QByteArray("@F0081E\r"));
    }

    void alarmResetAndFuelSwitch() {
        const auto [button, fuelState, frame] =
            fetch<QString, int, QByteArray>("button", "fuelState", "frame");
        w->image().set(0x002, static_cast<quint8>(fuelState));
        QTest::mouseClick(m->findChild<QPushButton *>(button), Qt::LeftButton);
        QCOMPARE(w->port.written, QByteArrayList{frame});
    }

    void watchdogPollsOnTheThirdQuietTick() {
        const auto ticks = [this](int n) {
            while (n--)
                w->link.poll.watchdogTick();
        };
        ticks(2);
        w->port.feed(ackFrame()); // any received character clears the count
        ticks(2);
        QVERIFY(w->port.written.isEmpty());
        ticks(1);
        QCOMPARE(w->port.written, QByteArrayList{QByteArray("@R000378C\r")});
        QCOMPARE(w->window.etat().BarreEtat->text(), QStringLiteral("No Dialogue on COM1"));
        w->port.written.clear();
        // A closed port: the count goes on, nothing is sent.
        w->link.ClosePort();
        w->link.poll.stop();
        ticks(3);
        QVERIFY(w->port.written.isEmpty() && !w->link.poll.isOn());
    }

    void silentEcuShowsStaleValues_data() {
        columns<int, bool, bool>("quietTicks", "answered", "stale");
        row("two quiet ticks", 2, false, false);
        row("silent", 3, false, true);
        row("answered after the silence", 3, true, false);
    }
    // While the ECU is silent the live values are greyed, the trims the
    // fitter edits are not; its next answer shows them live again.
    void silentEcuShowsStaleValues() {
        const auto [quietTicks, answered, stale] =
            fetch<int, bool, bool>("quietTicks", "answered", "stale");
        for (int tick = 0; tick < quietTicks; ++tick)
            w->link.poll.watchdogTick();
        if (answered)
            w->port.feed(filledFrame(0x000, 0x37, 1));
        QCOMPARE(m->liveStale(), stale);
        for (QWidget *value :
             {static_cast<QWidget *>(m->TextRPM), static_cast<QWidget *>(m->TextE[0]),
              static_cast<QWidget *>(m->TextGazEtat)})
            QCOMPARE(value->isEnabled(), !stale);
        for (QWidget *shown :
             {static_cast<QWidget *>(m->PicRPM), static_cast<QWidget *>(m->BarE[0]),
              static_cast<QWidget *>(m->TxAlarmePress), static_cast<QWidget *>(m->TextTPEau)})
            QCOMPARE(faded(shown), stale);
        QVERIFY(m->TxRalenti->isEnabled() && !faded(m->TxRalenti));
    }
};

QTEST_MAIN(TestMonitorScreen)
#include "tst_monitor_screen.moc"
