#include "pages/battery_page.h"

#include "link/link.h"
#include "pages/battery_gauge.h"
#include "settings/battery_table.h"
#include "settings/number_format.h"
#include "ui/app_context.h"
#include "ui/dialogs.h"
#include "ui/edit_marks.h"
#include "ui/numeric_edit.h"
#include "ui/page_parts.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

using namespace pageparts;

namespace {
const QString EntryRefused = QStringLiteral(" The correction must lie between -128 and 127 ");
const QString ModeRefused =
    QStringLiteral(" The mode must be 0 (OFF), 1 (ADD ( x2 )) or 2 (% TI) ");
const QString IndexRefused = QStringLiteral(" Start and End must lie between 0 and 66 ");
} // namespace

BatteryPage::BatteryPage(AppContext &app, QWidget *parent)
    : ParameterPage(QStringLiteral("FnParametres5"), QStringLiteral("Battery"), app,
                    {.previous = Turn{2, 3, {}, false}, .readPausesPoll = true}, parent) {
    fitScreenArea(this);
    auto *column = new QVBoxLayout(this);
    QVBoxLayout *inside = parametersFrame(column, QStringLiteral("BATTERIE"), this);
    inside->addWidget(makeLive());
    auto *settings = new QHBoxLayout;
    settings->addWidget(makeMode());
    settings->addWidget(makeLink());
    settings->addWidget(makeTimes());
    settings->addStretch(1);
    inside->addLayout(settings);
    inside->addWidget(makeTable());
    column->addStretch(1);

    addBottomRow(column);
    m_modeMarks = new EditMarks(this);
    m_modeMarks->follow(m_app.link);
    m_modeMarks->watch(TxVbatType);
    m_tableMarks = new EditMarks(this);
    m_tableMarks->follow(m_app.link);
    for (NumericEdit *field : TxTBBat)
        m_tableMarks->watch(field);
    HS_index_Change();
}

void BatteryPage::showEvent(QShowEvent *event) {
    ParameterPage::showEvent(event);
    const int mode = m_app.link.image.at(battery::ModeAddress);
    TxVbatType->setTextIfChanged(QString::number(mode));
    selectOption(battery::modeOption(mode));
    m_modeMarks->clear();
    HS_index_Change();
}

void BatteryPage::refreshFromImage() {
    const MemoryImage &image = m_app.link.image;
    const int raw = image.at(battery::LiveVoltage);
    setText(TxVbat, QString::number(raw));
    setText(TXpointeurTension, QString::number(image.at(battery::LivePointer)));
    // While the live block is polled the fitter may be editing the settings.
    if (!m_app.link.poll.isOn()) {
        const int mode = image.at(battery::ModeAddress);
        TxVbatType->setTextIfChanged(QString::number(mode));
        m_modeMarks->clear();
        selectOption(battery::modeOption(mode));
        HS_index_Change();
    }
    const int shown = static_cast<int>(number::parse(TxVbat->text()));
    setText(TxTensionBat, number::format(battery::volts(shown)));
    Picture1->setReading(shown);
    setText(TxBloque, QString::number(image.at(battery::BlockFlagAddress)));
}

// A mode the page cannot offer leaves the image's byte as it is.
void BatteryPage::encodeInto(MemoryImage &image) const {
    // The typed value as it stands, as a byte; a mode beyond the list is the
    // ECU's to ignore (the page shows it as OFF).
    image.set(battery::ModeAddress,
              static_cast<quint8>(number::toByteClamped(TxVbatType->value())));
}

void BatteryPage::selectOption(int mode) {
    QRadioButton *option = Option1.at(static_cast<std::size_t>(mode));
    if (!option->isChecked())
        option->setChecked(true); // a check set here never writes
}

void BatteryPage::HS_index_Change() {
    const int s = HS_index->value();
    for (int j = 0; j < battery::WindowSize; ++j) {
        const auto slot = static_cast<std::size_t>(j);
        setCaption(TxID.at(slot), QString::number(j + s));
        TxTBBat.at(slot)->setTextIfChanged(
            QString::number(battery::entry(m_app.link.image, j + s)));
    }
    m_tableMarks->clear();
}

void BatteryPage::TxTBBat_Enter(int index) {
    const NumericEdit *field = TxTBBat.at(static_cast<std::size_t>(index));
    const std::optional<quint8> b = battery::entryByte(field->value());
    if (!b) {
        m_app.dialogs.warning(EntryRefused);
        return;
    }
    m_app.link.image.set(battery::TableBase + index + HS_index->value(), *b);
    HS_index_Change();
    BoutonCentrale->setFocus(Qt::OtherFocusReason);
    BoutonCentrale_Click();
}

void BatteryPage::TxVbatType_Enter() {
    const std::optional<quint8> mode = battery::modeByte(TxVbatType->value());
    if (!mode) {
        m_app.dialogs.warning(ModeRefused);
        return;
    }
    m_app.link.image.set(battery::ModeAddress, *mode);
    m_modeMarks->clear();
    selectOption(*mode);
    BoutonCentrale->setFocus(Qt::OtherFocusReason);
    BoutonCentrale_Click();
}

void BatteryPage::Option1_Click(int index) {
    m_app.link.image.set(battery::ModeAddress, static_cast<quint8>(index));
    // The mode field follows, so a write from the main page stores the same.
    TxVbatType->setTextIfChanged(QString::number(index));
    if (isShown())
        BoutonCentrale_Click();
}

void BatteryPage::CalculeTab_Click() {
    Text1->clear();
    const double start = number::parse(CalculDebut->text());
    const double end = number::parse(CalculFin->text());
    switch (battery::interpolate(m_app.link.image, start, end)) {
    case battery::LinkResult::OutOfRange:
        m_app.dialogs.warning(IndexRefused);
        return;
    case battery::LinkResult::SameEnds:
        return;
    case battery::LinkResult::Done:
        HS_index_Change();
        return;
    }
}

// The mode byte and the table go out with the upload chain: BlockTable
// entry 1 first, then entries 13, 14 and 15, one per answer.
void BatteryPage::BoutonCentrale_Click() {
    m_app.link.poll.pauseForTransfer();
    m_app.link.StartUpload(13);
}
