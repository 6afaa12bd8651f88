#pragma once

#include "ecu/memory_map.h"

#include <QString>

class MemoryImage;

// The rows of the ECU memory map as values: the pages decode and encode
// their fields through them, and the configuration compare names and shows
// every difference with the same rows.
namespace fields {

using Coding = ecu::Coding;
using Field = ecu::Field;
using ecu::width;

// The value the page shows for the bytes in the image.
double decode(const Field &field, const MemoryImage &image);
// The inverse for values the decoder can produce; anything else is clamped
// to what the bytes hold. A list index below 0 (no selection) leaves the
// byte as it is.
void encode(const Field &field, double value, MemoryImage &image);

// The value with its unit, "35 °C"; a list entry by its text (trimmed),
// a byte beyond the list by its number.
QString text(const Field &field, const MemoryImage &image);

// True when the field's own bytes differ between the two images.
bool differs(const Field &field, const MemoryImage &a, const MemoryImage &b);

} // namespace fields
