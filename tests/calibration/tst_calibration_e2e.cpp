// The command line's calibrations against a simulated engine whose trims are
// off on gas; the ECU's switch-over settings are always left as they were.
#include "settings/number_format.h"
#include "support/sim_session.h"

namespace {
// A warm engine needing a full millisecond more gas offset than the trims
// give it: a gap well clear of the lambda loop's swing in the samples.
const QStringList SimArgs{QStringLiteral("--warm"), QStringLiteral("--gas-needs"),
                          QStringLiteral("1.25,1.40,1.24,1.34")};

QStringList calibrateArgs(const SimProcess &sim, const char *more) {
    return QStringLiteral("calibrate %1 --port %2").arg(more).arg(sim.port()).split(u' ') +
           QStringList{QStringLiteral("--ports-dir"), sim.portsDir()};
}

// The bytes at some addresses of a memory read back; none when it failed.
QList<int> bytesAt(const std::optional<MemoryImage> &image, const QList<int> &addresses) {
    QList<int> out;
    for (int address : addresses)
        if (image)
            out.append(image->at(address));
    return out;
}

QMap<QString, double> results(const QByteArray &out) {
    QMap<QString, double> map;
    for (const QByteArray &line : out.split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() == 2)
            map.insert(QString::fromLatin1(parts[0]), number::parse(QString::fromLatin1(parts[1])));
    }
    return map;
}
} // namespace

class TestCalibrationEndToEnd : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void cliIdleCalibrationApplied() {
        SimProcess sim(8);
        QVERIFY(sim.start(SimArgs));
        const RunResult r =
            runProgram(qEnvironmentVariable("GASECU_CLI"),
                       calibrateArgs(sim, "idle --steps 3,20,3,20 --apply --force"));
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.err.contains("Waiting Switch Over Gas"));
        // A full millisecond of correction is past the plausible step: written only when forced.
        QVERIFY(r.err.contains("writing them anyway (--force)"));
        const auto map = results(r.out);
        QCOMPARE(map.size(), 40); // twenty result fields for each bank
        QVERIFY2(map.value(QStringLiteral("TxNewRalenti_1")) > 0.15, r.out.constData());

        const auto applied = [&](const char *name) {
            return int(number::roundHalfEven(map.value(QLatin1String(name)) * 50));
        };
        // Load trims are never touched by an idle calibration.
        QCOMPARE(bytesAt(readEcuAfresh(sim), {0x807, 0xA41, 0x801, 0x839, 0x802, 0x83A}),
                 (QList<int>{2, 0, 125, 124, applied("TxApp1_1"), applied("TxApp1_2")}));
    }

    void cliLoadWithEverySampleExcludedIsAnAcquisitionError() {
        SimProcess sim(9);
        QVERIFY(sim.start(SimArgs));
        const RunResult r =
            runProgram(qEnvironmentVariable("GASECU_CLI"),
                       calibrateArgs(sim, "load --steps 2,5,2,5 --exclude 50 --apply"));
        QCOMPARE(r.exitCode, 6);
        QVERIFY(r.err.contains("ERROR Aquisition"));
        QCOMPARE(bytesAt(readEcuAfresh(sim), {0x801, 0x802, 0x807}),
                 (QList<int>{125, 20, 2})); // nothing applied
    }
};

QTEST_MAIN(TestCalibrationEndToEnd)
#include "tst_calibration_e2e.moc"
