#include "ecu-sim/frame_log.h"

#include <QTime>

#include <cstdio>

namespace ecusim {

bool FrameLog::open(const QString &path, QString *error) {
    auto file = std::make_unique<QFile>();
    bool ok = false;
    if (path == QLatin1String("-")) {
        ok = file->open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
    } else {
        file->setFileName(path);
        ok = file->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text);
    }
    if (!ok) {
        *error = file->errorString();
        return false;
    }
    file_ = std::move(file);
    device_ = file_.get();
    return true;
}

void FrameLog::attach(QIODevice *device) {
    file_.reset();
    device_ = device;
}

QByteArray FrameLog::printable(const QByteArray &bytes) {
    QByteArray out;
    for (char c : bytes) {
        const auto u = quint8(c);
        if (c == '\r')
            continue; // every frame ends in CR; the line end shows it
        if (u < 0x20 || u >= 0x7F)
            out += "\\x" + QByteArray::number(u, 16).rightJustified(2, '0');
        else
            out += c;
    }
    return out;
}

void FrameLog::received(const QByteArray &frame, const QString &note) {
    write("RX", frame, note);
}

void FrameLog::sent(const QByteArray &frame, const QString &note) {
    write("TX", frame, note);
}

void FrameLog::event(const QString &text) {
    write("--", text.toUtf8(), {});
}

void FrameLog::write(const char *direction, const QByteArray &text, const QString &note) {
    if (!device_)
        return;
    QByteArray line = QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz")).toLatin1();
    line += ' ';
    line += direction;
    line += ' ';
    line += printable(text);
    if (!note.isEmpty())
        line += " [" + note.toUtf8() + ']';
    line += '\n';
    device_->write(line);
    if (auto *f = qobject_cast<QFile *>(device_))
        f->flush();
}

} // namespace ecusim
