#include "map/map_screen.h"

#include "files/last_read.h"
#include "files/restore_points.h"
#include "link/frames.h"
#include "link/link.h"
#include "live/monitor_decode.h"
#include "map/aqui_map_form.h"
#include "map/band_graph.h"
#include "map/proposal_table.h"
#include "settings/number_format.h"
#include "tuning/map_proposal.h"
#include "ui/acknowledgement.h"
#include "ui/app_context.h"
#include "ui/captions.h"
#include "ui/coefficient_grid.h"
#include "ui/dialogs.h"
#include "ui/monitor_controls.h"
#include "ui/screens.h"

#include <QDateTime>
#include <QMdiSubWindow>
#include <QPushButton>

NumericEdit *MapScreen::TxTbCP(int n) const {
    return m_grid->TxTbCP(n);
}

NumericEdit *MapScreen::TxTbCG(int n) const {
    return m_grid->TxTbCG(n);
}

void MapScreen::connectHandlers() {
    auto on = [this](QPushButton *b, void (MapScreen::*handler)()) {
        connect(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
    };
    on(BoutonCentrale, &MapScreen::BoutonCentrale_Click);
    on(BoutonPC, &MapScreen::BoutonPC_Click);
    on(StarMapAqui, &MapScreen::StarMapAqui_Click);
    on(StopMapAqui, &MapScreen::StopMapAqui_Click);
    on(Command1, &MapScreen::Command1_Click);
    on(BtCharge1, &MapScreen::BtCharge1_Click);
    on(BtCharge2, &MapScreen::BtCharge2_Click);
    on(BtRalenti1, &MapScreen::BtRalenti1_Click);
    on(BtRalenti2, &MapScreen::BtRalenti2_Click);
    on(SwitchCommutateur, &MapScreen::SwitchCommutateur_Click);
    on(m_proposal->BtApplyProposal, &MapScreen::ApplyProposal_Click);
    m_grid->setWrite(BoutonCentrale, [this] { BoutonCentrale_Click(); });
    // The graph's backdrop follows the "Dep" table as the fitter types.
    for (int n = 1; n <= 20; ++n)
        connect(TxTbCG(n), &QLineEdit::textChanged, this, [this] {
            showCorrections();
            showProposal();
        });
}

void MapScreen::Form_Load() {
    place(0, 950);
    PutInTaB();
}

void MapScreen::showEvent(QShowEvent *event) {
    Form::showEvent(event);
    PutInTaB();
    showCopies();
}

void MapScreen::PutInTaB() {
    m_grid->PutInTaB(m_app.link.image);
}

void MapScreen::TaBinMemoire() {
    m_grid->TaBinMemoire(m_app.link.image);
}

void MapScreen::TestValeurTableau() {
    m_grid->TestValeurTableau();
}

std::array<int, 20> MapScreen::depEntries() const {
    std::array<int, 20> entries{};
    for (int n = 1; n <= 20; ++n)
        entries.at(std::size_t(n - 1)) = int(number::parse(TxTbCG(n)->text()));
    return entries;
}

void MapScreen::showCorrections() {
    Picture1->setCorrections(depEntries());
}

// Both tables go out with the rest of their block as it stands in the image.
void MapScreen::BoutonCentrale_Click() {
    TaBinMemoire();
    PutInTaB();
    m_app.link.WriteBlock(frames::WriteMainParameters);
}

void MapScreen::BoutonPC_Click() {
    m_app.link.StartFullRead();
}

// A window not yet open goes into the room the screen leaves for it; one
// the fitter has open stays where it is.
void MapScreen::StarMapAqui_Click() {
    AquiMapForm *window = m_app.screens.mapAcquisition;
    window->acquisition().MapAcquisitionOn = true;
    showAcquisitionCopies();
    const bool wasShown = window->isShown();
    window->showForm();
    if (const QRect room = acquisitionRoom(); !wasShown && window->window() && room.isValid())
        window->window()->setGeometry(room);
}

QRect MapScreen::acquisitionRoom() const {
    const QWidget *area = window() ? window()->parentWidget() : nullptr;
    if (!area)
        return {};
    return {m_acquisitionRoom->mapTo(area, QPoint(0, 0)), m_acquisitionRoom->size()};
}

// The acquisition window stays open with what it gathered.
void MapScreen::StopMapAqui_Click() {
    m_app.screens.mapAcquisition->acquisition().MapAcquisitionOn = false;
}

// The trims typed here, held to the monitor's ranges, go into the monitor's
// fields, which the upload encodes: the write carries what the fitter set on
// this screen. Then the extra time and bank 1 go out one per answer.
void MapScreen::Command1_Click() {
    MonitorControls *monitor = m_app.screens.monitorControls;
    m_app.link.poll.pauseForWrite();
    monitor->TxRalenti->setText(live::validatedTrimText(live::Trims[0], TxRalenti->text()));
    monitor->TxCharge->setText(live::validatedTrimText(live::Trims[1], TxCharge->text()));
    m_app.uploadEditedValues();
    m_app.link.StartSequence(ChainStep::ExtraTime);
}

// The trims here step without a key filter or validation; the write clamps.
void MapScreen::BtCharge1_Click() {
    TxCharge->setText(number::format(number::parse(TxCharge->text()) - 0.01));
}

void MapScreen::BtCharge2_Click() {
    TxCharge->setText(number::format(number::parse(TxCharge->text()) + 0.01));
}

void MapScreen::BtRalenti1_Click() {
    TxRalenti->setText(number::format(number::parse(TxRalenti->text()) - 0.02));
}

void MapScreen::BtRalenti2_Click() {
    TxRalenti->setText(number::format(number::parse(TxRalenti->text()) + 0.02));
}

// The same fuel switch as the monitor's: petrol asks for gas, gas goes back.
void MapScreen::SwitchCommutateur_Click() {
    m_app.screens.monitorControls->SwitchCommutateur_Click();
}

void MapScreen::showProposal() {
    if (!m_app.screens.mapAcquisition)
        return; // still being built
    m_proposal->setProposal(mapproposal::propose(depEntries(),
                                                 mapproposal::loadTrimOf(m_app.link.image),
                                                 m_app.screens.mapAcquisition->bandStats()));
}

void MapScreen::ApplyProposal_Click() {
    QList<std::pair<int, int>> changes;
    for (int n = 1; n <= 20; ++n) {
        if (const std::optional<int> value = m_proposal->proposed(n))
            changes.append({n, *value});
    }
    if (changes.isEmpty())
        return;
    LastRead &ecu = LastRead::of(m_app.link);
    QString error;
    ecu.restorePoint = RestorePoints().save(ecu.bytes(), QDateTime::currentDateTime(), &error);
    if (ecu.restorePoint.isEmpty()) {
        m_app.dialogs.warning(captions::text(captions::RestorePointNotSaved) + error +
                              QLatin1Char(' '));
        return;
    }
    if (m_app.restorePointMade)
        m_app.restorePointMade(ecu.restorePoint);
    for (const auto &[n, value] : changes)
        TxTbCG(n)->setText(QString::number(value));
    BoutonCentrale_Click();
    const std::array<int, 20> written = depEntries();
    acknowledgement::whenAcknowledged(
        m_app.link, acknowledgement::Write::Block, this,
        [this, written] { Q_EMIT proposalWritten(QList<int>(written.begin(), written.end())); });
}
