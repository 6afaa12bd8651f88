#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class MemoryImage;

// Before a whole configuration is written into an ECU, the configuration as
// last read from it is kept as an ordinary memory file, so an ECU
// overwritten with the wrong file can be put back. The files live in the
// user's data folder under "backups", named
// "restore-YYYYMMDD-HHMMSS-zzz-fwXX.fra" (XX: the ECU's firmware byte);
// the newest Kept files stay.
class RestorePoints {
  public:
    static constexpr int Kept = 50;

    // directory: empty for the user's data folder of the tool.
    explicit RestorePoints(QString directory = {});

    static QString defaultDirectory();
    QString directory() const { return m_dir; }

    // Saves lastRead's configuration (its firmware copy stamped with its
    // firmware byte) and prunes the oldest. Returns the file's path, or an empty
    // text with *error set when it could not be written.
    QString save(const MemoryImage &lastRead, const QDateTime &when = QDateTime::currentDateTime(),
                 QString *error = nullptr);

    // The restore points, newest first.
    QStringList list() const;

  private:
    void prune() const;
    QString m_dir;
};
