// gasecu-cli report OUT.pdf --job ID | --file FILE | --ecu: the conversion
// report of a job, of a memory file or of the ECU's own configuration.
#include "cli/cli_common.h"
#include "cli/commands.h"
#include "cli/report_files.h"
#include "report/report_source.h"
#include "vehicles/record_store.h"

#include <QFileInfo>
#include <QLocale>

int runReport(const QStringList &arguments) {
    cli::CommandArgs args(
        QStringLiteral(
            "report OUT.pdf --job ID | --file FILE | --ecu [--port N] [--ports-dir DIR]\n"
            "  Writes the report as PDF (A4) in the tool's language: a job's "
            "(vehicle, kit, settings,\n"
            "  calibrations, map bands, final test, changes since the first read), "
            "or a memory file's\n"
            "  or the ECU's configuration."),
        1);
    args.parser.addOptions({
        {QStringLiteral("job"), QStringLiteral("The job's report."), QStringLiteral("ID")},
        {QStringLiteral("file"), QStringLiteral("A memory file's report."), QStringLiteral("FILE")},
        {QStringLiteral("ecu"), QStringLiteral("The ECU's configuration.")},
    });
    int code = cli::Ok;
    if (!args.parse(arguments, &code))
        return code;
    const QStringList sources{QStringLiteral("job"), QStringLiteral("file"), QStringLiteral("ecu")};
    int given = 0;
    for (const QString &s : sources)
        given += args.parser.isSet(s) ? 1 : 0;
    if (given != 1) {
        cli::printErr(
            QStringLiteral("gasecu-cli: report takes one of --job ID, --file FILE, --ecu"));
        return cli::Usage;
    }
    const QString out = args.positional(0);

    if (args.parser.isSet(QStringLiteral("job"))) {
        bool ok = false;
        const qint64 id = args.parser.value(QStringLiteral("job")).toLongLong(&ok);
        if (!ok || id < 1) {
            cli::printErr(QStringLiteral("gasecu-cli: --job takes a job number"));
            return cli::Usage;
        }
        RecordStore store;
        if (!store.open()) {
            cli::printErr(QStringLiteral("gasecu-cli: ") + store.error());
            return cli::FileProblem;
        }
        if (!store.job(id)) {
            cli::printErr(QStringLiteral("gasecu-cli: no job %1 in %2").arg(id).arg(store.path()));
            return cli::NoRecord;
        }
        QString error;
        const std::optional<ReportData> data = report::forJob(store, id, &error);
        if (!data) {
            cli::printErr(QStringLiteral("gasecu-cli: report not written: ") + error);
            return cli::FileProblem;
        }
        return cli::writeReport(*data, out);
    }

    ReportData data;
    if (args.parser.isSet(QStringLiteral("file"))) {
        const QString path = args.parser.value(QStringLiteral("file"));
        const std::optional<memory_file::Parsed> file = cli::readMemoryFile(path);
        if (!file)
            return cli::FileProblem;
        MemoryImage image;
        memory_file::apply(*file, &image);
        data = report::forImage(image, QStringLiteral("File ") + QFileInfo(path).fileName());
    } else {
        cli::CliLink line(args.portsDir());
        if (const cli::Exit read = line.openAndRead(args); read != cli::Ok)
            return read;
        MemoryImage image = line.link.image;
        ecu::stampFirmware(image);
        data =
            report::forImage(image, QStringLiteral("ECU, read ") +
                                        QLocale::c().toString(QDateTime::currentDateTime(),
                                                              QStringLiteral("dd/MM/yyyy HH:mm")));
    }
    // The workshop's details when the records can be read; a report of a
    // file or of the ECU does not need them.
    RecordStore store;
    if (store.open())
        report::addWorkshop(data, store);
    return cli::writeReport(data, out);
}
