// Any file content through the memory-file loader. A file it accepts fills
// only the configuration area 0x800..0x1000 of an image, and the file the
// tool would save from that image loads back the same bytes.
#include "files/memory_file.h"
#include "ecu/memory_image.h"
#include "scratch_file.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString path = scratchDir().filePath(QStringLiteral("car.fra"));
    writeScratch(path, data, size);
    const memory_file::Parsed parsed = memory_file::read(path);
    if (!parsed.ok)
        return 0;
    MemoryImage image;
    for (int a = 0; a < MemoryImage::Size; ++a)
        image.set(a, 0xA5);
    memory_file::apply(parsed, &image);
    for (int a = 0; a < MemoryImage::Size; ++a) {
        const bool inArea = a >= 0x800 && a <= memory_file::LastAddress;
        if (image.at(a) != (inArea ? parsed.bytes[std::size_t(a - 0x800)] : 0xA5))
            abort();
    }
    const memory_file::Parsed again =
        memory_file::parse(QString::fromLatin1(memory_file::format(image)));
    if (!again.ok || again.bytes != parsed.bytes)
        abort();
    return 0;
}
