#pragma once

#include <QString>

#include <functional>

// Figures of the live monitor, one "name value" line each:
//   refresh_pass_us: one screen-refresh pass over every screen, live bytes
//     changing every pass (the cost of one poll answer, painting aside).
//   refresh_unchanged_us: the same pass when nothing changed.
//   monitor_refresh_us, monitor_unchanged_us: the monitor's share of both.
//   refresh_paint_us: a changing pass and the repaint it causes.
//   poll_cpu_percent: the tool's CPU time over wall time while the monitor
//     polls the simulator through the real main window at 9600 baud.
//   monitor_poll_rate_hz: the answers a second it shows meanwhile.
//   logging_poll_rate_hz, logging_cpu_percent: the same while the drive log
//     is written; logging_rate_ratio: logging / plain rate (1 is no loss).
//   chart_poll_rate_hz, chart_cpu_percent, chart_rate_ratio: the same with
//     the live chart window open as well.
using Figure = std::function<void(const char *name, double value)>;

void benchRefresh(const Figure &figure, int passes);
// portsDir and port: where the simulator answers. False when it does not.
bool benchMonitorPolling(const Figure &figure, const QString &portsDir, int port, int seconds);
