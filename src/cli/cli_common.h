#pragma once

// What every gasecu-cli command shares: exit codes, printing, the --port and
// --ports-dir options, and the link opened on the chosen port.
#include "files/memory_file.h"
#include "link/link.h"
#include "link/qt_serial_port.h"

#include <QCommandLineParser>
#include <QStringList>

#include <functional>
#include <optional>

namespace cli {

// The program's exit codes; listed in --help and the README.
enum Exit : int {
    Ok = 0,
    NoAnswer = 1,         // the ECU did not answer
    PortProblem = 2,      // the port is missing, busy or vanished
    FileProblem = 3,      // a file is missing, malformed or would be overwritten
    FirmwareMismatch = 4, // the file was made for another firmware
    VerifyFailed = 5,     // the ECU's memory differs from what was written
    AcquisitionError = 6, // a calibration's samples cannot give a result
    NoRecord = 7,         // no such vehicle or job in the workshop's records
    Interrupted = 130,    // Ctrl-C, after the ECU was put back in order
    Usage = 64,           // bad command line
};

void printErr(const QString &text);
// "verification failed at 0x82C: wrote 6C, read 66".
QString verifyFailedText(int address, quint8 wrote, quint8 read);
void printOut(const QString &text);

// One command's command line: its own positional arguments plus --help,
// --port N (when it takes one) and --ports-dir DIR. An option the command
// does not take is refused.
class CommandArgs {
  public:
    // Whether the command talks to one ECU and so takes --port.
    enum class Port { Taken, NotTaken };
    // synopsis: the line after "usage: gasecu-cli " ("save FILE [--port N] ...").
    CommandArgs(const QString &synopsis, int positionalCount, Port port = Port::Taken);

    QCommandLineParser parser;

    // Parses arguments (arguments[0] is the program, arguments[1] the
    // command). Returns false with *exitCode set when the program must end
    // (help shown, bad usage).
    bool parse(const QStringList &arguments, int *exitCode);
    QString positional(int i) const { return parser.positionalArguments().value(i); }
    QString portsDir() const { return parser.value(QStringLiteral("ports-dir")); }
    // --port, else prconfig.txt in the current folder, else 1; -1 when --port
    // is not a number from 0 to 255 (an error is printed).
    int port() const;

  private:
    QString m_synopsis;
    int m_positionalCount;
};

// A memory file's configuration; prints " Non-existent file " or
// " Noncorrect File error " (the link's messages 1 and 2) when it has none.
std::optional<memory_file::Parsed> readMemoryFile(const QString &path);

// The serial line and the link on it, with blocking helpers that run the
// event loop until the ECU has answered (or not).
class CliLink {
  public:
    explicit CliLink(const QString &portsDir);
    ~CliLink();

    // Opens port N; prints the link's message and returns PortProblem when
    // it cannot.
    Exit open(int port);
    // Reads the whole memory into link.image.
    Exit fullRead();
    // Opens the command's port and reads the whole memory.
    Exit openAndRead(const CommandArgs &args);
    // Writes BlockTable entries 1..15 from link.image, one per reply.
    Exit upload();

    QtSerialPort serial;
    Link link;
    QString lastWarning;
    // The restore point made before the upload; named when it stops part-way.
    QString restorePoint;

  private:
    Exit runUntilDone(const std::function<void()> &start);
};

} // namespace cli
