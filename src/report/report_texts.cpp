#include "report/report_texts.h"

#include <array>

namespace reporttext {

namespace {

struct Known {
    int id;
    const char *english;
};

// The texts the screens already have, as the English file gives them.
constexpr Known Shared[] = {
    {Monitor, "Monitor"}, {Parameters, "Parameters"},      {Calibration, "Calibration"},
    {Lambda, "Lambda"},   {LevelSensor, "Level sensor"},   {Bank1, "BAND 1"},
    {Bank2, "BAND 2"},    {NoDifference, "No difference"},
};

// Texts 146..170, in order.
constexpr std::array<const char *, TextCount> Own = {
    "Conversion report",
    "Printed %1",
    "Page %1 / %2",
    "Vehicle",
    "Gas kit",
    "Job",
    "Settings",
    "Tables",
    "Battery",
    "Memory file",
    "Map bands",
    "Final test",
    "Changes against the configuration first read",
    "No configuration first read: the changes cannot be listed",
    "Dates and firmware",
    "Not recorded",
    "Plate|VIN|Make|Model|Year|Capacity|Cylinders|Power|Odometer",
    "Reducer|Injectors|Nozzle|Tank|ECU firmware",
    "Date|Kind|Fitter|Customer|Notes",
    "Conversion|Service|Repair",
    "Petrol injection time (ms)|Gas injection time (ms)|Difference (ms)|Gas time (ms)|"
    "Calculated idle|Calculated load|Idle|Load|Minimum|Mean|Idle calibration|Load calibration",
    "Band|Depression|Petrol mean (ms)|Gas mean (ms)|Gas against petrol (%)|"
    "Correction applied|Not applied|Crossings",
    "Idle|Load|Cycles",
    "First read|Last written|Firmware byte|Configuration reported|Value",
    "Entry",
};

} // namespace

QString english(int id) {
    if (id >= FirstText && id <= Last)
        return QString::fromUtf8(Own.at(static_cast<std::size_t>(id - FirstText)));
    for (const Known &k : Shared) {
        if (k.id == id)
            return QString::fromUtf8(k.english);
    }
    return {};
}

QString text(const ReportData &data, int id) {
    const QString en = english(id);
    if (!data.text)
        return en;
    const QString t = data.text(id, en).trimmed();
    return t.isEmpty() ? en : t;
}

QString label(const ReportData &data, int id, int index) {
    const QStringList own = text(data, id).split(QLatin1Char('|'));
    const QString t = own.value(index).trimmed();
    return t.isEmpty() ? english(id).split(QLatin1Char('|')).value(index) : t;
}

} // namespace reporttext
