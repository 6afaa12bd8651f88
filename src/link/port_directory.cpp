#include "link/port_directory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

PortDirectory::PortDirectory(QString commandLineDir) : m_dir(std::move(commandLineDir)) {
    if (m_dir.isEmpty())
        m_dir = qEnvironmentVariable("GASECU_PORTS");
    if (m_dir.isEmpty())
        m_dir = QDir::homePath() + QStringLiteral("/.config/gasecu/ports");
}

QString PortDirectory::entryPath(int portNumber) const {
    return QDir(m_dir).filePath(QStringLiteral("com%1").arg(portNumber));
}

PortDevice PortDirectory::device(int portNumber, PortPlatform platform) const {
    if (platform == PortPlatform::Windows)
        return {QStringLiteral("COM%1").arg(portNumber), false};
    const QFileInfo entry(entryPath(portNumber));
    if (entry.isSymLink())
        return {entry.symLinkTarget(), true};
    if (entry.isFile()) {
        QFile file(entry.filePath());
        if (file.open(QIODevice::ReadOnly)) {
            const QString named = QString::fromLocal8Bit(file.readLine(4096)).trimmed();
            if (!named.isEmpty())
                return {named, true};
        }
    }
    return {QStringLiteral("/dev/ttyUSB%1").arg(portNumber - 1), true};
}
