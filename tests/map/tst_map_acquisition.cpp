// The map acquisition without a screen: crossings, log lines, bands, status, CSV.
#include "ecu/memory_image.h"
#include "pages/data_table.h"
#include "tuning/map_acquisition.h"
#include "tuning/map_curves.h"
#include "tuning/map_export.h"

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

// An acquisition switched on and the image it reads; each call is one response.
struct Bench {
    MapAcquisition a;
    MemoryImage image;
    Bench(bool on = true) { a.MapAcquisitionOn = on; }
    void setTi() {
        image.set(0x00C, 0x0F);
        image.set(0x00D, 0xA0);
    }
    MapAcquisition::Step operator()(const Response &r, Inputs in = {}) {
        image.set(0x030, quint8(r.lambda / 256));
        image.set(0x031, quint8(r.lambda % 256));
        in.txZoom = r.ti;
        in.TxzoomG = r.dep;
        in.TxRPM = r.rpm;
        if (in.param5.isEmpty())
            in.param5 = QStringLiteral("0.5");
        return a.step(in, image);
    }
};

// The log's two tests on ("1" relative, "2" absolute) and their limits.
Inputs tests(const QString &on, const QString &percent, const QString &ms = {}) {
    Inputs in;
    in.Check1 = on.contains(u'1');
    in.Check2 = on.contains(u'2');
    in.param4 = percent;
    in.param6 = ms;
    return in;
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
    void crossings_data() {
        columns<QString, QList<int>, QList<bool>>("threshold", "lambdas", "crossed"); // 1/200 V
        using B = QList<bool>;
        row("equal never crosses from rich", "0.5", QList{160, 60, 100, 100, 160},
            B{false, true, false, false, true});
        row("equal never crosses at start", "0.5", QList{100, 100, 99}, B{false, false, true});
        row("threshold read up to a comma", "0,5", QList{60, 160}, B{false, false});
    }

    void crossings() {
        const auto [threshold, lambdas, crossed] =
            fetch<QString, QList<int>, QList<bool>>("threshold", "lambdas", "crossed");
        Bench run;
        Inputs in;
        in.param5 = threshold;
        QList<bool> seen;
        for (int raw : lambdas)
            seen.append(run({.lambda = raw}, in).crossing);
        QCOMPARE(seen, crossed);
    }

    void logLine_data() {
        // count, last time, time text, Dep text, fuel byte 0x002, tests ("1" Check1,
        // "2" Check2, "-" none), param4, param6
        columns<QString, QString, int>("setup", "line", "band"); // band 0: nothing recorded
        row("the example", "12 330 3.4 35 0 12 8 0.40",
            "12 - Dep 35 index =  7 Diff % 3 Diff 0.1\r\n", 7);
        row("9 % over 8 %", "0 350 3.8 35 0 1 8 0.40",
            "0 - Dep 35 index =  7 Diff % 9 Err  No-Ok \r\n", 0);
        row("9 % admitted at 9, on gas", "0 350 3.8 35 3 1 9 0.40",
            "0 - Dep 35 index =  7 Diff % 9\r\n", 7);
        row("30 over 0.29 ms", "0 350 3.8 35 0 2 8 0.29",
            "0 - Dep 35 index =  7 Diff 0.3 Err  No-Ok \r\n", 0);
        row("falling time measured from the smaller", "0 380 3.5 35 0 12 8 0.40",
            "0 - Dep 35 index =  7 Diff % 9 Err  Diff 0.3 No-Ok \r\n", 0);
        row("half a hundredth to even, down", "0 380 3.805 35 0 2 8 0.40",
            "0 - Dep 35 index =  7 Diff 0\r\n", 7);
        row("no previous time", "0 0 3.8 35 0 12 8 0.40",
            "0 - Dep 35 index =  7 Diff % 0 Diff 0\r\n", 7);
        row("time fallen to zero", "0 350 0 35 0 - 8 0.40",
            "0 - Dep 35 index =  7 Ti 0 Err  No-Ok \r\n", 0);
        row("no tests accept anything, band 1 on gas", "0 100 3.8 5 3 - 8 0.40",
            "0 - Dep 5 index =  1\r\n", 1);
        row("Dep 3 is band 0", "5 350 3.5 3 0 - 8 0.40", "5 - Dep 3 index =  0\r\n", 0);
        row("Dep 100 is band 20", "5 350 3.5 100 3 - 8 0.40", "5 - Dep 100 index =  20\r\n", 20);
        row("Dep 105 is band 21", "5 350 3.5 105 3 - 8 0.40", "5 - Dep 105 index =  21\r\n", 0);
        row("negative Dep", "5 350 3.5 -7 0 - 8 0.40", "5 - Dep -7 index =  -2\r\n", 0);
    }

    void logLine() {
        const auto [setup, line, band] = fetch<QString, QString, int>("setup", "line", "band");
        const QStringList w = setup.split(QLatin1Char(' '));
        Bench run;
        run.a.CrossingCount = qint16(w.at(0).toInt());
        run.a.LastTi = qint16(w.at(1).toInt());
        run.image.set(0x002, quint8(w.at(4).toInt()));
        run.setTi(); // 15 x 255 + 160 = 3985 / 3.9: 1021 hundredths, not 1025
        const MapAcquisition::Step s =
            run({.ti = w.at(2), .dep = w.at(3)}, tests(w.at(5), w.at(6), w.at(7)));

        const bool accepted = !line.contains(QStringLiteral("No-Ok"));
        QCOMPARE(s.logLine, line);
        QCOMPARE(s.redraw, accepted);
        QCOMPARE(s.recorded.has_value(), band != 0);
        if (band != 0) {
            QCOMPARE(s.recorded->band, band);
            QCOMPARE(s.recorded->value, 1021);
            QCOMPARE(s.recorded->column == MapAcquisition::Column::Gas,
                     w.at(4) == QLatin1String("3"));
        }
    }

    void status_data() {
        columns<QStringList, QString, int>("answers", "status", "cutOff"); // "rpm ti lambda [*N]"
        using L = QStringList;
        row("nine quiet responses", L{"2000 3.5 160 *9"}, "", 0);
        row("ten quiet responses", L{"2000 3.5 160 *10"}, "hors controle", 0);
        row("a crossing restarts the count", L{"2000 3.5 160 *5", "2010 3.6 60", "2020 3.7 60 *9"},
            "Controle", 0);
        // The first response differs from the zero start, then 19 steady ones.
        row("nineteen steady", L{"2000 3.5 160 *20"}, "hors controle", 0);
        row("twenty steady", L{"2000 3.5 160 *21"}, "Cut OFF", 1);
        row("twenty steady, not in a row", L{"2000 3.5 160 *11", "2000 3.6 160 *11"}, "Cut OFF", 1);
        row("speed moves after cut-off", L{"2000 3.5 160 *21", "2040 3.5 160"}, "Cut OFF", 0);
        row("cut-off then a crossing", L{"2000 3.5 160 *21", "2000 3.5 60"}, "Cut OFF", 1);
    }

    void status() {
        const auto [answers, status, cutOff] =
            fetch<QStringList, QString, int>("answers", "status", "cutOff");
        Bench run;
        MapAcquisition::Step s;
        for (const Response &r : responses(answers))
            s = run(r);
        QCOMPARE(s.status, status);
        QCOMPARE(int(run.a.CutOffFlag), cutOff);
    }

    void skipsWhatIsNotANumber_data() {
        columns<QString, QString, bool>("ti", "dep", "complete");
        row("empty time at start-up", "", "35", false);
        row("number then letters", "3.5", "35abc", false);
        row("exponent", "1e3", "35", false);
        row("blanks around", " 3.5 ", " 35 ", true);
        row("decimal comma", "3,5", "-5", true);
    }

    void skipsWhatIsNotANumber() {
        const auto [ti, dep, complete] = fetch<QString, QString, bool>("ti", "dep", "complete");
        const Response r{.ti = ti, .dep = dep};
        Bench run;
        const MapAcquisition::Step s = run(r);
        QVERIFY(s.ran);
        QCOMPARE(QStringList({s.param1, s.param2, s.param3}), QStringList({ti, dep, "0.3"}));
        QCOMPARE(s.complete, complete);
        QCOMPARE(run.a.crossings().size(), complete ? 1 : 0);
    }

    // Band, value pairs (others 0); a segment of the curve.
    void curvePoints() {
        const std::tuple<QList<int>, int, QLineF> cases[] = {
            {{}, 5, QLineF(108, 310, 132, 310)}, // nothing recorded: the base line
            {{20, 500}, 0, QLineF(0, 310, 12, 250)},
            {{1, 1021, 2, 1046}, 19, QLineF(444, 184.48, 468, 187.48)}};
        for (const auto &[bands, segment, line] : cases) {
            std::array<double, 20> values{};
            for (int i = 0; i + 1 < bands.size(); i += 2)
                values.at(std::size_t(bands.at(i) - 1)) = bands.at(i + 1);
            const QList<QLineF> lines = mapcurve::segments(values);
            QCOMPARE(lines.size(), 20);
            QCOMPARE(lines.at(segment), line);
        }
    }

    void bandsCsv() {
        QStringList petrol{"400", "", "1021"}, gas{"412", "390", "1000"},
            correction{"100", "101", "102"};
        for (QStringList *column : {&petrol, &gas, &correction})
            column->resize(20);
        const QByteArray csv = mapexport::bandsCsv(petrol, gas, correction);
        QCOMPARE(csv.count("\r\n"), 21);
        const QByteArray head("band,dep_from,dep_to,petrol_ti_10us,gas_ti_10us,"
                              "gap_percent,correction\r\n"
                              "1,5,10,400,412,3,100\r\n"
                              "2,10,15,,390,,101\r\n"
                              "3,15,20,1021,1000,-2.1,102\r\n");
        QCOMPARE(csv.left(head.size()), head);
    }

    void crossingsCsv() {
        Bench run;
        run.setTi();
        const Inputs in = tests(QStringLiteral("1"), QStringLiteral("8"));
        for (const Response &r : responses({"2000 3.5 60", "2000 3.8 160"}))
            run(r, in);
        run({.ti = QStringLiteral("3.8"), .dep = QStringLiteral("3")}, in);
        QCOMPARE(mapexport::crossingsCsv(run.a.crossings()),
                 QByteArray("crossing,dep,band,ti_10us,diff_percent,diff_10us,result,column,"
                            "recorded_10us\r\n"
                            "0,35,7,350,0,0,ok,petrol,1021\r\n"
                            "1,35,7,380,9,30,rejected,,\r\n"
                            "2,3,0,380,0,0,ok,,\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestMapAcquisition)
#include "tst_map_acquisition.moc"
