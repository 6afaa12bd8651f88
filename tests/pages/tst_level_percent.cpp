// The level as a percentage of the sensor's range, and the five lamps.
#include "pages/level_percent.h"

#include <QTest>

using namespace level;

class TestLevelPercent : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void percent_data();
    void percent();
    void emptyRangeKeepsTheText();
    void lamps_data();
    void lamps();
};

void TestLevelPercent::percent_data() {
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<double>("reading");
    QTest::addColumn<double>("expected");
    // Minimum byte above maximum byte: the reference is the maximum.
    QTest::newRow("200..50 at the maximum") << 200.0 << 50.0 << 50.0 << 0.0;
    QTest::newRow("200..50 at the minimum") << 200.0 << 50.0 << 200.0 << 100.0;
    QTest::newRow("200..50 beyond the maximum") << 200.0 << 50.0 << 20.0 << -20.0;
    // Minimum byte below maximum byte: the reference is the minimum, which
    // shows 0 although the formula would give 100.
    QTest::newRow("50..200 at the minimum") << 50.0 << 200.0 << 50.0 << 0.0;
    QTest::newRow("50..200 at the maximum") << 50.0 << 200.0 << 200.0 << 0.0;
    QTest::newRow("empty range at its end") << 90.0 << 90.0 << 90.0 << 0.0;
}

void TestLevelPercent::percent() {
    QFETCH(double, minimum);
    QFETCH(double, maximum);
    QFETCH(double, reading);
    QFETCH(double, expected);
    const Range range{minimum, maximum, int(minimum), int(maximum)};
    const auto p = level::percent(range, reading);
    QVERIFY(p.has_value());
    QVERIFY2(qAbs(*p - expected) < 1e-9, qPrintable(QString::number(*p, 'g', 17)));
}

void TestLevelPercent::emptyRangeKeepsTheText() {
    QVERIFY(!level::percent({90, 90, 90, 90}, 100).has_value());
    QVERIFY(!level::percent({0, 0, 0, 0}, 5).has_value());
}

void TestLevelPercent::lamps_data() {
    QTest::addColumn<double>("level");
    QTest::addColumn<QList<int>>("colours");
    using namespace level::lamp;
    // thresholds: 1/4 at 7, 1/2 at 30, 3/4 at 50, full at 83
    QTest::newRow("empty") << 0.0 << QList<int>{GreenOff, GreenOff, GreenOff, GreenOff, RedOn};
    QTest::newRow("at 1/4") << 7.0 << QList<int>{GreenOff, GreenOff, GreenOff, GreenOn, RedOn};
    QTest::newRow("above 1/4") << 7.5 << QList<int>{GreenOff, GreenOff, GreenOff, GreenOn, RedOff};
    QTest::newRow("at 1/2") << 30.0 << QList<int>{GreenOff, GreenOff, GreenOn, GreenOn, RedOff};
    QTest::newRow("below 3/4") << 49.9 << QList<int>{GreenOff, GreenOff, GreenOn, GreenOn, RedOff};
    QTest::newRow("at full") << 83.0 << QList<int>{GreenOn, GreenOn, GreenOn, GreenOn, RedOff};
}

void TestLevelPercent::lamps() {
    QFETCH(double, level);
    QFETCH(QList<int>, colours);
    const auto got = level::lamps(level, {7, 30, 50, 83});
    QCOMPARE(QList<int>(got.begin(), got.end()), colours);
}

QTEST_APPLESS_MAIN(TestLevelPercent)
#include "tst_level_percent.moc"
