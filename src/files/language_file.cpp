#include "files/language_file.h"

#include "files/records.h"

#include <QFile>
#include <QFileInfo>

namespace language {

namespace {
const QString Header = QStringLiteral("FichierLangage:");
} // namespace

bool parseLine(const QString &line, QStringList &texts) {
    if (!line.startsWith(Header))
        return false;
    texts = records::fields(line, TextCount);
    return true;
}

ReadResult readFile(const QString &path, QStringList &texts) {
    if (!QFileInfo::exists(path))
        return ReadResult::Missing;
    return parseLine(records::lastRecord(path), texts) ? ReadResult::Read : ReadResult::BadHeader;
}

QString lineFault(const QString &line) {
    if (!line.startsWith(Header))
        return {};
    const qsizetype at = line.indexOf(QLatin1Char(','));
    if (at < 0)
        return {};
    const qsizetype textStart = line.lastIndexOf(QLatin1Char(']'), at) + 1;
    return QStringLiteral("text %1, character %2: \"%3\" cannot stand in a text")
        .arg(line.left(at).count(QLatin1Char(']')))
        .arg(at - textStart + 1)
        .arg(line.at(at));
}

QString fault(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QStringList lines = records::decode(file.read(records::MaxReadBytes))
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        const QString line = lines[i].trimmed();
        if (!line.isEmpty())
            return lineFault(line);
    }
    return {};
}

} // namespace language
