#include "pages/main_parameters_codec.h"

#include "link/memory_image.h"
#include "pages/number_format.h"

#include <QtGlobal>

namespace mainparams {

namespace {

quint8 byteOf(double value) {
    return static_cast<quint8>(number::toByteClamped(value));
}

// A signed byte: negative values as two's complement.
quint8 signedByteOf(double value) {
    return value < 0 ? byteOf(value + 256) : byteOf(value);
}

int signedValue(quint8 b) {
    return b >= 128 ? b - 256 : b;
}

void storeIndex(int index, MemoryImage &image, int address) {
    if (index >= 0)
        image.set(address, static_cast<quint8>(qMin(index, 255)));
}

} // namespace

double decodePressure(const MemoryImage &image, int address) {
    const int magnitude = image.at(address + 1);
    return image.at(address) != 0 ? (magnitude - 256) / 100.0 : magnitude / 100.0;
}

void encodePressure(double bar, MemoryImage &image, int address) {
    if (bar < 0) {
        image.set(address, 0xFF);
        image.set(address + 1, byteOf(bar * 100 + 256));
    } else {
        image.set(address, 0x00);
        image.set(address + 1, byteOf(bar * 100));
    }
}

double decodeSpeed(const MemoryImage &image) {
    const int raw = image.u16(addr::SwitchSpeed);
    return image.at(addr::InjectionType) != Sequential ? raw : 2.0 * raw;
}

void encodeSpeed(double rpm, MemoryImage &image) {
    const double n = image.at(addr::InjectionType) != Sequential ? rpm : rpm / 2;
    const int word = static_cast<int>(qBound(0.0, number::roundHalfEven(n), 65535.0));
    image.set(addr::SwitchSpeed, static_cast<quint8>(word / 256));
    image.set(addr::SwitchSpeed + 1, static_cast<quint8>(word % 256));
}

Settings decode(const MemoryImage &image) {
    Settings s;
    s.temperature = image.at(addr::SwitchTemperature);
    s.pressure = decodePressure(image, addr::SwitchPressure);
    s.pressureDelay = image.at(addr::PressureDelay);
    s.switchDelay = image.at(addr::SwitchDelay);
    s.overlapping = image.at(addr::Overlapping) * 5.0;
    s.alarmTemperature = signedValue(image.at(addr::AlarmTemperature));
    s.alarmPressure = decodePressure(image, addr::AlarmPressure);
    s.switchSpeed = decodeSpeed(image);
    s.emptyTank = image.at(addr::EmptyTank);
    s.cutOff = image.at(addr::CutOff);
    s.lambdaType = image.at(addr::LambdaType);
    s.injectionType = image.at(addr::InjectionType);
    s.switchWay = image.at(addr::SwitchWay);
    return s;
}

void encode(const Settings &s, MemoryImage &image) {
    image.set(addr::SwitchTemperature, byteOf(s.temperature));
    image.set(addr::PressureDelay, byteOf(s.pressureDelay));
    image.set(addr::SwitchDelay, byteOf(s.switchDelay));
    image.set(addr::Overlapping, byteOf(s.overlapping / 5));
    storeIndex(s.switchWay, image, addr::SwitchWay);
    storeIndex(s.injectionType, image, addr::InjectionType);
    storeIndex(s.lambdaType, image, addr::LambdaType);
    image.set(addr::CutOff, byteOf(s.cutOff));
    image.set(addr::EmptyTank, byteOf(s.emptyTank));
    image.set(addr::AlarmTemperature, signedByteOf(s.alarmTemperature));
    encodePressure(s.pressure, image, addr::SwitchPressure);
    encodePressure(s.alarmPressure, image, addr::AlarmPressure);
    encodeSpeed(s.switchSpeed, image);
}

} // namespace mainparams
