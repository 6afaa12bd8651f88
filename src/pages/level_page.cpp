#include "pages/level_page.h"

#include "settings/level_fields.h"

#include "link/frames.h"
#include "link/link.h"
#include "settings/level_percent.h"
#include "settings/number_format.h"
#include "ui/app_context.h"
#include "ui/shape.h"

namespace {

constexpr int MaxValidationPasses = 8;

bool clamp(NumericEdit *field, double low, double lowValue, double high, double highValue) {
    const double v = field->value();
    const QString corrected = v < low    ? number::format(lowValue)
                              : v > high ? number::format(highValue)
                                         : field->text();
    if (corrected == field->text())
        return false;
    field->setText(corrected);
    return true;
}

void setIfDifferent(QLineEdit *field, const QString &text) {
    if (field->text() != text)
        field->setText(text);
}

} // namespace

LevelPage::LevelPage(AppContext &app, QWidget *parent)
    : ParameterPage(QStringLiteral("FnParametres2"), QStringLiteral("Level sensor"), app,
                    {.previous = Turn{0, 0, {}, false},
                     .next = Turn{2, 2, {}, false},
                     .readPausesPoll = true},
                    parent),
      m_validate([this] {
          for (int pass = 0; pass < MaxValidationPasses && validationPass(); ++pass) {
          }
      }) {
    buildForm();
}

void LevelPage::Form_Load() {
    place(0, 950);
}

std::array<NumericEdit *, 7> LevelPage::settings() const {
    return {TxNiveauPWM, TxNiveauMin, TxNiveauMax, TxNiveau1, TxNiveau2, TxNiveau3, TxNiveau4};
}

sensorfile::Settings LevelPage::settingTexts() const {
    sensorfile::Settings texts;
    const auto fields = settings();
    for (std::size_t i = 0; i < fields.size(); ++i)
        texts[i] = fields[i]->text();
    return texts;
}

void LevelPage::setSettingTexts(const sensorfile::Settings &texts) {
    const auto fields = settings();
    for (std::size_t i = 0; i < fields.size(); ++i)
        fields[i]->setText(texts[i]);
}

void LevelPage::TestValeurNiveau() {
    m_validate();
}

// Comparisons are strict: a minimum of 0 stays 0, only values below it
// become 1.
bool LevelPage::validationPass() {
    bool changed = clamp(TxNiveauPWM, 0, 0, 255, 255);
    changed |= clamp(TxNiveauMin, 0, 1, 255, 255);
    changed |= clamp(TxNiveauMax, 0, 1, 255, 255);
    for (NumericEdit *threshold : {TxNiveau1, TxNiveau2, TxNiveau3, TxNiveau4})
        changed |= clamp(threshold, 0, 0, 100, 100);
    return changed;
}

void LevelPage::refreshFromImage() {
    const MemoryImage &image = m_app.link.image;
    if (!m_app.link.poll.isOn()) {
        // The fitter may be editing the settings while the level is polled.
        const auto fields = settings();
        for (std::size_t i = 0; i < fields.size(); ++i)
            fields[i]->setTextIfChanged(
                QString::number(image.at(level::addr::RangeCorrection + static_cast<int>(i))));
    }
    setIfDifferent(TxNiveauImediat, QString::number(image.at(level::addr::Immediate)));
    setIfDifferent(TxNiveauMoyen, QString::number(image.at(level::addr::Average)));
    showLevel();
}

void LevelPage::showLevel() {
    const MemoryImage &image = m_app.link.image;
    const level::Range range{TxNiveauMin->value(), TxNiveauMax->value(),
                             image.at(level::addr::Minimum), image.at(level::addr::Maximum)};
    const QList<std::pair<QLineEdit *, QLineEdit *>> readings = {{TxNiveauImediat, TxNiveau100},
                                                                 {TxNiveauMoyen, TxNiveau100_2}};
    for (const auto &[reading, percentage] : readings) {
        // An empty range leaves the percentage as it was.
        if (const auto p = level::percent(range, number::parse(reading->text())))
            setIfDifferent(percentage, number::format(*p));
    }
    std::array<int, 4> thresholds{};
    for (int i = 0; i < 4; ++i)
        thresholds[static_cast<std::size_t>(i)] = image.at(level::addr::Threshold1 + i);
    const auto colours = level::lamps(number::parse(TxNiveau100->text()), thresholds);
    const std::array<Shape *, 5> leds = {led1, led2, led3, led4, led5};
    for (std::size_t i = 0; i < leds.size(); ++i)
        leds[i]->setFillColor(colours[i]);
}

void LevelPage::encodeInto(MemoryImage &image) const {
    const auto edits = settings();
    for (std::size_t i = 0; i < edits.size(); ++i)
        fields::encode(*level::SettingFields[i], edits[i]->value(), image);
}

// Range correction, minimum, maximum, then the thresholds from full down to
// 1/4, in the order the fields are filled.
void LevelPage::preset(const std::array<int, 7> &values) {
    const std::array<NumericEdit *, 7> order = {TxNiveauPWM, TxNiveauMin, TxNiveauMax, TxNiveau4,
                                                TxNiveau3,   TxNiveau2,   TxNiveau1};
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i]->setText(QString::number(values[i]));
}

void LevelPage::Predef1_Click() {
    preset({100, 1, 190, 83, 50, 30, 7}); // 0 - 90 ohm sender
}

void LevelPage::Predef2_Click() {
    preset({100, 1, 190, 60, 30, 15, 7});
}

void LevelPage::Predef3_Click() {
    preset({255, 0, 255, 75, 55, 40, 20}); // 10 - 50 ohm sender
}

void LevelPage::BoutonCentrale_Click() {
    m_app.uploadEditedValues();
    m_app.link.WriteBlock(frames::WriteLevelSensor);
}
