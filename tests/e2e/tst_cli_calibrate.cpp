// gasecu-cli calibrate against the simulator, ended every way it can end: the
// ECU's switch-over delay (0x807) and mode (0xA41) afterwards, read from the
// simulator's own memory, and what the fitter is told.
#include "pages/data_table.h"
#include "support/sim_console.h"

namespace {
// The switch-over delay and mode as the ECU holds them, "02 00".
QByteArray switchOver(Ecu &ecu) {
    return (ecu.peek(0x807, 1) + ecu.peek(0xA41, 1)).toHex(' ');
}

const QStringList Warm{"--warm"};
const QStringList Idle{"calibrate", "idle", "--steps", "3,3000,3,20"};
} // namespace

class TestCliCalibrate : public QObject {
    Q_OBJECT
    OwnDataHome dataHome;

  private Q_SLOTS:
    // Each signal while sampling: written back, read again, then reported.
    void signalsRestore_data() {
        columns<int, QStringList, QByteArray, QByteArray>("signal", "simArgs", "waitFor", "said");
        const QByteArray restored = "switch-over settings restored: delay 2, mode 0";
        for (const auto &[name, signal] :
             {std::pair{"INT", SIGINT}, {"HUP", SIGHUP}, {"TERM", SIGTERM}, {"QUIT", SIGQUIT}})
            row(name, int(signal), Warm, QByteArray("Load Gasoline Time"), restored);
        // A cold engine: still waiting for the vaporiser, nothing zeroed yet.
        row("INT before zeroing", int(SIGINT), QStringList{}, QByteArray("Waiting Temperature"),
            QByteArray("interrupted: nothing was changed in the ECU"));
    }
    void signalsRestore() {
        const auto [signal, simArgs, waitFor, said] =
            fetch<int, QStringList, QByteArray, QByteArray>("signal", "simArgs", "waitFor", "said");
        Ecu ecu(20);
        QVERIFY(ecu.start(simArgs));
        RunningCli cli(ecu, Idle);
        QVERIFY2(cli.waitFor(waitFor), cli.err().constData());
        if (simArgs == Warm)
            QCOMPARE(switchOver(ecu), QByteArray("00 00"));
        cli.signal(signal);
        const RunResult r = cli.finish();
        QCOMPARE(r.exitCode, 130);
        QVERIFY2(r.err.contains(said), r.err.constData());
        QCOMPARE(switchOver(ecu), QByteArray("02 00"));
    }

    // The ECU falls silent while the settings are zeroed: the message gives
    // the values and the command, and that command puts them back.
    void silentEcuNamesTheValues() {
        Ecu ecu(21);
        QVERIFY(ecu.start(Warm));
        RunningCli cli(ecu, Idle);
        QVERIFY(cli.waitFor("Load Gasoline Time"));
        ecu.ask("fault silent on");
        const RunResult r = cli.finish();
        QCOMPARE(r.exitCode, 1);
        const QByteArray advice =
            "the ECU was left with its switch-over delay (0x807) and mode (0xA41) at 0; it held "
            "delay 2 and mode 0. Write them back once it answers with:\n  gasecu-cli calibrate "
            "restore --delay 2 --mode 0 --port 21";
        QVERIFY2(r.err.contains(advice), r.err.constData());
        QCOMPARE(switchOver(ecu), QByteArray("00 00"));
        ecu.ask("fault off");
        const RunResult restore = ecu.cli({"calibrate", "restore", "--delay", "2", "--mode", "0"});
        QCOMPARE(restore.exitCode, 0);
        QVERIFY(restore.err.contains("switch-over settings restored: delay 2, mode 0"));
        QCOMPARE(switchOver(ecu), QByteArray("02 00"));
    }

    // Runs that must not start, or must end on their own, with exit 6.
    void refusedOrBounded_data() {
        columns<QString, QByteArray>("args", "said");
        row("load without idle results", QString("calibrate load"),
            QByteArray("a load calibration needs the idle results of an idle calibration"));
        row("load with a missing --idle file",
            QString("calibrate load --idle /nonexistent/idle.txt"),
            QByteArray("none in /nonexistent/idle.txt"));
        row("cold engine, --timeout 2", QString("calibrate idle --timeout 2"),
            QByteArray("timed out after 2 s: vaporiser at"));
    }
    void refusedOrBounded() {
        const auto [args, said] = fetch<QString, QByteArray>("args", "said");
        Ecu ecu(22);
        QVERIFY(ecu.start());
        const RunResult r = ecu.cli(args.split(u' '));
        QCOMPARE(r.exitCode, 6);
        QVERIFY2(r.err.contains(said), r.err.constData());
        QCOMPARE(switchOver(ecu), QByteArray("02 00"));
    }
};

QTEST_MAIN(TestCliCalibrate)
#include "tst_cli_calibrate.moc"
