// The map acquisition without a screen: crossings, the log line, the two
// tests with their rounding, band recording from the image, the status
// texts, counters, curve points and the CSV export.
#include "link/memory_image.h"
#include "map/map_acquisition.h"
#include "map/map_curves.h"
#include "map/map_export.h"

#include <QTest>

namespace {
using Inputs = MapAcquisition::Inputs;

// A response as the previous one left the screens: petrol time text, "Dep"
// text, speed caption, lambda in 1/200 V.
struct Response {
    QString ti = QStringLiteral("3.5");
    QString dep = QStringLiteral("35");
    QString rpm = QStringLiteral("2000");
    int lambda = 60;
};

void setLambda(MemoryImage &image, int raw) {
    image.set(0x030, quint8(raw / 256));
    image.set(0x031, quint8(raw % 256));
}

MapAcquisition::Step run(MapAcquisition &a, MemoryImage &image, const Response &r, Inputs in = {}) {
    setLambda(image, r.lambda);
    in.txZoom = r.ti;
    in.TxzoomG = r.dep;
    in.TxRPM = r.rpm;
    if (in.param5.isEmpty())
        in.param5 = QStringLiteral("0.5");
    return a.step(in, image);
}

// "rpm ti lambda" words, "*N" repeating the response N times.
QList<Response> responses(const QStringList &answers) {
    QList<Response> out;
    for (const QString &item : answers) {
        const QStringList w = item.split(QLatin1Char(' '));
        Response r;
        r.rpm = w.at(0);
        r.ti = w.at(1);
        r.lambda = w.at(2).toInt();
        const int times = w.size() > 3 ? w.at(3).mid(1).toInt() : 1;
        for (int i = 0; i < times; ++i)
            out.append(r);
    }
    return out;
}
} // namespace

class TestMapAcquisition : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void crossings_data();
    void crossings();
    void logLine_data();
    void logLine();
    void bandValue_data();
    void bandValue();
    void status_data();
    void status();
    void skipsWhatIsNotANumber_data();
    void skipsWhatIsNotANumber();
    void crossingCountHoldsAtItsLargest();
    void curvePoints_data();
    void curvePoints();
    void exports_data();
    void exports();
};

void TestMapAcquisition::crossings_data() {
    QTest::addColumn<QString>("threshold");
    QTest::addColumn<QList<int>>("lambdas"); // 1/200 V
    QTest::addColumn<QList<bool>>("crossed");
    QTest::newRow("0.8 to 0.3 and back")
        << "0.5" << QList<int>{160, 60, 60, 160} << QList<bool>{false, true, false, true};
    QTest::newRow("equal never crosses from rich") << "0.5" << QList<int>{160, 60, 100, 100, 160}
                                                   << QList<bool>{false, true, false, false, true};
    QTest::newRow("equal never crosses at start")
        << "0.5" << QList<int>{100, 100, 99} << QList<bool>{false, false, true};
    QTest::newRow("lean at start counts") << "0.5" << QList<int>{60} << QList<bool>{true};
    QTest::newRow("rich at start does not")
        << "0.5" << QList<int>{101, 200} << QList<bool>{false, false};
    QTest::newRow("threshold read up to a comma")
        << "0,5" << QList<int>{60, 160} << QList<bool>{false, false};
}

void TestMapAcquisition::crossings() {
    QFETCH(QString, threshold);
    QFETCH(QList<int>, lambdas);
    QFETCH(QList<bool>, crossed);
    MapAcquisition a;
    a.MapAcquisitionOn = true;
    MemoryImage image;
    QList<bool> seen;
    for (int raw : lambdas) {
        Inputs in;
        in.param5 = threshold;
        Response r;
        r.lambda = raw;
        seen.append(run(a, image, r, in).crossing);
    }
    QCOMPARE(seen, crossed);
}

void TestMapAcquisition::logLine_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("lastTi");
    QTest::addColumn<QString>("ti");
    QTest::addColumn<QString>("dep");
    QTest::addColumn<int>("fuel");      // byte 0x002
    QTest::addColumn<QString>("tests"); // "1" Check1, "2" Check2, with param4 / param6
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("band"); // 0: nothing recorded
    QTest::addColumn<bool>("gas");
    QTest::addColumn<bool>("redraw");

    QTest::newRow("the example") << 12 << 330 << "3.4"
                                 << "35" << 0 << "12 8 0.40"
                                 << "12 - Dep 35 index =  7 Diff % 3 Diff 0.1\r\n"
                                 << 7 << false << true;
    QTest::newRow("9 % over 8 %") << 0 << 350 << "3.8"
                                  << "35" << 0 << "1 8 0.40"
                                  << "0 - Dep 35 index =  7 Diff % 9 Err  No-Ok \r\n"
                                  << 0 << false << false;
    QTest::newRow("9 % admitted at 9") << 0 << 350 << "3.8"
                                       << "35" << 3 << "1 9 0.40"
                                       << "0 - Dep 35 index =  7 Diff % 9\r\n"
                                       << 7 << true << true;
    QTest::newRow("30 within 0.40 ms") << 0 << 350 << "3.8"
                                       << "35" << 0 << "2 8 0.40"
                                       << "0 - Dep 35 index =  7 Diff 0.3\r\n"
                                       << 7 << false << true;
    QTest::newRow("30 over 0.29 ms") << 0 << 350 << "3.8"
                                     << "35" << 0 << "2 8 0.29"
                                     << "0 - Dep 35 index =  7 Diff 0.3 Err  No-Ok \r\n"
                                     << 0 << false << false;
    QTest::newRow("both tests failing") << 0 << 350 << "3.8"
                                        << "35" << 0 << "12 8 0.29"
                                        << "0 - Dep 35 index =  7 Diff % 9 Err  Diff 0.3 Err  "
                                           "No-Ok \r\n"
                                        << 0 << false << false;
    QTest::newRow("both cleared accept anything") << 0 << 100 << "3.8"
                                                  << "35" << 3 << " 8 0.40"
                                                  << "0 - Dep 35 index =  7\r\n"
                                                  << 7 << true << true;
    QTest::newRow("falling time measured from the smaller")
        << 0 << 380 << "3.5"
        << "35" << 0 << "12 8 0.40"
        << "0 - Dep 35 index =  7 Diff % 9 Err  Diff 0.3 No-Ok \r\n"
        << 0 << false << false;
    QTest::newRow("half a hundredth to even, down") << 0 << 380 << "3.805"
                                                    << "35" << 0 << "2 8 0.40"
                                                    << "0 - Dep 35 index =  7 Diff 0\r\n"
                                                    << 7 << false << true;
    QTest::newRow("half a hundredth to even, up") << 0 << 381 << "3.825"
                                                  << "35" << 0 << "2 8 0.40"
                                                  << "0 - Dep 35 index =  7 Diff 0.02\r\n"
                                                  << 7 << false << true;
    QTest::newRow("no previous time") << 0 << 0 << "3.8"
                                      << "35" << 0 << "12 8 0.40"
                                      << "0 - Dep 35 index =  7 Diff % 0 Diff 0\r\n"
                                      << 7 << false << true;
    QTest::newRow("time fallen to zero") << 0 << 350 << "0"
                                         << "35" << 0 << " 8 0.40"
                                         << "0 - Dep 35 index =  7 Ti 0 Err  No-Ok \r\n"
                                         << 0 << false << false;
    QTest::newRow("Dep 37.5 is band 7") << 5 << 350 << "3.5"
                                        << "37.5" << 1 << " 8 0.40"
                                        << "5 - Dep 37.5 index =  7\r\n"
                                        << 7 << false << true;
    QTest::newRow("Dep 3 is band 0") << 5 << 350 << "3.5"
                                     << "3" << 0 << " 8 0.40"
                                     << "5 - Dep 3 index =  0\r\n"
                                     << 0 << false << true;
    QTest::newRow("Dep 105 is band 21") << 5 << 350 << "3.5"
                                        << "105" << 3 << " 8 0.40"
                                        << "5 - Dep 105 index =  21\r\n"
                                        << 0 << false << true;
    QTest::newRow("Dep 100 is band 20") << 5 << 350 << "3.5"
                                        << "100" << 3 << " 8 0.40"
                                        << "5 - Dep 100 index =  20\r\n"
                                        << 20 << true << true;
    QTest::newRow("negative Dep") << 5 << 350 << "3.5"
                                  << "-7" << 0 << " 8 0.40"
                                  << "5 - Dep -7 index =  -2\r\n"
                                  << 0 << false << true;
}

void TestMapAcquisition::logLine() {
    QFETCH(int, count);
    QFETCH(int, lastTi);
    QFETCH(QString, ti);
    QFETCH(QString, dep);
    QFETCH(int, fuel);
    QFETCH(QString, tests);
    QFETCH(QString, line);
    QFETCH(int, band);
    QFETCH(bool, gas);
    QFETCH(bool, redraw);

    MapAcquisition a;
    a.MapAcquisitionOn = true;
    a.CrossingCount = qint16(count);
    a.LastTi = qint16(lastTi);
    MemoryImage image;
    image.set(0x002, quint8(fuel));
    image.set(0x00C, 0x0F); // 15 x 255 + 160 = 3985: 1021 hundredths
    image.set(0x00D, 0xA0);
    const QStringList t = tests.split(QLatin1Char(' '));
    Inputs in;
    in.Check1 = t.at(0).contains(QLatin1Char('1'));
    in.Check2 = t.at(0).contains(QLatin1Char('2'));
    in.param4 = t.at(1);
    in.param6 = t.at(2);
    const MapAcquisition::Step s = run(a, image, {ti, dep, QStringLiteral("2000"), 60}, in);

    QVERIFY(s.crossing);
    QCOMPARE(s.logLine, line);
    QCOMPARE(s.recorded.has_value(), band != 0);
    QCOMPARE(s.redraw, redraw);
    if (band != 0) {
        QCOMPARE(s.recorded->band, band);
        QCOMPARE(s.recorded->value, 1021);
        QCOMPARE(s.recorded->column == MapAcquisition::Column::Gas, gas);
    }
    QCOMPARE(a.CrossingCount, qint16(count + 1));
    QCOMPARE(a.crossings().size(), 1);
    QCOMPARE(a.crossings().first().accepted, !line.contains(QStringLiteral("No-Ok")));
}

void TestMapAcquisition::bandValue_data() {
    QTest::addColumn<int>("high");
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("value");
    QTest::newRow("monitor's example") << 0x0F << 0xA0 << 1021;
    QTest::newRow("multiplier 255, not 256") << 0x10 << 0x00 << 1046;
    QTest::newRow("zero") << 0 << 0 << 0;
    QTest::newRow("rounded down") << 0x00 << 0x4D << 19; // 77 / 3.9 = 19.74
    QTest::newRow("largest") << 0xFF << 0xFF << 16738;
}

void TestMapAcquisition::bandValue() {
    QFETCH(int, high);
    QFETCH(int, low);
    QFETCH(int, value);
    MemoryImage image;
    image.set(0x00C, quint8(high));
    image.set(0x00D, quint8(low));
    QCOMPARE(MapAcquisition::bandValue(image), value);
}

void TestMapAcquisition::status_data() {
    QTest::addColumn<QStringList>("answers"); // "rpm ti lambda [*N]"
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("cutOff");
    QTest::newRow("nine quiet responses") << QStringList{"2000 3.5 160 *9"} << "" << 0;
    QTest::newRow("ten quiet responses") << QStringList{"2000 3.5 160 *10"} << "hors controle" << 0;
    QTest::newRow("a crossing after them")
        << QStringList{"2000 3.5 160 *10", "2100 3.6 60"} << "Controle" << 0;
    QTest::newRow("nine quiet after a crossing")
        << QStringList{"2000 3.5 60", "2010 3.6 60 *9"} << "Controle" << 0;
    QTest::newRow("ten quiet after a crossing")
        << QStringList{"2000 3.5 60", "2010 3.6 60 *10"} << "hors controle" << 0;
    // The first response differs from the zero start, then 19 steady ones.
    QTest::newRow("nineteen steady") << QStringList{"2000 3.5 160 *20"} << "hors controle" << 0;
    QTest::newRow("twenty steady") << QStringList{"2000 3.5 160 *21"} << "Cut OFF" << 1;
    QTest::newRow("twenty steady, not in a row")
        << QStringList{"2000 3.5 160 *11", "2000 3.6 160 *11"} << "Cut OFF" << 1;
    QTest::newRow("speed moves after cut-off")
        << QStringList{"2000 3.5 160 *21", "2040 3.5 160"} << "Cut OFF" << 0;
    QTest::newRow("cut-off then a crossing")
        << QStringList{"2000 3.5 160 *21", "2000 3.5 60"} << "Cut OFF" << 1;
    QTest::newRow("crossing after cut-off ends")
        << QStringList{"2000 3.5 160 *21", "2040 3.5 60"} << "Controle" << 0;
}

void TestMapAcquisition::status() {
    QFETCH(QStringList, answers);
    QFETCH(QString, status);
    QFETCH(int, cutOff);
    MapAcquisition a;
    a.MapAcquisitionOn = true;
    MemoryImage image;
    MapAcquisition::Step s;
    for (const Response &r : responses(answers))
        s = run(a, image, r);
    QCOMPARE(s.status, status);
    QCOMPARE(a.MapStatus, status);
    QCOMPARE(int(a.CutOffFlag), cutOff);
}

void TestMapAcquisition::skipsWhatIsNotANumber_data() {
    QTest::addColumn<QString>("ti");
    QTest::addColumn<QString>("dep");
    QTest::addColumn<bool>("complete");
    QTest::newRow("empty time at start-up") << ""
                                            << "35" << false;
    QTest::newRow("empty Dep") << "3.5"
                               << "" << false;
    QTest::newRow("letters") << "3.5"
                             << "abc" << false;
    QTest::newRow("number then letters") << "3.5abc"
                                         << "35" << false;
    QTest::newRow("exponent") << "1e3"
                              << "35" << false;
    QTest::newRow("blanks around") << " 3.5 "
                                   << " 35 " << true;
    QTest::newRow("decimal comma") << "3,5"
                                   << "-5" << true;
}

void TestMapAcquisition::skipsWhatIsNotANumber() {
    QFETCH(QString, ti);
    QFETCH(QString, dep);
    QFETCH(bool, complete);
    MapAcquisition a;
    MemoryImage image;
    QVERIFY(!run(a, image, {ti, dep, QStringLiteral("2000"), 60}).ran);

    a.MapAcquisitionOn = true;
    const MapAcquisition::Step s = run(a, image, {ti, dep, QStringLiteral("2000"), 60});
    QVERIFY(s.ran);
    QCOMPARE(s.param1, ti);
    QCOMPARE(s.param2, dep);
    QCOMPARE(s.param3, QStringLiteral("0.3"));
    QCOMPARE(s.complete, complete);
    QCOMPARE(s.crossing, complete);
    QCOMPARE(a.LambdaLean, complete ? 1 : 0);
    QCOMPARE(int(a.LastRpm), complete ? 2000 : 0);
    QCOMPARE(a.crossings().size(), complete ? 1 : 0);
}

void TestMapAcquisition::crossingCountHoldsAtItsLargest() {
    MapAcquisition a;
    a.MapAcquisitionOn = true;
    a.CrossingCount = 32767;
    MemoryImage image;
    const MapAcquisition::Step s = run(a, image, {});
    QCOMPARE(s.logLine, QStringLiteral("32767 - Dep 35 index =  7\r\n"));
    run(a, image, {QStringLiteral("3.5"), QStringLiteral("35"), QStringLiteral("2000"), 160});
    QCOMPARE(a.CrossingCount, qint16(32767));
}

void TestMapAcquisition::curvePoints_data() {
    QTest::addColumn<QList<int>>("bands"); // band, value pairs; others 0
    QTest::addColumn<int>("segment");
    QTest::addColumn<QLineF>("line");
    QTest::newRow("nothing recorded: the base line")
        << QList<int>{} << 5 << QLineF(108, 310, 132, 310);
    QTest::newRow("from the origin to band 20")
        << QList<int>{20, 500} << 0 << QLineF(0, 310, 12, 250);
    QTest::newRow("band 20 to band 19")
        << QList<int>{20, 500, 19, 1000} << 1 << QLineF(12, 250, 36, 190);
    QTest::newRow("band 11 at 2.5 ms") << QList<int>{11, 250} << 9 << QLineF(204, 310, 228, 280);
    QTest::newRow("band 1 at the right end")
        << QList<int>{1, 1021, 2, 1046} << 19 << QLineF(444, 184.48, 468, 187.48);
}

void TestMapAcquisition::curvePoints() {
    QFETCH(QList<int>, bands);
    QFETCH(int, segment);
    QFETCH(QLineF, line);
    std::array<double, 20> values{};
    for (int i = 0; i + 1 < bands.size(); i += 2)
        values.at(std::size_t(bands.at(i) - 1)) = bands.at(i + 1);
    const QList<QLineF> lines = mapcurve::segments(values);
    QCOMPARE(lines.size(), 20);
    const QLineF got = lines.at(segment);
    QCOMPARE(got.p1().x(), line.p1().x());
    QCOMPARE(got.p1().y(), line.p1().y());
    QCOMPARE(got.p2().x(), line.p2().x());
    QCOMPARE(got.p2().y(), line.p2().y());
}

void TestMapAcquisition::exports_data() {
    QTest::addColumn<QString>("which");
    QTest::addColumn<QByteArray>("firstLines");
    QTest::newRow("bands") << "bands"
                           << QByteArray("band,dep_from,dep_to,petrol_ti_10us,gas_ti_10us,"
                                         "gap_percent,correction\r\n"
                                         "1,5,10,400,412,3,100\r\n"
                                         "2,10,15,,390,,101\r\n"
                                         "3,15,20,1021,1000,-2.1,102\r\n");
    QTest::newRow("crossings")
        << "crossings"
        << QByteArray("crossing,dep,band,ti_10us,diff_percent,diff_10us,result,column,"
                      "recorded_10us\r\n"
                      "0,35,7,350,0,0,ok,petrol,1021\r\n"
                      "1,35,7,380,9,30,rejected,,\r\n"
                      "2,3,0,380,0,0,ok,,\r\n");
}

void TestMapAcquisition::exports() {
    QFETCH(QString, which);
    QFETCH(QByteArray, firstLines);
    QByteArray csv;
    if (which == QLatin1String("bands")) {
        QStringList petrol{"400", "", "1021"}, gas{"412", "390", "1000"},
            correction{"100", "101", "102"};
        for (int i = 3; i < 20; ++i) {
            petrol << QString();
            gas << QString();
            correction << QStringLiteral("100");
        }
        csv = mapexport::bandsCsv(petrol, gas, correction);
        QCOMPARE(csv.count("\r\n"), 21);
    } else {
        MapAcquisition a;
        a.MapAcquisitionOn = true;
        MemoryImage image;
        image.set(0x00C, 0x0F);
        image.set(0x00D, 0xA0);
        Inputs in;
        in.Check1 = true;
        in.param4 = QStringLiteral("8");
        const Response lean{QStringLiteral("3.5"), QStringLiteral("35"), QStringLiteral("2000"),
                            60};
        const Response rich{QStringLiteral("3.8"), QStringLiteral("35"), QStringLiteral("2000"),
                            160};
        run(a, image, lean, in);
        run(a, image, rich, in);
        run(a, image, {QStringLiteral("3.8"), QStringLiteral("3"), QStringLiteral("2000"), 60}, in);
        csv = mapexport::crossingsCsv(a.crossings());
    }
    QCOMPARE(csv.left(firstLines.size()), firstLines);
}

QTEST_GUILESS_MAIN(TestMapAcquisition)
#include "tst_map_acquisition.moc"
