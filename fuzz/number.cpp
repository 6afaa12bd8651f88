// The number parser, formatter and byte conversion on any text. The parser
// never yields a value that is not finite, a formatted plain decimal reads
// back as itself to 15 significant digits, and the byte conversion stays in
// 0..255 and agrees with the clamping one wherever it succeeds.
#include "settings/number_format.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const double value = number::parse(text);
    if (!std::isfinite(value))
        abort();
    // Fields hold plain decimals: the formatter's exponent form (below 1e-4
    // and from 1e15 on, which 999999999999999.9 reaches once rounded to 15
    // digits) is not read back by the parser, and never needs to be.
    const QString shown = number::formatPoint(value);
    const bool plain = !shown.contains(QLatin1Char('e'));
    const double again = plain ? number::parse(shown) : value;
    if (std::fabs(again - value) > 1e-14 * std::fabs(value))
        abort();
    if (number::formatPoint(again) != shown)
        abort();
    const int clamped = number::toByteClamped(value);
    if (clamped < 0 || clamped > 255)
        abort();
    if (const auto byte = number::toByte(value)) {
        if (*byte != clamped || std::fabs(*byte - value) > 0.5)
            abort();
    }
    return 0;
}
