// The calibration's numbers: phase limits, samples, the finish formulas, and
// the step machine driven step by step with chosen inputs.
#include "calibration/calibration_sequence.h"
#include "link/link.h"
#include "support/fake_serial_port.h"

#include <QSignalSpy>
#include <QTest>

using namespace calibration;
using Steps = std::array<double, 4>;
using Limits = std::array<int, 4>;
Q_DECLARE_METATYPE(Steps)
Q_DECLARE_METATYPE(Limits)
Q_DECLARE_METATYPE(calibration::Measured)

class TestCalibrationSequence : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init();
    // Numbers
    void limits_data();
    void limits();
    void runningMean_data();
    void runningMean();
    void minimumWithExclusion_data();
    void minimumWithExclusion();
    void differenceFloorsTowardsMinusInfinity_data();
    void differenceFloorsTowardsMinusInfinity();
    void finishFormulas_data();
    void finishFormulas();
    void acquisitionError_data();
    void acquisitionError();
    // The step machine
    void startNeedsAHotterVaporiser_data();
    void startNeedsAHotterVaporiser();
    void defaultIdleRunTakesAHundredSamplesEach();
    void samplesFollowThePhases_data();
    void samplesFollowThePhases();
    void withoutGasTheBarStopsAtL2();
    void loadKeepsTheLastIdleResults();
    void restoreWritesBackOnlyWhatWasSaved_data();
    void restoreWritesBackOnlyWhatWasSaved();
    void impossibleLimitsNeverFailAStep();

  private:
    Inputs inputs(double water, double bank1, double bank2 = 0) const;
    // Runs steps until the calibration ends; the fuel state turns to gas
    // as soon as the switch to gas has been asked for.
    int runToEnd(const Inputs &in, int bound = 100000);

    FakeSerialPort *port = nullptr;
    Link *link = nullptr;
    Sequence *seq = nullptr;
    bool running = false;
    Settings settings;
};

void TestCalibrationSequence::init() {
    delete seq;
    delete link;
    delete port;
    port = new FakeSerialPort;
    link = new Link(port);
    QVERIFY(link->OpenPort());
    running = false;
    seq = new Sequence(*link, running);
    settings = Settings{};
}

Inputs TestCalibrationSequence::inputs(double water, double bank1, double bank2) const {
    Inputs in;
    in.settings = settings;
    in.waterTemperature = water;
    in.petrolTime = {bank1, bank2};
    in.loadTrim = {1.2, 1.1};
    in.idleTrim = {0.4, 0.5};
    return in;
}

int TestCalibrationSequence::runToEnd(const Inputs &in, int bound) {
    int steps = 0;
    while (seq->running() && steps < bound) {
        if (seq->phase() == 4)
            link->image.set(0x002, 3);
        seq->RunCalibrationStep(in);
        ++steps;
    }
    return steps;
}

void TestCalibrationSequence::limits_data() {
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<Limits>("expected");
    QTest::newRow("idle defaults") << Steps{30, 100, 30, 100} << Limits{31, 131, 161, 261};
    QTest::newRow("load defaults") << Steps{5, 15, 5, 15} << Limits{6, 21, 26, 41};
    QTest::newRow("half goes to even, down") << Steps{1.5, 0, 0, 0} << Limits{2, 2, 2, 2};
    QTest::newRow("half goes to even, up") << Steps{2.5, 0, 0, 0} << Limits{4, 4, 4, 4};
    QTest::newRow("each sum rounded before the next")
        << Steps{1, 0.5, 0.5, 0.5} << Limits{2, 2, 2, 2};
    QTest::newRow("too large clamps")
        << Steps{40000, 1, 1, 1} << Limits{32767, 32767, 32767, 32767};
    QTest::newRow("too small clamps")
        << Steps{-40000, 5, 0, 0} << Limits{-32768, -32763, -32763, -32763};
    QTest::newRow("not a number clamps")
        << Steps{qQNaN(), 1, 1, 1} << Limits{-32768, -32767, -32766, -32765};
}

void TestCalibrationSequence::limits() {
    QFETCH(Steps, steps);
    QFETCH(Limits, expected);
    QCOMPARE(phaseLimits(steps), expected);
}

void TestCalibrationSequence::runningMean_data() {
    QTest::addColumn<QList<double>>("samples");
    QTest::addColumn<double>("expected");
    QTest::newRow("first sample starts it") << QList<double>{2.0} << 2.0;
    QTest::newRow("2.0 then 3.0") << QList<double>{2.0, 3.0} << 2.5;
    QTest::newRow("2.0, 3.0, 3.0: newest weighs half") << QList<double>{2.0, 3.0, 3.0} << 2.75;
    QTest::newRow("a zero sample restarts it") << QList<double>{2.0, -2.0, 5.0} << 5.0;
}

void TestCalibrationSequence::runningMean() {
    QFETCH(QList<double>, samples);
    QFETCH(double, expected);
    double mean = 0;
    for (double x : samples)
        mean = meanWith(mean, x);
    QCOMPARE(mean, expected);
}

void TestCalibrationSequence::minimumWithExclusion_data() {
    QTest::addColumn<QList<double>>("samples");
    QTest::addColumn<double>("exclusion");
    QTest::addColumn<double>("expected");
    QTest::newRow("lowest wins") << QList<double>{2.5, 2.0, 2.2} << 1.0 << 2.0;
    QTest::newRow("exactly the exclusion does not count") << QList<double>{2.5, 1.0} << 1.0 << 2.5;
    QTest::newRow("just above it counts") << QList<double>{2.5, 1.01} << 1.0 << 1.01;
    QTest::newRow("all excluded leaves 0") << QList<double>{0.5, 1.0, 0.9} << 1.0 << 0.0;
    QTest::newRow("first counted sample starts it") << QList<double>{0.8, 3.0} << 1.0 << 3.0;
}

void TestCalibrationSequence::minimumWithExclusion() {
    QFETCH(QList<double>, samples);
    QFETCH(double, exclusion);
    QFETCH(double, expected);
    double minimum = 0;
    for (double x : samples)
        minimum = minimumWith(minimum, x, exclusion);
    QCOMPARE(minimum, expected);
}

void TestCalibrationSequence::differenceFloorsTowardsMinusInfinity_data() {
    QTest::addColumn<double>("gas");
    QTest::addColumn<double>("petrol");
    QTest::addColumn<double>("expected");
    QTest::newRow("minima 2.5 - 2.25") << 2.5 << 2.25 << 0.25;
    QTest::newRow("means 2.245 - 2.25: floor of -0.5") << 2.245 << 2.25 << -0.01;
    QTest::newRow("positive half goes down") << 2.255 << 2.25 << 0.0;
    QTest::newRow("equal") << 3.1 << 3.1 << 0.0;
}

void TestCalibrationSequence::differenceFloorsTowardsMinusInfinity() {
    QFETCH(double, gas);
    QFETCH(double, petrol);
    QFETCH(double, expected);
    QCOMPARE(difference(gas, petrol), expected);
}

void TestCalibrationSequence::finishFormulas_data() {
    QTest::addColumn<Measured>("idle");
    QTest::addColumn<Measured>("load");
    QTest::addColumn<QStringList>("expected"); // TIGR1..4, App1, App2, CCHP1, RCHP1
    // K 1.2, R 0.4, live terms 0.1 and 0.05: S = 1.35.
    QTest::newRow("idle only: no load line")
        << Measured{2.0, 2.5, 2.25, 2.6, 0.25, 0.1} << Measured{}
        << QStringList{"3.35", "3.875", "0.4", "0.4", "0.65", "0.5", "1.325", "0.4"};
    // The intercept is computed from the slope's 15-digit text, not the exact slope.
    QTest::newRow("both kinds: the straight line")
        << Measured{2.0, 2.5, 2.25, 2.6, 0.25, 0.1} << Measured{4.0, 5.0, 4.5, 5.5, 0.5, 0.5}
        << QStringList{"3.35",
                       "3.875",
                       "6.3",
                       "7.65",
                       "0.65",
                       "0.5",
                       "1.28333333333333",
                       "0.48333333333335"};
    QTest::newRow("load mean on the idle minimum keeps the slope text")
        << Measured{2.0, 2.5, 2.25, 2.6, 0.25, 0.1} << Measured{2.0, 2.0, 4.5, 4.5, 0.5, 0.5}
        << QStringList{"3.35", "3.875", "3.6", "3.6", "0.65", "0.5", "-0.15", "3.6"};
}

void TestCalibrationSequence::finishFormulas() {
    QFETCH(Measured, idle);
    QFETCH(Measured, load);
    QFETCH(QStringList, expected);
    BankTexts texts = initialTexts();
    writeResults(texts, idle, load, 1.2, 0.4, 0.1, 0.05);
    const QStringList got{texts[TxTIGR1], texts[TxTIGR2], texts[TxTIGR3], texts[TxTIGR4],
                          texts[TxApp1],  texts[TxApp2],  texts[TxCCHP1], texts[TxRCHP1]};
    QCOMPARE(got, expected);
    QCOMPARE(texts[TxMinER], QString::number(idle.petrolMin));
    QCOMPARE(texts[TxNewRalenti], QString::number(idle.diffMin));
}

void TestCalibrationSequence::acquisitionError_data() {
    QTest::addColumn<double>("loadMin");
    QTest::addColumn<double>("idleMin");
    QTest::addColumn<bool>("failed");
    QTest::newRow("2.9 over 2.0: too little load") << 2.9 << 2.0 << true;
    QTest::newRow("exactly 1 ms above") << 3.0 << 2.0 << false;
    QTest::newRow("well above") << 4.1 << 2.0 << false;
}

void TestCalibrationSequence::acquisitionError() {
    QFETCH(double, loadMin);
    QFETCH(double, idleMin);
    QFETCH(bool, failed);
    BankTexts texts = initialTexts();
    writeResults(texts, Measured{idleMin, idleMin, idleMin, idleMin, 0, 0},
                 Measured{loadMin, loadMin, loadMin, loadMin, 0, 0}, 1, 0, 0, 0);
    QCOMPARE(acquisitionFailed(texts), failed);
}

void TestCalibrationSequence::startNeedsAHotterVaporiser_data() {
    QTest::addColumn<double>("water");
    QTest::addColumn<int>("step");
    QTest::addColumn<QByteArrayList>("sent");
    QTest::newRow("equal does not start") << 40.0 << 0 << QByteArrayList{};
    QTest::newRow("colder waits") << 12.0 << 0 << QByteArrayList{};
    QTest::newRow("hotter starts on petrol") << 40.5 << 2 << QByteArrayList{"@F0081E\r"};
}

void TestCalibrationSequence::startNeedsAHotterVaporiser() {
    QFETCH(double, water);
    QFETCH(int, step);
    QFETCH(QByteArrayList, sent);
    QSignalSpy action(seq, &Sequence::actionChanged);
    seq->start(Kind::Idle);
    seq->RunCalibrationStep(inputs(water, 2.0));
    QCOMPARE(seq->step(), step);
    QCOMPARE(port->written, sent);
    QCOMPARE(action.last().at(0).toString(), step ? QStringLiteral(" Waiting Stabilisation ")
                                                  : QStringLiteral(" Waiting Temperature "));
}

void TestCalibrationSequence::defaultIdleRunTakesAHundredSamplesEach() {
    QSignalSpy progress(seq, &Sequence::progressValue);
    QSignalSpy maximum(seq, &Sequence::progressMaximum);
    QSignalSpy done(seq, &Sequence::finished);
    seq->start(Kind::Idle);
    // Calls: 1 to start, 29 more waiting on petrol, 100 petrol samples (the
    // last one also asks for gas), 29 waiting on gas, 100 gas samples (the
    // first comes with the step that reaches L3). Bank 1 reads the call
    // number, so each minimum is the first sample of its kind.
    int calls = 0;
    while (seq->running() && calls < 1000) {
        ++calls;
        if (seq->phase() == 4)
            link->image.set(0x002, 3);
        seq->RunCalibrationStep(inputs(80, calls));
    }
    QCOMPARE(calls, 259);
    QCOMPARE(seq->measured(Kind::Idle, 0).petrolMin, 31.0);
    QCOMPARE(seq->measured(Kind::Idle, 0).gasMin, 160.0);
    QCOMPARE(seq->step(), 261);
    QCOMPARE(maximum.last().at(0).toInt(), 261);
    QCOMPARE(progress.last().at(0).toInt(), 261);
    QCOMPARE(done.count(), 1);
    QVERIFY(!running);
}

void TestCalibrationSequence::samplesFollowThePhases_data() {
    // Settings 1,2,1,2: L1 2, L2 4, L3 5, L4 7. Call 1 starts, calls 2-3
    // sample petrol, call 3 asks for gas, call 4 (gas reported) and 5
    // sample gas. Bank 1 reads x1..x5 in calls 1..5.
    QTest::addColumn<QList<double>>("x");
    QTest::addColumn<Measured>("expected");
    QTest::newRow("start call not sampled")
        << QList<double>{0.5, 2.0, 3.0, 2.5, 2.5} << Measured{2.0, 2.5, 2.5, 2.5, 0.5, 0.0};
    QTest::newRow("gas below petrol")
        << QList<double>{9.0, 3.0, 3.0, 2.0, 3.0} << Measured{3.0, 3.0, 2.0, 2.5, -1.0, -0.5};
    QTest::newRow("excluded petrol minimum stays 0")
        << QList<double>{9.0, 1.0, 0.5, 2.0, 2.0} << Measured{0.0, 0.75, 2.0, 2.0, 2.0, 1.25};
}

void TestCalibrationSequence::samplesFollowThePhases() {
    QFETCH(QList<double>, x);
    QFETCH(Measured, expected);
    settings.idleSteps = {1, 2, 1, 2};
    seq->start(Kind::Idle);
    for (int call = 0; call < 5; ++call) {
        if (call == 3)
            link->image.set(0x002, 3);
        QVERIFY(seq->running());
        seq->RunCalibrationStep(inputs(80, x[call]));
    }
    QVERIFY(!seq->running());
    QCOMPARE(seq->step(), 7);
    const Measured &m = seq->measured(Kind::Idle, 0);
    QCOMPARE(m.petrolMin, expected.petrolMin);
    QCOMPARE(m.petrolMean, expected.petrolMean);
    QCOMPARE(m.gasMin, expected.gasMin);
    QCOMPARE(m.gasMean, expected.gasMean);
    QCOMPARE(m.diffMin, expected.diffMin);
    QCOMPARE(m.diffMean, expected.diffMean);
}

void TestCalibrationSequence::withoutGasTheBarStopsAtL2() {
    QSignalSpy progress(seq, &Sequence::progressValue);
    QSignalSpy action(seq, &Sequence::actionChanged);
    seq->start(Kind::Idle);
    for (int i = 0; i < 500; ++i)
        seq->RunCalibrationStep(inputs(80, 2.0));
    QVERIFY(seq->running());
    QCOMPARE(seq->phase(), 4);
    QCOMPARE(progress.last().at(0).toInt(), 131);
    QCOMPARE(action.last().at(0).toString(), QStringLiteral("Waiting Switch Over Gas"));
    // The step stays at L2, so every step asks for gas again: from the
    // 130th call (which reached L2) to the 500th.
    QCOMPARE(port->written.count("@F0071D\r"), 371);
    QCOMPARE(port->written.count("@F0081E\r"), 1);
}

void TestCalibrationSequence::loadKeepsTheLastIdleResults() {
    settings.idleSteps = {1, 2, 1, 2};
    settings.loadSteps = {1, 2, 1, 2};
    seq->start(Kind::Idle);
    runToEnd(inputs(80, 2.0, 2.2));
    QCOMPARE(seq->texts(0)[TxMoyenEC], QStringLiteral("0"));
    QSignalSpy done(seq, &Sequence::finished);
    link->image.set(0x002, 0);
    seq->start(Kind::Load);
    runToEnd(inputs(80, 4.0, 4.4));
    QCOMPARE(done.count(), 1);
    QCOMPARE(done.last().at(1).toBool(), false);
    QCOMPARE(seq->measured(Kind::Idle, 0).petrolMin, 2.0);
    QCOMPARE(seq->measured(Kind::Idle, 1).petrolMin, 2.2);
    QCOMPARE(seq->texts(0)[TxMinER], QStringLiteral("2"));
    QCOMPARE(seq->texts(0)[TxMoyenEC], QStringLiteral("4"));
    QCOMPARE(seq->texts(1)[TxMoyenEC], QStringLiteral("4.4"));
    // No difference on either kind: the line runs from 2 ms to 4 ms of
    // petrol through gas times 2 x 1.2 + 0.4 and 4 x 1.2 + 0.4 (no live terms).
    QCOMPARE(seq->texts(0)[TxCCHP1], QStringLiteral("1.2"));
    QCOMPARE(seq->texts(0)[TxRCHP1], QStringLiteral("0.4"));
    // A new idle calibration clears the load results again.
    link->image.set(0x002, 0);
    seq->start(Kind::Idle);
    runToEnd(inputs(80, 2.0, 2.2));
    QCOMPARE(seq->texts(0)[TxMoyenEC], QStringLiteral("0"));
}

void TestCalibrationSequence::restoreWritesBackOnlyWhatWasSaved_data() {
    QTest::addColumn<int>("calls");
    QTest::addColumn<int>("uploadStep");
    QTest::addColumn<int>("delay"); // 0x807 after the restore
    QTest::addColumn<int>("mode");  // 0xA41
    QTest::newRow("waiting for temperature") << 0 << 0 << 9 << 9;
    QTest::newRow("first step, nothing saved yet") << 1 << 0 << 9 << 9;
    QTest::newRow("switch-over zeroed") << 2 << 6 << 2 << 3;
}

void TestCalibrationSequence::restoreWritesBackOnlyWhatWasSaved() {
    QFETCH(int, calls);
    QFETCH(int, uploadStep);
    QFETCH(int, delay);
    QFETCH(int, mode);
    link->image.set(0x807, 2);
    link->image.set(0xA41, 3);
    seq->start(Kind::Idle);
    for (int i = 0; i < calls; ++i)
        seq->RunCalibrationStep(inputs(80, 2.0));
    // Something else changed the bytes meanwhile: only a save puts them back.
    link->image.set(0x807, 9);
    link->image.set(0xA41, 9);
    link->state.UploadStep = 0;
    QSignalSpy timer(seq, &Sequence::pollTimerWanted);
    seq->stop();
    QCOMPARE(link->state.UploadStep, uploadStep);
    QCOMPARE(int(link->image.at(0x807)), delay);
    QCOMPARE(int(link->image.at(0xA41)), mode);
    QVERIFY(!running);
    QVERIFY(link->state.PollingOn);
    QCOMPARE(timer.last().at(0).toBool(), true);
    // A second restore has nothing left to write.
    link->state.UploadStep = 0;
    seq->RestoreSwitchSettings();
    QCOMPARE(link->state.UploadStep, 0);
}

void TestCalibrationSequence::impossibleLimitsNeverFailAStep() {
    // Limits beyond a signed 16-bit step counter: the counter stops at its
    // top instead of wrapping, and the bar's maximum is held there too.
    QSignalSpy maximum(seq, &Sequence::progressMaximum);
    settings.idleSteps = {40000, 40000, -1, 1e12};
    seq->start(Kind::Idle);
    for (int i = 0; i < 33000 && seq->running(); ++i)
        seq->RunCalibrationStep(inputs(80, 2.0));
    QCOMPARE(seq->step(), 32767);
    QCOMPARE(maximum.last().at(0).toInt(), 32767);
}

QTEST_GUILESS_MAIN(TestCalibrationSequence)
#include "tst_calibration_sequence.moc"
