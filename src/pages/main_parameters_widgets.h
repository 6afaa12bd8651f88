#pragma once

#include <QSize>
#include <QString>

class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Building blocks of the parameter pages' layouts: captioned frames, field
// grids, step buttons, units, read-only result fields.
namespace pagelayout {

inline constexpr int FieldWidth = 86;
inline constexpr int RowHeight = 34;
// The screen area below the menu bar, less a small margin.
inline constexpr QSize PageSize(1020, 614);

// Size and font of a parameter page: it fills the screen area, in a type a
// little larger than the desktop's so it reads at arm's length.
void setUpPage(QWidget *page);

// A frame with a caption, as the fitter knows the groups of settings.
QGroupBox *frame(const char *name, const char *caption);
// A grid of field rows inside a frame: caption, minus, field, plus, unit.
QGridLayout *fieldGrid(QGroupBox *frame);
QPushButton *button(const char *name, const char *caption);
// A small minus or plus button beside its field.
QPushButton *stepButton(const char *name, const QString &text);
QComboBox *combo(const char *name);
// A wider read-only field for a long computed number.
QLineEdit *resultField(const char *name, int width);
// A field the page computes or the refresh fills; the fitter cannot edit it.
QLineEdit *computedField(const char *name);
// A unit shown beside a value.
QLabel *unit(const char *text);
// A caption written on two lines.
QWidget *twoLines(QLabel *first, QLabel *second);
// The two ends of a field's range, under it.
QWidget *rangeScale(QLabel *low, QLabel *high);

} // namespace pagelayout
