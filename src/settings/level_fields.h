#pragma once

#include "settings/field_description.h"

#include <array>

// The level sensor's seven settings at 0xA3A..0xA40, one byte each, in the
// order of their fields on the page and in the image.
namespace level {

inline constexpr std::array<fields::Field, 7> SettingFields = {{
    {"TxNiveauPWM", "Level sensor range correction", 0xA3A, fields::Coding::Byte},
    {"TxNiveauMin", "Level sensor minimum value", 0xA3B, fields::Coding::Byte},
    {"TxNiveauMax", "Level sensor maximum value", 0xA3C, fields::Coding::Byte},
    {"TxNiveau1", "Level threshold 1/4", 0xA3D, fields::Coding::Byte},
    {"TxNiveau2", "Level threshold 1/2", 0xA3E, fields::Coding::Byte},
    {"TxNiveau3", "Level threshold 3/4", 0xA3F, fields::Coding::Byte},
    {"TxNiveau4", "Level threshold full", 0xA40, fields::Coding::Byte},
}};

} // namespace level
