#include "pages/parameter_page.h"

#include "link/link.h"
#include "pages/main_parameters_chain.h"
#include "ui/app_context.h"
#include "ui/page_parts.h"
#include "ui/screens.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace {

void turn(AppContext &app, const std::optional<ParameterPage::Turn> &to) {
    if (to)
        goToParameterPage(app, {app.screens.parameterPage(to->page), to->currentPage, to->pollFrame,
                                to->pollingOn});
}

} // namespace

ParameterPage::ParameterPage(const QString &name, const QString &caption, AppContext &app,
                             const Buttons &buttons, QWidget *parent)
    : Form(name, caption, parent), m_app(app), m_buttons(buttons) {}

void ParameterPage::addBottomRow(QVBoxLayout *column) {
    using namespace pageparts;
    const Download d = download(this);
    BoutonCentrale = d.BoutonCentrale;
    BoutonPC = d.BoutonPC;
    if (m_buttons.previous)
        BtPagePreced =
            button(QStringLiteral("BtPagePreced"), QStringLiteral("  << Page Precedante "), this);
    if (m_buttons.next)
        BtPageSuivante =
            button(QStringLiteral("BtPageSuivante"), QStringLiteral("  Page suivante >>"), this);
    column->addLayout(bottomRow(BtPagePreced, d.frame, BtPageSuivante));
    connectButtons();
}

void ParameterPage::connectButtons() {
    const std::pair<QPushButton *, void (ParameterPage::*)()> handlers[] = {
        {BoutonCentrale, &ParameterPage::BoutonCentrale_Click},
        {BoutonPC, &ParameterPage::BoutonPC_Click},
        {BtPagePreced, &ParameterPage::BtPagePreced_Click},
        {BtPageSuivante, &ParameterPage::BtPageSuivante_Click}};
    for (const auto &[b, handler] : handlers) {
        if (b)
            connect(b, &QPushButton::clicked, this, [this, h = handler] { (this->*h)(); });
    }
}

// The whole memory is read. A paused poll is resumed by the watchdog once
// the read has completed.
void ParameterPage::BoutonPC_Click() {
    if (m_buttons.readPausesPoll)
        m_app.link.poll.pauseForTransfer();
    m_app.link.StartFullRead();
}

void ParameterPage::BtPagePreced_Click() {
    turn(m_app, m_buttons.previous);
}

void ParameterPage::BtPageSuivante_Click() {
    turn(m_app, m_buttons.next);
}
