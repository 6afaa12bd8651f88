// Unplug cycles: the adapter is pulled out while the tool is idle, polling,
// reading or uploading. Each time the fitter must get one message, the tool
// must not hang or spin while the adapter is out, and once it is plugged
// back in the next read must be correct.
#include "soak.h"

#include "rig.h"

#include <QEventLoop>
#include <QRandomGenerator>

#include <cstdio>
#include <sys/resource.h>

namespace {

double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// The share of one core the process used while the event loop ran for ms.
double cpuPercentOver(int ms) {
    QElapsedTimer wall;
    wall.start();
    const double before = cpuSeconds();
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return 100.0 * (cpuSeconds() - before) / (wall.nsecsElapsed() / 1e9);
}

} // namespace

bool runUnplugCycles(const FigureSink &figure, int cycles, unsigned seed) {
    SoakRig rig(seed);
    QString error;
    if (!rig.start(&error)) {
        std::fprintf(stderr, "gasecu-soak: %s\n", qPrintable(error));
        return false;
    }
    QRandomGenerator rng(seed);
    int messages = 0, wrongMessages = 0, hangs = 0, readsCorrect = 0;
    double worstCpu = 0;
    for (int cycle = 0; cycle < cycles; ++cycle) {
        switch (cycle % 4) {
        case 0: // idle
            break;
        case 1:
            rig.startPolling();
            break;
        case 2:
            rig.link.StartFullRead();
            break;
        case 3:
            for (int a = 0x801; a <= 0xA79; ++a)
                rig.link.image.set(a, quint8(rng.bounded(256)));
            rig.link.StartUpload(2);
            break;
        }
        SoakRig::waitUntil([] { return false; }, 100 + int(rng.bounded(900)));
        const int before = rig.warnings;
        rig.unplug();
        if (!SoakRig::waitUntil([&] { return rig.warnings > before; }, 5000))
            ++hangs;
        worstCpu = qMax(worstCpu, cpuPercentOver(1000));
        rig.stopPolling();
        messages += rig.warnings - before;
        wrongMessages += rig.warnings - before != 1;

        if (!rig.plugBackIn(&error) || !rig.link.OpenPort()) {
            std::fprintf(stderr, "gasecu-soak: plugging back in failed: %s\n", qPrintable(error));
            return false;
        }
        rig.waitQuiet(300);
        const SoakRig::End read = rig.fullRead();
        rig.waitQuiet(300);
        readsCorrect += read == SoakRig::End::Done && rig.imageBytesWrong() == 0;
        hangs += read == SoakRig::End::Hang;
    }
    figure("unplug_cycles", cycles);
    figure("unplug_messages", messages);
    figure("unplug_cycles_without_exactly_one_message", wrongMessages);
    figure("unplug_hangs", hangs);
    figure("unplug_cpu_percent_max", worstCpu);
    figure("unplug_reads_correct", readsCorrect);
    return true;
}
