#pragma once

#include <QByteArray>

class MemoryImage;

// The image 0x000..0xFFF as 256 lines "AAA: XX XX ... XX" (16 bytes a line,
// upper-case hex), each ended by a line feed.
QByteArray memoryDump(const MemoryImage &image);
