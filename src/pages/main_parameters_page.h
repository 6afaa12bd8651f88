#pragma once

#include "shell/form.h"

#include <QTimer>

class MemoryImage;
struct AppContext;

// FnParametres
class MainParametersPage : public Form {
    Q_OBJECT
  public:
    explicit MainParametersPage(AppContext &app, QWidget *parent = nullptr);

    // Step 6 of the screen refresh: every field from the image.
    void refreshFromImage();
    // Steps 1 to 13 of the upload of edited values.
    void encodeInto(MemoryImage &image) const;

  private:
    AppContext &m_app;
};
