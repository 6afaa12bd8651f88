#include "report/report_source.h"

#include "vehicles/job_images.h"
#include "vehicles/record_store.h"

#include <QLocale>

namespace report {

std::function<QString(int, const QString &)> languageOf(const QStringList &texts) {
    return [texts](int n, const QString &english) {
        const QString own = texts.value(n).trimmed();
        return own.isEmpty() ? english : texts.value(n);
    };
}

namespace {
QString when(const QDateTime &at) {
    return QLocale::c().toString(at, QStringLiteral("dd/MM/yyyy HH:mm"));
}
} // namespace

std::optional<ReportData> forJob(const RecordStore &store, qint64 jobId, QString *error) {
    const std::optional<JobRecord> record = store.record(jobId);
    if (!record) {
        if (error)
            *error = store.error().isEmpty()
                         ? QStringLiteral("no job %1 in %2").arg(jobId).arg(store.path())
                         : store.error();
        return std::nullopt;
    }
    const Job &job = record->job;
    const std::optional<MemoryImage> first = jobimages::imageOf(job.firstRead);
    const std::optional<MemoryImage> last = jobimages::imageOf(job.lastWritten);
    if (!first && !last) {
        if (error)
            *error =
                QStringLiteral("job %1 holds no configuration yet: read the ECU within the job "
                               "first")
                    .arg(jobId);
        return std::nullopt;
    }
    ReportData data;
    data.job = record;
    data.vehicle = store.vehicle(job.vehicleId);
    data.image = last ? *last : *first;
    data.source = last ? QStringLiteral("ECU, written %1").arg(when(job.lastWrittenAt))
                       : QStringLiteral("ECU, read %1").arg(when(job.firstReadAt));
    data.firstRead = first;
    data.printedAt = QDateTime::currentDateTime();
    addWorkshop(data, store);
    return data;
}

ReportData forImage(const MemoryImage &image, const QString &source) {
    ReportData data;
    data.image = image;
    data.source = source;
    data.printedAt = QDateTime::currentDateTime();
    return data;
}

void addWorkshop(ReportData &data, const RecordStore &store) {
    data.workshopName = store.setting(QLatin1String(WorkshopName));
    data.workshopAddress = store.setting(QLatin1String(WorkshopAddress));
}

} // namespace report
