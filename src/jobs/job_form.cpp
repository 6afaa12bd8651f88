#include "jobs/job_form.h"

#include "jobs/job_texts.h"

#include <QComboBox>
#include <QDateTime>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

JobForm::JobForm(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("JobForm"));
    auto named = [](QWidget *w, const char *name) {
        w->setObjectName(QLatin1String(name));
        return w;
    };
    JobVehicle = new QLabel(this);
    named(JobVehicle, "JobVehicle");
    QFont bold = JobVehicle->font();
    bold.setBold(true);
    JobVehicle->setFont(bold);
    KindChoice = new QComboBox(this);
    named(KindChoice, "KindChoice");
    KindChoice->addItems({QString(), QString(), QString()});
    FitterEdit = new QLineEdit(this);
    named(FitterEdit, "FitterEdit");
    CustomerEdit = new QLineEdit(this);
    named(CustomerEdit, "CustomerEdit");
    NotesEdit = new QPlainTextEdit(this);
    named(NotesEdit, "NotesEdit");
    NotesEdit->setMaximumHeight(140);
    m_fitter = new QLabel(this);
    m_customer = new QLabel(this);
    m_notes = new QLabel(this);

    auto *form = new QFormLayout(this);
    form->addRow(JobVehicle);
    form->addRow(KindChoice);
    form->addRow(m_fitter, FitterEdit);
    form->addRow(m_customer, CustomerEdit);
    form->addRow(m_notes, NotesEdit);
    SaveJobButton = new QPushButton(this);
    named(SaveJobButton, "SaveJobButton");
    CancelJobButton = new QPushButton(this);
    named(CancelJobButton, "CancelJobButton");
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(SaveJobButton);
    buttons->addWidget(CancelJobButton);
    form->addRow(buttons);

    connect(SaveJobButton, &QPushButton::clicked, this, &JobForm::saveClicked);
    connect(CancelJobButton, &QPushButton::clicked, this, &JobForm::cancelClicked);
    caption();
}

void JobForm::caption() {
    for (Job::Kind kind : {Job::Kind::Conversion, Job::Kind::Service, Job::Kind::Repair})
        KindChoice->setItemText(int(kind), jobtexts::kindText(kind));
    m_fitter->setText(jobtexts::text(jobtexts::Fitter));
    m_customer->setText(jobtexts::text(jobtexts::Customer));
    m_notes->setText(jobtexts::text(jobtexts::Notes));
    SaveJobButton->setText(jobtexts::save());
    CancelJobButton->setText(jobtexts::text(jobtexts::Cancel));
}

void JobForm::start(const QString &title, const QString &fitter) {
    JobVehicle->setText(title);
    KindChoice->setCurrentIndex(0);
    FitterEdit->setText(fitter);
    CustomerEdit->clear();
    NotesEdit->clear();
    (fitter.isEmpty() ? FitterEdit : CustomerEdit)->setFocus();
}

Job JobForm::job() const {
    Job job;
    job.date = QDateTime::currentDateTime();
    job.kind = static_cast<Job::Kind>(KindChoice->currentIndex());
    job.fitter = FitterEdit->text().trimmed();
    job.customer = CustomerEdit->text().trimmed();
    job.notes = NotesEdit->toPlainText().trimmed();
    return job;
}
