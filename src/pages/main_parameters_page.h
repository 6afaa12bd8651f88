#pragma once

#include "pages/parameter_page.h"
#include "ui/numeric_edit.h"

#include <vector>

class MemoryImage;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

// FnParametres: when the ECU switches from petrol to gas, the gas-system
// alarms, the deceleration cut-off and empty-tank delays, the injection and
// lambda sensor types, and the ECU reset. First page of the parameter chain.
class MainParametersPage : public ParameterPage {
    Q_OBJECT
  public:
    explicit MainParametersPage(AppContext &app, QWidget *parent = nullptr);

    // This page's share of the screen refresh: every field from the image.
    void refreshFromImage();
    // Stores every field into the image, for UploadEditedValues, which
    // stores these before the other pages' fields.
    void encodeInto(MemoryImage &image) const;

    // Checks and corrects every field of the page; run by every change.
    void TestValeur();
    void BoutonCentrale_Click() override;
    void Btreset_Click();
    void BtChangePage_Click(); // Next >>
    void ComboCommutation_Click();
    void ComboInjection_Click();
    void ComboLambda_Click();

    // Frame " Switch over "
    NumericEdit *TemperatureText, *PressionText, *DelayComText, *DelaySupText, *RPMText;
    QPushButton *BtTemp1, *BtTemp2, *BtPression1, *BtPression2, *BtDelayCom1, *BtDelayCom2;
    QPushButton *BtDelaySup1, *BtDelaySup2, *BTRPM1, *BTRPM2;
    QComboBox *ComboCommutation;
    // Frame " Decceleration "
    NumericEdit *TxCutOff;
    QLineEdit *TxCutOff2;
    QPushButton *BtCut1, *BtCut2;
    // Frame " Alarmes - Check"
    NumericEdit *ALTemperatureText, *ALPressionText, *CoPressionText;
    QPushButton *BtALTemp1, *BtALTemp2, *BtALPression1, *BtALPression2;
    QPushButton *BtDelayPress1, *BtDelayPress2;
    // Frame "Empty tank"
    NumericEdit *TxTank;
    QLineEdit *TxTank2;
    QPushButton *BtTank1, *BtTank2;
    // Frame " Sensors"
    QComboBox *ComboInjection, *ComboLambda;
    QPushButton *Btreset, *BtChangePage;

  protected:
    void Form_Load() override;

  private:
    // main_parameters_layout.cpp
    void buildForm();
    QWidget *switchOverFrame();
    QWidget *alarmFrame();
    QWidget *delaysColumn();
    QWidget *rightColumn();
    // The row's field with its minus and plus buttons.
    NumericEdit *stepField(const ecu::Field &row, const char *minusName, const char *plusName,
                           QPushButton *&minus, QPushButton *&plus);
    QLabel *label(const char *name, const char *caption);
    void fillChoiceLists();

    // One pass of the checks; true when it corrected a field.
    bool validationPass();

    ValidationGuard m_validate;
    std::vector<StepButtons> m_steps;
    bool m_lambdaClickRunning = false;
};
