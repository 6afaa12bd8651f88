#pragma once

#include "pages/parameter_page.h"

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QScrollBar;

// FnParametres4: the coolant and gas temperature sensor tables, shown through
// two windows of 18 entries. The page only displays them.
class NtcPage : public ParameterPage {
    Q_OBJECT
  public:
    explicit NtcPage(AppContext &app, QWidget *parent = nullptr);

    // Rebuild the two NTC windows from the image.
    void PutIndexNTCE();
    void PutIndexNTCG();

    void HScroll1_Change() { PutIndexNTCE(); }
    void HScroll2_Change() { PutIndexNTCG(); }
    // The tables reach the ECU only with a memory file: the button is
    // disabled and writes nothing.
    void BoutonCentrale_Click() override {}

    QScrollBar *HScroll1;
    QScrollBar *HScroll2;
    std::array<QLabel *, 18> IndexNE{};    // IndexNE0..IndexNE17
    std::array<QLabel *, 18> IndexGE{};    // IndexGE0..IndexGE17
    std::array<QLineEdit *, 18> TxTbEau{}; // TxTbEau1..TxTbEau18 at [0..17]
    std::array<QLineEdit *, 18> TxTbGaz{}; // TxTbGaz1..TxTbGaz18 at [0..17]

  protected:
    void Form_Load() override;
    // Shown again, both windows show the image.
    void showEvent(QShowEvent *event) override;

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
};
