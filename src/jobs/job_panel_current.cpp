// The job panel's box of the current job.
#include "jobs/job_panel.h"

#include "jobs/job_texts.h"

#include <QLabel>

namespace {
QString kitLine(const Vehicle &v) {
    QStringList parts;
    const std::pair<jobtexts::Id, QString> kit[] = {{jobtexts::Reducer, v.reducer},
                                                    {jobtexts::Injectors, v.injectors},
                                                    {jobtexts::Nozzle, v.nozzle},
                                                    {jobtexts::Tank, v.tank}};
    for (const auto &[caption, value] : kit) {
        if (!value.isEmpty())
            parts.append(jobtexts::text(caption) + QStringLiteral(": ") + value.toHtmlEscaped());
    }
    return parts.join(QStringLiteral(" · "));
}

QString jobLine(const Job &job) {
    QStringList parts{job.date.toString(QStringLiteral("dd/MM/yyyy hh:mm")),
                      jobtexts::kindText(job.kind)};
    if (!job.fitter.isEmpty())
        parts.append(jobtexts::text(jobtexts::Fitter) + QStringLiteral(": ") +
                     job.fitter.toHtmlEscaped());
    if (!job.customer.isEmpty())
        parts.append(jobtexts::text(jobtexts::Customer) + QStringLiteral(": ") +
                     job.customer.toHtmlEscaped());
    return parts.join(QStringLiteral(" · "));
}
} // namespace

void JobPanel::showCurrent() {
    const std::optional<Job> job = m_store.job(m_job);
    const std::optional<Vehicle> vehicle = m_store.vehicle(job ? job->vehicleId : m_vehicle);
    QStringList lines;
    if (vehicle)
        lines.append(QStringLiteral("<b>") + vehicle->title().toHtmlEscaped() +
                     QStringLiteral("</b>"));
    if (vehicle && !kitLine(*vehicle).isEmpty())
        lines.append(kitLine(*vehicle));
    lines.append(job ? jobLine(*job)
                     : QStringLiteral("<i>") + jobtexts::text(jobtexts::NoJob) +
                           QStringLiteral("</i>"));
    CurrentJob->setText(lines.join(QStringLiteral("<br>")));
}
