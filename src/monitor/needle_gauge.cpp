#include "monitor/needle_gauge.h"

#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {
constexpr double Rad = 3.14159265358979323846 / 180.0;
constexpr double Bezel = 90.0;
constexpr double FaceRadius = 84.0;
constexpr double TickOuter = 81.0;
constexpr double MajorInner = 70.0;
constexpr double MinorInner = 75.0;
constexpr double LabelRadius = 58.0;

QPointF at(QPointF c, double radius, double degrees) {
    return {c.x() + radius * std::cos(degrees * Rad), c.y() + radius * std::sin(degrees * Rad)};
}

QString markText(double value) {
    return QString::number(value, 'g', 3);
}
} // namespace

NeedleGauge::NeedleGauge(const QString &name, const gauge::Scale &scale, Face face, QWidget *parent)
    : QWidget(parent), m_scale(scale), m_face(std::move(face)) {
    setObjectName(name);
    setFixedSize(Width, Height);
}

void NeedleGauge::setValue(int value) {
    if (m_hasNeedle && value == m_value)
        return; // the same needle is already there
    const QRect before = m_hasNeedle ? needleRect() : QRect();
    m_value = value;
    m_hasNeedle = true;
    update(before.united(needleRect()));
}

gauge::Needle NeedleGauge::needle() const {
    return gauge::needle(m_scale, m_value, width(), height());
}

QRect NeedleGauge::needleRect() const {
    const gauge::Needle n = needle();
    const QPolygonF corners({n.tip, n.tailP, n.tailQ});
    return corners.boundingRect().toAlignedRect().adjusted(-2, -2, 2, 2);
}

void NeedleGauge::setCaption(QLabel *caption) {
    m_caption = caption;
    caption->setParent(this);
    caption->setAlignment(Qt::AlignCenter);
    caption->setFixedSize(56, 20);
    caption->setAutoFillBackground(true);
    caption->setFrameShape(QFrame::Panel);
    caption->setFrameShadow(QFrame::Sunken);
    QPalette pal = caption->palette();
    pal.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
    pal.setColor(QPalette::WindowText, QColor(0xF0, 0xF0, 0xE0));
    caption->setPalette(pal);
    QFont f = caption->font();
    f.setBold(true);
    caption->setFont(f);
    placeCaption();
}

void NeedleGauge::placeCaption() {
    if (!m_caption)
        return;
    const QPointF c = gauge::centre(width(), height());
    m_caption->move(qRound(c.x()) - m_caption->width() / 2, qRound(c.y()) + 44);
}

void NeedleGauge::resizeEvent(QResizeEvent *) {
    m_faceCache = QPixmap();
    placeCaption();
}

void NeedleGauge::paintEvent(QPaintEvent *event) {
    const qreal dpr = devicePixelRatioF();
    if (m_faceCache.isNull() || m_faceCache.devicePixelRatio() != dpr) {
        m_faceCache = QPixmap(size() * dpr);
        m_faceCache.setDevicePixelRatio(dpr);
        m_faceCache.fill(Qt::transparent);
        QPainter fp(&m_faceCache);
        paintFace(fp);
    }
    QPainter p(this);
    const QRect dirty = event->rect();
    p.drawPixmap(dirty, m_faceCache,
                 QRectF(dirty.topLeft() * dpr, dirty.size() * dpr).toAlignedRect());
    if (!m_hasNeedle)
        return;
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const gauge::Needle n = needle();
    p.drawLine(n.tailP, n.tip);
    p.drawLine(n.tailQ, n.tip);
    p.drawLine(n.tailQ, n.tailP);
}

void NeedleGauge::paintFace(QPainter &p) const {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QPointF c = gauge::centre(width(), height());

    // Bezel and face.
    QRadialGradient ring(c, Bezel);
    ring.setColorAt(0.88, QColor(0x50, 0x50, 0x50));
    ring.setColorAt(1.0, QColor(0x20, 0x20, 0x20));
    p.setPen(Qt::NoPen);
    p.setBrush(ring);
    p.drawEllipse(c, Bezel, Bezel);
    QRadialGradient face(c - QPointF(20, 25), FaceRadius * 1.4);
    face.setColorAt(0.0, QColor(0xFF, 0xFE, 0xF6));
    face.setColorAt(1.0, QColor(0xE4, 0xE0, 0xD2));
    p.setBrush(face);
    p.drawEllipse(c, FaceRadius, FaceRadius);

    const double end = m_scale.fullScale * m_face.unitsPerInput;
    auto angleOf = [&](double shown) {
        return gauge::scaleAngle(m_scale, shown / m_face.unitsPerInput);
    };

    // Red band at the top of the scale.
    if (m_face.redFrom < end) {
        const double a0 = angleOf(m_face.redFrom);
        const double a1 = angleOf(end);
        QPainterPath band;
        const QRectF outer(c.x() - TickOuter, c.y() - TickOuter, 2 * TickOuter, 2 * TickOuter);
        const QRectF inner(c.x() - MinorInner, c.y() - MinorInner, 2 * MinorInner, 2 * MinorInner);
        // Qt counts angles anticlockwise from 3 o'clock: the negative of ours.
        band.arcMoveTo(outer, -a0);
        band.arcTo(outer, -a0, -(a1 - a0));
        band.arcTo(inner, -a1, a1 - a0);
        band.closeSubpath();
        p.setBrush(QColor(0xD0, 0x20, 0x10));
        p.drawPath(band);
    }

    // Scale marks: minor and major ticks, numbers inside the major ones.
    QFont numbers = font();
    numbers.setPixelSize(12);
    numbers.setBold(true);
    p.setFont(numbers);
    const int minorCount = static_cast<int>(std::floor(end / m_face.minorStep + 1e-9));
    const int perMajor = qMax(1, qRound(m_face.majorStep / m_face.minorStep));
    for (int i = 0; i <= minorCount; ++i) {
        const double shown = i * m_face.minorStep;
        const double a = angleOf(shown);
        const bool major = i % perMajor == 0;
        p.setPen(QPen(QColor(0x10, 0x10, 0x10), major ? 2.2 : 1.0));
        p.drawLine(at(c, major ? MajorInner : MinorInner, a), at(c, TickOuter, a));
        if (!major)
            continue;
        const QPointF l = at(c, LabelRadius, a);
        p.drawText(QRectF(l.x() - 16, l.y() - 8, 32, 16), Qt::AlignCenter,
                   markText(shown / m_face.labelDivisor));
    }

    // Unit, above the caption in the gap.
    QFont unit = font();
    unit.setPixelSize(11);
    p.setFont(unit);
    p.setPen(QColor(0x30, 0x30, 0x30));
    p.drawText(QRectF(c.x() - 45, c.y() + 24, 90, 16), Qt::AlignCenter, m_face.unit);

    // Hub under the needle.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x40, 0x40, 0x40));
    p.drawEllipse(c, 4.0, 4.0);
}
