#include "settings/lambda_codec.h"

#include "ecu/memory_image.h"
#include "settings/number_format.h"

#include <QRegularExpression>

#include <cmath>

namespace lambda {

namespace {
const std::array<FieldInfo, FieldCount> Fields = {{
    {ecu::field::LambdaRichVolts, Kind::Word},
    {ecu::field::LambdaLeanVolts, Kind::Word},
    {ecu::field::LambdaRichDelay, Kind::Byte},
    {ecu::field::LambdaLeanDelay, Kind::Byte},
    {ecu::field::LambdaRepeatDelay, Kind::Byte},
    {ecu::field::LambdaSpeed, Kind::Word},
    {ecu::field::LambdaIdleLean, Kind::Correction},
    {ecu::field::LambdaIdleRich, Kind::Correction},
    {ecu::field::LambdaLoadLean, Kind::Correction},
    {ecu::field::LambdaLoadRich, Kind::Correction},
    {ecu::field::LambdaMemorise, Kind::Flag},
}};

int toSigned(quint8 b) {
    return b < 128 ? b : b - 256;
}

// The text as a number where the encoding converts the text itself: blanks
// around it allowed, nothing else besides the number.
std::optional<double> wholeText(const QString &text) {
    static const QRegularExpression numberText(
        QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)\\s*$"));
    if (!numberText.match(text).hasMatch())
        return std::nullopt;
    return number::parse(text);
}

QString unitCaption(double value, const char *unit) {
    return QStringLiteral(" ( ") + number::format(value) + QLatin1String(unit);
}

double truncatedVolts(double counts) {
    return std::floor(counts * (5.0 / 1024.0) * 100.0) / 100.0;
}
} // namespace

const FieldInfo &info(Field field) {
    return Fields.at(static_cast<std::size_t>(field));
}

QString addressCaption(Field field) {
    const FieldInfo &f = info(field);
    QString text = QStringLiteral("( ") + QString::number(f.row.address & 0xFF, 16).toUpper();
    if (f.kind == Kind::Word)
        text += QLatin1Char(' ') + QString::number((f.row.address + 1) & 0xFF, 16).toUpper();
    return text + QStringLiteral(" )");
}

Texts decode(const MemoryImage &image, bool deltaNegatif) {
    Texts texts;
    for (int i = 0; i < FieldCount; ++i) {
        const FieldInfo &f = Fields.at(static_cast<std::size_t>(i));
        int value = image.at(f.row.address);
        if (f.kind == Kind::Word)
            value = image.u16(f.row.address);
        else if (f.kind == Kind::Correction && deltaNegatif)
            value = toSigned(image.at(f.row.address));
        texts.at(static_cast<std::size_t>(i)) = QString::number(value);
    }
    return texts;
}

Refusal range(Field field, bool deltaNegatif) {
    const FieldInfo &f = info(field);
    if (f.kind == Kind::Correction && deltaNegatif)
        return {field, -128, 127};
    return {field, static_cast<int>(f.row.min), static_cast<int>(f.row.max)};
}

QString refusalText(const Refusal &r) {
    return QStringLiteral(" %1: enter a number from %2 to %3 ")
        .arg(QString::fromUtf8(info(r.field).row.caption))
        .arg(r.min)
        .arg(r.max);
}

std::optional<Refusal> encode(const Texts &texts, bool deltaNegatif, MemoryImage &image) {
    std::array<int, FieldCount> values{};
    for (int i = 0; i < FieldCount; ++i) {
        const auto field = static_cast<Field>(i);
        const FieldInfo &f = info(field);
        const QString &text = texts.at(static_cast<std::size_t>(i));
        // The sign-aware corrections and the memorise flag go through the
        // number parser; the other fields must hold a number and nothing else.
        const bool parsed = f.kind == Kind::Flag || (f.kind == Kind::Correction && deltaNegatif);
        const std::optional<double> v = parsed ? number::parse(text) : wholeText(text);
        const Refusal r = range(field, deltaNegatif);
        if (!v)
            return r;
        const double rounded = number::roundHalfEven(*v);
        if (!std::isfinite(rounded) || rounded < r.min || rounded > r.max)
            return r;
        values.at(static_cast<std::size_t>(i)) = static_cast<int>(rounded);
    }
    for (int i = 0; i < FieldCount; ++i) {
        const FieldInfo &f = info(static_cast<Field>(i));
        const int v = values.at(static_cast<std::size_t>(i));
        if (f.kind == Kind::Word) {
            image.set(f.row.address, static_cast<quint8>(v / 256));
            image.set(f.row.address + 1, static_cast<quint8>(v % 256));
        } else {
            image.set(f.row.address, static_cast<quint8>(v < 0 ? v + 256 : v));
        }
    }
    return std::nullopt;
}

Units convert(const Texts &texts) {
    auto v = [&texts](Field f) { return number::parse(texts.at(static_cast<std::size_t>(f))); };
    Units u;
    u.TXTP01 = unitCaption(truncatedVolts(v(VVlambdaPauvre)), " V )");
    u.TXTP02 = unitCaption(v(DelayPauvre) * 0.05, " s )");
    u.TXTP03 = unitCaption(v(RaCoPauvre) * 0.02, " ms )");
    u.TXTR01 = unitCaption(truncatedVolts(v(VVlambdaRich)), " V )");
    u.TXTR02 = unitCaption(v(DelayRich) * 0.05, " s )");
    u.TXTR03 = unitCaption(v(RaCoRich) * 0.02, " ms )");
    u.TXTMEMORISE = v(Memorise) == 0 ? QStringLiteral(" ( OFF ) ") : QStringLiteral(" ( ON ) ");
    return u;
}

} // namespace lambda
