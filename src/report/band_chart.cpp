#include "report/band_chart.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>
#include <optional>

namespace bandchart {

namespace {
constexpr int GapColumn = 7;

std::optional<double> gapOf(const QStringList &row) {
    bool ok = false;
    const double v = row.value(GapColumn).toDouble(&ok);
    return ok ? std::optional<double>(v) : std::nullopt;
}
} // namespace

void draw(QPainter &painter, const QRectF &area, const QList<QStringList> &bands,
          const QString &title, double unit) {
    painter.save();
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSizeF(7);
    f.setStyleStrategy(QFont::PreferNoShaping); // no ligatures: the text reads as typed
    painter.setFont(f);
    const QFontMetricsF metrics(f, painter.device());
    const double line = metrics.height();

    // The scale: the largest gap rounded up to 5 %, at least 10 %.
    double largest = 0;
    for (const QStringList &row : bands)
        largest = std::max(largest, std::abs(gapOf(row).value_or(0)));
    const double scale = std::max(10.0, std::ceil((largest + 2) / 5) * 5);

    painter.setPen(Qt::black);
    painter.drawText(QRectF(area.left(), area.top(), area.width(), line * 1.3),
                     Qt::AlignLeft | Qt::AlignVCenter, title);
    const double axisWidth = metrics.horizontalAdvance(QStringLiteral("+100 %")) + unit;
    const QRectF plot(area.left() + axisWidth, area.top() + line * 1.6, area.width() - axisWidth,
                      area.height() - line * 3.2);
    const double zero = plot.center().y();
    auto yOf = [&](double percent) { return zero - percent / scale * plot.height() / 2; };

    // Grid lines at the scale's halves, with their values.
    for (double p : {-scale, -scale / 2, 0.0, scale / 2, scale}) {
        const double y = yOf(p);
        painter.setPen(QPen(p == 0 ? QColor(0, 0, 0) : QColor(185, 185, 185),
                            p == 0 ? unit * 0.3 : unit * 0.12,
                            p == 0 ? Qt::SolidLine : Qt::DashLine));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(QColor(70, 70, 70));
        const QString text =
            (p > 0 ? QStringLiteral("+") : QString()) + QString::number(p) + QStringLiteral(" %");
        painter.drawText(QRectF(area.left(), y - line / 2, axisWidth - unit, line),
                         Qt::AlignRight | Qt::AlignVCenter, text);
    }

    const int count = std::max<int>(1, static_cast<int>(bands.size()));
    const double slot = plot.width() / count;
    for (int i = 0; i < bands.size(); ++i) {
        const QStringList &row = bands[i];
        const double x = plot.left() + i * slot;
        painter.setPen(QColor(70, 70, 70));
        painter.drawText(QRectF(x, plot.bottom() + unit * 0.5, slot, line),
                         Qt::AlignHCenter | Qt::AlignTop, row.value(0));
        const std::optional<double> gap = gapOf(row);
        if (!gap) {
            painter.drawText(QRectF(x, zero - line, slot, line), Qt::AlignCenter,
                             QStringLiteral("-"));
            continue;
        }
        const double v = std::clamp(*gap, -scale, scale);
        const QRectF bar = QRectF(QPointF(x + slot * 0.18, yOf(std::max(v, 0.0))),
                                  QPointF(x + slot * 0.82, yOf(std::min(v, 0.0))))
                               .normalized();
        painter.setPen(QPen(Qt::black, unit * 0.15));
        if (v >= 0) {
            painter.setBrush(QColor(110, 110, 110));
        } else {
            QBrush hatch(Qt::black, Qt::BDiagPattern);
            hatch.setTransform(QTransform::fromScale(unit / 3, unit / 3));
            painter.setBrush(hatch);
        }
        painter.drawRect(bar);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(Qt::black);
        const QRectF label = v >= 0 ? QRectF(x - slot / 2, bar.top() - line, slot * 2, line)
                                    : QRectF(x - slot / 2, bar.bottom(), slot * 2, line);
        painter.drawText(label, Qt::AlignCenter, row.value(GapColumn));
    }
    painter.restore();
}

} // namespace bandchart
