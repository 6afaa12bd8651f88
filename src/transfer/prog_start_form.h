#pragma once

#include "ui/form.h"

class QLabel;
class QPushButton;
struct AppContext;

// FnProgStart: the first read of the ECU is obligatory before the screens
// that show its configuration can be used.
class ProgStartForm : public Form {
    Q_OBJECT
  public:
    explicit ProgStartForm(AppContext &app, QWidget *parent = nullptr);

    QLabel *Label1;
    QPushButton *BoutonPC;

    void BoutonPC_Click();

  protected:
    void Form_Load() override;

  private:
    AppContext &m_app;
};
