#include "shell/connection_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace connection_icons {

namespace {
constexpr int Size = 56; // drawn large, shown at 28 px, sharp on high-DPI screens

QIcon drawn(const std::function<void(QPainter &)> &draw) {
    QPixmap pixmap(Size, Size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return QIcon(pixmap);
}
} // namespace

QIcon validate() {
    return drawn([](QPainter &p) {
        p.setPen(QPen(QColor(0, 150, 0), 8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPainterPath tick;
        tick.moveTo(10, 30);
        tick.lineTo(23, 43);
        tick.lineTo(46, 13);
        p.drawPath(tick);
    });
}

QIcon refresh() {
    return drawn([](QPainter &p) {
        const QColor blue(20, 90, 190);
        p.setPen(QPen(blue, 7, Qt::SolidLine, Qt::FlatCap));
        p.drawArc(QRectF(10, 10, 36, 36), 60 * 16, 280 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(blue);
        const QPointF head[] = {{34, 2}, {46, 14}, {30, 20}};
        p.drawPolygon(head, 3);
    });
}

QIcon search() {
    return drawn([](QPainter &p) {
        // The plug of a serial adapter ...
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(90, 90, 90));
        p.drawRoundedRect(QRectF(4, 30, 24, 16), 3, 3);
        p.setBrush(QColor(200, 200, 200));
        for (int i = 0; i < 4; ++i)
            p.drawEllipse(QPointF(8.5 + 5 * i, 38), 1.8, 1.8);
        // ... under a magnifying glass.
        p.setPen(QPen(QColor(40, 40, 40), 6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(40, 38), QPointF(52, 51));
        p.setPen(QPen(QColor(40, 40, 40), 4));
        p.setBrush(QColor(170, 210, 255, 160));
        p.drawEllipse(QPointF(32, 24), 14, 14);
    });
}

} // namespace connection_icons
