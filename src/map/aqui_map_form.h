#pragma once

#include "tuning/band_stats.h"
#include "tuning/map_acquisition.h"
#include "ui/form.h"

#include <array>

class QCheckBox;
class QDateTime;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
struct AppContext;

// FnAquiMap, "Aquisition MAP": the acquisition's settings and findings. It
// runs the acquisition step at the start of every received frame and keeps
// the band table (petrol "Ess" and "Gas" columns) and the crossing log,
// which can be exported as CSV. Beside each band value stands the number of
// crossings behind it; "Clear bands" starts the table afresh for a new drive.
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
    // An accepted crossing into its band: the value shown, the band's
    // statistics and count updated.
    void recordBand(const MapAcquisition::Record &r, const QDateTime &when);
    // Empties the band table, its counts and the curves; the log stays.
    void BtClearBands_Click();

    const BandStats &bandStats() const { return m_stats; }

    // How many bands of a column hold a value.
    int filledBands(MapAcquisition::Column column) const;

    // n = 1..20.
    QLineEdit *TxTbmapB(int n) const { return m_petrol.at(std::size_t(n - 1)); }
    QLineEdit *TxTbmapG(int n) const { return m_gas.at(std::size_t(n - 1)); }
    QLabel *TxNbB(int n) const { return m_petrolCount.at(std::size_t(n - 1)); }
    QLabel *TxNbG(int n) const { return m_gasCount.at(std::size_t(n - 1)); }

    QLineEdit *param1, *param2, *param3, *param4, *param5, *param6;
    QCheckBox *Check1, *Check2;
    QLineEdit *Statu;
    QPlainTextEdit *tx1;
    QPushButton *BtExportBands, *BtExportLog, *BtClearBands;

  private:
    void buildLayout();
    QWidget *buildSettings();
    QWidget *buildBands();
    void setCrossingColour(bool crossing);
    void showBand(int band, MapAcquisition::Column column);
    bool save(const QString &title, const QString &defaultName, const QByteArray &csv);

    AppContext &m_app;
    MapAcquisition m_acquisition;
    std::array<QLineEdit *, 20> m_petrol{};
    std::array<QLineEdit *, 20> m_gas{};
    std::array<QLabel *, 20> m_petrolCount{};
    std::array<QLabel *, 20> m_gasCount{};
    BandStats m_stats;
    bool m_crossingShown = false;
};
