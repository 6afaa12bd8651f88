#pragma once

#include "settings/field_description.h"

#include <QList>
#include <QString>

#include <span>
#include <vector>

class MemoryImage;

// What differs between two configurations (the ECU's and a memory file's,
// or two files'), by setting name with both values decoded the way the
// pages show them; the tables entry by entry. Every byte of the
// configuration area, firmware copy included, is owned by exactly one line, so a
// change is reported once, and a byte no page shows is still reported by
// its address.
namespace compare {

struct Difference {
    QString setting; // "Switch-over temperature"
    QString before;  // "35 °C"
    QString after;   // "40 °C"
    int address = 0; // first byte

    // "Switch-over temperature 35 °C → 40 °C"
    QString text() const;
};

// A table of one-byte entries, shown entry by entry.
struct Table {
    const char *caption; // "Pressure coefficient"
    ecu::Range range;    // entry 0 first
    bool isSigned;
    const char *unit;
    // The entry's place as the page labels it: "0.3 bar", "entry 12".
    QString (*axis)(int entry);
};

// Every single setting, in the order: main parameters, monitor trims,
// level sensor, battery mode and block flag, lambda settings, firmware.
std::span<const fields::Field *const> settings();
// The coefficient tables, the battery table, then the two NTC tables
// (whose coolant table shares bytes with the settings above: those bytes
// are reported as the settings).
std::span<const Table> tables();

inline constexpr int AreaStart = ecu::ConfigStart;
inline constexpr int AreaEnd = ecu::ConfigEnd; // inclusive: the firmware copy

// An address as the lists show it: "0x" and three upper-case hex digits.
QString addressText(int address);

QList<Difference> differences(const MemoryImage &before, const MemoryImage &after);

} // namespace compare
