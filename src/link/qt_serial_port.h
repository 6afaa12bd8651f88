#pragma once

#include "link/port_directory.h"
#include "link/serial_port.h"

#include <QSerialPort>

// The real line: QSerialPort on the device the port directory names.
class QtSerialPort : public SerialPort {
    Q_OBJECT
  public:
    explicit QtSerialPort(PortDirectory directory, QObject *parent = nullptr);

    OpenResult open(int portNumber) override;
    void close() override;
    bool isOpen() const override;
    WriteResult write(const QByteArray &text) override;
    QByteArray readAll() override;

  private:
    void onError(QSerialPort::SerialPortError error);
    void onReadyRead();
    void lose();

    PortDirectory m_directory;
    QSerialPort m_port;
};
