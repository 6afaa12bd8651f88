// The map screen's controls: on the left the two correction tables with the
// pointers of the entries in use, the proposal under them, then the graph
// and the live values; on the right the room for the acquisition window
// above the buttons.
#include "map/map_screen.h"
#include "map/proposal_table.h"

#include "map/band_graph.h"
#include "ui/app_context.h"
#include "ui/coefficient_grid.h"
#include "ui/layout_parts.h"
#include "ui/page_parts.h"
#include "ui/readout_widgets.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
using monitorui::button;
using monitorui::group;
using monitorui::label;
using monitorui::tight;

constexpr int TrackWidth = 200;
constexpr int TrackHeight = 16;

LevelBar *track(const QString &name, int colour) {
    return monitorui::framedBar(name, colour, TrackWidth, TrackHeight);
}

// A pointer strip under a table's row of fields.
PointerStrip *pointerUnder(QGroupBox *frame, const QString &name, double origin, double perEntry,
                           const QList<QWidget *> &fields) {
    auto *strip = new PointerStrip(name, origin, perEntry, frame);
    strip->setFields(fields);
    if (auto *grid = qobject_cast<QGridLayout *>(frame->layout()))
        grid->addWidget(strip, grid->rowCount(), 0, 1, grid->columnCount());
    return strip;
}
} // namespace

MapScreen::MapScreen(AppContext &app, QWidget *parent)
    : Form(QStringLiteral("FnMAP"), QStringLiteral("MAP"), parent), m_app(app) {
    pageparts::fitScreenArea(this);
    buildLayout();
    connectHandlers();
}

void MapScreen::buildLayout() {
    auto *outer = tight(new QVBoxLayout(this), 2, 0);
    QGroupBox *map = group(QStringLiteral("FrameMAP"), QStringLiteral(" MAP "));
    outer->addWidget(map);
    auto *sides = tight(new QHBoxLayout(map), 2, 4);
    auto *column = tight(new QVBoxLayout, 0, 4);
    sides->addLayout(column, 1);

    m_grid = new CoefficientGrid(map);
    m_grid->compact(30, 44);
    m_grid->followWrites(m_app.link);
    m_grid->temperatureFrame()->setTitle(QStringLiteral(" Tableau coef Depression correction"));
    // Here the second table is read against the depression, not the gas temperature.
    m_grid->temperatureAxisCaption()->setText(QStringLiteral("<< -- Depression"));
    QList<QWidget *> pressureFields, depFields;
    for (int n = 1; n <= 20; ++n) {
        pressureFields.append(m_grid->TxTbCP(n));
        depFields.append(m_grid->TxTbCG(n));
    }
    // Pressure n/10 bar sits at 130 + 530 n twips, "Dep" 5n at 270 + 505 n.
    pointeur2 = pointerUnder(m_grid->pressureFrame(), QStringLiteral("pointeur2"), 130, 530,
                             pressureFields);
    Pointeur =
        pointerUnder(m_grid->temperatureFrame(), QStringLiteral("Pointeur"), 270, 505, depFields);
    column->addWidget(m_grid);
    m_proposal = new ProposalTable(map);
    m_proposal->alignTo(depFields);
    column->addWidget(m_proposal);

    auto *bottom = tight(new QHBoxLayout, 0, 6);
    QGroupBox *graphFrame = group(QStringLiteral("FrameGraph"), QString());
    auto *graphColumn = tight(new QVBoxLayout(graphFrame), 4, 2);
    auto *caption = label(QStringLiteral("LabelTIms"), QStringLiteral("TI ms"));
    graphColumn->addWidget(caption);
    Picture1 = new BandGraph(graphFrame);
    graphColumn->addWidget(Picture1, 1);
    bottom->addWidget(graphFrame, 1);
    bottom->addWidget(buildLive());
    column->addLayout(bottom, 1);

    // The right-hand column: room for the acquisition window above the
    // buttons, so the window opens beside the tables and live values.
    auto *side = tight(new QVBoxLayout, 0, 4);
    m_acquisitionRoom = new QWidget(map);
    m_acquisitionRoom->setObjectName(QStringLiteral("AcquisitionRoom"));
    m_acquisitionRoom->setFixedWidth(AcquisitionWidth);
    side->addWidget(m_acquisitionRoom, 1);
    side->addWidget(buildControls());
    sides->addLayout(side);
}

QWidget *MapScreen::buildLive() {
    QGroupBox *box = group(QStringLiteral("FrameLive"), QString());
    auto *grid = tight(new QGridLayout(box), 6, 4);
    auto readout = [](const QString &name) { return makeReadout(name, 58, nullptr); };
    txZoom = readout(QStringLiteral("txZoom"));
    TxTIG = readout(QStringLiteral("TxTIG"));
    TxzoomG = readout(QStringLiteral("TxzoomG"));
    BarE1 = track(QStringLiteral("BarE1"), 0x0000C0);
    BarG1 = track(QStringLiteral("BarG1"), 0x00A000);
    BarTPGaz = track(QStringLiteral("BarTPGaz"), 0xC0A000);
    BarLambda = track(QStringLiteral("BarLambda"), 0x00C000);
    BarPression = track(QStringLiteral("BarPression"), 0x00C000);

    int row = 0;
    auto line = [&](const char *name, const char *text, QWidget *field, LevelBar *bar) {
        grid->addWidget(label(QString::fromLatin1(name), QString::fromLatin1(text)), row, 0);
        if (field)
            grid->addWidget(field, row, 1);
        grid->addWidget(bar, row + 1, 0, 1, 2);
        row += 2;
    };
    line("LabelTIB", "TI B", txZoom, BarE1);
    line("LabelTIG", "Ti G", TxTIG, BarG1);
    line("LabelDep", "Dep", TxzoomG, BarTPGaz);
    grid->addWidget(label(QStringLiteral("LabelDepression"), QStringLiteral("Depression")), row - 2,
                    0, Qt::AlignRight);
    line("LabelLambda", "Lambda", nullptr, BarLambda);
    line("LabelPression", "Pression", nullptr, BarPression);
    TextGazEtat = makeReadout(QStringLiteral("TextGazEtat"), 140, box);
    grid->addWidget(TextGazEtat, row, 0, 1, 2, Qt::AlignLeft);
    grid->setRowStretch(row + 1, 1);
    return box;
}

// Two columns: the acquisition, the tables' write and "Quitter"; the trims
// with their write and the fuel switch.
QWidget *MapScreen::buildControls() {
    auto *panel = new QWidget;
    QFont small = panel->font();
    small.setPixelSize(11);
    panel->setFont(small);
    panel->setFixedWidth(AcquisitionWidth);
    auto *columns = tight(new QHBoxLayout(panel), 0, 4);
    auto *left = tight(new QVBoxLayout, 0, 4);
    auto *right = tight(new QVBoxLayout, 0, 4);
    columns->addLayout(left);
    columns->addLayout(right);

    QGroupBox *acquisition = group(QStringLiteral("FrameAquisition"), QStringLiteral("Aquisition"));
    auto *acqColumn = tight(new QVBoxLayout(acquisition), 4, 2);
    StarMapAqui = button(QStringLiteral("StarMapAqui"), QStringLiteral("Start Aquisition"));
    StopMapAqui = button(QStringLiteral("StopMapAqui"), QStringLiteral("Stop Aquisition"));
    acqColumn->addWidget(StarMapAqui);
    acqColumn->addWidget(StopMapAqui);
    left->addWidget(acquisition);

    QGroupBox *download = group(QStringLiteral("FrameDownload"), QStringLiteral("Download"));
    auto *dlColumn = tight(new QVBoxLayout(download), 4, 2);
    BoutonCentrale =
        button(QStringLiteral("BoutonCentrale"), QStringLiteral("     PC -->> ECM     "));
    BoutonPC = button(QStringLiteral("BoutonPC"), QStringLiteral("Centrale -->> PC"));
    dlColumn->addWidget(BoutonCentrale);
    dlColumn->addWidget(BoutonPC);
    left->addWidget(download);
    Btexit = button(QStringLiteral("Btexit"), QStringLiteral("Quitter"));
    left->addWidget(Btexit);

    QGroupBox *engine = group(QStringLiteral("FrameEngine"), QStringLiteral(" Engine Variables "));
    auto *grid = tight(new QGridLayout(engine), 4, 2);
    auto trim = [](const QString &name) {
        auto *edit = new QLineEdit;
        edit->setObjectName(name);
        edit->setFixedWidth(52);
        edit->setAlignment(Qt::AlignCenter);
        return edit;
    };
    TxCharge = trim(QStringLiteral("TxCharge"));
    TxRalenti = trim(QStringLiteral("TxRalenti"));
    BtCharge1 = button(QStringLiteral("BtCharge1"), QStringLiteral("-"), 24);
    BtCharge2 = button(QStringLiteral("BtCharge2"), QStringLiteral("+"), 24);
    BtRalenti1 = button(QStringLiteral("BtRalenti1"), QStringLiteral("-"), 24);
    BtRalenti2 = button(QStringLiteral("BtRalenti2"), QStringLiteral("+"), 24);
    grid->addWidget(label(QStringLiteral("LabelCharge"), QStringLiteral("   CHARGE   ")), 0, 0, 1,
                    3, Qt::AlignCenter);
    grid->addWidget(BtCharge1, 1, 0);
    grid->addWidget(TxCharge, 1, 1);
    grid->addWidget(BtCharge2, 1, 2);
    grid->addWidget(label(QStringLiteral("LabelRalenti"), QStringLiteral("       IDLE       ")), 2,
                    0, 1, 3, Qt::AlignCenter);
    grid->addWidget(BtRalenti1, 3, 0);
    grid->addWidget(TxRalenti, 3, 1);
    grid->addWidget(BtRalenti2, 3, 2);
    Command1 = button(QStringLiteral("Command1"), QStringLiteral("PC -->> Centrale"));
    grid->addWidget(Command1, 4, 0, 1, 3);
    right->addWidget(engine);
    SwitchCommutateur =
        button(QStringLiteral("SwitchCommutateur"), QStringLiteral("        SWITCH        "));
    right->addWidget(SwitchCommutateur);
    return panel;
}
