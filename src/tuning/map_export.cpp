#include "tuning/map_export.h"

#include "settings/number_format.h"

#include <QRegularExpression>

namespace mapexport {

namespace {
// A field's text as a CSV cell: quoted when it holds a separator or a quote.
QByteArray cell(const QString &text) {
    QByteArray out = text.trimmed().toUtf8();
    if (out.contains(',') || out.contains('"') || out.contains('\n') || out.contains('\r')) {
        out.replace("\"", "\"\"");
        out = '"' + out + '"';
    }
    return out;
}

QByteArray optional(const std::optional<int> &value) {
    return value ? QByteArray::number(*value) : QByteArray();
}
} // namespace

QByteArray bandsCsv(const QStringList &petrol, const QStringList &gas,
                    const QStringList &correction) {
    QByteArray out = "band,dep_from,dep_to,petrol_ti_10us,gas_ti_10us,gap_percent,correction\r\n";
    for (int k = 1; k <= MapAcquisition::Bands; ++k) {
        const QString p = petrol.value(k - 1).trimmed();
        const QString g = gas.value(k - 1).trimmed();
        QByteArray gap;
        const double pv = number::parse(p);
        if (!p.isEmpty() && !g.isEmpty() && pv != 0) {
            const double percent = number::roundHalfEven((number::parse(g) / pv - 1) * 1000) / 10;
            gap = number::formatPoint(percent).toUtf8();
        }
        out += QByteArray::number(k) + ',' + QByteArray::number(MapAcquisition::BandWidth * k) +
               ',' + QByteArray::number(MapAcquisition::BandWidth * (k + 1)) + ',' + cell(p) + ',' +
               cell(g) + ',' + gap + ',' + cell(correction.value(k - 1)) + "\r\n";
    }
    return out;
}

QByteArray crossingsCsv(const QList<MapAcquisition::Crossing> &crossings) {
    QByteArray out =
        "crossing,dep,band,ti_10us,diff_percent,diff_10us,result,column,recorded_10us\r\n";
    for (const MapAcquisition::Crossing &c : crossings) {
        QByteArray column, recorded;
        if (c.recorded) {
            column = c.recorded->column == MapAcquisition::Column::Gas ? "gas" : "petrol";
            recorded = QByteArray::number(c.recorded->value);
        }
        out += QByteArray::number(c.number) + ',' + cell(c.dep) + ',' + QByteArray::number(c.band) +
               ',' + QByteArray::number(c.ti) + ',' + optional(c.percent) + ',' +
               optional(c.change) + ',' + (c.accepted ? "ok" : "rejected") + ',' + column + ',' +
               recorded + "\r\n";
    }
    return out;
}

QList<QStringList> bandSummary(const BandStats &stats) {
    QList<QStringList> rows;
    const QString none = QStringLiteral("-");
    for (int k = 1; k <= MapAcquisition::Bands; ++k) {
        const BandStats::Band &p = stats.at(k, BandStats::Column::Petrol);
        const BandStats::Band &g = stats.at(k, BandStats::Column::Gas);
        auto mean = [&none](const BandStats::Band &b) {
            return b.empty() ? none : QString::number(b.mean / 100, 'f', 2);
        };
        QString diff = none;
        if (!p.empty() && !g.empty() && p.mean > 0) {
            // + 0.0 turns a rounded -0.0 into 0.0, shown "+0.0".
            const double percent = number::roundHalfEven((g.mean / p.mean - 1) * 1000) / 10 + 0.0;
            diff =
                (percent >= 0 ? QStringLiteral("+") : QString()) + QString::number(percent, 'f', 1);
        }
        rows.append({QString::number(k), QString::number(MapAcquisition::BandWidth * k),
                     QString::number(MapAcquisition::BandWidth * (k + 1)), mean(p),
                     QString::number(p.count), mean(g), QString::number(g.count), diff});
    }
    return rows;
}

QByteArray bandSummaryCsv(const BandStats &stats) {
    QByteArray out = "band,dep_from,dep_to,petrol_mean_ms,petrol_count,gas_mean_ms,gas_count,"
                     "diff_percent\r\n";
    for (QStringList row : bandSummary(stats)) {
        row.replaceInStrings(QRegularExpression(QStringLiteral("^-$")), QString()); // empty cells
        out += row.join(QLatin1Char(',')).toUtf8() + "\r\n";
    }
    return out;
}

} // namespace mapexport
