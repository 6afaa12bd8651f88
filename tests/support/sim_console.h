#pragma once

#include "support/sim_process.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>

// The simulator with its console's answers readable: the ECU's memory is asked with "peek".
class Ecu {
  public:
    explicit Ecu(int port) : m_port(port) {}
    ~Ecu() {
        m_process.terminate();
        if (!m_process.waitForFinished(10000))
            m_process.kill();
        m_process.waitForFinished(5000);
    }

    bool start(const QStringList &extra) {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(
            qEnvironmentVariable("GASECU_SIM"),
            QStringList{"--port", QString::number(m_port), "--ports-dir", m_dir.path()} + extra);
        return m_process.waitForStarted(30000) && !answer().isEmpty();
    }
    // One console command and its answer, without the "gasecu-sim: " in front.
    QByteArray ask(const QByteArray &line) {
        m_process.write(line + '\n');
        return answer();
    }
    // The ECU's bytes, up to 256 at a time from the console.
    QByteArray peek(int address, int count) {
        QByteArray bytes;
        for (int at = address; at < address + count; at += 0x100) {
            const int n = qMin(0x100, address + count - at);
            const QByteArray line =
                ask("peek " + QByteArray::number(at, 16) + ' ' + QByteArray::number(n, 16));
            bytes += QByteArray::fromHex(line.mid(line.indexOf(':') + 1).replace(' ', ""));
        }
        return bytes;
    }
    // The configuration area, 0x800..0xFFF.
    QByteArray config() { return peek(0x800, 0x800); }

    // gasecu-cli on this ECU's port.
    RunResult cli(const QStringList &args, const QString &workDir = {}) {
        return runProgram(
            qEnvironmentVariable("GASECU_CLI"),
            args + QStringList{"--port", QString::number(m_port), "--ports-dir", m_dir.path()},
            workDir, 90000);
    }
    int port() const { return m_port; }
    QString portsDir() const { return m_dir.path(); }
    QString entry() const { return m_dir.filePath(QStringLiteral("com%1").arg(m_port)); }
    QString file(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

  private:
    QByteArray answer() {
        for (const QDeadlineTimer deadline(30000); !m_process.canReadLine();) {
            if (deadline.hasExpired() || m_process.state() != QProcess::Running)
                return {};
            m_process.waitForReadyRead(100);
        }
        return m_process.readLine().trimmed().mid(12);
    }

    int m_port;
    QTemporaryDir m_dir;
    QProcess m_process;
};
