#pragma once

#include <QString>

enum class PortPlatform { Unix, Windows };
#ifdef Q_OS_WIN
inline constexpr PortPlatform HostPlatform = PortPlatform::Windows;
#else
inline constexpr PortPlatform HostPlatform = PortPlatform::Unix;
#endif

// How port N is reached. On Windows it is the device "COMN", opened by its
// name (COM10 and above too). Elsewhere the entry "comN" of a port directory
// (a symlink to the device, or a file whose first line names it) wins; the
// directory is the one given on the command line, else $GASECU_PORTS, else
// ~/.config/gasecu/ports. Without an entry, port N is the USB-RS232 adapter
// /dev/ttyUSB(N-1), and a device file that does not exist is a missing port.
struct PortDevice {
    QString name;
    bool mustExist = true; // test the device file before opening it
};

class PortDirectory {
  public:
    explicit PortDirectory(QString commandLineDir = {});

    QString directory() const { return m_dir; }
    PortDevice device(int portNumber, PortPlatform platform = HostPlatform) const;
    QString devicePath(int portNumber) const { return device(portNumber).name; }
    QString entryPath(int portNumber) const;

  private:
    QString m_dir;
};
