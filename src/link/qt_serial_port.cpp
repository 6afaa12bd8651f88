#include "link/qt_serial_port.h"

#include <QFileInfo>

QtSerialPort::QtSerialPort(PortDirectory directory, QObject *parent)
    : SerialPort(parent), m_directory(std::move(directory)) {
    connect(&m_port, &QSerialPort::readyRead, this, &QtSerialPort::onReadyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialPort::onError);
}

SerialPort::OpenResult QtSerialPort::open(int portNumber) {
    close();
    const PortDevice target = m_directory.device(portNumber);
    const QFileInfo device(target.name);
    if (target.mustExist && !device.exists())
        return OpenResult::NotFound;
    const QString name = target.mustExist ? device.canonicalFilePath() : target.name;
    m_port.setPortName(name);
    m_port.setBaudRate(QSerialPort::Baud9600);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (m_port.open(QIODevice::ReadWrite)) {
        m_port.clear();
        return OpenResult::Opened;
    }
    const auto error = m_port.error();
    m_port.clearError();
    // Qt reports a port held by another program and a device this user may
    // not open alike; the device's access rights tell them apart.
    const bool busy =
        !target.mustExist || (QFileInfo(name).isReadable() && QFileInfo(name).isWritable());
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return OpenResult::NotFound;
    case QSerialPort::PermissionError:
        return busy ? OpenResult::InUse : OpenResult::NoPermission;
    default:
        return OpenResult::Failed;
    }
}

void QtSerialPort::close() {
    if (m_port.isOpen())
        m_port.close();
    m_port.clearError();
}

bool QtSerialPort::isOpen() const {
    return m_port.isOpen();
}

SerialPort::WriteResult QtSerialPort::write(const QByteArray &text) {
    if (!m_port.isOpen())
        return WriteResult::Failed;
    if (m_port.write(text) == text.size()) {
        m_port.flush(); // out now rather than at the next event-loop pass
        return WriteResult::Written;
    }
    if (m_port.error() != QSerialPort::ResourceError)
        return WriteResult::Failed;
    // The caller hears it from the result; no signal for the same loss.
    m_port.close();
    m_port.clearError();
    return WriteResult::DeviceGone;
}

QByteArray QtSerialPort::readAll() {
    return m_port.readAll();
}

void QtSerialPort::onReadyRead() {
    if (m_port.bytesAvailable() > 0)
        Q_EMIT readyRead();
}

// A vanished adapter shows as a resource error; a hung-up terminal keeps
// reporting itself readable and returns no characters, which surfaces as a
// read error. Either way the device is gone: close it so the event loop does
// not spin on it, and say so once.
void QtSerialPort::onError(QSerialPort::SerialPortError error) {
    if (!m_port.isOpen())
        return;
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError)
        return;
    // Stop listening at once; close outside QSerialPort's own notifier.
    m_port.blockSignals(true);
    QMetaObject::invokeMethod(this, &QtSerialPort::lose, Qt::QueuedConnection);
}

void QtSerialPort::lose() {
    m_port.blockSignals(false);
    if (!m_port.isOpen())
        return;
    m_port.close();
    m_port.clearError();
    Q_EMIT deviceGone();
}
