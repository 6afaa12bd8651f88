// gasecu-cli diff A B: what differs between two configurations, each a
// memory file or "ecu" (read from the ECU now), one line per setting with
// both values as the pages show them.
#include "cli/cli_common.h"
#include "cli/commands.h"
#include "ecu/memory_map.h"
#include "settings/config_compare.h"

#include <optional>

namespace {
// "ecu", "ECU", "Ecu": the ECU read now rather than a file.
bool isEcu(const QString &name) {
    return name.compare(QLatin1String("ecu"), Qt::CaseInsensitive) == 0;
}
} // namespace

int runDiff(const QStringList &arguments) {
    cli::CommandArgs args(
        QStringLiteral("diff A B [--port N] [--ports-dir DIR] [--exit-code]   (A and B: a memory "
                       "file, or ecu)\n"
                       "  --exit-code: exit 1 when they differ, 0 when they do not"),
        2);
    args.parser.addOption(
        {QStringLiteral("exit-code"), QStringLiteral("Exit 1 when the configurations differ.")});
    int code = cli::Ok;
    if (!args.parse(arguments, &code))
        return code;
    const QString names[] = {args.positional(0), args.positional(1)};
    std::optional<MemoryImage> images[2];
    // Files first: a bad file is told before the ECU is read.
    for (int i = 0; i < 2; ++i) {
        if (isEcu(names[i]))
            continue;
        const std::optional<memory_file::Parsed> file = cli::readMemoryFile(names[i]);
        if (!file)
            return cli::FileProblem;
        images[i].emplace();
        memory_file::apply(*file, &*images[i]);
    }
    if (isEcu(names[0]) || isEcu(names[1])) {
        cli::CliLink line(args.portsDir());
        if (const cli::Exit read = line.openAndRead(args); read != cli::Ok)
            return read;
        // As when it is saved: the firmware byte travels in its copy.
        MemoryImage ecu = line.link.image;
        ecu::stampFirmware(ecu);
        for (int i = 0; i < 2; ++i) {
            if (isEcu(names[i]))
                images[i] = ecu;
        }
    }
    const QList<compare::Difference> found = compare::differences(*images[0], *images[1]);
    for (const compare::Difference &d : found)
        cli::printOut(d.text());
    cli::printErr(found.isEmpty() ? QStringLiteral("no difference")
                                  : QStringLiteral("%1 differences").arg(found.size()));
    // As git diff --exit-code: 1 says "they differ", not "the ECU did not answer".
    return args.parser.isSet(QStringLiteral("exit-code")) && !found.isEmpty() ? 1 : cli::Ok;
}
