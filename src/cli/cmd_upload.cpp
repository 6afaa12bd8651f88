// gasecu-cli upload FILE: writes a memory file's configuration into the ECU
// made for it, keeping what the ECU held as a restore point, then reads the
// blocks back and compares them with the file.
#include "cli/cli_common.h"
#include "cli/commands.h"
#include "cli/job_log.h"
#include "ecu/live_block.h"
#include "files/memory_file.h"
#include "files/restore_points.h"

int runUpload(const QStringList &arguments) {
    cli::CommandArgs args(QStringLiteral("upload FILE [--port N] [--ports-dir DIR] [--job ID]"), 1);
    cli::JobLog job;
    cli::JobLog::addOption(args);
    int code = cli::Ok;
    if (!args.parse(arguments, &code) || !job.open(args, &code))
        return code;
    const std::optional<memory_file::Parsed> file = cli::readMemoryFile(args.positional(0));
    if (!file)
        return cli::FileProblem;
    const memory_file::Parsed &parsed = *file;
    cli::CliLink line(args.portsDir());
    if (const cli::Exit read = line.openAndRead(args); read != cli::Ok)
        return read;
    MemoryImage &image = line.link.image;
    job.read(image);
    // Checked first: a refused file makes no restore point, so it never
    // pushes a real one out of those kept.
    if (parsed.firmware() != image.at(ecu::liveblock::Firmware)) {
        cli::printErr(QStringLiteral(" FIREWAR ERROR "));
        return cli::FirmwareMismatch;
    }
    // The image holds what the ECU holds: it was read just now.
    QString error;
    line.restorePoint = RestorePoints().save(image, QDateTime::currentDateTime(), &error);
    if (line.restorePoint.isEmpty()) {
        cli::printErr(QStringLiteral("gasecu-cli: restore point not saved, nothing written: ") +
                      error);
        return cli::FileProblem;
    }
    cli::printOut(QStringLiteral("restore point ") + line.restorePoint);
    job.restorePoint(line.restorePoint);
    memory_file::apply(parsed, &image);
    const MemoryImage written = image;
    if (const cli::Exit uploaded = line.upload(); uploaded != cli::Ok)
        return uploaded;
    if (const cli::Exit read = line.fullRead(); read != cli::Ok)
        return read;
    if (const int at = memory_file::firstUploadedDifference(written, image); at >= 0) {
        cli::printErr(cli::verifyFailedText(at, written.at(at), image.at(at)));
        return cli::VerifyFailed;
    }
    cli::printOut(QStringLiteral("verified"));
    job.written(image);
    return job.finish(cli::Ok);
}
