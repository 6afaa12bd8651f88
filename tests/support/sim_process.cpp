#include "support/sim_process.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

bool SimProcess::start(const QStringList &extra) {
    const QString program = qEnvironmentVariable("GASECU_SIM");
    if (program.isEmpty() || !m_dir.isValid())
        return false;
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(program, portArgs() + extra);
    // The first line: "gasecu-sim: port N on ..."
    return m_process.waitForStarted(30000) && !answer().isEmpty() && QFileInfo(entry()).isSymLink();
}

void SimProcess::stop() {
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(10000)) {
        m_process.kill();
        m_process.waitForFinished(10000);
    }
}

void SimProcess::command(const QByteArray &line) {
    m_process.write(line + '\n');
    m_process.waitForBytesWritten(5000);
}

QByteArray SimProcess::ask(const QByteArray &line) {
    m_process.write(line + '\n');
    return answer();
}

QByteArray SimProcess::peek(int address, int count) {
    QByteArray bytes;
    for (int at = address; at < address + count; at += 0x100) {
        const int n = qMin(0x100, address + count - at);
        const QByteArray line =
            ask("peek " + QByteArray::number(at, 16) + ' ' + QByteArray::number(n, 16));
        bytes += QByteArray::fromHex(line.mid(line.indexOf(':') + 1).replace(' ', ""));
    }
    return bytes;
}

QByteArray SimProcess::answer() {
    for (const QDeadlineTimer deadline(30000); !m_process.canReadLine();) {
        if (deadline.hasExpired() || m_process.state() != QProcess::Running)
            return {};
        m_process.waitForReadyRead(100);
    }
    return m_process.readLine().trimmed().mid(12);
}

QString SimProcess::entry() const {
    return QDir(portsDir()).filePath(QStringLiteral("com%1").arg(m_port));
}

QStringList SimProcess::portArgs() const {
    return {QStringLiteral("--port"), QString::number(m_port), QStringLiteral("--ports-dir"),
            portsDir()};
}

RunResult runProgram(const QString &program, const QStringList &args, const QString &workDir,
                     int timeoutMs) {
    QProcess p;
    if (!workDir.isEmpty())
        p.setWorkingDirectory(workDir);
    p.start(program, args);
    RunResult r;
    if (!p.waitForStarted(30000))
        return r;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(5000);
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

RunResult runCli(const QStringList &args, const QString &workDir) {
    return runProgram(qEnvironmentVariable("GASECU_CLI"), args, workDir, 90000);
}

QByteArray fileBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}
