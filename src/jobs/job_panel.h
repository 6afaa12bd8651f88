#pragma once

#include "vehicles/record_store.h"

#include <QFrame>

class JobForm;
class JobHistory;
class QLabel;
class QPushButton;
class QStackedWidget;
class VehicleForm;
class VehiclePicker;
class WorkshopForm;
struct AppContext;

// The ready area's job panel, behind the screens: the current job (or "No
// job"), the vehicles found by plate or VIN, a picked vehicle's history and
// what changed since each of its jobs, and the ways to a new vehicle, a new
// job, the job's report and the workshop's details. Without a job, or when
// the records cannot be opened, the tool works as it does without them.
class JobPanel : public QFrame {
    Q_OBJECT
  public:
    explicit JobPanel(AppContext &app, QWidget *parent = nullptr);
    ~JobPanel() override;

    // Shown (the records opened the first time) once data is loaded.
    void setReady(bool ready);
    // Fills the given widget (the screen area's viewport) from behind,
    // following its size.
    void placeBehind(QWidget *area);

    RecordStore &store() { return m_store; }
    // The current job and its vehicle; 0 when there is no job.
    qint64 currentJob() const { return m_job; }
    qint64 currentVehicle() const;
    // Something was recorded into the current job: the panel shows it.
    void recorded();
    // The vehicle picked and the job made current, as the fitter does it.
    void pickVehicle(qint64 vehicleId);
    void resumeJob(qint64 jobId);

    QLabel *CurrentJob, *RecordsMessage;
    QPushButton *NewVehicleButton, *NewJobButton, *ReportButton, *WorkshopButton;
    VehiclePicker *picker;
    JobHistory *history;
    VehicleForm *vehicleForm;
    JobForm *jobForm;
    WorkshopForm *workshopForm;

  Q_SIGNALS:
    // A job was started or resumed, or the current one ended.
    void jobChanged();

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    QWidget *buildOverview();
    void connectForms();
    void caption();
    void showCurrent();
    void enableButtons();
    void saveVehicle();
    void saveJob();
    void saveWorkshop();
    void report();

    AppContext &m_app;
    RecordStore m_store;
    bool m_opened = false;
    qint64 m_vehicle = 0; // picked
    qint64 m_job = 0;     // current
    QStackedWidget *m_pages;
    QWidget *m_overview;
};
