#pragma once

#include "pages/parameter_page.h"

#include <array>

class BatteryGauge;
class EditMarks;
class MemoryImage;
class NumericEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

// FnParametres5: the battery-voltage correction, its mode and its table of 67
// signed entries seen through a window of 20, with the live battery reading.
class BatteryPage : public ParameterPage {
    Q_OBJECT
  public:
    explicit BatteryPage(AppContext &app, QWidget *parent = nullptr);

    // This page's share of the screen refresh: the battery voltage, its
    // pointer and the block flag; the mode only while the live block is not
    // polled, so the fitter's edit stands.
    void refreshFromImage();
    // Stores the mode byte into the image, for UploadEditedValues.
    void encodeInto(MemoryImage &image) const;

    void HS_index_Change();
    // Enter in a table field: the entry goes into the image, then the page
    // is written. A value outside -128..127 is refused with a message.
    void TxTBBat_Enter(int index);
    // Enter in the mode field; only 0, 1 and 2 are accepted.
    void TxVbatType_Enter();
    void Option1_Click(int index);
    void CalculeTab_Click();
    void BoutonCentrale_Click() override;

    std::array<QRadioButton *, 3> Option1{}; // Option10..Option12
    NumericEdit *TxVbatType;
    std::array<QLabel *, 20> TxID{};         // TxID0..TxID19
    std::array<NumericEdit *, 20> TxTBBat{}; // TxTBBat0..TxTBBat19
    QScrollBar *HS_index;
    QLineEdit *CalculDebut;
    QLineEdit *CalculFin;
    QPushButton *CalculeTab;
    QLineEdit *Text1;
    QLineEdit *TxVbat;
    QLineEdit *TXpointeurTension;
    QLineEdit *TxTensionBat;
    BatteryGauge *Picture1;
    QLineEdit *TxBloque;
    QLineEdit *Text2;
    QLineEdit *Text3;

  private:
    QGroupBox *makeLive();

  protected:
    // Shown again, the mode and the table window show the image.
    void showEvent(QShowEvent *event) override;

  private:
    QGroupBox *makeMode();
    QGroupBox *makeLink();
    QGroupBox *makeTimes();
    QGroupBox *makeTable();
    void selectOption(int mode);

    EditMarks *m_modeMarks;
    EditMarks *m_tableMarks;
};
