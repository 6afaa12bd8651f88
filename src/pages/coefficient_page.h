#pragma once

#include "ui/form.h"

class CoefficientGrid;
class NumericEdit;
class QPushButton;
struct AppContext;

// FnParametres3: the pressure and gas-temperature coefficient tables.
class CoefficientPage : public Form {
    Q_OBJECT
  public:
    explicit CoefficientPage(AppContext &app, QWidget *parent = nullptr);

    // Rebuilds the two tables from the image.
    void PutInTaB();
    // Stores the two tables into the image.
    void TaBinMemoire();
    void TestValeurTableau();

    void BoutonCentrale_Click();
    void BoutonPC_Click();
    void BtPagePreced_Click();
    void BtPageSuivante_Click();

    // n = 1..20.
    NumericEdit *TxTbCP(int n) const;
    NumericEdit *TxTbCG(int n) const;
    CoefficientGrid *grid() const { return m_grid; }

    QPushButton *BoutonCentrale;
    QPushButton *BoutonPC;
    QPushButton *BtPagePreced;
    QPushButton *BtPageSuivante;

  protected:
    void Form_Load() override;

  private:
    AppContext &m_app;
    CoefficientGrid *m_grid;
};
