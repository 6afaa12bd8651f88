#include "vehicles/job_entries.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace jobentries {

namespace {
QByteArray compact(const QJsonObject &object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QStringList texts(const QJsonValue &value) {
    QStringList out;
    const QJsonArray array = value.toArray();
    for (const QJsonValue &item : array)
        out << item.toString();
    return out;
}
} // namespace

QString dateText(const QDateTime &at) {
    if (!at.isValid())
        return QStringLiteral("");
    return at.toOffsetFromUtc(at.offsetFromUtc()).toString(Qt::ISODateWithMs);
}

QDateTime dateFrom(const QString &text) {
    if (text.isEmpty())
        return {};
    return QDateTime::fromString(text, Qt::ISODateWithMs).toLocalTime();
}

QByteArray payload(const RestorePointEntry &entry) {
    return compact({{QStringLiteral("path"), entry.path}});
}

QByteArray payload(const CalibrationEntry &entry) {
    return compact({{QStringLiteral("kind"), entry.kind},
                    {QStringLiteral("bank1"), QJsonArray::fromStringList(entry.bank1)},
                    {QStringLiteral("bank2"), QJsonArray::fromStringList(entry.bank2)}});
}

QByteArray payload(const MapEntry &entry) {
    QJsonArray bands, applied;
    for (const QStringList &band : entry.bands)
        bands.append(QJsonArray::fromStringList(band));
    for (const int value : entry.applied)
        applied.append(value);
    return compact({{QStringLiteral("bands"), bands}, {QStringLiteral("applied"), applied}});
}

QByteArray payload(const FinalTestEntry &entry) {
    return compact({{QStringLiteral("texts"), QJsonArray::fromStringList(entry.texts)}});
}

void addTo(JobRecord *record, const QDateTime &at, const QString &kind, const QByteArray &payload) {
    const QJsonObject o = QJsonDocument::fromJson(payload).object();
    if (kind == QLatin1String(RestorePointKind)) {
        record->restorePoints.append({at, o.value(QStringLiteral("path")).toString()});
    } else if (kind == QLatin1String(CalibrationKind)) {
        record->calibrations.append({at, o.value(QStringLiteral("kind")).toInt(),
                                     texts(o.value(QStringLiteral("bank1"))),
                                     texts(o.value(QStringLiteral("bank2")))});
    } else if (kind == QLatin1String(MapKind)) {
        MapEntry map{at, {}, {}};
        const QJsonArray bands = o.value(QStringLiteral("bands")).toArray();
        for (const QJsonValue &band : bands)
            map.bands.append(texts(band));
        const QJsonArray applied = o.value(QStringLiteral("applied")).toArray();
        for (const QJsonValue &value : applied)
            map.applied.append(value.toInt());
        record->maps.append(map);
    } else if (kind == QLatin1String(FinalTestKind)) {
        record->finalTests.append({at, texts(o.value(QStringLiteral("texts")))});
    }
}

} // namespace jobentries
