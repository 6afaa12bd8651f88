// The main parameters page as the fitter sees it: the switch-over settings
// on the left, the alarms and delays in the middle, the sensor types, the
// reset and the transfer buttons on the right.
#include "pages/main_parameters_page.h"
#include "pages/main_parameters_widgets.h"
#include "settings/main_parameters_codec.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
enum Column { Caption, Minus, Field, Plus, Unit };
} // namespace

QLabel *MainParametersPage::label(const char *name, const char *caption) {
    auto *l = new QLabel(QString::fromLatin1(caption));
    l->setObjectName(QString::fromLatin1(name));
    l->setAlignment(Qt::AlignCenter); // the captions are centred with blanks
    return l;
}

NumericEdit *MainParametersPage::stepField(const ecu::Field &row, const char *minusName,
                                           const char *plusName, QPushButton *&minus,
                                           QPushButton *&plus) {
    auto *field = new NumericEdit(QString::fromLatin1(row.control), keys::of(row.keys));
    field->setFixedSize(pagelayout::FieldWidth, pagelayout::RowHeight);
    field->setEnterButton(BoutonCentrale);
    field->setEnterAction([this] { BoutonCentrale_Click(); });
    field->setChangeHook([this] { TestValeur(); });
    minus = pagelayout::stepButton(minusName, QStringLiteral("-"));
    plus = pagelayout::stepButton(plusName, QStringLiteral("+"));
    m_steps.push_back({field, row.step, row.pointText, [this] { TestValeur(); },
                       [this] { BoutonCentrale_Click(); }});
    const std::size_t index = m_steps.size() - 1;
    connect(minus, &QPushButton::clicked, this, [this, index] { m_steps[index].press(-1); });
    connect(plus, &QPushButton::clicked, this, [this, index] { m_steps[index].press(+1); });
    return field;
}

// A row: caption, minus, field, plus, unit.
static void addRow(QGridLayout *grid, int row, QWidget *caption, QPushButton *minus, QWidget *field,
                   QPushButton *plus, QWidget *unit = nullptr) {
    grid->addWidget(caption, row, Caption);
    grid->addWidget(minus, row, Minus);
    grid->addWidget(field, row, Field);
    grid->addWidget(plus, row, Plus);
    if (unit)
        grid->addWidget(unit, row, Unit);
}

// The ends of a field's range, under the field.
static void addRange(QGridLayout *grid, int row, QLabel *low, QLabel *high) {
    grid->addWidget(pagelayout::rangeScale(low, high), row, Minus, 1, 3);
}

QWidget *MainParametersPage::switchOverFrame() {
    auto *frame = pagelayout::frame("Frame6", " Switch over ");
    auto *grid = pagelayout::fieldGrid(frame);
    TemperatureText =
        stepField(ecu::field::SwitchTemperature, "BtTemp1", "BtTemp2", BtTemp1, BtTemp2);
    addRow(grid, 0, label("Label1", "   Temperature    "), BtTemp1, TemperatureText, BtTemp2,
           pagelayout::unit("\u00B0C"));
    PressionText = stepField(ecu::field::SwitchPressure, "BtPression1", "BtPression2", BtPression1,
                             BtPression2);
    addRow(grid, 1, label("Label2", "   Pressure   "), BtPression1, PressionText, BtPression2,
           pagelayout::unit("bar"));
    addRange(grid, 2, label("Label15", "- 1 bar"), label("Label16", "2.5 bar"));
    DelayComText =
        stepField(ecu::field::SwitchDelay, "BtDelayCom1", "BtDelayCom2", BtDelayCom1, BtDelayCom2);
    addRow(grid, 3,
           pagelayout::twoLines(label("Label3", "    Delay before   "),
                                label("Label10", "    switch over    ")),
           BtDelayCom1, DelayComText, BtDelayCom2, pagelayout::unit("s"));
    DelaySupText =
        stepField(ecu::field::Overlapping, "BtDelaySup1", "BtDelaySup2", BtDelaySup1, BtDelaySup2);
    addRow(grid, 4, label("Label4", "Fuel overlapping"), BtDelaySup1, DelaySupText, BtDelaySup2,
           pagelayout::unit("ms"));
    addRange(grid, 5, label("Label17", "0 ms"), label("Label18", "1000ms"));
    RPMText = stepField(ecu::field::SwitchSpeed, "BTRPM1", "BTRPM2", BTRPM1, BTRPM2);
    addRow(grid, 6, label("Label6", "R P M"), BTRPM1, RPMText, BTRPM2, pagelayout::unit("rpm"));
    grid->addWidget(pagelayout::twoLines(label("Label27", " Way of switch "),
                                         label("Label28", "        over        ")),
                    7, Caption);
    grid->addWidget(ComboCommutation, 7, Minus, 1, 4);
    return frame;
}

QWidget *MainParametersPage::alarmFrame() {
    auto *frame = pagelayout::frame("Frame4", " Alarmes - Check");
    auto *grid = pagelayout::fieldGrid(frame);
    ALTemperatureText =
        stepField(ecu::field::AlarmTemperature, "BtALTemp1", "BtALTemp2", BtALTemp1, BtALTemp2);
    addRow(grid, 0,
           pagelayout::twoLines(label("Label9", "Temperature"),
                                label("Label13", "           Control          ")),
           BtALTemp1, ALTemperatureText, BtALTemp2, pagelayout::unit("\u00B0C"));
    ALPressionText = stepField(ecu::field::AlarmPressure, "BtALPression1", "BtALPression2",
                               BtALPression1, BtALPression2);
    addRow(grid, 1,
           pagelayout::twoLines(label("Label11", "Pressure "),
                                label("Label14", "           Control          ")),
           BtALPression1, ALPressionText, BtALPression2, pagelayout::unit("bar"));
    addRange(grid, 2, label("Label19", "0 bar"), label("Label20", "2.5 bar"));
    CoPressionText = stepField(ecu::field::PressureDelay, "BtDelayPress1", "BtDelayPress2",
                               BtDelayPress1, BtDelayPress2);
    addRow(grid, 3, label("Label7", "     Pressure delay     "), BtDelayPress1, CoPressionText,
           BtDelayPress2);
    return frame;
}

QWidget *MainParametersPage::delaysColumn() {
    auto *column = new QWidget;
    auto *box = new QVBoxLayout(column);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(alarmFrame());

    auto *decel = pagelayout::frame("Frame7", " Decceleration ");
    auto *grid = pagelayout::fieldGrid(decel);
    TxCutOff = stepField(ecu::field::CutOff, "BtCut1", "BtCut2", BtCut1, BtCut2);
    TxCutOff2 = pagelayout::computedField("TxCutOff2");
    addRow(grid, 0, label("Label8", "Cut Off delay"), BtCut1, TxCutOff, BtCut2, TxCutOff2);
    box->addWidget(decel);

    auto *tank = pagelayout::frame("Frame5", "Empty tank");
    grid = pagelayout::fieldGrid(tank);
    TxTank = stepField(ecu::field::EmptyTank, "BtTank1", "BtTank2", BtTank1, BtTank2);
    TxTank2 = pagelayout::computedField("TxTank2");
    addRow(grid, 0, new QWidget, BtTank1, TxTank, BtTank2, TxTank2);
    box->addWidget(tank);
    box->addStretch(1);
    return column;
}

QWidget *MainParametersPage::rightColumn() {
    auto *column = new QWidget;
    auto *box = new QVBoxLayout(column);
    box->setContentsMargins(0, 0, 0, 0);

    auto *sensors = pagelayout::frame("Frame3", " Sensors");
    auto *grid = new QGridLayout(sensors);
    grid->addWidget(label("Label12", "        Injection type        "), 0, 0);
    grid->addWidget(ComboInjection, 1, 0);
    grid->addWidget(label("Label5", "   Lamdba Type   "), 2, 0);
    grid->addWidget(ComboLambda, 3, 0);
    box->addWidget(sensors);

    auto *reset = pagelayout::frame("Frame8", " Reset ");
    (new QVBoxLayout(reset))->addWidget(Btreset);
    box->addWidget(reset);

    auto *download = pagelayout::frame("Frame2", "Download");
    auto *buttons = new QVBoxLayout(download);
    buttons->addWidget(BoutonCentrale);
    buttons->addWidget(BoutonPC);
    box->addWidget(download);
    box->addStretch(1);
    box->addWidget(BtChangePage);
    return column;
}

void MainParametersPage::buildForm() {
    ComboCommutation = pagelayout::combo("ComboCommutation");
    ComboInjection = pagelayout::combo("ComboInjection");
    ComboLambda = pagelayout::combo("ComboLambda");
    fillChoiceLists();
    Btreset = pagelayout::button("Btreset", "Reset ECU");
    BoutonCentrale = pagelayout::button("BoutonCentrale", "     PC -->> ECM     ");
    BoutonPC = pagelayout::button("BoutonPC", "     ECU -->> PC     ");
    BtChangePage = pagelayout::button("BtChangePage", "            Next >>           ");

    pagelayout::setUpPage(this);
    auto *outer = new QVBoxLayout(this);
    auto *page = pagelayout::frame("Frame1", " Parameters");
    auto *columns = new QHBoxLayout(page);
    columns->addWidget(switchOverFrame(), 4, Qt::AlignTop);
    columns->addWidget(delaysColumn(), 4);
    columns->addWidget(rightColumn(), 3);
    outer->addWidget(page);

    connect(Btreset, &QPushButton::clicked, this, [this] { Btreset_Click(); });
    connectButtons();
    connect(BtChangePage, &QPushButton::clicked, this, [this] { BtChangePage_Click(); });
    // Only a pick by the fitter runs the click handlers; the refresh setting
    // a list index does not, so it never starts a refresh of its own.
    connect(ComboCommutation, &QComboBox::activated, this, [this] { ComboCommutation_Click(); });
    connect(ComboInjection, &QComboBox::activated, this, [this] { ComboInjection_Click(); });
    connect(ComboLambda, &QComboBox::activated, this, [this] { ComboLambda_Click(); });
}

void MainParametersPage::fillChoiceLists() {
    auto fill = [](QComboBox *combo, std::span<const char *const> texts) {
        combo->clear();
        for (const char *text : texts)
            combo->addItem(QString::fromLatin1(text));
    };
    fill(ComboCommutation, mainparams::SwitchWayTexts);
    fill(ComboInjection, mainparams::InjectionTypeTexts);
    fill(ComboLambda, mainparams::LambdaTypeTexts);
}
