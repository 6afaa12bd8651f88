#pragma once

#include <QByteArrayView>
#include <QString>

class Form;
class QGroupBox;
class QVBoxLayout;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QWidget;
struct AppContext;

// Pieces the table pages (coefficients, NTC, battery, lambda) share: their
// look, property writes that skip unchanged values, and the turn from one
// parameter page to the next.
namespace pageparts {

// The size of a parameter page: the whole screen area below the menu bar.
void fitScreenArea(Form *page);

QLabel *title(const QString &name, const QString &text, QWidget *parent);
QLabel *label(const QString &name, const QString &caption, QWidget *parent);
QPushButton *button(const QString &name, const QString &caption, QWidget *parent);
QGroupBox *frame(const QString &name, const QString &caption, QWidget *parent);
// The heading every table page starts with: its title and the " Parametres"
// frame under it. Returns the frame's layout, where the page puts its content.
QVBoxLayout *parametersFrame(QVBoxLayout *column, const QString &titleText, QWidget *page);
// A table cell: a size larger than the default, readable across a workshop.
void enlarge(QWidget *cell);
// A read-only field for a value the page only shows.
QLineEdit *display(const QString &name, int width, QWidget *parent);

// The frame "Download" with the page's two transfer buttons.
struct Download {
    QGroupBox *frame;
    QPushButton *BoutonCentrale; // PC to ECU
    QPushButton *BoutonPC;       // ECU to PC
};
Download download(QWidget *parent);

// The bottom row: previous-page button, the download frame, next-page button
// (either button may be missing).
QLayout *bottomRow(QPushButton *previous, QGroupBox *downloadFrame, QPushButton *next);

// Writes run on every poll answer: an unchanged value is left alone.
void setCaption(QLabel *label, const QString &text);
void setText(QLineEdit *field, const QString &text);

} // namespace pageparts
