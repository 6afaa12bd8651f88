// Any file content through the sensor-file loader. A file it accepts gives
// seven plain numbers, and the line written for them loads back the same.
#include "files/sensor_file.h"
#include "scratch_file.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString path = scratchDir().filePath(QStringLiteral("Default.sen"));
    writeScratch(path, data, size);
    const auto settings = sensorfile::read(path);
    if (!settings)
        return 0;
    const auto again = sensorfile::parse(sensorfile::line(*settings));
    if (!again || *again != *settings)
        abort();
    return 0;
}
