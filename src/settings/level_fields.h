#pragma once

#include "settings/field_description.h"

// The level sensor's seven settings, one byte each, in the order of their
// fields on the page and in the image.
namespace level {

inline constexpr const auto &SettingFields = ecu::LevelSettings;

} // namespace level
