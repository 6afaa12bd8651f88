#include "ui/page_parts.h"

#include "link/link.h"
#include "ui/app_context.h"
#include "ui/form.h"
#include "ui/screens.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pageparts {

void fitScreenArea(Form *page) {
    page->setMinimumSize(1024, 624);
}

void enlarge(QWidget *cell) {
    QFont f = cell->font();
    f.setPointSizeF(f.pointSizeF() + 1.5);
    cell->setFont(f);
    cell->setMinimumHeight(30);
}

QLabel *title(const QString &name, const QString &text, QWidget *parent) {
    QLabel *l = label(name, text, parent);
    QFont f = l->font();
    f.setPointSizeF(f.pointSizeF() * 1.6);
    f.setBold(true);
    l->setFont(f);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

QLabel *label(const QString &name, const QString &caption, QWidget *parent) {
    auto *l = new QLabel(caption, parent);
    l->setObjectName(name);
    return l;
}

QPushButton *button(const QString &name, const QString &caption, QWidget *parent) {
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setMinimumHeight(30);
    return b;
}

QGroupBox *frame(const QString &name, const QString &caption, QWidget *parent) {
    auto *g = new QGroupBox(caption, parent);
    g->setObjectName(name);
    return g;
}

QVBoxLayout *parametersFrame(QVBoxLayout *column, const QString &titleText, QWidget *page) {
    column->addWidget(title(QStringLiteral("Label1"), titleText, page));
    QGroupBox *parametres =
        frame(QStringLiteral("FrameParametres"), QStringLiteral(" Parametres"), page);
    column->addWidget(parametres);
    auto *inside = new QVBoxLayout(parametres);
    inside->setContentsMargins(6, 6, 6, 6);
    inside->setSpacing(14);
    return inside;
}

QLineEdit *display(const QString &name, int width, QWidget *parent) {
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    e->setAlignment(Qt::AlignCenter);
    e->setFixedWidth(width);
    return e;
}

Download download(QWidget *parent) {
    Download d;
    d.frame = frame(QStringLiteral("FrameDownload"), QStringLiteral("Download"), parent);
    d.BoutonCentrale =
        button(QStringLiteral("BoutonCentrale"), QStringLiteral("PC -->> Centrale"), d.frame);
    d.BoutonPC = button(QStringLiteral("BoutonPC"), QStringLiteral("Centrale -->> PC"), d.frame);
    auto *row = new QHBoxLayout(d.frame);
    row->addWidget(d.BoutonCentrale);
    row->addWidget(d.BoutonPC);
    return d;
}

QLayout *bottomRow(QPushButton *previous, QGroupBox *downloadFrame, QPushButton *next) {
    auto *row = new QHBoxLayout;
    if (previous)
        row->addWidget(previous, 0, Qt::AlignBottom);
    row->addStretch(1);
    row->addWidget(downloadFrame);
    row->addStretch(1);
    if (next)
        row->addWidget(next, 0, Qt::AlignBottom);
    else if (previous)
        row->addSpacing(previous->sizeHint().width());
    return row;
}

void setCaption(QLabel *l, const QString &text) {
    if (l->text() != text)
        l->setText(text);
}

void setText(QLineEdit *field, const QString &text) {
    if (field->text() != text)
        field->setText(text);
}

} // namespace pageparts
