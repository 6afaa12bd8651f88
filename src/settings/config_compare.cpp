#include "settings/config_compare.h"

#include "ecu/memory_image.h"
#include "settings/coefficient_codec.h"
#include "settings/ntc_table.h"

#include <bitset>

namespace compare {

namespace {

using fields::Field;

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
    {"Pressure coefficient", ecu::PressureCoefficients, false, "%", barAxis},
    {"Gas-temperature coefficient", ecu::GasTemperatureCoefficients, false, "%", degreeAxis},
    {"Battery correction", ecu::BatteryCorrections, true, "", byteAxis},
    {"Coolant NTC table", ecu::CoolantNtc, true, "\u00b0C", readingAxis},
    {"Gas NTC table", ecu::GasNtc, true, "\u00b0C", readingAxis},
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

std::span<const Field *const> settings() {
    return ecu::settings();
}

std::span<const Table> tables() {
    return Tables;
}

QList<Difference> differences(const MemoryImage &a, const MemoryImage &b) {
    QList<Difference> out;
    std::bitset<MemoryImage::Size> owned;
    for (const Field *f : settings()) {
        for (int i = 0; i < fields::width(*f); ++i)
            owned.set(static_cast<std::size_t>(f->address + i));
        if (fields::differs(*f, a, b)) {
            out.append({QString::fromUtf8(f->caption), fields::text(*f, a), fields::text(*f, b),
                        f->address});
        }
    }
    for (const Table &t : tables()) {
        for (int i = 0; i < t.range.length; ++i) {
            const int address = t.range.address + i;
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
