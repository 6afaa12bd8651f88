#include "ui/status_strip.h"

#include "ui/colors.h"
#include "ui/geometry.h"
#include "ui/shape.h"

#include <QHBoxLayout>
#include <QLabel>

Etat::Etat(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Etat"));
    setFixedHeight(twips(450));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(6, 3, 6, 3);
    row->setSpacing(8);

    ShapeDialog = new Shape(QStringLiteral("ShapeDialog"), Shape::Kind::Circle, this);
    ShapeDialog->setFixedSize(16, 16);
    ShapeDialog->setFillColor(colors::PureGreen);

    Shape1 = new Shape(QStringLiteral("Shape1"), Shape::Kind::Frame, this);
    auto *linkBox = new QHBoxLayout(Shape1);
    linkBox->setContentsMargins(6, 0, 6, 0);
    BarreEtat = new QLabel(Shape1);
    BarreEtat->setObjectName(QStringLiteral("BarreEtat"));
    linkBox->addWidget(BarreEtat);

    Shape2 = new Shape(QStringLiteral("Shape2"), Shape::Kind::Frame, this);
    auto *fileBox = new QHBoxLayout(Shape2);
    fileBox->setContentsMargins(6, 0, 6, 0);
    Label1 = new QLabel(QStringLiteral("File to charge :"), Shape2);
    Label1->setObjectName(QStringLiteral("Label1"));
    BarreEtat2 = new QLabel(Shape2);
    BarreEtat2->setObjectName(QStringLiteral("BarreEtat2"));
    fileBox->addWidget(Label1);
    fileBox->addWidget(BarreEtat2, 1);

    row->addWidget(ShapeDialog);
    row->addWidget(Shape1, 2);
    row->addWidget(Shape2, 3);
}

void Etat::toggleActivity() {
    ShapeDialog->setFillColor(ShapeDialog->fillColor() == colors::PureGreen ? colors::PureBlue
                                                                            : colors::PureGreen);
}

void Etat::setLinkText(const QString &text) {
    if (BarreEtat->text() != text)
        BarreEtat->setText(text);
}

void Etat::setFileText(const QString &text) {
    if (BarreEtat2->text() != text)
        BarreEtat2->setText(text);
}
