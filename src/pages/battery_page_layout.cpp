// The controls of the battery page and their arrangement.
#include "pages/battery_gauge.h"
#include "pages/battery_page.h"
#include "settings/battery_table.h"
#include "ui/numeric_edit.h"
#include "ui/page_parts.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

using namespace pageparts;

namespace {
constexpr int TableFieldWidth = 40;

QLineEdit *input(const QString &name, int width, QWidget *parent) {
    auto *e = new NumericEdit(name, QString(), parent);
    e->setFixedWidth(width);
    return e;
}
} // namespace

QGroupBox *BatteryPage::makeLive() {
    QGroupBox *box =
        frame(QStringLiteral("FrameTension"), QStringLiteral("Tension Batterie"), this);
    auto *grid = new QGridLayout(box);
    TxVbat = display(QStringLiteral("TxVbat"), 50, box);
    TXpointeurTension = display(QStringLiteral("TXpointeurTension"), 50, box);
    TxTensionBat = display(QStringLiteral("TxTensionBat"), 70, box);
    auto *readings = new QHBoxLayout;
    readings->addWidget(label(QStringLiteral("LabelVbat"), QStringLiteral("Byte"), box));
    readings->addWidget(TxVbat);
    readings->addSpacing(16);
    readings->addWidget(label(QStringLiteral("LabelPointeur"), QStringLiteral("Pointeur"), box));
    readings->addWidget(TXpointeurTension);
    readings->addSpacing(16);
    readings->addWidget(label(QStringLiteral("LabelVolt"), QStringLiteral("Volt"), box));
    readings->addWidget(TxTensionBat);
    readings->addWidget(label(QStringLiteral("LabelVoltUnit"), QStringLiteral("V"), box));
    readings->addStretch(1);
    grid->addLayout(readings, 0, 0);
    // The bar runs the whole width: 5 px a step reaches about 14.7 V.
    Picture1 = new BatteryGauge(box);
    grid->addWidget(Picture1, 1, 0);
    return box;
}

QGroupBox *BatteryPage::makeMode() {
    QGroupBox *box =
        frame(QStringLiteral("FrameGestion"), QStringLiteral(" Gestion Tension "), this);
    auto *grid = new QGridLayout(box);
    auto *group = new QButtonGroup(box);
    const auto &captions = battery::ModeTexts;
    for (int i = 0; i < battery::ModeCount; ++i) {
        auto *option = new QRadioButton(QString::fromLatin1(captions[i]), box);
        option->setObjectName(QStringLiteral("Option1") + QString::number(i));
        group->addButton(option, i);
        Option1.at(static_cast<std::size_t>(i)) = option;
        grid->addWidget(option, i, 0);
        connect(option, &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
    }
    TxVbatType = new NumericEdit(QStringLiteral("TxVbatType"), keys::SignedDecimal, box);
    TxVbatType->setFixedWidth(44);
    TxVbatType->setEnterAction([this] { TxVbatType_Enter(); });
    grid->addWidget(label(QStringLiteral("LabelType"), QStringLiteral("Mode"), box), 0, 1);
    grid->addWidget(TxVbatType, 1, 1);
    return box;
}

QGroupBox *BatteryPage::makeLink() {
    QGroupBox *box = frame(QStringLiteral("FrameCalcul"), QStringLiteral(" Interpolation "), this);
    auto *grid = new QGridLayout(box);
    CalculDebut = input(QStringLiteral("CalculDebut"), 50, box);
    CalculFin = input(QStringLiteral("CalculFin"), 50, box);
    CalculeTab = button(QStringLiteral("CalculeTab"), QStringLiteral("Link"), box);
    Text1 = new QLineEdit(box);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->hide();
    grid->addWidget(label(QStringLiteral("LabelDebut"), QStringLiteral("Start"), box), 0, 0);
    grid->addWidget(CalculDebut, 0, 1);
    grid->addWidget(label(QStringLiteral("LabelFin"), QStringLiteral("End"), box), 1, 0);
    grid->addWidget(CalculFin, 1, 1);
    grid->addWidget(CalculeTab, 0, 2, 2, 1);
    connect(CalculeTab, &QPushButton::clicked, this, [this] { CalculeTab_Click(); });
    return box;
}

QGroupBox *BatteryPage::makeTimes() {
    QGroupBox *box =
        frame(QStringLiteral("FrameTemps"), QStringLiteral("Temps de fonctionement"), this);
    auto *grid = new QGridLayout(box);
    Text2 = display(QStringLiteral("Text2"), 70, box);
    Text3 = display(QStringLiteral("Text3"), 70, box);
    TxBloque = display(QStringLiteral("TxBloque"), 44, box);
    Text2->setText(QStringLiteral("0"));
    Text3->setText(QStringLiteral("0"));
    grid->addWidget(label(QStringLiteral("LabelGaz"), QStringLiteral("Gaz"), box), 0, 0);
    grid->addWidget(Text2, 0, 1);
    grid->addWidget(label(QStringLiteral("LabelEssence"), QStringLiteral("Essence"), box), 1, 0);
    grid->addWidget(Text3, 1, 1);
    grid->addWidget(label(QStringLiteral("LabelBloque"), QStringLiteral("Blocker si 1"), box), 0,
                    2);
    grid->addWidget(TxBloque, 1, 2, Qt::AlignCenter);
    return box;
}

QGroupBox *BatteryPage::makeTable() {
    QGroupBox *box =
        frame(QStringLiteral("FrameTable"), QStringLiteral(" Table de correction "), this);
    auto *grid = new QGridLayout(box);
    grid->setHorizontalSpacing(3);
    grid->addWidget(label(QStringLiteral("LabelIndex"), QStringLiteral("Byte Tension"), box), 0, 0);
    grid->addWidget(label(QStringLiteral("LabelCorrection"), QStringLiteral("Correction"), box), 1,
                    0);
    for (int j = 0; j < battery::WindowSize; ++j) {
        auto *id = label(QStringLiteral("TxID") + QString::number(j), QStringLiteral("0 "), box);
        id->setAlignment(Qt::AlignCenter);
        TxID.at(static_cast<std::size_t>(j)) = id;
        grid->addWidget(id, 0, j + 1);
        auto *field = new NumericEdit(QStringLiteral("TxTBBat") + QString::number(j),
                                      keys::SignedDecimal, box);
        field->setFixedWidth(TableFieldWidth);
        field->setAlignment(Qt::AlignCenter);
        enlarge(field);
        field->setEnterAction([this, j] { TxTBBat_Enter(j); });
        TxTBBat.at(static_cast<std::size_t>(j)) = field;
        grid->addWidget(field, 1, j + 1);
    }
    HS_index = new QScrollBar(Qt::Horizontal, box);
    HS_index->setObjectName(QStringLiteral("HS_index"));
    HS_index->setRange(0, battery::ScrollMax);
    HS_index->setPageStep(battery::WindowSize);
    grid->addWidget(HS_index, 2, 1, 1, battery::WindowSize);
    connect(HS_index, &QScrollBar::valueChanged, this, [this] { HS_index_Change(); });
    return box;
}
