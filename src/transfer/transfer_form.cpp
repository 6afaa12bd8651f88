#include "transfer/transfer_form.h"

#include <QEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QVBoxLayout>

TransferForm::TransferForm(const QString &name, const QString &caption, const QString &label,
                           QWidget *parent)
    : Form(name, caption, parent) {
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(16, 12, 16, 16);
    Label1 = new QLabel(label, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    AXProgress1 = new QProgressBar(this);
    AXProgress1->setObjectName(QStringLiteral("AXProgress1"));
    AXProgress1->setMinimumWidth(300);
    AXProgress1->setTextVisible(false);
    AXProgress1->setRange(0, 21);
    column->addWidget(Label1);
    column->addWidget(AXProgress1);
}

void TransferForm::setProgress(int value) {
    // A value past the maximum shows a full bar rather than failing.
    AXProgress1->setValue(qMin(value, AXProgress1->maximum()));
}

bool TransferForm::eventFilter(QObject *watched, QEvent *event) {
    if (watched == window() && event->type() == QEvent::Close && confirmClose && !confirmClose()) {
        event->ignore();
        return true;
    }
    return Form::eventFilter(watched, event);
}

void TransferForm::Form_Load() {
    AXProgress1->setMaximum(21);
    AXProgress1->setValue(0);
}

DownloadForm::DownloadForm(QWidget *parent)
    : TransferForm(QStringLiteral("FnDownload"), QStringLiteral("DownLoad"),
                   QStringLiteral("ECU -->> PC"), parent) {}

void DownloadForm::Form_Load() {
    TransferForm::Form_Load();
    place(4600, 4200);
}

UploadForm::UploadForm(QWidget *parent)
    : TransferForm(QStringLiteral("FnUPLoad"), QStringLiteral("UP LOAD"),
                   QStringLiteral("PC --> ECU"), parent) {}

void UploadForm::Form_Load() {
    TransferForm::Form_Load();
    place(4600, 4200);
}
