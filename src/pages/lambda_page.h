#pragma once

#include "shell/form.h"

#include <QTimer>

class MemoryImage;
struct AppContext;

// FnParametres6
class LambdaPage : public Form {
    Q_OBJECT
  public:
    explicit LambdaPage(AppContext &app, QWidget *parent = nullptr);

    // Shows the lambda settings decoded from the image.
    void Affiche();

  private:
    AppContext &m_app;
};
