#pragma once

#include "ui/form.h"

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
struct AppContext;

// FnParametres4: the coolant and gas temperature sensor tables, shown through
// two windows of 18 entries. The page only displays them.
class NtcPage : public Form {
    Q_OBJECT
  public:
    explicit NtcPage(AppContext &app, QWidget *parent = nullptr);

    // Rebuild the two NTC windows from the image.
    void PutIndexNTCE();
    void PutIndexNTCG();

    void HScroll1_Change() { PutIndexNTCE(); }
    void HScroll2_Change() { PutIndexNTCG(); }
    void BoutonPC_Click();
    void BtPagePreced_Click();
    void BtPageSuivante_Click();

    QScrollBar *HScroll1;
    QScrollBar *HScroll2;
    std::array<QLabel *, 18> IndexNE{};    // IndexNE0..IndexNE17
    std::array<QLabel *, 18> IndexGE{};    // IndexGE0..IndexGE17
    std::array<QLineEdit *, 18> TxTbEau{}; // TxTbEau1..TxTbEau18 at [0..17]
    std::array<QLineEdit *, 18> TxTbGaz{}; // TxTbGaz1..TxTbGaz18 at [0..17]
    QPushButton *BoutonCentrale;
    QPushButton *BoutonPC;
    QPushButton *BtPagePreced;
    QPushButton *BtPageSuivante;

  protected:
    void Form_Load() override;

  private:
    struct Window {
        QScrollBar *scroll;
        std::array<QLabel *, 18> *index;
        std::array<QLineEdit *, 18> *values;
        int base;
    };
    QGroupBox *makeTable(const QString &name, const QString &caption, const QString &indexStem,
                         const QString &valueStem, std::array<QLabel *, 18> &index,
                         std::array<QLineEdit *, 18> &values, QScrollBar *&scroll);
    void showWindow(const Window &window);

    AppContext &m_app;
};
