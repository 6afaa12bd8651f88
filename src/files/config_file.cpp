#include "files/config_file.h"

#include "files/records.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace {
const QString Header = QStringLiteral("FichierConfig:");
}

ConfigFile::ConfigFile(QString directory) : m_directory(std::move(directory)) {
    for (int i = 0; i < FieldCount; ++i)
        ConfigValues.append(QString());
}

QString ConfigFile::path() const {
    return QDir(m_directory).filePath(QStringLiteral("prconfig.txt"));
}

ConfigFile::ReadResult ConfigFile::ReadConfigFile() {
    if (!QFileInfo::exists(path()))
        return ReadResult::Missing;
    const QString line = records::lastRecord(path());
    if (!line.startsWith(Header))
        return ReadResult::BadHeader;
    ConfigValues = records::fields(line, FieldCount);
    return ReadResult::Read;
}

bool ConfigFile::WriteConfigFile() {
    ConfigValues[0].clear();
    QString line = Header;
    for (int i = 0; i <= 5; ++i)
        line += ConfigValues[i] + QLatin1Char(']');
    line += QStringLiteral("Fin\r\n");
    QSaveFile file(path());
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // UTF-8, so any language path survives; it is read back either way.
    file.write(line.toUtf8());
    return file.commit();
}

int ConfigFile::portNumber() const {
    bool ok = false;
    const double value = ConfigValues[1].trimmed().toDouble(&ok);
    if (!ok || value < 0 || value > 255)
        return 0;
    return static_cast<int>(value + 0.5);
}
