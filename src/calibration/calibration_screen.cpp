// The calibration form's handlers: start, stop and leave the sequence,
// show its end, apply and write the trims it found.
#include "calibration/calibration_screen.h"

#include "tuning/trim_plausibility.h"

#include "calibration/calibration_end_form.h"
#include "calibration/calibration_set_form.h"
#include "calibration/trim_steps.h"
#include "link/frames.h"
#include "link/link.h"
#include "live/monitor_decode.h"
#include "settings/number_format.h"
#include "ui/app_context.h"
#include "ui/captions.h"
#include "ui/dialogs.h"
#include "ui/monitor_controls.h"
#include "ui/numeric_edit.h"
#include "ui/readout_widgets.h"
#include "ui/screens.h"

#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

using namespace calibration;

namespace {
QString withPoint(QString text) {
    return text.replace(QLatin1Char(','), QLatin1Char('.'));
}
QString reformatted(const QLineEdit *field) {
    return number::format(number::parse(field->text()));
}
} // namespace

CalibrationScreen::CalibrationScreen(AppContext &app, QWidget *parent)
    : Form(QStringLiteral("FnCalibration"), QStringLiteral("Calibration"), parent), m_app(app),
      m_sequence(app.link, app.CalibrationRunning) {
    buildLayout();
    connectHandlers();
    connectSequence();
}

void CalibrationScreen::Form_Load() {
    place(0, 950);
    BtStCalibration->setEnabled(true);
    BtStCalibrationCh->setEnabled(false);
    BtCalibrationStop->setEnabled(false);
    BarCalibration->setMaximum(10);
    BarCalibration->setValue(0);
}

void CalibrationScreen::showEvent(QShowEvent *event) {
    Form::showEvent(event);
    refreshReadouts();
}

void CalibrationScreen::connectSequence() {
    connect(&m_sequence, &Sequence::actionChanged, TxAction, &QLabel::setText);
    connect(&m_sequence, &Sequence::progressMaximum, this,
            [this](int maximum) { BarCalibration->setMaximum(qMax(0, maximum)); });
    connect(&m_sequence, &Sequence::progressValue, BarCalibration, &QProgressBar::setValue);
    connect(&m_sequence, &Sequence::finished, this, &CalibrationScreen::finished);
    // The main parameters page encodes its fields into the image on every
    // upload: it must not keep showing the zeroed switch-over settings until
    // the next answer, or the next write would store them again.
    connect(&m_sequence, &Sequence::switchSettingsRestored, this,
            &CalibrationScreen::switchSettingsRestored);
    connect(&m_sequence, &Sequence::leftChanged, this, [this](const QString &text) {
        calibrationReset();
        SwitchCommutateur->setEnabled(true);
        m_app.dialogs.warning(text);
    });
}

void CalibrationScreen::connectHandlers() {
    connect(BtStCalibration, &QPushButton::clicked, this,
            &CalibrationScreen::BtStCalibration_Click);
    connect(BtStCalibrationCh, &QPushButton::clicked, this,
            &CalibrationScreen::BtStCalibrationCh_Click);
    connect(BtCalibrationStop, &QPushButton::clicked, this,
            &CalibrationScreen::BtCalibrationStop_Click);
    connect(BtCalibrationSet, &QPushButton::clicked, this,
            &CalibrationScreen::BtCalibrationSet_Click);
    connect(BtCalibrationResults, &QPushButton::clicked, this,
            &CalibrationScreen::BtCalibrationResults_Click);
    connect(SwitchCommutateur, &QPushButton::clicked, this,
            &CalibrationScreen::SwitchCommutateur_Click);
    connect(BoutonCentrale, &QPushButton::clicked, this, &CalibrationScreen::BoutonCentrale_Click);
    connect(BTuploadRalenti, &QPushButton::clicked, this,
            &CalibrationScreen::BTuploadRalenti_Click);
    connect(BTuploadCharge, &QPushButton::clicked, this, &CalibrationScreen::BTuploadCharge_Click);
    for (NumericEdit *field : {TxCharge, TxRalenti, TxChargeB, TxRalentiB}) {
        field->setChangeHook([this] { TestValeur1(); });
        field->setEnterButton(BoutonCentrale);
    }
    // Steps 0.01 on the load trims, 0.02 on the idle trims; a decimal comma
    // becomes a point.
    connectTrimSteps({TxCharge, live::Trims[1].step, true, {}, {}}, BtCharge1, BtCharge2);
    connectTrimSteps({TxRalenti, live::Trims[0].step, true, {}, {}}, BtRalenti1, BtRalenti2);
    connectTrimSteps({TxChargeB, live::Trims[3].step, true, {}, {}}, BtCharge1B, BtCharge2B);
    connectTrimSteps({TxRalentiB, live::Trims[2].step, true, {}, {}}, BtRalenti1B, BtRalenti2B);
}

void CalibrationScreen::TestValeur1() {
    if (m_validating)
        return;
    m_validating = true;
    const std::pair<NumericEdit *, int> fields[] = {
        {TxCharge, 1}, {TxRalenti, 0}, {TxChargeB, 3}, {TxRalentiB, 2}};
    for (const auto &[field, trim] : fields)
        field->setTextIfChanged(live::validatedTrimText(live::Trims[trim], field->text()));
    m_validating = false;
}

Inputs CalibrationScreen::stepInputs() const {
    Inputs in;
    in.settings = m_app.screens.calibrationSettings->settings();
    in.waterTemperature = number::parse(TextTPEau->text());
    in.petrolTime = {number::parse(TextE1->text()), number::parse(TextE5->text())};
    const CalibrationEndForm *ends[] = {m_app.screens.calibrationEndBank1,
                                        m_app.screens.calibrationEndBank2};
    for (int bank = 0; bank < 2; ++bank) {
        in.loadTrim[bank] = number::parse(ends[bank]->TxCharge->text());
        in.idleTrim[bank] = number::parse(ends[bank]->TxRalenti->text());
    }
    return in;
}

void CalibrationScreen::refreshCalibration() {
    m_sequence.setLiveTerms(m_app.link.image);
    if (m_app.CalibrationRunning)
        m_sequence.RunCalibrationStep(stepInputs());
}

void CalibrationScreen::BtStCalibration_Click() {
    m_sequence.start(Kind::Idle);
    BtCalibrationResults->setEnabled(false);
    BtStCalibration->setEnabled(false);
    BtCalibrationStop->setEnabled(true);
    for (QPushButton *b : {BtStCalibrationCh, BTuploadCharge, BTuploadRalenti, SwitchCommutateur})
        b->setEnabled(false);
}

// Leaves the idle start, the load start and the load upload as they are.
void CalibrationScreen::BtStCalibrationCh_Click() {
    m_sequence.start(Kind::Load);
    BtCalibrationResults->setEnabled(false);
    BTuploadRalenti->setEnabled(false);
    BtCalibrationStop->setEnabled(true);
    SwitchCommutateur->setEnabled(false);
}

void CalibrationScreen::BtCalibrationStop_Click() {
    m_sequence.stop();
    BtCalibrationResults->setEnabled(true);
    BtCalibrationStop->setEnabled(false);
    BtStCalibration->setEnabled(true);
    SwitchCommutateur->setEnabled(true);
}

void CalibrationScreen::BtCalibrationSet_Click() {
    if (m_app.CalibrationRunning) {
        m_app.dialogs.warning(QStringLiteral(" CALIBRATION STOP "));
        m_sequence.abandon();
    }
    m_app.link.poll.stopWatchdog();
    m_app.link.poll.stop();
    m_app.CalibrationRunning = false;
    calibrationReset();
    m_app.screens.calibrationSettings->showForm();
    hideForm();
}

// The end forms as the last run left them: its results, and the apply
// buttons of its kind. Back with the end form's "Calibration".
void CalibrationScreen::BtCalibrationResults_Click() {
    hideForm();
    m_app.screens.calibrationEndBank1->showForm();
}

// Petrol asks for gas; gas or waiting for it goes back to petrol.
void CalibrationScreen::SwitchCommutateur_Click() {
    m_app.screens.monitorControls->SwitchCommutateur_Click();
}

// The four trims become the monitor's and are written as the monitor's
// second write button writes them: bank 2, the extra time, bank 1.
void CalibrationScreen::BoutonCentrale_Click() {
    MonitorControls *monitor = m_app.screens.monitorControls;
    monitor->TxCharge->setText(TxCharge->text());
    monitor->TxRalenti->setText(TxRalenti->text());
    monitor->TxChargeB->setText(TxChargeB->text());
    monitor->TxRalentiB->setText(TxRalentiB->text());
    monitor->BoutonCentraleB_Click();
}

// The idle offsets from the minima of both banks, load trims kept.
// New trims far from the ECU's come from samples taken off idle or while
// speed or load moved: the fitter sees both and decides.
bool CalibrationScreen::plausibleOrConfirmed(Kind kind) {
    std::array<BankTexts, 2> texts{initialTexts(), initialTexts()};
    const CalibrationEndForm *ends[] = {m_app.screens.calibrationEndBank1,
                                        m_app.screens.calibrationEndBank2};
    for (int bank = 0; bank < 2; ++bank)
        for (Field field : {TxApp1, TxRCHP1})
            texts[bank][field] = ends[bank]->result(field)->text();
    const QList<TrimChange> far = implausibleChanges(m_app.link.image, kind, texts);
    if (far.isEmpty())
        return true;
    return m_app.dialogs.question(
        QStringLiteral(" The new trims differ from the ECU's by more than %1 ms (%2). The "
                       "engine may not have been idling, or its speed or load was unsteady "
                       "while the samples were taken. Write them anyway? ")
            .arg(PlausibleStepMs)
            .arg(describeChanges(far)),
        QString(), Dialogs::Icon::Warning);
}

void CalibrationScreen::BTuploadRalenti_Click() {
    if (!plausibleOrConfirmed(Kind::Idle))
        return;
    CalibrationEndForm *fin = m_app.screens.calibrationEndBank1;
    CalibrationEndForm *fin2 = m_app.screens.calibrationEndBank2;
    BTuploadCharge->setEnabled(false);
    fin->Command4->setEnabled(false);
    BtStCalibrationCh->setEnabled(false);
    fin->TxRalenti->setText(reformatted(fin->result(TxApp1)));
    TxCharge->setText(withPoint(fin->TxCharge->text()));
    TxRalenti->setText(withPoint(fin->TxRalenti->text()));
    fin2->TxRalenti->setText(reformatted(fin2->result(TxApp1)));
    TxChargeB->setText(withPoint(fin2->TxCharge->text()));
    TxRalentiB->setText(withPoint(fin2->TxRalenti->text()));
    BoutonCentrale_Click();
}

// Bank 1's load line: new multiplier and offset, written as its two trims.
void CalibrationScreen::BTuploadCharge_Click() {
    if (!plausibleOrConfirmed(Kind::Load))
        return;
    CalibrationEndForm *fin = m_app.screens.calibrationEndBank1;
    fin->TxRalenti->setText(reformatted(fin->result(TxRCHP1)));
    fin->TxCharge->setText(reformatted(fin->result(TxCCHP1)));
    fin->Command1->setEnabled(false);
    fin->Command2->setEnabled(false);
    m_app.link.poll.stop();
    m_app.link.poll.clearSilence();
    fin->BoutonCentrale_Click();
}

void CalibrationScreen::finished(Kind kind, bool acquisitionError) {
    // The bar stays full under it: the run is over, its results are in.
    TxAction->setText(captions::text(captions::CalibrationDone));
    BtCalibrationResults->setEnabled(true);
    BtStCalibration->setEnabled(true);
    BtCalibrationStop->setEnabled(false);
    BtStCalibrationCh->setEnabled(true);
    CalibrationEndForm *ends[] = {m_app.screens.calibrationEndBank1,
                                  m_app.screens.calibrationEndBank2};
    for (int bank = 0; bank < 2; ++bank) {
        ends[bank]->showResults(m_sequence.texts(bank));
        ends[bank]->offerApply(kind);
    }
    SwitchCommutateur->setEnabled(true);
    (kind == Kind::Idle ? BTuploadRalenti : BTuploadCharge)->setEnabled(true);
    if (acquisitionError) {
        BTuploadCharge->setEnabled(false);
        BTuploadRalenti->setEnabled(false);
        m_app.dialogs.warning(QStringLiteral(" ERROR Aquisition  "));
        return;
    }
    Q_EMIT resultsShown(kind);
}

void CalibrationScreen::calibrationReset() {
    BtCalibrationResults->setEnabled(true);
    BtStCalibration->setEnabled(true);
    BtStCalibrationCh->setEnabled(false);
    BtCalibrationStop->setEnabled(false);
}

void CalibrationScreen::resetForMenu() {
    calibrationReset();
    BTuploadRalenti->setEnabled(false);
    BTuploadCharge->setEnabled(false);
    BarCalibration->setValue(0);
    BarCalibration->setMaximum(10);
}

void CalibrationScreen::applyExtendedCalibration(int extendedCalibration) {
    if (extendedCalibration != 0 && extendedCalibration != 1)
        return;
    const bool extended = extendedCalibration == 1;
    for (QWidget *w : std::initializer_list<QWidget *>{Line3, Line4, Shape3, Shape5,
                                                       BtStCalibrationCh, BTuploadCharge})
        w->setVisible(extended);
    BtCalibrationSet->setVisible(false);
}

bool CalibrationScreen::allowClose() {
    if (m_app.CalibrationRunning) {
        if (!m_app.dialogs.question(
                QStringLiteral("A calibration is running: the ECU's switch-over delay and mode "
                               "may be at 0. Stop it, write them back and close?"),
                QStringLiteral("Calibration"), Dialogs::Icon::Question))
            return false;
        m_sequence.abandon();
        m_app.CalibrationRunning = false;
        calibrationReset();
    }
    if (!m_sequence.restoring())
        return true;
    QEventLoop waiting;
    QTimer limit;
    limit.setSingleShot(true);
    connect(&limit, &QTimer::timeout, &waiting, [&waiting] { waiting.exit(1); });
    connect(&m_sequence, &Sequence::restoreAcknowledged, &waiting, [&waiting] { waiting.exit(0); });
    connect(&m_sequence, &Sequence::leftChanged, &waiting, [&waiting] { waiting.exit(1); });
    limit.start(RestoreWaitMs);
    if (waiting.exec() == 0)
        return true;
    return m_app.dialogs.question(m_sequence.leftChangedText() +
                                      QStringLiteral("\n\nClose anyway?"),
                                  QStringLiteral("Calibration"), Dialogs::Icon::Warning);
}
