// The monitor's handlers: the poll watchdog's status texts, the blink
// timer, the alarm, fuel and pressure-memory buttons, the trims with their
// validation and step buttons, and the two write buttons that chain their
// blocks through the link's sequencer.
#include "monitor/monitor_screen.h"

#include "link/frames.h"
#include "link/link.h"
#include "live/monitor_decode.h"
#include "settings/number_format.h"
#include "ui/app_context.h"
#include "ui/dialogs.h"
#include "ui/form.h"
#include "ui/numeric_edit.h"
#include "ui/readout_widgets.h"
#include "ui/screens.h"
#include "ui/status_strip.h"

#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

namespace {
constexpr int BlinkOn = 192;
} // namespace

MonitorScreen::MonitorScreen(AppContext &app, QWidget *parent)
    : Form(QStringLiteral("FnMoniteur"), QStringLiteral("Monitor"), parent), m_app(app) {
    buildLayout();
    couleurTimer.setInterval(800);
    connectHandlers();
    connect(&app.link, &Link::dataDecoded, this, [this] { setLiveStale(false); });
    // The lamps blink for the whole run of the program.
    couleurTimer.start();
}

void MonitorScreen::Form_Load() {
    place(0, 950);
}

void MonitorScreen::showEvent(QShowEvent *event) {
    Form::showEvent(event);
    // The panel fills the screen area below its top edge.
    QMdiSubWindow *frame = window();
    if (frame && frame->mdiArea()) {
        const QSize room = frame->mdiArea()->viewport()->size() - QSize(frame->x(), frame->y());
        frame->resize(room.expandedTo(frame->sizeHint()));
    }
}

std::array<NumericEdit *, 5> MonitorScreen::trimFields() const {
    // In the order of live::Trims, which is the order the validation checks.
    return {TxRalenti, TxCharge, TxRalentiB, TxChargeB, TxTIExclu};
}

void MonitorScreen::connectHandlers() {
    connect(&couleurTimer, &QTimer::timeout, this, &MonitorScreen::couleurTimer_Timer);
    connect(BtResetAlarme, &QPushButton::clicked, this, &MonitorScreen::BtResetAlarme_Click);
    connect(SwitchCommutateur, &QPushButton::clicked, this,
            &MonitorScreen::SwitchCommutateur_Click);
    connect(RazPrss, &QPushButton::clicked, this, &MonitorScreen::RazPrss_Click);
    connect(EmiStart, &QPushButton::clicked, this, &MonitorScreen::EmiStart_Click);
    connect(BoutonCentrale, &QPushButton::clicked, this, &MonitorScreen::BoutonCentrale_Click);
    connect(BoutonCentraleB, &QPushButton::clicked, this, &MonitorScreen::BoutonCentraleB_Click);
    for (NumericEdit *field : trimFields()) {
        field->setChangeHook([this] { TestValeur1(); });
        // Enter in a trim writes both banks; in the extra time, bank 1 only.
        field->setEnterButton(field == TxTIExclu ? BoutonCentrale : BoutonCentraleB);
    }
    connectStepButtons();
}

// The step buttons only change the text (validated through the change
// hook); the fitter writes with a PC -->> ECM button or Enter.
void MonitorScreen::connectStepButtons() {
    struct Pair {
        QPushButton *minus, *plus;
        NumericEdit *field;
        double step;
    };
    const Pair pairs[] = {{BtCharge1, BtCharge2, TxCharge, live::Trims[1].step},
                          {BtRalenti1, BtRalenti2, TxRalenti, live::Trims[0].step},
                          {BtCharge1B, BtCharge2B, TxChargeB, live::Trims[3].step},
                          {BtRalenti1B, BtRalenti2B, TxRalentiB, live::Trims[2].step},
                          {BtExclu1, BtExclu2, TxTIExclu, live::Trims[4].step}};
    for (const Pair &pair : pairs) {
        StepButtons buttons{pair.field, pair.step, true, {}, {}};
        if (pair.field == TxTIExclu) {
            // The extra time is whole: the point goes into its millisecond copy.
            buttons.pointReplacement = false;
            buttons.validate = [this] {
                TxExclu2->setText(TxExclu2->text().replace(QLatin1Char(','), QLatin1Char('.')));
            };
        }
        connect(pair.minus, &QPushButton::clicked, this, [buttons] { buttons.press(-1); });
        connect(pair.plus, &QPushButton::clicked, this, [buttons] { buttons.press(+1); });
    }
}

void MonitorScreen::TestValeur1() {
    // A clamp rewrites a field, which runs this again: that nested pass is
    // skipped, the one in progress leaves every field corrected.
    if (m_validating)
        return;
    m_validating = true;
    const auto fields = trimFields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        fields[i]->setTextIfChanged(live::validatedTrimText(live::Trims[i], fields[i]->text()));
    const QString ms = live::extraTimeMsText(TxTIExclu->value());
    if (TxExclu2->text() != ms)
        TxExclu2->setText(ms);
    m_validating = false;
}

// The poll watchdog sent the poll again after three silent ticks: the
// status says the ECU went quiet, and how the send went.
void MonitorScreen::pollResent(int error) {
    Link &link = m_app.link;
    setLiveStale(true);
    // Language line 71 fills message 10 as well; until language texts are
    // kept apart, the message serves (default "No Dialogue on COM").
    m_app.etat.setLinkText(link.messages[10] + QString::number(link.state.PortNumber));
    switch (Link::SendError(error)) {
    case Link::SendError::None:
        return;
    case Link::SendError::Failed:
        m_app.etat.setLinkText(QStringLiteral(" --------- "));
        return;
    case Link::SendError::DeviceGone:
        m_app.etat.setLinkText(QStringLiteral(" --------- "));
        m_app.dialogs.warning(QStringLiteral(" Adapter serial not connect "));
        m_app.screens.connection->showForm();
        return;
    }
}

std::vector<QLineEdit *> MonitorScreen::liveReadouts() const {
    std::vector<QLineEdit *> fields{TextTPEau,   TextTPGaz, TextPression, TextLambda, TextRPM,
                                    TextGazEtat, TxLPress,  TxHPress,     txZoom};
    fields.insert(fields.end(), TextE.begin(), TextE.end());
    fields.insert(fields.end(), TextG.begin(), TextG.end());
    return fields;
}

void MonitorScreen::setLiveStale(bool stale) {
    if (stale == m_liveStale)
        return;
    m_liveStale = stale;
    // The gauges, bars and lamps paint their own colours: a fade greys them
    // all. The injection times' bars fade box by box: the trims beside them
    // stay as the fitter edits them.
    std::vector<QWidget *> panels = m_livePanels;
    panels.insert(panels.end(), Picture.begin(), Picture.end());
    for (QWidget *panel : panels) {
        if (!stale) {
            panel->setGraphicsEffect(nullptr);
            continue;
        }
        auto *fade = new QGraphicsOpacityEffect(panel);
        fade->setOpacity(0.35);
        panel->setGraphicsEffect(fade);
    }
    for (QLineEdit *field : liveReadouts())
        field->setEnabled(!stale);
}

void MonitorScreen::couleurTimer_Timer() {
    AlarmBlinkColour = AlarmBlinkColour != 0 ? 0 : BlinkOn;
}

void MonitorScreen::BtResetAlarme_Click() {
    m_app.link.SendLine(frames::ClearAlarms.toByteArray());
}

void MonitorScreen::SwitchCommutateur_Click() {
    // Gas or waiting for gas goes back to petrol; petrol asks for gas.
    const bool onGas = m_app.link.image.at(live::addr::FuelState) != 0;
    m_app.link.SendLine((onGas ? frames::SwitchToPetrol : frames::SwitchToGas).toByteArray());
}

void MonitorScreen::RazPrss_Click() {
    TxHPress->setText(TxPrss->text());
    TxLPress->setText(TxPrss->text());
}

void MonitorScreen::EmiStart_Click() {
    Q_EMIT emissionStartRequested();
}

// Extra time, then bank 1: the sequencer writes the extra time at the next
// answer (normally the one to the poll in flight), bank 1's trims at the one after;
// the link then restarts the watchdog, which resumes the poll.
void MonitorScreen::BoutonCentrale_Click() {
    m_app.link.poll.pauseForWrite();
    m_app.uploadEditedValues();
    m_app.link.StartSequence(ChainStep::ExtraTime);
}

// Bank 2 first, whatever the firmware, then as BoutonCentrale.
void MonitorScreen::BoutonCentraleB_Click() {
    m_app.link.poll.pauseForWrite();
    MemoryImage &image = m_app.link.image;
    image.set(live::Trims[3].address, live::trimByte(live::Trims[3], TxChargeB->value()));
    image.set(live::Trims[2].address, live::trimByte(live::Trims[2], TxRalentiB->value()));
    m_app.uploadEditedValues();
    m_app.link.StartSequence(ChainStep::Bank2Trims);
}

void MonitorScreen::encodeInto(MemoryImage &image) const {
    const auto fields = trimFields();
    const bool twoBanks = image.at(live::addr::Firmware) == live::TwoBankFirmware;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const live::TrimField &trim = live::Trims[i];
        const bool bank2 = fields[i] == TxChargeB || fields[i] == TxRalentiB;
        if (bank2 && !twoBanks)
            continue;
        image.set(trim.address, live::trimByte(trim, fields[i]->value()));
    }
}

void MonitorScreen::applyGasTimesShown(int gasTimesShown) {
    if (gasTimesShown != 0 && gasTimesShown != 1)
        return;
    // The grid closes the gap: the picture boxes move left with the column.
    const bool shown = gasTimesShown == 1;
    for (int i = 0; i < 8; ++i) {
        TextG[i]->setVisible(shown);
        BarG[i]->setVisible(shown);
    }
    for (QLabel *caption : {Label17, Label18, Label17b, Label18b})
        caption->setVisible(shown);
}

void MonitorScreen::applyEmissionTools(int emissionTools) {
    EmiStart->setVisible(emissionTools != 0);
    TxTemps->setVisible(emissionTools != 0);
}
