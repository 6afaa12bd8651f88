#include "ui/shape.h"

#include "ui/colors.h"

#include <QPainter>

Shape::Shape(const QString &name, Kind kind, QWidget *parent) : QWidget(parent), m_kind(kind) {
    setObjectName(name);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void Shape::setFillColor(int bgr) {
    if (bgr == m_color)
        return;
    m_color = bgr;
    update();
}

void Shape::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(palette().color(QPalette::Dark), 1));
    switch (m_kind) {
    case Kind::Frame:
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r, 3, 3);
        break;
    case Kind::Circle:
        p.setBrush(bgrColor(m_color));
        p.drawEllipse(r);
        break;
    case Kind::Rectangle:
        p.setBrush(bgrColor(m_color));
        p.drawRect(r);
        break;
    }
}
