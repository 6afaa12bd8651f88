#pragma once

#include "ui/form.h"

class QLabel;
class QPushButton;
struct AppContext;

// The brand's information form (FnEntete for brand 0, FnEntete2 for
// brand 1): logo, product and distributor. Its OK button opens the port and
// leads to the first read.
class InfoForm : public Form {
    Q_OBJECT
  public:
    InfoForm(AppContext &app, int brand, QWidget *parent = nullptr);

    QLabel *Image1;
    QLabel *productLabel; // Label3 on FnEntete, Label4 on FnEntete2
    QPushButton *Command1;

    void Command1_Click();

  protected:
    void Form_Load() override;
    void Form_Unload() override;

  private:
    AppContext &m_app;
    int m_brand;
};
