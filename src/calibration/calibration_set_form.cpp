#include "calibration/calibration_set_form.h"

#include "calibration/calibration_end_form.h"
#include "calibration/calibration_screen.h"
#include "settings/number_format.h"
#include "ui/app_context.h"
#include "ui/layout_parts.h"
#include "ui/page_parts.h"
#include "ui/screens.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include <utility>

using monitorui::button;
using monitorui::group;
using monitorui::label;
using monitorui::tight;

namespace {
QLineEdit *setting(const QString &name, const char *text) {
    auto *edit = new QLineEdit(QString::fromLatin1(text));
    edit->setObjectName(name);
    edit->setFixedWidth(90);
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    pageparts::enlarge(edit);
    return edit;
}

// One kind's four durations, captioned by what they count.
QGroupBox *stepsFrame(const QString &name, const QString &caption,
                      const std::array<QLineEdit *, 4> &fields) {
    QGroupBox *box = group(name, caption);
    auto *grid = tight(new QGridLayout(box), 12, 8);
    const char *rows[] = {"Stabilisation essence (pas)", "Echantillons essence",
                          "Stabilisation gaz (pas)", "Echantillons gaz"};
    for (int i = 0; i < 4; ++i) {
        grid->addWidget(
            label(name + QStringLiteral("Label%1").arg(i + 1), QString::fromLatin1(rows[i])), i, 0);
        grid->addWidget(fields[i], i, 1);
    }
    return box;
}
} // namespace

CalibrationSetForm::CalibrationSetForm(AppContext &app, QWidget *parent)
    : Form(QStringLiteral("FnCalibrationSet"), QStringLiteral("Parametres Calibration"), parent),
      m_app(app) {
    pageparts::fitScreenArea(this);
    const char *idle[] = {"30", "100", "30", "100"};
    const char *load[] = {"5", "15", "5", "15"};
    for (int i = 0; i < 4; ++i) {
        TxCaStep[i] = setting(QStringLiteral("TxCaStep%1").arg(i + 1), idle[i]);
        TxCaStepC[i] = setting(QStringLiteral("TxCaStepC%1").arg(i + 1), load[i]);
    }
    TextTPEauSet = setting(QStringLiteral("TextTPEauSet"), "40");
    TxTIExcluCASet = setting(QStringLiteral("TxTIExcluCASet"), "1");
    TxCharge = setting(QStringLiteral("TxCharge"), "1.20");
    TxRalenti = setting(QStringLiteral("TxRalenti"), "3");

    auto *column = tight(new QVBoxLayout(this), 10, 10);
    QGroupBox *outer = group(QStringLiteral("FrameSet"), QStringLiteral("Parametres Calibration"));
    column->addWidget(outer);
    auto *inside = tight(new QVBoxLayout(outer), 12, 12);
    auto *kinds = tight(new QHBoxLayout, 0, 12);
    kinds->addWidget(stepsFrame(QStringLiteral("FrameRalenti"),
                                QStringLiteral(" Aquisition delay Ralenti"), TxCaStep));
    kinds->addWidget(stepsFrame(QStringLiteral("FrameCharge"),
                                QStringLiteral(" Aquisition delay Charge"), TxCaStepC));
    inside->addLayout(kinds);

    QGroupBox *defaults =
        group(QStringLiteral("FrameDefaults"), QStringLiteral(" Calibration parametres defaults"));
    auto *grid = tight(new QGridLayout(defaults), 12, 8);
    const std::pair<const char *, QLineEdit *> rows[] = {
        {"Temperature vapo. depart (C)", TextTPEauSet},
        {"TI exclu des minima (ms)", TxTIExcluCASet},
        {"Charge", TxCharge},
        {"Ralenti", TxRalenti}};
    int row = 0;
    for (const auto &[caption, field] : rows) {
        grid->addWidget(label(QString(), QString::fromLatin1(caption)), row, 0);
        grid->addWidget(field, row++, 1);
    }
    grid->setColumnStretch(2, 1);
    inside->addWidget(defaults);
    inside->addStretch(1);

    BtValider = button(QStringLiteral("BtValider"), QStringLiteral("Valider"), 180);
    Command18 = button(QStringLiteral("Command18"), QStringLiteral("Calcul final BAND 1"), 200);
    Command17 = button(QStringLiteral("Command17"), QStringLiteral("Calcul final BAND 2"), 200);
    auto *buttons = tight(new QHBoxLayout, 0, 12);
    buttons->addStretch(1);
    for (QPushButton *b : {Command18, Command17, BtValider}) {
        b->setMinimumHeight(44);
        buttons->addWidget(b);
    }
    inside->addLayout(buttons);

    connect(BtValider, &QPushButton::clicked, this, &CalibrationSetForm::BtValider_Click);
    connect(Command18, &QPushButton::clicked, this, &CalibrationSetForm::Command18_Click);
    connect(Command17, &QPushButton::clicked, this, &CalibrationSetForm::Command17_Click);
}

void CalibrationSetForm::Form_Load() {
    place(0, 950);
}

calibration::Settings CalibrationSetForm::settings() const {
    calibration::Settings s;
    for (int i = 0; i < 4; ++i) {
        s.idleSteps[i] = number::parse(TxCaStep[i]->text());
        s.loadSteps[i] = number::parse(TxCaStepC[i]->text());
    }
    s.startTemperature = number::parse(TextTPEauSet->text());
    s.exclusion = number::parse(TxTIExcluCASet->text());
    return s;
}

void CalibrationSetForm::BtValider_Click() {
    hideForm();
    m_app.screens.calibrationScreen->showForm();
}

void CalibrationSetForm::Command18_Click() {
    m_app.screens.calibrationEndBank1->showForm();
    m_app.screens.calibrationEndBank1->disableApply();
}

void CalibrationSetForm::Command17_Click() {
    m_app.screens.calibrationEndBank2->showForm();
    m_app.screens.calibrationEndBank1->disableApply();
}
