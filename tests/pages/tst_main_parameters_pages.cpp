// The main parameters and level sensor pages: the coding of every field, the
// validation, the step buttons, the writes and what follows them, the level
// readings and lamps, and the chain of parameter pages.
#include "pages/tst_pages_fixture.h"
#include "settings/level_percent.h"
#include "settings/main_parameters_codec.h"
#include "transfer/transfer_form.h"
#include "ui/shape.h"

using Bytes = QList<std::pair<int, int>>;
Q_DECLARE_METATYPE(Bytes)

namespace {
// The poll frame of another screen, before a page is turned.
const QByteArray EarlierPoll("@R0003489\r");

// The lamps top to bottom as letters: G/g a green lamp on/off, R/r the red one.
QString lampLetters(std::initializer_list<Shape *> lamps) {
    using namespace level::lamp;
    const QList<int> known = {GreenOn, GreenOff, RedOn, RedOff};
    QString out;
    for (Shape *lamp : lamps)
        out += QStringLiteral("?GgRr").at(known.indexOf(lamp->fillColor()) + 1);
    return out;
}
} // namespace

class TestMainParametersPages : public QObject {
    Q_OBJECT
    std::unique_ptr<PagesWindow> w;
    MainParametersPage &main() { return *w->screens().mainParametersPage; }
    LevelPage &level() { return *w->screens().levelPage; }
    QString levelTexts() {
        const sensorfile::Settings texts = level().settingTexts();
        return QStringList(texts.begin(), texts.end()).join(u' ');
    }

  private Q_SLOTS:
    void init() { w = std::make_unique<PagesWindow>(); }
    void cleanup() { w.reset(); }

    void fieldsRoundTrip_data() {
        columns<QString, int, Bytes>("texts", "injection", "bytes"); // texts: "field=text ..."
        row("whole bytes", "TemperatureText=35 CoPressionText=120 DelayComText=7 TxTank=100", 1,
            Bytes{{0x803, 35}, {0x806, 120}, {0x807, 7}, {0xA45, 100}});
        row("pressure -0.5, cut off", "PressionText=-0.5 TxCutOff=200", 1,
            Bytes{{0x804, 0xFF}, {0x805, 206}, {0xA46, 200}});
        row("pressure 2.5, overlapping in 5 ms", "PressionText=2.5 DelaySupText=1000", 1,
            Bytes{{0x804, 0}, {0x805, 250}, {0x808, 200}});
        row("alarms", "ALTemperatureText=-20 ALPressionText=0.4", 1,
            Bytes{{0x809, 236}, {0x80A, 0}, {0x80B, 40}});
        row("rpm full group", "RPMText=3000", 1, Bytes{{0xA42, 11}, {0xA43, 184}});
    }

    // Typed, encoded, decoded back into emptied fields.
    void fieldsRoundTrip() {
        const auto [texts, injection, bytes] =
            fetch<QString, int, Bytes>("texts", "injection", "bytes");
        main().refreshFromImage();
        PagesWindow::pick(main().ComboInjection, injection);
        const QStringList typed = texts.split(u' ');
        auto edit = [&](const QString &t) {
            return child<NumericEdit>(main(), t.section(u'=', 0, 0));
        };
        for (const QString &t : typed)
            edit(t)->setText(t.section(u'=', 1));
        main().encodeInto(w->image());
        for (const auto &[address, value] : bytes)
            QCOMPARE(int(w->image().at(address)), value);
        for (const QString &t : typed)
            edit(t)->setText(QStringLiteral("1"));
        main().refreshFromImage();
        for (const QString &t : typed)
            QCOMPARE(edit(t)->text(), t.section(u'=', 1));
    }

    // The speed's coding reads the injection type stored in the same pass;
    // what a byte cannot hold is clamped; 0xA44 (the monitor's) stays.
    // Speed 2551 halves to 1275.5, half to even; pressure -0.001 would round to 256.
    void codecOrderAndClamps() {
        using namespace mainparams;
        MemoryImage image;
        image.set(ecu::field::InjectionType.address, 1);
        encode({.temperature = 300,
                .pressure = -0.001,
                .switchSpeed = 2551,
                .cutOff = -4,
                .injectionType = Sequential},
               image);
        QCOMPARE((QList<int>{image.u16(ecu::field::SwitchSpeed.address),
                             image.at(ecu::field::SwitchTemperature.address),
                             image.at(ecu::field::CutOff.address),
                             image.at(ecu::field::SwitchPressure.address + 1), image.at(0xA44)}),
                 (QList<int>{1276, 255, 0, 255, 0}));
    }

    void fieldRules_data() {
        columns<QString, QString, QString>("field", "input", "shown");
        // Per field "typed>shown, ...", a step button pressed after the text typed.
        const std::pair<const char *, const char *> fields[] = {
            {"TemperatureText", "150>100, 100 BtTemp2>100"},
            {"PressionText", "3>2.5, -2>-1, 1.234>1.23, -0.555>-0.55, 0 BtPression1>-0.01"},
            {"DelayComText", "121>120, 119 BtDelayCom2>120"},
            {"DelaySupText", "12>10, 1012>1000, 995 BtDelaySup2>1000"},
            {"ALTemperatureText", "101>100, -21>-20, -20 BtALTemp1>-20"},
            {"ALPressionText", "3>2.5, .1234>.1234, 0 BtALPression1>0"},
            {"CoPressionText", "200>120, 1 BtDelayPress1>0"},
            {"RPMText", "7000>6000, 0 BTRPM1>0, 5990 BTRPM2>6000"},
            {"TxCutOff", "300>255, 255 BtCut2>255"},
            {"TxTank", ">, 0 BtTank1>0"},
            {"TxNiveauMin", "0>0, -3>1"},
            {"TxNiveauPWM", "-1>0, 256>255"},
            {"TxNiveau4", "101>100"},
        };
        for (const auto &[field, cases] : fields)
            for (const QString &c : QString::fromLatin1(cases).split(QStringLiteral(", ")))
                row(qPrintable(field + (u' ' + c)), QString(field), c.section(u'>', 0, 0),
                    c.section(u'>', 1));
    }

    // Typed, a field is held to its range at once and nothing is sent; every
    // step press clamps through the validation and writes the page.
    void fieldRules() {
        const auto [field, input, shown] =
            fetch<QString, QString, QString>("field", "input", "shown");
        main().refreshFromImage();
        NumericEdit *edit = main().findChild<NumericEdit *>(field);
        if (!edit)
            edit = child<NumericEdit>(level(), field);
        const QStringList words = input.split(u' ');
        edit->setText(QStringLiteral("1")); // a change even for an empty text
        edit->setText(words[0]);
        if (words.size() > 1)
            QTest::mouseClick(child<QPushButton>(main(), words[1]), Qt::LeftButton);
        QCOMPARE(edit->text(), shown);
        const QByteArrayList write{w->writeOf(frames::WriteMainParameters)};
        QCOMPARE(w->port.written, words.size() > 1 ? write : QByteArrayList());
        QCOMPARE(w->link.state.UploadStep,
                 words.size() > 1 ? ChainStep::SwitchOverBlock : ChainStep::Rest);
    }

    void reset() {
        w->dialogs.answers = {false, true};
        QTest::mouseClick(main().Btreset, Qt::LeftButton);
        QVERIFY(w->port.written.isEmpty() && !w->link.state.FullReadActive);
        QTest::mouseClick(main().Btreset, Qt::LeftButton);
        QCOMPARE(w->dialogs.texts(), QStringList(2, " RESET ECU ? "));
        QCOMPARE(w->port.written, QByteArrayList({"@F0091F\r", w->link.blocks[0] + '\r'}));
        QVERIFY(w->link.state.FullReadActive);
    }

    // A pick stores its byte at once and sends nothing; a lambda pick also
    // refreshes the screens. Lambda 0x80C, injection 0x80D, switch-over 0xA41.
    void choiceLists() {
        main().refreshFromImage();
        PagesWindow::pick(main().ComboCommutation, 2);
        PagesWindow::pick(main().ComboInjection, 1);
        w->image().set(0x803, 44);
        PagesWindow::pick(main().ComboLambda, 3);
        QCOMPARE(w->at({0x80C, 0x80D, 0xA41}), (QList<int>{3, 1, 2}));
        QCOMPARE(main().TemperatureText->text(), QStringLiteral("44"));
        QVERIFY(w->port.written.isEmpty());
        // A byte beyond its list selects nothing, and the upload keeps it.
        w->set({{0x80C, 9}, {0x80D, 3}, {0xA41, 200}});
        main().refreshFromImage();
        for (QComboBox *combo :
             {main().ComboLambda, main().ComboInjection, main().ComboCommutation})
            QCOMPARE(combo->currentIndex(), -1);
        main().encodeInto(w->image());
        QCOMPARE(w->at({0x80C, 0x80D, 0xA41}), (QList<int>{9, 3, 200}));
    }

    void levelPresets_data() {
        columns<QString, QString, QString>("button", "texts", "data");
        row("0 - 90 ohm AEB", "Predef2", "100 1 190 7 15 30 60", "6401BE070F1E3C");
        row("10 - 50 ohm AEB", "Predef3", "255 0 255 20 40 55 75", "FF00FF1428374B");
    }

    // A preset only fills the fields; Enter writes them, nothing follows, and
    // a refresh shows them back.
    void levelPresets() {
        const auto [button, texts, data] =
            fetch<QString, QString, QString>("button", "texts", "data");
        QTest::mouseClick(child<QPushButton>(level(), button), Qt::LeftButton);
        QCOMPARE(levelTexts(), texts);
        QTest::keyClick(level().TxNiveau1, Qt::Key_Return);
        const QByteArray frame = frames::sealed("@WA3A07" + data.toLatin1()) + '\r';
        w->acknowledge(); // nothing follows
        QCOMPARE(w->port.written, QByteArrayList{frame});
        // While the level is polled a refresh shows the readings only: the
        // fitter may be editing the settings.
        level().setSettingTexts({});
        w->image().set(level::addr::Immediate, 120);
        w->link.poll.start();
        level().refreshFromImage();
        QCOMPARE(levelTexts(), QStringLiteral("      "));
        QCOMPARE(level().TxNiveauImediat->text(), QStringLiteral("120"));
        w->link.poll.stop();
        level().refreshFromImage();
        QCOMPARE(levelTexts(), texts);
    }

    void levelReadings_data() {
        // percent "-": none, the field keeps its text; lamps for thresholds 7, 30, 50, 83
        columns<int, int, int, QString, QString>("minimum", "maximum", "reading", "percent",
                                                 "lamps");
        row("falling, beyond the maximum", 200, 100, 80, "-20", "ggggR");
        row("at 1/4", 200, 100, 107, "7", "gggGR");
        row("above 1/4", 200, 100, 108, "8", "gggGr");
        row("at full", 200, 100, 183, "83", "GGGGr");
        row("rising, at the minimum shows 0", 50, 200, 50, "0", "ggggR");
        row("rising, one above the minimum", 50, 200, 51, "99.3333333333333", "GGGGr");
        row("empty range at its end", 90, 90, 90, "0", "ggggR");
        row("empty range elsewhere", 90, 90, 100, "-", "ggggR");
    }

    // The range from the fields, its direction and the thresholds from the
    // image; the lamps follow the immediate reading.
    void levelReadings() {
        const auto [minimum, maximum, reading, percent, lamps] =
            fetch<int, int, int, QString, QString>("minimum", "maximum", "reading", "percent",
                                                   "lamps");
        const int settings[] = {100, minimum, maximum, 7, 30, 50, 83};
        for (int i = 0; i < 7; ++i)
            w->image().set(level::addr::RangeCorrection + i, static_cast<quint8>(settings[i]));
        w->set({{level::addr::Immediate, reading}, {level::addr::Average, minimum}});
        level().TxNiveau100->setText(QStringLiteral("-"));
        level().refreshFromImage();
        QCOMPARE(level().TxNiveau100->text().replace(u',', u'.'), percent);
        // The average at the minimum: full when falling, 0 at the reference.
        QCOMPARE(level().TxNiveau100_2->text(), minimum > maximum ? "100" : "0");
        LevelPage &l = level();
        QCOMPARE(lampLetters({l.led1, l.led2, l.led3, l.led4, l.led5}), lamps);
    }

    void chain_data() {
        columns<int, QString, bool, int, int, QByteArray, bool>(
            "from", "button", "pollingBefore", "shown", "currentPage", "pollFrame", "pollingAfter");
        const QByteArray old = EarlierPoll, monitor = frames::MonitorPoll.toByteArray(),
                         live = frames::SecondLivePoll.toByteArray();
        row("main next, polling kept", 0, "BtChangePage", true, 1, 1, monitor, true);
        row("level back", 1, "BtPagePreced", true, 0, 0, old, false);
        row("level next", 1, "BtPageSuivante", true, 2, 2, old, false);
        row("tables back", 2, "BtPagePreced", false, 1, 1, monitor, false);
        row("tables next", 2, "BtPageSuivante", false, 4, 4, live, true);
        row("ntc back", 3, "BtPagePreced", true, 2, 3, old, false);
        row("ntc next", 3, "BtPageSuivante", false, 4, 4, live, true);
        row("battery back", 4, "BtPagePreced", true, 2, 3, old, false);
    }

    // Turning a page enables the watchdog, records the page the menu reopens,
    // sets the poll, shows only the target and sends nothing.
    void chain() {
        const auto [from, button, pollingBefore, shown] =
            fetch<int, QString, bool, int>("from", "button", "pollingBefore", "shown");
        Screens &s = w->screens();
        s.parameterPage(from)->showForm();
        w->link.poll.setFrame(EarlierPoll);
        pollingBefore ? w->link.poll.start() : w->link.poll.stop();
        w->link.poll.stopWatchdog();
        child<QPushButton>(*s.parameterPage(from), button)->click();
        QTEST(w->app().CurrentPage, "currentPage");
        QTEST(w->link.poll.frame(), "pollFrame");
        QTEST(w->link.poll.isOn(), "pollingAfter");
        QVERIFY(w->link.poll.watchdogActive());
        for (int p = 0; p <= 4; ++p)
            QCOMPARE(s.parameterPage(p)->isShown(), p == shown);
        QVERIFY(w->port.written.isEmpty());
    }

    void readButtons_data() {
        columns<QString, bool>("page", "pauses");
        row("main", "FnParametres", false);
        row("level", "FnParametres2", true);
        row("coefficients", "FnParametres3", false);
        row("battery", "FnParametres5", true);
    }

    // ECU -> PC reads the whole memory; the pages with live readings pause
    // the poll until the read is done, when the watchdog runs again; the
    // pages show what was read.
    void readButtons() {
        const auto [page, pauses] = fetch<QString, bool>("page", "pauses");
        w->link.poll.start();
        w->link.poll.startWatchdog();
        child<QPushButton>(*child<Form>(w->window, page), QStringLiteral("BoutonPC"))->click();
        QCOMPARE(w->port.written, QByteArrayList{w->link.blocks[0] + '\r'});
        QCOMPARE(w->link.poll.isOn(), !pauses);
        QCOMPARE(w->link.poll.watchdogActive(), !pauses);
        for (int i = 0; i < BlockCount && w->link.state.FullReadActive; ++i) {
            QByteArrayList asked = std::exchange(w->port.written, {});
            asked.removeAll(w->link.poll.frame());
            const BlockRange r = blockRange(asked.last().chopped(1));
            w->port.feed(filledFrame(r.address, r.count, 0xEC));
        }
        QVERIFY(!w->link.state.FullReadActive && w->link.poll.watchdogActive());
        NtcPage &ntc = *w->screens().ntcPage;
        QCOMPARE(texts(ntc.TxTbEau.at(17), ntc.TxTbGaz.at(0)), QStringList({"-20", "-20"}));
    }
};

QTEST_MAIN(TestMainParametersPages)
#include "tst_main_parameters_pages.moc"
