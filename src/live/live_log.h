#pragma once

#include "live/live_sample.h"

#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class MessageTable;
class QIODevice;

namespace live {

// A drive log being written: the header, then one row per poll answer.
// Every row is handed to the system at once, so a crash or a kill loses
// nothing that was already logged, and a reader sees whole lines only.
class LiveLog {
  public:
    explicit LiveLog(const MessageTable &messages) : m_messages(messages) {}

    // Creates (or replaces) the file and writes the header.
    bool open(const QString &path);
    // Writes to a device that is already open (standard output).
    bool attach(QIODevice *device);
    void close();
    bool isOpen() const { return m_out != nullptr; }

    // A row for the image as it stands, timed from open().
    bool append(const MemoryImage &image);
    // A row for a sample the caller has timed.
    bool append(const Sample &sample);

    qint64 elapsedMs() const { return m_clock.isValid() ? m_clock.elapsed() : 0; }
    int rows() const { return m_rows; }
    // Why the last open() or append() failed.
    QString errorString() const { return m_error; }

  private:
    bool start();
    bool write(const QByteArray &line);

    const MessageTable &m_messages;
    QFile m_file;
    QIODevice *m_out = nullptr;
    QElapsedTimer m_clock;
    QString m_fuel;
    QString m_error;
    int m_rows = 0;
};

// A drive log read back: each column's values in row order (NaN where a
// field is not a number, the fuel text for instance).
struct LiveLogData {
    QStringList columns;
    std::vector<std::vector<double>> values; // [column][row]
    int rows = 0;
    int skipped = 0; // lines that were not whole rows (a cut last line)

    int column(const QString &name) const { return columns.indexOf(name); }
};

// Nothing, with the reason in *error, when the file cannot be read or is
// not a drive log.
std::optional<LiveLogData> readLiveLog(const QString &path, QString *error);

} // namespace live
