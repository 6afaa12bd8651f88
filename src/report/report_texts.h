#pragma once

#include "report/report_data.h"

#include <QString>
#include <QStringList>

// The report's words in the tool's language. The report's own texts are
// texts 146..170 of a language file; headings the screens already have
// (the page names, "Calibration", the banks, "No difference") are taken from the texts the screens
// use.
//
// A few texts hold a row of labels separated by "|" (a language file's
// text may hold no comma): "Plate|VIN|Make|...". A translation that gives
// fewer labels keeps the English ones for the rest.
namespace reporttext {

enum Id : int {
    // Texts the screens already show.
    Monitor = 2,
    Parameters = 3,
    Calibration = 4,
    Lambda = 18,
    LevelSensor = 54,
    Bank1 = 104,
    Bank2 = 105,
    NoDifference = 129,
    // The report's own.
    Title = 146,
    Printed, // %1: date and time
    PageOf,  // %1: page, %2: pages
    VehicleTitle,
    GasKit,
    JobTitle,
    Settings,
    Tables,
    Battery,
    MemoryFile,
    MapBands,
    FinalTest,
    Changes,
    NoFirstRead,
    Dates,
    NotRecorded,
    VehicleLabels,
    KitLabels,
    JobLabels,
    JobKinds,
    CalibrationLabels,
    MapLabels,
    FinalTestLabels,
    DateLabels,
    Entry,
    Last = Entry
};

inline constexpr int FirstText = Title;
inline constexpr int TextCount = Last - FirstText + 1;

// Positions in the label rows.
enum VehicleLabel { Plate, Vin, Make, Model, Year, Capacity, Cylinders, Power, Odometer };
enum KitLabel { Reducer, Injectors, Nozzle, Tank, EcuFirmware };
enum JobLabel { JobDate, Kind, Fitter, Customer, Notes };
enum CalibrationLabel {
    PetrolTime,
    GasTime,
    TimeDifference,
    GasInjection,
    CalculatedIdle,
    CalculatedLoad,
    Idle,
    Load,
    Minimum,
    Mean,
    IdleCalibration,
    LoadCalibration
};
enum MapLabel { Band, Depression, PetrolMean, GasMean, Gap, Applied, NotApplied, Crossings };
enum FinalTestLabel { TestIdle, TestLoad, Cycles };
enum DateLabel { FirstReadAt, LastWrittenAt, FirmwareByte, Source, Value };

// The English text numbered id.
QString english(int id);

// Text id in the data's language (English when it has none).
QString text(const ReportData &data, int id);
// Label index of the row of labels id.
QString label(const ReportData &data, int id, int index);

} // namespace reporttext
