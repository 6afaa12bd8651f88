#pragma once

#include <QWidget>

class Link;
class QLabel;
class QListWidget;
class RecordStore;

// A vehicle's jobs, newest first. The job selected shows what changed
// between the configuration it left (its last written, else its first
// read) and the current one: the current job's, else the ECU's. The
// current job itself shows what it changed against its first read.
class JobHistory : public QWidget {
    Q_OBJECT
  public:
    JobHistory(const RecordStore &store, const Link &link, QWidget *parent = nullptr);

    // The vehicle's jobs (none for 0); the current job's marked "●".
    void showVehicle(qint64 vehicleId, qint64 currentJobId);
    // The job selected, 0 when none.
    qint64 selectedJob() const;
    void caption();

    QListWidget *HistoryList, *ChangesList;

  Q_SIGNALS:
    void selectionChanged();

  private:
    void showChanges();

    const RecordStore &m_store;
    const Link &m_link;
    qint64 m_vehicle = 0;
    qint64 m_current = 0;
    QLabel *m_history, *m_changes;
};
