// gasecu-cli ports: the ports that open, then the automatic search for the
// ECU; the port found is remembered in prconfig.txt of the current folder.
// A port found but not remembered is still shown, and the command fails.
#include "cli/cli_common.h"
#include "cli/commands.h"
#include "files/config_file.h"
#include "link/port_search.h"

#include <QDir>
#include <QEventLoop>

int runPorts(const QStringList &arguments) {
    cli::CommandArgs args(QStringLiteral("ports [--ports-dir DIR]"), 0,
                          cli::CommandArgs::Port::NotTaken);
    int code = cli::Ok;
    if (!args.parse(arguments, &code))
        return code;
    cli::CliLink line(args.portsDir());
    PortSearch search(line.link);
    for (const QString &entry : search.buildList())
        cli::printOut(entry);
    QObject::connect(&search, &PortSearch::logged, &search,
                     [](const QString &text) { cli::printOut(text.chopped(2)); });
    QEventLoop loop;
    QObject::connect(&search, &PortSearch::found, &loop, [&loop](int port) {
        cli::printOut(QStringLiteral("found COM ") + QString::number(port));
        if (ConfigFile(QDir::currentPath()).rememberPort(port)) {
            loop.exit(cli::Ok);
            return;
        }
        cli::printErr(QStringLiteral("gasecu-cli: COM ") + QString::number(port) +
                      QStringLiteral(" could not be written to ") +
                      ConfigFile(QDir::currentPath()).path());
        loop.exit(cli::FileProblem);
    });
    QObject::connect(&search, &PortSearch::exhausted, &loop, [&loop] { loop.exit(cli::NoAnswer); });
    search.start();
    return loop.exec();
}
