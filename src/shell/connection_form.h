#pragma once

#include "link/port_search.h"
#include "ui/form.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
struct AppContext;

// FnConnection: the fitter picks the ECU's serial port from the ports that
// open, or lets the tool search for the port on which the ECU answers. The
// port chosen or found is remembered for the next start.
class ConnectionForm : public Form {
    Q_OBJECT
  public:
    explicit ConnectionForm(AppContext &app, QWidget *parent = nullptr);

    QLabel *Label1;
    QComboBox *Combo1;
    QPushButton *Command1;
    QToolButton *Command3;
    QToolButton *Actualise;
    QToolButton *Command4;
    QPlainTextEdit *Text1;
    PortSearch search;

    void Command1_Click();
    void Actualise_Click();
    void Command4_Click();

  protected:
    void Form_Load() override;
    void Form_Unload() override;

  private:
    void fillList();
    void searchFound(int port);
    AppContext &m_app;
};
