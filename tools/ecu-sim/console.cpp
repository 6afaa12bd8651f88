#include "ecu-sim/console.h"

#include "ecu-sim/ecu_simulator.h"
#include "ecu-sim/pty_port.h"

#include <QSocketNotifier>
#include <QStringList>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace ecusim {

Console::Console(EcuSimulator *sim, PtyPort *port, QObject *parent)
    : QObject(parent), sim_(sim), port_(port) {}

QString Console::help() {
    return QStringLiteral(
        "commands: status | fault KIND on|off|P|next N (KIND silent noise split lowercase badsum "
        "vanish garble join spell twice dropack nowrite) | fault late MS [on|P|next N] | fault "
        "stale N | "
        "fault off | vanish [SECONDS] | plug | gas | petrol | alarm BITS | "
        "throttle PERCENT | warm | drive [on|off] | delay MS | pacing on|off | poke ADDR VALUE | "
        "peek ADDR [COUNT] | quit");
}

QString Console::execute(const QString &line) {
    const QStringList args =
        line.simplified().toLower().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (args.isEmpty())
        return {};
    const QString &cmd = args.first();
    const QString arg = args.size() > 1 ? args.at(1) : QString();
    bool ok = false;
    const int number = arg.toInt(&ok);

    if (cmd == QLatin1String("poke") || cmd == QLatin1String("peek"))
        return memoryCommand(args);
    if (cmd == QLatin1String("help"))
        return help();
    if (cmd == QLatin1String("status"))
        return sim_->status();
    if (cmd == QLatin1String("fault"))
        return fault(args.mid(1));
    if (cmd == QLatin1String("vanish")) {
        if (arg.isEmpty()) {
            sim_->vanish();
            return QStringLiteral("unplugged");
        }
        const double seconds = arg.toDouble(&ok);
        if (!ok || seconds < 0)
            return QStringLiteral("vanish: seconds?");
        sim_->vanishAfter(int(seconds * 1000));
        return QStringLiteral("unplugging in %1 s").arg(seconds);
    }
    if (cmd == QLatin1String("plug"))
        return plug();
    if (cmd == QLatin1String("gas") || cmd == QLatin1String("petrol")) {
        if (cmd == QLatin1String("gas"))
            sim_->engine().requestGas();
        else
            sim_->engine().requestPetrol();
        sim_->engine().publish();
        return sim_->status();
    }
    if (cmd == QLatin1String("alarm") && ok && number >= 0 && number <= 255) {
        sim_->engine().raiseAlarms(quint8(number));
        sim_->engine().publish();
        return QStringLiteral("alarms %1").arg(sim_->memory().at(0x003));
    }
    if (cmd == QLatin1String("throttle") && ok) {
        sim_->engine().setThrottle(number);
        return QStringLiteral("throttle %1 %").arg(sim_->engine().throttle());
    }
    if (cmd == QLatin1String("drive") &&
        (arg.isEmpty() || arg == QLatin1String("on") || arg == QLatin1String("off"))) {
        sim_->engine().setDriving(arg != QLatin1String("off"));
        return sim_->engine().driving() ? QStringLiteral("driving the road cycle (%1 s)")
                                              .arg(DriveCycle::lengthMs() / 1000.0)
                                        : QStringLiteral("parked, idling");
    }
    if (cmd == QLatin1String("warm")) {
        sim_->engine().warmUp();
        return QStringLiteral("engine at operating temperature");
    }
    if (cmd == QLatin1String("delay") && ok) {
        sim_->setReplyDelayMs(number);
        return QStringLiteral("reply delay %1 ms").arg(sim_->replyDelayMs());
    }
    if (cmd == QLatin1String("pacing") &&
        (arg == QLatin1String("on") || arg == QLatin1String("off"))) {
        sim_->setPacing(arg == QLatin1String("on"));
        return QStringLiteral("pacing %1").arg(arg);
    }
    if (cmd == QLatin1String("quit") || cmd == QLatin1String("exit")) {
        Q_EMIT quitRequested();
        return QStringLiteral("bye");
    }
    return QStringLiteral("unknown command \"%1\"; %2").arg(line.trimmed(), help());
}

QString Console::fault(const QStringList &args) {
    if (args.size() == 1 &&
        (args.at(0) == QLatin1String("off") || args.at(0) == QLatin1String("clear"))) {
        sim_->faults().clear();
        return QStringLiteral("faults: none");
    }
    // The command line's form: "late 300 next 2" is late=300:next2, "stale 4" is stale=4.
    QString option = args.value(0) + QLatin1Char('=');
    if (args.value(0) == QLatin1String("late") && args.size() > 2)
        option += args.at(1) + QLatin1Char(':') + args.mid(2).join(QString());
    else
        option += args.mid(1).join(QString());
    QString error;
    const auto parsed = args.isEmpty() ? std::nullopt : parseFaultOption(option, &error);
    if (!parsed || parsed->vanishAfterMs >= 0)
        return QStringLiteral("fault KIND on|off|P|next N, KIND one of silent noise split "
                              "lowercase badsum vanish garble join spell twice dropack nowrite; "
                              "fault late MS [on|P|next N]; fault stale N");
    applyFaultOption(sim_->faults(), *parsed);
    return QStringLiteral("faults: %1").arg(sim_->faults().describe());
}

QString Console::plug() {
    if (!sim_->isVanished())
        return QStringLiteral("already plugged in");
    QString error;
    if (port_ && !port_->reopen(&error))
        return QStringLiteral("plug failed: %1").arg(error);
    sim_->replug();
    if (port_)
        sim_->setNoticesOpens(port_->noticesOpens());
    return port_
               ? QStringLiteral("plugged in on %1 (%2)").arg(port_->slavePath(), port_->entryPath())
               : QStringLiteral("plugged in");
}

bool Console::attachStdin() {
    struct stat st {};
    if (fstat(STDIN_FILENO, &st) != 0)
        return false; // closed
    if (isatty(STDIN_FILENO)) {
        if (tcgetpgrp(STDIN_FILENO) != getpgrp())
            return false; // started in the background: reading would stop the process
        std::signal(SIGTTIN, SIG_IGN);
    } else if (!S_ISFIFO(st.st_mode) && !S_ISSOCK(st.st_mode)) {
        return false; // /dev/null, a file: nothing to listen to
    }
    stdin_ = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    connect(stdin_, &QSocketNotifier::activated, this, &Console::readStdin);
    return true;
}

void Console::readStdin() {
    char buf[512];
    const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
    if (n < 0 && errno == EINTR)
        return;
    if (n <= 0) { // end of input or a terminal taken away: the simulator runs on
        stdin_->setEnabled(false);
        return;
    }
    buffer_.append(buf, n);
    qsizetype eol;
    while ((eol = buffer_.indexOf('\n')) >= 0) {
        const QString line = QString::fromLocal8Bit(buffer_.left(eol)).trimmed();
        buffer_.remove(0, eol + 1);
        const QString answer = execute(line);
        if (!answer.isEmpty()) {
            std::fprintf(stdout, "gasecu-sim: %s\n", answer.toLocal8Bit().constData());
            std::fflush(stdout);
        }
    }
}

} // namespace ecusim
