#include "jobs/job_texts.h"

#include "ui/captions.h"

#include <array>

namespace jobtexts {
namespace {
constexpr std::array<const char *, Count> English = {
    "No job",         "Plate or VIN",
    "New vehicle",    "New job",
    "Report...",      "Workshop...",
    "History",        "Changes",
    "Plate",          "VIN",
    "Make and model", "Year",
    "Capacity (cm³)", "Cylinders",
    "Power (kW)",     "Odometer (km)",
    "Reducer",        "Injectors",
    "Nozzle",         "Tank",
    "Conversion",     "Service",
    "Repair",         "Fitter",
    "Customer",       "Notes",
    "Cancel",         "Name and address",
    " Not stored: ",  " The job records cannot be used; the tool works without jobs: ",
};
// The menu's Save button's text in a language file.
constexpr int MenuSaveText = 6;
} // namespace

QString english(Id id) {
    return QString::fromUtf8(English.at(static_cast<std::size_t>(id)));
}

QString text(Id id) {
    return captions::numbered(FirstText + id, english(id));
}

QString kindText(Job::Kind kind) {
    switch (kind) {
    case Job::Kind::Service:
        return text(Service);
    case Job::Kind::Repair:
        return text(Repair);
    case Job::Kind::Conversion:
        break;
    }
    return text(Conversion);
}

QString save() {
    return captions::numbered(MenuSaveText, QStringLiteral("Save")).trimmed();
}

} // namespace jobtexts
