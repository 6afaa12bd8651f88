#include "files/config_file.h"

#include "files/records.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <array>

namespace {
const QString Header = QStringLiteral("FichierConfig:");

// A field must not hold what ends it or its record: "]", a comma or a line
// end. A language path may (a folder "Langues, FR" or one named "[1]"), so
// those characters are written as %2C, %5D, %0D and %0A, and a "%" as %25
// where it would otherwise read as one of these. A path without them is
// written as it always was, and a file written by an older tool reads the
// same as before unless it held one of these five codes.
constexpr std::array<std::pair<char16_t, QLatin1StringView>, 5> Escapes = {{
    {u'%', QLatin1StringView("%25")},
    {u',', QLatin1StringView("%2C")},
    {u']', QLatin1StringView("%5D")},
    {u'\r', QLatin1StringView("%0D")},
    {u'\n', QLatin1StringView("%0A")},
}};

// The escape at text[i] (one of the five codes), or nullptr.
const std::pair<char16_t, QLatin1StringView> *escapeAt(QStringView text, qsizetype i) {
    for (const auto &escape : Escapes) {
        if (text.mid(i).startsWith(escape.second))
            return &escape;
    }
    return nullptr;
}

QString escaped(const QString &field) {
    QString out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const QChar c = field[i];
        const auto escape = std::find_if(Escapes.begin(), Escapes.end(),
                                         [c](const auto &e) { return c == QChar(e.first); });
        if (escape == Escapes.end() || (c == u'%' && !escapeAt(field, i)))
            out += c;
        else
            out += escape->second;
    }
    return out;
}

QString unescaped(const QString &field) {
    QString out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (const auto *escape = escapeAt(field, i)) {
            out += QChar(escape->first);
            i += escape->second.size() - 1;
        } else {
            out += field[i];
        }
    }
    return out;
}
} // namespace

ConfigFile::ConfigFile(QString directory) : m_directory(std::move(directory)) {
    for (int i = 0; i < FieldCount; ++i)
        ConfigValues.append(QString());
}

QString ConfigFile::path() const {
    return QDir(m_directory).filePath(QStringLiteral("prconfig.txt"));
}

ConfigFile::ReadResult ConfigFile::ReadConfigFile() {
    const QFileInfo info(path());
    if (!info.exists() || info.isDir())
        return ReadResult::Missing;
    const QString line = records::lastRecord(path());
    if (!line.startsWith(Header))
        return ReadResult::BadHeader;
    ConfigValues = records::fields(line, FieldCount);
    for (QString &value : ConfigValues)
        value = unescaped(value);
    return ReadResult::Read;
}

bool ConfigFile::WriteConfigFile(QString *error) {
    ConfigValues[0].clear();
    QString line = Header;
    for (int i = 0; i <= 5; ++i)
        line += escaped(ConfigValues[i]) + QLatin1Char(']');
    line += QStringLiteral("Fin\r\n");
    // UTF-8, so any language path survives; it is read back either way.
    return records::writeAtomically(path(), line.toUtf8(), error);
}

bool ConfigFile::rememberPort(int port, QString *error) {
    if (ReadConfigFile() != ReadResult::Read) {
        for (QString &value : ConfigValues)
            value.clear();
    }
    ConfigValues[1] = QString::number(port);
    return WriteConfigFile(error);
}

int ConfigFile::portNumber() const {
    bool ok = false;
    const double value = ConfigValues[1].trimmed().toDouble(&ok);
    if (!ok || value < 0 || value > 255)
        return 0;
    return static_cast<int>(value + 0.5);
}
