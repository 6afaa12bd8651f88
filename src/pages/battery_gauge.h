#pragma once

#include <QFrame>

class Shape;

// Picture1: the live battery bar BarVolt over a scale in volts. The bar is
// 75 twips (5 px) wide per step of the battery byte, clipped by the picture.
class BatteryGauge : public QFrame {
    Q_OBJECT
  public:
    explicit BatteryGauge(QWidget *parent = nullptr);

    ::Shape *BarVolt;
    // Pixels per step of the battery byte.
    static constexpr int StepPixels = 5;

    // The bar's width for a battery byte; unchanged widths are left alone.
    void setReading(int raw);
    int barWidth() const;

  protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

  private:
    int barHeight() const;
    int m_width = 0;
};
