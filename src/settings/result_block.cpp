#include "settings/result_block.h"

#include "ecu/memory_image.h"
#include "settings/number_format.h"

#include <cmath>

namespace results {

namespace {
// Text1..Text6 live in the second half of the block, Text7..Text12 in the first.
int group(int n) {
    return n < 6 ? ecu::FinalTestFirstSigns + n : ecu::FinalTestLaterSigns + (n - 6);
}

QString fieldName(std::size_t index) {
    if (index == CycleText)
        return QStringLiteral("TxCycle");
    return QStringLiteral("Text") + QString::number(index + 1);
}
} // namespace

int signAddress(int n) {
    return group(n);
}

int magnitudeAddress(int n) {
    return group(n) + ecu::FinalTestMagnitudeOffset;
}

Texts decode(const MemoryImage &image) {
    Texts texts;
    for (int n = 0; n < ValueCount; ++n) {
        QString text = QString::number(image.at(magnitudeAddress(n)));
        if (image.at(signAddress(n)) == 1)
            text.prepend(QLatin1Char('-'));
        texts.at(std::size_t(n)) = text;
    }
    texts.at(CycleText) = QString::number(image.at(CycleAddress));
    return texts;
}

QString refusalText(const Refusal &refusal) {
    return refusal.field + QStringLiteral(" = ") + refusal.text +
           QStringLiteral(" : value out of range (-255 to 255, cycles 0 to 255)");
}

std::optional<Refusal> encode(const Texts &texts, MemoryImage &image) {
    std::array<int, ValueCount> signed_{};
    for (std::size_t n = 0; n < std::size_t(ValueCount); ++n) {
        const double v = number::roundHalfEven(number::parse(texts.at(n)));
        if (!std::isfinite(v) || std::abs(v) > 255.0)
            return Refusal{fieldName(n), texts.at(n)};
        signed_.at(n) = static_cast<int>(v);
    }
    const std::optional<int> cycles = number::toByte(number::parse(texts.at(CycleText)));
    if (!cycles)
        return Refusal{fieldName(CycleText), texts.at(CycleText)};

    image.set(CycleAddress, quint8(*cycles));
    for (int n = 0; n < ValueCount; ++n) {
        const int v = signed_.at(std::size_t(n));
        image.set(magnitudeAddress(n), quint8(std::abs(v)));
        image.set(signAddress(n), v < 0 ? 1 : 0);
    }
    return std::nullopt;
}

} // namespace results
