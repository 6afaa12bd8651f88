// The monitor's part of the screen refresh. It runs on every poll answer,
// so every control is written only when its value changes: an unchanged
// pass repaints nothing.
#include "monitor/monitor_screen.h"

#include "link/link.h"
#include "live/monitor_decode.h"
#include "monitor/needle_gauge.h"
#include "settings/number_format.h"
#include "ui/app_context.h"
#include "ui/colors.h"
#include "ui/numeric_edit.h"
#include "ui/readout_widgets.h"
#include "ui/screens.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {
void setText(QLineEdit *field, const QString &text) {
    if (field->text() != text)
        field->setText(text);
}

void setText(QLabel *label, const QString &text) {
    if (label->text() != text)
        label->setText(text);
}

QString whole(int value) {
    return QString::number(value);
}
} // namespace

void MonitorScreen::refreshGauges() {
    const MemoryImage &image = m_app.link.image;

    // Engine speed: the stored value is halved for sequential injection.
    setText(TxRPM, whole(live::displayedSpeed(image)));
    RpmGaugeValue = live::speedGaugeValue(number::parse(TxRPM->text()));
    PicRPM->setValue(RpmGaugeValue);

    setText(TxTmp, whole(live::s8(image.at(live::addr::WaterTemp))));
    TempGaugeValue = live::temperatureGaugeValue(number::parse(TxTmp->text()));
    Pictemp->setValue(TempGaugeValue);

    setText(TxPrss, live::pressureCaption(image.u16(live::addr::Pressure)));
    const double pressure = number::parse(TxPrss->text());
    PressureGaugeValue = live::pressureGaugeValue(pressure);
    PicPress->setValue(PressureGaugeValue);

    // The lowest and highest pressure since the last reset.
    if (pressure < number::parse(TxLPress->text()))
        setText(TxLPress, TxPrss->text());
    if (pressure > number::parse(TxHPress->text()))
        setText(TxHPress, TxPrss->text());
}

void MonitorScreen::findParameterFields() {
    QWidget *page = m_app.screens.parameterPage(0);
    if (!page || (m_alTemperature && m_lambdaCombo))
        return;
    auto field = [page](const char *name) {
        return page->findChild<QLineEdit *>(QString::fromLatin1(name));
    };
    m_alTemperature = field("ALTemperatureText");
    m_temperature = field("TemperatureText");
    m_alPressure = field("ALPressionText");
    m_pressure = field("PressionText");
    m_lambdaCombo = page->findChild<QComboBox *>(QStringLiteral("ComboLambda"));
}

double MonitorScreen::parameterValue(const QPointer<QLineEdit> &field) const {
    return field ? number::parse(field->text()) : 0.0;
}

void MonitorScreen::refreshLive() {
    const MemoryImage &image = m_app.link.image;
    findParameterFields();

    setText(Label12, QStringLiteral("ECM fireware :") + whole(image.at(live::addr::Firmware)));

    // Pressure and temperature alarms blink; the start-on-gas lamp is steady.
    const int alarms = image.at(live::addr::Alarms);
    TxAlarmePress->setBackColor(alarms & live::alarm::Pressure ? AlarmBlinkColour : colors::Green);
    TxAlarmeTmp->setBackColor(alarms & live::alarm::Temperature ? AlarmBlinkColour : colors::Green);
    TxAldemarage->setBackColor(alarms & live::alarm::StartOnGas ? colors::DarkRed : colors::Green);

    // The settings the fitter may be editing are left alone while polling.
    if (!m_app.link.poll.isOn()) {
        // Bank 2 first, then bank 1, then the extra time.
        const auto fields = trimFields();
        for (std::size_t i : {3u, 2u, 1u, 0u, 4u}) {
            const live::TrimField &trim = live::Trims[i];
            fields[i]->setTextIfChanged(live::trimText(trim, image.at(trim.address)));
        }
        setText(TxExclu2, live::extraTimeMsText(TxTIExclu->value()));
    }

    // The two ends of the lambda scale, from the lambda type's list entry.
    if (m_lambdaCombo) {
        const QString type = m_lambdaCombo->currentText();
        setText(LambaType1, type.left(5));
        setText(LambaType2, type.right(6));
    }

    // The first injection time and its zoomed copy, which the map screen
    // takes before the rest of the monitor is recomputed.
    setText(TextE[0],
            number::formatPoint(live::injectionMs(live::hi255(image, live::addr::PetrolTimes))));
    setText(txZoom, TextE[0]->text());
}

void MonitorScreen::refreshTimesAndSensors() {
    const MemoryImage &image = m_app.link.image;
    findParameterFields();

    // Injection times: only cylinders 1 and 5 get a point for sure.
    for (int i = 1; i < 8; ++i) {
        const double ms = live::injectionMs(live::hi255(image, live::addr::PetrolTimes + 2 * i));
        setText(TextE[i], i == 4 ? number::formatPoint(ms) : number::format(ms));
    }
    for (int i = 0; i < 8; ++i)
        setText(TextG[i], number::format(
                              live::injectionMs(live::hi255(image, live::addr::GasTimes + 2 * i))));
    for (int i = 0; i < 8; ++i) {
        BarE[i]->setWidthTwips(
            live::injectionBarTwips(live::hi255(image, live::addr::PetrolTimes + 2 * i)));
    }
    for (int i = 0; i < 8; ++i) {
        BarG[i]->setWidthTwips(
            live::injectionBarTwips(live::hi255(image, live::addr::GasTimes + 2 * i)));
    }

    setText(TextRPM, whole(live::displayedSpeed(image)));
    BarRPM->setWidthTwips(live::speedBarTwips(image));

    if (const int message = live::fuelStateMessage(image.at(live::addr::FuelState)))
        setText(TextGazEtat, m_app.link.messages[message]);

    const int water = live::s8(image.at(live::addr::WaterTemp));
    setText(TextTPEau, whole(water));
    BarTPEau->setWidthTwips(live::temperatureBarTwips(water));
    BarTPEau->setFillColor(
        live::sensorColour(water, parameterValue(m_alTemperature), parameterValue(m_temperature)));

    const int gasTemp = live::s8(image.at(live::addr::GasTemp));
    setText(TextTPGaz, whole(gasTemp));
    BarTPGaz->setWidthTwips(live::temperatureBarTwips(gasTemp));

    setText(TextPression,
            number::format(image.u16(live::addr::Pressure) / live::addr::PressureDivisor));
    const double pressure = number::parse(TextPression->text());
    BarPression->setWidthTwips(live::pressureBarTwips(pressure));
    BarPression->setFillColor(
        live::sensorColour(pressure, parameterValue(m_alPressure), parameterValue(m_pressure)));

    const int lambda = image.u16(live::addr::Lambda);
    setText(TextLambda, number::format(lambda / live::addr::LambdaDivisor));
    BarLambda->setWidthTwips(live::lambdaBarTwips(lambda, image.at(live::addr::LambdaType)));
    BarLambda->setFillColor(live::lambdaBarColour(BarLambda->widthTwips()));
}
