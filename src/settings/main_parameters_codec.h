#pragma once

#include "settings/field_description.h"

class MemoryImage;

// The switch-over, alarm and sensor settings of the main parameters page as
// numbers, and their codings in the ECU memory image.
namespace mainparams {

// The entries as the page's choice lists show them.
using ecu::InjectionTypeTexts;
using ecu::LambdaTypeTexts;
using ecu::Sequential;
using ecu::SwitchWayTexts;

struct Settings {
    double temperature = 0;      // switch-over coolant temperature, deg C
    double pressure = 0;         // switch-over gas pressure, bar (-1 .. 2.5)
    double pressureDelay = 0;    // pressure alarm delay
    double switchDelay = 0;      // delay before switch-over
    double overlapping = 0;      // fuel overlapping, ms
    double alarmTemperature = 0; // temperature alarm, deg C (signed)
    double alarmPressure = 0;    // pressure alarm, bar
    double switchSpeed = 0;      // switch-over engine speed, rpm
    double emptyTank = 0;        // empty-tank delay
    double cutOff = 0;           // deceleration cut-off delay
    // List indexes; -1 (no selection) leaves the byte in the image as it is.
    int lambdaType = -1;
    int injectionType = -1;
    int switchWay = -1;
};

// Every setting from the image. The list indexes are the bytes as they
// stand, possibly beyond their list.
Settings decode(const MemoryImage &image);

// Every setting into the image, in the order the ECU's upload has always
// used: the engine speed's coding reads the injection type stored just
// before it. Values outside what a byte holds are clamped to it.
void encode(const Settings &settings, MemoryImage &image);

} // namespace mainparams
