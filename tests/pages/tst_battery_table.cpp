// The battery table's computations: entry and mode coding, and the
// straight-line link between two entries.
#include "link/memory_image.h"
#include "pages/battery_table.h"

#include <QTest>

namespace {
// Writes signed values from entry `first` on.
void put(MemoryImage &image, int first, const QList<int> &values) {
    for (int i = 0; i < values.size(); ++i)
        image.set(battery::TableBase + first + i, static_cast<quint8>(values[i] & 0xFF));
}

QList<int> entries(const MemoryImage &image, int first, int count) {
    QList<int> out;
    for (int i = first; i < first + count; ++i)
        out.append(battery::entry(image, i));
    return out;
}
} // namespace

class TestBatteryTable : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void entryByte_data();
    void entryByte();
    void everyEntryRoundTrips();
    void modeByte_data();
    void modeByte();
    void modeOption();
    void interpolate_data();
    void interpolate();
    void refusedIndicesChangeNothing_data();
    void refusedIndicesChangeNothing();
};

void TestBatteryTable::entryByte_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("byte"); // -1: refused
    QTest::newRow("-10") << -10.0 << 0xF6;
    QTest::newRow("0") << 0.0 << 0;
    QTest::newRow("127") << 127.0 << 127;
    QTest::newRow("-128") << -128.0 << 0x80;
    QTest::newRow("a small negative rounds to 0") << -0.3 << 0;
    QTest::newRow("half to even") << -2.5 << 0xFE;
    QTest::newRow("128 refused") << 128.0 << -1;
    QTest::newRow("-129 refused") << -129.0 << -1;
    QTest::newRow("127.5 rounds out") << 127.5 << -1;
}

void TestBatteryTable::entryByte() {
    QFETCH(double, value);
    QFETCH(int, byte);
    const std::optional<quint8> b = battery::entryByte(value);
    QCOMPARE(b ? int(*b) : -1, byte);
}

void TestBatteryTable::everyEntryRoundTrips() {
    MemoryImage image;
    for (int v = -128; v <= 127; ++v) {
        const int i = (v + 128) % battery::Entries;
        image.set(battery::TableBase + i, *battery::entryByte(v));
        QCOMPARE(battery::entry(image, i), v);
    }
}

void TestBatteryTable::modeByte_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("byte");
    QTest::newRow("OFF") << 0.0 << 0;
    QTest::newRow("ADD") << 1.0 << 1;
    QTest::newRow("% TI") << 2.0 << 2;
    QTest::newRow("3 refused") << 3.0 << -1;
    QTest::newRow("-1 refused") << -1.0 << -1;
    QTest::newRow("300 refused") << 300.0 << -1;
    QTest::newRow("1.4 is 1") << 1.4 << 1;
}

void TestBatteryTable::modeByte() {
    QFETCH(double, value);
    QFETCH(int, byte);
    const std::optional<quint8> b = battery::modeByte(value);
    QCOMPARE(b ? int(*b) : -1, byte);
}

void TestBatteryTable::modeOption() {
    QCOMPARE(battery::modeOption(0), 0);
    QCOMPARE(battery::modeOption(2), 2);
    QCOMPARE(battery::modeOption(3), 0);
    QCOMPARE(battery::modeOption(255), 0);
}

void TestBatteryTable::interpolate_data() {
    QTest::addColumn<QList<int>>("before"); // from entry `first`
    QTest::addColumn<int>("first");
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("end");
    QTest::addColumn<QList<int>>("after");
    QTest::newRow("rising") << QList<int>{0, 9, 9, 9, 9, 9, 9, 9, 9, 9, 10} << 10 << 10.0 << 20.0
                            << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    QTest::newRow("ends exchanged") << QList<int>{0, 9, 9, 9, 9, 9, 9, 9, 9, 9, 10} << 10 << 20.0
                                    << 10.0 << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    QTest::newRow("falling, rounded down")
        << QList<int>{10, 50, 50, 0} << 0 << 0.0 << 3.0 << QList<int>{10, 6, 3, 0};
    QTest::newRow("negative line") << QList<int>{-10, 0, 0, 0, 0, -20} << 30 << 30.0 << 35.0
                                   << QList<int>{-10, -12, -14, -16, -18, -20};
    QTest::newRow("equal ends") << QList<int>{5, 1, 7} << 5 << 5.0 << 5.0 << QList<int>{5, 1, 7};
    QTest::newRow("whole table") << QList<int>{-128} << 0 << 0.0 << 66.0
                                 << QList<int>{-128, -127, -125};
    QTest::newRow("start with a fraction")
        << QList<int>{0, 0, 0, 0, 0, 10} << 10 << 10.4 << 15.0 << QList<int>{-1, 1, 3, 5, 7, 9};
    QTest::newRow("fraction below the bottom is held")
        << QList<int>{-128, 0, 0, 0, 0, 127} << 10 << 10.4 << 15.0
        << QList<int>{-128, -95, -40, 16, 71, 127};
    // The slope is held in single precision: 10/3 comes out a little short,
    // so the last point, rounded down, lands one below its old value.
    QTest::newRow("single-precision slope")
        << QList<int>{0, 5, 5, 10} << 0 << 0.0 << 3.0 << QList<int>{0, 3, 6, 9};
}

void TestBatteryTable::interpolate() {
    QFETCH(QList<int>, before);
    QFETCH(int, first);
    QFETCH(double, start);
    QFETCH(double, end);
    QFETCH(QList<int>, after);
    MemoryImage image;
    image.set(battery::BlockFlagAddress, 1);
    image.set(battery::TableBase + 66, 0); // entry 66 for the whole-table row
    put(image, first, before);
    const battery::LinkResult result = battery::interpolate(image, start, end);
    QCOMPARE(result, start == end ? battery::LinkResult::SameEnds : battery::LinkResult::Done);
    QCOMPARE(entries(image, first, static_cast<int>(after.size())), after);
    QCOMPARE(int(image.at(battery::BlockFlagAddress)), 1); // never beyond the table
    QCOMPARE(int(image.at(battery::ModeAddress)), 0);
}

void TestBatteryTable::refusedIndicesChangeNothing_data() {
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("end");
    QTest::newRow("end beyond the table") << 60.0 << 67.0;
    QTest::newRow("start beyond the table") << 67.0 << 10.0;
    QTest::newRow("start rounding to 67") << 66.6 << 60.0;
    QTest::newRow("negative start") << -1.0 << 10.0;
    QTest::newRow("negative end") << 5.0 << -3.0;
}

void TestBatteryTable::refusedIndicesChangeNothing() {
    QFETCH(double, start);
    QFETCH(double, end);
    MemoryImage image;
    for (int a = battery::ModeAddress; a <= battery::BlockFlagAddress; ++a)
        image.set(a, 0x33);
    const MemoryImage before = image;
    QCOMPARE(battery::interpolate(image, start, end), battery::LinkResult::OutOfRange);
    QVERIFY(image.bytes() == before.bytes());
}

QTEST_APPLESS_MAIN(TestBatteryTable)
#include "tst_battery_table.moc"
