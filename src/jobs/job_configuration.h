#pragma once

#include "ecu/memory_image.h"
#include "vehicles/job.h"

#include <QStringList>

#include <optional>

// The configurations a job holds, as images, and what changed between two.
namespace jobconfig {

// The configuration last written in the job, else the one first read;
// nothing when the job holds neither.
std::optional<MemoryImage> lastConfiguration(const Job &job);
// The configuration first read in the job.
std::optional<MemoryImage> firstRead(const Job &job);
// The ECU's image with its firmware copy stamped, as a job keeps it.
MemoryImage stamped(const MemoryImage &ecu);
// One line a setting, "Switch-over temperature 35 °C → 40 °C"; "No
// difference" alone when none.
QStringList changes(const MemoryImage &before, const MemoryImage &after);

} // namespace jobconfig
