#include "files/sensor_file.h"

#include "files/records.h"

#include <QRegularExpression>
#include <QSaveFile>
#include <QStringList>

namespace sensorfile {

namespace {

constexpr QChar Separator = QLatin1Char(']');
// Separators of a written line: the empty field after the header, seven
// settings and three reserved fields.
constexpr int SeparatorCount = 11;

bool plainNumber(const QString &text) {
    static const QRegularExpression number(QStringLiteral("^ *-?([0-9]+\\.?[0-9]*|\\.[0-9]+)? *$"));
    return number.match(text).hasMatch();
}

} // namespace

QString line(const Settings &settings) {
    QStringList fields;
    fields.append(QString()); // the header's own field
    for (const QString &s : settings)
        fields.append(s);
    while (fields.size() < SeparatorCount)
        fields.append(QString()); // reserved
    QString out = Header;
    for (const QString &f : fields)
        out += f + Separator;
    return out + Trailer;
}

std::optional<Settings> parse(const QString &text) {
    if (!text.startsWith(Header))
        return std::nullopt;
    const QStringList pieces = text.split(Separator);
    // pieces[0] is the header's field, the last piece the trailer.
    if (pieces.size() < 2 || pieces.constLast() != Trailer)
        return std::nullopt;
    Settings settings;
    const qsizetype fieldCount = pieces.size() - 2;
    for (int i = 0; i < SettingCount; ++i) {
        if (i < fieldCount)
            settings[i] = pieces.at(i + 1);
        if (!plainNumber(settings[i]))
            return std::nullopt;
    }
    return settings;
}

std::optional<Settings> read(const QString &path) {
    bool readable = false;
    const QString last = records::lastRecord(path, &readable);
    if (!readable)
        return std::nullopt;
    return parse(last);
}

bool write(const QString &path, const Settings &settings) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write((line(settings) + QStringLiteral("\r\n")).toLatin1());
    return file.commit();
}

} // namespace sensorfile
