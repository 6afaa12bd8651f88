#include "jobs/job_history.h"

#include "jobs/job_configuration.h"
#include "jobs/job_texts.h"
#include "link/link.h"
#include "vehicles/record_store.h"

#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {
QString jobLine(const Job &job, bool current) {
    QStringList parts{job.date.toString(QStringLiteral("dd/MM/yyyy hh:mm")),
                      jobtexts::kindText(job.kind)};
    for (const QString &who : {job.fitter, job.customer}) {
        if (!who.isEmpty())
            parts.append(who);
    }
    return (current ? QStringLiteral("● ") : QString()) + parts.join(QStringLiteral("  ·  "));
}
} // namespace

JobHistory::JobHistory(const RecordStore &store, const Link &link, QWidget *parent)
    : QWidget(parent), m_store(store), m_link(link) {
    setObjectName(QStringLiteral("JobHistory"));
    m_history = new QLabel(this);
    m_changes = new QLabel(this);
    HistoryList = new QListWidget(this);
    HistoryList->setObjectName(QStringLiteral("HistoryList"));
    ChangesList = new QListWidget(this);
    ChangesList->setObjectName(QStringLiteral("ChangesList"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(m_history);
    column->addWidget(HistoryList, 2);
    column->addWidget(m_changes);
    column->addWidget(ChangesList, 3);
    connect(HistoryList, &QListWidget::currentRowChanged, this, [this] {
        showChanges();
        Q_EMIT selectionChanged();
    });
    caption();
}

void JobHistory::caption() {
    m_history->setText(jobtexts::text(jobtexts::History));
    m_changes->setText(jobtexts::text(jobtexts::Changes));
    if (m_vehicle)
        showVehicle(m_vehicle, m_current);
}

void JobHistory::showVehicle(qint64 vehicleId, qint64 currentJobId) {
    const qint64 selected = selectedJob();
    m_vehicle = vehicleId;
    m_current = currentJobId;
    {
        const QSignalBlocker quiet(HistoryList);
        HistoryList->clear();
        if (vehicleId && m_store.isOpen()) {
            for (const Job &job : m_store.jobs(vehicleId)) {
                auto *item = new QListWidgetItem(jobLine(job, job.id == currentJobId), HistoryList);
                item->setData(Qt::UserRole, job.id);
                if (job.id == selected)
                    HistoryList->setCurrentItem(item);
            }
        }
    }
    showChanges();
}

qint64 JobHistory::selectedJob() const {
    const QListWidgetItem *item = HistoryList->currentItem();
    return item ? item->data(Qt::UserRole).toLongLong() : 0;
}

void JobHistory::showChanges() {
    ChangesList->clear();
    const std::optional<Job> selected = m_store.job(selectedJob());
    if (!selected)
        return;
    const bool isCurrent = selected->id == m_current;
    const std::optional<MemoryImage> before =
        isCurrent ? jobconfig::firstRead(*selected) : jobconfig::lastConfiguration(*selected);
    std::optional<MemoryImage> after;
    if (const std::optional<Job> current = m_store.job(m_current); current && !isCurrent)
        after = jobconfig::lastConfiguration(*current);
    if (!after && m_link.state.DataLoaded)
        after = jobconfig::stamped(m_link.image);
    if (before && after)
        ChangesList->addItems(jobconfig::changes(*before, *after));
}
