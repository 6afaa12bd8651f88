#pragma once

#include "tuning/map_acquisition.h"
#include "ui/form.h"

#include <array>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
struct AppContext;

// FnAquiMap, "Aquisition MAP": the acquisition's settings and findings. It
// runs the acquisition step at the start of every received frame and keeps
// the band table (petrol "Ess" and "Gas" columns) and the crossing log,
// which can be exported as CSV.
class AquiMapForm : public Form {
    Q_OBJECT
  public:
    explicit AquiMapForm(AppContext &app, QWidget *parent = nullptr);

    MapAcquisition &acquisition() { return m_acquisition; }

    // Runs while the acquisition is on; reads the map screen, the monitor
    // and the image as the previous response left them.
    void MapAcquisitionStep();
    // Both columns of the band table drawn on the map screen's graph.
    void DrawBandCurves();

    void BtExportBands_Click();
    void BtExportLog_Click();

    // How many bands of a column hold a value.
    int filledBands(MapAcquisition::Column column) const;

    // n = 1..20.
    QLineEdit *TxTbmapB(int n) const { return m_petrol.at(std::size_t(n - 1)); }
    QLineEdit *TxTbmapG(int n) const { return m_gas.at(std::size_t(n - 1)); }

    QLineEdit *param1, *param2, *param3, *param4, *param5, *param6;
    QCheckBox *Check1, *Check2;
    QLineEdit *Statu;
    QPlainTextEdit *tx1;
    QPushButton *BtExportBands, *BtExportLog;

  private:
    void buildLayout();
    QWidget *buildSettings();
    QWidget *buildBands();
    void setCrossingColour(bool crossing);
    bool save(const QString &title, const QString &defaultName, const QByteArray &csv);

    AppContext &m_app;
    MapAcquisition m_acquisition;
    std::array<QLineEdit *, 20> m_petrol{};
    std::array<QLineEdit *, 20> m_gas{};
    bool m_crossingShown = false;
};
