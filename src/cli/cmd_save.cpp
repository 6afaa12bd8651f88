// gasecu-cli save FILE: reads the ECU's whole memory and keeps its
// configuration in a memory file.
#include "cli/cli_common.h"
#include "cli/commands.h"
#include "cli/job_log.h"
#include "ecu/memory_map.h"
#include "files/memory_file.h"
#include "files/records.h"

#include <QFileInfo>

int runSave(const QStringList &arguments) {
    cli::CommandArgs args(
        QStringLiteral("save FILE [--port N] [--ports-dir DIR] [--force] [--job ID]"), 1);
    cli::JobLog job;
    cli::JobLog::addOption(args);
    args.parser.addOption(
        {QStringLiteral("force"), QStringLiteral("Replace FILE when it exists.")});
    int code = cli::Ok;
    if (!args.parse(arguments, &code) || !job.open(args, &code))
        return code;
    const QString path = args.positional(0);
    // Refused before the ECU is read: only a regular file is ever replaced.
    QString error;
    if (!records::replaceable(path, &error)) {
        cli::printErr(QStringLiteral("gasecu-cli: ") + error);
        return cli::FileProblem;
    }
    if (QFileInfo::exists(path) && !args.parser.isSet(QStringLiteral("force"))) {
        cli::printErr(QStringLiteral("gasecu-cli: ") + path +
                      QStringLiteral(" exists; --force replaces it"));
        return cli::FileProblem;
    }
    cli::CliLink line(args.portsDir());
    if (const cli::Exit read = line.openAndRead(args); read != cli::Ok)
        return read;
    MemoryImage &image = line.link.image;
    job.read(image);
    ecu::stampFirmware(image);
    if (!memory_file::writeAtomically(path, memory_file::format(image), &error)) {
        cli::printErr(QStringLiteral("gasecu-cli: ") + error);
        return cli::FileProblem;
    }
    cli::printOut(QStringLiteral("saved ") + path);
    return job.finish(cli::Ok);
}
