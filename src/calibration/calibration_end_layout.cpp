// The end forms' controls: the idle and load results side by side with
// their "Appliquer" buttons, the bank's trims, and the way back.
#include "calibration/calibration_end_form.h"

#include "ui/layout_parts.h"
#include "ui/page_parts.h"
#include "ui/readout_widgets.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

using namespace calibration;
using monitorui::button;
using monitorui::group;
using monitorui::label;
using monitorui::tight;

namespace {
constexpr int ResultWidth = 170;

QFont larger(QFont f, double by) {
    f.setPointSizeF(f.pointSizeF() + by);
    return f;
}
} // namespace

void CalibrationEndForm::buildLayout() {
    pageparts::fitScreenArea(this);
    for (int f = 0; f < FieldCount; ++f) {
        QLineEdit *field = makeReadout(QString::fromLatin1(fieldName(Field(f))), ResultWidth, this);
        field->setFont(larger(field->font(), 2));
        field->setMinimumHeight(26);
        m_results[f] = field;
    }
    auto *column = tight(new QVBoxLayout(this), 6, 6);
    QGroupBox *outer = group(QStringLiteral("FrameFin"), windowTitle());
    outer->setFont(larger(outer->font(), 2));
    column->addWidget(outer);
    auto *inside = tight(new QVBoxLayout(outer), 8, 8);
    auto *kinds = tight(new QVBoxLayout, 0, 8);
    kinds->addWidget(buildKind(Kind::Idle));
    kinds->addWidget(buildKind(Kind::Load));
    // Bank 2's results are applied from the calibration form only.
    for (QPushButton *b : {Command1, Command2, Command4})
        b->setVisible(m_bank == 0);
    inside->addLayout(kinds);
    auto *bottom = tight(new QHBoxLayout, 0, 10);
    bottom->addWidget(buildTrims());
    bottom->addStretch(1);
    BtCalibrationSet =
        button(QStringLiteral("BtCalibrationSet"), QStringLiteral("Calibration"), 160);
    if (m_bank == 0) {
        Command17 = button(QStringLiteral("Command17"), QStringLiteral("Calcul final BAND 2"), 200);
        bottom->addWidget(Command17, 0, Qt::AlignBottom);
    } else {
        Command18 = button(QStringLiteral("Command18"), QStringLiteral("Calcul final BAND 1"), 200);
        bottom->addWidget(Command18, 0, Qt::AlignBottom);
    }
    bottom->addWidget(BtCalibrationSet, 0, Qt::AlignBottom);
    for (QPushButton *b : {BtCalibrationSet, Command17 ? Command17 : Command18})
        b->setMinimumHeight(44);
    inside->addLayout(bottom);
    inside->addStretch(1);
}

// One kind's results: minima on the left, means on the right, each with
// its difference, its gas time and the calibrated value to apply.
QWidget *CalibrationEndForm::buildKind(Kind kind) {
    const bool idle = kind == Kind::Idle;
    QGroupBox *box =
        group(idle ? QStringLiteral("FrameRalenti") : QStringLiteral("FrameCharge"),
              idle ? QStringLiteral(" Aquisition Ralenti") : QStringLiteral(" Aquisition Charge"));
    auto *grid = tight(new QGridLayout(box), 8, 4);
    grid->setHorizontalSpacing(12);
    const Field first = idle ? TxMinER : TxMinEC;
    const Field gasMin = idle ? TxTIGR1 : TxTIGR3;
    const Field gasMean = idle ? TxTIGR2 : TxTIGR4;
    const char *captions[][2] = {{"TI min Essence", "TI moyen Essence"},
                                 {"TI min Gaz", "TI moyen gaz"},
                                 {"Difference", "Difference"},
                                 {"TI Gaz", "TI Gaz"}};
    const Field fields[][2] = {{first, Field(first + 1)},
                               {Field(first + 2), Field(first + 3)},
                               {Field(first + 4), Field(first + 5)},
                               {gasMin, gasMean}};
    int row = 0;
    for (int r = 0; r < 4; ++r, ++row) {
        for (int side = 0; side < 2; ++side) {
            grid->addWidget(label(QString(), QString::fromLatin1(captions[r][side])), row,
                            side * 3);
            grid->addWidget(m_results[fields[r][side]], row, side * 3 + 1);
        }
    }
    auto apply = [](const char *name) {
        QPushButton *b = button(QString::fromLatin1(name), QStringLiteral("Appliquer"), 96);
        b->setEnabled(false);
        return b;
    };
    if (idle) {
        Command1 = apply("Command1");
        Command2 = apply("Command2");
        grid->addWidget(label(QString(), QStringLiteral("Ralenti calcule")), row, 0);
        grid->addWidget(m_results[TxApp1], row, 1);
        grid->addWidget(Command1, row, 2);
        grid->addWidget(label(QString(), QStringLiteral("Ralenti calcule")), row, 3);
        grid->addWidget(m_results[TxApp2], row, 4);
        grid->addWidget(Command2, row, 5);
    } else {
        Command4 = apply("Command4");
        grid->addWidget(label(QString(), QStringLiteral("charge calcule")), row, 0);
        grid->addWidget(m_results[TxCCHP1], row, 1);
        grid->addWidget(label(QString(), QStringLiteral("Ralenti calcule")), row, 3);
        grid->addWidget(m_results[TxRCHP1], row, 4);
        grid->addWidget(Command4, row, 5);
    }
    grid->setColumnMinimumWidth(2, 96);
    grid->setColumnStretch(2, 1);
    grid->setColumnStretch(6, 1);
    return box;
}

QWidget *CalibrationEndForm::buildTrims() {
    QGroupBox *box = group(QStringLiteral("FrameVariables"), QStringLiteral("Variables Moteur"));
    auto *grid = tight(new QGridLayout(box), 10, 6);
    TxCharge = monitorui::trimEdit(QStringLiteral("TxCharge"));
    TxRalenti = monitorui::trimEdit(QStringLiteral("TxRalenti"));
    BtCharge1 = button(QStringLiteral("BtCharge1"), QStringLiteral("-"), monitorui::StepWidth);
    BtCharge2 = button(QStringLiteral("BtCharge2"), QStringLiteral("+"), monitorui::StepWidth);
    BtRalenti1 = button(QStringLiteral("BtRalenti1"), QStringLiteral("-"), monitorui::StepWidth);
    BtRalenti2 = button(QStringLiteral("BtRalenti2"), QStringLiteral("+"), monitorui::StepWidth);
    BoutonCentrale = button(QStringLiteral("BoutonCentrale"), QStringLiteral("PC -->> Centrale"));
    grid->addWidget(label(QStringLiteral("LabelCharge"), QStringLiteral("Charge")), 0, 0);
    grid->addWidget(BtCharge1, 0, 1);
    grid->addWidget(TxCharge, 0, 2);
    grid->addWidget(BtCharge2, 0, 3);
    grid->addWidget(label(QStringLiteral("LabelRalenti"), QStringLiteral("Ralenti")), 1, 0);
    grid->addWidget(BtRalenti1, 1, 1);
    grid->addWidget(TxRalenti, 1, 2);
    grid->addWidget(BtRalenti2, 1, 3);
    grid->addWidget(BoutonCentrale, 0, 4, 2, 1);
    BoutonCentrale->setMinimumHeight(56);
    if (m_bank != 0) {
        for (QPushButton *b : {BtCharge1, BtCharge2, BtRalenti1, BtRalenti2, BoutonCentrale})
            b->setVisible(false);
        TxCharge->setReadOnly(true);
        TxRalenti->setReadOnly(true);
    }
    return box;
}
