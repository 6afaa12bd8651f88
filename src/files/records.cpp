#include "files/records.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <array>

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

// Whether bytes form valid UTF-8, fed one byte at a time: no overlong
// forms, no surrogates, nothing past U+10FFFF, no sequence cut short.
class Utf8Check {
  public:
    void feed(unsigned char b) {
        if (m_bad)
            return;
        if (m_need == 0) {
            if (b < 0x80)
                return;
            m_low = 0x80;
            m_high = 0xBF;
            if (b >= 0xC2 && b <= 0xDF)
                m_need = 1;
            else if (b >= 0xE0 && b <= 0xEF)
                m_need = 2;
            else if (b >= 0xF0 && b <= 0xF4)
                m_need = 3;
            else
                m_bad = true;
            if (b == 0xE0)
                m_low = 0xA0;
            else if (b == 0xED)
                m_high = 0x9F;
            else if (b == 0xF0)
                m_low = 0x90;
            else if (b == 0xF4)
                m_high = 0x8F;
            return;
        }
        if (b < m_low || b > m_high) {
            m_bad = true;
            return;
        }
        m_low = 0x80;
        m_high = 0xBF;
        --m_need;
    }
    bool valid() const { return !m_bad && m_need == 0; }

  private:
    int m_need = 0;
    unsigned char m_low = 0x80, m_high = 0xBF;
    bool m_bad = false;
};

bool blank(const QByteArray &bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    });
}

// split() over a file's bytes, keeping only the record being read and the
// last one that is not empty. Separators and quotes are ASCII, which never
// occurs inside a UTF-8 sequence, so cutting the bytes cuts the text alike.
class LastRecordSplitter {
  public:
    void feed(char c) {
        if (c == '"') {
            if (!m_quoted && blank(m_current)) {
                m_current.clear();
                m_quoted = true;
                m_wasQuoted = true;
                return;
            }
            if (m_quoted) {
                m_quoted = false;
                return;
            }
        }
        if (!m_quoted && (c == ',' || c == '\n')) {
            finish();
            return;
        }
        if (c == '\r' && !m_quoted)
            return;
        if (!m_quoted && m_wasQuoted)
            return; // characters after a closing quote belong to no record
        m_current += c;
    }
    // The last record, decoded as UTF-8 or Windows-1252 as the whole file is.
    QString last(bool utf8) {
        if (!m_current.isEmpty() || m_wasQuoted)
            finish();
        QString text;
        if (utf8) {
            text = QString::fromUtf8(m_last);
        } else {
            text.reserve(m_last.size());
            for (char c : std::as_const(m_last))
                text += windows1252(static_cast<unsigned char>(c));
        }
        return m_lastQuoted ? text : text.trimmed();
    }

  private:
    void finish() {
        if (m_wasQuoted ? !m_current.isEmpty() : !blank(m_current)) {
            m_last.swap(m_current);
            m_lastQuoted = m_wasQuoted;
        }
        m_current.clear();
        m_wasQuoted = false;
    }

    QByteArray m_current, m_last;
    bool m_quoted = false, m_wasQuoted = false, m_lastQuoted = false;
};

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

} // namespace

QString lastRecord(const QString &path, bool *readable) {
    if (readable)
        *readable = false;
    QFile file;
    if (!openForReading(file, path))
        return {};
    LastRecordSplitter splitter;
    Utf8Check utf8;
    const auto take = [&](char c) {
        utf8.feed(static_cast<unsigned char>(c));
        splitter.feed(c);
    };
    // The first three bytes wait until it is known whether they are a
    // UTF-8 byte-order mark, dropped, or text.
    QByteArray head;
    std::array<char, 64 * 1024> chunk;
    qint64 total = 0;
    for (;;) {
        const qint64 n = file.read(chunk.data(), qint64(chunk.size()));
        if (n < 0)
            return {};
        if (n == 0)
            break;
        total += n;
        if (total > MaxReadBytes)
            return {}; // whatever the file claims, it is not one of ours
        for (qint64 i = 0; i < n; ++i) {
            const char c = chunk[std::size_t(i)];
            if (total - n + i >= 3) {
                take(c);
                continue;
            }
            head += c;
            if (head.size() == 3 && head != "\xEF\xBB\xBF")
                std::for_each(head.cbegin(), head.cend(), take);
        }
    }
    if (head.size() < 3)
        std::for_each(head.cbegin(), head.cend(), take);
    if (readable)
        *readable = true;
    return splitter.last(utf8.valid());
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
