#pragma once

#include "shell/form.h"

#include <QTimer>

class MemoryImage;
struct AppContext;

// FnParametres3
class CoefficientPage : public Form {
    Q_OBJECT
  public:
    explicit CoefficientPage(AppContext &app, QWidget *parent = nullptr);

    // Rebuilds the two tables from the image.
    void PutInTaB();

  private:
    AppContext &m_app;
};
