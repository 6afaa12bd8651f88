#include "tuning/calibration_sequence.h"

#include "link/frames.h"
#include "link/link.h"
#include "live/monitor_decode.h"
#include "settings/number_format.h"

#include <limits>
#include <utility>

namespace calibration {

namespace {
constexpr int LiveTermAAddress = live::addr::TermA;
constexpr int LiveTermBAddress = live::addr::TermB;
constexpr int GasRunning = live::addr::OnGas;
constexpr int Int16Max = std::numeric_limits<qint16>::max();
constexpr int Int16Min = std::numeric_limits<qint16>::min();

int toInt16(double value) {
    const double rounded = number::roundHalfEven(value);
    if (!(rounded >= Int16Min)) // also NaN
        return Int16Min;
    return rounded > Int16Max ? Int16Max : static_cast<int>(rounded);
}

// The step counter is a signed 16-bit value: it stops at its top rather
// than wrapping when limits that can never be met keep it counting.
int nextStep(int step) {
    return step < Int16Max ? step + 1 : step;
}
} // namespace

std::array<int, 4> phaseLimits(const std::array<double, 4> &steps) {
    std::array<int, 4> limits{};
    limits[0] = toInt16(steps[0] + 1);
    for (int i = 1; i < 4; ++i)
        limits[i] = toInt16(limits[i - 1] + steps[i]);
    return limits;
}

Inputs inputsFromImage(const MemoryImage &image, const Settings &settings) {
    Inputs in;
    in.settings = settings;
    in.waterTemperature = live::s8(image.at(live::addr::WaterTemp));
    for (int bank = 0; bank < 2; ++bank) {
        // Cylinder 1 stands for bank 1 and cylinder 5 for bank 2.
        in.petrolTime[bank] =
            live::injectionMs(live::hi255(image, live::addr::PetrolTimes + 8 * bank));
        const live::TrimField &load = live::Trims[bank == 0 ? 1 : 3];
        const live::TrimField &idle = live::Trims[bank == 0 ? 0 : 2];
        in.loadTrim[bank] = number::parse(live::trimText(load, image.at(load.address)));
        in.idleTrim[bank] = number::parse(live::trimText(idle, image.at(idle.address)));
    }
    return in;
}

Sequence::Sequence(Link &link, bool &running, QObject *parent)
    : QObject(parent), m_link(link), m_running(running) {
    connect(&m_link, &Link::chainAcknowledged, this, &Sequence::onChainAcknowledged);
    connect(&m_link, &Link::chainFailed, this, &Sequence::onChainFailed);
}

void Sequence::start(Kind kind) {
    m_kind = kind;
    m_step = 0;
    m_phase = Phase::WaitingTemperature;
    m_link.poll.start();
    m_running = true;
    Q_EMIT progressValue(0);
    m_link.poll.startWatchdog();
    setAction(" Waiting Temperature ");
}

void Sequence::stop() {
    abandon();
    m_link.poll.start();
    m_link.poll.startWatchdog();
    Q_EMIT progressValue(0);
}

void Sequence::abandon() {
    m_running = false;
    RestoreSwitchSettings();
}

void Sequence::setLiveTerms(const MemoryImage &image) {
    m_liveA = image.at(LiveTermAAddress) / 100.0;
    m_liveB = image.at(LiveTermBAddress) / 100.0;
}

void Sequence::setAction(const char *caption) {
    Q_EMIT actionChanged(QString::fromLatin1(caption));
}

void Sequence::RunCalibrationStep(const Inputs &in) {
    const auto limits =
        phaseLimits(m_kind == Kind::Load ? in.settings.loadSteps : in.settings.idleSteps);
    const auto [l1, l2, l3, l4] = limits;
    if (!m_running)
        return; // stopped: a step now would zero the settings again
    // The port closed (adapter unplugged) while the ECU holds the zeroed
    // settings: nothing can write them back, so stop and say what to do.
    if (!m_link.state.PortIsOpen && m_saved) {
        m_running = false;
        Q_EMIT progressValue(0);
        reportLeftChanged();
        return;
    }

    // The limits move the sequence on whatever the phase, and each pass
    // runs every check below in this order: limits next to each other
    // cross more than one phase in a pass.
    if (in.waterTemperature > in.settings.startTemperature && m_step == 0)
        m_step = 1;
    if (m_step == 1) {
        setAction(" Waiting Stabilisation ");
        m_link.SendLine(frames::SwitchToPetrol.toByteArray());
        Q_EMIT progressMaximum(l4);
        Q_EMIT progressValue(0);
        m_phase = Phase::StabilisingOnPetrol;
        prepareSampling();
    }
    if (m_step == 2)
        zeroSwitchSettings();
    if (m_step == l1)
        enterPhase(Phase::SamplingPetrol, "Load Gasoline Time");
    advancePetrol(in);
    if (m_step == l2)
        enterPhase(Phase::SwitchingToGas, "Waiting Switch Over Gas");
    advanceGas();
    if (m_step == l3)
        enterPhase(Phase::SamplingGas, "Load Gas Time");
    if (m_phase == Phase::SamplingGas) {
        m_step = nextStep(m_step);
        sample(in, true);
    }
    if (m_step == l4)
        finish(in);
    Q_EMIT progressValue(m_step);
}

void Sequence::enterPhase(Phase phase, const char *caption) {
    m_phase = phase;
    setAction(caption);
}

// On petrol: one step per pass, sampling once the engine has settled.
void Sequence::advancePetrol(const Inputs &in) {
    switch (m_phase) {
    case Phase::StabilisingOnPetrol:
        m_step = nextStep(m_step);
        break;
    case Phase::SamplingPetrol:
        m_step = nextStep(m_step);
        sample(in, false);
        break;
    default:
        break;
    }
}

// The switch to gas is asked for once; the steps count again from the pass
// that finds the ECU running on gas.
void Sequence::advanceGas() {
    switch (m_phase) {
    case Phase::SwitchingToGas:
        setAction("Waiting Switch Over Gas");
        m_link.SendLine(frames::SwitchToGas.toByteArray());
        m_phase = Phase::WaitingForGas;
        [[fallthrough]];
    case Phase::WaitingForGas:
        if (m_link.image.at(live::addr::FuelState) != GasRunning)
            break;
        enterPhase(Phase::StabilisingOnGas, " waiting Stabilisation ");
        [[fallthrough]];
    case Phase::StabilisingOnGas:
        m_step = nextStep(m_step);
        break;
    default:
        break;
    }
}

// An idle calibration starts both kinds afresh; a load calibration keeps
// the idle results of the last idle calibration.
void Sequence::prepareSampling() {
    for (int bank = 0; bank < 2; ++bank) {
        if (m_kind == Kind::Idle)
            m_results[int(Kind::Idle)][bank] = {};
        m_results[int(Kind::Load)][bank] = {};
    }
}

void Sequence::zeroSwitchSettings() {
    m_link.poll.pauseForWrite();
    // Saved once per calibration: after a restart the image holds the
    // zeros this calibration wrote, not the ECU's own values.
    if (!m_saved) {
        m_savedDelay = m_link.image.at(SwitchDelayAddress);
        m_savedMode = m_link.image.at(SwitchModeAddress);
        m_saved = true;
    }
    m_pending = Pending::Zero;
    m_link.image.set(SwitchDelayAddress, 0);
    m_link.image.set(SwitchModeAddress, 0);
    m_link.StartSequence(ChainStep::SwitchOverDelay);
}

void Sequence::sample(const Inputs &in, bool gas) {
    for (int bank = 0; bank < 2; ++bank) {
        Measured &m = m_results[int(m_kind)][bank];
        const double x = in.petrolTime[bank];
        double &mean = gas ? m.gasMean : m.petrolMean;
        double &minimum = gas ? m.gasMin : m.petrolMin;
        mean = meanWith(mean, x);
        minimum = minimumWith(minimum, x, in.settings.exclusion);
    }
}

void Sequence::finish(const Inputs &in) {
    m_running = false;
    Q_EMIT progressValue(0);
    for (int bank = 0; bank < 2; ++bank) {
        Measured &m = m_results[int(m_kind)][bank];
        m.diffMin = difference(m.gasMin, m.petrolMin);
        m.diffMean = difference(m.gasMean, m.petrolMean);
        writeResults(m_texts[bank], m_results[0][bank], m_results[1][bank], in.loadTrim[bank],
                     in.idleTrim[bank], m_liveA, m_liveB);
    }
    const bool failed = m_kind == Kind::Load && acquisitionFailed(m_texts[0]);
    Q_EMIT finished(m_kind, failed);
    RestoreSwitchSettings();
}

void Sequence::RestoreSwitchSettings() {
    m_link.poll.pauseForWrite();
    if (!m_saved)
        return;
    m_link.image.set(SwitchDelayAddress, m_savedDelay);
    m_link.image.set(SwitchModeAddress, m_savedMode);
    m_saved = false;
    m_pending = Pending::Restore;
    m_link.StartSequence(ChainStep::SwitchOverDelay);
    Q_EMIT switchSettingsRestored();
}

void Sequence::onChainAcknowledged() {
    const Pending was = std::exchange(m_pending, Pending::None);
    if (was == Pending::Restore)
        Q_EMIT restoreAcknowledged();
}

// The zeroing or the write-back went unanswered: the ECU may hold zeros.
// The saved values stay saved, so the next Stop (or a later restore)
// still writes them back, and the image shows them again so that no
// other upload stores the zeros.
void Sequence::onChainFailed() {
    const Pending was = std::exchange(m_pending, Pending::None);
    if (was == Pending::None)
        return;
    m_saved = true;
    m_running = false;
    Q_EMIT progressValue(0);
    m_link.image.set(SwitchDelayAddress, m_savedDelay);
    m_link.image.set(SwitchModeAddress, m_savedMode);
    Q_EMIT switchSettingsRestored();
    reportLeftChanged();
}

void Sequence::reportLeftChanged() {
    Q_EMIT leftChanged(leftChangedText());
}

QString Sequence::leftChangedText() const {
    return QStringLiteral("The ECU was left with its switch-over delay and mode at 0; write back "
                          "delay %1 and mode %2 once it answers (Calibration, Start Calibration "
                          "idle, then Stop) or load the restore point")
        .arg(m_savedDelay)
        .arg(m_savedMode);
}

} // namespace calibration
