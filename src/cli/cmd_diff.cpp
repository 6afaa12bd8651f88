// gasecu-cli diff A B: what differs between two configurations, each a
// memory file or "ecu" (read from the ECU now), one line per setting with
// both values as the pages show them.
#include "cli/cli_common.h"
#include "cli/commands.h"
#include "files/memory_file.h"
#include "link/memory_image.h"
#include "pages/config_compare.h"

#include <QFileInfo>

#include <cstdio>
#include <optional>

namespace {
const QString Ecu = QStringLiteral("ecu");

std::optional<MemoryImage> loadFile(const QString &path) {
    QString text;
    if (!QFileInfo(path).isFile() || !memory_file::readText(path, &text)) {
        cli::printErr(QStringLiteral("gasecu-cli: ") + path + QStringLiteral(": no such file"));
        return std::nullopt;
    }
    const memory_file::Parsed parsed = memory_file::parse(text);
    if (!parsed.ok) {
        cli::printErr(QStringLiteral("gasecu-cli: ") + path +
                      QStringLiteral(": not a memory file (Noncorrect File error)"));
        return std::nullopt;
    }
    MemoryImage image;
    memory_file::apply(parsed, &image);
    return image;
}
} // namespace

int runDiff(const QStringList &arguments) {
    cli::CommandArgs args(QStringLiteral("diff A B [--port N] [--ports-dir DIR]   (A and B: a "
                                         "memory file, or ecu)"),
                          2);
    int code = cli::Ok;
    if (!args.parse(arguments, &code))
        return code;
    const QString names[] = {args.positional(0), args.positional(1)};
    std::optional<MemoryImage> images[2];
    // Files first: a missing file is told before the ECU is read.
    for (int i = 0; i < 2; ++i) {
        if (names[i] != Ecu && !(images[i] = loadFile(names[i])))
            return cli::FileProblem;
    }
    if (names[0] == Ecu || names[1] == Ecu) {
        const int port = args.port();
        if (port < 0)
            return cli::Usage;
        cli::CliLink line(args.portsDir());
        if (const cli::Exit opened = line.open(port); opened != cli::Ok)
            return opened;
        if (const cli::Exit read = line.fullRead(); read != cli::Ok)
            return read;
        // As when it is saved: the firmware byte travels at 0x1000.
        MemoryImage ecu = line.link.image;
        ecu.set(0x1000, ecu.at(0x000));
        for (int i = 0; i < 2; ++i) {
            if (names[i] == Ecu)
                images[i] = ecu;
        }
    }
    const QList<compare::Difference> found = compare::differences(*images[0], *images[1]);
    for (const compare::Difference &d : found) {
        std::fputs(d.text().toUtf8().constData(), stdout);
        std::fputc('\n', stdout);
    }
    std::fflush(stdout);
    cli::printErr(found.isEmpty() ? QStringLiteral("gasecu-cli: no difference")
                                  : QStringLiteral("gasecu-cli: %1 differences").arg(found.size()));
    return cli::Ok;
}
