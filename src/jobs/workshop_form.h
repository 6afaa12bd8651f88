#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The workshop's name and address, printed at the head of every report.
class WorkshopForm : public QWidget {
    Q_OBJECT
  public:
    explicit WorkshopForm(QWidget *parent = nullptr);

    void start(const QString &name, const QString &address);
    QString name() const;
    QString address() const;
    void caption();

    QLineEdit *WorkshopNameEdit;
    QPlainTextEdit *WorkshopAddressEdit;
    QPushButton *SaveWorkshopButton, *CancelWorkshopButton;

  Q_SIGNALS:
    void saveClicked();
    void cancelClicked();

  private:
    QLabel *m_title;
};
