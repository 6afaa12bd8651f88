#include "settings/number_format.h"

#include <QLocale>

#include <cmath>

namespace number {

double parse(const QString &text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    QString digits;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        digits += text[i++];
    bool point = false;
    bool anyDigit = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (c.isDigit() && c.unicode() < 128) {
            digits += c;
            anyDigit = true;
        } else if (c == QLatin1Char('.') && !point) {
            digits += c;
            point = true;
        } else {
            break;
        }
    }
    if (!anyDigit)
        return 0.0;
    bool ok = false;
    const double value = digits.toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

QString format(double value) {
    if (!std::isfinite(value))
        return QStringLiteral("0");
    if (value == 0.0)
        return QStringLiteral("0"); // also for -0
    QString text = QString::number(value, 'g', 15);
    const QChar separator = QLocale::system().decimalPoint().at(0);
    if (separator != QLatin1Char('.'))
        text.replace(QLatin1Char('.'), separator);
    return text;
}

QString formatPoint(double value) {
    return format(value).replace(QLatin1Char(','), QLatin1Char('.'));
}

double roundHalfEven(double value) {
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff > 0.5)
        return floor + 1.0;
    if (diff < 0.5)
        return floor;
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

std::optional<int> toByte(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    const double r = roundHalfEven(value);
    if (r < 0.0 || r > 255.0)
        return std::nullopt;
    return static_cast<int>(r);
}

int toByteClamped(double value) {
    if (std::isnan(value))
        return 0;
    const double r = roundHalfEven(qBound(-1.0, value, 256.0));
    return static_cast<int>(qBound(0.0, r, 255.0));
}

} // namespace number
