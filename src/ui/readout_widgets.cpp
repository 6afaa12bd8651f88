#include "ui/readout_widgets.h"

#include "ui/colors.h"
#include "ui/geometry.h"
#include "ui/shape.h"

#include <QLineEdit>
#include <QPainter>

LevelBar::LevelBar(const QString &name, int colour, Trough trough, QWidget *parent)
    : QWidget(parent),
      m_fill(new Shape(name + QStringLiteral("Fill"), Shape::Kind::Rectangle, this)),
      m_trough(trough) {
    setObjectName(name);
    m_fill->setFillColor(colour);
    m_fill->hide();
}

void LevelBar::setWidthTwips(int twips) {
    if (twips == m_twips)
        return;
    m_twips = twips;
    placeFill();
}

int LevelBar::fillColor() const {
    return m_fill->fillColor();
}

void LevelBar::setFillColor(int bgr) {
    m_fill->setFillColor(bgr);
}

void LevelBar::placeFill() {
    const int inset = m_trough == Trough::Framed ? 2 : 0;
    const int room = qMax(0, width() - 2 * inset);
    const int pixels = qBound(0, twips(m_twips), room);
    if (pixels == 0) {
        m_fill->hide();
        return;
    }
    // Moving a child repaints only the strip between its old and new edge.
    m_fill->setGeometry(inset, inset, pixels, qMax(1, height() - 2 * inset));
    m_fill->show();
}

void LevelBar::resizeEvent(QResizeEvent *) {
    placeFill();
}

void LevelBar::paintEvent(QPaintEvent *) {
    if (m_trough == Trough::Bare)
        return;
    QPainter p(this);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.setBrush(QColor(0xF7, 0xF7, 0xF2));
    p.drawRect(r);
}

AlarmLamp::AlarmLamp(const QString &name, const QString &caption, QWidget *parent)
    : QLabel(caption, parent) {
    setObjectName(name);
    setAlignment(Qt::AlignCenter);
    setAutoFillBackground(true);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    QFont f = font();
    f.setBold(true);
    setFont(f);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);
    setBackColor(colors::Green);
}

void AlarmLamp::setBackColor(int bgr) {
    if (bgr == m_color)
        return;
    m_color = bgr;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, bgrColor(bgr));
    setPalette(pal);
}

QLineEdit *makeReadout(const QString &name, int width, QWidget *parent) {
    auto *field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus);
    field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    field->setFixedWidth(width);
    return field;
}
