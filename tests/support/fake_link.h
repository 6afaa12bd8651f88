#pragma once

#include "link/frames.h"
#include "link/link.h"
#include "support/fake_serial_port.h"

#include <memory>

// The link asks for the frame's range, as the poll or a screen would, and the
// data frame then arrives as its answer: only answers to the link's own
// reads reach the image. The read itself is left off the written lines.
inline void answerRead(Link &link, FakeSerialPort &port, const QByteArray &frame) {
    if (const auto range = Link::dataFrameRange(frame.chopped(1))) {
        const QByteArray read = frames::readText(range->address, range->count) + '\r';
        link.SendLine(read);
        if (const qsizetype at = port.written.lastIndexOf(read); at >= 0)
            port.written.removeAt(at);
    }
    port.feed(frame);
}

// A Link on an in-memory port. rebuild() throws the pair away and builds a
// new one, its port closed; reset() also opens it. port and link point at
// the current pair.
class FakeLink {
  public:
    FakeSerialPort *port = nullptr;
    Link *link = nullptr;

    void rebuild() {
        m_link.reset();
        m_port = std::make_unique<FakeSerialPort>();
        m_link = std::make_unique<Link>(m_port.get());
        port = m_port.get();
        link = m_link.get();
    }
    bool reset(int portNumber = 1) {
        rebuild();
        link->setPortNumber(portNumber);
        return link->OpenPort();
    }

    // The link asks for count bytes at address (the line is forgotten): only
    // answers to reads it sent reach the image.
    void ask(int address, int count) {
        link->SendLine(frames::readText(address, count) + '\r');
        port->written.removeAll(frames::readText(address, count) + '\r');
    }

  private:
    std::unique_ptr<FakeSerialPort> m_port;
    std::unique_ptr<Link> m_link; // declared last: goes before its port
};
