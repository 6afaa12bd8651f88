// The memory map: every setting in its own bytes inside the configuration
// area, its limits and scale stored and read back by the codec, and the
// small helpers over the live block and the firmware copy.
#include "ecu/live_block.h"
#include "ecu/memory_image.h"
#include "ecu/memory_map.h"
#include "live/monitor_decode.h"
#include "pages/data_table.h"
#include "settings/field_description.h"

#include <bitset>

using Bytes = QList<int>;
Q_DECLARE_METATYPE(const ecu::Field *)

namespace {
Bytes stored(const ecu::Field &f, const MemoryImage &image) {
    Bytes out;
    for (int i = 0; i < ecu::width(f); ++i)
        out << image.at(f.address + i);
    return out;
}
} // namespace

class TestMemoryMap : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    // No byte belongs to two settings; all lie in the configuration area,
    // on the wire but for the firmware copy.
    void settingsOwnTheirBytes() {
        std::bitset<MemoryImage::Size> owned;
        for (const ecu::Field *f : ecu::settings()) {
            const bool copy = f == &ecu::field::Firmware;
            QVERIFY2(f->address >= ecu::ConfigStart, f->caption);
            QVERIFY2(ecu::lastAddress(*f) <= (copy ? ecu::FirmwareCopy : ecu::WireEnd), f->caption);
            for (int a = f->address; a <= ecu::lastAddress(*f); ++a) {
                QVERIFY2(!owned.test(std::size_t(a)), f->caption);
                owned.set(std::size_t(a));
            }
            QVERIFY2(f->min <= f->max, f->caption);
        }
        QCOMPARE(ecu::settings().size(), std::size_t(13 + 5 + 7 + 2 + 11 + 1));
        // The schedule ends where the final test begins; the coolant table
        // runs over the bank-2 trims and the battery settings, as meant.
        QCOMPARE(ecu::Schedule.last() + 1, ecu::FinalTest.address);
        QVERIFY(ecu::CoolantNtc.contains(ecu::field::LoadTrimB.address));
        QVERIFY(ecu::CoolantNtc.contains(ecu::field::BlockFlag.address));
    }

    // Each numeric setting at its limits, and one step beyond each: the
    // limit is stored and read back as it is; beyond it the bytes never
    // wrap round to a value inside the range.
    void limitsRoundTrip() {
        for (const ecu::Field *f : ecu::settings()) {
            if (f->coding == ecu::Coding::ListIndex)
                continue;
            for (const auto &[limit, outward] : {std::pair{f->min, -f->step}, {f->max, f->step}}) {
                MemoryImage image;
                fields::encode(*f, limit, image);
                QVERIFY2(qFuzzyCompare(1 + fields::decode(*f, image), 1 + limit), f->caption);
                fields::encode(*f, limit + outward, image);
                const double beyond = fields::decode(*f, image);
                QVERIFY2(outward < 0 ? beyond <= limit : beyond >= limit, f->caption);
            }
        }
    }

    void bytesAtLimits_data() {
        columns<const ecu::Field *, double, Bytes>("field", "value", "bytes");
        row("pressure low", &ecu::field::SwitchPressure, -1.0, Bytes{255, 156});
        row("pressure high", &ecu::field::SwitchPressure, 2.5, Bytes{0, 250});
        row("alarm temperature low", &ecu::field::AlarmTemperature, -20.0, Bytes{236});
        row("overlapping high", &ecu::field::Overlapping, 1000.0, Bytes{200});
        row("speed high, sequential", &ecu::field::SwitchSpeed, 6000.0, Bytes{11, 184});
        row("cut-off beyond", &ecu::field::CutOff, 256.0, Bytes{255});
        row("idle trim high", &ecu::field::IdleTrim, 5.10, Bytes{255});
        row("lambda speed high", &ecu::field::LambdaSpeed, 32767.0, Bytes{127, 255});
    }
    void bytesAtLimits() {
        const auto [field, value, bytes] =
            fetch<const ecu::Field *, double, Bytes>("field", "value", "bytes");
        MemoryImage image;
        fields::encode(*field, value, image);
        QCOMPARE(stored(*field, image), bytes);
    }

    // The monitor's trims are views of their rows.
    void trimViews() {
        QStringList limits;
        for (const live::TrimField &t : live::Trims)
            limits << live::limitText(t);
        QCOMPARE(limits, (QStringList{"5.10", "2.55", "5.10", "2.55", "255"}));
        QCOMPARE(live::Trims[1].address, 0x801);
        QCOMPARE(live::trimByte(live::Trims[0], 0.58), 29);
    }

    void helpers() {
        using ecu::liveblock::isLiveAnswer;
        QVERIFY(isLiveAnswer(0x000, 55) && isLiveAnswer(0x000, 57));
        QVERIFY(!isLiveAnswer(0x000, 52) && !isLiveAnswer(0x000, 1) && !isLiveAnswer(0x037, 16));

        MemoryImage image;
        image.set(0x000, 15);
        QVERIFY(!ecu::firmwareMatches(image));
        ecu::stampFirmware(image);
        QCOMPARE(image.at(0x1000), 15);
        QVERIFY(ecu::firmwareMatches(image));
    }
};

QTEST_GUILESS_MAIN(TestMemoryMap)
#include "tst_memory_map.moc"
