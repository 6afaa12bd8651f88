#pragma once

#include "ui/form.h"

#include <QByteArrayView>

#include <optional>

class QPushButton;
class QVBoxLayout;
struct AppContext;

// What the parameter pages have in common: the context, the transfer
// buttons BoutonCentrale (PC to ECU) and BoutonPC (ECU to PC), and the
// buttons that turn to the previous and the next page of the chain. A page
// says where its turns lead and whether its read pauses the poll; how it
// writes is its own.
class ParameterPage : public Form {
    Q_OBJECT
  public:
    // Where a page-turn button leads: the parameter page it shows (numbered
    // as Screens::parameterPage numbers them), the page the menu's
    // Parameters button reopens from then on, and what it does to the poll.
    struct Turn {
        int page;
        int currentPage;
        QByteArrayView pollFrame; // empty: unchanged
        std::optional<bool> pollingOn;
    };
    struct Buttons {
        std::optional<Turn> previous{}; // none: no BtPagePreced
        std::optional<Turn> next{};     // none: no BtPageSuivante
        // The pages with live readings pause the poll while they read.
        bool readPausesPoll = false;
    };

    ParameterPage(const QString &name, const QString &caption, AppContext &app,
                  const Buttons &buttons, QWidget *parent);

    virtual void BoutonCentrale_Click() = 0; // PC -> ECU
    void BoutonPC_Click();                   // ECU -> PC
    void BtPagePreced_Click();
    void BtPageSuivante_Click();

    QPushButton *BoutonCentrale = nullptr;
    QPushButton *BoutonPC = nullptr;
    QPushButton *BtPagePreced = nullptr;
    QPushButton *BtPageSuivante = nullptr;

  protected:
    // The foot of a table page: the download frame between the page-turn
    // buttons the page has, all connected.
    void addBottomRow(QVBoxLayout *column);
    // Connects the buttons above that the page has made to their handlers.
    void connectButtons();

    AppContext &m_app;

  private:
    Buttons m_buttons;
};
