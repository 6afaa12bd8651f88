#include "map/band_graph.h"

#include "tuning/map_curves.h"
#include "ui/colors.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {
constexpr int CorrectionColour = 0xF4E4D0; // pale blue, 0x00BBGGRR
constexpr double CorrectionFullScale = 255;
} // namespace

BandGraph::BandGraph(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Picture1"));
    setMinimumSize(330, 200);
}

// Small enough that the map screen fits its 1024 x 624 area; the picture is
// drawn in its own units and stretched over whatever room it gets.
QSize BandGraph::sizeHint() const {
    return {400, 220};
}

void BandGraph::drawCurves(const std::array<double, 20> &gas,
                           const std::array<double, 20> &petrol) {
    m_gas = gas;
    m_petrol = petrol;
    m_drawn = true;
    update();
}

void BandGraph::setCorrections(const std::array<int, 20> &entries) {
    if (entries == m_corrections)
        return;
    m_corrections = entries;
    update();
}

void BandGraph::paintEvent(QPaintEvent *) {
    using namespace mapcurve;
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setRenderHint(QPainter::Antialiasing);
    // The picture's own units, stretched over the widget.
    p.scale(width() / Width, height() / Height);

    // Correction entries: a pale column per band, its number on top.
    QFont small = font();
    small.setPixelSize(9);
    p.setFont(small);
    for (int k = 1; k <= 20; ++k) {
        const int entry = m_corrections.at(std::size_t(k - 1));
        const double top = BaseY - (BaseY - 20) * qBound(0, entry, 255) / CorrectionFullScale;
        const QRectF column(mapcurve::x(k) - 10, top, 20, BaseY - top);
        p.fillRect(column, bgrColor(CorrectionColour));
        p.setPen(QColor(0x70, 0x80, 0xA0));
        p.drawText(QRectF(mapcurve::x(k) - 12, top - 11, 24, 10), Qt::AlignCenter,
                   QString::number(entry));
        p.setPen(QColor(0x60, 0x60, 0x60));
        p.drawText(QRectF(mapcurve::x(k) - 12, BaseY + 1, 24, 9), Qt::AlignCenter,
                   QString::number(5 * k));
    }

    // Time grid: a line a millisecond, a label every five.
    for (int ms = 0; ms * UnitsPerMs <= BaseY; ++ms) {
        const double y0 = mapcurve::y(ms * 100.0);
        p.setPen(QPen(QColor(ms % 5 == 0 ? 0xC8 : 0xE8, ms % 5 == 0 ? 0xC8 : 0xE8, 0xE8), 0));
        p.drawLine(QPointF(0, y0), QPointF(Width, y0));
        if (ms % 5 == 0 && ms > 0) {
            p.setPen(QColor(0x60, 0x60, 0x60));
            p.drawText(QRectF(Width - 22, y0 - 10, 20, 10), Qt::AlignRight, QString::number(ms));
        }
    }

    if (!m_drawn)
        return;
    // Gas first, then petrol over it.
    const std::pair<const std::array<double, 20> *, int> columns[] = {{&m_gas, GasColour},
                                                                      {&m_petrol, PetrolColour}};
    for (const auto &[values, colour] : columns) {
        p.setPen(QPen(bgrColor(colour), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        for (const QLineF &line : segments(*values))
            p.drawLine(line);
        // A dot on every filled band, so one between two gaps still shows.
        p.setBrush(bgrColor(colour));
        for (int k = 1; k <= 20; ++k) {
            const double v = values->at(std::size_t(k - 1));
            if (!std::isnan(v))
                p.drawEllipse(QPointF(mapcurve::x(k), mapcurve::y(v)), 2.0, 2.0);
        }
        p.setBrush(Qt::NoBrush);
    }
}

PointerStrip::PointerStrip(const QString &name, double originTwips, double twipsPerEntry,
                           QWidget *parent)
    : QWidget(parent), m_origin(originTwips), m_perEntry(twipsPerEntry) {
    setObjectName(name);
    setFixedHeight(9);
}

void PointerStrip::setLeftTwips(int twips) {
    if (twips == m_left)
        return;
    m_left = twips;
    update();
}

void PointerStrip::paintEvent(QPaintEvent *) {
    if (m_fields.size() < 2)
        return;
    // Entry position of the pointer, 1 = under the first field.
    const double entry = (m_left - m_origin) / m_perEntry;
    auto centre = [this](int i) {
        const QWidget *f = m_fields.at(qBound(0, i, int(m_fields.size()) - 1));
        return mapFromGlobal(f->mapToGlobal(QPoint(f->width() / 2, 0))).x();
    };
    const int below = int(std::floor(entry)) - 1;
    const double frac = entry - std::floor(entry);
    double px;
    if (below < 0)
        px = centre(0) - (centre(1) - centre(0)) * (1 - entry);
    else if (below >= m_fields.size() - 1)
        px = centre(int(m_fields.size()) - 1) +
             (centre(int(m_fields.size()) - 1) - centre(int(m_fields.size()) - 2)) *
                 (entry - m_fields.size());
    else
        px = centre(below) + (centre(below + 1) - centre(below)) * frac;
    px = qBound(0.0, px, double(width() - 1));

    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath arrow;
    arrow.moveTo(px, 0);
    arrow.lineTo(px - 5, height());
    arrow.lineTo(px + 5, height());
    arrow.closeSubpath();
    p.fillPath(arrow, QColor(0xD0, 0x30, 0x20));
}
