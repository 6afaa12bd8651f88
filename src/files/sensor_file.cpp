#include "files/sensor_file.h"

#include "files/records.h"

#include <QStringList>

namespace sensorfile {

namespace {

constexpr QChar Separator = QLatin1Char(']');
// Separators of a written line: the empty field after the header, seven
// settings and three reserved fields.
constexpr int SeparatorCount = 11;

// Fields a line may carry: the header's, the settings, the reserved ones
// and room for more.
constexpr std::size_t FieldLimit = 16;

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
    // Field 0 takes the header; characters past the last field a line can
    // hold are ignored.
    std::array<QString, FieldLimit> fields;
    std::size_t k = 0;
    for (QChar c : text) {
        if (c == Separator) {
            ++k;
            continue;
        }
        if (k < fields.size())
            fields[k] += c;
    }
    Settings settings;
    for (std::size_t i = 0; i < SettingCount; ++i)
        settings[i] = fields[i + 1];
    return settings;
}

std::optional<Settings> read(const QString &path) {
    bool readable = false;
    const QString last = records::lastRecord(path, &readable);
    if (!readable)
        return std::nullopt;
    return parse(last);
}

bool write(const QString &path, const Settings &settings, QString *error) {
    return records::writeAtomically(path, (line(settings) + QStringLiteral("\r\n")).toLatin1(),
                                    error);
}

} // namespace sensorfile
