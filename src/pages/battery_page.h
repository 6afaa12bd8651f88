#pragma once

#include "shell/form.h"

#include <QTimer>

class MemoryImage;
struct AppContext;

// FnParametres5
class BatteryPage : public Form {
    Q_OBJECT
  public:
    explicit BatteryPage(AppContext &app, QWidget *parent = nullptr);

    // Step 23 of the screen refresh (settings only while not polling).
    void refreshFromImage();
    // Step 23 of the upload of edited values.
    void encodeInto(MemoryImage &image) const;

  private:
    AppContext &m_app;
};
