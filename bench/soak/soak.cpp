// The noisy-line soak: 1 % of replies garbled (a character flipped, dropped
// or inserted), 1 % split, 1 % joined to the next, now and then a silent
// spell. Whatever the line does, no byte may reach the image or the ECU that
// the other side did not hold or was not sent.
#include "soak.h"

#include "rig.h"

#include "link/frames.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>

#include <cstdio>

namespace {

long residentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

void randomize(Link &link, QRandomGenerator &rng, int first, int last) {
    for (int a = first; a <= last; ++a)
        link.image.set(a, quint8(rng.bounded(256)));
}

// Tries an operation the way a fitter would, again after each message.
SoakRig::End persist(const std::function<SoakRig::End()> &op, int *messages, SoakRig &rig) {
    SoakRig::End end = SoakRig::End::Message;
    for (int attempt = 0; attempt < 10 && end == SoakRig::End::Message; ++attempt) {
        end = op();
        rig.waitQuiet(400);
        if (end == SoakRig::End::Message)
            ++*messages;
    }
    return end;
}

} // namespace

bool runSoak(const FigureSink &figure, double minutes, unsigned seed) {
    SoakRig rig(seed);
    QString error;
    if (!rig.start(&error)) {
        std::fprintf(stderr, "gasecu-soak: %s\n", qPrintable(error));
        return false;
    }
    using ecusim::FaultKind;
    using ecusim::FaultRule;
    rig.sim.faults().set(FaultKind::Garble, FaultRule::chance(0.01));
    rig.sim.faults().set(FaultKind::Split, FaultRule::chance(0.01));
    rig.sim.faults().set(FaultKind::Join, FaultRule::chance(0.01));
    rig.sim.faults().set(FaultKind::Spell, FaultRule::chance(0.001));
    QRandomGenerator rng(seed);

    int reads = 0, pageWrites = 0, uploads = 0, messages = 0, hangs = 0;
    int imageWrong = 0, ecuWrong = 0;
    long baseKb = 0;
    QElapsedTimer clock;
    clock.start();
    const qint64 endMs = qint64(minutes * 60'000);
    for (int cycle = 0; cycle == 0 || clock.elapsed() < endMs; ++cycle) {
        rig.startPolling();
        SoakRig::waitUntil([] { return false; }, 5000);
        rig.stopPolling();
        rig.waitQuiet(400);

        const auto read = persist([&] { return rig.fullRead(); }, &messages, rig);
        if (read == SoakRig::End::Done) {
            ++reads;
            imageWrong += rig.imageBytesWrong();
        }
        hangs += read == SoakRig::End::Hang;

        randomize(rig.link, rng, 0x801, 0x838);
        const auto page =
            persist([&] { return rig.pageWrite(frames::WriteMainParameters); }, &messages, rig);
        if (page == SoakRig::End::Done) {
            ++pageWrites;
            for (auto [first, last] : {std::pair{0x801, 0x838}, {0x839, 0x83A}, {0xA44, 0xA44}})
                rig.noteWritten(first, last);
            ecuWrong += rig.ecuBytesWrong();
        }

        for (int i = 1; i < BlockCount; ++i) {
            const BlockRange r = blockRange(rig.link.blocks[std::size_t(i)]);
            randomize(rig.link, rng, r.address, r.address + r.count - 1);
        }
        const auto up = persist([&] { return rig.upload(); }, &messages, rig);
        if (up == SoakRig::End::Done) {
            ++uploads;
            for (int i = 1; i < BlockCount; ++i) {
                const BlockRange r = blockRange(rig.link.blocks[std::size_t(i)]);
                rig.noteWritten(r.address, r.address + r.count - 1);
            }
            ecuWrong += rig.ecuBytesWrong();
        }
        hangs += (page == SoakRig::End::Hang) + (up == SoakRig::End::Hang);
        if (cycle == 0)
            baseKb = residentKb();
    }
    // Last word: one more read, then the image against the ECU and the ECU
    // against everything written to it.
    if (persist([&] { return rig.fullRead(); }, &messages, rig) == SoakRig::End::Done)
        ++reads;
    imageWrong += rig.imageBytesWrong();
    ecuWrong += rig.ecuBytesWrong();

    const ecusim::SimStats &s = rig.sim.stats();
    figure("soak_minutes", clock.elapsed() / 60000.0);
    figure("polls", rig.polls);
    figure("reads", reads);
    figure("page_writes", pageWrites);
    figure("uploads", uploads);
    figure("no_communication_messages", messages);
    figure("replies_sent", s.replies);
    figure("replies_lost", s.lostReplies);
    figure("frames_rejected", rig.rejected);
    figure("image_bytes_wrong", imageWrong);
    figure("ecu_bytes_wrong", ecuWrong);
    figure("hangs", hangs);
    figure("crashes", 0);
    figure("resident_growth_kb", double(residentKb() - baseKb));
    return true;
}
