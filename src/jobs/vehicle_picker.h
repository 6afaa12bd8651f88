#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class RecordStore;

// The vehicles whose plate or VIN holds what the fitter types, listed
// again at each key, by plate.
class VehiclePicker : public QWidget {
    Q_OBJECT
  public:
    explicit VehiclePicker(const RecordStore &store, QWidget *parent = nullptr);

    // The search run again; the picked vehicle stays marked when listed.
    void refresh();
    // The vehicle marked as picked (a new one just stored), without a signal.
    void mark(qint64 vehicleId);
    void caption();

    QLineEdit *VehicleSearch;
    QListWidget *VehicleList;

  Q_SIGNALS:
    void picked(qint64 vehicleId);

  private:
    const RecordStore &m_store;
    QLabel *m_label;
    qint64 m_picked = 0;
};
