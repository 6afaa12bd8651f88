#pragma once

#include "live/live_sample.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <array>
#include <deque>

class Dialogs;
class Link;
class QChart;
class QChartView;
class QCheckBox;
class QLabel;
class QLineSeries;
class QPushButton;
class QValueAxis;

// The live chart: the chosen channels over the last 60 seconds of poll
// answers, each on a value axis of its own, with pause and resume; or a
// whole drive read from a saved log. Dragging across the plot zooms into
// that time span, the wheel zooms in and out, "Fit" shows everything.
// Live answers are drawn in batches, at most every RedrawMs, and only on
// the channels shown; a channel ticked on is drawn from the last minute.
class ChartWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr int WindowMs = 60000;
    static constexpr int ChannelCount = 7;
    static constexpr int RedrawMs = 500;

    ChartWindow(Link &link, Dialogs &dialogs, QWidget *parent = nullptr);

    // One poll answer, timed by the caller (the window's own clock when it
    // comes from the link).
    void addSample(const live::Sample &sample);
    // Draws the answers that came since the last drawing now rather than
    // at the next redraw.
    void drawPending();
    // Shows a saved log; false, with a warning shown, when it cannot.
    bool openLog(const QString &path);
    bool paused() const { return m_paused; }
    bool showingLog() const { return m_showingLog; }
    QLineSeries *series(int channel) const {
        return m_series.at(static_cast<std::size_t>(channel));
    }
    QValueAxis *timeAxis() const { return m_time; }

    std::array<QCheckBox *, ChannelCount> Channel{};
    QPushButton *BtPause, *BtOpen, *BtLive, *BtFit;
    QLabel *TxSource;

  public Q_SLOTS:
    void BtPause_Click();
    void BtOpen_Click();
    void BtLive_Click();
    void BtFit_Click();

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

  private:
    void buildLayout();
    void caption();
    void onDataDecoded(int address, int count);
    void showLive();
    void drawChannel(int channel);
    void fit(double fromS, double toS);
    void showChannel(int channel, bool shown);

    Link &m_link;
    Dialogs &m_dialogs;
    QElapsedTimer m_clock;
    std::deque<live::Sample> m_recent; // the last 60 s, kept while paused too
    qsizetype m_undrawn = 0;           // the newest answers not on the live lines yet
    QTimer m_redraw;
    bool m_paused = false;
    bool m_showingLog = false;
    QChart *m_chart = nullptr;
    QChartView *m_view = nullptr;
    QValueAxis *m_time = nullptr;
    std::array<QLineSeries *, ChannelCount> m_series{};
    std::array<QValueAxis *, ChannelCount> m_axes{};
    // Each value axis's last fit: the span asked for and the nice one shown.
    struct AxisFit {
        double low = 0, high = 0, shownLow = 0, shownHigh = 0;
    };
    std::array<AxisFit, ChannelCount> m_fitted{};
};
