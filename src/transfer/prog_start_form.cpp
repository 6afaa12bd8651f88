#include "transfer/prog_start_form.h"

#include "link/link.h"
#include "ui/app_context.h"
#include "ui/menu.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

ProgStartForm::ProgStartForm(AppContext &app, QWidget *parent)
    : Form(QStringLiteral("FnProgStart"), QStringLiteral("Start Programme"), parent), m_app(app) {
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(24, 16, 24, 20);
    column->setSpacing(14);
    Label1 = new QLabel(QStringLiteral("Obligatory loading of the data"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    QFont f = Label1->font();
    f.setPointSizeF(f.pointSizeF() * 1.2);
    f.setBold(true);
    Label1->setFont(f);
    BoutonPC = new QPushButton(QStringLiteral("     ECU -->> PC     "), this);
    BoutonPC->setObjectName(QStringLiteral("BoutonPC"));
    BoutonPC->setMinimumHeight(36);
    column->addWidget(Label1);
    column->addWidget(BoutonPC);
    connect(BoutonPC, &QPushButton::clicked, this, &ProgStartForm::BoutonPC_Click);
}

void ProgStartForm::Form_Load() {
    m_app.link.setDataLoaded(false);
    place(5200, 3400);
    m_app.menu.setButtonsEnabled(Menu::dataButtons(), false);
}

void ProgStartForm::BoutonPC_Click() {
    m_app.link.StartFullRead();
}
