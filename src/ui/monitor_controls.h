#pragma once

#include <array>

class LevelBar;
class NumericEdit;
class QLabel;
class QLineEdit;

// The monitor's live controls that the calibration and map screens copy
// (readouts, bars, trim fields), and the two actions they share with it:
// the fuel switch and the write of both banks' trims. The monitor screen is
// one; the other screens reach it through the registry, never its header.
class MonitorControls {
  public:
    // Petrol asks for gas; gas or waiting for it goes back to petrol.
    virtual void SwitchCommutateur_Click() = 0;
    // Writes the trims of both banks and the extra time.
    virtual void BoutonCentraleB_Click() = 0;

    // " Sensors "
    QLineEdit *TextTPEau, *TextTPGaz, *TextPression, *TextLambda, *TextRPM;
    LevelBar *BarTPEau, *BarTPGaz, *BarPression, *BarLambda, *BarRPM;
    // " Injection Times": cylinders 1 to 8, petrol (E) and gas (G).
    std::array<QLineEdit *, 8> TextE{}, TextG{};
    std::array<LevelBar *, 8> BarE{}, BarG{};
    NumericEdit *TxRalenti, *TxCharge, *TxRalentiB, *TxChargeB;
    QLineEdit *txZoom;      // the first injection time, zoomed
    QLineEdit *TextGazEtat; // the fuel state
    QLabel *TxRPM;          // the speed under its needle

  protected:
    ~MonitorControls() = default;
};
