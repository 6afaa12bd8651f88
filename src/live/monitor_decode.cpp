#include "live/monitor_decode.h"

#include "ecu/memory_image.h"
#include "settings/number_format.h"

#include <cmath>

namespace live {

namespace {
constexpr int Green = 49152;
constexpr int Red = 255;
constexpr int Orange = 33023;
constexpr int RichLambdaTwips = 2340;

int rounded(double value) {
    return static_cast<int>(number::roundHalfEven(value));
}

// Levels the fitter typed are compared in hundredths, so 0.29 and 29
// hundredths are the same level whatever the binary fraction says.
long long hundredths(double value) {
    return std::llround(value * 100.0);
}
} // namespace

int s8(int byte) {
    return byte >= 128 ? byte - 256 : byte;
}

int hi255(const MemoryImage &image, int address) {
    return ecu::liveblock::InjectionHighWeight * image.at(address) + image.at(address + 1);
}

int displayedSpeed(const MemoryImage &image) {
    const int raw = image.u16(addr::Speed);
    return image.at(addr::InjectionType) == 0 ? raw * 2 : raw;
}

int speedBarTwips(const MemoryImage &image) {
    const int raw = image.u16(addr::Speed);
    return image.at(addr::InjectionType) == 0 ? raw : raw / 2;
}

int speedGaugeValue(double speed) {
    return static_cast<int>(std::floor(speed / 45.0));
}

int temperatureGaugeValue(double celsius) {
    return qMax(0, rounded(celsius));
}

QString pressureCaption(int hundredths) {
    const QString text = number::formatPoint(hundredths / 100.0);
    return number::parse(text) > 10.0 ? QStringLiteral("0") : text;
}

int pressureGaugeValue(double bar) {
    return rounded(bar * 100.0);
}

double injectionMs(int raw) {
    return std::floor(raw / ecu::liveblock::InjectionDivisor) / 100.0;
}

int injectionBarTwips(int raw) {
    return rounded(raw / 4.7);
}

int temperatureBarTwips(double celsius) {
    const int w = rounded(celsius + 20.0);
    return w < 1 ? 0 : w * 22;
}

int pressureBarTwips(double bar) {
    return rounded(rounded((bar + 1.0) * 100.0) * 8.5);
}

int lambdaBarTwips(int raw, int lambdaType) {
    int gain = 25;
    int offset = 0;
    if (lambdaType == 1)
        offset = -4000;
    if (lambdaType == 2)
        gain = 5;
    const int w = raw * gain + offset;
    return w < 1 ? 0 : w;
}

int lambdaBarColour(int widthTwips) {
    return widthTwips > RichLambdaTwips ? Red : Green;
}

int sensorColour(double value, double alarmLevel, double switchLevel) {
    if (hundredths(value) < hundredths(alarmLevel))
        return Red;
    if (hundredths(value) < hundredths(switchLevel))
        return Orange;
    return Green;
}

int fuelStateMessage(int state) {
    switch (state) {
    case 0:
        return 13;
    case 1:
        return 14;
    case 3:
        return 15;
    default:
        return 0;
    }
}

QString trimText(const TrimField &field, int byte) {
    if (field.whole)
        return number::format(byte);
    return number::formatPoint(byte * field.perByte / 100.0);
}

int trimByte(const TrimField &field, double value) {
    if (field.whole)
        return number::toByteClamped(value);
    return number::toByteClamped(value * 100.0 / field.perByte);
}

QString limitText(const TrimField &field) {
    return field.whole ? QString::number(field.limit)
                       : QString::number(field.limit / 100.0, 'f', 2);
}

QString validatedTrimText(const TrimField &field, const QString &text) {
    const double value = number::parse(text);
    const double n = number::roundHalfEven(field.whole ? value : value * 100.0);
    QString out = text;
    if (n < 0)
        out = QStringLiteral("0");
    else if (n > field.limit)
        out = limitText(field);
    if (out.size() >= 5 && !out.startsWith(QLatin1Char('.')))
        out.truncate(4);
    return out;
}

QString extraTimeMsText(double raw) {
    return number::formatPoint(std::floor(raw * 4096.0 / 100.0) / 1000.0);
}

} // namespace live
