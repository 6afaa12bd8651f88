#pragma once

#include "monitor/gauge_geometry.h"

#include <QPixmap>
#include <QWidget>

class QLabel;

// A round dial painted by the program: a face with its scale (drawn once
// and kept), and over it the needle, redrawn only when its input changes.
// The value caption the refresh writes sits in the gap at the bottom.
class NeedleGauge : public QWidget {
    Q_OBJECT
  public:
    // How the face is marked, in the units shown on the dial.
    struct Face {
        double unitsPerInput; // 45 rpm, 1 degree C, 0.01 bar
        double minorStep;
        double majorStep;
        double labelDivisor; // a major mark is labelled value / divisor
        double redFrom;      // start of the red band; beyond the end: none
        QString unit;
    };

    // Picture box of 2850 x 2760 twips: 190 x 184 pixels.
    static constexpr int Width = 190;
    static constexpr int Height = 184;

    NeedleGauge(const QString &name, const gauge::Scale &scale, Face face,
                QWidget *parent = nullptr);

    // Sets the input and draws the needle for it (the previous needle goes).
    void setValue(int value);
    int value() const { return m_value; }
    bool hasNeedle() const { return m_hasNeedle; }
    float angle() const { return gauge::needleAngle(m_scale, m_value); }
    gauge::Needle needle() const;

    // The caption field that shows the value as text, placed on the dial.
    void setCaption(QLabel *caption);

  protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

  private:
    QRect needleRect() const;
    void paintFace(QPainter &p) const;
    void placeCaption();

    gauge::Scale m_scale;
    Face m_face;
    QPixmap m_faceCache;
    QLabel *m_caption = nullptr;
    int m_value = 0;
    bool m_hasNeedle = false;
};
