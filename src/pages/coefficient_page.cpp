#include "pages/coefficient_page.h"

#include "link/frames.h"
#include "link/link.h"
#include "pages/main_parameters_chain.h"
#include "ui/app_context.h"
#include "ui/coefficient_grid.h"
#include "ui/page_parts.h"
#include "ui/screens.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace pageparts;

CoefficientPage::CoefficientPage(AppContext &app, QWidget *parent)
    : Form(QStringLiteral("FnParametres3"), QStringLiteral("Coefficient tables"), parent),
      m_app(app) {
    fitScreenArea(this);
    auto *column = new QVBoxLayout(this);
    QVBoxLayout *inside = parametersFrame(column, QStringLiteral("TABLEAUX"), this);
    m_grid = new CoefficientGrid(inside->parentWidget());
    inside->addWidget(m_grid);
    column->addStretch(1);

    const Download d = download(this);
    BoutonCentrale = d.BoutonCentrale;
    BoutonPC = d.BoutonPC;
    BtPagePreced =
        button(QStringLiteral("BtPagePreced"), QStringLiteral("  << Page Precedante "), this);
    BtPageSuivante =
        button(QStringLiteral("BtPageSuivante"), QStringLiteral("  Page suivante >>"), this);
    column->addLayout(bottomRow(BtPagePreced, d.frame, BtPageSuivante));

    m_grid->setWrite(BoutonCentrale, [this] { BoutonCentrale_Click(); });
    connect(BoutonCentrale, &QPushButton::clicked, this, [this] { BoutonCentrale_Click(); });
    connect(BoutonPC, &QPushButton::clicked, this, [this] { BoutonPC_Click(); });
    connect(BtPagePreced, &QPushButton::clicked, this, [this] { BtPagePreced_Click(); });
    connect(BtPageSuivante, &QPushButton::clicked, this, [this] { BtPageSuivante_Click(); });
}

NumericEdit *CoefficientPage::TxTbCP(int n) const {
    return m_grid->TxTbCP(n);
}

NumericEdit *CoefficientPage::TxTbCG(int n) const {
    return m_grid->TxTbCG(n);
}

void CoefficientPage::Form_Load() {
    PutInTaB();
}

void CoefficientPage::PutInTaB() {
    m_grid->PutInTaB(m_app.link.image);
}

void CoefficientPage::TaBinMemoire() {
    m_grid->TaBinMemoire(m_app.link.image);
}

void CoefficientPage::TestValeurTableau() {
    m_grid->TestValeurTableau();
}

// Only the tables are encoded: the rest of their block goes out as it stands
// in the image, and no further block follows.
void CoefficientPage::BoutonCentrale_Click() {
    TaBinMemoire();
    PutInTaB();
    m_app.link.WriteBlock(frames::WriteMainParameters);
}

void CoefficientPage::BoutonPC_Click() {
    m_app.link.StartFullRead();
}

void CoefficientPage::BtPagePreced_Click() {
    goToParameterPage(m_app,
                      {m_app.screens.parameterPage(1), 1, frames::MonitorPoll, std::nullopt});
}

void CoefficientPage::BtPageSuivante_Click() {
    goToParameterPage(m_app, {m_app.screens.parameterPage(4), 4, frames::SecondLivePoll, true});
}
