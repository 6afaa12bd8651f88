#pragma once

#include "vehicles/job.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// A new job for the picked vehicle: why the car came (conversion, service,
// repair), who works on it and for whom, and notes.
class JobForm : public QWidget {
    Q_OBJECT
  public:
    explicit JobForm(QWidget *parent = nullptr);

    // Emptied, for the vehicle titled title; the fitter of the last job
    // filled in.
    void start(const QString &title, const QString &fitter);
    // The job as typed, dated now.
    Job job() const;
    void caption();

    QLabel *JobVehicle;
    QComboBox *KindChoice;
    QLineEdit *FitterEdit, *CustomerEdit;
    QPlainTextEdit *NotesEdit;
    QPushButton *SaveJobButton, *CancelJobButton;

  Q_SIGNALS:
    void saveClicked();
    void cancelClicked();

  private:
    QLabel *m_fitter, *m_customer, *m_notes;
};
