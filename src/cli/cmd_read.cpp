// gasecu-cli read: the ECU's whole memory as 256 lines of 16 bytes.
#include "cli/cli_common.h"
#include "cli/commands.h"
#include "cli/job_log.h"
#include "cli/memory_dump.h"

#include <cstdio>

int runRead(const QStringList &arguments) {
    cli::CommandArgs args(QStringLiteral("read [--port N] [--ports-dir DIR] [--job ID]"), 0);
    cli::JobLog job;
    cli::JobLog::addOption(args);
    int code = cli::Ok;
    if (!args.parse(arguments, &code) || !job.open(args, &code))
        return code;
    cli::CliLink line(args.portsDir());
    if (const cli::Exit read = line.openAndRead(args); read != cli::Ok)
        return read;
    std::fputs(memoryDump(line.link.image).constData(), stdout);
    std::fflush(stdout);
    job.read(line.link.image);
    return job.finish(cli::Ok);
}
