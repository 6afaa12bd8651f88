// What the monitor shows for chosen bytes of the live block, and where the
// needles of its dials point: pure computations, no widget.
#include "link/memory_image.h"
#include "monitor/gauge_geometry.h"
#include "monitor/monitor_decode.h"

#include <QLineF>
#include <QTest>

namespace {
constexpr int Green = 49152;
constexpr int Red = 255;
} // namespace

class TestMonitorDecode : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void injectionTimes_data();
    void injectionTimes();
    void engineSpeed_data();
    void engineSpeed();
    void pressure_data();
    void pressure();
    void lambdaBar_data();
    void lambdaBar();
    void trimValidation_data();
    void trimValidation();
    void extraTimeInMilliseconds_data();
    void extraTimeInMilliseconds();
    void needleAngles_data();
    void needleAngles();
    void needleTriangle();
    void dialCentre();
};

void TestMonitorDecode::injectionTimes_data() {
    QTest::addColumn<int>("high");
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("raw");
    QTest::addColumn<double>("ms");
    QTest::addColumn<int>("barTwips");
    // 15 x 255 + 160 (the multiplier is 255); Int(3985 / 3.9) = 1021.
    QTest::newRow("0x0F 0xA0") << 0x0F << 0xA0 << 3985 << 10.21 << 848;
    QTest::newRow("zero") << 0 << 0 << 0 << 0.0 << 0;
    QTest::newRow("one step") << 0 << 4 << 4 << 0.01 << 1;
    QTest::newRow("all ones") << 255 << 255 << 65280 << 167.38 << 13889;
}

void TestMonitorDecode::injectionTimes() {
    QFETCH(int, high);
    QFETCH(int, low);
    QFETCH(int, raw);
    QFETCH(double, ms);
    QFETCH(int, barTwips);
    MemoryImage image;
    image.set(0x00C, static_cast<quint8>(high));
    image.set(0x00D, static_cast<quint8>(low));
    QCOMPARE(live::hi255(image, 0x00C), raw);
    QCOMPARE(live::injectionMs(raw), ms);
    QCOMPARE(live::injectionBarTwips(raw), barTwips);
}

void TestMonitorDecode::engineSpeed_data() {
    QTest::addColumn<int>("injectionType");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("barTwips");
    QTest::addColumn<int>("gauge");
    QTest::newRow("sequential 1500") << 0 << 1500 << 3000 << 1500 << 66;
    QTest::newRow("other 1500") << 1 << 1500 << 1500 << 750 << 33;
    QTest::newRow("other 801") << 2 << 801 << 801 << 400 << 17;
    QTest::newRow("sequential top of dial") << 0 << 3488 << 6976 << 3488 << 155;
    QTest::newRow("stopped") << 0 << 0 << 0 << 0 << 0;
}

void TestMonitorDecode::engineSpeed() {
    QFETCH(int, injectionType);
    QFETCH(int, stored);
    QFETCH(int, shown);
    QFETCH(int, barTwips);
    QFETCH(int, gauge);
    MemoryImage image;
    image.set(0x80D, static_cast<quint8>(injectionType));
    image.set(0x008, static_cast<quint8>(stored >> 8));
    image.set(0x009, static_cast<quint8>(stored & 0xFF));
    QCOMPARE(live::displayedSpeed(image), shown);
    QCOMPARE(live::speedBarTwips(image), barTwips);
    QCOMPARE(live::speedGaugeValue(shown), gauge);
}

void TestMonitorDecode::pressure_data() {
    QTest::addColumn<int>("hundredths");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("gauge");
    QTest::addColumn<int>("barTwips");
    QTest::newRow("10.5 bar is over the dial's limit") << 1050 << "0" << 0 << 9775;
    QTest::newRow("10 bar stays") << 1000 << "10" << 1000 << 9350;
    QTest::newRow("10.01 bar, half twips round to even") << 1001 << "0" << 0 << 9358;
    QTest::newRow("1.5 bar") << 150 << "1.5" << 150 << 2125;
    QTest::newRow("1.23 bar") << 123 << "1.23" << 123 << 1896;
    QTest::newRow("0.29 bar") << 29 << "0.29" << 29 << 1096;
    QTest::newRow("empty") << 0 << "0" << 0 << 850;
}

void TestMonitorDecode::pressure() {
    QFETCH(int, hundredths);
    QFETCH(QString, caption);
    QFETCH(int, gauge);
    QFETCH(int, barTwips);
    QCOMPARE(live::pressureCaption(hundredths), caption);
    QCOMPARE(live::pressureGaugeValue(caption.toDouble()), gauge);
    // The sensor bar takes the unlimited pressure.
    QCOMPARE(live::pressureBarTwips(hundredths / 100.0), barTwips);
}

void TestMonitorDecode::lambdaBar_data() {
    QTest::addColumn<int>("raw");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("barTwips");
    QTest::addColumn<int>("colour");
    QTest::newRow("0-1 V, 0.5 V is rich") << 100 << 0 << 2500 << Red;
    QTest::newRow("0-1 V, 0.45 V") << 90 << 0 << 2250 << Green;
    QTest::newRow("0.8-1.6 V below its start") << 100 << 1 << 0 << Green;
    QTest::newRow("0.8-1.6 V, 1.2 V") << 240 << 1 << 2000 << Green;
    QTest::newRow("0-5 V, 2.5 V") << 500 << 2 << 2500 << Red;
    QTest::newRow("5-0 V keeps the 0-1 V scale") << 100 << 3 << 2500 << Red;
    QTest::newRow("2340 twips is not yet rich") << 468 << 2 << 2340 << Green;
    QTest::newRow("no signal") << 0 << 0 << 0 << Green;
}

void TestMonitorDecode::lambdaBar() {
    QFETCH(int, raw);
    QFETCH(int, type);
    QFETCH(int, barTwips);
    QFETCH(int, colour);
    QCOMPARE(live::lambdaBarTwips(raw, type), barTwips);
    QCOMPARE(live::lambdaBarColour(barTwips), colour);
}

void TestMonitorDecode::trimValidation_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    const int ralenti = 0, charge = 1, extra = 4;
    QTest::newRow("2.56 load") << charge << "2.56"
                               << "2.55";
    QTest::newRow("400 load") << charge << "400"
                              << "2.55";
    QTest::newRow("huge load") << charge << "99999999"
                               << "2.55";
    QTest::newRow("negative load") << charge << "-0.01"
                                   << "0";
    QTest::newRow("1.234 is cut") << charge << "1.234"
                                  << "1.23";
    QTest::newRow(".1234 is left") << charge << ".1234"
                                   << ".1234";
    QTest::newRow("2.55 stays") << charge << "2.55"
                                << "2.55";
    QTest::newRow("5.12 idle") << ralenti << "5.12"
                               << "5.10";
    QTest::newRow("5.1 idle stays") << ralenti << "5.1"
                                    << "5.1";
    QTest::newRow("empty stays") << ralenti << ""
                                 << "";
    QTest::newRow("256 extra") << extra << "256"
                               << "255";
    QTest::newRow("255.4 extra rounds down") << extra << "255.4"
                                             << "255.";
    QTest::newRow("12.345 extra is cut") << extra << "12.345"
                                         << "12.3";
    QTest::newRow("100 extra") << extra << "100"
                               << "100";
}

void TestMonitorDecode::trimValidation() {
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QCOMPARE(live::validatedTrimText(live::Trims[std::size_t(field)], typed), kept);
}

void TestMonitorDecode::extraTimeInMilliseconds_data() {
    QTest::addColumn<double>("raw");
    QTest::addColumn<QString>("ms");
    QTest::newRow("100") << 100.0 << "4.096";
    QTest::newRow("20") << 20.0 << "0.819";
    QTest::newRow("21") << 21.0 << "0.86";
    QTest::newRow("0") << 0.0 << "0";
    QTest::newRow("255") << 255.0 << "10.444";
}

void TestMonitorDecode::extraTimeInMilliseconds() {
    QFETCH(double, raw);
    QFETCH(QString, ms);
    QCOMPARE(live::extraTimeMsText(raw), ms);
}

void TestMonitorDecode::needleAngles_data() {
    QTest::addColumn<int>("dial");
    QTest::addColumn<int>("value");
    QTest::addColumn<double>("degrees");
    QTest::newRow("speed zero") << 0 << 0 << 130.0;
    QTest::newRow("speed mid") << 0 << 77 << 130.0 + 280.0 / 155.0 * 77.0;
    QTest::newRow("speed full") << 0 << 155 << 410.0;
    QTest::newRow("speed past full") << 0 << 400 << 410.0;
    QTest::newRow("temperature zero") << 1 << 0 << 134.0;
    QTest::newRow("temperature 60 points up") << 1 << 60 << 270.0;
    QTest::newRow("temperature full") << 1 << 120 << 406.0;
    QTest::newRow("temperature past full") << 1 << 127 << 406.0;
    QTest::newRow("pressure zero") << 2 << 0 << 138.0;
    QTest::newRow("pressure 1.5 bar points up") << 2 << 150 << 270.0;
    QTest::newRow("pressure full") << 2 << 300 << 402.0;
    QTest::newRow("pressure 10 bar") << 2 << 1000 << 402.0;
    QTest::newRow("no lower stop") << 2 << -100 << 50.0;
}

void TestMonitorDecode::needleAngles() {
    QFETCH(int, dial);
    QFETCH(int, value);
    QFETCH(double, degrees);
    const gauge::Scale scales[] = {gauge::Speed, gauge::Temperature, gauge::Pressure};
    QVERIFY2(qAbs(gauge::needleAngle(scales[dial], value) - degrees) < 1e-3,
             qPrintable(QString::number(gauge::needleAngle(scales[dial], value))));
}

void TestMonitorDecode::needleTriangle() {
    // Temperature 60 on a 190 x 184 picture box: straight up from (95, 92).
    const gauge::Needle n = gauge::needle(gauge::Temperature, 60, 190, 184);
    const QPointF c(95, 92);
    QVERIFY(qAbs(n.tip.x() - 95.0) < 1e-3);
    QVERIFY(qAbs(n.tip.y() - 27.0) < 1e-3);
    QVERIFY(qAbs(QLineF(c, n.tailP).length() - 20.0) < 1e-6);
    QVERIFY(qAbs(QLineF(c, n.tailQ).length() - 20.0) < 1e-6);
    // The tail is about 6 pixels wide, 20 pixels behind the centre.
    QVERIFY(qAbs(QLineF(n.tailP, n.tailQ).length() - 40.0 * std::sin(0.15)) < 1e-6);
    QVERIFY(n.tailP.y() > 92.0 + 19.0 && n.tailQ.y() > 92.0 + 19.0);
    // P lies 3.3 rad clockwise of the tip: on screen, left of the tail's centre line.
    QVERIFY(n.tailP.x() < 95.0 && n.tailQ.x() > 95.0);

    // Speed zero: 130 degrees, down and to the left.
    const gauge::Needle zero = gauge::needle(gauge::Speed, 0, 190, 184);
    QVERIFY(zero.tip.x() < 95.0 && zero.tip.y() > 92.0);
    QVERIFY(qAbs(QLineF(c, zero.tip).length() - 65.0) < 1e-6);
}

void TestMonitorDecode::dialCentre() {
    QCOMPARE(gauge::centre(190, 184), QPointF(95, 92));
    QCOMPARE(gauge::centre(191, 185), QPointF(95.5, 92)); // 92.5 rounds to even
    QCOMPARE(gauge::centre(186, 181), QPointF(93, 90));
}

QTEST_GUILESS_MAIN(TestMonitorDecode)
#include "tst_monitor_decode.moc"
