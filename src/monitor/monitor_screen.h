#pragma once

#include "shell/form.h"

#include <QTimer>

class MemoryImage;
struct AppContext;

// FnMoniteur
class MonitorScreen : public Form {
    Q_OBJECT
  public:
    explicit MonitorScreen(AppContext &app, QWidget *parent = nullptr);

    // Steps 1 to 5 of the screen refresh: speed, temperature, pressure, gauges.
    void refreshGauges();
    // Steps 7 to 19 of the screen refresh (settings only while not polling).
    void refreshLive();
    // Steps 14 to 18 of the upload of edited values.
    void encodeInto(MemoryImage &image) const;
    void RazPrss_Click();
    // The live poll watchdog (200 ms).
    QTimer Timer1;

  private:
    AppContext &m_app;
};
