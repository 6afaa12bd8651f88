#pragma once

#include "ecu/memory_map.h"

#include <QString>

class MemoryImage;

// The emission test schedule the ECU keeps: 50 steps, each
// a time in seconds, an idle value, a load value and a state.
namespace schedule {

inline constexpr int EntryCount = ecu::ScheduleSteps;
inline constexpr int VisibleRows = 18;                      // rows of the screen's grid
inline constexpr int LastScroll = EntryCount - VisibleRows; // 32: the grid shows entries 33..50
inline constexpr int FirstAddress = ecu::Schedule.address;
inline constexpr int LastAddress = ecu::Schedule.last();

// BlockTable entries 15..19 hold the schedule; a transfer that runs up to
// this end carries all of it (a whole-memory one stops after entry 15, in
// the middle of the times).
inline constexpr int ScheduleBlockEnd = 20;
// Entry 19 of those reads the states: 51 bytes, one past the schedule into
// the final test's first sign flag. A write of the schedule stops at
// its last byte, LastAddress.

enum class Column { Time, Idle, Load, State };
inline constexpr Column Columns[] = {Column::Time, Column::Idle, Column::Load, Column::State};

// Largest value a column takes: 9999 s, 510 (idle, stored halved), 255, 1.
int limit(Column column);
// Address of the column's (first) byte for entry 0..49.
int address(Column column, int entry);

// The value shown for an entry: time high byte first, idle doubled.
int decode(const MemoryImage &image, Column column, int entry);
// Stores a value already within 0..limit(column): the time as two bytes,
// high first, the idle value halved (halves to the even neighbour).
void encode(MemoryImage &image, Column column, int entry, int value);

// The value Enter stores for a cell's text: the number read from the text,
// rounded to the nearest integer (halves to even), limited to 0..limit.
// A run of digits too long for any integer is above the limit and gives it.
int enteredValue(const QString &text, Column column);

// "Initialisation": every entry at 25 + 24 i seconds, idle 160, load 120, state 1.
void initialise(MemoryImage &image);

} // namespace schedule
