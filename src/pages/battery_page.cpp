#include "pages/battery_page.h"

#include "shell/app_context.h"

BatteryPage::BatteryPage(AppContext &app, QWidget *parent)
    : Form(QStringLiteral("FnParametres5"), QStringLiteral("Battery"), parent), m_app(app) {}

void BatteryPage::refreshFromImage() {}

void BatteryPage::encodeInto(MemoryImage &) const {}
