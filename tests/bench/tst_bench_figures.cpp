// The bench's arithmetic: medians and spreads of repeated windows, limits,
// the JSON scripts/bench.sh reads, and the line's bound on a poll rate.
#include "figures.h"
#include "wire.h"

#include "pages/data_table.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

class TestBenchFigures : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void spread_data() {
        columns<QList<double>, QList<double>>("samples", "medianLowHighHalf");
        row("none", QList<double>{}, QList<double>{0, 0, 0, 0});
        row("one", QList<double>{7.2}, QList<double>{7.2, 7.2, 7.2, 0});
        row("odd, unsorted", QList<double>{7.3, 7.1, 7.2}, QList<double>{7.2, 7.1, 7.3, 0.1});
        row("even: the middle two", QList<double>{4, 1, 3, 2}, QList<double>{2.5, 1, 4, 1.5});
        row("an outlier moves the spread, not the median", QList<double>{1.0, 1.0, 1.0, 1.1, 0.5},
            QList<double>{1.0, 0.5, 1.1, 0.3});
    }
    void spread() {
        const auto [samples, expected] =
            fetch<QList<double>, QList<double>>("samples", "medianLowHighHalf");
        const Spread s = spreadOf(samples);
        const QList<double> got{s.median, s.low, s.high, s.halfRange()};
        for (int i = 0; i < got.size(); ++i)
            QVERIFY2(qAbs(got[i] - expected[i]) < 1e-12, qPrintable(QString::number(i)));
    }

    void limits_data() {
        columns<QList<double>, int, double, bool>("samples", "kind", "limit", "within");
        const int most = int(Limit::Kind::AtMost);
        const int least = int(Limit::Kind::AtLeast);
        row("under the most", QList<double>{96, 99.9, 140}, most, 100.0, true);
        row("the most itself", QList<double>{100}, most, 100.0, true);
        row("over the most", QList<double>{99, 100.1, 101}, most, 100.0, false);
        row("ratio at least", QList<double>{0.98, 0.995, 1.0}, least, 0.99, true);
        row("ratio short", QList<double>{0.985, 0.989, 1.02}, least, 0.99, false);
        row("no limit", QList<double>{1e9}, int(Limit::Kind::None), 0.0, true);
    }
    void limits() {
        const auto [samples, kind, limit, within] =
            fetch<QList<double>, int, double, bool>("samples", "kind", "limit", "within");
        const Figure f{QStringLiteral("x"), {}, samples, {Limit::Kind(kind), limit}};
        QCOMPARE(f.withinLimit(), within);
    }

    void jsonHoldsEachFigureWithItsLimit() {
        Figures figures;
        figures.add(QStringLiteral("chart_rate_ratio"), {}, {1.0, 0.98, 1.01},
                    Limit::atLeast(0.99));
        figures.add(QStringLiteral("start_to_data_seconds"), QStringLiteral("s"), 2.5,
                    Limit::atMost(2.4));
        figures.add(QStringLiteral("calibration_seconds"), QStringLiteral("s"), 38.0);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("figures.json"));
        QVERIFY(figures.writeJson(path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QJsonArray list = QJsonDocument::fromJson(file.readAll())["figures"].toArray();
        QCOMPARE(list.size(), 3);
        const QJsonObject ratio = list[0].toObject();
        QCOMPARE(ratio["name"].toString(), QStringLiteral("chart_rate_ratio"));
        QCOMPARE(ratio["median"].toDouble(), 1.0);
        QCOMPARE(ratio["min"].toDouble(), 0.98);
        QCOMPARE(ratio["max"].toDouble(), 1.01);
        QCOMPARE(ratio["samples"].toInt(), 3);
        QCOMPARE(ratio["limit_kind"].toString(), QStringLiteral("at_least"));
        QCOMPARE(ratio["within_limit"].toBool(), true);
        const QJsonObject start = list[1].toObject();
        QCOMPARE(start["limit"].toDouble(), 2.4);
        QCOMPARE(start["within_limit"].toBool(), false);
        QVERIFY(!list[2].toObject().contains(QStringLiteral("limit")));
        QVERIFY(!figures.writeJson(dir.filePath(QStringLiteral("no/such/dir/f.json"))));
    }

    // 960 characters a second over 130 a poll: 7.385 polls a second at most.
    void pollRateAgainstTheLine_data() {
        columns<double, bool>("hz", "plausible");
        row("the wire's own rate", 7.38, true);
        row("timing jitter over it", 7.42, true);
        row("faster than the line", 7.43, false);
        row("a bench counting twice", 8.053, false);
    }
    void pollRateAgainstTheLine() {
        const auto [hz, plausible] = fetch<double, bool>("hz", "plausible");
        QCOMPARE(wire::plausiblePollRate(hz, "test"), plausible);
    }
};

QTEST_MAIN(TestBenchFigures)
#include "tst_bench_figures.moc"
