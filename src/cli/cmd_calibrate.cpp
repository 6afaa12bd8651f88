// gasecu-cli calibrate idle|load: the automatic calibration without the
// screens, for conversion lines that script it.
#include "cli/calibrate_run.h"
#include "cli/cli_common.h"
#include "cli/commands.h"
#include "cli/interrupt_watcher.h"
#include "cli/job_log.h"

#include "link/link.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

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
        if (!ok || steps[i] < 0 || steps[i] > 8000)
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
            cli::printErr(QStringLiteral("gasecu-cli: --steps takes four whole numbers 0..8000"));
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

// The idle results a load calibration compares with: one line per bank,
// "bank petrolMin petrolMean gasMin gasMean diffMin diffMean".
QString lastIdlePath() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("last-idle-calibration.txt"));
}

bool saveIdleResults(const calibration::Sequence &sequence) {
    const QString path = lastIdlePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return false;
    for (int bank = 0; bank < 2; ++bank) {
        const calibration::Measured &m = sequence.measured(calibration::Kind::Idle, bank);
        file.write(QStringLiteral("%1 %2 %3 %4 %5 %6 %7\n")
                       .arg(bank + 1)
                       .arg(m.petrolMin, 0, 'g', 17)
                       .arg(m.petrolMean, 0, 'g', 17)
                       .arg(m.gasMin, 0, 'g', 17)
                       .arg(m.gasMean, 0, 'g', 17)
                       .arg(m.diffMin, 0, 'g', 17)
                       .arg(m.diffMean, 0, 'g', 17)
                       .toLatin1());
    }
    return file.flush();
}

std::optional<std::array<calibration::Measured, 2>> readIdleResults(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text) || file.size() > 4096)
        return std::nullopt;
    std::array<calibration::Measured, 2> idle{};
    std::array<bool, 2> seen{};
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QList<QByteArray> parts = line.simplified().split(' ');
        if (parts.size() != 7)
            continue;
        const int bank = parts[0].toInt() - 1;
        if (bank < 0 || bank > 1)
            continue;
        double v[6];
        bool ok = true;
        for (int i = 0; i < 6 && ok; ++i)
            v[i] = parts[i + 1].toDouble(&ok);
        if (!ok)
            return std::nullopt;
        idle[bank] = {v[0], v[1], v[2], v[3], v[4], v[5]};
        seen[bank] = true;
    }
    if (!seen[0] || !seen[1])
        return std::nullopt;
    return idle;
}

// calibrate restore --delay D --mode M: writes the switch-over settings a
// calibration zeroed back into the ECU and reads them again.
int restoreSwitchSettings(cli::CommandArgs &args) {
    int values[2] = {-1, -1};
    const char *names[2] = {"delay", "mode"};
    for (int i = 0; i < 2; ++i) {
        bool ok = false;
        values[i] = args.parser.value(QString::fromLatin1(names[i])).toInt(&ok);
        if (!ok || values[i] < 0 || values[i] > 255) {
            cli::printErr(QStringLiteral("gasecu-cli: calibrate restore needs --delay and --mode, "
                                         "each from 0 to 255"));
            return cli::Usage;
        }
    }
    cli::CliLink line(args.portsDir());
    if (const cli::Exit read = line.openAndRead(args); read != cli::Ok)
        return read;
    Link &link = line.link;
    link.image.set(calibration::SwitchDelayAddress, values[0]);
    link.image.set(calibration::SwitchModeAddress, values[1]);
    QEventLoop writing;
    QObject::connect(&link, &Link::chainAcknowledged, &writing, [&] { writing.exit(cli::Ok); });
    QObject::connect(&link, &Link::chainFailed, &writing, [&] { writing.exit(cli::NoAnswer); });
    link.poll.pauseForWrite();
    link.StartSequence(ChainStep::SwitchOverDelay);
    if (writing.exec() != cli::Ok) {
        cli::printErr(QStringLiteral("the ECU did not acknowledge the switch-over settings"));
        return cli::NoAnswer;
    }
    link.poll.stopWatchdog();
    if (const cli::Exit read = line.fullRead(); read != cli::Ok)
        return read;
    const int delay = link.image.at(calibration::SwitchDelayAddress);
    const int mode = link.image.at(calibration::SwitchModeAddress);
    if (delay != values[0] || mode != values[1]) {
        cli::printErr(
            QStringLiteral("the ECU holds switch-over delay %1 and mode %2").arg(delay).arg(mode));
        return cli::VerifyFailed;
    }
    cli::printErr(
        QStringLiteral("switch-over settings restored: delay %1, mode %2").arg(delay).arg(mode));
    return cli::Ok;
}

} // namespace

int runCalibrate(const QStringList &arguments) {
    cli::CommandArgs args(
        QStringLiteral(
            "calibrate idle|load|restore [--port N] [--ports-dir DIR] [--steps S1,S2,S3,S4] "
            "[--min-temp C] [--exclude MS] [--apply [--force]] [--timeout S] [--idle FILE] "
            "[--delay D --mode M] [--job ID]\n"
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
            "  below it never make a minimum (1 ms).\n"
            "  load needs the idle results of the last calibrate idle (kept in the "
            "user's data folder) or --idle FILE.\n"
            "  --timeout S bounds each wait (temperature, switch to gas). --force "
            "writes trims more than 0.5 ms\n"
            "  from the ECU's. calibrate restore --delay D --mode M writes the "
            "switch-over settings back.\n"
            "  Exit 6 on an acquisition error, a timeout, implausible trims or "
            "missing idle results; 130 when interrupted."),
        1);
    args.parser.addOptions({
        {QStringLiteral("steps"), QStringLiteral("Durations and sample counts."),
         QStringLiteral("S1,S2,S3,S4")},
        {QStringLiteral("min-temp"), QStringLiteral("Vaporiser start temperature."),
         QStringLiteral("C")},
        {QStringLiteral("exclude"), QStringLiteral("Exclusion time."), QStringLiteral("MS")},
        {QStringLiteral("apply"), QStringLiteral("Write the calibrated trims.")},
        {QStringLiteral("force"), QStringLiteral("Write trims far from the ECU's.")},
        {QStringLiteral("timeout"), QStringLiteral("Longest wait."), QStringLiteral("S")},
        {QStringLiteral("idle"), QStringLiteral("Idle results for load."), QStringLiteral("FILE")},
        {QStringLiteral("delay"), QStringLiteral("Switch-over delay to restore."),
         QStringLiteral("D")},
        {QStringLiteral("mode"), QStringLiteral("Switch-over mode to restore."),
         QStringLiteral("M")},
    });
    cli::JobLog job;
    cli::JobLog::addOption(args);
    int code = cli::Ok;
    if (!args.parse(arguments, &code) || !job.open(args, &code))
        return code;
    if (args.positional(0) == QLatin1String("restore"))
        return restoreSwitchSettings(args);
    calibration::Kind kind = calibration::Kind::Idle;
    calibration::Settings settings;
    if (!readSettings(args, &kind, &settings))
        return cli::Usage;
    const int port = args.port();
    if (port < 0)
        return cli::Usage;
    int waitLimit = 0;
    if (args.parser.isSet(QStringLiteral("timeout"))) {
        bool ok = false;
        waitLimit = args.parser.value(QStringLiteral("timeout")).toInt(&ok);
        if (!ok || waitLimit < 1 || waitLimit > 86400) {
            cli::printErr(QStringLiteral("gasecu-cli: --timeout takes whole seconds 1..86400"));
            return cli::Usage;
        }
    }
    std::optional<std::array<calibration::Measured, 2>> idle;
    if (kind == calibration::Kind::Load) {
        const QString path = args.parser.isSet(QStringLiteral("idle"))
                                 ? args.parser.value(QStringLiteral("idle"))
                                 : lastIdlePath();
        idle = readIdleResults(path);
        if (!idle) {
            cli::printErr(QStringLiteral("gasecu-cli: a load calibration needs the idle results of "
                                         "an idle calibration; none in %1: run calibrate idle "
                                         "first, or give them with --idle FILE")
                              .arg(QDir::toNativeSeparators(path)));
            return cli::AcquisitionError;
        }
    }

    cli::CliLink line(args.portsDir());
    if (const cli::Exit opened = line.open(port); opened != cli::Ok)
        return opened;
    // The switch-over settings to save and the trims come from the ECU itself.
    cli::printErr(QStringLiteral("reading the ECU"));
    if (const cli::Exit read = line.fullRead(); read != cli::Ok)
        return read;

    job.read(line.link.image);
    CalibrateRun run(line.link, kind, settings, args.parser.isSet(QStringLiteral("apply")));
    run.setWaitLimit(waitLimit);
    run.setPort(port);
    run.setForce(args.parser.isSet(QStringLiteral("force")));
    if (idle)
        for (int bank = 0; bank < 2; ++bank)
            run.sequence().setIdleResults(bank, (*idle)[bank]);
    InterruptWatcher interrupts;
    QObject::connect(&interrupts, &InterruptWatcher::interrupted, &run, &CalibrateRun::interrupt);
    QEventLoop calibrating;
    QObject::connect(&run, &CalibrateRun::done, &calibrating, &QEventLoop::exit);
    // A vanished adapter: the link has said why.
    QObject::connect(&line.link, &Link::connectionWanted, &calibrating, [&] {
        cli::printErr(line.lastWarning.isEmpty() ? QStringLiteral(" Non Connecter ")
                                                 : line.lastWarning);
        run.portLost();
    });
    bool finished = false;
    QObject::connect(&run.sequence(), &calibration::Sequence::finished, &calibrating,
                     [&](calibration::Kind, bool failed) { finished = !failed; });
    run.start();
    const int exitCode = calibrating.exec();
    // Only a finished idle calibration becomes the next load calibration's reference.
    if (kind == calibration::Kind::Idle && finished && !saveIdleResults(run.sequence()))
        cli::printErr(QStringLiteral("could not keep the idle results in %1")
                          .arg(QDir::toNativeSeparators(lastIdlePath())));
    if (finished)
        job.calibration(run.sequence(), static_cast<int>(kind));
    // Trims written and acknowledged: what the ECU holds now.
    if (finished && exitCode == cli::Ok && args.parser.isSet(QStringLiteral("apply")))
        job.written(line.link.image);
    return job.finish(exitCode);
}
