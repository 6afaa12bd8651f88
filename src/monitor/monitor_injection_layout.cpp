// The " Engine Variables " frame: the injection times of the eight
// cylinders with their bars, the trims of both injector banks, the extra
// injection time and the first write button.
#include "monitor/monitor_screen.h"
#include "ui/layout_parts.h"
#include "ui/readout_widgets.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {
using namespace monitorui;

constexpr int PetrolBarColour = 0xC06000; // blue
constexpr int GasBarColour = 0x00A000;    // green
} // namespace

QWidget *MonitorScreen::buildEngineVariables() {
    QGroupBox *box = group(QStringLiteral("Frame5"), QStringLiteral(" Engine Variables "));
    auto *column = tight(new QVBoxLayout(box), 6, 6);
    column->addWidget(buildInjectionTimes());
    column->addStretch(1);

    auto *extra = tight(new QHBoxLayout, 0, 4);
    TxTIExclu = trimEdit(QStringLiteral("TxTIExclu"));
    TxExclu2 = makeReadout(QStringLiteral("TxExclu2"), 52, box);
    BtExclu1 = button(QStringLiteral("BtExclu1"), QStringLiteral("-"), StepWidth);
    BtExclu2 = button(QStringLiteral("BtExclu2"), QStringLiteral("+"), StepWidth);
    BoutonCentrale =
        button(QStringLiteral("BoutonCentrale"), QStringLiteral("     PC -->> ECM     "));
    extra->addWidget(label(QStringLiteral("Label29"), QStringLiteral("     Extra TI     ")));
    extra->addWidget(BtExclu1);
    extra->addWidget(TxTIExclu);
    extra->addWidget(BtExclu2);
    extra->addSpacing(6);
    extra->addWidget(TxExclu2);
    extra->addWidget(label(QStringLiteral("LabelExtraMs"), QStringLiteral("ms")));
    extra->addStretch(1);
    extra->addWidget(BoutonCentrale);
    column->addLayout(extra);
    return box;
}

QWidget *MonitorScreen::buildInjectionTimes() {
    QGroupBox *box = group(QStringLiteral("Frame4"), QStringLiteral(" Injection Times"));
    auto *grid = tight(new QGridLayout(box), 6, 7);
    grid->setHorizontalSpacing(5);
    static const int pictureNumbers[8] = {4, 5, 6, 7, 8, 12, 13, 14};
    Label17 = label(QStringLiteral("Label17"), QStringLiteral("Gasoline"));
    Label18 = label(QStringLiteral("Label18"), QStringLiteral("Gas"));
    Label17b = label(QStringLiteral("Label17B"), QStringLiteral("Gasoline"));
    Label18b = label(QStringLiteral("Label18B"), QStringLiteral("Gas"));
    for (QLabel *l : {Label17, Label18, Label17b, Label18b})
        l->setAlignment(Qt::AlignCenter);
    grid->addWidget(Label17, 0, 1);
    grid->addWidget(Label18, 0, 2);
    grid->addWidget(Label17b, 0, 6);
    grid->addWidget(Label18b, 0, 7);
    for (int i = 0; i < 8; ++i) {
        const QString n = QString::number(i + 1);
        TextE[i] = makeReadout(QStringLiteral("TextE") + n, 50, box);
        TextG[i] = makeReadout(QStringLiteral("TextG") + n, 50, box);
        Picture[i] = new QFrame(box);
        Picture[i]->setObjectName(QStringLiteral("Picture") + QString::number(pictureNumbers[i]));
        Picture[i]->setFrameShape(QFrame::Panel);
        Picture[i]->setFrameShadow(QFrame::Sunken);
        Picture[i]->setAutoFillBackground(true);
        Picture[i]->setBackgroundRole(QPalette::Base);
        Picture[i]->setMinimumWidth(112);
        Picture[i]->setFixedHeight(30);
        auto *bars = tight(new QVBoxLayout(Picture[i]), 2, 1);
        BarE[i] = new LevelBar(QStringLiteral("BarE") + n, PetrolBarColour, LevelBar::Trough::Bare);
        BarG[i] = new LevelBar(QStringLiteral("BarG") + n, GasBarColour, LevelBar::Trough::Bare);
        bars->addWidget(BarE[i]);
        bars->addWidget(BarG[i]);
        const int row = 1 + i % 4;
        const int col = i < 4 ? 0 : 5;
        auto *cylinder = label(QStringLiteral("LabelCyl") + n, n);
        cylinder->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(cylinder, row, col);
        grid->addWidget(TextE[i], row, col + 1);
        grid->addWidget(TextG[i], row, col + 2);
        grid->addWidget(Picture[i], row, col + 3);
    }
    grid->setColumnStretch(3, 1);
    grid->setColumnStretch(8, 1);
    grid->setColumnMinimumWidth(4, 8);

    // The trims of the two injector banks, and the first cylinder's time
    // as the map screen shows it.
    auto *trims = tight(new QGridLayout, 0, 3);
    TxRalenti = trimEdit(QStringLiteral("TxRalenti"));
    TxCharge = trimEdit(QStringLiteral("TxCharge"));
    TxRalentiB = trimEdit(QStringLiteral("TxRalentiB"));
    TxChargeB = trimEdit(QStringLiteral("TxChargeB"));
    BtRalenti1 = button(QStringLiteral("BtRalenti1"), QStringLiteral("-"), StepWidth);
    BtRalenti2 = button(QStringLiteral("BtRalenti2"), QStringLiteral("+"), StepWidth);
    BtCharge1 = button(QStringLiteral("BtCharge1"), QStringLiteral("-"), StepWidth);
    BtCharge2 = button(QStringLiteral("BtCharge2"), QStringLiteral("+"), StepWidth);
    BtRalenti1B = button(QStringLiteral("BtRalenti1B"), QStringLiteral("-"), StepWidth);
    BtRalenti2B = button(QStringLiteral("BtRalenti2B"), QStringLiteral("+"), StepWidth);
    BtCharge1B = button(QStringLiteral("BtCharge1B"), QStringLiteral("-"), StepWidth);
    BtCharge2B = button(QStringLiteral("BtCharge2B"), QStringLiteral("+"), StepWidth);
    auto *idle = label(QStringLiteral("Label27"), QStringLiteral("       IDLE       "));
    auto *load = label(QStringLiteral("Label28"), QStringLiteral("   CHARGE   "));
    idle->setAlignment(Qt::AlignCenter);
    load->setAlignment(Qt::AlignCenter);
    trims->addWidget(idle, 0, 1, 1, 3);
    trims->addWidget(load, 0, 5, 1, 3);
    trims->addWidget(label(QStringLiteral("LabelBank1"), QStringLiteral("Bank 1")), 1, 0);
    trims->addWidget(label(QStringLiteral("LabelBank2"), QStringLiteral("Bank 2")), 2, 0);
    const QList<QList<QWidget *>> rows = {
        {BtRalenti1, TxRalenti, BtRalenti2, BtCharge1, TxCharge, BtCharge2},
        {BtRalenti1B, TxRalentiB, BtRalenti2B, BtCharge1B, TxChargeB, BtCharge2B}};
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 6; ++c)
            trims->addWidget(rows[r][c], r + 1, c < 3 ? c + 1 : c + 2);
    }
    trims->setColumnMinimumWidth(4, 16);
    trims->setColumnStretch(8, 1);
    txZoom = makeReadout(QStringLiteral("txZoom"), 64, box);
    QFont zoom = txZoom->font();
    zoom.setBold(true);
    zoom.setPointSizeF(zoom.pointSizeF() * 1.3);
    txZoom->setFont(zoom);
    txZoom->setFixedHeight(30);
    trims->addWidget(label(QStringLiteral("LabelZoom"), QStringLiteral("TI 1 (ms)")), 0, 9,
                     Qt::AlignCenter);
    trims->addWidget(txZoom, 1, 9, 2, 1, Qt::AlignCenter);
    grid->addLayout(trims, 5, 0, 1, 9);
    return box;
}
