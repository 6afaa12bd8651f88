#pragma once

#include <QProcess>
#include <QTemporaryDir>

// Runs a program to its end; returns its exit code (-1 when it did not end).
struct RunResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};
RunResult runProgram(const QString &program, const QStringList &args, const QString &workDir = {},
                     int timeoutMs = 60000);
// gasecu-cli ($GASECU_CLI) with these arguments.
RunResult runCli(const QStringList &args, const QString &workDir = {});
// A file's bytes, "(missing)" when it cannot be read.
QByteArray fileBytes(const QString &path);

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
    // A console command and its answer, without the "gasecu-sim: " in front.
    // Not to be mixed with command(), whose answers are left unread.
    QByteArray ask(const QByteArray &line);
    // The ECU's bytes, up to 256 at a time from the console ("peek").
    QByteArray peek(int address, int count);
    // The configuration area, 0x800..0xFFF.
    QByteArray config() { return peek(0x800, 0x800); }

    QString portsDir() const { return m_shared.isEmpty() ? m_dir.path() : m_shared; }
    QString entry() const;
    int port() const { return m_port; }
    QString dirPath(const QString &name) const { return m_dir.filePath(name); }
    // "--port N --ports-dir DIR" for gasecu-cli, and gasecu-cli run with them.
    QStringList portArgs() const;
    RunResult cli(const QStringList &args, const QString &workDir = {}) const {
        return runCli(args + portArgs(), workDir);
    }

  private:
    QByteArray answer();

    int m_port;
    QTemporaryDir m_dir;
    QString m_shared;
    QProcess m_process;
};
