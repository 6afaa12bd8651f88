#include "jobs/job_report.h"

#include "jobs/job_configuration.h"
#include "jobs/job_texts.h"
#include "link/link.h"
#include "report/report_source.h"
#include "report/report_writer.h"
#include "ui/captions.h"
#include "ui/dialogs.h"
#include "vehicles/record_store.h"

#include <QDir>
#include <QRegularExpression>

namespace jobreport {

ReportData data(const RecordStore &store, const JobRecord &record, const Link &link) {
    QString unused;
    std::optional<ReportData> d = report::forJob(store, record.job.id, &unused);
    if (!d) {
        // A job opened before anything was read or written: the ECU's
        // configuration as the tool holds it now.
        d = report::forImage(jobconfig::stamped(link.image), QStringLiteral("ECU"));
        d->vehicle = store.vehicle(record.job.vehicleId);
        d->job = record;
        report::addWorkshop(*d, store);
    }
    d->text = [](int n, const QString &english) { return captions::numbered(n, english); };
    return *d;
}

QString fileName(const Vehicle &vehicle, const Job &job) {
    QString plate = vehicle.plate.trimmed();
    plate.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|\\s]+")), QStringLiteral("-"));
    return plate + QLatin1Char(' ') + job.date.toString(QStringLiteral("yyyy-MM-dd")) +
           QStringLiteral(".pdf");
}

void save(const RecordStore &store, qint64 jobId, const Link &link, Dialogs &dialogs) {
    const std::optional<JobRecord> record = store.record(jobId);
    if (!record)
        return;
    const Vehicle vehicle = store.vehicle(record->job.vehicleId).value_or(Vehicle{});
    const QString path =
        dialogs.savePath(jobtexts::text(jobtexts::Report).remove(u'.'),
                         QStringLiteral("PDF(*.pdf)|*.pdf"), fileName(vehicle, record->job));
    if (path.isEmpty())
        return;
    QString error;
    if (report::write(data(store, *record, link), path, &error))
        dialogs.information(captions::text(captions::FileSaved) + QDir::toNativeSeparators(path) +
                            QLatin1Char(' '));
    else
        dialogs.warning(captions::text(captions::FileNotSaved) + error + QLatin1Char(' '));
}

} // namespace jobreport
