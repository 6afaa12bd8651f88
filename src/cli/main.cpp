// gasecu-cli: the link without widgets, for the bench and the workshop.
//   gasecu-cli read [--port N] [--ports-dir DIR]
// reads the ECU's whole memory and prints it as 256 lines of 16 bytes.
#include "cli/memory_dump.h"
#include "files/config_file.h"
#include "link/link.h"
#include "link/qt_serial_port.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <cstdio>

namespace {

enum Exit { Ok = 0, NoAnswer = 1, PortProblem = 2, Usage = 64 };

void printErr(const QString &text) {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

// --port, else prconfig.txt in the current directory, else 1.
int choosePort(const QCommandLineParser &args, bool *ok) {
    *ok = true;
    if (args.isSet(QStringLiteral("port")))
        return args.value(QStringLiteral("port")).toInt(ok);
    ConfigFile config(QDir::currentPath());
    if (config.ReadConfigFile() == ConfigFile::ReadResult::Read)
        return config.portNumber();
    return 1;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("gasecu-cli"));
    QCommandLineParser args;
    args.setApplicationDescription(
        QStringLiteral("Reads the ECU's whole memory over the serial line."));
    args.addHelpOption();
    args.addPositionalArgument(QStringLiteral("read"),
                               QStringLiteral("Read and print the memory image."));
    args.addOption(
        {QStringLiteral("port"), QStringLiteral("Serial port number."), QStringLiteral("N")});
    args.addOption({QStringLiteral("ports-dir"), QStringLiteral("Port directory (comN entries)."),
                    QStringLiteral("DIR")});
    args.process(app);
    if (args.positionalArguments() != QStringList{QStringLiteral("read")}) {
        printErr(QStringLiteral("usage: gasecu-cli read [--port N] [--ports-dir DIR]"));
        return Usage;
    }
    bool portOk = false;
    const int port = choosePort(args, &portOk);
    if (!portOk || port < 0 || port > 255) {
        printErr(QStringLiteral("gasecu-cli: --port takes a number from 0 to 255"));
        return Usage;
    }

    QtSerialPort serial(PortDirectory(args.value(QStringLiteral("ports-dir"))));
    Link link(&serial);
    link.state.PortNumber = port;

    QString portMessage;
    QObject::connect(&link, &Link::warning, &app, [&](const QString &text) { portMessage = text; });
    if (!link.OpenPort()) {
        printErr(portMessage.isEmpty() ? QStringLiteral(" Not Connect ") : portMessage);
        return PortProblem;
    }
    QObject::connect(&link, &Link::fullReadCompleted, &app, [&] {
        std::fputs(memoryDump(link.image).constData(), stdout);
        std::fflush(stdout);
        app.exit(Ok);
    });
    QObject::connect(&link, &Link::fullReadTimedOut, &app, [&] {
        printErr(link.noCommunicationText());
        app.exit(NoAnswer);
    });
    QObject::connect(&link, &Link::fullReadStopped, &app, [&] {
        printErr(portMessage);
        app.exit(PortProblem);
    });
    link.StartFullRead();
    const int code = app.exec();
    link.ClosePort();
    return code;
}
