#include "cli/cli_common.h"

#include "files/config_file.h"
#include "link/hex.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>

#include <cstdio>

namespace cli {

void printErr(const QString &text) {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

QString verifyFailedText(int address, quint8 wrote, quint8 read) {
    return QStringLiteral("verification failed at 0x") + hex::WordToHex(address).right(3) +
           QStringLiteral(": wrote ") + QString::fromLatin1(hex::byteHex(wrote)) +
           QStringLiteral(", read ") + QString::fromLatin1(hex::byteHex(read));
}

void printOut(const QString &text) {
    std::fprintf(stdout, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stdout);
}

CommandArgs::CommandArgs(const QString &synopsis, int positionalCount, Port port)
    : m_synopsis(synopsis), m_positionalCount(positionalCount) {
    parser.addHelpOption();
    if (port == Port::Taken)
        parser.addOption(
            {QStringLiteral("port"), QStringLiteral("Serial port number."), QStringLiteral("N")});
    parser.addOption({QStringLiteral("ports-dir"), QStringLiteral("Port directory (comN entries)."),
                      QStringLiteral("DIR")});
}

bool CommandArgs::parse(const QStringList &arguments, int *exitCode) {
    QStringList rest = arguments;
    if (rest.size() > 1)
        rest.removeAt(1); // the command's name
    if (!parser.parse(rest)) {
        printErr(QStringLiteral("gasecu-cli: ") + parser.errorText());
        printErr(QStringLiteral("usage: gasecu-cli ") + m_synopsis);
        *exitCode = Usage;
        return false;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        printOut(QStringLiteral("usage: gasecu-cli ") + m_synopsis);
        *exitCode = Ok;
        return false;
    }
    if (parser.positionalArguments().size() != m_positionalCount) {
        printErr(QStringLiteral("usage: gasecu-cli ") + m_synopsis);
        *exitCode = Usage;
        return false;
    }
    return true;
}

int CommandArgs::port() const {
    if (parser.isSet(QStringLiteral("port"))) {
        bool ok = false;
        const int n = parser.value(QStringLiteral("port")).toInt(&ok);
        if (ok && n >= 0 && n <= 255)
            return n;
        printErr(QStringLiteral("gasecu-cli: --port takes a number from 0 to 255"));
        return -1;
    }
    ConfigFile config(QDir::currentPath());
    if (config.ReadConfigFile() == ConfigFile::ReadResult::Read)
        return config.portNumber();
    return 1;
}

CliLink::CliLink(const QString &portsDir) : serial(PortDirectory(portsDir)), link(&serial) {
    QObject::connect(&link, &Link::warning, &link,
                     [this](const QString &text) { lastWarning = text; });
}

CliLink::~CliLink() {
    link.ClosePort();
}

Exit CliLink::open(int port) {
    link.setPortNumber(port);
    if (link.OpenPort())
        return Ok;
    printErr(lastWarning.isEmpty() ? QStringLiteral(" Not Connect ") : lastWarning);
    return PortProblem;
}

Exit CliLink::runUntilDone(const std::function<void()> &start) {
    using Signal = void (Link::*)();
    QEventLoop loop;
    QList<QMetaObject::Connection> c;
    for (Signal done : {&Link::fullReadCompleted, &Link::uploadCompleted})
        c << QObject::connect(&link, done, &loop, [&loop] { loop.exit(Ok); });
    // A stopped upload also says how far it went: the ECU may hold a mix.
    for (Signal timedOut : {&Link::fullReadTimedOut, &Link::uploadTimedOut}) {
        c << QObject::connect(&link, timedOut, &loop, [&loop, this, timedOut] {
            printErr(link.noCommunicationText());
            if (timedOut == &Link::uploadTimedOut)
                printErr(link.uploadStoppedText(restorePoint));
            loop.exit(NoAnswer);
        });
    }
    // Only a lost adapter closes the port under a running transfer here.
    for (Signal stopped : {&Link::fullReadStopped, &Link::uploadStopped}) {
        c << QObject::connect(&link, stopped, &loop, [&loop, this, stopped] {
            printErr(Link::adapterGoneText());
            if (stopped == &Link::uploadStopped)
                printErr(link.uploadStoppedText(restorePoint));
            loop.exit(PortProblem);
        });
    }
    start();
    const int code = loop.exec();
    for (const auto &connection : c)
        QObject::disconnect(connection);
    return static_cast<Exit>(code);
}

Exit CliLink::fullRead() {
    return runUntilDone([this] { link.StartFullRead(); });
}

Exit CliLink::openAndRead(const CommandArgs &args) {
    const int port = args.port();
    if (port < 0)
        return Usage;
    if (const Exit opened = open(port); opened != Ok)
        return opened;
    return fullRead();
}

Exit CliLink::upload() {
    return runUntilDone([this] { link.StartUpload(2); });
}

std::optional<memory_file::Parsed> readMemoryFile(const QString &path) {
    const MessageTable messages;
    const QFileInfo info(path);
    if (!info.exists() || info.isDir()) {
        printErr(messages[1]);
        return std::nullopt;
    }
    const memory_file::Parsed parsed = memory_file::read(path);
    if (!parsed.ok) {
        printErr(messages[2]);
        return std::nullopt;
    }
    return parsed;
}

} // namespace cli
