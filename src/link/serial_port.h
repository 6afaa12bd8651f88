#pragma once

#include <QByteArray>
#include <QObject>

// The serial line to the ECU as the link sees it: open a numbered port at
// 9600 baud 8N1, write text, be told when characters arrive and read them
// all, and hear about a port that is missing, busy or has vanished.
class SerialPort : public QObject {
    Q_OBJECT
  public:
    enum class OpenResult { Opened, NotFound, InUse, NoPermission, Failed };
    enum class WriteResult { Written, DeviceGone, Failed };

    using QObject::QObject;

    virtual OpenResult open(int portNumber) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual WriteResult write(const QByteArray &text) = 0;
    virtual QByteArray readAll() = 0;

  Q_SIGNALS:
    // Characters are waiting.
    void readyRead();
    // The open device went away (adapter unplugged). Emitted once; the port
    // is closed by the time it is emitted.
    void deviceGone();
};
