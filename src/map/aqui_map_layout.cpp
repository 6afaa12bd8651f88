// The acquisition window: its settings and status on top, the crossing log,
// then the band table in two blocks of ten and the export buttons. Small
// print and narrow fields: the window shares the screen with the map screen.
#include "map/aqui_map_form.h"

#include "ui/layout_parts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
using monitorui::button;
using monitorui::group;
using monitorui::label;
using monitorui::tight;

QLineEdit *field(const QString &name, const QString &text, int width, bool readOnly) {
    auto *edit = new QLineEdit(text);
    edit->setObjectName(name);
    edit->setFixedWidth(width);
    edit->setReadOnly(readOnly);
    edit->setAlignment(Qt::AlignRight);
    return edit;
}
} // namespace

AquiMapForm::AquiMapForm(AppContext &app, QWidget *parent)
    : Form(QStringLiteral("FnAquiMap"), QStringLiteral("Aquisition MAP"), parent), m_app(app) {
    buildLayout();
    connect(BtExportBands, &QPushButton::clicked, this, [this] { BtExportBands_Click(); });
    connect(BtExportLog, &QPushButton::clicked, this, [this] { BtExportLog_Click(); });
    connect(BtClearBands, &QPushButton::clicked, this, [this] { BtClearBands_Click(); });
}

void AquiMapForm::buildLayout() {
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);
    auto *column = tight(new QVBoxLayout(this), 4, 3);
    column->addWidget(buildSettings());
    tx1 = new QPlainTextEdit(this);
    tx1->setObjectName(QStringLiteral("tx1"));
    tx1->setReadOnly(true);
    tx1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // Wrapped: the narrow window shows a long line whole.
    tx1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    tx1->setMinimumHeight(48);
    column->addWidget(tx1, 1);
    column->addWidget(buildBands());
    auto *exports = tight(new QHBoxLayout, 0, 3);
    BtExportBands = button(QStringLiteral("BtExportBands"), QStringLiteral("Export bands CSV"));
    BtExportLog = button(QStringLiteral("BtExportLog"), QStringLiteral("Export log CSV"));
    exports->addWidget(BtExportBands);
    exports->addWidget(BtExportLog);
    BtClearBands = button(QStringLiteral("BtClearBands"), QStringLiteral("Clear bands"));
    exports->addWidget(BtClearBands);
    column->addLayout(exports);
}

// The readings on the left, the threshold and the two tolerances on the
// right, each tolerance with the box that switches its test on.
QWidget *AquiMapForm::buildSettings() {
    auto *box = new QWidget;
    auto *grid = tight(new QGridLayout(box), 0, 2);
    grid->setHorizontalSpacing(4);
    param1 = field(QStringLiteral("param1"), QString(), 42, true);
    param2 = field(QStringLiteral("param2"), QString(), 42, true);
    param3 = field(QStringLiteral("param3"), QString(), 42, true);
    param5 = field(QStringLiteral("param5"), QStringLiteral("0.5"), 40, false);
    param4 = field(QStringLiteral("param4"), QStringLiteral("8"), 40, false);
    param6 = field(QStringLiteral("param6"), QStringLiteral("0.40"), 40, false);
    // Both tests start ticked: the admitted changes are what makes a
    // crossing count as steady.
    Check1 = new QCheckBox(QStringLiteral("Relative test"), box);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setChecked(true);
    Check2 = new QCheckBox(QStringLiteral("Absolute test"), box);
    Check2->setObjectName(QStringLiteral("Check2"));
    Check2->setChecked(true);
    Statu = field(QStringLiteral("Statu"), QString(), 92, true);
    Statu->setAlignment(Qt::AlignCenter);

    const struct {
        const char *name, *caption;
        QWidget *w;
        int row, col;
    } cells[] = {
        {"Label1", "TI enregistre", param1, 0, 0}, {"Label2", "Map Valeur", param2, 1, 0},
        {"Label3", "Lambda", param3, 2, 0},        {"Label5", "Valeur Rich/lean", param5, 0, 2},
        {"Label4", "% Admit", param4, 1, 2},       {"Label6", "TI Admit", param6, 2, 2},
    };
    for (const auto &c : cells) {
        grid->addWidget(label(QString::fromLatin1(c.name), QString::fromLatin1(c.caption)), c.row,
                        c.col);
        grid->addWidget(c.w, c.row, c.col + 1);
    }
    grid->addWidget(Check1, 3, 2, 1, 2);
    grid->addWidget(Check2, 4, 2, 1, 2);
    grid->addWidget(label(QStringLiteral("Label7"), QStringLiteral("Status system")), 3, 0, 1, 2);
    grid->addWidget(Statu, 4, 0, 1, 2);
    return box;
}

QWidget *AquiMapForm::buildBands() {
    QGroupBox *box = group(QStringLiteral("FrameBands"), QString());
    auto *grid = tight(new QGridLayout(box), 3, 1);
    grid->setHorizontalSpacing(2);
    // Per half: band, petrol value and count, gas value and count, a gap.
    for (int half = 0; half < 2; ++half) {
        const int col = half * 6;
        grid->addWidget(label(QStringLiteral("LabelEss%1").arg(half), QStringLiteral("Ess")), 0,
                        col + 1, Qt::AlignCenter);
        grid->addWidget(label(QStringLiteral("LabelGas%1").arg(half), QStringLiteral("Gas")), 0,
                        col + 3, Qt::AlignCenter);
        for (int i = 0; i < 10; ++i) {
            const int k = half * 10 + i + 1;
            grid->addWidget(label(QStringLiteral("LabelBand%1").arg(k), QString::number(5 * k)),
                            i + 1, col, Qt::AlignRight);
            QLineEdit *petrol = field(QStringLiteral("TxTbmapB%1").arg(k), QString(), 38, true);
            QLineEdit *gas = field(QStringLiteral("TxTbmapG%1").arg(k), QString(), 38, true);
            petrol->setFixedHeight(17);
            gas->setFixedHeight(17);
            m_petrol.at(std::size_t(k - 1)) = petrol;
            m_gas.at(std::size_t(k - 1)) = gas;
            grid->addWidget(petrol, i + 1, col + 1);
            grid->addWidget(gas, i + 1, col + 3);
            for (const bool isGas : {false, true}) {
                QLabel *count =
                    label((isGas ? QStringLiteral("TxNbG%1") : QStringLiteral("TxNbB%1")).arg(k),
                          QString());
                count->setMinimumWidth(14);
                (isGas ? m_gasCount : m_petrolCount).at(std::size_t(k - 1)) = count;
                grid->addWidget(count, i + 1, col + (isGas ? 4 : 2));
            }
        }
    }
    grid->setColumnMinimumWidth(5, 8);
    return box;
}
