// The calibration's numbers: phase limits, samples, the finish formulas, and
// the step machine driven step by step with chosen inputs.
#include "pages/data_table.h"
#include "support/fake_link.h"
#include "support/frame_helpers.h"
#include "tuning/calibration_sequence.h"

#include <QSignalSpy>
#include <QTest>

using namespace calibration;
using Steps = std::array<double, 4>;
using Limits = std::array<int, 4>;
Q_DECLARE_METATYPE(calibration::Measured)

class TestCalibrationSequence : public QObject, FakeLink {
    Q_OBJECT
    std::unique_ptr<Sequence> seq; // goes before the link it uses
    bool running = false;
    Settings settings;

    Inputs inputs(double water, double bank1, double bank2 = 0) const {
        return {settings, water, {bank1, bank2}, {1.2, 1.1}, {0.4, 0.5}};
    }
    // Steps until the end, gas reported once asked for.
    void runToEnd(const Inputs &in) {
        for (int calls = 0; seq->running() && calls < 1000; ++calls) {
            if (seq->phase() == Phase::WaitingForGas)
                link->image.set(0x002, 3);
            seq->RunCalibrationStep(in);
        }
    }
    QString text(int index, int bank = 0) const { return seq->texts(bank)[index]; }
    // The ECU acknowledges every write of the running chain.
    void acknowledgeChain() {
        for (int acks = 0; link->chainRunning() && acks < 5; ++acks)
            port->feed(ackFrame());
        QVERIFY(!link->chainRunning());
    }

  private Q_SLOTS:
    void init() {
        seq.reset();
        QVERIFY(reset());
        running = false;
        seq = std::make_unique<Sequence>(*link, running);
        settings = Settings{};
    }

    void limitsRoundAndClamp() {
        const std::pair<Steps, Limits> rows[] = {
            {{30, 100, 30, 100}, {31, 131, 161, 261}}, // idle defaults
            {{1.5, 0, 0, 0}, {2, 2, 2, 2}},            // half goes to even, down
            {{2.5, 0, 0, 0}, {4, 4, 4, 4}},            // and up
            {{1, 0.5, 0.5, 0.5}, {2, 2, 2, 2}},        // each sum rounded before the next
            {{40000, 1, 1, 1}, {32767, 32767, 32767, 32767}},
            {{-40000, 5, 0, 0}, {-32768, -32763, -32763, -32763}},
            {{qQNaN(), 1, 1, 1}, {-32768, -32767, -32766, -32765}},
        };
        for (const auto &[steps, expected] : rows)
            QCOMPARE(phaseLimits(steps), expected);
    }

    // Exclusion 1.0: the samples, then the mean and the minimum after them.
    void meanAndMinimum() {
        const std::tuple<QList<double>, double, double> rows[] = {
            {{2.0, 3.0, 3.0}, 2.75, 2.0}, // the newest weighs half
            {{2.0, -2.0, 5.0}, 5.0, 2.0}, // a zero mean restarts it
            {{2.5, 1.0}, 1.75, 2.5},      // exactly the exclusion does not count
            {{2.5, 1.01}, 1.755, 1.01},   // just above it counts
            {{0.5, 1.0}, 0.75, 0.0},      // all excluded leaves 0
        };
        for (const auto &[samples, mean, minimum] : rows) {
            double m = 0, min = 0;
            for (double x : samples) {
                m = meanWith(m, x);
                min = minimumWith(min, x, 1.0);
            }
            QCOMPARE(m, mean);
            QCOMPARE(min, minimum);
        }
    }

    void differenceFloorsTowardsMinusInfinity() {
        QCOMPARE(difference(2.5, 2.25), 0.25);
        QCOMPARE(difference(2.245, 2.25), -0.01); // floor of -0.5 hundredths
        QCOMPARE(difference(2.255, 2.25), 0.0);   // and of +0.5
    }

    void finishFormulas_data() {
        // expected: TIGR1..4, App1, App2, CCHP1, RCHP1; failed: load minimum under idle + 1 ms
        columns<Measured, QString, bool>("load", "expected", "failed");
        // Idle 2.0, 2.5, 2.25, 2.6, 0.25, 0.1; K 1.2, R 0.4, live terms 0.1 and 0.05: S = 1.35.
        row("idle only: no load line", Measured{}, "3.35 3.875 0.4 0.4 0.65 0.5 1.325 0.4", true);
        // The intercept is computed from the slope's 15-digit text, not the exact slope.
        row("both kinds: the straight line; load minimum 0.9 ms above",
            Measured{2.9, 5.0, 4.5, 5.5, 0.5, 0.5},
            "3.35 3.875 4.815 7.65 0.65 0.5 1.28333333333333 0.48333333333335", true);
        row("load mean on the idle minimum keeps the slope text; minimum 1 ms above",
            Measured{3.0, 2.0, 4.5, 4.5, 0.5, 0.5}, "3.35 3.875 4.95 3.6 0.65 0.5 -0.15 3.6",
            false);
    }
    void finishFormulas() {
        const auto [load, expected, failed] =
            fetch<Measured, QString, bool>("load", "expected", "failed");
        const Measured idle{2.0, 2.5, 2.25, 2.6, 0.25, 0.1};
        BankTexts t = initialTexts();
        writeResults(t, idle, load, 1.2, 0.4, 0.1, 0.05);
        const QStringList got{t[TxTIGR1], t[TxTIGR2], t[TxTIGR3], t[TxTIGR4],
                              t[TxApp1],  t[TxApp2],  t[TxCCHP1], t[TxRCHP1]};
        QCOMPARE(got.join(u' '), expected);
        QCOMPARE(acquisitionFailed(t), failed);
    }

    void startNeedsAHotterVaporiser() {
        QSignalSpy action(seq.get(), &Sequence::actionChanged);
        seq->start(Kind::Idle);
        seq->RunCalibrationStep(inputs(40, 2.0)); // equal is not hotter
        QCOMPARE(seq->step(), 0);
        QVERIFY(port->written.isEmpty());
        seq->RunCalibrationStep(inputs(40.5, 2.0));
        QCOMPARE(seq->step(), 2);
        QCOMPARE(port->written, QByteArrayList{"@F0081E\r"}); // petrol first
        QCOMPARE(action.last().at(0).toString(), QStringLiteral(" Waiting Stabilisation "));
    }

    // Settings 1,2,1,2: L1 2, L2 4, L3 5, L4 7. Call 1 starts, calls 2-3 sample
    // petrol, call 3 asks for gas, calls 4 (gas reported) and 5 sample gas.
    void samplesFollowThePhases() {
        const double x[] = {9.0, 3.0, 3.0, 2.0, 3.0}; // bank 1 in calls 1..5
        settings.idleSteps = {1, 2, 1, 2};
        seq->start(Kind::Idle);
        for (int call = 0; call < 5; ++call) {
            if (call == 3)
                link->image.set(0x002, 3);
            seq->RunCalibrationStep(inputs(80, x[call]));
        }
        QVERIFY(!seq->running());
        QCOMPARE(seq->step(), 7);
        const Measured &m = seq->measured(Kind::Idle, 0);
        QCOMPARE(
            (QList<double>{m.petrolMin, m.petrolMean, m.gasMin, m.gasMean, m.diffMin, m.diffMean}),
            (QList<double>{3.0, 3.0, 2.0, 2.5, -1.0, -0.5})); // gas below petrol
    }

    void loadKeepsTheLastIdleResults() {
        settings.idleSteps = settings.loadSteps = {1, 2, 1, 2};
        seq->start(Kind::Idle);
        runToEnd(inputs(80, 2.0, 2.2));
        link->image.set(0x002, 0);
        seq->start(Kind::Load);
        runToEnd(inputs(80, 4.0, 4.4));
        QCOMPARE(text(TxMoyenEC, 1), QStringLiteral("4.4"));
        // The line through (2, 2 x 1.2 + 0.4) and (4, 4 x 1.2 + 0.4), no live terms.
        QCOMPARE(text(TxCCHP1) + ' ' + text(TxRCHP1), QStringLiteral("1.2 0.4"));
        // A new idle calibration clears the load results again.
        link->image.set(0x002, 0);
        seq->start(Kind::Idle);
        runToEnd(inputs(80, 2.0, 2.2));
        QCOMPARE(text(TxMoyenEC), QStringLiteral("0"));
    }

    void restoreWritesBackOnlyWhatWasSaved_data() {
        columns<int, ChainStep, QList<int>>("calls", "step", "bytes"); // 0x807 and 0xA41
        row("first step, nothing saved yet", 1, ChainStep::Rest, QList{9, 9});
        row("switch-over zeroed", 2, ChainStep::SwitchOverMode, QList{2, 3}); // 0x807 on its way
    }
    void restoreWritesBackOnlyWhatWasSaved() {
        const auto [calls, step, bytes] =
            fetch<int, ChainStep, QList<int>>("calls", "step", "bytes");
        link->image.set(0x807, 2);
        link->image.set(0xA41, 3);
        seq->start(Kind::Idle);
        for (int i = 0; i < calls; ++i)
            seq->RunCalibrationStep(inputs(80, 2.0));
        acknowledgeChain();
        // Something else changed the bytes meanwhile: only a save puts them back.
        link->image.set(0x807, 9);
        link->image.set(0xA41, 9);
        seq->stop();
        QCOMPARE(link->state.UploadStep, step);
        QCOMPARE((QList<int>{link->image.at(0x807), link->image.at(0xA41)}), bytes);
        QVERIFY(!running && link->poll.isOn());
        // A second restore has nothing left to write.
        acknowledgeChain();
        seq->RestoreSwitchSettings();
        QCOMPARE(link->state.UploadStep, ChainStep::Rest);
    }
};

QTEST_GUILESS_MAIN(TestCalibrationSequence)
#include "tst_calibration_sequence.moc"
