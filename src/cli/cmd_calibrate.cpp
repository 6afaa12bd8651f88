// gasecu-cli calibrate idle|load: the automatic calibration without the
// screens, for conversion lines that script it.
#include "cli/calibrate_run.h"
#include "cli/cli_common.h"
#include "cli/commands.h"
#include "cli/interrupt_watcher.h"

#include <QEventLoop>

#include <optional>
#include <tuple>

namespace {

// "S1,S2,S3,S4": steps on petrol, petrol samples, steps on gas, gas samples.
// Kept small enough that every limit fits the sequence's step counter.
std::optional<std::array<double, 4>> parseSteps(const QString &text) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return std::nullopt;
    std::array<double, 4> steps{};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        steps[i] = parts[i].trimmed().toInt(&ok);
        if (!ok || steps[i] < 1 || steps[i] > 8000)
            return std::nullopt;
    }
    return steps;
}

// Reads the kind and the sequence's settings; false after printing why.
bool readSettings(const cli::CommandArgs &args, calibration::Kind *kind,
                  calibration::Settings *settings) {
    const QString name = args.positional(0);
    if (name != QLatin1String("idle") && name != QLatin1String("load")) {
        cli::printErr(QStringLiteral("gasecu-cli: calibrate idle or calibrate load"));
        return false;
    }
    *kind = name == QLatin1String("idle") ? calibration::Kind::Idle : calibration::Kind::Load;
    const QCommandLineParser &p = args.parser;
    if (p.isSet(QStringLiteral("steps"))) {
        const auto steps = parseSteps(p.value(QStringLiteral("steps")));
        if (!steps) {
            cli::printErr(QStringLiteral("gasecu-cli: --steps takes four whole numbers 1..8000"));
            return false;
        }
        (*kind == calibration::Kind::Idle ? settings->idleSteps : settings->loadSteps) = *steps;
    }
    for (const auto &[option, target, low, high] :
         {std::tuple{"min-temp", &settings->startTemperature, -40.0, 127.0},
          std::tuple{"exclude", &settings->exclusion, 0.0, 100.0}}) {
        const QString key = QString::fromLatin1(option);
        if (!p.isSet(key))
            continue;
        bool ok = false;
        const double value = p.value(key).toDouble(&ok);
        if (!ok || value < low || value > high) {
            cli::printErr(QStringLiteral("gasecu-cli: --%1 takes a number from %2 to %3")
                              .arg(key)
                              .arg(low)
                              .arg(high));
            return false;
        }
        *target = value;
    }
    return true;
}

} // namespace

int runCalibrate(const QStringList &arguments) {
    cli::CommandArgs args(
        QStringLiteral("calibrate idle|load [--port N] [--ports-dir DIR] [--steps S1,S2,S3,S4] "
                       "[--min-temp C] [--exclude MS] [--apply]\n"
                       "  Samples the petrol injection times on petrol, switches the ECU to gas "
                       "and samples them again;\n"
                       "  progress on stderr, results on stdout (field_bank value). The ECU's "
                       "switch-over delay and mode\n"
                       "  are zeroed while it runs and always written back (Ctrl-C included). "
                       "--apply writes what the\n"
                       "  calibration form's upload would: both banks' idle trims (idle) or bank "
                       "1's load trims (load).\n"
                       "  --steps: steps on petrol, petrol samples, steps on gas, gas samples "
                       "(30,100,30,100 idle,\n"
                       "  5,15,5,15 load); --min-temp: the vaporiser must be hotter (40 C); "
                       "--exclude: times at or\n"
                       "  below it never make a minimum (1 ms). Exit 6 on an acquisition error, "
                       "130 when interrupted."),
        1);
    args.parser.addOptions({
        {QStringLiteral("steps"), QStringLiteral("Durations and sample counts."),
         QStringLiteral("S1,S2,S3,S4")},
        {QStringLiteral("min-temp"), QStringLiteral("Vaporiser start temperature."),
         QStringLiteral("C")},
        {QStringLiteral("exclude"), QStringLiteral("Exclusion time."), QStringLiteral("MS")},
        {QStringLiteral("apply"), QStringLiteral("Write the calibrated trims.")},
    });
    int code = cli::Ok;
    if (!args.parse(arguments, &code))
        return code;
    calibration::Kind kind = calibration::Kind::Idle;
    calibration::Settings settings;
    if (!readSettings(args, &kind, &settings))
        return cli::Usage;
    const int port = args.port();
    if (port < 0)
        return cli::Usage;

    cli::CliLink line(args.portsDir());
    if (const cli::Exit opened = line.open(port); opened != cli::Ok)
        return opened;
    // The switch-over settings to save and the trims come from the ECU itself.
    cli::printErr(QStringLiteral("reading the ECU"));
    if (const cli::Exit read = line.fullRead(); read != cli::Ok)
        return read;

    CalibrateRun run(line.link, kind, settings, args.parser.isSet(QStringLiteral("apply")));
    InterruptWatcher interrupts;
    QObject::connect(&interrupts, &InterruptWatcher::interrupted, &run, &CalibrateRun::interrupt);
    QEventLoop calibrating;
    QObject::connect(&run, &CalibrateRun::done, &calibrating, &QEventLoop::exit);
    // A vanished adapter: the link has said why.
    QObject::connect(&line.link, &Link::connectionWanted, &calibrating, [&] {
        cli::printErr(line.lastWarning.isEmpty() ? QStringLiteral(" Non Connecter ")
                                                 : line.lastWarning);
        calibrating.exit(cli::PortProblem);
    });
    run.start();
    return calibrating.exec();
}
