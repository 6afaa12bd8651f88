#pragma once

#include "shell/form.h"

#include <QTimer>

class MemoryImage;
struct AppContext;

// FnParametres2
class LevelPage : public Form {
    Q_OBJECT
  public:
    explicit LevelPage(AppContext &app, QWidget *parent = nullptr);

    // Step 20 of the screen refresh (settings only while not polling).
    void refreshFromImage();
    // Steps 19 to 22 of the upload of edited values.
    void encodeInto(MemoryImage &image) const;

  private:
    AppContext &m_app;
};
