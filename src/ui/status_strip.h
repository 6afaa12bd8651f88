#pragma once

#include <QWidget>

class QLabel;
class Shape;

// The status strip "Etat" at the bottom of the main window: the link state,
// the activity light that turns at every processed frame, and the name of
// the configuration on the screens.
class Etat : public QWidget {
    Q_OBJECT
  public:
    explicit Etat(QWidget *parent = nullptr);

    QLabel *BarreEtat;
    QLabel *Label1;
    QLabel *BarreEtat2;
    Shape *ShapeDialog;
    Shape *Shape1;
    Shape *Shape2;

    // Pure green becomes pure blue, anything else pure green.
    void toggleActivity();
    void setLinkText(const QString &text);
    void setFileText(const QString &text);
};
