// gasecu-cli map: a road-tuning drive without the screens. Acquires on
// petrol, then on gas, prints what each load band saw, and can propose and
// write the depression table's correction.
#include "cli/cli_common.h"
#include "cli/commands.h"
#include "cli/interrupt_watcher.h"
#include "cli/job_log.h"
#include "cli/map_run.h"

#include "ecu/memory_map.h"
#include "files/restore_points.h"
#include "link/block_table.h"
#include "link/frames.h"
#include "link/link.h"
#include "tuning/map_export.h"
#include "tuning/map_proposal.h"

#include <QEventLoop>
#include <QSaveFile>

#include <array>

namespace {

constexpr int DefaultSeconds = 60;
constexpr int DefaultWaitS = 120;

// A whole number of seconds from 1 to a day, or the default; -1 after
// saying why not.
int seconds(const cli::CommandArgs &args, const char *option, int fallback) {
    const QString key = QString::fromLatin1(option);
    if (!args.parser.isSet(key))
        return fallback;
    bool ok = false;
    const int value = args.parser.value(key).toInt(&ok);
    if (!ok || value < 1 || value > 86400) {
        cli::printErr(QStringLiteral("gasecu-cli: --%1 takes whole seconds 1..86400").arg(key));
        return -1;
    }
    return value;
}

std::array<int, 20> depEntries(const MemoryImage &image) {
    std::array<int, 20> entries{};
    for (int k = 1; k <= 20; ++k)
        entries.at(std::size_t(k - 1)) = image.at(ecu::GasTemperatureCoefficients.address + k - 1);
    return entries;
}

bool writeCsv(const QString &path, const QByteArray &csv) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(csv) == csv.size() && file.commit())
        return true;
    cli::printErr(QStringLiteral("gasecu-cli: cannot write %1: %2").arg(path, file.errorString()));
    return false;
}

// Writes the table fields' block as the map screen does, then reads the
// whole memory back and compares the block.
int applyProposal(cli::CliLink &line, const std::array<mapproposal::Entry, 20> &entries,
                  cli::JobLog &job) {
    Link &link = line.link;
    QString error;
    line.restorePoint = RestorePoints().save(link.image, QDateTime::currentDateTime(), &error);
    if (line.restorePoint.isEmpty()) {
        cli::printErr(QStringLiteral("gasecu-cli: restore point not saved, nothing written: ") +
                      error);
        return cli::FileProblem;
    }
    cli::printOut(QStringLiteral("restore point ") + line.restorePoint);
    job.restorePoint(line.restorePoint);
    for (int k = 1; k <= 20; ++k)
        link.image.set(ecu::GasTemperatureCoefficients.address + k - 1,
                       entries.at(std::size_t(k - 1)).proposed);
    const MemoryImage written = link.image;

    link.poll.pauseForWrite();
    QEventLoop writing;
    QObject::connect(&link, &Link::writeAcknowledged, &writing, [&] { writing.exit(cli::Ok); });
    QObject::connect(&link, &Link::writeFailed, &writing, [&] { writing.exit(cli::NoAnswer); });
    QObject::connect(&link, &Link::connectionWanted, &writing,
                     [&] { writing.exit(cli::PortProblem); });
    link.WriteBlock(frames::WriteMainParameters);
    const QString restoreHint =
        QStringLiteral("the ECU may hold the new table or the old one; the restore point %1 holds "
                       "what it held before (gasecu-cli upload puts it back)")
            .arg(line.restorePoint);
    if (const int code = writing.exec(); code != cli::Ok) {
        cli::printErr(code == cli::NoAnswer ? link.unacknowledgedWriteText()
                                            : Link::adapterGoneText());
        cli::printErr(restoreHint);
        return code;
    }
    if (const cli::Exit read = line.fullRead(); read != cli::Ok) {
        cli::printErr(restoreHint);
        return read;
    }
    const BlockRange block = blockRange(frames::WriteMainParameters.toByteArray());
    for (int a = block.address; a < block.address + block.count; ++a) {
        if (link.image.at(a) != written.at(a)) {
            cli::printErr(cli::verifyFailedText(a, written.at(a), link.image.at(a)));
            cli::printErr(restoreHint);
            return cli::VerifyFailed;
        }
    }
    cli::printOut(QStringLiteral("verified"));
    job.written(link.image);
    return cli::Ok;
}

} // namespace

int runMap(const QStringList &arguments) {
    cli::CommandArgs args(
        QStringLiteral(
            "map [--port N] [--ports-dir DIR] [--seconds S] [--csv FILE] [--propose] [--apply] "
            "[--timeout S] [--job ID]\n"
            "  While the car is driven: acquires S seconds on petrol (60), asks the ECU for gas "
            "and acquires\n"
            "  S seconds more, then puts the fuel back as it was found. Prints one line a load "
            "band:\n"
            "  band dep_from dep_to petrol_mean petrol_count gas_mean gas_count diff_percent\n"
            "  (means in ms, - where a band has no data); --csv FILE writes the same as CSV.\n"
            "  --propose: one line a depression-table entry, entry current proposed (bands with "
            "3 crossings\n"
            "  on both fuels, at most 10 points a step). --apply writes the proposal after a "
            "restore point,\n"
            "  reads it back and says verified. --timeout S bounds each wait for a switch "
            "(120).\n"
            "  Exit 6 when the ECU does not switch or --apply finds no band to go by; 130 when "
            "interrupted."),
        0);
    args.parser.addOptions({
        {QStringLiteral("seconds"), QStringLiteral("Seconds on each fuel."), QStringLiteral("S")},
        {QStringLiteral("csv"), QStringLiteral("Write the bands as CSV."), QStringLiteral("FILE")},
        {QStringLiteral("propose"), QStringLiteral("Print the proposed table.")},
        {QStringLiteral("apply"), QStringLiteral("Write the proposed table.")},
        {QStringLiteral("timeout"), QStringLiteral("Longest wait for a switch."),
         QStringLiteral("S")},
    });
    cli::JobLog job;
    cli::JobLog::addOption(args);
    int code = cli::Ok;
    if (!args.parse(arguments, &code) || !job.open(args, &code))
        return code;
    const int drive = seconds(args, "seconds", DefaultSeconds);
    const int wait = seconds(args, "timeout", DefaultWaitS);
    const int port = args.port();
    if (drive < 0 || wait < 0 || port < 0)
        return cli::Usage;

    cli::CliLink line(args.portsDir());
    if (const cli::Exit opened = line.open(port); opened != cli::Ok)
        return opened;
    cli::printErr(QStringLiteral("reading the ECU"));
    if (const cli::Exit read = line.fullRead(); read != cli::Ok)
        return read;
    job.read(line.link.image);

    MapRun run(line.link, drive, wait);
    InterruptWatcher interrupts;
    QObject::connect(&interrupts, &InterruptWatcher::interrupted, &run, &MapRun::interrupt);
    QEventLoop driving;
    QObject::connect(&run, &MapRun::done, &driving, &QEventLoop::exit);
    QObject::connect(&line.link, &Link::connectionWanted, &driving, [&] {
        cli::printErr(line.lastWarning.isEmpty() ? QStringLiteral(" Non Connecter ")
                                                 : line.lastWarning);
        run.portLost();
    });
    run.start();
    code = driving.exec();

    for (const QStringList &row : mapexport::bandSummary(run.stats()))
        cli::printOut(row.join(QLatin1Char(' ')));
    const QString csv = args.parser.value(QStringLiteral("csv"));
    if (!csv.isEmpty() && !writeCsv(csv, mapexport::bandSummaryCsv(run.stats())) && code == cli::Ok)
        code = cli::FileProblem;
    const bool apply = args.parser.isSet(QStringLiteral("apply"));
    if (code != cli::Ok || !(apply || args.parser.isSet(QStringLiteral("propose")))) {
        if (code == cli::Ok)
            job.map(run.stats(), nullptr);
        return job.finish(code);
    }

    const auto entries = mapproposal::propose(
        depEntries(line.link.image), mapproposal::loadTrimOf(line.link.image), run.stats());
    bool anyData = false, anyChange = false;
    for (int k = 1; k <= 20; ++k) {
        const mapproposal::Entry &e = entries.at(std::size_t(k - 1));
        anyData = anyData || e.hasData;
        anyChange = anyChange || e.difference() != 0;
        cli::printOut(QStringLiteral("%1 %2 %3").arg(k).arg(e.current).arg(e.proposed));
    }
    if (!apply || !anyData || !anyChange)
        job.map(run.stats(), nullptr);
    if (!apply)
        return job.finish(cli::Ok);
    if (!anyData) {
        cli::printErr(QStringLiteral("no band has %1 crossings on both fuels: nothing to write; "
                                     "drive longer, through more loads")
                          .arg(BandStats::MinSamples));
        return cli::AcquisitionError;
    }
    if (!anyChange) {
        cli::printErr(QStringLiteral("every entry already meets its bands: nothing to write"));
        return job.finish(cli::Ok);
    }
    code = applyProposal(line, entries, job);
    std::array<int, 20> applied{};
    for (std::size_t k = 0; k < applied.size(); ++k)
        applied[k] = entries[k].proposed;
    job.map(run.stats(), code == cli::Ok ? &applied : nullptr);
    return job.finish(code);
}
