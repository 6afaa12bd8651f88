#pragma once

#include <QString>

#include <span>

class MemoryImage;

// One setting of the ECU memory image described as data: where it lies,
// how its bytes are coded, and how the fitter reads it. The pages decode
// and encode their fields through these rows, and the configuration
// compare names and shows every difference with the same rows.
namespace fields {

enum class Coding {
    Byte,          // one unsigned byte
    Signed,        // one byte, two's complement
    FlagMagnitude, // a sign byte (not 0 = negative), then a magnitude byte
    Word,          // two bytes, high first
    EngineSpeed,   // a word, kept halved when the injection type is sequential
    ListIndex,     // one byte: the entry of a choice list
};

struct Field {
    const char *control; // the page's field, "TemperatureText" ("" if none)
    const char *caption; // how the fitter knows the setting
    int address;         // first byte
    Coding coding;
    // Shown value = stored value * num / den (the product first, so a
    // trim of 29 hundredths is 29 / 100.0, not 29 * 0.01).
    int num = 1;
    int den = 1;
    const char *unit = ""; // UTF-8, "" for none
    std::span<const char *const> list = {};
};

// Bytes the field occupies.
int width(const Field &field);

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
