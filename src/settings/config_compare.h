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
// configuration area 0x800..0x1000 is owned by exactly one line, so a
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
    int base;            // entry 0
    int entries;
    bool isSigned;
    const char *unit;
    // The entry's place as the page labels it: "0.3 bar", "entry 12".
    QString (*axis)(int entry);
};

// Every single setting, in the order: main parameters, monitor trims,
// level sensor, battery mode and block flag, lambda settings, firmware.
std::span<const fields::Field> settings();
// The coefficient tables, the battery table, then the two NTC tables
// (whose coolant table shares bytes with the settings above: those bytes
// are reported as the settings).
std::span<const Table> tables();

inline constexpr int AreaStart = 0x800;
inline constexpr int AreaEnd = 0x1000; // inclusive: the firmware copy

// "0x80E": an address as the lists show it.
QString addressText(int address);

QList<Difference> differences(const MemoryImage &before, const MemoryImage &after);

} // namespace compare
