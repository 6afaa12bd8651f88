#include "support/sim_process.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QThread>

bool SimProcess::start(const QStringList &extra) {
    const QString program = qEnvironmentVariable("GASECU_SIM");
    if (program.isEmpty() || !m_dir.isValid())
        return false;
    QStringList args = {QStringLiteral("--port"), QString::number(m_port),
                        QStringLiteral("--ports-dir"), portsDir()};
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(program, args + extra);
    if (!m_process.waitForStarted(30000))
        return false;
    QDeadlineTimer deadline(30000);
    while (!m_process.canReadLine()) {
        if (deadline.hasExpired() || m_process.state() != QProcess::Running)
            return false;
        m_process.waitForReadyRead(100);
    }
    m_process.readLine(); // "gasecu-sim: port N on ..."
    return QFileInfo(entry()).isSymLink();
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

QString SimProcess::entry() const {
    return QDir(portsDir()).filePath(QStringLiteral("com%1").arg(m_port));
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
