// Where the monitor's needles point and the triangle drawn for one.
#include "monitor/gauge_geometry.h"
#include "pages/data_table.h"

#include <QLineF>
#include <QTest>

#include <cmath>

class TestMonitorGauge : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void needleAngles_data() {
        columns<int, int, double>("dial", "value", "degrees");
        QTest::newRow("speed zero") << 0 << 0 << 130.0;
        QTest::newRow("speed mid") << 0 << 77 << 269.0968;
        QTest::newRow("speed full") << 0 << 155 << 410.0;
        QTest::newRow("speed past full stops") << 0 << 400 << 410.0;
        QTest::newRow("temperature zero") << 1 << 0 << 134.0;
        QTest::newRow("temperature 60 points up") << 1 << 60 << 270.0;
        QTest::newRow("pressure zero") << 2 << 0 << 138.0;
        QTest::newRow("pressure 1.5 bar points up") << 2 << 150 << 270.0;
        QTest::newRow("no lower stop") << 2 << -100 << 50.0;
    }

    void needleAngles() {
        const auto [dial, value, degrees] = fetch<int, int, double>("dial", "value", "degrees");
        const gauge::Scale scales[] = {gauge::Speed, gauge::Temperature, gauge::Pressure};
        const float angle = gauge::needleAngle(scales[dial], value);
        QVERIFY2(qAbs(angle - degrees) < 1e-3, qPrintable(QString::number(angle)));
    }

    void needleTriangle() {
        // Temperature 60 on a 190 x 184 picture box: straight up from (95, 92).
        const QPointF c(95, 92);
        QCOMPARE(gauge::centre(190, 184), c);
        QCOMPARE(gauge::centre(191, 185), QPointF(95.5, 92)); // 92.5 rounds to even
        const gauge::Needle n = gauge::needle(gauge::Temperature, 60, 190, 184);
        QVERIFY(qAbs(n.tip.x() - 95.0) < 1e-3 && qAbs(n.tip.y() - 27.0) < 1e-3);
        QVERIFY(qAbs(QLineF(c, n.tailP).length() - 20.0) < 1e-6);
        // The tail is about 6 pixels wide, behind the centre, P on the left.
        QVERIFY(qAbs(QLineF(n.tailP, n.tailQ).length() - 40.0 * std::sin(0.15)) < 1e-6);
        QVERIFY(n.tailP.y() > 111.0 && n.tailQ.y() > 111.0);
        QVERIFY(n.tailP.x() < 95.0 && n.tailQ.x() > 95.0);
    }
};

QTEST_GUILESS_MAIN(TestMonitorGauge)
#include "tst_monitor_gauge.moc"
