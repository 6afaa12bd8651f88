#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>

class MemoryImage;
class MessageTable;

// One poll answer as numbers, decoded the way the monitor shows it: the
// record a drive log keeps and a chart plots.
namespace live {

struct Sample {
    qint64 ms = 0;     // since the start of the record
    int fuelState = 0; // 0 petrol, 1 waiting for gas, 3 gas
    int speed = 0;     // rpm as shown (doubled for sequential injection)
    std::array<double, 8> petrolMs{};
    std::array<double, 8> gasMs{};
    int vaporiserC = 0;
    int gasC = 0;
    double pressureBar = 0; // as TextPression shows it (no 10 bar cut)
    double lambdaV = 0;
    int alarms = 0; // the alarm byte
    double batteryV = 0;
    int levelImmediate = 0;
    int levelAverage = 0;
};

Sample sampleOf(const MemoryImage &image, qint64 ms);

// The columns of a drive log, each named with its unit. The chart plots
// them by these names.
namespace column {
inline constexpr const char *Time = "time_ms";
inline constexpr const char *FuelState = "fuel_state";
inline constexpr const char *Fuel = "fuel";
inline constexpr const char *Speed = "speed_rpm";
inline constexpr const char *Vaporiser = "vaporiser_temp_c";
inline constexpr const char *GasTemp = "gas_temp_c";
inline constexpr const char *Pressure = "pressure_bar";
inline constexpr const char *Lambda = "lambda_v";
QString petrol(int cylinder); // "petrol_1_ms" for cylinders 1..8
QString gas(int cylinder);    // "gas_1_ms"
} // namespace column

QStringList csvColumns();
// The header line, ended by a line feed.
QByteArray csvHeader();
// One row, ended by a line feed. Decimal numbers always with a point, so
// the comma stays the field separator whatever the desktop's separator.
QByteArray csvRow(const Sample &sample, const QString &fuelText);

// A quantity the chart plots: its log column, caption with unit, and value.
struct Channel {
    const char *column;
    const char *caption;
    double (*value)(const Sample &sample);
};
// Engine speed, petrol and gas injection times of cylinder 1, lambda,
// pressure, vaporiser and gas temperatures.
const std::array<Channel, 7> &chartChannels();

// The fuel state's text as the monitor shows it (message 13, 14 or 15);
// for a state without a text the previous one stays, as on the screen.
QString fuelText(const MessageTable &messages, int state, const QString &previous);

} // namespace live
