#pragma once

#include "link/serial_port.h"

#include <QByteArrayList>
#include <QMap>

// An in-memory line: records every text written and delivers received text
// in exactly the chunks a test chooses.
class FakeSerialPort : public SerialPort {
    Q_OBJECT
  public:
    using SerialPort::SerialPort;

    OpenResult nextOpen = OpenResult::Opened;
    QMap<int, OpenResult> openByPort; // wins over nextOpen for the ports it names
    WriteResult nextWrite = WriteResult::Written;
    QByteArrayList written;
    QList<int> openedPorts;

    OpenResult open(int portNumber) override {
        openedPorts.append(portNumber);
        const OpenResult result = openByPort.value(portNumber, nextOpen);
        m_open = result == OpenResult::Opened;
        return result;
    }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    WriteResult write(const QByteArray &text) override {
        if (nextWrite == WriteResult::Written)
            written.append(text);
        else if (nextWrite == WriteResult::DeviceGone)
            m_open = false;
        return nextWrite;
    }
    QByteArray readAll() override { return std::exchange(m_rx, {}); }

    // One receive event carrying exactly this text.
    void feed(const QByteArray &text) {
        m_rx += text;
        Q_EMIT readyRead();
    }
    // Replies in flight at once: queued first, then delivered when the test says.
    void queueReply(const QByteArray &text) { m_inFlight.append(text); }
    qsizetype repliesInFlight() const { return m_inFlight.size(); }
    // The oldest reply in flight arrives alone in one receive event.
    void deliverNext() {
        if (!m_inFlight.isEmpty())
            feed(m_inFlight.takeFirst());
    }
    // Everything in flight arrives in receive events of `chunk` characters, cut across replies
    // (0: all of it in one event). Replies queued meanwhile stay in flight.
    void deliverAll(qsizetype chunk = 0) {
        const QByteArray all = std::exchange(m_inFlight, {}).join();
        const qsizetype step = chunk > 0 ? chunk : qMax<qsizetype>(all.size(), 1);
        for (qsizetype at = 0; at < all.size(); at += step)
            feed(all.mid(at, step));
    }
    // The adapter is unplugged while open.
    void unplug() {
        m_open = false;
        Q_EMIT deviceGone();
    }
    QByteArray takeWritten() {
        const QByteArray all = written.join();
        written.clear();
        return all;
    }

  private:
    bool m_open = false;
    QByteArray m_rx;
    QByteArrayList m_inFlight;
};
