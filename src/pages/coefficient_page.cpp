#include "pages/coefficient_page.h"

#include "link/frames.h"
#include "link/link.h"
#include "ui/app_context.h"
#include "ui/coefficient_grid.h"
#include "ui/page_parts.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace pageparts;

CoefficientPage::CoefficientPage(AppContext &app, QWidget *parent)
    : ParameterPage(QStringLiteral("FnParametres3"), QStringLiteral("Coefficient tables"), app,
                    {.previous = Turn{1, 1, frames::MonitorPoll, std::nullopt},
                     .next = Turn{4, 4, frames::SecondLivePoll, true}},
                    parent) {
    fitScreenArea(this);
    auto *column = new QVBoxLayout(this);
    QVBoxLayout *inside = parametersFrame(column, QStringLiteral("TABLEAUX"), this);
    m_grid = new CoefficientGrid(inside->parentWidget());
    inside->addWidget(m_grid);
    column->addStretch(1);

    addBottomRow(column);
    m_grid->setWrite(BoutonCentrale, [this] { BoutonCentrale_Click(); });
    m_grid->followWrites(m_app.link);
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

void CoefficientPage::showEvent(QShowEvent *event) {
    ParameterPage::showEvent(event);
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
