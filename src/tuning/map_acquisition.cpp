#include "tuning/map_acquisition.h"

#include "ecu/live_block.h"
#include "ecu/memory_image.h"
#include "live/monitor_decode.h"
#include "settings/number_format.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
namespace lb = ecu::liveblock;

// A number kept in a 16-bit variable: nearest integer, halves to even,
// held to the 16-bit range instead of overflowing.
qint16 to16(double value) {
    if (std::isnan(value))
        return 0;
    const double r = number::roundHalfEven(value);
    return static_cast<qint16>(std::clamp(r, -32768.0, 32767.0));
}

qint32 to32(double value) {
    const double r = number::roundHalfEven(value);
    return static_cast<qint32>(std::clamp(r, double(std::numeric_limits<qint32>::min()),
                                          double(std::numeric_limits<qint32>::max())));
}
} // namespace

std::optional<double> MapAcquisition::strictNumber(const QString &text) {
    QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    for (const QChar c : t) {
        // Digits, one sign, the point: no exponents, no "inf" or "nan".
        if (!(c.isDigit() && c.unicode() < 128) && c != QLatin1Char('.') && c != QLatin1Char('-') &&
            c != QLatin1Char('+'))
            return std::nullopt;
    }
    bool ok = false;
    const double value = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString MapAcquisition::lambdaText(const MemoryImage &image) {
    return number::format(image.u16(lb::Lambda) / lb::LambdaDivisor);
}

MapAcquisition::Inputs MapAcquisition::inputsFrom(const MemoryImage &image) {
    Inputs in;
    in.txZoom = number::formatPoint(live::injectionMs(live::hi255(image, lb::PetrolTimes)));
    in.TxzoomG = QString::number(live::s8(image.at(lb::GasTemp)));
    in.TxRPM = QString::number(live::displayedSpeed(image));
    in.param5 = QLatin1String(DefaultThreshold);
    in.param4 = QLatin1String(DefaultAdmitPercent);
    in.param6 = QLatin1String(DefaultAdmitMs);
    in.Check1 = in.Check2 = true;
    return in;
}

int MapAcquisition::bandOf(double dep) {
    return std::clamp(static_cast<int>(std::floor(dep / BandWidth)), -32768, 32767);
}

int MapAcquisition::bandValue(const MemoryImage &image) {
    const int raw =
        lb::InjectionHighWeight * image.at(lb::PetrolTimes) + image.at(lb::PetrolTimes + 1);
    return static_cast<int>(std::floor(raw / lb::InjectionDivisor));
}

std::optional<MapAcquisition::Change> MapAcquisition::changeOf(double ti, int prev) {
    if (ti < prev) {
        if (ti <= 0)
            return std::nullopt; // injection stopped: no relative change to speak of
        return Change{to32(prev / ti * 100 - 100), to32(prev - ti)};
    }
    if (prev != 0)
        return Change{to32(ti / prev * 100 - 100), to32(ti - prev)};
    return Change{};
}

// Below the threshold the mixture is lean; crossing it either way counts.
// A lambda exactly at the threshold changes nothing.
bool MapAcquisition::detectCrossing(double threshold, double lambda) {
    bool crossing = false;
    if (LambdaLean == 0 && threshold > lambda) {
        LambdaLean = 1;
        crossing = true;
    }
    if (threshold < lambda && LambdaLean == 1) {
        LambdaLean = 0;
        crossing = true;
    }
    return crossing;
}

MapAcquisition::Step MapAcquisition::step(const Inputs &in, const MemoryImage &image) {
    Step out;
    if (!MapAcquisitionOn)
        return out;
    out.ran = true;
    out.param1 = in.txZoom;
    out.param2 = in.TxzoomG;
    out.param3 = lambdaText(image);
    out.status = MapStatus;

    // Before the first live answer the copied texts may be empty: such a
    // response is skipped, the counters untouched.
    const std::optional<double> zoom = strictNumber(in.txZoom);
    const std::optional<double> dep = strictNumber(in.TxzoomG);
    const std::optional<double> lambda = strictNumber(out.param3);
    if (!zoom || !dep || !lambda)
        return out;
    out.complete = true;

    // The petrol time in 0.01 ms, through its text as the screens hold it.
    const double ti = number::parse(number::format(*zoom * 100));
    if (detectCrossing(number::parse(in.param5), *lambda)) {
        out.crossing = true;
        NoCrossingCount = 0;
        MapStatus = QStringLiteral("Controle");
        out.logLine = logCrossing(in, *dep, ti, image, out);
    } else if (++NoCrossingCount >= QuietLimit) {
        MapStatus = QStringLiteral("hors controle");
        NoCrossingCount = 0;
    }

    const double rpm = number::parse(in.TxRPM);
    followCutOff(ti, rpm);
    LastTi = to16(ti);
    LastRpm = to16(rpm);
    out.status = MapStatus;
    return out;
}

QString MapAcquisition::logCrossing(const Inputs &in, double dep, double ti,
                                    const MemoryImage &image, Step &out) {
    Crossing c;
    c.number = CrossingCount;
    c.dep = in.TxzoomG;
    c.band = bandOf(dep);
    c.ti = to16(ti);
    QString line = QString::number(CrossingCount) + QStringLiteral(" - Dep ") + in.TxzoomG +
                   QStringLiteral(" index =  ") + number::format(std::floor(dep / BandWidth));
    if (CrossingCount < std::numeric_limits<qint16>::max())
        ++CrossingCount; // a very long drive holds the count at its largest value

    bool accepted = true;
    const std::optional<Change> change = changeOf(ti, LastTi);
    if (!change) {
        // The time fell to zero (cut-off): not a steady state, whatever the tests say.
        line += QStringLiteral(" Ti 0 Err ");
        accepted = false;
    } else {
        TiChangePercent = change->percent;
        TiChange = to16(change->absolute);
        c.percent = TiChangePercent;
        c.change = TiChange;
        if (in.Check1) {
            line += QStringLiteral(" Diff % ") + QString::number(TiChangePercent);
            if (number::parse(in.param4) < TiChangePercent) {
                line += QStringLiteral(" Err ");
                accepted = false;
            }
        }
        if (in.Check2) {
            line += QStringLiteral(" Diff ") + number::format(TiChange / 100.0);
            if (number::parse(in.param6) * 100 < TiChange) {
                line += QStringLiteral(" Err ");
                accepted = false;
            }
        }
    }

    if (accepted) {
        const int band = bandOf(dep);
        if (band >= 1 && band <= Bands) {
            const Column column =
                image.at(lb::FuelState) == lb::OnGas ? Column::Gas : Column::Petrol;
            out.recorded = Record{band, column, bandValue(image)};
        }
        out.redraw = true;
    } else {
        line += QStringLiteral(" No-Ok ");
    }
    line += QStringLiteral("\r\n");

    c.accepted = accepted;
    c.recorded = out.recorded;
    m_crossings.append(c);
    if (m_crossings.size() > CrossingsKept)
        m_crossings.removeFirst();
    return line;
}

// Twenty responses with the same speed and time, in a row or not, mean the
// injection is cut: the flag holds until either moves.
void MapAcquisition::followCutOff(double ti, double rpm) {
    if (rpm == LastRpm && ti == LastTi) {
        if (++SteadyCount >= SteadyLimit) {
            SteadyCount = 0;
            CutOffFlag = 1;
        }
    } else {
        CutOffFlag = 0;
    }
    if (CutOffFlag == 1)
        MapStatus = QStringLiteral("Cut OFF");
}
