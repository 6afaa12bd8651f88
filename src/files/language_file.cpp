#include "files/language_file.h"

#include "files/records.h"

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

} // namespace language
