// gasecu-cli monitor: polls the live block as the monitor screen does and
// writes one CSV row per answer (standard output, or --csv FILE), for
// --seconds S or until the program is stopped. Every row is handed to the
// system as it is written, so stopping or killing the program leaves a log
// of whole rows.
#include "cli/cli_common.h"
#include "cli/commands.h"
#include "ecu/live_block.h"
#include "ecu/memory_map.h"
#include "link/frames.h"
#include "live/live_log.h"

#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <cstdio>

namespace {
// The live block and the battery reading right after it.
constexpr int PollLength = ecu::liveblock::BatteryPointer + 1;
// Lambda type and injection type: the speed is shown doubled for
// sequential injection.
constexpr int SensorTypes = ecu::field::LambdaType.address;
static_assert(ecu::field::InjectionType.address == SensorTypes + 1);
constexpr int SetupAttempts = 3;

// Reads the sensor types; false when the ECU does not answer.
bool readSensorTypes(Link &link) {
    for (int attempt = 0; attempt < SetupAttempts; ++attempt) {
        QEventLoop loop;
        QTimer::singleShot(1500, &loop, [&loop] { loop.exit(1); });
        const auto c =
            QObject::connect(&link, &Link::dataDecoded, &loop, [&loop](int address, int) {
                if (address == SensorTypes)
                    loop.exit(0);
            });
        link.SendLine(frames::readText(SensorTypes, 2) + frames::Cr);
        const int code = loop.exec();
        QObject::disconnect(c);
        if (code == 0)
            return true;
    }
    return false;
}
} // namespace

int runMonitor(const QStringList &arguments) {
    cli::CommandArgs args(
        QStringLiteral("monitor [--port N] [--ports-dir DIR] [--csv FILE] [--seconds S]"), 0);
    args.parser.addOption({QStringLiteral("csv"),
                           QStringLiteral("Write the rows to FILE instead of standard output."),
                           QStringLiteral("FILE")});
    args.parser.addOption({QStringLiteral("seconds"),
                           QStringLiteral("Stop after S seconds (default: until stopped)."),
                           QStringLiteral("S")});
    int code = cli::Ok;
    if (!args.parse(arguments, &code))
        return code;
    double seconds = 0;
    if (args.parser.isSet(QStringLiteral("seconds"))) {
        bool ok = false;
        seconds = args.parser.value(QStringLiteral("seconds")).toDouble(&ok);
        if (!ok || seconds <= 0 || seconds > 7 * 24 * 3600) {
            cli::printErr(QStringLiteral("gasecu-cli: --seconds takes a positive number"));
            return cli::Usage;
        }
    }
    const int port = args.port();
    if (port < 0)
        return cli::Usage;

    cli::CliLink line(args.portsDir());
    Link &link = line.link;
    live::LiveLog log(link.messages);
    QFile out;
    const QString csv = args.parser.value(QStringLiteral("csv"));
    if (csv.isEmpty() ? !(out.open(stdout, QIODevice::WriteOnly) && log.attach(&out))
                      : !log.open(csv)) {
        cli::printErr(QStringLiteral("gasecu-cli: cannot write ") +
                      (csv.isEmpty() ? QStringLiteral("standard output") : csv) +
                      QStringLiteral(": ") + log.errorString());
        return cli::FileProblem;
    }
    if (const cli::Exit opened = line.open(port); opened != cli::Ok)
        return opened;
    if (!readSensorTypes(link)) {
        cli::printErr(link.noCommunicationText());
        return cli::NoAnswer;
    }

    QEventLoop loop;
    QObject::connect(&link, &Link::dataDecoded, &loop, [&](int address, int count) {
        // Every answer to this poll carries the live block and the battery
        // reading after it.
        if (!ecu::liveblock::isLiveAnswer(address, count))
            return;
        if (!log.append(link.image)) {
            cli::printErr(QStringLiteral("gasecu-cli: the log stopped: ") + log.errorString());
            loop.exit(cli::FileProblem);
        }
    });
    QObject::connect(&link, &Link::warning, &loop, [&](const QString &text) {
        if (!link.state.PortIsOpen) {
            cli::printErr(text);
            loop.exit(cli::PortProblem);
        }
    });
    // The poll watchdog: three silent ticks of 200 ms send the poll again,
    // so a lost answer or a noisy line never ends the log. Its send reports
    // no failure by itself: an adapter lost there ends the log here.
    QObject::connect(&link.poll, &LivePoll::pollResent, &loop, [&](int error) {
        if (Link::SendError(error) == Link::SendError::DeviceGone) {
            cli::printErr(Link::adapterGoneText());
            loop.exit(cli::PortProblem);
        }
    });
    if (seconds > 0)
        QTimer::singleShot(static_cast<int>(seconds * 1000), &loop,
                           [&loop] { loop.exit(cli::Ok); });

    LivePoll &poll = link.poll;
    poll.setFrame(frames::readText(ecu::liveblock::Address, PollLength));
    poll.start();
    poll.clearSilence();
    poll.startWatchdog();
    link.SendLine(poll.frame());
    code = loop.exec();
    poll.stopWatchdog();
    poll.stop();
    cli::printErr(QStringLiteral("gasecu-cli: %1 rows").arg(log.rows()));
    log.close();
    return code;
}
