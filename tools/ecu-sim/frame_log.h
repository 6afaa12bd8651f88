#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>

namespace ecusim {

// One line per frame: wall-clock time, direction, the frame with control characters escaped,
// and a note (why a command was ignored, which fault hit a reply).
//   12:04:31.207 RX @R000378C
//   12:04:31.334 TX @W0003704...3A [split]
class FrameLog {
  public:
    FrameLog() = default;
    bool open(const QString &path, QString *error); // "-" is standard error
    void attach(QIODevice *device);                 // tests log into a buffer
    bool enabled() const { return device_ != nullptr; }

    void received(const QByteArray &frame, const QString &note = {});
    void sent(const QByteArray &frame, const QString &note = {});
    void event(const QString &text);

    static QByteArray printable(const QByteArray &bytes);

  private:
    void write(const char *direction, const QByteArray &text, const QString &note);

    std::unique_ptr<QFile> file_;
    QIODevice *device_ = nullptr;
};

} // namespace ecusim
