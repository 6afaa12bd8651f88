#pragma once

// Building blocks of the monitor's layout, shared by its layout files.
#include "ui/numeric_edit.h"
#include "ui/readout_widgets.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace monitorui {

inline constexpr int ValueWidth = 58;
inline constexpr int StepWidth = 24;

inline QGroupBox *group(const QString &name, const QString &title) {
    auto *box = new QGroupBox(title);
    box->setObjectName(name);
    return box;
}

template <typename Layout> Layout *tight(Layout *layout, int margin = 6, int spacing = 4) {
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(spacing);
    return layout;
}

inline QLabel *label(const QString &name, const QString &text, QWidget *parent = nullptr) {
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

inline QPushButton *button(const QString &name, const QString &text, int width = 0) {
    auto *b = new QPushButton(text);
    b->setObjectName(name);
    b->setAutoDefault(false);
    if (width > 0)
        b->setFixedWidth(width);
    return b;
}

// A trim field: non-negative decimals.
inline NumericEdit *trimEdit(const QString &name) {
    auto *edit = new NumericEdit(name, keys::Decimal);
    edit->setFixedWidth(52);
    return edit;
}

// A live bar in its framed trough, of a fixed size.
inline LevelBar *framedBar(const QString &name, int colour, int width, int height) {
    auto *bar = new LevelBar(name, colour, LevelBar::Trough::Framed);
    bar->setFixedSize(width, height);
    return bar;
}

} // namespace monitorui
