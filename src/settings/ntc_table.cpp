#include "settings/ntc_table.h"

#include "ecu/memory_image.h"

namespace ntc {

int windowEntry(const MemoryImage &image, int base, int s, int k) {
    const int first = qBound(0, s, ScrollMax);
    const int i = qBound(0, first + k - 1, Entries - 1);
    return signedValue(image.at(base + i));
}

} // namespace ntc
