#include "jobs/job_report.h"

#include "jobs/job_configuration.h"
#include "jobs/job_texts.h"
#include "link/link.h"
#include "report/report_writer.h"
#include "ui/captions.h"
#include "ui/dialogs.h"
#include "vehicles/record_store.h"

#include <QDir>
#include <QRegularExpression>

namespace jobreport {
namespace {
QString stamp(const QDateTime &at) {
    return at.toString(QStringLiteral("dd/MM/yyyy hh:mm"));
}
} // namespace

ReportData data(const RecordStore &store, const JobRecord &record, const Link &link) {
    ReportData d;
    d.workshopName = store.setting(QStringLiteral("workshop.name"));
    d.workshopAddress = store.setting(QStringLiteral("workshop.address"));
    d.vehicle = store.vehicle(record.job.vehicleId);
    d.job = record;
    const Job &job = record.job;
    const std::optional<MemoryImage> last = jobconfig::lastConfiguration(job);
    if (!job.lastWritten.isEmpty() && last) {
        d.image = *last;
        d.source = QStringLiteral("ECU, written ") + stamp(job.lastWrittenAt);
    } else if (const std::optional<MemoryImage> read = jobconfig::firstRead(job)) {
        d.image = *read;
        d.source = QStringLiteral("ECU, read ") + stamp(job.firstReadAt);
    } else {
        d.image = jobconfig::stamped(link.image);
        d.source = QStringLiteral("ECU");
    }
    d.firstRead = jobconfig::firstRead(job);
    d.printedAt = QDateTime::currentDateTime();
    d.text = [](int n, const QString &english) { return captions::numbered(n, english); };
    return d;
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
