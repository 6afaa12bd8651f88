#include "settings/field_description.h"

#include "ecu/memory_image.h"
#include "settings/number_format.h"

#include <QtGlobal>

namespace fields {

namespace {
// The injection type; its entry 0 is sequential injection.
constexpr int InjectionTypeAddress = ecu::field::InjectionType.address;

quint8 byteOf(double value) {
    return static_cast<quint8>(number::toByteClamped(value));
}

void setWord(MemoryImage &image, int address, double value) {
    const int word = static_cast<int>(qBound(0.0, number::roundHalfEven(value), 65535.0));
    image.set(address, static_cast<quint8>(word / 256));
    image.set(address + 1, static_cast<quint8>(word % 256));
}

double shown(const Field &f, int stored) {
    return static_cast<double>(stored) * f.num / f.den;
}

double stored(const Field &f, double value) {
    return f.num == 1 && f.den == 1 ? value : value * f.den / f.num;
}
} // namespace

double decode(const Field &f, const MemoryImage &image) {
    const int b = image.at(f.address);
    switch (f.coding) {
    case Coding::Byte:
    case Coding::ListIndex:
        return shown(f, b);
    case Coding::Signed:
        return shown(f, b >= 128 ? b - 256 : b);
    case Coding::FlagMagnitude: {
        const int magnitude = image.at(f.address + 1);
        return shown(f, b != 0 ? magnitude - 256 : magnitude);
    }
    case Coding::Word:
        return shown(f, image.u16(f.address));
    case Coding::EngineSpeed: {
        const int raw = image.u16(f.address);
        return image.at(InjectionTypeAddress) != 0 ? raw : 2.0 * raw;
    }
    }
    return 0;
}

void encode(const Field &f, double value, MemoryImage &image) {
    switch (f.coding) {
    case Coding::Byte:
        image.set(f.address, byteOf(stored(f, value)));
        return;
    case Coding::ListIndex:
        if (value >= 0)
            image.set(f.address, static_cast<quint8>(qMin(value, 255.0)));
        return;
    case Coding::Signed:
        image.set(f.address, value < 0 ? byteOf(stored(f, value) + 256) : byteOf(stored(f, value)));
        return;
    case Coding::FlagMagnitude:
        image.set(f.address, value < 0 ? 0xFF : 0x00);
        image.set(f.address + 1,
                  value < 0 ? byteOf(stored(f, value) + 256) : byteOf(stored(f, value)));
        return;
    case Coding::Word:
        setWord(image, f.address, stored(f, value));
        return;
    case Coding::EngineSpeed:
        // The injection type already in the image decides: a changed type
        // stored earlier in the same pass takes effect in the same write.
        setWord(image, f.address, image.at(InjectionTypeAddress) != 0 ? value : value / 2);
        return;
    }
}

QString text(const Field &f, const MemoryImage &image) {
    const double value = decode(f, image);
    if (f.coding == Coding::ListIndex) {
        const auto index = static_cast<std::size_t>(value);
        if (index < f.list.size())
            return QString::fromUtf8(f.list[index]).trimmed();
        return number::formatPoint(value);
    }
    const QString unit = QString::fromUtf8(f.unit);
    return number::formatPoint(value) + (unit.isEmpty() ? QString() : QLatin1Char(' ') + unit);
}

bool differs(const Field &f, const MemoryImage &a, const MemoryImage &b) {
    for (int i = 0; i < width(f); ++i) {
        if (a.at(f.address + i) != b.at(f.address + i))
            return true;
    }
    return false;
}

} // namespace fields
