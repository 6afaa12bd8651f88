#include "cli/map_run.h"

#include "cli/cli_common.h"

#include "ecu/live_block.h"
#include "link/frames.h"
#include "link/link.h"
#include "live/monitor_decode.h"

#include <QDateTime>

namespace lb = ecu::liveblock;
using cli::printErr;
using Column = MapAcquisition::Column;

namespace {
constexpr int TickMs = 250;
constexpr int ProgressEveryMs = 5000;
} // namespace

MapRun::MapRun(Link &link, int seconds, int waitLimitS, QObject *parent)
    : QObject(parent), m_link(link), m_seconds(seconds), m_waitLimitS(waitLimitS) {
    m_ticks.setInterval(TickMs);
    connect(&m_ticks, &QTimer::timeout, this, &MapRun::tick);
    connect(&m_link, &Link::dataDecoded, this, &MapRun::onData);
    m_acquisition.MapAcquisitionOn = true;
}

void MapRun::start() {
    LivePoll &poll = m_link.poll;
    poll.setFrame(frames::MonitorPoll);
    poll.start();
    poll.clearSilence();
    poll.startWatchdog();
    m_sinceAnswer.start();
    m_inStage.start();
    m_sinceProgress.start();
    m_ticks.start();
    m_link.SendLine(poll.frame());
}

void MapRun::onData(int address, int count) {
    if (m_stage == Stage::Ended || !lb::isLiveAnswer(address, count))
        return;
    m_sinceAnswer.restart();
    m_state = m_link.image.at(lb::FuelState);
    if (m_foundState < 0) {
        m_foundState = m_state;
        printErr(QStringLiteral("the ECU runs on %1").arg(fuelText(m_state)));
        enter(m_state == lb::OnPetrol ? Stage::Petrol : Stage::ToPetrol);
    }
    switch (m_stage) {
    case Stage::ToPetrol:
        if (m_state == lb::OnPetrol)
            enter(Stage::Petrol);
        break;
    case Stage::Petrol:
        acquire(Column::Petrol);
        if (m_acquiring.isValid() && m_acquiring.elapsed() >= qint64(m_seconds) * 1000)
            enter(Stage::ToGas);
        break;
    case Stage::ToGas:
        if (m_state == lb::OnGas)
            enter(Stage::Gas);
        break;
    case Stage::Gas:
        acquire(Column::Gas);
        if (m_acquiring.isValid() && m_acquiring.elapsed() >= qint64(m_seconds) * 1000)
            restore(cli::Ok, QStringLiteral("acquisition done"));
        break;
    case Stage::Restoring:
        if (fuelIsBack(m_state)) {
            printErr(QStringLiteral("fuel restored: %1").arg(fuelText(m_state)));
            end(m_result);
        }
        break;
    case Stage::Ended:
        break;
    }
}

// One acquisition step; an accepted crossing counts only on the stage's own
// fuel (the ECU may fall back to petrol on an alarm).
void MapRun::acquire(Column column) {
    const bool onFuel = m_state == (column == Column::Gas ? lb::OnGas : lb::OnPetrol);
    if (onFuel && !m_acquiring.isValid())
        m_acquiring.start();
    const MapAcquisition::Step s =
        m_acquisition.step(MapAcquisition::inputsFrom(m_link.image), m_link.image);
    if (s.recorded && s.recorded->column == column && onFuel) {
        m_stats.add(s.recorded->band, column, s.recorded->value, QDateTime::currentDateTime());
        ++m_accepted;
    }
    progress();
}

void MapRun::enter(Stage stage) {
    m_stage = stage;
    m_inStage.restart();
    m_acquiring.invalidate();
    m_accepted = 0;
    switch (stage) {
    case Stage::ToPetrol:
        printErr(QStringLiteral("switching to petrol"));
        ask();
        break;
    case Stage::Petrol:
        printErr(QStringLiteral("acquiring %1 s on petrol: drive").arg(m_seconds));
        break;
    case Stage::ToGas:
        printErr(QStringLiteral("switching to gas"));
        ask();
        break;
    case Stage::Gas:
        printErr(QStringLiteral("acquiring %1 s on gas: drive on").arg(m_seconds));
        break;
    case Stage::Restoring:
        if (!fuelIsBack(m_state))
            ask();
        break;
    case Stage::Ended:
        break;
    }
}

bool MapRun::wantsPetrol() const {
    return m_stage == Stage::ToPetrol ||
           (m_stage == Stage::Restoring && m_foundState == lb::OnPetrol);
}

void MapRun::ask() {
    m_link.SendLine((wantsPetrol() ? frames::SwitchToPetrol : frames::SwitchToGas).toByteArray());
    m_sinceAsked.start();
}

void MapRun::tick() {
    if (m_stage == Stage::Ended)
        return;
    if (m_sinceAnswer.elapsed() >= SilenceMs) {
        printErr(m_link.noCommunicationText());
        sayWhatIsLeft();
        end(cli::NoAnswer);
        return;
    }
    const bool waiting = m_stage == Stage::ToPetrol || m_stage == Stage::ToGas ||
                         (m_stage == Stage::Restoring && !fuelIsBack(m_state));
    if (!waiting)
        return;
    if (m_sinceAsked.isValid() && m_sinceAsked.elapsed() >= AskAgainMs)
        ask();
    if (m_waitLimitS <= 0 || m_inStage.elapsed() < qint64(m_waitLimitS) * 1000)
        return;
    const QString why =
        QStringLiteral("timed out after %1 s: the ECU did not switch to %2 (%3)")
            .arg(m_waitLimitS)
            .arg(fuelText(wantsPetrol() ? lb::OnPetrol : lb::OnGas), fuelText(m_state));
    if (m_stage == Stage::Restoring) {
        printErr(why);
        sayWhatIsLeft();
        end(cli::AcquisitionError);
    } else {
        restore(cli::AcquisitionError, why);
    }
}

void MapRun::progress() {
    if (m_sinceProgress.elapsed() < ProgressEveryMs || !m_acquiring.isValid())
        return;
    m_sinceProgress.restart();
    const qint64 left = qMax<qint64>(0, m_seconds - m_acquiring.elapsed() / 1000);
    printErr(QStringLiteral("%1: %2 s left, %3 crossings kept, status %4")
                 .arg(m_stage == Stage::Gas ? QStringLiteral("gas") : QStringLiteral("petrol"))
                 .arg(left)
                 .arg(m_accepted)
                 .arg(m_acquisition.MapStatus));
}

// Stops acquiring and puts the fuel back as it was found; ends once an
// answer shows it.
void MapRun::restore(int code, const QString &why) {
    printErr(why);
    m_result = code;
    if (m_foundState < 0) {
        end(code); // nothing was asked of the ECU
        return;
    }
    enter(Stage::Restoring);
    if (fuelIsBack(m_state)) {
        printErr(QStringLiteral("fuel restored: %1").arg(fuelText(m_state)));
        end(code);
    } else {
        printErr(QStringLiteral("switching back to %1").arg(fuelText(m_foundState)));
    }
}

void MapRun::interrupt() {
    if (m_stage == Stage::Restoring) {
        sayWhatIsLeft();
        end(cli::Interrupted);
        return;
    }
    if (m_stage != Stage::Ended)
        restore(cli::Interrupted, QStringLiteral("interrupted"));
}

void MapRun::portLost() {
    sayWhatIsLeft();
    end(cli::PortProblem);
}

// Found on petrol: back on petrol. Found on gas or waiting for it: anything
// but petrol (the ECU goes on to gas by itself).
bool MapRun::fuelIsBack(int state) const {
    return m_foundState == lb::OnPetrol ? state == lb::OnPetrol : state != lb::OnPetrol;
}

QString MapRun::fuelText(int state) const {
    switch (state) {
    case lb::OnPetrol:
        return QStringLiteral("petrol");
    case lb::OnGas:
        return QStringLiteral("gas");
    case 1:
        return QStringLiteral("waiting for gas");
    default:
        return QStringLiteral("fuel state %1").arg(state);
    }
}

void MapRun::sayWhatIsLeft() {
    if (m_foundState < 0 || m_state < 0 || fuelIsBack(m_state))
        return;
    printErr(QStringLiteral("the ECU was last seen on %1; it ran on %2 when the drive began: "
                            "put it back with the fuel switch")
                 .arg(fuelText(m_state), fuelText(m_foundState)));
}

void MapRun::end(int code) {
    if (m_stage == Stage::Ended)
        return;
    m_stage = Stage::Ended;
    m_ticks.stop();
    m_link.poll.stopWatchdog();
    m_link.poll.stop();
    Q_EMIT done(code);
}
