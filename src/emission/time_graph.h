#pragma once

#include <QWidget>

// Picture1: the emission test's time graph, 0 to 1,200 s across, with the
// vertical cursor Pointeur at the elapsed time.
class TimeGraph : public QWidget {
    Q_OBJECT
  public:
    explicit TimeGraph(QWidget *parent = nullptr);

    // Pointeur x1 = x2 = seconds. A time past the graph's end keeps the
    // cursor off the picture rather than pinned to its edge.
    void setPointeur(double seconds);
    double pointeur() const { return m_seconds; }

    QSize sizeHint() const override { return {600, 120}; }

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    double m_seconds = 0.0;
};
