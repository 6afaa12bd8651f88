// gasecu-cli jobs [--vehicle PLATE]: the workshop's jobs, newest first, one
// line each. gasecu-cli workshop [--name N] [--address A]: the workshop's
// details the reports print.
#include "cli/cli_common.h"
#include "cli/commands.h"
#include "report/report_source.h"
#include "vehicles/record_store.h"

#include <QLocale>

namespace {

// Parses the command line and opens the records; false, with *code set to
// the exit code, when the command ends here.
bool parseAndOpen(cli::CommandArgs &args, const QStringList &arguments, RecordStore &store,
                  int *code) {
    *code = cli::Ok;
    if (!args.parse(arguments, code))
        return false;
    if (store.open())
        return true;
    cli::printErr(QStringLiteral("gasecu-cli: ") + store.error());
    *code = cli::FileProblem;
    return false;
}

} // namespace

int runJobs(const QStringList &arguments) {
    cli::CommandArgs args(
        QStringLiteral("jobs [--vehicle PLATE]\n"
                       "  One line a job, newest first, fields separated by tabs:\n"
                       "  id date kind plate vehicle fitter customer"),
        0, cli::CommandArgs::Port::NotTaken);
    args.parser.addOption({QStringLiteral("vehicle"), QStringLiteral("Only this car's jobs."),
                           QStringLiteral("PLATE")});
    int code = cli::Ok;
    RecordStore store;
    if (!parseAndOpen(args, arguments, store, &code))
        return code;
    qint64 vehicleId = 0;
    if (args.parser.isSet(QStringLiteral("vehicle"))) {
        const QString plate = args.parser.value(QStringLiteral("vehicle"));
        const std::optional<Vehicle> car = store.vehicleByPlate(plate);
        if (!car) {
            cli::printErr(QStringLiteral("gasecu-cli: no vehicle with plate %1").arg(plate));
            return cli::NoRecord;
        }
        vehicleId = car->id;
    }
    for (const Job &job : store.jobs(vehicleId)) {
        const std::optional<Vehicle> car = store.vehicle(job.vehicleId);
        const QString model =
            car ? QStringList{car->make, car->model}.join(u' ').trimmed() : QString();
        cli::printOut(QStringList{
            QString::number(job.id),
            QLocale::c().toString(job.date, QStringLiteral("yyyy-MM-dd HH:mm")), kindName(job.kind),
            car ? car->plate : QString(), model, job.fitter, job.customer}
                          .join(u'\t'));
    }
    return cli::Ok;
}

int runWorkshop(const QStringList &arguments) {
    cli::CommandArgs args(QStringLiteral("workshop [--name N] [--address A]\n"
                                         "  Sets the workshop's name and address the reports "
                                         "print (\\n in A starts a line);\n"
                                         "  without options prints them."),
                          0, cli::CommandArgs::Port::NotTaken);
    args.parser.addOptions({
        {QStringLiteral("name"), QStringLiteral("The workshop's name."), QStringLiteral("N")},
        {QStringLiteral("address"), QStringLiteral("Its address."), QStringLiteral("A")},
    });
    int code = cli::Ok;
    RecordStore store;
    if (!parseAndOpen(args, arguments, store, &code))
        return code;
    const std::pair<const char *, const char *> keys[] = {{"name", report::WorkshopName},
                                                          {"address", report::WorkshopAddress}};
    for (const auto &[option, key] : keys) {
        const QString name = QString::fromLatin1(option);
        if (!args.parser.isSet(name))
            continue;
        QString value = args.parser.value(name);
        value.replace(QLatin1String("\\n"), QLatin1String("\n"));
        if (!store.setSetting(QLatin1String(key), value)) {
            cli::printErr(QStringLiteral("gasecu-cli: ") + store.error());
            return cli::FileProblem;
        }
    }
    for (const auto &[option, key] : keys)
        cli::printOut(QLatin1String(option) + QLatin1Char(' ') +
                      store.setting(QLatin1String(key)).replace(u'\n', QLatin1String("\\n")));
    return cli::Ok;
}

int runBackup(const QStringList &arguments) {
    cli::CommandArgs args(QStringLiteral("backup FILE\n"
                                         "  Copies the workshop's records into FILE (a new file), "
                                         "whole even while the tool runs."),
                          1, cli::CommandArgs::Port::NotTaken);
    int code = cli::Ok;
    RecordStore store;
    if (!parseAndOpen(args, arguments, store, &code))
        return code;
    if (!store.backupTo(args.positional(0))) {
        cli::printErr(QStringLiteral("gasecu-cli: ") + store.error());
        return cli::FileProblem;
    }
    cli::printOut(QStringLiteral("saved ") + args.positional(0));
    return cli::Ok;
}
