#pragma once

#include <QObject>

class JobPanel;
struct AppContext;

// Records into the current job what the fitter does: the first whole read
// of the ECU and its firmware byte, each restore point, each configuration
// the ECU acknowledged, each finished calibration's results, each applied
// map proposal and the final test's block read or written. Without a job,
// or with the records unusable, nothing is recorded and nothing changes.
class JobRecording : public QObject {
    Q_OBJECT
  public:
    JobRecording(AppContext &app, JobPanel &panel, QObject *parent = nullptr);

  private:
    // The ECU's configuration as the last whole read found it, as the
    // job's first read (kept only when the job has none yet).
    void recordFirstRead();
    void recordWritten();
    void recordCalibration(int kind);
    void recordMap(const QList<int> &entries);
    void recordFinalTest(const QStringList &texts);
    // The store call for the current job, then the panel shows it.
    template <typename Write> void record(Write write);

    AppContext &m_app;
    JobPanel &m_panel;
};
