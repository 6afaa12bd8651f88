#pragma once

#include "support/sim_process.h"

#include <QTest>

#include <csignal>

// The simulator, its memory asked on its console.
using Ecu = SimProcess;

// Restore points go to a data folder of the test's own.
struct OwnDataHome {
    QTemporaryDir dir;
    OwnDataHome() { qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit()); }
};

// gasecu-cli started on the ECU's port and followed on its standard error
// while the test acts on the ECU.
class RunningCli {
  public:
    RunningCli(const Ecu &ecu, const QStringList &args) {
        m_process.start(qEnvironmentVariable("GASECU_CLI"), args + ecu.portArgs());
    }
    bool waitFor(const QByteArray &text, int ms = 120000) {
        return QTest::qWaitFor(
            [&] { return (m_err += m_process.readAllStandardError()).contains(text); }, ms);
    }
    void signal(int number) { ::kill(pid_t(m_process.processId()), number); }
    const QByteArray &err() const { return m_err; }
    RunResult finish() {
        RunResult r;
        if (!m_process.waitForFinished(90000))
            return r;
        r.exitCode = m_process.exitCode();
        r.out = m_process.readAllStandardOutput();
        r.err = m_err += m_process.readAllStandardError();
        return r;
    }

  private:
    QProcess m_process;
    QByteArray m_err;
};
