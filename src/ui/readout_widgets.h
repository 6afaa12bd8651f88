#pragma once

#include <QLabel>
#include <QWidget>

class QLineEdit;
class Shape;

// A bar of the live screens: a trough with a coloured shape whose width
// the refresh sets in twips (15 to a pixel), as the map and calibration
// screens read it back. Only the strip that changed is repainted.
class LevelBar : public QWidget {
    Q_OBJECT
  public:
    enum class Trough { Framed, Bare };

    LevelBar(const QString &name, int colour, Trough trough, QWidget *parent = nullptr);

    int widthTwips() const { return m_twips; }
    void setWidthTwips(int twips);
    // 0x00BBGGRR, as the screens store colours.
    int fillColor() const;
    void setFillColor(int bgr);

  protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

  private:
    void placeFill();

    Shape *m_fill;
    Trough m_trough;
    int m_twips = 0;
};

// An alarm lamp: a caption on a background whose colour the refresh sets.
class AlarmLamp : public QLabel {
    Q_OBJECT
  public:
    AlarmLamp(const QString &name, const QString &caption, QWidget *parent = nullptr);

    int backColor() const { return m_color; }
    void setBackColor(int bgr);

  private:
    int m_color = -1;
};

// A field the refresh writes and the fitter only reads: right-aligned,
// fixed width, never focused.
QLineEdit *makeReadout(const QString &name, int width, QWidget *parent);
