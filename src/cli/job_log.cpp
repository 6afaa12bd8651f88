#include "cli/job_log.h"

#include "cli/cli_common.h"
#include "ecu/live_block.h"
#include "tuning/calibration_sequence.h"
#include "tuning/map_export.h"
#include "vehicles/job_images.h"

namespace cli {

void JobLog::addOption(CommandArgs &args) {
    args.parser.addOption({QStringLiteral("job"),
                           QStringLiteral("Record what the command does into job ID."),
                           QStringLiteral("ID")});
}

bool JobLog::open(const CommandArgs &args, int *exitCode) {
    if (!args.parser.isSet(QStringLiteral("job")))
        return true;
    bool ok = false;
    const qint64 id = args.parser.value(QStringLiteral("job")).toLongLong(&ok);
    if (!ok || id < 1) {
        printErr(
            QStringLiteral("gasecu-cli: --job takes a job number (gasecu-cli jobs lists them)"));
        *exitCode = Usage;
        return false;
    }
    if (!m_store.open()) {
        printErr(QStringLiteral("gasecu-cli: ") + m_store.error());
        *exitCode = FileProblem;
        return false;
    }
    if (!m_store.job(id)) {
        printErr(QStringLiteral("gasecu-cli: no job %1 in %2").arg(id).arg(m_store.path()));
        *exitCode = NoRecord;
        return false;
    }
    m_job = id;
    return true;
}

void JobLog::check(bool ok) {
    if (ok)
        return;
    m_failed = true;
    printErr(QStringLiteral("gasecu-cli: not recorded in job %1: %2 (the ECU is not affected)")
                 .arg(m_job)
                 .arg(m_store.error()));
}

void JobLog::read(const MemoryImage &image) {
    if (!active())
        return;
    const QDateTime now = QDateTime::currentDateTime();
    check(m_store.setFirstRead(m_job, jobimages::memoryFileOf(image), now));
    if (const std::optional<Job> job = m_store.job(m_job))
        check(m_store.setFirmware(job->vehicleId, image.at(ecu::liveblock::Firmware)));
}

void JobLog::written(const MemoryImage &image) {
    if (active())
        check(m_store.setLastWritten(m_job, jobimages::memoryFileOf(image),
                                     QDateTime::currentDateTime()));
}

void JobLog::restorePoint(const QString &path) {
    if (active() && !path.isEmpty())
        check(m_store.addRestorePoint(m_job, {QDateTime::currentDateTime(), path}));
}

void JobLog::calibration(const calibration::Sequence &sequence, int kind) {
    if (!active())
        return;
    CalibrationEntry entry;
    entry.at = QDateTime::currentDateTime();
    entry.kind = kind;
    for (int bank = 0; bank < 2; ++bank) {
        QStringList &texts = bank == 0 ? entry.bank1 : entry.bank2;
        for (const QString &text : sequence.texts(bank))
            texts << text;
    }
    check(m_store.addCalibration(m_job, entry));
}

void JobLog::map(const BandStats &stats, const std::array<int, 20> *applied) {
    if (!active())
        return;
    MapEntry entry;
    entry.at = QDateTime::currentDateTime();
    entry.bands = mapexport::bandSummary(stats);
    if (applied)
        entry.applied = QList<int>(applied->begin(), applied->end());
    check(m_store.addMap(m_job, entry));
}

int JobLog::finish(int code) const {
    return code == Ok && m_failed ? FileProblem : code;
}

} // namespace cli
