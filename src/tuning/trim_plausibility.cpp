#include "tuning/trim_plausibility.h"

#include "ecu/memory_image.h"
#include "live/monitor_decode.h"
#include "settings/number_format.h"

namespace calibration {

QList<TrimChange> implausibleChanges(const MemoryImage &image, Kind kind,
                                     const std::array<BankTexts, 2> &texts) {
    QList<TrimChange> far;
    const bool idle = kind == Kind::Idle;
    for (int bank = 0; bank < (idle ? 2 : 1); ++bank) {
        const live::TrimField &trim = live::Trims[bank == 0 ? 0 : 2];
        const double now = number::parse(live::trimText(trim, image.at(trim.address)));
        // As the calibration form validates it before the write.
        const double next = number::parse(live::validatedTrimText(
            trim, number::formatPoint(number::parse(texts[bank][idle ? TxApp1 : TxRCHP1]))));
        if (qAbs(next - now) > PlausibleStepMs)
            far.append({bank, now, next});
    }
    return far;
}

QString describeChanges(const QList<TrimChange> &changes) {
    QStringList parts;
    for (const TrimChange &c : changes)
        parts.append(QStringLiteral("bank %1 idle trim %2 ms, new %3 ms")
                         .arg(c.bank + 1)
                         .arg(number::formatPoint(c.now), number::formatPoint(c.next)));
    return parts.join(QStringLiteral("; "));
}

} // namespace calibration
