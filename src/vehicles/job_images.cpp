#include "vehicles/job_images.h"

#include "ecu/memory_map.h"
#include "files/memory_file.h"

namespace jobimages {

QByteArray memoryFileOf(const MemoryImage &image) {
    MemoryImage stamped = image;
    ecu::stampFirmware(stamped);
    return memory_file::format(stamped);
}

std::optional<MemoryImage> imageOf(const QByteArray &memoryFile) {
    const memory_file::Parsed parsed = memory_file::parse(QString::fromLatin1(memoryFile));
    if (!parsed.ok)
        return std::nullopt;
    MemoryImage image;
    memory_file::apply(parsed, &image);
    return image;
}

} // namespace jobimages
