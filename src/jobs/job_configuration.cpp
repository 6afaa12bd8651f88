#include "jobs/job_configuration.h"

#include "ecu/memory_map.h"
#include "settings/config_compare.h"
#include "ui/captions.h"
#include "vehicles/job_images.h"

namespace jobconfig {

std::optional<MemoryImage> lastConfiguration(const Job &job) {
    if (!job.lastWritten.isEmpty())
        return jobimages::imageOf(job.lastWritten);
    return firstRead(job);
}

std::optional<MemoryImage> firstRead(const Job &job) {
    if (job.firstRead.isEmpty())
        return std::nullopt;
    return jobimages::imageOf(job.firstRead);
}

MemoryImage stamped(const MemoryImage &ecu) {
    MemoryImage copy = ecu;
    ecu::stampFirmware(copy);
    return copy;
}

QStringList changes(const MemoryImage &before, const MemoryImage &after) {
    QStringList lines;
    for (const compare::Difference &d : compare::differences(before, after))
        lines.append(d.text());
    if (lines.isEmpty())
        lines.append(captions::text(captions::NoDifference));
    return lines;
}

} // namespace jobconfig
