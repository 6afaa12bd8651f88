#pragma once

#include "vehicles/vehicle.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

// The short form of a new vehicle: the plate (required: Save stays off
// without one), the car and the kit fitted to it.
class VehicleForm : public QWidget {
    Q_OBJECT
  public:
    explicit VehicleForm(QWidget *parent = nullptr);

    // Every field emptied, the plate ready for typing.
    void start();
    // The vehicle as typed; numbers not given are 0.
    Vehicle vehicle() const;
    void caption();

    QLineEdit *PlateEdit, *VinEdit, *MakeEdit, *ModelEdit, *YearEdit, *CapacityEdit, *CylindersEdit,
        *PowerEdit, *OdometerEdit, *ReducerEdit, *InjectorsEdit, *NozzleEdit, *TankEdit;
    QPushButton *SaveVehicleButton, *CancelVehicleButton;

  Q_SIGNALS:
    void saveClicked();
    void cancelClicked();

  private:
    QList<QLabel *> m_labels; // in the order of their captions
};
