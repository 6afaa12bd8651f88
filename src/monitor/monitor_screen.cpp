#include "monitor/monitor_screen.h"

#include "shell/app_context.h"

MonitorScreen::MonitorScreen(AppContext &app, QWidget *parent)
    : Form(QStringLiteral("FnMoniteur"), QStringLiteral("Monitor"), parent), m_app(app) {}

void MonitorScreen::refreshGauges() {}

void MonitorScreen::refreshLive() {}

void MonitorScreen::encodeInto(MemoryImage &) const {}

void MonitorScreen::RazPrss_Click() {}
