#pragma once

#include <QString>

// Turns a port number into a device path. The entry "comN" of a port
// directory (a symlink to the device, or a file whose first line names it)
// wins; the directory is the one given on the command line, else
// $GASECU_PORTS, else ~/.config/gasecu/ports. Without an entry, port N is the
// USB-RS232 adapter /dev/ttyUSB(N-1) (COMN on Windows).
class PortDirectory {
  public:
    explicit PortDirectory(QString commandLineDir = {});

    QString directory() const { return m_dir; }
    QString devicePath(int portNumber) const;
    QString entryPath(int portNumber) const;

  private:
    QString m_dir;
};
