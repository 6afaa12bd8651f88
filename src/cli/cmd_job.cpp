// gasecu-cli job new|show|export: a job's record from the command line.
//   job new --plate P [...]   opens a job (and the vehicle when new), prints its id
//   job show ID               what the job recorded, one "name value" line each
//   job export ID DIR         its memory files and report, for the archive
#include "cli/cli_common.h"
#include "cli/commands.h"
#include "cli/report_files.h"
#include "files/records.h"
#include "report/report_source.h"
#include "settings/config_compare.h"
#include "vehicles/job_images.h"
#include "vehicles/record_store.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

namespace {

QString when(const QDateTime &at) {
    return at.isValid() ? QLocale::c().toString(at, QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                        : QStringLiteral("-");
}

// Parses the command line and finds the job named by positional argument
// 1; prints why and sets *code when there is none.
std::optional<JobRecord> parseAndFind(cli::CommandArgs &args, const QStringList &arguments,
                                      RecordStore &store, int *code) {
    *code = cli::Ok;
    if (!args.parse(arguments, code))
        return std::nullopt;
    bool ok = false;
    const qint64 id = args.positional(1).toLongLong(&ok);
    if (!ok || id < 1) {
        cli::printErr(QStringLiteral("gasecu-cli: a job number, as gasecu-cli jobs lists them"));
        *code = cli::Usage;
        return std::nullopt;
    }
    if (!store.open()) {
        cli::printErr(QStringLiteral("gasecu-cli: ") + store.error());
        *code = cli::FileProblem;
        return std::nullopt;
    }
    std::optional<JobRecord> record = store.record(id);
    if (!record) {
        cli::printErr(QStringLiteral("gasecu-cli: no job %1 in %2").arg(id).arg(store.path()));
        *code = cli::NoRecord;
    }
    return record;
}

const char NewSynopsis[] =
    "job new --plate P [--vin V] [--make M] [--model M] [--year Y] [--kind conversion|service|"
    "repair] [--fitter F] [--customer C] [--notes N]\n"
    "  Opens a job for the car (added to the records when its plate is new; the details given\n"
    "  replace the stored ones) and prints \"job ID\".";

int newJob(const QStringList &arguments) {
    cli::CommandArgs args(QLatin1String(NewSynopsis), 1, cli::CommandArgs::Port::NotTaken);
    const char *const options[] = {"plate", "vin",    "make",     "model", "year",
                                   "kind",  "fitter", "customer", "notes"};
    for (const char *option : options)
        args.parser.addOption(
            {QString::fromLatin1(option), QString::fromLatin1(option), QStringLiteral("TEXT")});
    int code = cli::Ok;
    if (!args.parse(arguments, &code))
        return code;
    const auto value = [&](const char *option) {
        return args.parser.value(QString::fromLatin1(option)).trimmed();
    };
    const QString plate = value("plate");
    const int kind = args.parser.isSet(QStringLiteral("kind")) ? kindFromName(value("kind")) : 0;
    bool yearOk = true;
    const int year = value("year").isEmpty() ? 0 : value("year").toInt(&yearOk);
    if (plate.isEmpty() || kind < 0 || !yearOk || year < 0 || year > 9999) {
        cli::printErr(QStringLiteral("usage: gasecu-cli ") + QLatin1String(NewSynopsis));
        return cli::Usage;
    }
    RecordStore store;
    if (!store.open()) {
        cli::printErr(QStringLiteral("gasecu-cli: ") + store.error());
        return cli::FileProblem;
    }
    Vehicle car;
    car.plate = plate;
    car = store.vehicleByPlate(plate).value_or(car);
    for (const auto &[option, field] : {std::pair{"vin", &car.vin}, std::pair{"make", &car.make},
                                        std::pair{"model", &car.model}}) {
        if (args.parser.isSet(QString::fromLatin1(option)))
            *field = value(option);
    }
    if (year)
        car.year = year;
    const bool stored = car.id ? store.updateVehicle(car) : (car.id = store.addVehicle(car)) != 0;
    Job job;
    job.vehicleId = car.id;
    job.date = QDateTime::currentDateTime();
    job.fitter = value("fitter");
    job.customer = value("customer");
    job.kind = static_cast<Job::Kind>(kind);
    job.notes = value("notes");
    const qint64 id = stored ? store.addJob(job) : 0;
    if (!id) {
        cli::printErr(QStringLiteral("gasecu-cli: ") + store.error());
        return cli::FileProblem;
    }
    cli::printOut(QStringLiteral("job %1").arg(id));
    return cli::Ok;
}

int showJob(const QStringList &arguments) {
    cli::CommandArgs args(QStringLiteral("job show ID"), 2, cli::CommandArgs::Port::NotTaken);
    int code = cli::Ok;
    RecordStore store;
    const std::optional<JobRecord> record = parseAndFind(args, arguments, store, &code);
    if (!record)
        return code;
    const Job &job = record->job;
    const Vehicle car = store.vehicle(job.vehicleId).value_or(Vehicle{});
    const auto line = [](const char *name, const QString &value) {
        cli::printOut(QLatin1String(name) + QLatin1Char(' ') +
                      (value.isEmpty() ? QStringLiteral("-") : value));
    };
    line("job", QString::number(job.id));
    line("date", when(job.date));
    line("kind", kindName(job.kind));
    line("fitter", job.fitter);
    line("customer", job.customer);
    line("notes", QString(job.notes).replace(u'\n', u' '));
    line("plate", car.plate);
    line("vin", car.vin);
    line("vehicle", QStringList{car.make, car.model}.join(u' ').trimmed());
    line("firmware", car.firmware < 0 ? QString() : QString::number(car.firmware));
    line("first_read", job.firstRead.isEmpty() ? QString() : when(job.firstReadAt));
    line("last_written", job.lastWritten.isEmpty() ? QString() : when(job.lastWrittenAt));
    for (const RestorePointEntry &r : record->restorePoints)
        line("restore_point", when(r.at) + QLatin1Char(' ') + r.path);
    for (const CalibrationEntry &c : record->calibrations)
        line("calibration",
             when(c.at) + (c.kind ? QStringLiteral(" load") : QStringLiteral(" idle")));
    for (const MapEntry &m : record->maps)
        line("map", when(m.at) + (m.applied.isEmpty() ? QStringLiteral(" not applied")
                                                      : QStringLiteral(" applied")));
    for (const FinalTestEntry &f : record->finalTests)
        line("final_test", when(f.at) + QLatin1Char(' ') + f.texts.join(u' '));
    const std::optional<MemoryImage> first = jobimages::imageOf(job.firstRead);
    const std::optional<MemoryImage> last = jobimages::imageOf(job.lastWritten);
    if (first && last) {
        for (const compare::Difference &d : compare::differences(*first, *last))
            line("change", d.text());
    }
    return cli::Ok;
}

// "AB-123-CD" stays; anything a file name should not hold becomes "_".
QString fileStem(const Vehicle &car, const Job &job) {
    static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9-]"));
    QString plate = car.plate.trimmed();
    plate.replace(unsafe, QStringLiteral("_"));
    return QStringLiteral("%1-%2-job%3")
        .arg(plate.isEmpty() ? QStringLiteral("vehicle") : plate,
             QLocale::c().toString(job.date, QStringLiteral("yyyyMMdd")))
        .arg(job.id);
}

int exportJob(const QStringList &arguments) {
    cli::CommandArgs args(
        QStringLiteral("job export ID DIR [--force]\n"
                       "  Writes the job's memory files (first read, last written) and its "
                       "report into DIR,\n"
                       "  named PLATE-DATE-jobID-...; existing files are kept unless --force."),
        3, cli::CommandArgs::Port::NotTaken);
    args.parser.addOption({QStringLiteral("force"), QStringLiteral("Replace existing files.")});
    int code = cli::Ok;
    RecordStore store;
    const std::optional<JobRecord> record = parseAndFind(args, arguments, store, &code);
    if (!record)
        return code;
    const Job &job = record->job;
    QString error;
    std::optional<ReportData> data = report::forJob(store, job.id, &error);
    if (!data) {
        cli::printErr(QStringLiteral("gasecu-cli: nothing exported: ") + error);
        return cli::FileProblem;
    }
    const QDir dir(args.positional(2));
    if (!QDir().mkpath(dir.path())) {
        cli::printErr(QStringLiteral("gasecu-cli: cannot make the folder %1").arg(dir.path()));
        return cli::FileProblem;
    }
    const QString stem = dir.filePath(fileStem(data->vehicle.value_or(Vehicle{}), job));
    const std::pair<QString, QByteArray> files[] = {
        {stem + QStringLiteral("-first-read.fra"), job.firstRead},
        {stem + QStringLiteral("-last-written.fra"), job.lastWritten},
    };
    const QString pdf = stem + QStringLiteral("-report.pdf");
    // Everything is checked before anything is written.
    for (const QString &path : {files[0].first, files[1].first, pdf}) {
        if (!records::replaceable(path, &error) ||
            (QFileInfo::exists(path) && !args.parser.isSet(QStringLiteral("force")))) {
            cli::printErr(
                QStringLiteral("gasecu-cli: nothing exported: ") +
                (error.isEmpty() ? path + QStringLiteral(" exists; --force replaces it") : error));
            return cli::FileProblem;
        }
    }
    for (const auto &[path, bytes] : files) {
        if (bytes.isEmpty())
            continue;
        if (!records::writeAtomically(path, bytes, &error)) {
            cli::printErr(QStringLiteral("gasecu-cli: ") + error);
            return cli::FileProblem;
        }
        cli::printOut(QStringLiteral("saved ") + path);
    }
    return cli::writeReport(*data, pdf);
}

} // namespace

int runJob(const QStringList &arguments) {
    const QString sub = arguments.value(2);
    if (sub == QLatin1String("new"))
        return newJob(arguments);
    if (sub == QLatin1String("show"))
        return showJob(arguments);
    if (sub == QLatin1String("export"))
        return exportJob(arguments);
    const QString usage =
        QStringLiteral("usage: gasecu-cli job new|show|export ... (job new --help)");
    if (sub == QLatin1String("--help")) {
        cli::printOut(usage);
        return cli::Ok;
    }
    cli::printErr(usage);
    return cli::Usage;
}
