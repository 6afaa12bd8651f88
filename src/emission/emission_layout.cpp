// The controls of the emission test screen: the schedule grid, the clock
// with its graph, and the buttons.
#include "emission/emission_screen.h"
#include "emission/test_clock.h"
#include "emission/time_graph.h"
#include "ui/numeric_edit.h"
#include "ui/page_parts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

using schedule::Column;

namespace {
constexpr int CellWidth = 46;

struct ColumnLook {
    Column column;
    const char *stem; // the cells are stem1..stem18
    const char *caption;
};
constexpr ColumnLook Looks[] = {{Column::Time, "TxTbtmp", "Temps (Secondes)"},
                                {Column::Idle, "TxTbra", "Ralenti"},
                                {Column::Load, "TxTbch", "Charge"},
                                {Column::State, "TxTbet", "Etat"}};

QScrollBar *scrollBar(const QString &name, int maximum, QWidget *parent) {
    auto *bar = new QScrollBar(Qt::Horizontal, parent);
    bar->setObjectName(name);
    bar->setRange(0, maximum);
    bar->setPageStep(1);
    return bar;
}
} // namespace

// One column of the grid per entry shown, one line per value of the entry,
// the scroll bar under them moving across the 50 entries.
QGroupBox *EmissionScreen::makeGrid() {
    QGroupBox *box =
        pageparts::frame(QStringLiteral("FrameTableau"), QStringLiteral(" Tableau temps"), this);
    auto *grid = new QGridLayout(box);
    grid->setHorizontalSpacing(2);
    for (int k = 1; k <= schedule::VisibleRows; ++k) {
        QLabel *index = pageparts::label(QStringLiteral("IndexGE") + QString::number(k - 1),
                                         QString::number(k), box);
        index->setAlignment(Qt::AlignCenter);
        m_index.at(std::size_t(k - 1)) = index;
        grid->addWidget(index, 0, k);
    }
    for (int line = 0; line < 4; ++line) {
        const ColumnLook &look = Looks[line];
        grid->addWidget(pageparts::label(QStringLiteral("LabelCol") + QString::number(line),
                                         QString::fromLatin1(look.caption), box),
                        line + 1, 0);
        for (int k = 1; k <= schedule::VisibleRows; ++k) {
            auto *edit = new NumericEdit(QString::fromLatin1(look.stem) + QString::number(k),
                                         keys::Whole, box);
            edit->setFixedWidth(CellWidth);
            edit->setEnterAction([this, column = look.column, k] { cellEntered(column, k); });
            m_cells.at(std::size_t(look.column)).at(std::size_t(k - 1)) = edit;
            grid->addWidget(edit, line + 1, k);
        }
    }
    HScroll2 = scrollBar(QStringLiteral("HScroll2"), schedule::LastScroll, box);
    grid->addWidget(HScroll2, 5, 1, 1, schedule::VisibleRows);
    return box;
}

QLayout *EmissionScreen::makeClock() {
    auto *row = new QHBoxLayout;
    auto *left = new QVBoxLayout;
    left->addWidget(pageparts::label(QStringLiteral("LabelTime"), QStringLiteral("TIME"), this));
    TxTemps = pageparts::display(QStringLiteral("TxTemps"), 80, this);
    TxTemps->setReadOnly(false);
    TxTemps->setText(QStringLiteral("0"));
    left->addWidget(TxTemps);
    EmiStart = pageparts::button(QStringLiteral("EmiStart"), QStringLiteral("Start"), this);
    BtStop = pageparts::button(QStringLiteral("BtStop"), QStringLiteral("Stop"), this);
    Btreset = pageparts::button(QStringLiteral("Btreset"), QStringLiteral("Reset"), this);
    for (QPushButton *b : {EmiStart, BtStop, Btreset})
        left->addWidget(b);
    left->addStretch(1);
    row->addLayout(left);

    auto *graph = new QVBoxLayout;
    Picture1 = new TimeGraph(this);
    graph->addWidget(Picture1, 1);
    HScroll1 = scrollBar(QStringLiteral("HScroll1"), testclock::GraphSeconds, this);
    graph->addWidget(HScroll1);
    row->addLayout(graph, 1);
    return row;
}

QLayout *EmissionScreen::makeButtons() {
    Command1 =
        pageparts::button(QStringLiteral("Command1"), QStringLiteral("Initialisation"), this);
    Command2 = pageparts::button(QStringLiteral("Command2"), QStringLiteral("Fin de teste"), this);
    const pageparts::Download d = pageparts::download(this);
    BoutonCentrale = d.BoutonCentrale;
    BoutonPC = d.BoutonPC;
    BoutonPC->setText(QStringLiteral("     ECU -->> PC     "));
    for (Column column : schedule::Columns) {
        for (int k = 1; k <= schedule::VisibleRows; ++k)
            cell(column, k)->setEnterButton(BoutonCentrale);
    }
    auto *row = new QHBoxLayout;
    row->addWidget(Command1);
    row->addWidget(Command2);
    row->addStretch(1);
    row->addWidget(d.frame);
    return row;
}
