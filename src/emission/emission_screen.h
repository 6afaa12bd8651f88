#pragma once

#include "emission/schedule_codec.h"
#include "ui/form.h"

#include <QTimer>

#include <array>

class NumericEdit;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class TimeGraph;
struct AppContext;

// FnEmi: the emission test schedule in a grid of 18 entries that scrolls
// over the 50, the whole-schedule write and read, and the test clock with
// its cursor over the time graph.
class EmissionScreen : public Form {
    Q_OBJECT
  public:
    explicit EmissionScreen(AppContext &app, QWidget *parent = nullptr);

    // The grid from the image for the scroll bar's position.
    void PutIndexTBemi();
    void PressEntree();
    // Enter in the cell of grid row k (1..18): the limited value into the image.
    void cellEntered(schedule::Column column, int k);

    void HScroll1_Change();
    void Temp_Timer();
    // Starts the clock, also when the monitor's Start is pressed before this
    // screen was ever opened.
    void EmiStart_Click();
    void BtStop_Click() { EmissionTestRunning = false; }
    void Btreset_Click();
    void Command1_Click();
    void Command2_Click();
    void BoutonPC_Click();
    void BoutonCentrale_Click();

    // The image holds the whole schedule, so the grid shows it and a write
    // may send all of it: the fitter set it (a memory file loaded, or
    // "Initialisation"), or it was read from the ECU. What was read holds
    // only for that ECU: a port opened again forgets it.
    void scheduleSetByFitter();
    bool isScheduleKnown() const { return m_source != ScheduleSource::Unknown; }
    // Reads the schedule from the ECU when the port is open and the image
    // does not hold it yet.
    void readScheduleIfUnknown();

    NumericEdit *cell(schedule::Column column, int k) const;
    QLabel *IndexGE(int n) const { return m_index.at(std::size_t(n)); }

    bool EmissionTestRunning = false;
    QTimer Temp;
    QScrollBar *HScroll2; // the grid's first entry, 0..32
    QScrollBar *HScroll1; // the clock, 0..1200 s
    QLineEdit *TxTemps;
    TimeGraph *Picture1;
    QPushButton *EmiStart, *BtStop, *Btreset;
    QPushButton *Command1, *Command2;
    QPushButton *BoutonCentrale, *BoutonPC;

  protected:
    void Form_Load() override;
    void Form_Unload() override;

  private:
    QGroupBox *makeGrid();
    QLayout *makeClock();
    QLayout *makeButtons();

    AppContext &m_app;
    std::array<QLabel *, schedule::VisibleRows> m_index{};
    std::array<std::array<NumericEdit *, schedule::VisibleRows>, 4> m_cells{};

    enum class ScheduleSource { Unknown, ReadFromEcu, SetByFitter };
    void scheduleKnown(ScheduleSource source);
    // While its schedule read runs, the screen's buttons wait: an
    // "Initialisation" or a write then would be overwritten by the blocks
    // still coming in, or send a half-read schedule.
    void setReadingSchedule(bool reading);

    ScheduleSource m_source = ScheduleSource::Unknown;
    bool m_readingSchedule = false;
};
