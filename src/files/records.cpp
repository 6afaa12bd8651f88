#include "files/records.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <optional>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace records {

namespace {
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

namespace {

// Opens path for reading. A fifo without a writer must not block the
// opening: it is opened without waiting, then read like any file (at its
// end at once when nobody writes).
bool openForReading(QFile &file, const QString &path) {
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0 ||
        !file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
#else
    file.setFileName(path);
    return file.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
#endif
}

// At most MaxReadBytes of the file, read in chunks whatever size it claims;
// nothing when it holds more (a device, a file that keeps growing).
std::optional<QByteArray> readBounded(QFile &file) {
    QByteArray bytes;
    std::array<char, 64 * 1024> chunk;
    for (;;) {
        const qint64 n = file.read(chunk.data(), qint64(chunk.size()));
        if (n < 0 || bytes.size() + n > MaxReadBytes)
            return std::nullopt;
        if (n == 0)
            return bytes;
        bytes.append(chunk.data(), n);
    }
}

} // namespace

QString lastRecord(const QString &path, bool *readable) {
    if (readable)
        *readable = false;
    QFile file;
    if (!openForReading(file, path))
        return {};
    const std::optional<QByteArray> bytes = readBounded(file);
    if (!bytes)
        return {};
    if (readable)
        *readable = true;
    const QStringList all = split(decode(*bytes));
    return all.isEmpty() ? QString() : all.constLast();
}

bool replaceable(const QString &path, QString *error) {
    const QFileInfo target(path); // a link is followed to what it names
    if (!target.exists() || target.isFile())
        return true;
    if (error)
        *error = path + QStringLiteral(": not a regular file, left as it is");
    return false;
}

bool writeAtomically(const QString &path, const QByteArray &bytes, QString *error) {
    if (!replaceable(path, error))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = path + QStringLiteral(": cannot be written: ") + file.errorString();
        return false;
    }
    if (file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error)
        *error =
            path + QStringLiteral(": writing failed, nothing was replaced: ") + file.errorString();
    file.cancelWriting();
    return false;
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
