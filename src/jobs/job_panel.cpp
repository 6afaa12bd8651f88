#include "jobs/job_panel.h"

#include "jobs/job_form.h"
#include "jobs/job_history.h"
#include "jobs/job_report.h"
#include "jobs/job_texts.h"
#include "jobs/vehicle_form.h"
#include "jobs/vehicle_picker.h"
#include "jobs/workshop_form.h"
#include "report/report_source.h"
#include "ui/app_context.h"
#include "ui/captions.h"
#include "ui/dialogs.h"

#include <QDir>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>

namespace {
const QString FitterKey = QStringLiteral("job.fitter");
const QString NameKey = QLatin1String(report::WorkshopName);
const QString AddressKey = QLatin1String(report::WorkshopAddress);
} // namespace

JobPanel::JobPanel(AppContext &app, QWidget *parent) : QFrame(parent), m_app(app) {
    setObjectName(QStringLiteral("JobPanel"));
    setAutoFillBackground(true);
    setFrameShape(QFrame::StyledPanel);
    m_pages = new QStackedWidget(this);
    m_overview = buildOverview();
    vehicleForm = new VehicleForm(this);
    jobForm = new JobForm(this);
    workshopForm = new WorkshopForm(this);
    RecordsMessage = new QLabel(this);
    RecordsMessage->setObjectName(QStringLiteral("RecordsMessage"));
    RecordsMessage->setWordWrap(true);
    RecordsMessage->setAlignment(Qt::AlignCenter);
    m_pages->addWidget(m_overview);
    // The forms keep a width a fitter reads across, at the panel's top left.
    for (QWidget *form : {static_cast<QWidget *>(vehicleForm), static_cast<QWidget *>(jobForm),
                          static_cast<QWidget *>(workshopForm)}) {
        auto *page = new QWidget(this);
        auto *corner = new QGridLayout(page);
        corner->setContentsMargins(0, 0, 0, 0);
        form->setMinimumWidth(520);
        form->setMaximumWidth(620);
        corner->addWidget(form, 0, 0);
        corner->setColumnStretch(1, 1);
        corner->setRowStretch(1, 1);
        m_pages->addWidget(page);
    }
    m_pages->addWidget(RecordsMessage);
    auto *frame = new QGridLayout(this);
    frame->setContentsMargins(8, 8, 8, 8);
    frame->addWidget(m_pages);
    connectForms();
    connect(&captions::notifier(), &captions::Notifier::changed, this, &JobPanel::caption);
    caption();
    hide();
}

// The pages, which read the records, go before the records close.
JobPanel::~JobPanel() {
    delete m_pages;
}

QWidget *JobPanel::buildOverview() {
    auto *page = new QWidget(this);
    CurrentJob = new QLabel(page);
    CurrentJob->setObjectName(QStringLiteral("CurrentJob"));
    CurrentJob->setWordWrap(true);
    CurrentJob->setTextFormat(Qt::RichText);
    CurrentJob->setFrameShape(QFrame::StyledPanel);
    CurrentJob->setMargin(6);
    CurrentJob->setMinimumHeight(84);
    CurrentJob->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const auto button = [page](const char *name) {
        auto *b = new QPushButton(page);
        b->setObjectName(QLatin1String(name));
        return b;
    };
    NewVehicleButton = button("NewVehicleButton");
    NewJobButton = button("NewJobButton");
    ReportButton = button("ReportButton");
    WorkshopButton = button("WorkshopButton");
    picker = new VehiclePicker(m_store, page);
    history = new JobHistory(m_store, m_app.link, page);

    auto *grid = new QGridLayout(page);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(CurrentJob, 0, 0, 1, 3);
    grid->addWidget(NewVehicleButton, 1, 0);
    grid->addWidget(NewJobButton, 1, 1);
    grid->addWidget(ReportButton, 2, 0);
    grid->addWidget(WorkshopButton, 2, 1);
    grid->addWidget(picker, 3, 0, 1, 2);
    grid->addWidget(history, 1, 2, 3, 1);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(2, 5);
    grid->setHorizontalSpacing(10);
    return page;
}

void JobPanel::connectForms() {
    connect(NewVehicleButton, &QPushButton::clicked, this, [this] {
        vehicleForm->start();
        m_pages->setCurrentWidget(vehicleForm->parentWidget());
    });
    connect(NewJobButton, &QPushButton::clicked, this, [this] {
        const std::optional<Vehicle> v = m_store.vehicle(m_vehicle);
        if (!v)
            return;
        jobForm->start(v->title(), m_store.setting(FitterKey));
        m_pages->setCurrentWidget(jobForm->parentWidget());
    });
    connect(WorkshopButton, &QPushButton::clicked, this, [this] {
        workshopForm->start(m_store.setting(NameKey), m_store.setting(AddressKey));
        m_pages->setCurrentWidget(workshopForm->parentWidget());
    });
    connect(ReportButton, &QPushButton::clicked, this, &JobPanel::report);
    const auto back = [this] { m_pages->setCurrentWidget(m_overview); };
    connect(vehicleForm, &VehicleForm::cancelClicked, this, back);
    connect(jobForm, &JobForm::cancelClicked, this, back);
    connect(workshopForm, &WorkshopForm::cancelClicked, this, back);
    connect(vehicleForm, &VehicleForm::saveClicked, this, &JobPanel::saveVehicle);
    connect(jobForm, &JobForm::saveClicked, this, &JobPanel::saveJob);
    connect(workshopForm, &WorkshopForm::saveClicked, this, &JobPanel::saveWorkshop);
    connect(picker, &VehiclePicker::picked, this, &JobPanel::pickVehicle);
    connect(history, &JobHistory::selectionChanged, this, &JobPanel::enableButtons);
    connect(history->HistoryList, &QListWidget::itemActivated, this,
            [this] { resumeJob(history->selectedJob()); });
}

void JobPanel::caption() {
    NewVehicleButton->setText(jobtexts::text(jobtexts::NewVehicle));
    NewJobButton->setText(jobtexts::text(jobtexts::NewJob));
    ReportButton->setText(jobtexts::text(jobtexts::Report));
    WorkshopButton->setText(jobtexts::text(jobtexts::Workshop));
    picker->caption();
    history->caption();
    vehicleForm->caption();
    jobForm->caption();
    workshopForm->caption();
    showCurrent();
}

void JobPanel::setReady(bool ready) {
    if (ready && !m_opened) {
        m_opened = true;
        if (!m_store.open()) {
            QString error = m_store.error();
            const QString path = QDir::toNativeSeparators(m_store.path());
            if (!error.contains(path))
                error += QStringLiteral(" (") + path + QLatin1Char(')');
            RecordsMessage->setText(jobtexts::text(jobtexts::RecordsUnusable) + error +
                                    QLatin1Char(' '));
            m_pages->setCurrentWidget(RecordsMessage);
        } else {
            picker->refresh();
        }
        enableButtons();
    }
    setVisible(ready);
}

void JobPanel::placeBehind(QWidget *area) {
    setParent(area);
    setGeometry(area->rect());
    area->installEventFilter(this);
    lower();
}

bool JobPanel::eventFilter(QObject *watched, QEvent *event) {
    if (watched == parent() && event->type() == QEvent::Resize) {
        setGeometry(parentWidget()->rect());
        lower();
    }
    return QFrame::eventFilter(watched, event);
}

qint64 JobPanel::currentVehicle() const {
    const std::optional<Job> job = m_store.job(m_job);
    return job ? job->vehicleId : 0;
}

void JobPanel::recorded() {
    history->showVehicle(m_vehicle, m_job);
    showCurrent();
}

// Another car picked ends the current job: what the tool records next is
// not that job's.
void JobPanel::pickVehicle(qint64 vehicleId) {
    m_vehicle = vehicleId;
    if (m_job && currentVehicle() != vehicleId) {
        m_job = 0;
        Q_EMIT jobChanged();
    }
    history->showVehicle(m_vehicle, m_job);
    showCurrent();
    enableButtons();
}

void JobPanel::resumeJob(qint64 jobId) {
    const std::optional<Job> job = m_store.job(jobId);
    if (!job)
        return;
    m_vehicle = job->vehicleId;
    m_job = jobId;
    picker->mark(m_vehicle);
    history->showVehicle(m_vehicle, m_job);
    showCurrent();
    enableButtons();
    Q_EMIT jobChanged();
}

void JobPanel::enableButtons() {
    const bool open = m_store.isOpen();
    NewVehicleButton->setEnabled(open);
    NewJobButton->setEnabled(open && m_vehicle != 0);
    ReportButton->setEnabled(open && (m_job != 0 || history->selectedJob() != 0));
    WorkshopButton->setEnabled(open);
}

void JobPanel::saveVehicle() {
    const qint64 id = m_store.addVehicle(vehicleForm->vehicle());
    if (id == 0) {
        m_app.dialogs.warning(jobtexts::text(jobtexts::NotStored) + m_store.error() +
                              QLatin1Char(' '));
        return;
    }
    m_pages->setCurrentWidget(m_overview);
    picker->mark(id);
    pickVehicle(id);
}

void JobPanel::saveJob() {
    Job job = jobForm->job();
    job.vehicleId = m_vehicle;
    const qint64 id = m_store.addJob(job);
    if (id == 0) {
        m_app.dialogs.warning(jobtexts::text(jobtexts::NotStored) + m_store.error() +
                              QLatin1Char(' '));
        return;
    }
    if (!job.fitter.isEmpty())
        m_store.setSetting(FitterKey, job.fitter);
    m_pages->setCurrentWidget(m_overview);
    resumeJob(id);
}

void JobPanel::saveWorkshop() {
    if (!m_store.setSetting(NameKey, workshopForm->name()) ||
        !m_store.setSetting(AddressKey, workshopForm->address())) {
        m_app.dialogs.warning(jobtexts::text(jobtexts::NotStored) + m_store.error() +
                              QLatin1Char(' '));
        return;
    }
    m_pages->setCurrentWidget(m_overview);
}

void JobPanel::report() {
    const qint64 jobId = m_job ? m_job : history->selectedJob();
    if (jobId)
        jobreport::save(m_store, jobId, m_app.link, m_app.dialogs);
}
