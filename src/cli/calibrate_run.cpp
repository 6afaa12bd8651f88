#include "cli/calibrate_run.h"

#include "cli/cli_common.h"

#include "link/frames.h"
#include "link/link.h"
#include "monitor/monitor_decode.h"
#include "pages/number_format.h"

#include <cstdio>

using namespace calibration;

using cli::printErr;

namespace {
// A trim as the calibration form validates it: "0" below zero, the limit
// text above the limit, at most four characters.
double validated(const live::TrimField &trim, double value) {
    return number::parse(live::validatedTrimText(trim, number::formatPoint(value)));
}
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
    printErr(QStringLiteral("interrupted: switch-over settings restored"));
    const bool saved = m_sequence.switchSettingsSaved();
    m_sequence.stop();
    m_result = cli::Interrupted;
    if (!saved)
        end(cli::Interrupted);
    else
        m_stage = Stage::Restoring;
}

void CalibrateRun::onData() {
    m_sequence.setLiveTerms(m_link.image);
    if (m_running)
        m_sequence.RunCalibrationStep(inputsFromImage(m_link.image, m_settings));
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
}

// The ECU acknowledged the last write of a chain. While sampling that is
// the switch-over zeroing, after which the link resumes the poll by itself.
void CalibrateRun::onChainDone() {
    if (m_stage == Stage::Restoring && m_apply && m_result == cli::Ok) {
        m_kind == Kind::Idle ? applyIdle() : applyLoad();
        return;
    }
    if (m_stage == Stage::Restoring || m_stage == Stage::Applying)
        end(m_result); // the settings (and trims) are in the ECU
}

// A write of a chain stayed unanswered: what it carried may not be in the
// ECU. The switch-over settings are named with the values to write back.
void CalibrateRun::onChainFailed() {
    if (m_stage == Stage::Applying) {
        printErr(QStringLiteral("the ECU did not acknowledge the idle trims: it may still hold "
                                "the earlier ones"));
    } else {
        printErr(QStringLiteral("the ECU did not acknowledge the switch-over settings: its "
                                "delay (0x807) and mode (0xA41) may be wrong; write back delay %1 "
                                "and mode %2 once it answers")
                     .arg(m_sequence.savedDelay())
                     .arg(m_sequence.savedMode()));
    }
    end(cli::NoAnswer);
}

// As the idle upload: both banks' idle trims from the minima, load trims
// kept, written bank 2, extra time, bank 1, one after each answer.
void CalibrateRun::applyIdle() {
    const live::TrimField idle[] = {live::Trims[0], live::Trims[2]};
    for (int bank = 0; bank < 2; ++bank) {
        const double value = validated(idle[bank], number::parse(m_sequence.texts(bank)[TxApp1]));
        m_link.image.set(idle[bank].address, live::trimByte(idle[bank], value));
    }
    m_link.StartSequence(5);
    m_stage = Stage::Applying;
    printErr(QStringLiteral("writing the idle trims"));
}

// As the load upload: bank 1's new multiplier and offset, written once the
// last restore write has been answered.
void CalibrateRun::applyLoad() {
    const BankTexts &bank1 = m_sequence.texts(0);
    const double offset = validated(live::Trims[0], number::parse(bank1[TxRCHP1]));
    const double multiplier = validated(live::Trims[1], number::parse(bank1[TxCCHP1]));
    m_link.image.set(live::Trims[0].address, live::trimByte(live::Trims[0], offset));
    m_link.image.set(live::Trims[1].address, live::trimByte(live::Trims[1], multiplier));
    m_stage = Stage::ApplyingLoad;
    printErr(QStringLiteral("writing the load trims of bank 1"));
}

void CalibrateRun::printResults() {
    for (int bank = 0; bank < 2; ++bank) {
        const BankTexts &texts = m_sequence.texts(bank);
        for (int f = 0; f < FieldCount; ++f)
            std::printf("%s_%d %s\n", fieldName(Field(f)), bank + 1,
                        texts[f].toLocal8Bit().constData());
    }
    std::fflush(stdout);
}

void CalibrateRun::silenceTick() {
    if (m_sinceAnswer.elapsed() < SilenceMs)
        return;
    printErr(m_link.noCommunicationText());
    if (m_sequence.switchSettingsSaved() || m_stage == Stage::Restoring)
        printErr(QStringLiteral("the ECU's switch-over delay (0x807) and mode (0xA41) may still "
                                "be 0: write them back once it answers"));
    end(cli::NoAnswer);
}

void CalibrateRun::end(int code) {
    m_link.poll.stopWatchdog();
    m_silence.stop();
    m_running = false;
    Q_EMIT done(code);
}
