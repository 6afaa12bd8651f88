#pragma once

#include "ui/form.h"

#include <functional>

class QLabel;
class QProgressBar;

// The progress window of a whole-memory transfer. Loading it sets the bar's
// maximum to 21; start-up sets the number of blocks, 16, afterwards.
class TransferForm : public Form {
    Q_OBJECT
  public:
    TransferForm(const QString &name, const QString &caption, const QString &label,
                 QWidget *parent = nullptr);

    QProgressBar *AXProgress1;
    QLabel *Label1;

    void setProgress(int value);

    // Asked when the fitter closes the window with its title bar: false
    // keeps the window, and the transfer goes on. Unset: it closes.
    std::function<bool()> confirmClose;

  protected:
    void Form_Load() override;
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// FnDownload: a whole-memory read.
class DownloadForm : public TransferForm {
    Q_OBJECT
  public:
    explicit DownloadForm(QWidget *parent = nullptr);

  Q_SIGNALS:
    void closedByUser();

  protected:
    void Form_Load() override;
    void Form_Unload() override { Q_EMIT closedByUser(); }
};

// FnUPLoad: a whole-memory upload.
class UploadForm : public TransferForm {
    Q_OBJECT
  public:
    explicit UploadForm(QWidget *parent = nullptr);

  Q_SIGNALS:
    void closedByUser();

  protected:
    void Form_Load() override;
    void Form_Unload() override { Q_EMIT closedByUser(); }
};
