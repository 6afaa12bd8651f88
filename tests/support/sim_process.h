#pragma once

#include <QProcess>
#include <QTemporaryDir>

// The ECU simulator as a separate program on a real pseudo-terminal,
// published as comN in a port directory of its own.
class SimProcess {
  public:
    explicit SimProcess(int port = 1) : m_port(port) {}
    // Publishes its port in another simulator's port directory, so several
    // ECUs sit on several ports of one directory.
    SimProcess(int port, const QString &sharedPortsDir) : m_port(port), m_shared(sharedPortsDir) {}
    ~SimProcess() { stop(); }

    // Starts gasecu-sim ($GASECU_SIM) with the extra arguments and waits
    // until it has published its port.
    bool start(const QStringList &extra = {});
    void stop();
    // A console command on the simulator's standard input ("vanish", ...).
    void command(const QByteArray &line);

    QString portsDir() const { return m_shared.isEmpty() ? m_dir.path() : m_shared; }
    QString entry() const;
    int port() const { return m_port; }
    QString dirPath(const QString &name) const { return m_dir.filePath(name); }

  private:
    int m_port;
    QTemporaryDir m_dir;
    QString m_shared;
    QProcess m_process;
};

// Runs a program to its end; returns its exit code (-1 when it did not end).
struct RunResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};
RunResult runProgram(const QString &program, const QStringList &args, const QString &workDir = {},
                     int timeoutMs = 60000);
