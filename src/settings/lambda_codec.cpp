#include "settings/lambda_codec.h"

#include "ecu/memory_image.h"
#include "settings/number_format.h"

#include <QRegularExpression>

#include <cmath>

namespace lambda {

namespace {
constexpr std::array<FieldInfo, FieldCount> Fields = {{
    {"TxVVlambdaRich", 0x882, Kind::Word, 1023, "Voltage lambda pour Activation (RICH)"},
    {"TxVVlambdaPauvre", 0x884, Kind::Word, 1023, "Voltage lambda pour Activation (PAUVRE)"},
    {"TxDelayRich", 0x886, Kind::Byte, 0, "Delay avant declanchement (RICH)"},
    {"TxDelayPauvre", 0x887, Kind::Byte, 0, "Delay avant declanchement (PAUVRE)"},
    {"TxDelayRepet", 0x888, Kind::Byte, 0, "Delay repetebilitée de detection"},
    {"TxRpmAct", 0x889, Kind::Word, 32767, "RPM sous lequel s'active le system"},
    {"TxRaCoPauvre", 0x88B, Kind::Correction, 0, "Correction ralenti (PAUVRE)"},
    {"TxRaCoRich", 0x88C, Kind::Correction, 0, "Correction ralenti (RICH)"},
    {"TxChCoPauvre", 0x88D, Kind::Correction, 0, "Correction charge (PAUVRE)"},
    {"TxChCoRich", 0x88E, Kind::Correction, 0, "Correction charge (RICH)"},
    {"TxMemorise", 0x88F, Kind::Flag, 0, "Memorise la correction"},
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
    QString text = QStringLiteral("( ") + QString::number(f.address & 0xFF, 16).toUpper();
    if (f.kind == Kind::Word)
        text += QLatin1Char(' ') + QString::number((f.address + 1) & 0xFF, 16).toUpper();
    return text + QStringLiteral(" )");
}

Texts decode(const MemoryImage &image, bool deltaNegatif) {
    Texts texts;
    for (int i = 0; i < FieldCount; ++i) {
        const FieldInfo &f = Fields.at(static_cast<std::size_t>(i));
        int value = image.at(f.address);
        if (f.kind == Kind::Word)
            value = image.u16(f.address);
        else if (f.kind == Kind::Correction && deltaNegatif)
            value = toSigned(image.at(f.address));
        texts.at(static_cast<std::size_t>(i)) = QString::number(value);
    }
    return texts;
}

Refusal range(Field field, bool deltaNegatif) {
    const FieldInfo &f = info(field);
    if (f.kind == Kind::Word)
        return {field, 0, f.wordMax};
    if (f.kind == Kind::Correction && deltaNegatif)
        return {field, -128, 127};
    return {field, 0, 255};
}

QString refusalText(const Refusal &r) {
    return QStringLiteral(" %1: enter a number from %2 to %3 ")
        .arg(QString::fromUtf8(info(r.field).meaning))
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
            image.set(f.address, static_cast<quint8>(v / 256));
            image.set(f.address + 1, static_cast<quint8>(v % 256));
        } else {
            image.set(f.address, static_cast<quint8>(v < 0 ? v + 256 : v));
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
