// gasecu-cli: the link without widgets, for the bench and the workshop.
//   gasecu-cli COMMAND [options]      gasecu-cli COMMAND --help
#include "cli/cli_common.h"
#include "cli/commands.h"

#include <QGuiApplication>

#include <cstring>
#include <memory>

namespace {

struct Command {
    const char *name;
    int (*run)(const QStringList &arguments);
    const char *summary;
};

// One line per command.
const Command Commands[] = {
    {"read", runRead, "read [--port N] [--ports-dir DIR]: print the ECU's whole memory"},
    {"monitor", runMonitor,
     "monitor [--port N] [--ports-dir DIR] [--csv FILE] [--seconds S]: log the live data as CSV"},
    {"save", runSave,
     "save FILE [--port N] [--ports-dir DIR] [--force]: read the ECU, write a memory file"},
    {"upload", runUpload,
     "upload FILE [--port N] [--ports-dir DIR]: write a memory file into the ECU, verify"},
    {"diff", runDiff,
     "diff A B [--port N] [--ports-dir DIR]: what differs between two configurations (a memory "
     "file, or ecu)"},
    {"ports", runPorts,
     "ports [--ports-dir DIR]: list the ports, search the ECU, remember its port"},
    {"calibrate", runCalibrate,
     "calibrate idle|load [--port N] [--ports-dir DIR] [--steps S1,S2,S3,S4] [--min-temp C] "
     "[--exclude MS] [--apply]: run the automatic calibration"},
    {"map", runMap,
     "map [--port N] [--ports-dir DIR] [--seconds S] [--csv FILE] [--propose] [--apply]: acquire "
     "the load bands on petrol and gas while driving, propose the depression table"},
    {"jobs", runJobs, "jobs [--vehicle PLATE]: list the workshop's jobs, newest first"},
    {"job", runJob,
     "job new --plate P [...] | job show ID | job export ID DIR: open a job, show what it "
     "recorded, export its memory files and report"},
    {"report", runReport,
     "report OUT.pdf --job ID | --file FILE | --ecu [--port N] [--ports-dir DIR]: the "
     "conversion report as PDF"},
    {"backup", runBackup, "backup FILE: a copy of the workshop's records (vehicles and jobs)"},
    {"workshop", runWorkshop,
     "workshop [--name N] [--address A]: the workshop's details the reports print"},
};

QString usage() {
    QString text = QStringLiteral("usage: gasecu-cli COMMAND [options]   (COMMAND --help for its "
                                  "options)\n\ncommands:\n");
    for (const Command &c : Commands)
        text += QStringLiteral("  ") + QLatin1String(c.summary) + QLatin1Char('\n');
    text += QStringLiteral(
        "\nexit codes:\n"
        "  0 ok\n"
        "  1 the ECU did not answer\n"
        "  2 port missing or busy\n"
        "  3 file problem (missing, malformed, would be overwritten)\n"
        "  4 firmware mismatch\n"
        "  5 verification failed\n"
        "  6 acquisition error (calibration, map)\n"
        "  7 no such vehicle or job in the records\n"
        "  130 interrupted (calibration: switch-over settings restored; map: fuel restored)\n"
        "  64 bad command line");
    return text;
}

} // namespace

int main(int argc, char **argv) {
    // The report draws text, which needs Qt's fonts: the commands that write
    // one run as a GUI application on the offscreen platform (no display).
    const bool reports =
        argc > 1 && (std::strcmp(argv[1], "report") == 0 || std::strcmp(argv[1], "job") == 0);
    if (reports && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app = reports
                                                ? std::make_unique<QGuiApplication>(argc, argv)
                                                : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("gasecu-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(GASECU_VERSION));
    const QStringList arguments = QCoreApplication::arguments();
    const QString first = arguments.value(1);
    if (first == QLatin1String("--version") || first == QLatin1String("-v")) {
        cli::printOut(QStringLiteral("gasecu-cli ") + QCoreApplication::applicationVersion());
        return cli::Ok;
    }
    if (first == QLatin1String("--help") || first == QLatin1String("-h")) {
        cli::printOut(usage());
        return cli::Ok;
    }
    for (const Command &c : Commands) {
        if (first == QLatin1String(c.name))
            return c.run(arguments);
    }
    cli::printErr(first.isEmpty() ? usage()
                                  : QStringLiteral("gasecu-cli: unknown command ") + first +
                                        QLatin1Char('\n') + usage());
    return cli::Usage;
}
