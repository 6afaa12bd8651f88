#include "pages/battery_gauge.h"

#include "settings/battery_table.h"
#include "ui/colors.h"
#include "ui/shape.h"

#include <QPainter>

namespace {
constexpr int ScaleHeight = 16;
}

BatteryGauge::BatteryGauge(QWidget *parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Picture1"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setMinimumHeight(44);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    BarVolt = new ::Shape(QStringLiteral("BarVolt"), ::Shape::Kind::Rectangle, this);
    BarVolt->setFillColor(colors::Green);
    BarVolt->setGeometry(1, 1, 0, barHeight());
}

int BatteryGauge::barHeight() const {
    return qMax(4, height() - ScaleHeight - 2);
}

int BatteryGauge::barWidth() const {
    return m_width;
}

void BatteryGauge::setReading(int raw) {
    const int w = qMax(0, raw) * StepPixels;
    if (w == m_width)
        return;
    m_width = w;
    BarVolt->setGeometry(1, 1, w, barHeight());
}

void BatteryGauge::resizeEvent(QResizeEvent *event) {
    QFrame::resizeEvent(event);
    BarVolt->setGeometry(1, 1, m_width, barHeight());
}

// A tick and its value every volt along the bottom edge.
void BatteryGauge::paintEvent(QPaintEvent *event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const int top = height() - ScaleHeight;
    const double pixelsPerVolt = StepPixels / battery::volts(1);
    for (int v = 1; v * pixelsPerVolt < width() - 12; ++v) {
        const int x = 1 + static_cast<int>(v * pixelsPerVolt);
        painter.drawLine(x, top - 4, x, top);
        painter.drawText(QRect(x - 20, top, 40, ScaleHeight), Qt::AlignCenter, QString::number(v));
    }
}
