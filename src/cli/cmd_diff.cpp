// gasecu-cli diff A B: what differs between two configurations, each a
// memory file or "ecu" (read from the ECU now), one line per setting with
// both values as the pages show them.
#include "cli/cli_common.h"
#include "cli/commands.h"
#include "ecu/memory_map.h"
#include "settings/config_compare.h"

#include <optional>

namespace {
const QString Ecu = QStringLiteral("ecu");
} // namespace

int runDiff(const QStringList &arguments) {
    cli::CommandArgs args(
        QStringLiteral("diff A B [--port N] [--ports-dir DIR]   (A and B: a memory file, or ecu)"),
        2);
    int code = cli::Ok;
    if (!args.parse(arguments, &code))
        return code;
    const QString names[] = {args.positional(0), args.positional(1)};
    std::optional<MemoryImage> images[2];
    // Files first: a bad file is told before the ECU is read.
    for (int i = 0; i < 2; ++i) {
        if (names[i] == Ecu)
            continue;
        const std::optional<memory_file::Parsed> file = cli::readMemoryFile(names[i]);
        if (!file)
            return cli::FileProblem;
        images[i].emplace();
        memory_file::apply(*file, &*images[i]);
    }
    if (names[0] == Ecu || names[1] == Ecu) {
        cli::CliLink line(args.portsDir());
        if (const cli::Exit read = line.openAndRead(args); read != cli::Ok)
            return read;
        // As when it is saved: the firmware byte travels in its copy.
        MemoryImage ecu = line.link.image;
        ecu::stampFirmware(ecu);
        for (int i = 0; i < 2; ++i) {
            if (names[i] == Ecu)
                images[i] = ecu;
        }
    }
    const QList<compare::Difference> found = compare::differences(*images[0], *images[1]);
    for (const compare::Difference &d : found)
        cli::printOut(d.text());
    cli::printErr(found.isEmpty() ? QStringLiteral("no difference")
                                  : QStringLiteral("%1 differences").arg(found.size()));
    return cli::Ok;
}
