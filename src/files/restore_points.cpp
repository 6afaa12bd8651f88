#include "files/restore_points.h"

#include "ecu/memory_image.h"
#include "ecu/memory_map.h"
#include "files/memory_file.h"
#include "link/hex.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <algorithm>

RestorePoints::RestorePoints(QString directory) : m_dir(std::move(directory)) {
    if (m_dir.isEmpty())
        m_dir = defaultDirectory();
}

// The GUI and the command line share one folder: the data folder of the
// application named "gasecu", whichever program asks.
QString RestorePoints::defaultDirectory() {
    const QString own = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QStringLiteral("gasecu"));
    const QString base = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QCoreApplication::setApplicationName(own);
    return QDir(base).filePath(QStringLiteral("backups"));
}

QString RestorePoints::save(const MemoryImage &lastRead, const QDateTime &when, QString *error) {
    MemoryImage copy = lastRead;
    ecu::stampFirmware(copy);
    if (!QDir().mkpath(m_dir)) {
        if (error)
            *error = QStringLiteral("cannot create ") + m_dir;
        return {};
    }
    const QString name = QStringLiteral("restore-") +
                         when.toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")) +
                         QStringLiteral("-fw") + QString::fromLatin1(hex::byteHex(copy.at(0))) +
                         QStringLiteral(".fra");
    const QString path = QDir(m_dir).filePath(name);
    if (!memory_file::writeAtomically(path, memory_file::format(copy), error))
        return {};
    prune();
    return path;
}

QStringList RestorePoints::list() const {
    QStringList names =
        QDir(m_dir).entryList({QStringLiteral("restore-*.fra")}, QDir::Files, QDir::Name);
    std::reverse(names.begin(), names.end());
    for (QString &name : names)
        name = QDir(m_dir).filePath(name);
    return names;
}

void RestorePoints::prune() const {
    const QStringList all = list();
    for (qsizetype i = Kept; i < all.size(); ++i)
        QFile::remove(all[i]);
}
