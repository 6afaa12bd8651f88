#include "ecu/memory_map.h"

#include "ecu/live_block.h"
#include "ecu/memory_image.h"

#include <vector>

namespace ecu {

namespace {
std::vector<const Field *> allSettings() {
    std::vector<const Field *> all;
    for (std::span<const Field *const> group :
         {std::span<const Field *const>(MainParameters), std::span<const Field *const>(Trims),
          std::span<const Field *const>(LevelSettings)})
        all.insert(all.end(), group.begin(), group.end());
    all.push_back(&field::BatteryMode);
    all.push_back(&field::BlockFlag);
    all.insert(all.end(), LambdaSettings.begin(), LambdaSettings.end());
    all.push_back(&field::Firmware);
    return all;
}
} // namespace

std::span<const Field *const> settings() {
    static const std::vector<const Field *> all = allSettings();
    return all;
}

void stampFirmware(MemoryImage &image) {
    image.set(FirmwareCopy, image.at(liveblock::Firmware));
}

bool firmwareMatches(const MemoryImage &image) {
    return image.at(FirmwareCopy) == image.at(liveblock::Firmware);
}

} // namespace ecu
