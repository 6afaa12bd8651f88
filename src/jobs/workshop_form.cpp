#include "jobs/workshop_form.h"

#include "jobs/job_texts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

WorkshopForm::WorkshopForm(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("WorkshopForm"));
    m_title = new QLabel(this);
    WorkshopNameEdit = new QLineEdit(this);
    WorkshopNameEdit->setObjectName(QStringLiteral("WorkshopNameEdit"));
    WorkshopAddressEdit = new QPlainTextEdit(this);
    WorkshopAddressEdit->setObjectName(QStringLiteral("WorkshopAddressEdit"));
    WorkshopAddressEdit->setMaximumHeight(110);
    SaveWorkshopButton = new QPushButton(this);
    SaveWorkshopButton->setObjectName(QStringLiteral("SaveWorkshopButton"));
    CancelWorkshopButton = new QPushButton(this);
    CancelWorkshopButton->setObjectName(QStringLiteral("CancelWorkshopButton"));

    auto *column = new QVBoxLayout(this);
    column->addWidget(m_title);
    column->addWidget(WorkshopNameEdit);
    column->addWidget(WorkshopAddressEdit);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(SaveWorkshopButton);
    buttons->addWidget(CancelWorkshopButton);
    column->addLayout(buttons);
    column->addStretch(1);

    connect(SaveWorkshopButton, &QPushButton::clicked, this, &WorkshopForm::saveClicked);
    connect(CancelWorkshopButton, &QPushButton::clicked, this, &WorkshopForm::cancelClicked);
    caption();
}

void WorkshopForm::caption() {
    m_title->setText(jobtexts::text(jobtexts::NameAndAddress));
    SaveWorkshopButton->setText(jobtexts::save());
    CancelWorkshopButton->setText(jobtexts::text(jobtexts::Cancel));
}

void WorkshopForm::start(const QString &name, const QString &address) {
    WorkshopNameEdit->setText(name);
    WorkshopAddressEdit->setPlainText(address);
    WorkshopNameEdit->setFocus();
}

QString WorkshopForm::name() const {
    return WorkshopNameEdit->text().trimmed();
}

QString WorkshopForm::address() const {
    return WorkshopAddressEdit->toPlainText().trimmed();
}
