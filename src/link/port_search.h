#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <array>

class Link;

// Finding the ECU's port: the list of ports that open, and the automatic
// search that opens each present port in turn, sends a one-byte read of
// the firmware byte and keeps the first port on which that very read is
// answered with the firmware byte (never 0). One tick of TimerTestCom per port.
// The caller remembers the port found (ConfigFile::rememberPort).
class PortSearch : public QObject {
    Q_OBJECT
  public:
    // Ports 1..255, as Windows numbers them (USB adapters often get COM 21
    // and above) and the port directory allows.
    static constexpr int FirstPort = 1;
    static constexpr int LastPort = 255;
    static constexpr int FlagCount = LastPort + 2;
    static constexpr int EndIndex = LastPort + 1; // one past the last port searched
    enum Flag : quint8 { Failed = 0, Present = 1, Waiting = 2 };

    explicit PortSearch(Link &link, QObject *parent = nullptr);

    // Tries ports 1..255 and returns the entries "COM i" of those that open,
    // or the single entry " No Rs232 ". The link's port must be closed.
    QStringList buildList();
    // Starts the search over the flags of the last list.
    void start();
    bool isSearching() const { return TimerTestCom.isActive(); }
    // The port number of a list entry or of a typed text: the number it
    // ends with ("COM 123", "123", at most three digits); otherwise its last
    // two characters as a number (" No Rs232 " gives 2).
    static int entryPort(const QString &entry);
    // The list entry of port n.
    static QString entryText(int port) { return QStringLiteral("COM ") + QString::number(port); }

    std::array<quint8, FlagCount> PortFlags{};
    int ScanIndex = 1;
    QTimer TimerTestCom;

  public Q_SLOTS:
    void TimerTestCom_Timer();

  Q_SIGNALS:
    // One line of the search log, CR LF included.
    void logged(const QString &line);
    // The ECU answered on the link's port, which stays open.
    void found(int port);
    // No port answered; none is left open.
    void exhausted();

  private:
    Link &m_link;
    bool m_answered = false; // the test frame of the port tried was answered
};
