#include "files/records.h"

#include <QFile>
#include <QStringDecoder>

#include <array>

namespace records {

namespace {
// The tool's own files are one short line; anything far larger is not one.
constexpr qint64 MaxFileSize = 1 << 20;

// Windows-1252 0x80..0x9F; 0 marks the bytes the code page leaves undefined.
constexpr std::array<char16_t, 32> HighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
} // namespace

QChar windows1252(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        const char16_t mapped = HighControls[byte - 0x80];
        return QChar(mapped ? mapped : char16_t(byte));
    }
    return QChar(char16_t(byte));
}

QString decode(const QByteArray &bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        return text;
    }
    text.clear();
    text.reserve(bytes.size());
    for (char c : bytes)
        text += windows1252(static_cast<unsigned char>(c));
    return text;
}

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
    const QStringList all = split(decode(file.readAll()));
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
