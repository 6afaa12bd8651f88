#include "settings/main_parameters_codec.h"

#include "ecu/memory_image.h"

namespace mainparams {

namespace {

using fields::Coding;
using fields::Field;

constexpr std::array<Field, 13> Fields = {{
    {"TemperatureText", "Switch-over temperature", addr::SwitchTemperature, Coding::Byte, 1, 1,
     "°C"},
    {"CoPressionText", "Pressure alarm delay", addr::PressureDelay, Coding::Byte},
    {"DelayComText", "Delay before switch-over", addr::SwitchDelay, Coding::Byte},
    {"DelaySupText", "Fuel overlapping", addr::Overlapping, Coding::Byte, 5, 1, "ms"},
    {"ComboCommutation", "Way of switch-over", addr::SwitchWay, Coding::ListIndex, 1, 1, "",
     SwitchWayTexts},
    {"ComboInjection", "Injection type", addr::InjectionType, Coding::ListIndex, 1, 1, "",
     InjectionTypeTexts},
    {"ComboLambda", "Lambda type", addr::LambdaType, Coding::ListIndex, 1, 1, "", LambdaTypeTexts},
    {"TxCutOff", "Deceleration cut-off delay", addr::CutOff, Coding::Byte},
    {"TxTank", "Empty-tank delay", addr::EmptyTank, Coding::Byte},
    {"ALTemperatureText", "Temperature alarm", addr::AlarmTemperature, Coding::Signed, 1, 1, "°C"},
    {"PressionText", "Switch-over pressure", addr::SwitchPressure, Coding::FlagMagnitude, 1, 100,
     "bar"},
    {"ALPressionText", "Pressure alarm", addr::AlarmPressure, Coding::FlagMagnitude, 1, 100, "bar"},
    {"RPMText", "Switch-over engine speed", addr::SwitchSpeed, Coding::EngineSpeed, 1, 1, "rpm"},
}};

// Where each row's value lives in Settings: a number, or a list index.
struct Member {
    double Settings::*value;
    int Settings::*index;
};
constexpr std::array<Member, 13> Members = {{
    {&Settings::temperature, nullptr},
    {&Settings::pressureDelay, nullptr},
    {&Settings::switchDelay, nullptr},
    {&Settings::overlapping, nullptr},
    {nullptr, &Settings::switchWay},
    {nullptr, &Settings::injectionType},
    {nullptr, &Settings::lambdaType},
    {&Settings::cutOff, nullptr},
    {&Settings::emptyTank, nullptr},
    {&Settings::alarmTemperature, nullptr},
    {&Settings::pressure, nullptr},
    {&Settings::alarmPressure, nullptr},
    {&Settings::switchSpeed, nullptr},
}};

} // namespace

std::span<const fields::Field> settingFields() {
    return Fields;
}

Settings decode(const MemoryImage &image) {
    Settings s;
    for (std::size_t i = 0; i < Fields.size(); ++i) {
        const double v = fields::decode(Fields[i], image);
        if (Members[i].value)
            s.*Members[i].value = v;
        else
            s.*Members[i].index = static_cast<int>(v);
    }
    return s;
}

void encode(const Settings &s, MemoryImage &image) {
    for (std::size_t i = 0; i < Fields.size(); ++i) {
        const double v = Members[i].value ? s.*Members[i].value : s.*Members[i].index;
        fields::encode(Fields[i], v, image);
    }
}

} // namespace mainparams
