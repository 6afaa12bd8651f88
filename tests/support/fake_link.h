#pragma once

#include "link/link.h"
#include "support/fake_serial_port.h"

#include <memory>

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

  private:
    std::unique_ptr<FakeSerialPort> m_port;
    std::unique_ptr<Link> m_link; // declared last: goes before its port
};
