#include "live/live_log.h"

#include "ecu/memory_image.h"

#include <QIODevice>

#include <cmath>
#include <limits>

namespace live {

bool LiveLog::open(const QString &path) {
    close();
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        m_error = m_file.errorString();
        return false;
    }
    m_out = &m_file;
    return start();
}

bool LiveLog::attach(QIODevice *device) {
    close();
    m_out = device;
    return start();
}

bool LiveLog::start() {
    m_rows = 0;
    m_fuel.clear();
    m_error.clear();
    m_clock.start();
    return write(csvHeader());
}

void LiveLog::close() {
    if (m_out == &m_file)
        m_file.close();
    m_out = nullptr;
}

bool LiveLog::append(const MemoryImage &image) {
    return append(sampleOf(image, elapsedMs()));
}

bool LiveLog::append(const Sample &sample) {
    if (!m_out)
        return false;
    m_fuel = fuelText(m_messages, sample.fuelState, m_fuel);
    if (!write(csvRow(sample, m_fuel)))
        return false;
    ++m_rows;
    return true;
}

bool LiveLog::write(const QByteArray &line) {
    if (!m_out)
        return false;
    // Handed to the system row by row: at a few rows a second this costs
    // nothing, and a killed program leaves every row it logged.
    auto *file = qobject_cast<QFileDevice *>(m_out);
    const bool ok = m_out->write(line) == line.size() && (!file || file->flush());
    if (!ok) {
        m_error = m_out->errorString();
        return false;
    }
    return true;
}

namespace {
// Logs larger than this are not a drive (weeks of rows): refused whole.
constexpr qint64 MaxLogBytes = 256LL * 1024 * 1024;

// Splits one line at the commas outside double quotes.
QList<QByteArray> fieldsOf(const QByteArray &line) {
    QList<QByteArray> fields;
    QByteArray field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line.at(i);
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line.at(i + 1) == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.append(field);
            field.clear();
        } else {
            field += c;
        }
    }
    fields.append(field);
    return fields;
}
} // namespace

std::optional<LiveLogData> readLiveLog(const QString &path, QString *error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return std::nullopt;
    }
    // Counted while reading too: a device or a growing file may claim any size.
    qint64 left = MaxLogBytes;
    const auto readLine = [&file, &left] {
        const QByteArray raw = file.readLine(left + 1);
        left -= raw.size();
        return raw;
    };
    const QString tooLarge = QStringLiteral("The file is too large for a drive log.");
    if (file.size() > MaxLogBytes) {
        *error = tooLarge;
        return std::nullopt;
    }
    const QByteArray header = readLine().trimmed();
    LiveLogData data;
    for (const QByteArray &name : header.split(','))
        data.columns.append(QString::fromLatin1(name));
    if (data.columns.value(0) != QLatin1String(column::Time) || data.columns.size() < 2) {
        *error = QStringLiteral("The file is not a drive log (no time_ms column).");
        return std::nullopt;
    }
    data.values.resize(static_cast<std::size_t>(data.columns.size()));
    while (!file.atEnd()) {
        const QByteArray raw = readLine();
        if (left < 0) {
            *error = tooLarge;
            return std::nullopt;
        }
        // A line without its end is the one a killed logger was writing.
        if (!raw.endsWith('\n')) {
            ++data.skipped;
            continue;
        }
        const QByteArray line = raw.trimmed();
        if (line.isEmpty())
            continue;
        const QList<QByteArray> fields = fieldsOf(line);
        bool timeOk = false;
        fields.value(0).toLongLong(&timeOk);
        if (fields.size() != data.columns.size() || !timeOk) {
            ++data.skipped;
            continue;
        }
        for (qsizetype c = 0; c < fields.size(); ++c) {
            bool ok = false;
            const double v = fields.at(c).toDouble(&ok);
            data.values[static_cast<std::size_t>(c)].push_back(
                ok && std::isfinite(v) ? v : std::numeric_limits<double>::quiet_NaN());
        }
        ++data.rows;
    }
    return data;
}

} // namespace live
