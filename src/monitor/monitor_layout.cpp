// The monitor's controls, grouped as on the instrument panel: sensors and
// engine variables on the left, the three dials, the alarms and the fuel
// state on the right, the second write button below them.
#include "monitor/monitor_screen.h"

#include "monitor/needle_gauge.h"
#include "monitor/record_strip.h"
#include "ui/colors.h"
#include "ui/geometry.h"
#include "ui/layout_parts.h"
#include "ui/readout_widgets.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
using namespace monitorui;

constexpr int TrackWidth = 340; // 5100 twips: the lambda bar's full scale fits
constexpr int TrackHeight = 18;
constexpr int SpeedBarColour = 0xA05020;
constexpr int GasTempBarColour = 0xC0A000;

LevelBar *track(const QString &name, int colour) {
    return framedBar(name, colour, TrackWidth, TrackHeight);
}

// Captions under a bar, each at the position the bar reaches for it.
QWidget *scaleRow(const QList<QPair<QLabel *, int>> &marks) {
    auto *row = new QWidget;
    row->setFixedSize(TrackWidth, 14);
    for (const auto &[caption, at] : marks) {
        caption->setParent(row);
        QFont f = caption->font();
        f.setPointSizeF(f.pointSizeF() * 0.85);
        caption->setFont(f);
        caption->setFixedSize(64, 14);
        int x = at - 32;
        if (x < 0) {
            x = 0;
            caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        } else if (x > TrackWidth - 64) {
            x = TrackWidth - 64;
            caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        } else {
            caption->setAlignment(Qt::AlignCenter);
        }
        caption->move(x, 0);
    }
    return row;
}

} // namespace

void MonitorScreen::buildLayout() {
    auto *outer = tight(new QVBoxLayout(this), 2, 0);
    QGroupBox *monitor = group(QStringLiteral("Frame1"), QStringLiteral(" Monitor"));
    outer->addWidget(monitor);
    auto *columns = tight(new QHBoxLayout(monitor), 6, 6);

    auto *left = tight(new QVBoxLayout, 0, 6);
    QWidget *sensors = buildSensors();
    m_livePanels.push_back(sensors);
    left->addWidget(sensors);
    left->addWidget(buildEngineVariables(), 1);
    // The drive log's row takes room the engine variables leave free, level
    // with the write row on the right, so the screen keeps its size.
    Recording = new RecordStrip(m_app);
    left->addWidget(Recording);
    columns->addLayout(left);

    auto *right = tight(new QVBoxLayout, 0, 6);
    QWidget *gauges = buildGauges();
    QWidget *alarms = buildAlarms();
    QWidget *status = buildStatus();
    m_livePanels.insert(m_livePanels.end(), {gauges, alarms, status});
    right->addWidget(gauges);
    auto *lampsAndState = tight(new QHBoxLayout, 0, 6);
    lampsAndState->addWidget(alarms, 1);
    lampsAndState->addWidget(status, 1);
    right->addLayout(lampsAndState);
    right->addStretch(1);
    right->addWidget(buildWriteColumn());
    columns->addLayout(right);
}

QWidget *MonitorScreen::buildSensors() {
    QGroupBox *box = group(QStringLiteral("Frame2"), QStringLiteral(" Sensors "));
    auto *grid = tight(new QGridLayout(box), 8, 6);
    grid->setHorizontalSpacing(8);
    TextTPEau = makeReadout(QStringLiteral("TextTPEau"), ValueWidth, box);
    TextTPGaz = makeReadout(QStringLiteral("TextTPGaz"), ValueWidth, box);
    TextPression = makeReadout(QStringLiteral("TextPression"), ValueWidth, box);
    TextLambda = makeReadout(QStringLiteral("TextLambda"), ValueWidth, box);
    TextRPM = makeReadout(QStringLiteral("TextRPM"), ValueWidth, box);
    BarTPEau = track(QStringLiteral("BarTPEau"), colors::Green);
    BarTPGaz = track(QStringLiteral("BarTPGaz"), GasTempBarColour);
    BarPression = track(QStringLiteral("BarPression"), colors::Green);
    BarLambda = track(QStringLiteral("BarLambda"), colors::Green);
    BarRPM = track(QStringLiteral("BarRPM"), SpeedBarColour);
    LambaType1 = label(QStringLiteral("LambaType1"), QString());
    LambaType2 = label(QStringLiteral("LambaType2"), QString());

    int row = 0;
    auto addSensor = [&](const char *name, const char *caption, QLineEdit *field, LevelBar *bar) {
        grid->addWidget(label(QString::fromLatin1(name), QString::fromLatin1(caption)), row, 0);
        grid->addWidget(field, row, 1);
        grid->addWidget(bar, row, 2, Qt::AlignVCenter);
        ++row;
    };
    auto addScale = [&](QWidget *scale) { grid->addWidget(scale, row++, 2, Qt::AlignTop); };
    addSensor("Label1", " Vapouriser Temperature ", TextTPEau, BarTPEau);
    addSensor("Label2", " Gas Temperature ", TextTPGaz, BarTPGaz);
    addSensor("Label3", " Gas Pressure (bar) ", TextPression, BarPression);
    // The pressure bar starts at -1 bar; 2.5 bar is ((2.5 + 1) x 100) x 8.5 twips.
    addScale(scaleRow(
        {{label(QStringLiteral("LabelPressMin"), QStringLiteral("-1 bar")), 0},
         {label(QStringLiteral("LabelPressMax"), QStringLiteral("2.5 bar")), twips(2975)}}));
    addSensor("Label4", " Lambda ", TextLambda, BarLambda);
    addScale(scaleRow({{LambaType1, 0}, {LambaType2, TrackWidth}}));
    addSensor("Label5", " RPM ", TextRPM, BarRPM);
    grid->setColumnStretch(0, 1);
    return box;
}

QWidget *MonitorScreen::buildGauges() {
    QGroupBox *box = group(QStringLiteral("Frame9"), QStringLiteral(" Engine Variables 2 "));
    auto *grid = tight(new QGridLayout(box), 6, 4);
    PicRPM = new NeedleGauge(QStringLiteral("PicRPM"), gauge::Speed,
                             {45.0, 500.0, 1000.0, 1000.0, 6000.0, QStringLiteral("rpm x 1000")});
    Pictemp = new NeedleGauge(QStringLiteral("Pictemp"), gauge::Temperature,
                              {1.0, 10.0, 20.0, 1.0, 1e9, QStringLiteral("\u00B0C")});
    PicPress = new NeedleGauge(QStringLiteral("PicPress"), gauge::Pressure,
                               {0.01, 0.1, 0.5, 1.0, 1e9, QStringLiteral("bar")});
    TxRPM = label(QStringLiteral("TxRPM"), QStringLiteral("0"));
    TxTmp = label(QStringLiteral("TxTmp"), QStringLiteral("0"));
    TxPrss = label(QStringLiteral("TxPrss"), QStringLiteral("0"));
    PicRPM->setCaption(TxRPM);
    Pictemp->setCaption(TxTmp);
    PicPress->setCaption(TxPrss);
    grid->addWidget(PicRPM, 0, 0);
    grid->addWidget(Pictemp, 0, 1);
    grid->addWidget(PicPress, 1, 0);

    // The lowest and highest pressure since the last reset.
    auto *memory = new QFrame(box);
    memory->setObjectName(QStringLiteral("FramePressMemory"));
    memory->setFrameShape(QFrame::StyledPanel);
    auto *m = tight(new QGridLayout(memory), 8, 6);
    TxLPress = makeReadout(QStringLiteral("TxLPress"), ValueWidth, memory);
    TxHPress = makeReadout(QStringLiteral("TxHPress"), ValueWidth, memory);
    TxLPress->setText(QStringLiteral("0"));
    TxHPress->setText(QStringLiteral("0"));
    RazPrss = button(QStringLiteral("RazPrss"), QStringLiteral("Reset"));
    auto *title =
        label(QStringLiteral("LabelPressMemory"), QStringLiteral("Pressure memory (bar)"));
    title->setAlignment(Qt::AlignCenter);
    m->addWidget(title, 0, 0, 1, 2);
    m->addWidget(label(QStringLiteral("LabelPressLow"), QStringLiteral("Lowest")), 1, 0);
    m->addWidget(TxLPress, 1, 1);
    m->addWidget(label(QStringLiteral("LabelPressHigh"), QStringLiteral("Highest")), 2, 0);
    m->addWidget(TxHPress, 2, 1);
    m->addWidget(RazPrss, 3, 0, 1, 2);
    grid->addWidget(memory, 1, 1, Qt::AlignCenter);
    return box;
}

QWidget *MonitorScreen::buildAlarms() {
    QGroupBox *box = group(QStringLiteral("Frame6"), QStringLiteral(" Alarms "));
    auto *column = tight(new QVBoxLayout(box), 6, 4);
    TxAldemarage = new AlarmLamp(QStringLiteral("TxAldemarage"),
                                 QStringLiteral("          Start Gas          "), box);
    TxAlarmePress = new AlarmLamp(QStringLiteral("TxAlarmePress"),
                                  QStringLiteral("      Pressure Alarm      "), box);
    TxAlarmeTmp = new AlarmLamp(QStringLiteral("TxAlarmeTmp"),
                                QStringLiteral("   Temperature Alarm   "), box);
    BtResetAlarme =
        button(QStringLiteral("BtResetAlarme"), QStringLiteral("    Reset Alarme     "));
    for (AlarmLamp *lamp : {TxAldemarage, TxAlarmePress, TxAlarmeTmp}) {
        lamp->setFixedHeight(22);
        column->addWidget(lamp);
    }
    column->addWidget(BtResetAlarme);
    return box;
}

QWidget *MonitorScreen::buildStatus() {
    QGroupBox *box = group(QStringLiteral("Frame3"), QStringLiteral(" Status Operation "));
    auto *column = tight(new QVBoxLayout(box), 6, 6);
    TextGazEtat = makeReadout(QStringLiteral("TextGazEtat"), 150, box);
    TextGazEtat->setAlignment(Qt::AlignCenter);
    TextGazEtat->setFixedHeight(32);
    QFont f = TextGazEtat->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.3);
    TextGazEtat->setFont(f);
    SwitchCommutateur =
        button(QStringLiteral("SwitchCommutateur"), QStringLiteral("        SWITCH        "));
    column->addWidget(TextGazEtat, 0, Qt::AlignHCenter);
    column->addWidget(SwitchCommutateur);
    column->addStretch(1);
    return box;
}

QWidget *MonitorScreen::buildWriteColumn() {
    auto *row = new QWidget;
    auto *line = tight(new QHBoxLayout(row), 0, 6);
    Label12 = label(QStringLiteral("Label12"), QStringLiteral("ECM fireware :"));
    EmiStart = button(QStringLiteral("EmiStart"), QStringLiteral("Start"));
    TxTemps = makeReadout(QStringLiteral("TxTemps"), 50, row);
    BoutonCentraleB =
        button(QStringLiteral("BoutonCentraleB"), QStringLiteral("     PC -->> ECM     "));
    line->addWidget(Label12);
    line->addWidget(EmiStart);
    line->addWidget(TxTemps);
    line->addStretch(1);
    line->addWidget(BoutonCentraleB);
    return row;
}
