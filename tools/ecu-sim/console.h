#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

namespace ecusim {

class EcuSimulator;
class PtyPort;

// Runtime control of a running simulator, one command a line:
//   status | fault KIND on|off|P|next N | fault late MS [RULE] | fault stale N | fault off
//   vanish [SECONDS] | plug
//   gas | petrol | alarm BITS | throttle PERCENT | warm | drive [on|off] | delay MS
//   pacing on|off | help | quit
class Console : public QObject {
    Q_OBJECT
  public:
    Console(EcuSimulator *sim, PtyPort *port, QObject *parent = nullptr);

    // Runs one command and returns the answer to print.
    QString execute(const QString &line);

    // Reads commands from standard input when it is a terminal in the foreground, a pipe or a
    // socket; /dev/null, a closed descriptor or end-of-file simply leave the console idle.
    bool attachStdin();

    static QString help();

  Q_SIGNALS:
    void quitRequested();

  private:
    // console_memory.cpp: "poke ADDR VALUE" and "peek ADDR [COUNT]".
    QString memoryCommand(const QStringList &args);

    void readStdin();
    QString fault(const QStringList &args);
    QString plug();

    EcuSimulator *sim_;
    PtyPort *port_;
    QSocketNotifier *stdin_ = nullptr;
    QByteArray buffer_;
};

} // namespace ecusim
