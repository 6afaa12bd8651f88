#include "emission/time_graph.h"

#include "emission/test_clock.h"

#include <QPainter>

TimeGraph::TimeGraph(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Picture1"));
    setMinimumSize(300, 90);
}

void TimeGraph::setPointeur(double seconds) {
    if (seconds == m_seconds)
        return;
    m_seconds = seconds;
    update();
}

void TimeGraph::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    const int bottom = height() - 16;
    const double perSecond = (width() - 1) / double(testclock::GraphSeconds);
    QFont f = font();
    f.setPointSizeF(f.pointSizeF() * 0.8);
    p.setFont(f);
    // A line every 100 s, labelled every 200 s.
    for (int s = 0; s <= testclock::GraphSeconds; s += 100) {
        const int x = int(s * perSecond + 0.5);
        p.setPen(QColor(0, s % 200 == 0 ? 140 : 80, 0));
        p.drawLine(x, 0, x, bottom);
        if (s % 200 == 0 && s < testclock::GraphSeconds) {
            p.setPen(QColor(0, 200, 0));
            p.drawText(x + 2, height() - 3, QString::number(s));
        }
    }
    for (int y = bottom; y > 0; y -= bottom / 4)
        p.drawLine(0, y, width(), y);
    if (m_seconds < 0 || m_seconds > testclock::GraphSeconds)
        return;
    const int x = int(m_seconds * perSecond + 0.5);
    p.setPen(QPen(Qt::yellow, 2));
    p.drawLine(x, 0, x, bottom);
}
