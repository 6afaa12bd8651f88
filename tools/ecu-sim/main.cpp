// gasecu-sim: an ECU of the gas conversion kit on a pseudo-terminal, published as port comN for
// the service tool. See README.md in this directory.

#include "ecu-sim/console.h"
#include "ecu-sim/ecu_simulator.h"
#include "ecu-sim/pty_port.h"
#include "ecu-sim/signal_watcher.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

using namespace ecusim;

namespace {

int fail(const QString &message) {
    std::fprintf(stderr, "gasecu-sim: %s\n", message.toLocal8Bit().constData());
    return 1;
}

int intOption(const QCommandLineParser &p, const QString &name, int fallback, bool *ok) {
    if (!p.isSet(name))
        return fallback;
    bool good = false;
    const int v = p.value(name).toInt(&good);
    *ok = *ok && good && v >= 0;
    return v;
}

// Started with a standard descriptor closed, the pseudo-terminal would take its number and the
// banner or the console would land on the line. Park the missing ones on /dev/null.
void fillStandardDescriptors() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) == -1)
            ::open("/dev/null", O_RDWR);
    }
}

} // namespace

int main(int argc, char *argv[]) {
    fillStandardDescriptors();
    SignalWatcher::blockTerminationSignals();
    std::signal(SIGPIPE, SIG_IGN); // a closed log pipe must not kill the ECU
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("gasecu-sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(GASECU_VERSION));

    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("ECU simulator for the gasecu service tool"));
    p.addHelpOption();
    p.addVersionOption();
    p.addOptions({
        {QStringLiteral("port"), QStringLiteral("Port number N, published as comN (default 1)."),
         QStringLiteral("N")},
        {QStringLiteral("ports-dir"),
         QStringLiteral("Port directory (default $GASECU_PORTS, else ~/.config/gasecu/ports)."),
         QStringLiteral("DIR")},
        {QStringLiteral("no-pacing"), QStringLiteral("Answer at once instead of at 960 chars/s.")},
        {QStringLiteral("reply-delay"), QStringLiteral("Extra delay before each reply."),
         QStringLiteral("MS")},
        {QStringLiteral("log"), QStringLiteral("Frame log file, - for standard error."),
         QStringLiteral("FILE")},
        {QStringLiteral("seed"), QStringLiteral("Random seed (default 1)."), QStringLiteral("N")},
        {QStringLiteral("fault"),
         QStringLiteral(
             "silent, noise, split, lowercase, badsum, vanish, garble, join, spell, twice, "
             "dropack, nowrite [=P|=nextN], late=MS[:P|:nextN], stale=N, vanish-after=SECONDS. "
             "Repeatable. Replies that overlap on the line: twice sends a reply a second time "
             "right behind itself; dropack carries out a write or function but loses its "
             "acknowledgement; nowrite acknowledges a write but keeps the old bytes; late=MS holds "
             "a reply back MS more (every reply, or the "
             "share P, or the next N), so that it is still arriving when the tool, tired of "
             "waiting, asks again and two answers cross; stale=N sends every new client, "
             "as soon as it opens the port (or, where opens go unnoticed, at its first command "
             "after 1 s of quiet), N replies an earlier program left in flight (data frames "
             "of the live area 000/37 and of configuration blocks, acknowledgements), paced "
             "like real replies and ahead of the answers to its first requests; the same --seed "
             "gives the same ones."),
         QStringLiteral("KIND[=VALUE]")},
        {QStringLiteral("load"),
         QStringLiteral("Preload a captured ECU (hex dump or memory file)."),
         QStringLiteral("FILE")},
        {QStringLiteral("switch-delay"),
         QStringLiteral("Gas switch-over delay (default: the ECU's own setting, 2 s)."),
         QStringLiteral("MS")},
        {QStringLiteral("warm"), QStringLiteral("Start with the engine at operating temperature.")},
        {QStringLiteral("drive"),
         QStringLiteral("Drive the repeatable road cycle: accelerations, cruising at several "
                        "loads, decelerations with the injection cut.")},
        {QStringLiteral("throttle"), QStringLiteral("Start with the throttle open (0..100)."),
         QStringLiteral("PERCENT")},
        {QStringLiteral("gas-needs"),
         QStringLiteral("What each bank really needs on gas: multiplier and offset in ms "
                        "(default 1.25,0.80,1.24,0.74)."),
         QStringLiteral("M1,O1,M2,O2")},
    });
    p.process(app);

    bool ok = true;
    const int port = intOption(p, QStringLiteral("port"), 1, &ok);
    const int replyDelay = intOption(p, QStringLiteral("reply-delay"), 0, &ok);
    const int seed = intOption(p, QStringLiteral("seed"), 1, &ok);
    const int switchDelay = intOption(p, QStringLiteral("switch-delay"), -1, &ok);
    if (!ok || port < 1 || port > 255)
        return fail(QStringLiteral("--port, --reply-delay, --seed and --switch-delay take whole "
                                   "numbers (port 1..255)"));

    EcuSimulator sim{quint32(seed)};
    sim.setPacing(!p.isSet(QStringLiteral("no-pacing")));
    sim.setReplyDelayMs(replyDelay);
    sim.engine().setSwitchDelayMs(switchDelay);
    if (p.isSet(QStringLiteral("warm")))
        sim.engine().warmUp();
    if (p.isSet(QStringLiteral("drive")))
        sim.engine().setDriving(true);
    const int throttle = intOption(p, QStringLiteral("throttle"), 0, &ok);
    if (!ok)
        return fail(QStringLiteral("--throttle takes a whole number (0..100)"));
    sim.engine().setThrottle(throttle);
    if (p.isSet(QStringLiteral("gas-needs"))) {
        const auto needs = parseGasNeeds(p.value(QStringLiteral("gas-needs")));
        if (!needs)
            return fail(QStringLiteral("--gas-needs takes M1,O1,M2,O2 (multipliers 0.5..3, "
                                       "offsets 0..5 ms)"));
        sim.engine().setGasNeeds(*needs);
    }

    QString error;
    for (const QString &option : p.values(QStringLiteral("fault"))) {
        const auto f = parseFaultOption(option, &error);
        if (!f)
            return fail(error);
        if (f->vanishAfterMs >= 0)
            sim.vanishAfter(f->vanishAfterMs);
        else
            applyFaultOption(sim.faults(), *f);
    }
    if (p.isSet(QStringLiteral("log")) && !sim.log().open(p.value(QStringLiteral("log")), &error))
        return fail(QStringLiteral("log: %1").arg(error));
    if (p.isSet(QStringLiteral("load"))) {
        QFile f(p.value(QStringLiteral("load")));
        if (!f.open(QIODevice::ReadOnly))
            return fail(QStringLiteral("load: %1").arg(f.errorString()));
        if (!sim.loadCapture(f.readAll(), &error))
            return fail(QStringLiteral("load %1: %2").arg(f.fileName(), error));
    }

    PtyPort pty;
    const QString dir = p.isSet(QStringLiteral("ports-dir")) ? p.value(QStringLiteral("ports-dir"))
                                                             : PtyPort::defaultPortsDir();
    if (!pty.open(&error) || !pty.publish(dir, port, &error))
        return fail(error);
    connectSimulator(&sim, &pty);

    SignalWatcher terminator;
    QObject::connect(&terminator, &SignalWatcher::terminationRequested, &app,
                     [](int) { QCoreApplication::quit(); });
    Console console(&sim, &pty);
    QObject::connect(&console, &Console::quitRequested, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    console.attachStdin();

    sim.startEngine();
    std::fprintf(stdout, "gasecu-sim: port %d on %s (%s)\n", port,
                 pty.slavePath().toLocal8Bit().constData(),
                 pty.entryPath().toLocal8Bit().constData());
    std::fflush(stdout);

    const int rc = QCoreApplication::exec();
    sim.log().event(sim.status());
    pty.close(); // removes the port entry
    return rc;
}
