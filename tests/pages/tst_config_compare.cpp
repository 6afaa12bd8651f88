// The configuration compare names exactly the settings whose bytes changed,
// both values in the pages' units, table entries one by one, a byte no page
// shows by its address; and the settings' codings both ways.
#include "ecu/memory_image.h"
#include "pages/data_table.h"
#include "settings/config_compare.h"
#include "settings/main_parameters_codec.h"

using Changes = QList<QList<int>>; // address, before, after

class TestConfigCompare : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void differences_data() {
        columns<Changes, QStringList>("changes", "expected");
        const auto row = [](const char *name, Changes changes, QStringList expected) {
            ::row(name, changes, expected);
        };
        row("live block", {{0x02C, 0, 80}}, {});
        row("word low", {{0xA43, 184, 220}}, {"Switch-over engine speed 3000 rpm → 3036 rpm"});
        row("word high", {{0xA42, 11, 12}}, {"Switch-over engine speed 3000 rpm → 3256 rpm"});
        row("flag", {{0x804, 0, 255}}, {"Switch-over pressure 2.06 bar → -0.5 bar"});
        row("magnitude", {{0x80B, 40, 250}}, {"Pressure alarm 0.4 bar → 2.5 bar"});
        // The speed's bytes stay: only the type is a change of its own.
        row("list entry", {{0x80D, 1, 2}}, {"Injection type Full groupe → Semi Sequentielle"});
        row("off list", {{0x80C, 1, 7}}, {"Lambda type 0.8 - 1.6 V → 7"});
        row("hundredths", {{0x801, 29, 30}}, {"Load trim, bank 1 0.29 → 0.3"});
        // Bytes the coolant NTC table shares with other pages are theirs.
        row("shared", {{0x83C, 0, 246}}, {"Battery correction (byte 0) 0 → -10"});
        row("NTC entry", {{0x900, 20, 236}}, {"Coolant NTC table (reading 200) 20 °C → -20 °C"});
        row("last NTC", {{0xA38, 236, 237}}, {"Gas NTC table (reading 256) -20 °C → -19 °C"});
        row("area start", {{0x800, 0, 1}}, {"Byte 0x800 0 → 1"});
        row("firmware", {{0x1000, 12, 15}}, {"Firmware 12 → 15"});
        row("settings first", {{0x812, 100, 101}, {0x803, 35, 36}, {0xFFF, 0, 9}},
            {"Switch-over temperature 35 °C → 36 °C",
             "Pressure coefficient (0.3 bar) 100 % → 101 %", "Byte 0xFFF 0 → 9"});
    }
    void differences() {
        const auto [changes, expected] = fetch<Changes, QStringList>("changes", "expected");
        // Full-group injection, the speed at 3000 rpm, the switch-over
        // pressure at 2.06 bar.
        MemoryImage a;
        for (const auto &[address, value] :
             {std::pair{0x80D, 1}, {0xA42, 11}, {0xA43, 184}, {0x805, 206}})
            a.set(address, static_cast<quint8>(value));
        MemoryImage b = a;
        for (const QList<int> &c : changes) {
            a.set(c[0], static_cast<quint8>(c[1]));
            b.set(c[0], static_cast<quint8>(c[2]));
        }
        QStringList lines;
        for (const compare::Difference &d : compare::differences(a, b))
            lines << d.text();
        QCOMPARE(lines, expected);
    }

    // Every byte of the area changed at once: each is reported exactly once.
    void everyByteHasOneOwner() {
        MemoryImage a;
        MemoryImage b;
        for (int address = compare::AreaStart; address <= compare::AreaEnd; ++address)
            b.set(address, 0x55);
        QSet<int> covered;
        for (const compare::Difference &d : compare::differences(a, b)) {
            int width = 1;
            for (const fields::Field *f : compare::settings())
                width = f->address == d.address ? fields::width(*f) : width;
            for (int i = d.address; i < d.address + width; ++i) {
                QVERIFY2(!covered.contains(i) && i >= compare::AreaStart && i <= compare::AreaEnd,
                         qPrintable(d.text()));
                covered.insert(i);
            }
        }
        QCOMPARE(covered.size(), compare::AreaEnd - compare::AreaStart + 1);
    }

    void codings_data() {
        columns<QString, double, int, QList<int>, QString>("control", "value", "injection", "bytes",
                                                           "text");
        row("overlapping 8 rounds up", "DelaySupText", 8.0, 1, QList<int>{2}, "10 ms");
        row("overlapping 12.5 halves to even", "DelaySupText", 12.5, 1, QList<int>{2}, "10 ms");
        row("speed 3001 sequential halves to even", "RPMText", 3001.0, 0, QList<int>{5, 220},
            "3000 rpm");
        row("speed 3003 sequential halves to even", "RPMText", 3003.0, 0, QList<int>{5, 222},
            "3004 rpm");
    }
    void codings() {
        const auto [control, value, injection, bytes, text] =
            fetch<QString, double, int, QList<int>, QString>("control", "value", "injection",
                                                             "bytes", "text");
        const auto found = std::ranges::find_if(ecu::MainParameters, [&](const fields::Field *f) {
            return QLatin1String(f->control) == control;
        });
        QVERIFY(found != ecu::MainParameters.end());
        const fields::Field &field = **found;
        MemoryImage image;
        image.set(0x80D, static_cast<quint8>(injection));
        fields::encode(field, value, image);
        QList<int> stored;
        for (int i = 0; i < fields::width(field); ++i)
            stored << image.at(field.address + i);
        QCOMPARE(stored, bytes);
        QCOMPARE(fields::text(field, image), text);
    }
};

QTEST_GUILESS_MAIN(TestConfigCompare)
#include "tst_config_compare.moc"
