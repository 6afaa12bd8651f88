#pragma once

#include "live/live_log.h"

#include <QFrame>
#include <QPointer>
#include <QTimer>

class ChartWindow;
class QLabel;
class QPushButton;
struct AppContext;

// The monitor's drive log and chart, one row of buttons: the Record button writes one CSV row
// per poll answer of the live block until it is pressed again, with the
// elapsed time and the row count shown in red beside it; the Chart button
// opens the live chart window.
class RecordStrip : public QFrame {
    Q_OBJECT
  public:
    explicit RecordStrip(AppContext &app, QWidget *parent = nullptr);
    ~RecordStrip() override;

    bool recording() const { return m_log.isOpen(); }
    // Starts a log in the file (used by the Record button after its file
    // dialog); false, with a warning shown, when the file cannot be made.
    bool startRecording(const QString &path);
    void stopRecording();
    ChartWindow *chart() const;

    QPushButton *BtRecord;
    QLabel *TxRecord; // "REC 01:23  584 rows", or what was saved last
    QPushButton *BtChart;

  public Q_SLOTS:
    void BtRecord_Click();
    void BtChart_Click();

  private:
    void onDataDecoded(int address, int count);
    void showElapsed();

    AppContext &m_app;
    live::LiveLog m_log;
    QString m_path;
    QTimer m_clock; // the elapsed time, once a second
    QPointer<ChartWindow> m_chart;
};
