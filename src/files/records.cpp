#include "files/records.h"

#include <QFile>

namespace records {

namespace {
// The tool's own files are one short line; anything far larger is not one.
constexpr qint64 MaxFileSize = 1 << 20;
} // namespace

QStringList split(const QString &text) {
    QStringList out;
    QString current;
    bool quoted = false;
    bool wasQuoted = false;
    auto finish = [&] {
        out.append(wasQuoted ? current : current.trimmed());
        current.clear();
        wasQuoted = false;
    };
    for (QChar c : text) {
        if (c == QLatin1Char('"')) {
            if (!quoted && current.trimmed().isEmpty()) {
                current.clear();
                quoted = true;
                wasQuoted = true;
                continue;
            }
            if (quoted) {
                quoted = false;
                continue;
            }
        }
        if (!quoted && (c == QLatin1Char(',') || c == QLatin1Char('\n'))) {
            finish();
            continue;
        }
        if (c == QLatin1Char('\r') && !quoted)
            continue;
        if (!quoted && wasQuoted)
            continue; // characters after a closing quote belong to no record
        current += c;
    }
    if (!current.isEmpty() || wasQuoted)
        finish();
    while (!out.isEmpty() && out.constLast().isEmpty() && !text.isEmpty())
        out.removeLast(); // the line end after the last record opens none
    return out;
}

QString lastRecord(const QString &path, bool *readable) {
    QFile file(path);
    const bool ok = file.open(QIODevice::ReadOnly) && file.size() <= MaxFileSize;
    if (readable)
        *readable = ok;
    if (!ok)
        return {};
    const QStringList all = split(QString::fromLatin1(file.readAll()));
    return all.isEmpty() ? QString() : all.constLast();
}

QStringList fields(const QString &line, int count) {
    QStringList out(count);
    int k = 0;
    for (QChar c : line) {
        if (c == QLatin1Char(']'))
            ++k;
        else if (k < count)
            out[k] += c;
    }
    return out;
}

} // namespace records
