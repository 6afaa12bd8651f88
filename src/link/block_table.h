#pragma once

#include <QByteArray>

#include <array>

// The ECU's memory blocks as read-frame texts (no CR). Entries 0..15 are read
// by a whole-memory read; entries 1..15 are written by a whole-memory upload.
// Entries 2 and 9 name the same block, so it is read and written twice.
inline constexpr int BlockCount = 16;
inline constexpr int BlockTableSize = 21;

using BlockTable = std::array<QByteArray, BlockTableSize>;

// Fills the table: the literal entries, and entries 16..19 built with the
// frame checksum rule.
BlockTable makeBlockTable();

// Address and byte count of an entry's block (characters 3..5 and 6..7).
struct BlockRange {
    int address = 0;
    int count = 0;
};
BlockRange blockRange(const QByteArray &entry);
