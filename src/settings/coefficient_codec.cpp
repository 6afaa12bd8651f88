#include "settings/coefficient_codec.h"

#include "ecu/memory_image.h"
#include "settings/number_format.h"

int CoefficientCodec::address(int field) {
    const int base = table(field) == Table::Pressure ? PressureBase : GasTemperatureBase;
    return base + entry(field);
}

QString CoefficientCodec::fieldName(int field) {
    const QString stem =
        table(field) == Table::Pressure ? QStringLiteral("TxTbCP") : QStringLiteral("TxTbCG");
    return stem + QString::number(entry(field));
}

QString CoefficientCodec::axisLabel(Table t, int n) {
    return t == Table::Pressure ? number::formatPoint(n / 10.0) : QString::number(5 * n);
}

QStringList CoefficientCodec::decode(const MemoryImage &image) {
    QStringList texts;
    texts.reserve(FieldCount);
    for (int field = 0; field < FieldCount; ++field)
        texts.append(QString::number(image.at(address(field))));
    return texts;
}

void CoefficientCodec::encode(const QStringList &texts, MemoryImage &image) {
    for (int field = 0; field < FieldCount && field < texts.size(); ++field) {
        const int value = number::toByteClamped(number::parse(texts.at(field)));
        image.set(address(field), static_cast<quint8>(value));
    }
}

std::optional<QString> CoefficientCodec::corrected(const QString &text) {
    const double value = number::parse(text);
    if (value < 0)
        return number::format(0);
    if (value > 255)
        return number::format(255);
    return std::nullopt;
}
