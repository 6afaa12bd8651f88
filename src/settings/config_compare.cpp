#include "settings/config_compare.h"

#include "ecu/memory_image.h"
#include "live/monitor_decode.h"
#include "settings/battery_table.h"
#include "settings/coefficient_codec.h"
#include "settings/lambda_codec.h"
#include "settings/level_fields.h"
#include "settings/main_parameters_codec.h"
#include "settings/ntc_table.h"

#include <bitset>

namespace compare {

namespace {

using fields::Coding;
using fields::Field;

std::vector<Field> buildSettings() {
    std::vector<Field> all;
    const auto main = mainparams::settingFields();
    all.insert(all.end(), main.begin(), main.end());
    for (const live::TrimField &t : live::Trims) {
        all.push_back(t.whole ? Field{t.name, t.caption, t.address, Coding::Byte}
                              : Field{t.name, t.caption, t.address, Coding::Byte, t.perByte, 100});
    }
    all.insert(all.end(), level::SettingFields.begin(), level::SettingFields.end());
    all.push_back({"TxVbatType", "Battery correction mode", battery::ModeAddress, Coding::ListIndex,
                   1, 1, "", battery::ModeTexts});
    all.push_back({"TxBloque", "Blocking value", battery::BlockFlagAddress, Coding::Byte});
    // The lambda page shows its corrections unsigned until the fitter
    // ticks the negative-delta box, which is not kept in the ECU.
    for (int i = 0; i < lambda::FieldCount; ++i) {
        const lambda::FieldInfo &f = lambda::info(static_cast<lambda::Field>(i));
        all.push_back({f.name, f.meaning, f.address,
                       f.kind == lambda::Kind::Word ? Coding::Word : Coding::Byte});
    }
    // A memory file keeps the firmware byte of the ECU it was made from
    // after the configuration.
    all.push_back({"", "Firmware", AreaEnd, Coding::Byte});
    return all;
}

QString barAxis(int entry) {
    return CoefficientCodec::axisLabel(CoefficientCodec::Table::Pressure, entry + 1) +
           QStringLiteral(" bar");
}
QString degreeAxis(int entry) {
    return CoefficientCodec::axisLabel(CoefficientCodec::Table::GasTemperature, entry + 1) +
           QStringLiteral(" \u00b0C");
}
// The NTC pages label entry i as i + 1, the battery page as i.
QString readingAxis(int entry) {
    return QStringLiteral("reading %1").arg(entry + 1);
}
QString byteAxis(int entry) {
    return QStringLiteral("byte %1").arg(entry);
}

const Table Tables[] = {
    {"Pressure coefficient", CoefficientCodec::PressureBase + 1, CoefficientCodec::Entries, false,
     "%", barAxis},
    {"Gas-temperature coefficient", CoefficientCodec::GasTemperatureBase + 1,
     CoefficientCodec::Entries, false, "%", degreeAxis},
    {"Battery correction", battery::TableBase, battery::Entries, true, "", byteAxis},
    {"Coolant NTC table", ntc::CoolantBase, ntc::Entries, true, "\u00b0C", readingAxis},
    {"Gas NTC table", ntc::GasBase, ntc::Entries, true, "\u00b0C", readingAxis},
};

QString entryText(const Table &t, quint8 b) {
    const int v = t.isSigned ? ntc::signedValue(b) : b;
    const QString unit = QString::fromUtf8(t.unit);
    return QString::number(v) + (unit.isEmpty() ? QString() : QLatin1Char(' ') + unit);
}

} // namespace

QString addressText(int address) {
    return QStringLiteral("0x") + QString::number(address, 16).toUpper().rightJustified(3, u'0');
}

QString Difference::text() const {
    return setting + QLatin1Char(' ') + before + QStringLiteral(" \u2192 ") + after;
}

std::span<const Field> settings() {
    static const std::vector<Field> all = buildSettings();
    return all;
}

std::span<const Table> tables() {
    return Tables;
}

QList<Difference> differences(const MemoryImage &a, const MemoryImage &b) {
    QList<Difference> out;
    std::bitset<MemoryImage::Size> owned;
    for (const Field &f : settings()) {
        for (int i = 0; i < fields::width(f); ++i)
            owned.set(static_cast<std::size_t>(f.address + i));
        if (fields::differs(f, a, b)) {
            out.append(
                {QString::fromUtf8(f.caption), fields::text(f, a), fields::text(f, b), f.address});
        }
    }
    for (const Table &t : tables()) {
        for (int i = 0; i < t.entries; ++i) {
            const int address = t.base + i;
            if (owned.test(static_cast<std::size_t>(address)))
                continue;
            owned.set(static_cast<std::size_t>(address));
            if (a.at(address) != b.at(address)) {
                out.append({QString::fromUtf8(t.caption) + QStringLiteral(" (") + t.axis(i) +
                                QLatin1Char(')'),
                            entryText(t, a.at(address)), entryText(t, b.at(address)), address});
            }
        }
    }
    for (int address = AreaStart; address <= AreaEnd; ++address) {
        if (!owned.test(static_cast<std::size_t>(address)) && a.at(address) != b.at(address)) {
            out.append({QStringLiteral("Byte ") + addressText(address),
                        QString::number(a.at(address)), QString::number(b.at(address)), address});
        }
    }
    return out;
}

} // namespace compare
