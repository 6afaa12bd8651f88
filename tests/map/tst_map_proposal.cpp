// Band statistics, the proposed "Dep" correction and the curves' gaps.
#include "tuning/band_stats.h"
#include "tuning/map_curves.h"
#include "tuning/map_proposal.h"

#include <QTest>

#include <cmath>
#include <limits>

using Column = MapAcquisition::Column;

class TestMapProposal : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    // Values in 0.01 ms; count, mean, spread, trusted.
    void bandStatistics() {
        const QDateTime t0(QDate(2026, 5, 4), QTime(10, 0, 0));
        const struct {
            QList<double> values;
            int count;
            double mean, spread;
            bool reliable;
        } cases[] = {{{}, 0, 0, 0, false},
                     {{1000}, 1, 1000, 0, false},
                     {{1000, 1040}, 2, 1020, 28.2842712, false},
                     {{1000, 1020, 1040}, 3, 1020, 20, true},
                     {{990, 1010, 1000, 1040}, 4, 1010, 21.6024690, true}};
        for (const auto &c : cases) {
            BandStats stats;
            for (int i = 0; i < c.values.size(); ++i)
                stats.add(7, Column::Gas, c.values.at(i), t0.addSecs(i));
            const BandStats::Band &b = stats.at(7, Column::Gas);
            QCOMPARE(b.count, c.count);
            QCOMPARE(b.mean, c.mean);
            QVERIFY(std::abs(b.spread() - c.spread) < 1e-6);
            QCOMPARE(b.reliable(), c.reliable);
            QCOMPARE(b.lastFilled, c.values.isEmpty() ? QDateTime() : t0.addSecs(c.count - 1));
            QCOMPARE(stats.at(7, Column::Petrol).count, 0); // the other fuel untouched
        }
    }

    // Load trim 1.25, petrol 10.00 ms: the entry moves by (gas / petrol - 1)
    // times the whole factor, halves to even, at most 10 points.
    void boundedStep() {
        const struct {
            int current;
            double gas;
            int proposed;
        } cases[] = {{100, 1072, 109}, {100, 1080, 110}, {100, 1100, 110}, {100, 1020, 102},
                     {100, 1060, 108}, {100, 1000, 100}, {100, 920, 90},   {100, 900, 90},
                     {104, 1020, 107}, {250, 1100, 255}, {80, 1040, 90},   {80, 900, 80}};
        for (const auto &c : cases)
            QCOMPARE(mapproposal::corrected(c.current, 1.25, 1000, c.gas), c.proposed);
    }

    // Band 3 trusted on both fuels, band 4 with two gas crossings, band 5 on
    // petrol only: only entry 3 moves.
    void onlyTrustedBandsPropose() {
        BandStats stats;
        for (int i = 0; i < 3; ++i) {
            for (int band : {3, 4, 5})
                stats.add(band, Column::Petrol, 800, {});
            stats.add(3, Column::Gas, 840, {});
            if (i < 2)
                stats.add(4, Column::Gas, 900, {});
        }
        std::array<int, 20> current{};
        current.fill(100);
        const auto entries = mapproposal::propose(current, 1.25, stats);
        const QList<int> hasData{3};
        for (int n = 1; n <= 20; ++n) {
            const mapproposal::Entry &e = entries.at(std::size_t(n - 1));
            QCOMPARE(e.hasData, hasData.contains(n));
            QCOMPARE(e.proposed, n == 3 ? 106 : 100); // 40 / 800 x 125 = 6.25
            QCOMPARE(e.difference(), n == 3 ? 6 : 0);
        }
    }

    // Bands 20, 19 and 17 filled: lines to 20 and from 20 to 19 only.
    void emptyBandsLeaveGaps() {
        std::array<double, 20> values{};
        values.fill(std::numeric_limits<double>::quiet_NaN());
        values.at(19) = 500;
        values.at(18) = 1000;
        values.at(16) = 1000;
        const QList<QLineF> lines = mapcurve::segments(values);
        QCOMPARE(lines, QList<QLineF>({QLineF(0, 310, 12, 250), QLineF(12, 250, 36, 190)}));
    }
};

QTEST_GUILESS_MAIN(TestMapProposal)
#include "tst_map_proposal.moc"
