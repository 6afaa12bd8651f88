// The codings of the switch-over, alarm and sensor settings in the image
// (each field's own coding is exercised through the page's round trips).
#include "link/memory_image.h"
#include "pages/main_parameters_codec.h"

#include <QTest>

using namespace mainparams;

namespace {
// Settings that differ from an empty image in every byte.
Settings sample() {
    Settings s;
    s.temperature = 35;
    s.pressure = 0.5;
    s.pressureDelay = 20;
    s.switchDelay = 2;
    s.overlapping = 100;
    s.alarmTemperature = 15;
    s.alarmPressure = 0.4;
    s.switchSpeed = 1800;
    s.emptyTank = 100;
    s.cutOff = 40;
    s.lambdaType = 1;
    s.injectionType = 2;
    s.switchWay = 1;
    return s;
}
} // namespace

class TestMainParametersCodec : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void speedFollowsTheInjectionType_data();
    void speedFollowsTheInjectionType();
    void everySettingRoundTrips();
    void noSelectionKeepsTheByte();
    void outOfRangeValuesAreClamped();
};

void TestMainParametersCodec::speedFollowsTheInjectionType_data() {
    QTest::addColumn<int>("injection");
    QTest::addColumn<double>("rpm");
    QTest::addColumn<int>("high");
    QTest::addColumn<int>("low");
    QTest::newRow("sequential, halved") << 0 << 3000.0 << 5 << 220;
    QTest::newRow("full group") << 1 << 3000.0 << 11 << 184;
    QTest::newRow("semi sequential") << 2 << 6000.0 << 0x17 << 0x70;
    QTest::newRow("sequential, a half rounds to even") << 0 << 2551.0 << 4 << 252; // 1275.5 -> 1276
    QTest::newRow("zero") << 0 << 0.0 << 0 << 0;
}

void TestMainParametersCodec::speedFollowsTheInjectionType() {
    QFETCH(int, injection);
    QFETCH(double, rpm);
    QFETCH(int, high);
    QFETCH(int, low);
    Settings s = sample();
    s.injectionType = injection;
    s.switchSpeed = rpm;
    MemoryImage image;
    image.set(addr::InjectionType, 1); // the type stored in the same pass counts
    encode(s, image);
    QCOMPARE(int(image.at(addr::SwitchSpeed)), high);
    QCOMPARE(int(image.at(addr::SwitchSpeed + 1)), low);
    const double shown = injection == 0 ? 2.0 * (256 * high + low) : 256 * high + low;
    QCOMPARE(decode(image).switchSpeed, shown);
}

void TestMainParametersCodec::everySettingRoundTrips() {
    const Settings s = sample();
    MemoryImage image;
    encode(s, image);
    const QList<std::pair<int, int>> bytes = {
        {0x803, 35},   {0x804, 0},    {0x805, 50},  {0x806, 20}, {0x807, 2}, {0x808, 20},
        {0x809, 15},   {0x80A, 0},    {0x80B, 40},  {0x80C, 1},  {0x80D, 2}, {0xA41, 1},
        {0xA42, 0x07}, {0xA43, 0x08}, {0xA45, 100}, {0xA46, 40}};
    for (const auto &[address, value] : bytes)
        QCOMPARE(int(image.at(address)), value);
    const Settings back = decode(image);
    QCOMPARE(back.temperature, s.temperature);
    QCOMPARE(back.pressure, s.pressure);
    QCOMPARE(back.pressureDelay, s.pressureDelay);
    QCOMPARE(back.switchDelay, s.switchDelay);
    QCOMPARE(back.overlapping, s.overlapping);
    QCOMPARE(back.alarmTemperature, s.alarmTemperature);
    QCOMPARE(back.alarmPressure, s.alarmPressure);
    QCOMPARE(back.switchSpeed, s.switchSpeed);
    QCOMPARE(back.emptyTank, s.emptyTank);
    QCOMPARE(back.cutOff, s.cutOff);
    QCOMPARE(back.lambdaType, s.lambdaType);
    QCOMPARE(back.injectionType, s.injectionType);
    QCOMPARE(back.switchWay, s.switchWay);
    // 0xA44 belongs to the monitor and is never touched here.
    QCOMPARE(int(image.at(0xA44)), 0);
}

void TestMainParametersCodec::noSelectionKeepsTheByte() {
    MemoryImage image;
    image.set(addr::LambdaType, 9);
    image.set(addr::InjectionType, 7);
    image.set(addr::SwitchWay, 5);
    Settings s = sample();
    s.lambdaType = s.injectionType = s.switchWay = -1;
    encode(s, image);
    QCOMPARE(int(image.at(addr::LambdaType)), 9);
    QCOMPARE(int(image.at(addr::InjectionType)), 7);
    QCOMPARE(int(image.at(addr::SwitchWay)), 5);
    QCOMPARE(decode(image).lambdaType, 9); // the page decides what to show
}

void TestMainParametersCodec::outOfRangeValuesAreClamped() {
    Settings s = sample();
    s.temperature = 300;
    s.cutOff = -4;
    s.pressure = -0.001; // 255.9 would round to 256
    s.switchSpeed = 1e9;
    s.injectionType = 1;
    MemoryImage image;
    encode(s, image);
    QCOMPARE(int(image.at(addr::SwitchTemperature)), 255);
    QCOMPARE(int(image.at(addr::CutOff)), 0);
    QCOMPARE(int(image.at(addr::SwitchPressure + 1)), 255);
    QCOMPARE(image.u16(addr::SwitchSpeed), 65535);
}

QTEST_APPLESS_MAIN(TestMainParametersCodec)
#include "tst_main_parameters_codec.moc"
