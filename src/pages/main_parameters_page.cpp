#include "pages/main_parameters_page.h"

#include "link/frames.h"
#include "link/link.h"
#include "pages/level_page.h"
#include "pages/main_parameters_chain.h"
#include "settings/main_parameters_codec.h"
#include "settings/number_format.h"
#include "ui/app_context.h"
#include "ui/dialogs.h"
#include "ui/screens.h"

#include <QComboBox>
#include <QPushButton>

#include <cmath>

namespace {

// Passes of the validation until nothing more is corrected; two suffice
// for any text, the bound only guards against a loop.
constexpr int MaxValidationPasses = 8;

bool setIfDifferent(QLineEdit *field, const QString &text) {
    if (field->text() == text)
        return false;
    field->setText(text);
    return true;
}

// A value below low becomes lowValue, one above high becomes highValue.
// The comparisons are strict: a bound itself stays as typed.
bool clamp(NumericEdit *field, double low, double lowValue, double high, double highValue) {
    const double v = field->value();
    if (v < low)
        return setIfDifferent(field, number::format(lowValue));
    if (v > high)
        return setIfDifferent(field, number::format(highValue));
    return false;
}

// Held to the row's limits.
bool clamp(NumericEdit *field, const ecu::Field &row) {
    return clamp(field, row.min, row.min, row.max, row.max);
}

// A pressure keeps two decimals: a text longer than its limit is cut to
// it (noLimit: never cut), and a decimal comma becomes a point.
constexpr qsizetype NoLimit = -1;
bool cutPressure(NumericEdit *field, qsizetype limit) {
    QString text = field->text();
    if (limit != NoLimit && text.size() > limit)
        text.truncate(limit);
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    return setIfDifferent(field, text);
}

void showIndex(QComboBox *combo, int index) {
    // A byte beyond the list selects nothing; the upload then keeps it.
    const int shown = index >= 0 && index < combo->count() ? index : -1;
    if (combo->currentIndex() != shown)
        combo->setCurrentIndex(shown);
}

} // namespace

MainParametersPage::MainParametersPage(AppContext &app, QWidget *parent)
    : ParameterPage(QStringLiteral("FnParametres"), QStringLiteral("Parameters"), app, {}, parent),
      m_validate([this] {
          for (int pass = 0; pass < MaxValidationPasses && validationPass(); ++pass) {
          }
      }) {
    buildForm();
}

void MainParametersPage::Form_Load() {
    place(0, 950);
}

void MainParametersPage::TestValeur() {
    m_validate();
}

bool MainParametersPage::validationPass() {
    bool changed = clamp(TemperatureText, ecu::field::SwitchTemperature);

    changed |= clamp(PressionText, ecu::field::SwitchPressure);
    // One place more for a sign.
    changed |= cutPressure(PressionText, PressionText->text().startsWith(QLatin1Char('-')) ? 5 : 4);

    changed |= clamp(DelayComText, ecu::field::SwitchDelay);

    // Fuel overlapping goes in steps of 5 ms; what lies between is rounded
    // down (a result above the bound is clamped by the next pass).
    const double overlapping = DelaySupText->value();
    changed |= clamp(DelaySupText, ecu::field::Overlapping);
    const double step = ecu::field::Overlapping.step;
    const double fifths = overlapping / step;
    if (fifths != std::floor(fifths))
        changed |= setIfDifferent(DelaySupText, number::format(step * std::floor(fifths)));

    changed |= clamp(ALTemperatureText, ecu::field::AlarmTemperature);

    changed |= clamp(ALPressionText, ecu::field::AlarmPressure);
    // A text that starts with its point is left as it is.
    changed |= cutPressure(ALPressionText,
                           ALPressionText->text().startsWith(QLatin1Char('.')) ? NoLimit : 4);

    changed |= clamp(CoPressionText, ecu::field::PressureDelay);
    changed |= clamp(RPMText, ecu::field::SwitchSpeed);
    changed |= clamp(TxCutOff, ecu::field::CutOff);
    changed |= clamp(TxTank, ecu::field::EmptyTank);

    setIfDifferent(TxCutOff2, number::format(TxCutOff->value() * 0.005));
    setIfDifferent(TxTank2, number::format(TxTank->value() * 0.005));
    return changed;
}

void MainParametersPage::refreshFromImage() {
    const mainparams::Settings s = mainparams::decode(m_app.link.image);
    TemperatureText->setTextIfChanged(number::format(s.temperature));
    CoPressionText->setTextIfChanged(number::format(s.pressureDelay));
    DelayComText->setTextIfChanged(number::format(s.switchDelay));
    DelaySupText->setTextIfChanged(number::format(s.overlapping));
    TxCutOff->setTextIfChanged(number::format(s.cutOff));
    TxTank->setTextIfChanged(number::format(s.emptyTank));
    setIfDifferent(TxCutOff2, number::format(TxCutOff->value() * 0.005));
    setIfDifferent(TxTank2, number::format(TxTank->value() * 0.005));
    RPMText->setTextIfChanged(number::format(s.switchSpeed));
    showIndex(ComboCommutation, s.switchWay);
    showIndex(ComboInjection, s.injectionType);
    showIndex(ComboLambda, s.lambdaType);
    ALTemperatureText->setTextIfChanged(number::format(s.alarmTemperature));
    PressionText->setTextIfChanged(number::formatPoint(s.pressure));
    ALPressionText->setTextIfChanged(number::formatPoint(s.alarmPressure));
}

void MainParametersPage::encodeInto(MemoryImage &image) const {
    mainparams::Settings s;
    s.temperature = TemperatureText->value();
    s.pressure = PressionText->value();
    s.pressureDelay = CoPressionText->value();
    s.switchDelay = DelayComText->value();
    s.overlapping = DelaySupText->value();
    s.alarmTemperature = ALTemperatureText->value();
    s.alarmPressure = ALPressionText->value();
    s.switchSpeed = RPMText->value();
    s.emptyTank = TxTank->value();
    s.cutOff = TxCutOff->value();
    s.lambdaType = ComboLambda->currentIndex();
    s.injectionType = ComboInjection->currentIndex();
    s.switchWay = ComboCommutation->currentIndex();
    mainparams::encode(s, image);
}

void MainParametersPage::ComboCommutation_Click() {
    if (ComboCommutation->currentIndex() >= 0)
        m_app.link.image.set(ecu::field::SwitchWay.address,
                             static_cast<quint8>(ComboCommutation->currentIndex()));
}

void MainParametersPage::ComboInjection_Click() {
    if (ComboInjection->currentIndex() >= 0)
        m_app.link.image.set(ecu::field::InjectionType.address,
                             static_cast<quint8>(ComboInjection->currentIndex()));
}

// The lambda type changes the monitor's lambda scale: the screens are
// refreshed at once. A refresh that reaches this handler again (through a
// changed selection) stores the same byte and refreshes no further.
void MainParametersPage::ComboLambda_Click() {
    if (ComboLambda->currentIndex() >= 0)
        m_app.link.image.set(ecu::field::LambdaType.address,
                             static_cast<quint8>(ComboLambda->currentIndex()));
    if (m_lambdaClickRunning)
        return;
    m_lambdaClickRunning = true;
    m_app.refreshScreens();
    m_lambdaClickRunning = false;
}

void MainParametersPage::BoutonCentrale_Click() {
    m_app.uploadEditedValues();
    m_app.link.WriteBlock(frames::WriteMainParameters);
    // The ECU's answer sends the second block, from the way of switch-over
    // to the cut-off delay.
    m_app.link.StartSequence(ChainStep::SwitchOverBlock);
}

void MainParametersPage::Btreset_Click() {
    if (!m_app.dialogs.question(QStringLiteral(" RESET ECU ? "), QStringLiteral(" RESET ? "),
                                Dialogs::Icon::Warning))
        return;
    m_app.link.SendLine(frames::ResetEcu.toByteArray());
    m_app.link.StartFullRead();
}

void MainParametersPage::BtChangePage_Click() {
    goToParameterPage(m_app, {m_app.screens.levelPage, 1, frames::MonitorPoll, std::nullopt});
}
