#include "emission/test_clock.h"

#include "settings/number_format.h"

#include <QRegularExpression>

namespace testclock {

QString tick(const QString &text) {
    static const QRegularExpression numberText(
        QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)\\s*$"));
    double seconds = 0.0;
    if (numberText.match(text).hasMatch())
        seconds = number::parse(text);
    return number::format(seconds + 1.0);
}

bool scrollFollows(double seconds) {
    return seconds < GraphSeconds;
}

} // namespace testclock
