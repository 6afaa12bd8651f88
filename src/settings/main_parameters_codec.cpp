#include "settings/main_parameters_codec.h"

#include "ecu/memory_image.h"

#include <array>
#include <stdexcept>

namespace mainparams {

namespace {

// Where each setting's value lives in Settings: a number, or a list index.
struct Member {
    const ecu::Field *field;
    double Settings::*value;
    int Settings::*index;
};
constexpr std::array<Member, 13> Members = {{
    {&ecu::field::SwitchTemperature, &Settings::temperature, nullptr},
    {&ecu::field::PressureDelay, &Settings::pressureDelay, nullptr},
    {&ecu::field::SwitchDelay, &Settings::switchDelay, nullptr},
    {&ecu::field::Overlapping, &Settings::overlapping, nullptr},
    {&ecu::field::SwitchWay, nullptr, &Settings::switchWay},
    {&ecu::field::InjectionType, nullptr, &Settings::injectionType},
    {&ecu::field::LambdaType, nullptr, &Settings::lambdaType},
    {&ecu::field::CutOff, &Settings::cutOff, nullptr},
    {&ecu::field::EmptyTank, &Settings::emptyTank, nullptr},
    {&ecu::field::AlarmTemperature, &Settings::alarmTemperature, nullptr},
    {&ecu::field::SwitchPressure, &Settings::pressure, nullptr},
    {&ecu::field::AlarmPressure, &Settings::alarmPressure, nullptr},
    {&ecu::field::SwitchSpeed, &Settings::switchSpeed, nullptr},
}};

const Member &memberOf(const ecu::Field *field) {
    for (const Member &m : Members) {
        if (m.field == field)
            return m;
    }
    throw std::logic_error("a main parameter without its place in Settings");
}

} // namespace

Settings decode(const MemoryImage &image) {
    Settings s;
    for (const ecu::Field *f : ecu::MainParameters) {
        const Member &m = memberOf(f);
        const double v = fields::decode(*f, image);
        if (m.value)
            s.*m.value = v;
        else
            s.*m.index = static_cast<int>(v);
    }
    return s;
}

void encode(const Settings &s, MemoryImage &image) {
    // In the map's order, the order the upload has always stored them.
    for (const ecu::Field *f : ecu::MainParameters) {
        const Member &m = memberOf(f);
        fields::encode(*f, m.value ? s.*m.value : s.*m.index, image);
    }
}

} // namespace mainparams
