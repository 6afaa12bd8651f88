#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

// One scratch directory for the whole run: the file loaders read paths, so
// each input is written to a file in it first.
// In memory where the system has it: the writers sync their files.
inline QTemporaryDir &scratchDir() {
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/gasecu-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/gasecu-fuzz-XXXXXX"));
    return dir;
}

inline void writeScratch(const QString &path, const uint8_t *data, size_t size) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        abort();
    f.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
}
