#pragma once

#include "ecu/memory_map.h"

#include <QByteArray>
#include <QString>

#include <array>

class MemoryImage;

// A memory file keeps the configuration area of the ECU memory image,
// its firmware copy included, as one line:
//   "FichierMemoire:" then "XX." for each byte, then "Fin", then CR LF.
// The last byte carries the firmware byte of the ECU it came from.
namespace memory_file {

inline constexpr int FirstAddress = ecu::ConfigStart;
inline constexpr int LastAddress = ecu::ConfigEnd;
inline constexpr int ByteCount = LastAddress - FirstAddress + 1; // 2049
inline constexpr int LineLength = 6165;                          // before the line end
inline constexpr char Header[] = "FichierMemoire:";

// The file's whole text, line end included, from the image as it is (the
// caller stamps the firmware copy first).
QByteArray format(const MemoryImage &image);

struct Parsed {
    bool ok = false;                       // false: wrong header or a short line
    std::array<quint8, ByteCount> bytes{}; // the area, firmware copy last
    quint8 firmware() const { return bytes.back(); }
};

// Reads a file's whole text: the last comma- or line-separated record is
// the line. A line that starts with the header and holds at least
// LineLength characters is accepted whatever its separators; each byte is
// read from the leading hex digits of its two characters (none gives 0).
Parsed parse(const QString &fileText);
// The file's last record parsed as parse() does; not ok when it cannot be
// read or is larger than records::MaxReadBytes.
Parsed read(const QString &path);

// Copies parsed bytes into the image's configuration area.
void apply(const Parsed &parsed, MemoryImage *image);

// The lowest address where two images differ inside the blocks a
// whole-memory upload writes (BlockTable entries 1..15), or -1.
int firstUploadedDifference(const MemoryImage &a, const MemoryImage &b);

// Writes the text to path through a temporary file renamed into place, so a
// crash or a full disk never leaves half a file; only a regular file is
// replaced (see records::writeAtomically). False with *error set, naming the
// path, when it could not be written; an existing file is then untouched.
bool writeAtomically(const QString &path, const QByteArray &text, QString *error = nullptr);

} // namespace memory_file
