#pragma once

#include <QWidget>

// A filled shape whose colour, position and width are set at run time: the
// activity light, the bars of the live screens, frames.
class Shape : public QWidget {
    Q_OBJECT
  public:
    enum class Kind { Rectangle, Circle, Frame };

    explicit Shape(const QString &name, Kind kind = Kind::Rectangle, QWidget *parent = nullptr);

    // 0x00BBGGRR, as the screens store colours.
    int fillColor() const { return m_color; }
    void setFillColor(int bgr);

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    Kind m_kind;
    int m_color = 0xFFFFFF;
};
