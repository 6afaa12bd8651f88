#pragma once

#include "figures.h"

#include <QString>

// Figures of the live monitor, each with its median and spread:
//   refresh_pass_us: one screen-refresh pass, live bytes changing every pass
//     (the cost of one poll answer, painting aside); under 100 us.
//   refresh_unchanged_us: the same pass when nothing changed.
//   monitor_refresh_us, monitor_unchanged_us: the monitor's share of both.
//   refresh_paint_us: a changing pass and the repaint it causes.
//   refresh_out_of_limits_us: refresh_pass_us with settings outside their
//     pages' limits, which the main parameters page clamps on every pass
//     (the others hold the settings of a freshly installed kit).
//   poll_cpu_percent: the tool's CPU time over wall time while the monitor
//     polls the simulator through the real main window at 9600 baud.
//   monitor_poll_rate_hz: the answers a second it shows meanwhile.
//   logging_poll_rate_hz, logging_cpu_percent: the same while the drive log
//     is written; logging_rate_ratio: logging / plain rate (1 is no loss).
//   chart_poll_rate_hz, chart_cpu_percent, chart_rate_ratio: the same with
//     the live chart window open as well (three channels shown);
//     chart_own_cpu_percent: what the chart adds to the drive log's CPU.
void benchRefresh(Figures &figures, int passes, int batches);

// Rounds of three windows (plain, drive log, drive log and chart) and a
// last plain window, each `intervals` answers long.
struct PollingPlan {
    int rounds = 5;
    int intervals = 36;
};
// portsDir and port: where the simulator answers. False, said on stderr,
// when it does not or a rate is impossible.
bool benchMonitorPolling(Figures &figures, const QString &portsDir, int port,
                         const PollingPlan &plan);
