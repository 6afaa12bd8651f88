// gasecu-cli map against the simulator: the road cycle's engine needs its own
// correction per load band; one drive and --apply bring every band the next
// drive trusts within 2 % (gas against petrol). Every way a drive can end
// leaves the fuel as it was found and says what the ECU holds.
#include "ecu/memory_image.h"
#include "files/memory_file.h"
#include "support/sim_console.h"

#include <QRegularExpression>

namespace {
const QStringList Road{"--warm", "--drive", "--switch-delay", "0"};
// Held at 40 % throttle, standing: crossings come fast, all in band 9.
const QStringList Steady{"--warm", "--throttle", "40", "--switch-delay", "0"};
constexpr int DriveMs = 400000;

RunResult map(const Ecu &ecu, const QStringList &args) {
    return runProgram(qEnvironmentVariable("GASECU_CLI"),
                      QStringList{QStringLiteral("map")} + args + ecu.portArgs(), {}, DriveMs);
}

struct Band {
    int band, petrolCount, gasCount;
    double petrol, gas;
    bool trusted() const { return petrolCount >= 3 && gasCount >= 3; }
    double diffPercent() const { return (gas / petrol - 1) * 100; }
};

// The band lines: eight fields, "-" for a mean without data.
QList<Band> bands(const QByteArray &out) {
    QList<Band> list;
    for (const QByteArray &line : out.split('\n')) {
        const QList<QByteArray> f = line.split(' ');
        if (f.size() == 8)
            list.append(
                {f[0].toInt(), f[4].toInt(), f[6].toInt(), f[3].toDouble(), f[5].toDouble()});
    }
    return list;
}

// "entry current proposed" lines, entry 1 first.
QList<int> proposed(const QByteArray &out) {
    QList<int> list;
    for (const QByteArray &line : out.split('\n')) {
        const QList<QByteArray> f = line.split(' ');
        bool entry = false;
        f[0].toInt(&entry);
        if (f.size() == 3 && entry)
            list.append(f[2].toInt());
    }
    return list;
}

QList<int> depTable(Ecu &ecu) {
    QList<int> list;
    for (const char byte : ecu.peek(0x824, 20))
        list.append(quint8(byte));
    return list;
}

QByteArray fuel(Ecu &ecu) {
    return ecu.peek(0x002, 1).toHex();
}
} // namespace

class TestCliMap : public QObject {
    Q_OBJECT
    OwnDataHome dataHome;

  private Q_SLOTS:
    void oneApplyConverges() {
        Ecu ecu(30);
        QVERIFY(ecu.start(Road));
        const QList<int> before = depTable(ecu);
        const QString csv = ecu.dirPath(QStringLiteral("bands.csv"));
        const RunResult first = map(ecu, {"--seconds", "50", "--apply", "--csv", csv});
        QCOMPARE(first.exitCode, 0);
        QVERIFY2(first.out.contains("\nverified\n"), first.err.constData());
        QVERIFY(first.err.contains("fuel restored: petrol"));
        QCOMPARE(fuel(ecu), QByteArray("00"));

        // The first drive found bands well off, and the ECU holds what was proposed.
        const QList<Band> drive1 = bands(first.out);
        QCOMPARE(drive1.size(), 20);
        QVERIFY(std::any_of(drive1.begin(), drive1.end(), [](const Band &b) {
            return b.trusted() && std::abs(b.diffPercent()) > 4;
        }));
        const QList<int> after = depTable(ecu);
        QCOMPARE(after, proposed(first.out));
        QVERIFY(after != before);

        // The restore point holds the table as it was.
        const QRegularExpression point(QStringLiteral("restore point (\\S+)"));
        const QString path = point.match(QString::fromUtf8(first.out)).captured(1);
        const memory_file::Parsed kept = memory_file::read(path);
        QVERIFY2(kept.ok, qPrintable(path));
        MemoryImage image;
        memory_file::apply(kept, &image);
        for (int k = 0; k < 20; ++k)
            QCOMPARE(int(image.at(0x824 + k)), before.at(k));

        const QList<QByteArray> rows = fileBytes(csv).split('\n');
        QCOMPARE(rows.value(0), QByteArray("band,dep_from,dep_to,petrol_mean_ms,petrol_count,"
                                           "gas_mean_ms,gas_count,diff_percent\r"));
        QCOMPARE(rows.size(), 22); // header, 20 bands, the empty rest after the last CR LF

        const RunResult second = map(ecu, {"--seconds", "50"});
        QCOMPARE(second.exitCode, 0);
        // A band too thin in the first drive had no proposal: only bands
        // trusted in both drives can tell whether the correction worked.
        int trusted = 0;
        for (const Band &b : bands(second.out)) {
            if (!b.trusted() || !drive1.at(b.band - 1).trusted())
                continue;
            ++trusted;
            QVERIFY2(std::abs(b.diffPercent()) <= 2.0,
                     qPrintable(QStringLiteral("band %1: %2 %").arg(b.band).arg(b.diffPercent())));
        }
        QVERIFY2(trusted >= 6, second.out.constData());
    }

    // Short drives ended every other way: exit code, what is said, the fuel
    // the ECU is left on, entry 9 of the table.
    void endings_data() {
        QTest::addColumn<QStringList>("simArgs");
        QTest::addColumn<QByteArray>("console"); // typed before the drive
        QTest::addColumn<QByteArray>("during");  // typed once the gas drive runs, or a signal
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArrayList>("said");
        QTest::addColumn<QByteArray>("fuelAfter");
        QTest::addColumn<bool>("tableKept");
        const QByteArray restoreHint = "holds what it held before (gasecu-cli upload puts it back)";
        QTest::newRow("write not kept")
            << (Steady + QStringList{"--fault", "nowrite"}) << QByteArray() << QByteArray()
            << QStringList{"--seconds", "5", "--apply"} << 5
            << QByteArrayList{"verification failed at 0x82C: wrote ", ", read 66", restoreHint}
            << QByteArray("00") << true;
        QTest::newRow("write not acknowledged")
            << (Steady + QStringList{"--fault", "dropack"}) << QByteArray() << QByteArray()
            << QStringList{"--seconds", "5", "--apply"} << 1 << QByteArrayList{restoreHint}
            << QByteArray("00") << false;
        QTest::newRow("gas never comes")
            << QStringList{"--warm", "--throttle", "40", "--switch-delay", "600000"} << QByteArray()
            << QByteArray() << QStringList{"--seconds", "2", "--timeout", "3"} << 6
            << QByteArrayList{"timed out after 3 s: the ECU did not switch to gas (waiting for "
                              "gas)",
                              "fuel restored: petrol"}
            << QByteArray("00") << true;
        QTest::newRow("found on gas")
            << Steady << QByteArray("gas") << QByteArray()
            << QStringList{"--seconds", "2", "--propose"} << 0
            << QByteArrayList{"the ECU runs on gas", "switching to petrol", "fuel restored: gas"}
            << QByteArray("03") << true;
        QTest::newRow("Ctrl-C on gas")
            << Steady << QByteArray() << QByteArray("SIGINT")
            << QStringList{"--seconds", "8", "--apply"} << 130
            << QByteArrayList{"interrupted", "fuel restored: petrol"} << QByteArray("00") << true;
        QTest::newRow("silent on gas")
            << Steady << QByteArray() << QByteArray("fault silent on")
            << QStringList{"--seconds", "8"} << 1
            << QByteArrayList{"the ECU was last seen on gas; it ran on petrol when the drive "
                              "began"}
            << QByteArray("03") << true;
    }
    void endings() {
        QFETCH(QStringList, simArgs);
        QFETCH(QByteArray, console);
        QFETCH(QByteArray, during);
        QFETCH(QStringList, args);
        QFETCH(QByteArrayList, said);
        Ecu ecu(31);
        QVERIFY(ecu.start(simArgs));
        if (!console.isEmpty()) {
            ecu.ask(console);
            QTRY_COMPARE_WITH_TIMEOUT(fuel(ecu), QByteArray("03"), 10000);
        }
        const int entry9 = depTable(ecu).at(8);
        RunResult r;
        if (during.isEmpty()) {
            r = map(ecu, args);
        } else {
            RunningCli cli(ecu, QStringList{QStringLiteral("map")} + args);
            QVERIFY2(cli.waitFor("acquiring 8 s on gas"), cli.err().constData());
            QTest::qWait(1500);
            if (during == "SIGINT")
                cli.signal(SIGINT);
            else
                ecu.ask(during);
            r = cli.finish();
        }
        QTEST(r.exitCode, "exitCode");
        for (const QByteArray &text : said)
            QVERIFY2(r.err.contains(text), r.err.constData());
        if (during.startsWith("fault"))
            ecu.ask("fault off");
        QTEST(fuel(ecu), "fuelAfter");
        QFETCH(bool, tableKept);
        QCOMPARE(depTable(ecu).at(8) == entry9, tableKept);
    }
};

QTEST_MAIN(TestCliMap)
#include "tst_cli_map.moc"
