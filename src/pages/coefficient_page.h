#pragma once

#include "pages/parameter_page.h"

class CoefficientGrid;
class NumericEdit;

// FnParametres3: the pressure and gas-temperature coefficient tables.
class CoefficientPage : public ParameterPage {
    Q_OBJECT
  public:
    explicit CoefficientPage(AppContext &app, QWidget *parent = nullptr);

    // Rebuilds the two tables from the image.
    void PutInTaB();
    // Stores the two tables into the image.
    void TaBinMemoire();
    void TestValeurTableau();

    void BoutonCentrale_Click() override;

    // n = 1..20.
    NumericEdit *TxTbCP(int n) const;
    NumericEdit *TxTbCG(int n) const;
    CoefficientGrid *grid() const { return m_grid; }

  protected:
    void Form_Load() override;
    // Shown again, the page shows the image: a write from another screen
    // (the map screen's) is not undone by a later write from here.
    void showEvent(QShowEvent *event) override;

  private:
    CoefficientGrid *m_grid;
};
