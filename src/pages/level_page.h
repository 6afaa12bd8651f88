#pragma once

#include "files/sensor_file.h"
#include "pages/parameter_page.h"
#include "ui/numeric_edit.h"

#include <array>

class MemoryImage;
class QLabel;
class QPushButton;
class Shape;

// FnParametres2: the gas tank level sensor's range and the four thresholds
// of the five level lamps, three presets for known senders, sensor files,
// and the live level readings. The build variant that has no battery page
// hides its next button.
class LevelPage : public ParameterPage {
    Q_OBJECT
  public:
    explicit LevelPage(AppContext &app, QWidget *parent = nullptr);

    // This page's share of the screen refresh: the immediate and average
    // levels and their lamps; the settings only while the level is not
    // polled, so the fitter's edits stand.
    void refreshFromImage();
    // Stores the range correction, minimum, maximum and the four lamp
    // thresholds (0xA3A..0xA40) into the image, for UploadEditedValues.
    void encodeInto(MemoryImage &image) const;

    // Checks and corrects the seven settings; run by every change.
    void TestValeurNiveau();
    void Predef1_Click();
    void Predef2_Click();
    void Predef3_Click();
    void BoutonCentrale_Click() override;
    void SenosorLoad_Click(); // level_sensor_files.cpp
    void SensorSave_Click();

    // The settings in the order of the sensor file: range correction,
    // minimum, maximum, thresholds 1/4 to full.
    sensorfile::Settings settingTexts() const;
    // Sets the texts in that order; each runs the validation.
    void setSettingTexts(const sensorfile::Settings &texts);

    // Frame " Level sensor"
    NumericEdit *TxNiveauPWM, *TxNiveauMin, *TxNiveauMax;
    NumericEdit *TxNiveau1, *TxNiveau2, *TxNiveau3, *TxNiveau4;
    QLineEdit *TxNiveauImediat, *TxNiveau100, *TxNiveauMoyen, *TxNiveau100_2;
    Shape *led1, *led2, *led3, *led4, *led5;
    // Frame "Default"
    QPushButton *Predef1, *Predef2, *Predef3;
    QPushButton *SenosorLoad, *SensorSave;

  protected:
    void Form_Load() override;

  private:
    // level_layout.cpp
    void buildForm();
    QWidget *sensorFrame();
    QWidget *thresholdColumn();
    QWidget *rightColumn();
    NumericEdit *setting(const char *name);
    QLabel *label(const char *name, const char *caption);

    bool validationPass();
    void preset(const std::array<int, 7> &values);
    void showLevel();
    std::array<NumericEdit *, 7> settings() const;

    ValidationGuard m_validate;
};
