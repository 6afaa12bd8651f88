// gasecu-cli calibrate against the simulator, ended every way it can end: the
// ECU's switch-over delay (0x807) and mode (0xA41) afterwards, read from the
// simulator's own memory, and what the fitter is told.
#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

// The simulator with its console's answers readable ("peek" gives its memory).
class Ecu {
  public:
    explicit Ecu(int port) : m_port(port) {}
    ~Ecu() {
        m_process.terminate();
        if (!m_process.waitForFinished(10000))
            m_process.kill();
        m_process.waitForFinished(5000);
    }
    bool start(const QStringList &extra) {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(
            qEnvironmentVariable("GASECU_SIM"),
            QStringList{"--port", QString::number(m_port), "--ports-dir", m_dir.path()} + extra);
        return m_process.waitForStarted(30000) && !answer().isEmpty();
    }
    QByteArray ask(const QByteArray &line) {
        m_process.write(line + '\n');
        return answer();
    }
    // The switch-over delay and mode as the ECU holds them, "02 00".
    QByteArray switchOver() {
        const QByteArray delay = ask("peek 807 1"), mode = ask("peek a41 1");
        return delay.mid(delay.indexOf(':') + 1).trimmed() + ' ' +
               mode.mid(mode.indexOf(':') + 1).trimmed();
    }
    QStringList args(const QString &more) const {
        return more.split(u' ') +
               QStringList{"--port", QString::number(m_port), "--ports-dir", m_dir.path()};
    }

  private:
    QByteArray answer() {
        for (const QDeadlineTimer deadline(30000); !m_process.canReadLine();) {
            if (deadline.hasExpired() || m_process.state() != QProcess::Running)
                return {};
            m_process.waitForReadyRead(100);
        }
        return m_process.readLine().trimmed().mid(12);
    }
    int m_port;
    QTemporaryDir m_dir;
    QProcess m_process;
};

// A calibrate run followed on its stderr.
class Cli {
  public:
    void start(const QStringList &args) {
        m_process.start(qEnvironmentVariable("GASECU_CLI"), args);
    }
    bool waitFor(const QByteArray &text, int ms = 120000) {
        return QTest::qWaitFor(
            [&] {
                m_err += m_process.readAllStandardError();
                return m_err.contains(text);
            },
            ms);
    }
    int finish() {
        if (!m_process.waitForFinished(60000))
            return -1;
        m_err += m_process.readAllStandardError();
        return m_process.exitCode();
    }
    void signal(int number) { ::kill(pid_t(m_process.processId()), number); }
    const QByteArray &err() const { return m_err; }

  private:
    QProcess m_process;
    QByteArray m_err;
};

const QStringList Warm{"--warm"};

} // namespace

class TestCliCalibrate : public QObject {
    Q_OBJECT
    QTemporaryDir dataHome;

  private Q_SLOTS:
    void initTestCase() { qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit()); }

    // Each signal while sampling: written back, read again, then reported.
    void signalsRestore_data() {
        QTest::addColumn<int>("signal");
        QTest::addColumn<QStringList>("simArgs");
        QTest::addColumn<QByteArray>("waitFor");
        QTest::addColumn<QByteArray>("said");
        const QByteArray restored = "switch-over settings restored: delay 2, mode 0";
        QTest::newRow("HUP") << int(SIGHUP) << Warm << QByteArray("Load Gasoline Time") << restored;
        QTest::newRow("TERM") << int(SIGTERM) << Warm << QByteArray("Load Gasoline Time")
                              << restored;
        QTest::newRow("QUIT") << int(SIGQUIT) << Warm << QByteArray("Load Gasoline Time")
                              << restored;
        // A cold engine: still waiting for the vaporiser, nothing zeroed yet.
        QTest::newRow("INT before zeroing")
            << int(SIGINT) << QStringList{} << QByteArray("Waiting Temperature")
            << QByteArray("interrupted: nothing was changed in the ECU");
    }

    void signalsRestore() {
        QFETCH(int, signal);
        QFETCH(QStringList, simArgs);
        QFETCH(QByteArray, waitFor);
        QFETCH(QByteArray, said);
        Ecu ecu(20);
        QVERIFY(ecu.start(simArgs));
        Cli cli;
        cli.start(ecu.args("calibrate idle --steps 3,3000,3,20"));
        QVERIFY2(cli.waitFor(waitFor), cli.err().constData());
        if (simArgs == Warm)
            QCOMPARE(ecu.switchOver(), QByteArray("00 00"));
        cli.signal(signal);
        QCOMPARE(cli.finish(), 130);
        QVERIFY2(cli.err().contains(said), cli.err().constData());
        QCOMPARE(ecu.switchOver(), QByteArray("02 00"));
    }

    // The ECU falls silent while the settings are zeroed: the message gives
    // the values and the command, and that command puts them back.
    void silentEcuNamesTheValues() {
        Ecu ecu(21);
        QVERIFY(ecu.start(Warm));
        Cli cli;
        cli.start(ecu.args("calibrate idle --steps 3,3000,3,20"));
        QVERIFY(cli.waitFor("Load Gasoline Time"));
        ecu.ask("fault silent on");
        QCOMPARE(cli.finish(), 1);
        const QByteArray advice =
            "the ECU was left with its switch-over delay (0x807) and mode (0xA41) at 0; it held "
            "delay 2 and mode 0. Write them back once it answers with:\n  gasecu-cli calibrate "
            "restore --delay 2 --mode 0 --port 21";
        QVERIFY2(cli.err().contains(advice), cli.err().constData());
        QCOMPARE(ecu.switchOver(), QByteArray("00 00"));
        ecu.ask("fault off");
        Cli restore;
        restore.start(ecu.args("calibrate restore --delay 2 --mode 0"));
        QCOMPARE(restore.finish(), 0);
        QVERIFY(restore.err().contains("switch-over settings restored: delay 2, mode 0"));
        QCOMPARE(ecu.switchOver(), QByteArray("02 00"));
    }

    // Runs that must not start, or must end on their own, with exit 6.
    void refusedOrBounded_data() {
        QTest::addColumn<QString>("args");
        QTest::addColumn<QByteArray>("said");
        QTest::newRow("load without idle results")
            << "calibrate load"
            << QByteArray("a load calibration needs the idle results of an idle calibration");
        QTest::newRow("load with a missing --idle file")
            << "calibrate load --idle /nonexistent/idle.txt"
            << QByteArray("none in /nonexistent/idle.txt");
        QTest::newRow("cold engine, --timeout 2")
            << "calibrate idle --timeout 2" << QByteArray("timed out after 2 s: vaporiser at");
    }

    void refusedOrBounded() {
        QFETCH(QString, args);
        QFETCH(QByteArray, said);
        Ecu ecu(22);
        QVERIFY(ecu.start({}));
        Cli cli;
        cli.start(ecu.args(args));
        QCOMPARE(cli.finish(), 6);
        QVERIFY2(cli.err().contains(said), cli.err().constData());
        QCOMPARE(ecu.switchOver(), QByteArray("02 00"));
    }
};

QTEST_MAIN(TestCliCalibrate)
#include "tst_cli_calibrate.moc"
