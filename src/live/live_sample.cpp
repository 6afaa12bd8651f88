#include "live/live_sample.h"

#include "ecu/memory_image.h"
#include "link/message_table.h"
#include "live/monitor_decode.h"
#include "settings/battery_table.h"
#include "settings/level_percent.h"
#include "settings/number_format.h"

namespace live {

Sample sampleOf(const MemoryImage &image, qint64 ms) {
    Sample s;
    s.ms = ms;
    s.fuelState = image.at(addr::FuelState);
    s.speed = displayedSpeed(image);
    for (int i = 0; i < 8; ++i) {
        s.petrolMs[static_cast<std::size_t>(i)] =
            injectionMs(hi255(image, addr::PetrolTimes + 2 * i));
        s.gasMs[static_cast<std::size_t>(i)] = injectionMs(hi255(image, addr::GasTimes + 2 * i));
    }
    s.vaporiserC = s8(image.at(addr::WaterTemp));
    s.gasC = s8(image.at(addr::GasTemp));
    s.pressureBar = image.u16(addr::Pressure) / addr::PressureDivisor;
    s.lambdaV = image.u16(addr::Lambda) / addr::LambdaDivisor;
    s.alarms = image.at(addr::Alarms);
    s.batteryV = battery::volts(image.at(battery::LiveVoltage));
    s.levelImmediate = image.at(level::addr::Immediate);
    s.levelAverage = image.at(level::addr::Average);
    return s;
}

namespace column {
QString petrol(int cylinder) {
    return QStringLiteral("petrol_%1_ms").arg(cylinder);
}
QString gas(int cylinder) {
    return QStringLiteral("gas_%1_ms").arg(cylinder);
}
} // namespace column

QStringList csvColumns() {
    QStringList names{QLatin1String(column::Time), QLatin1String(column::FuelState),
                      QLatin1String(column::Fuel), QLatin1String(column::Speed)};
    for (int c = 1; c <= 8; ++c)
        names << column::petrol(c);
    for (int c = 1; c <= 8; ++c)
        names << column::gas(c);
    names << QLatin1String(column::Vaporiser) << QLatin1String(column::GasTemp)
          << QLatin1String(column::Pressure) << QLatin1String(column::Lambda)
          << QStringLiteral("alarm_temperature") << QStringLiteral("alarm_pressure")
          << QStringLiteral("start_on_gas") << QStringLiteral("battery_v")
          << QStringLiteral("level_immediate") << QStringLiteral("level_average");
    return names;
}

QByteArray csvHeader() {
    return csvColumns().join(QLatin1Char(',')).toLatin1() + '\n';
}

namespace {
QByteArray decimal(double value) {
    return number::formatPoint(value).toLatin1();
}

QByteArray flag(int alarms, int bit) {
    return (alarms & bit) ? QByteArrayLiteral("1") : QByteArrayLiteral("0");
}

// A text field of the row: quoted when it holds a separator or a quote.
QByteArray textField(const QString &text) {
    QByteArray utf8 = text.toUtf8();
    if (!utf8.contains(',') && !utf8.contains('"') && !utf8.contains('\n'))
        return utf8;
    return '"' + utf8.replace("\"", "\"\"") + '"';
}
} // namespace

QByteArray csvRow(const Sample &s, const QString &fuelText) {
    QByteArrayList f;
    f.reserve(36);
    f << QByteArray::number(s.ms) << QByteArray::number(s.fuelState) << textField(fuelText)
      << QByteArray::number(s.speed);
    for (double ms : s.petrolMs)
        f << decimal(ms);
    for (double ms : s.gasMs)
        f << decimal(ms);
    f << QByteArray::number(s.vaporiserC) << QByteArray::number(s.gasC) << decimal(s.pressureBar)
      << decimal(s.lambdaV) << flag(s.alarms, alarm::Temperature) << flag(s.alarms, alarm::Pressure)
      << flag(s.alarms, alarm::StartOnGas) << decimal(s.batteryV)
      << QByteArray::number(s.levelImmediate) << QByteArray::number(s.levelAverage);
    return f.join(',') + '\n';
}

const std::array<Channel, 7> &chartChannels() {
    static const std::array<Channel, 7> channels = {{
        {column::Speed, "Engine speed (rpm)", [](const Sample &s) { return double(s.speed); }},
        {"petrol_1_ms", "Petrol injection 1 (ms)", [](const Sample &s) { return s.petrolMs[0]; }},
        {"gas_1_ms", "Gas injection 1 (ms)", [](const Sample &s) { return s.gasMs[0]; }},
        {column::Lambda, "Lambda (V)", [](const Sample &s) { return s.lambdaV; }},
        {column::Pressure, "Gas pressure (bar)", [](const Sample &s) { return s.pressureBar; }},
        {column::Vaporiser, "Vaporiser temperature (\u00b0C)",
         [](const Sample &s) { return double(s.vaporiserC); }},
        {column::GasTemp, "Gas temperature (\u00b0C)",
         [](const Sample &s) { return double(s.gasC); }},
    }};
    return channels;
}

QString fuelText(const MessageTable &messages, int state, const QString &previous) {
    const int message = fuelStateMessage(state);
    return message ? messages[message] : previous;
}

} // namespace live
