#pragma once

#include "ecu/memory_image.h"

#include <QByteArray>

#include <optional>

// A job keeps configurations as memory files' whole texts, so a job
// exported to a folder is a set of ordinary memory files.
namespace jobimages {

// The memory file of the image's configuration, its firmware copy stamped.
QByteArray memoryFileOf(const MemoryImage &image);
// The configuration a memory file's text holds in an otherwise empty image;
// nothing when the text is not a memory file.
std::optional<MemoryImage> imageOf(const QByteArray &memoryFile);

} // namespace jobimages
