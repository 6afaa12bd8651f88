#pragma once

#include "shell/form.h"

#include <QTimer>

class MemoryImage;
struct AppContext;

// FnParametres4
class NtcPage : public Form {
    Q_OBJECT
  public:
    explicit NtcPage(AppContext &app, QWidget *parent = nullptr);

    // Rebuild the two NTC windows from the image.
    void PutIndexNTCE();
    void PutIndexNTCG();

  private:
    AppContext &m_app;
};
