// The configuration compare: from two images differing in chosen bytes it
// names exactly the settings whose bytes changed, with both values in the
// pages' units; table entries one by one; a byte shared by a setting and
// an NTC entry once; a byte no page shows by its address. And the field
// descriptions' codings both ways.
#include "link/memory_image.h"
#include "pages/config_compare.h"
#include "pages/main_parameters_codec.h"

#include <QTest>

struct Change {
    int address;
    int before;
    int after;
};
using Changes = QList<Change>;
Q_DECLARE_METATYPE(Changes)

namespace {
// A plausible configuration: full-group injection, the speed at 3000 rpm.
MemoryImage baseImage() {
    MemoryImage image;
    const std::pair<int, int> bytes[] = {
        {0x803, 35}, {0x804, 0},   {0x805, 206}, {0x808, 2},  {0x809, 10}, {0x80A, 0},
        {0x80B, 40}, {0x80C, 1},   {0x80D, 1},   {0x80E, 3},  {0xA42, 11}, {0xA43, 184},
        {0x801, 29}, {0x802, 100}, {0x812, 100}, {0x828, 90}, {0x882, 2},  {0x883, 0},
        {0x900, 20}, {0xA38, 236}, {0x1000, 12}, {0x83B, 1}};
    for (const auto &[address, value] : bytes)
        image.set(address, static_cast<quint8>(value));
    return image;
}
} // namespace

class TestConfigCompare : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void differences_data();
    void differences();
    void everyByteHasOneOwner();
    void codings_data();
    void codings();
};

void TestConfigCompare::differences_data() {
    QTest::addColumn<Changes>("changes");
    QTest::addColumn<QStringList>("expected");
    auto row = [](const char *name, Changes changes, QStringList expected) {
        QTest::newRow(name) << changes << expected;
    };
    row("identical", {}, {});
    row("live block is not configuration", {{0x02C, 0, 80}}, {});
    row("single byte", {{0x803, 35, 40}}, {u"Switch-over temperature 35 °C → 40 °C"_qs});
    row("byte of 5 ms", {{0x808, 2, 200}}, {u"Fuel overlapping 10 ms → 1000 ms"_qs});
    row("signed byte", {{0x809, 10, 236}}, {u"Temperature alarm 10 °C → -20 °C"_qs});
    row("16-bit low byte", {{0xA43, 184, 220}},
        {u"Switch-over engine speed 3000 rpm → 3036 rpm"_qs});
    row("16-bit high byte", {{0xA42, 11, 12}},
        {u"Switch-over engine speed 3000 rpm → 3256 rpm"_qs});
    row("flag turns negative", {{0x804, 0, 255}}, {u"Switch-over pressure 2.06 bar → -0.5 bar"_qs});
    row("magnitude", {{0x80B, 40, 250}}, {u"Pressure alarm 0.4 bar → 2.5 bar"_qs});
    // The speed's bytes stay: only the type is a change of its own.
    row("list entry", {{0x80D, 1, 2}}, {u"Injection type Full groupe → Semi Sequentielle"_qs});
    row("list entry beyond the list", {{0x80C, 1, 7}}, {u"Lambda type 0.8 - 1.6 V → 7"_qs});
    row("trim in hundredths", {{0x801, 29, 30}}, {u"Load trim, bank 1 0.29 → 0.3"_qs});
    row("idle trim in two hundredths", {{0x802, 100, 101}}, {u"Idle trim, bank 1 2 → 2.02"_qs});
    row("level threshold", {{0xA3E, 0, 50}}, {u"Level threshold 1/2 0 → 50"_qs});
    row("battery mode", {{0x83B, 1, 2}}, {u"Battery correction mode ADD ( x2 ) → % TI"_qs});
    row("pressure table entry", {{0x812, 100, 105}},
        {u"Pressure coefficient (0.3 bar) 100 % → 105 %"_qs});
    row("gas temperature table entry", {{0x828, 90, 255}},
        {u"Gas-temperature coefficient (25 °C) 90 % → 255 %"_qs});
    // Bytes the coolant NTC table shares with other pages are theirs.
    row("battery entry over the NTC table", {{0x83C, 0, 246}},
        {u"Battery correction (byte 0) 0 → -10"_qs});
    row("bank 2 trim over the NTC table", {{0x839, 0, 100}}, {u"Load trim, bank 2 0 → 1"_qs});
    row("lambda word", {{0x883, 0, 1}}, {u"Voltage lambda pour Activation (RICH) 512 → 513"_qs});
    row("NTC entry of its own", {{0x900, 20, 236}},
        {u"Coolant NTC table (reading 200) 20 °C → -20 °C"_qs});
    row("last gas NTC entry", {{0xA38, 236, 237}},
        {u"Gas NTC table (reading 256) -20 °C → -19 °C"_qs});
    row("byte no page shows", {{0x80E, 3, 4}}, {u"Byte 0x80E 3 → 4"_qs});
    row("first byte of the area", {{0x800, 0, 1}}, {u"Byte 0x800 0 → 1"_qs});
    row("firmware copy", {{0x1000, 12, 15}}, {u"Firmware 12 → 15"_qs});
    row("several, settings first", {{0x812, 100, 101}, {0x803, 35, 36}, {0xFFF, 0, 9}},
        {u"Switch-over temperature 35 °C → 36 °C"_qs,
         u"Pressure coefficient (0.3 bar) 100 % → 101 %"_qs, u"Byte 0xFFF 0 → 9"_qs});
}

void TestConfigCompare::differences() {
    QFETCH(Changes, changes);
    QFETCH(QStringList, expected);
    MemoryImage a = baseImage();
    for (const Change &c : changes)
        a.set(c.address, static_cast<quint8>(c.before));
    MemoryImage b = a;
    for (const Change &c : changes)
        b.set(c.address, static_cast<quint8>(c.after));
    QStringList lines;
    for (const compare::Difference &d : compare::differences(a, b))
        lines << d.text();
    QCOMPARE(lines, expected);
}

// Every byte of the area changed at once: each is reported exactly once.
void TestConfigCompare::everyByteHasOneOwner() {
    MemoryImage a;
    MemoryImage b;
    for (int address = compare::AreaStart; address <= compare::AreaEnd; ++address)
        b.set(address, 0x55);
    const QList<compare::Difference> all = compare::differences(a, b);
    QSet<int> seen;
    int bytes = 0;
    for (const compare::Difference &d : all) {
        QVERIFY2(!seen.contains(d.address), qPrintable(d.text()));
        seen.insert(d.address);
        int width = 1;
        for (const fields::Field &f : compare::settings()) {
            if (f.address == d.address)
                width = fields::width(f);
        }
        bytes += width;
    }
    QCOMPARE(bytes, compare::AreaEnd - compare::AreaStart + 1);
}

void TestConfigCompare::codings_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("injection");
    QTest::addColumn<QList<int>>("bytes");
    QTest::addColumn<QString>("text");
    auto row = [](const char *name, const char *control, double value, int injection,
                  QList<int> bytes, const char *text) {
        QTest::newRow(name) << QString::fromLatin1(control) << value << injection << bytes
                            << QString::fromUtf8(text);
    };
    row("pressure -0.5", "PressionText", -0.5, 1, {255, 206}, "-0.5 bar");
    row("pressure -1", "PressionText", -1, 1, {255, 156}, "-1 bar");
    row("pressure 2.5", "PressionText", 2.5, 1, {0, 250}, "2.5 bar");
    row("alarm -20", "ALTemperatureText", -20, 1, {236}, "-20 °C");
    row("overlapping 7 -> 1", "DelaySupText", 7, 1, {1}, "5 ms");
    row("overlapping 12.5 halves to even", "DelaySupText", 12.5, 1, {2}, "10 ms");
    row("speed sequential", "RPMText", 3000, 0, {5, 220}, "3000 rpm");
    row("speed full group", "RPMText", 3000, 1, {11, 184}, "3000 rpm");
    row("speed 3001 sequential halves to even", "RPMText", 3001, 0, {5, 220}, "3000 rpm");
    row("speed 3003 sequential halves to even", "RPMText", 3003, 0, {5, 222}, "3004 rpm");
    row("temperature clamped", "TemperatureText", 300, 1, {255}, "255 °C");
}

void TestConfigCompare::codings() {
    QFETCH(QString, control);
    QFETCH(double, value);
    QFETCH(int, injection);
    QFETCH(QList<int>, bytes);
    QFETCH(QString, text);
    const fields::Field *field = nullptr;
    for (const fields::Field &f : mainparams::settingFields()) {
        if (QLatin1String(f.control) == control)
            field = &f;
    }
    QVERIFY(field);
    MemoryImage image;
    image.set(0x80D, static_cast<quint8>(injection));
    fields::encode(*field, value, image);
    QList<int> stored;
    for (int i = 0; i < fields::width(*field); ++i)
        stored << image.at(field->address + i);
    QCOMPARE(stored, bytes);
    QCOMPARE(fields::text(*field, image), text);
}

QTEST_GUILESS_MAIN(TestConfigCompare)
#include "tst_config_compare.moc"
