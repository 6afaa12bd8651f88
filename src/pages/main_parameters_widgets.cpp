#include "pages/main_parameters_widgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pagelayout {

namespace {
QFont smaller(QFont font) {
    font.setPointSizeF(font.pointSizeF() * 0.9);
    return font;
}
} // namespace

void setUpPage(QWidget *page) {
    QFont font = page->font();
    font.setPointSizeF(font.pointSizeF() * 1.25);
    page->setFont(font);
    page->setMinimumSize(PageSize);
}

QGroupBox *frame(const char *name, const char *caption) {
    auto *box = new QGroupBox(QString::fromLatin1(caption));
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QGridLayout *fieldGrid(QGroupBox *frame) {
    auto *grid = new QGridLayout(frame);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(16);
    grid->setColumnStretch(0, 1);
    grid->setColumnMinimumWidth(4, 36);
    return grid;
}

QPushButton *button(const char *name, const char *caption) {
    auto *b = new QPushButton(QString::fromLatin1(caption));
    b->setObjectName(QString::fromLatin1(name));
    b->setMinimumHeight(RowHeight + 4);
    return b;
}

QPushButton *stepButton(const char *name, const QString &text) {
    auto *b = new QPushButton(text);
    b->setObjectName(QString::fromLatin1(name));
    b->setFixedSize(RowHeight, RowHeight);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QComboBox *combo(const char *name) {
    auto *c = new QComboBox;
    c->setObjectName(QString::fromLatin1(name));
    c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    c->setMinimumHeight(RowHeight);
    return c;
}

QLineEdit *computedField(const char *name) {
    return resultField(name, FieldWidth);
}

QLineEdit *resultField(const char *name, int width) {
    auto *f = new QLineEdit;
    f->setObjectName(QString::fromLatin1(name));
    f->setReadOnly(true);
    f->setFocusPolicy(Qt::NoFocus);
    f->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    f->setFixedSize(width, RowHeight);
    QPalette p = f->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Window));
    f->setPalette(p);
    return f;
}

QLabel *unit(const char *text) {
    auto *l = new QLabel(QString::fromUtf8(text));
    l->setObjectName(QStringLiteral("Unit"));
    return l;
}

QWidget *twoLines(QLabel *first, QLabel *second) {
    auto *w = new QWidget;
    auto *box = new QVBoxLayout(w);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    box->addWidget(first);
    box->addWidget(second);
    return w;
}

QWidget *rangeScale(QLabel *low, QLabel *high) {
    auto *w = new QWidget;
    auto *row = new QHBoxLayout(w);
    row->setContentsMargins(0, 0, 0, 0);
    for (QLabel *l : {low, high}) {
        l->setFont(smaller(l->font()));
        QPalette p = l->palette(); // dimmed: a scale, not a value
        p.setColor(QPalette::WindowText,
                   p.color(QPalette::Disabled, QPalette::WindowText).darker(140));
        l->setPalette(p);
    }
    row->addWidget(low);
    row->addStretch(1);
    row->addWidget(high);
    return w;
}

} // namespace pagelayout
