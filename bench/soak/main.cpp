// gasecu-soak: the tool's core against the ECU simulator on a pseudo-terminal
// at 9600 baud. "name value" figures, one a line.
//   gasecu-soak --minutes M          the noisy-line soak (soak.cpp)
//   gasecu-soak --unplug-cycles N    unplug cycles (unplug_cycles.cpp)
// Exit 0 when every must-be-zero figure is zero, 1 otherwise, 2 on a setup
// failure.
#include "soak.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser args;
    args.addHelpOption();
    args.addOption(
        {QStringLiteral("minutes"), QStringLiteral("Soak for this long."), QStringLiteral("M")});
    args.addOption({QStringLiteral("unplug-cycles"), QStringLiteral("Unplug cycles to run."),
                    QStringLiteral("N")});
    args.addOption({QStringLiteral("seed"), QStringLiteral("Random seed (default 1)."),
                    QStringLiteral("N"), QStringLiteral("1")});
    args.process(app);
    const unsigned seed = args.value(QStringLiteral("seed")).toUInt();

    // Figures that must be zero, and those that must equal another.
    static const char *const mustBeZero[] = {
        "image_bytes_wrong", "ecu_bytes_wrong", "hangs",
        "crashes",           "unplug_hangs",    "unplug_cycles_without_exactly_one_message"};
    bool clean = true;
    double cycles = 0;
    auto figure = [&](const char *name, double value) {
        std::printf("%s %g\n", name, value);
        std::fflush(stdout);
        for (const char *z : mustBeZero)
            clean = clean && !(std::strcmp(name, z) == 0 && value != 0);
        if (std::strcmp(name, "unplug_cycles") == 0)
            cycles = value;
        if (std::strcmp(name, "unplug_cpu_percent_max") == 0)
            clean = clean && value < 5.0;
        if (std::strcmp(name, "unplug_reads_correct") == 0)
            clean = clean && value == cycles;
    };
    bool ran = true;
    if (args.isSet(QStringLiteral("minutes")))
        ran = runSoak(figure, args.value(QStringLiteral("minutes")).toDouble(), seed);
    if (ran && args.isSet(QStringLiteral("unplug-cycles")))
        ran = runUnplugCycles(figure, args.value(QStringLiteral("unplug-cycles")).toInt(), seed);
    if (!ran)
        return 2;
    return clean ? 0 : 1;
}
