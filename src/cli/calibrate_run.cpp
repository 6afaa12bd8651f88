#include "cli/calibrate_run.h"

#include "cli/cli_common.h"
#include "tuning/trim_plausibility.h"

#include "link/frames.h"
#include "link/link.h"
#include "live/monitor_decode.h"
#include "settings/config_compare.h"
#include "settings/number_format.h"

#include <cstdio>

using namespace calibration;

using cli::printErr;

namespace {
// A trim as the calibration form validates it: "0" below zero, the limit
// text above the limit, at most four characters.
double validated(const live::TrimField &trim, double value) {
    return number::parse(live::validatedTrimText(trim, number::formatPoint(value)));
}

constexpr int ProgressEveryMs = 1000;
constexpr int MaxReadAttempts = 10;
constexpr int ReadAgainMs = 300;
} // namespace

CalibrateRun::CalibrateRun(Link &link, Kind kind, const Settings &settings, bool apply,
                           QObject *parent)
    : QObject(parent), m_link(link), m_sequence(link, m_running), m_settings(settings),
      m_kind(kind), m_apply(apply) {
    m_silence.setInterval(250);
    connect(&m_silence, &QTimer::timeout, this, &CalibrateRun::silenceTick);
    connect(&m_link, &Link::dataDecoded, this, &CalibrateRun::onData);
    connect(&m_link, &Link::frameProcessed, this, &CalibrateRun::onFrame);
    connect(&m_link, &Link::chainAcknowledged, this, &CalibrateRun::onChainDone);
    connect(&m_link, &Link::chainFailed, this, &CalibrateRun::onChainFailed);
    connect(&m_sequence, &Sequence::restoreAcknowledged, this, &CalibrateRun::onRestored);
    connect(&m_sequence, &Sequence::leftChanged, this, [this] {
        printLeftChanged();
        end(cli::NoAnswer);
    });
    // Waiting for gas asks again at every step: each caption once.
    connect(&m_sequence, &Sequence::actionChanged, this, [this](const QString &caption) {
        if (caption != m_caption)
            printErr(caption.trimmed());
        m_caption = caption;
    });
    connect(&m_sequence, &Sequence::progressMaximum, this, [this](int max) { m_maximum = max; });
    connect(&m_sequence, &Sequence::progressValue, this, [this](int value) {
        // A line every ten steps is enough to see it move.
        if (m_running && value > 0 && value / 10 != m_lastPrinted / 10) {
            m_lastPrinted = value;
            printErr(QStringLiteral("step %1 / %2").arg(value).arg(m_maximum));
        }
    });
    connect(&m_sequence, &Sequence::finished, this, &CalibrateRun::onFinished);
}

void CalibrateRun::start() {
    m_link.poll.setFrame(frames::MonitorPoll);
    m_link.poll.clearSilence();
    m_sinceAnswer.start();
    m_sinceProgress.start();
    m_silence.start();
    m_sequence.start(m_kind);
    // The first poll; the watchdog keeps the chain going from then on.
    m_link.SendLine(m_link.poll.frame());
}

void CalibrateRun::interrupt() {
    if (m_stage != Stage::Running) {
        // Already writing back or applying: let that finish.
        m_apply = false;
        m_result = cli::Interrupted;
        return;
    }
    writeBack(QStringLiteral("interrupted"), cli::Interrupted);
}

// Stops the sequence; ends at once when it never zeroed anything, else once
// the ECU acknowledged the write-back and holds the saved values again.
void CalibrateRun::writeBack(const QString &why, int code) {
    const bool saved = m_sequence.switchSettingsSaved();
    m_sequence.abandon();
    m_result = code;
    if (!saved) {
        printErr(why + QStringLiteral(": nothing was changed in the ECU"));
        end(code);
        return;
    }
    printErr(why + QStringLiteral(": writing back switch-over delay %1 and mode %2")
                       .arg(m_sequence.savedDelay())
                       .arg(m_sequence.savedMode()));
    m_apply = false;
    m_stage = Stage::Restoring;
}

void CalibrateRun::portLost() {
    if (m_sequence.switchSettingsSaved() || m_stage == Stage::Restoring)
        printLeftChanged();
    end(cli::PortProblem);
}

void CalibrateRun::onData(int address, int count) {
    const auto covers = [&](int a) { return address <= a && a < address + count; };
    if (m_stage == Stage::Verifying) {
        if (covers(SwitchDelayAddress))
            m_readDelay = m_link.image.at(SwitchDelayAddress);
        if (covers(SwitchModeAddress))
            m_readMode = m_link.image.at(SwitchModeAddress);
        if (m_readDelay && m_readMode)
            verified();
        return;
    }
    m_sequence.setLiveTerms(m_link.image);
    if (m_running) {
        m_sequence.RunCalibrationStep(inputsFromImage(m_link.image, m_settings));
        checkWait();
    }
}

// Bounds the waits on the vaporiser temperature (step 0) and on the ECU's
// switch to gas, and shows what is awaited while it lasts.
void CalibrateRun::checkWait() {
    if (!m_running)
        return;
    const bool gasAwaited = m_sequence.phase() == Phase::WaitingForGas;
    const int waitingFor = m_sequence.step() == 0 ? 0 : gasAwaited ? 4 : -1;
    if (waitingFor != m_waitingFor) {
        m_waitingFor = waitingFor;
        m_waiting.start();
    }
    if (waitingFor < 0)
        return;
    const int temperature = live::s8(m_link.image.at(live::addr::WaterTemp));
    const int fuel = m_link.image.at(live::addr::FuelState);
    const int fuelText = live::fuelStateMessage(fuel);
    const QString fuelState =
        fuelText ? m_link.messages[fuelText].trimmed() : QStringLiteral("state %1").arg(fuel);
    if (m_sinceProgress.elapsed() >= ProgressEveryMs) {
        m_sinceProgress.restart();
        printErr(QStringLiteral("waiting: vaporiser %1 C (start above %2 C), fuel %3")
                     .arg(temperature)
                     .arg(m_settings.startTemperature)
                     .arg(fuelState));
    }
    if (m_waitLimitS <= 0 || m_waiting.elapsed() < qint64(m_waitLimitS) * 1000)
        return;
    const QString why =
        waitingFor == 0
            ? QStringLiteral("timed out after %1 s: vaporiser at %2 C, not above %3 C")
                  .arg(m_waitLimitS)
                  .arg(temperature)
                  .arg(m_settings.startTemperature)
            : QStringLiteral("timed out after %1 s: the ECU did not switch to gas (fuel %2)")
                  .arg(m_waitLimitS)
                  .arg(fuelState);
    writeBack(why, cli::AcquisitionError);
}

void CalibrateRun::onFrame() {
    m_sinceAnswer.restart();
    if (m_stage == Stage::ApplyingLoad) {
        m_stage = Stage::Ending;
        m_link.WriteBlock(frames::WriteBank1Trims);
    } else if (m_stage == Stage::Ending) {
        end(m_result); // the answer to the last write
    }
}

void CalibrateRun::onFinished(Kind, bool acquisitionError) {
    printResults();
    m_stage = Stage::Restoring;
    if (acquisitionError) {
        printErr(QStringLiteral(" ERROR Aquisition  "));
        m_result = cli::AcquisitionError;
        m_apply = false;
    }
    if (!m_sequence.restoring())
        onRestored(); // nothing was zeroed
}

// Both write-back writes are acknowledged: the ECU is asked for them again,
// and only what it answers counts as restored.
void CalibrateRun::onRestored() {
    if (m_stage != Stage::Restoring)
        return;
    m_stage = Stage::Verifying;
    m_readDelay.reset();
    m_readMode.reset();
    for (int address : {SwitchDelayAddress, SwitchModeAddress})
        m_link.SendLine(frames::readText(address, 1) + frames::Cr);
}

void CalibrateRun::verified() {
    const int delay = m_sequence.savedDelay(), mode = m_sequence.savedMode();
    // An acknowledgement may answer an earlier line of ours (a switch to
    // gas): the writes can still be on their way, so the ECU is asked again
    // a few times before the write-back counts as failed.
    if ((*m_readDelay != delay || *m_readMode != mode) && ++m_readAttempts < MaxReadAttempts) {
        m_stage = Stage::Restoring;
        QTimer::singleShot(ReadAgainMs, this, &CalibrateRun::onRestored);
        return;
    }
    if (*m_readDelay != delay || *m_readMode != mode) {
        printErr(
            QStringLiteral("the ECU holds switch-over delay %1 and mode %2 after the write-back "
                           "of delay %3 and mode %4")
                .arg(*m_readDelay)
                .arg(*m_readMode)
                .arg(delay)
                .arg(mode));
        printLeftChanged();
        end(cli::VerifyFailed);
        return;
    }
    printErr(
        QStringLiteral("switch-over settings restored: delay %1, mode %2").arg(delay).arg(mode));
    if (m_apply && m_result == cli::Ok && plausibleOrForced())
        m_kind == Kind::Idle ? applyIdle() : applyLoad();
    else
        end(m_result);
}

// The trims went out as one chain after the write-back.
void CalibrateRun::onChainDone() {
    if (m_stage == Stage::Applying)
        end(m_result);
}

void CalibrateRun::onChainFailed() {
    if (m_stage != Stage::Applying)
        return; // the switch-over settings' writes: the sequence says what is left
    printErr(QStringLiteral("the ECU did not acknowledge the idle trims: it may still hold "
                            "the earlier ones"));
    end(cli::NoAnswer);
}

// The ECU may hold the zeroed switch-over settings: the values and the
// command that writes them back.
void CalibrateRun::printLeftChanged() {
    const int delay = m_sequence.savedDelay(), mode = m_sequence.savedMode();
    printErr(QStringLiteral("the ECU was left with its switch-over delay (%4) and mode (%5) "
                            "at 0; it held delay %1 and mode %2. Write them back once it answers "
                            "with:\n  gasecu-cli calibrate restore --delay %1 --mode %2 --port %3")
                 .arg(delay)
                 .arg(mode)
                 .arg(m_port)
                 .arg(compare::addressText(calibration::SwitchDelayAddress),
                      compare::addressText(calibration::SwitchModeAddress)));
}

// The new idle trims (idle) or bank 1's new load offset (load) against
// what the ECU holds; too far apart refuses the write unless forced.
bool CalibrateRun::plausibleOrForced() {
    const QList<TrimChange> far =
        implausibleChanges(m_link.image, m_kind, {m_sequence.texts(0), m_sequence.texts(1)});
    if (far.isEmpty())
        return true;
    printErr(QStringLiteral("the new trims differ from the ECU's by more than %1 ms (%2): the "
                            "engine may not have been idling, or speed or load was unsteady "
                            "during the samples")
                 .arg(PlausibleStepMs)
                 .arg(describeChanges(far)));
    if (m_force) {
        printErr(QStringLiteral("writing them anyway (--force)"));
        return true;
    }
    printErr(QStringLiteral("nothing written: run again, or add --force to write them"));
    m_result = cli::AcquisitionError;
    return false;
}

// As the idle upload: both banks' idle trims from the minima, load trims
// kept, written bank 2, extra time, bank 1, one after each answer.
void CalibrateRun::applyIdle() {
    const live::TrimField idle[] = {live::Trims[0], live::Trims[2]};
    for (int bank = 0; bank < 2; ++bank) {
        const double value = validated(idle[bank], number::parse(m_sequence.texts(bank)[TxApp1]));
        m_link.image.set(idle[bank].address, live::trimByte(idle[bank], value));
    }
    m_link.StartSequence(ChainStep::Bank2Trims);
    m_stage = Stage::Applying;
    printErr(QStringLiteral("writing the idle trims"));
}

// As the load upload: bank 1's new multiplier and offset, written after
// the next answer.
void CalibrateRun::applyLoad() {
    const BankTexts &bank1 = m_sequence.texts(0);
    const double offset = validated(live::Trims[0], number::parse(bank1[TxRCHP1]));
    const double multiplier = validated(live::Trims[1], number::parse(bank1[TxCCHP1]));
    m_link.image.set(live::Trims[0].address, live::trimByte(live::Trims[0], offset));
    m_link.image.set(live::Trims[1].address, live::trimByte(live::Trims[1], multiplier));
    m_stage = Stage::ApplyingLoad;
    printErr(QStringLiteral("writing the load trims of bank 1"));
}

// Each result rounded to four decimals.
void CalibrateRun::printResults() {
    for (int bank = 0; bank < 2; ++bank) {
        const BankTexts &texts = m_sequence.texts(bank);
        for (int f = 0; f < FieldCount; ++f)
            std::printf("%s_%d %.4f\n", fieldName(Field(f)), bank + 1,
                        number::roundHalfEven(number::parse(texts[f]) * 10000) / 10000);
    }
    std::fflush(stdout);
}

void CalibrateRun::silenceTick() {
    if (m_sinceAnswer.elapsed() < SilenceMs)
        return;
    printErr(m_link.noCommunicationText());
    if (m_sequence.switchSettingsSaved() || m_stage == Stage::Restoring ||
        m_stage == Stage::Verifying)
        printLeftChanged();
    end(cli::NoAnswer);
}

void CalibrateRun::end(int code) {
    if (m_stage == Stage::Ended)
        return;
    m_stage = Stage::Ended;
    m_link.poll.stopWatchdog();
    m_silence.stop();
    m_running = false;
    Q_EMIT done(code);
}
