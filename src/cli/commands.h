#pragma once

#include <QStringList>

// The gasecu-cli commands, one file each. Each takes the whole argument list
// (program, command name, then its own arguments) and returns the exit code.
int runRead(const QStringList &arguments);
int runMonitor(const QStringList &arguments);
int runSave(const QStringList &arguments);
int runUpload(const QStringList &arguments);
int runPorts(const QStringList &arguments);
int runCalibrate(const QStringList &arguments);
int runDiff(const QStringList &arguments);
int runMap(const QStringList &arguments);
int runJobs(const QStringList &arguments);
int runJob(const QStringList &arguments);
int runWorkshop(const QStringList &arguments);
int runReport(const QStringList &arguments);
int runBackup(const QStringList &arguments);
