#include "ui/brand_logo.h"

#include <QPainter>
#include <QPainterPath>

// The brand's mark, drawn by the program: a flame in a ring.
QPixmap brandLogo(const QColor &color, int size) {
    QPixmap pm(72, 72);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(color, 5));
    p.drawEllipse(QRectF(4, 4, 64, 64));
    QPainterPath flame;
    flame.moveTo(36, 14);
    flame.cubicTo(52, 30, 52, 46, 36, 58);
    flame.cubicTo(20, 46, 22, 32, 32, 28);
    flame.cubicTo(30, 36, 34, 42, 38, 44);
    flame.cubicTo(42, 34, 40, 24, 36, 14);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPath(flame);
    p.end();
    return size == 72 ? pm : pm.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QColor brandColor(int brand) {
    return brand == 1 ? QColor(0, 128, 64) : QColor(0, 96, 160);
}
