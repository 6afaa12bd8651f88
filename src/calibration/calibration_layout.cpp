// The calibration form's controls: the status caption and progress bar
// across the top, large enough to read from beside the car; the live
// copies of the monitor on the left; the commands and the trims on the right.
#include "calibration/calibration_screen.h"

#include "ui/colors.h"
#include "ui/layout_parts.h"
#include "ui/page_parts.h"
#include "ui/readout_widgets.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QVBoxLayout>

#include <string_view>

using monitorui::button;
using monitorui::group;
using monitorui::label;
using monitorui::tight;

namespace {
constexpr int TrackWidth = 230;
constexpr int TrackHeight = 22;
constexpr int ReadoutWidth = 90;
constexpr int SpeedBarColour = 0xA05020;
constexpr int GasTempBarColour = 0xC0A000;
constexpr int InjectionBarColour = 0x2080E0;

QFont scaled(QFont f, double by, bool bold = false) {
    f.setPointSizeF(f.pointSizeF() + by);
    f.setBold(bold);
    return f;
}

LevelBar *track(const QString &name, int colour) {
    auto *bar = new LevelBar(name, colour, LevelBar::Trough::Framed);
    bar->setFixedSize(TrackWidth, TrackHeight);
    return bar;
}

QFrame *decoration(const QString &name, QFrame::Shape shape) {
    auto *f = new QFrame;
    f->setObjectName(name);
    f->setFrameShape(shape);
    f->setFrameShadow(QFrame::Sunken);
    return f;
}
} // namespace

void CalibrationScreen::buildLayout() {
    pageparts::fitScreenArea(this);
    auto *column = tight(new QVBoxLayout(this), 10, 10);
    column->addWidget(buildProgress());
    auto *columns = tight(new QHBoxLayout, 0, 10);
    columns->addWidget(buildLive(), 1);
    auto *right = tight(new QVBoxLayout, 0, 10);
    right->addWidget(buildCommands());
    right->addWidget(buildTrims());
    right->addStretch(1);
    columns->addLayout(right, 0);
    column->addLayout(columns, 1);
}

QWidget *CalibrationScreen::buildProgress() {
    QGroupBox *box = group(QStringLiteral("Frame1"), QStringLiteral("Calibration"));
    auto *col = tight(new QVBoxLayout(box), 10, 8);
    TxAction = label(QStringLiteral("TxAction"), QString());
    TxAction->setFont(scaled(TxAction->font(), 12, true));
    TxAction->setAlignment(Qt::AlignCenter);
    TxAction->setMinimumHeight(40);
    BarCalibration = new QProgressBar;
    BarCalibration->setObjectName(QStringLiteral("BarCalibration"));
    BarCalibration->setMinimumHeight(36);
    BarCalibration->setFont(scaled(BarCalibration->font(), 4, true));
    BarCalibration->setFormat(QStringLiteral("%v / %m"));
    BarCalibration->setAlignment(Qt::AlignCenter);
    BarCalibration->setRange(0, 10);
    BarCalibration->setValue(0);
    col->addWidget(TxAction);
    col->addWidget(BarCalibration);
    return box;
}

QWidget *CalibrationScreen::buildLive() {
    QGroupBox *box = group(QStringLiteral("Frame3"), QStringLiteral(" Sensors "));
    auto *grid = tight(new QGridLayout(box), 10, 8);
    grid->setHorizontalSpacing(10);
    auto readout = [box](const char *name) {
        QLineEdit *field = makeReadout(QString::fromLatin1(name), ReadoutWidth, box);
        field->setFont(scaled(field->font(), 6, true));
        field->setMinimumHeight(34);
        return field;
    };
    TextE1 = readout("TextE1");
    TextE5 = readout("TextE5");
    TextTPEau = readout("TextTPEau");
    TextTPGaz = readout("TextTPGaz");
    TextPression = readout("TextPression");
    TextLambda = readout("TextLambda");
    TextRPM = readout("TextRPM");
    TextGazEtat = readout("TextGazEtat");
    TextGazEtat->setAlignment(Qt::AlignCenter);
    BarE1 = track(QStringLiteral("BarE1"), InjectionBarColour);
    BarE5 = track(QStringLiteral("BarE5"), InjectionBarColour);
    BarTPEau = track(QStringLiteral("BarTPEau"), colors::Green);
    BarTPGaz = track(QStringLiteral("BarTPGaz"), GasTempBarColour);
    BarPression = track(QStringLiteral("BarPression"), colors::Green);
    BarLambda = track(QStringLiteral("BarLambda"), colors::Green);
    BarRPM = track(QStringLiteral("BarRPM"), SpeedBarColour);

    // One line a value: its caption, the value large, its bar.
    int row = 0;
    auto line = [&](const char *name, const char *text, QLineEdit *field, QWidget *bar) {
        if (name) {
            QLabel *l = label(QString::fromLatin1(name), QString::fromLatin1(text));
            l->setFont(scaled(l->font(), 1, true));
            grid->addWidget(l, row, 0, name == std::string_view("Label12") ? 2 : 1, 1);
        }
        grid->addWidget(field, row, 1);
        if (bar)
            grid->addWidget(bar, row, 2, Qt::AlignVCenter);
        ++row;
    };
    line("Label12", "           injection time            ", TextE1, BarE1);
    line(nullptr, nullptr, TextE5, BarE5);
    line("Label1", "Vapouriser Temperature", TextTPEau, BarTPEau);
    line("Label2", "Gas Temperature", TextTPGaz, BarTPGaz);
    line("Label3", "Gas Pressure  (bar)", TextPression, BarPression);
    line("Label4", "Lambda", TextLambda, BarLambda);
    line("Label5", "RPM", TextRPM, BarRPM);
    TextGazEtat->setFixedWidth(ReadoutWidth + 10 + TrackWidth);
    grid->addWidget(label(QStringLiteral("Label15"), QStringLiteral("Status Sytem")), row, 0);
    grid->addWidget(TextGazEtat, row++, 1, 1, 2);
    grid->setRowStretch(row, 1);
    return box;
}

QWidget *CalibrationScreen::buildCommands() {
    // Eleven rows with the load calibration's: tight enough that the trims
    // below stay whole in the screen's height.
    QGroupBox *box = group(QStringLiteral("FrameCommands"), QStringLiteral("Calibration"));
    auto *grid = tight(new QGridLayout(box), 10, 5);
    auto big = [](const char *name, const char *text) {
        QPushButton *b = button(QString::fromLatin1(name), QString::fromLatin1(text));
        b->setMinimumHeight(32);
        b->setFont(scaled(b->font(), 1, true));
        return b;
    };
    BtStCalibration = big("BtStCalibration", "Start Calibration              idle          ");
    BtStCalibrationCh = big("BtStCalibrationCh", "Start Calibration     Charge");
    BtCalibrationStop = big("BtCalibrationStop", " Stop Calibration ");
    BtCalibrationSet = big("BtCalibrationSet", "Parametres Calibration");
    BTuploadRalenti = big("BTuploadRalenti", "   Upload ECM   ");
    BTuploadCharge = big("BTuploadCharge", "UpLoad ECM");
    SwitchCommutateur = big("SwitchCommutateur", "Switch");
    BtCalibrationResults = big("BtCalibrationResults", "Results");
    Line3 = decoration(QStringLiteral("Line3"), QFrame::HLine);
    Line4 = decoration(QStringLiteral("Line4"), QFrame::HLine);
    Shape3 = decoration(QStringLiteral("Shape3"), QFrame::Box);
    Shape5 = decoration(QStringLiteral("Shape5"), QFrame::Box);
    for (QFrame *shape : {Shape3, Shape5})
        shape->setFixedHeight(6);
    // Start, upload and stop of the idle calibration, then the load
    // calibration's (framed by its lines and shapes), the fuel switch and
    // the results beside it, and the settings.
    int row = 0;
    for (QWidget *w : std::initializer_list<QWidget *>{
             BtStCalibration, BTuploadRalenti, BtCalibrationStop, Line3, Shape3, BtStCalibrationCh,
             BTuploadCharge, Shape5, Line4})
        grid->addWidget(w, row++, 0, 1, 2);
    grid->addWidget(SwitchCommutateur, row, 0);
    grid->addWidget(BtCalibrationResults, row++, 1);
    grid->addWidget(BtCalibrationSet, row, 0, 1, 2);
    return box;
}

QWidget *CalibrationScreen::buildTrims() {
    QGroupBox *box = group(QStringLiteral("Frame5"), QStringLiteral(" Engine Variables "));
    auto *grid = tight(new QGridLayout(box), 10, 6);
    auto step = [](const char *name, const char *text) {
        return button(QString::fromLatin1(name), QString::fromLatin1(text), monitorui::StepWidth);
    };
    TxCharge = monitorui::trimEdit(QStringLiteral("TxCharge"));
    TxRalenti = monitorui::trimEdit(QStringLiteral("TxRalenti"));
    TxChargeB = monitorui::trimEdit(QStringLiteral("TxChargeB"));
    TxRalentiB = monitorui::trimEdit(QStringLiteral("TxRalentiB"));
    BtCharge1 = step("BtCharge1", "-");
    BtCharge2 = step("BtCharge2", "+");
    BtRalenti1 = step("BtRalenti1", "-");
    BtRalenti2 = step("BtRalenti2", "+");
    BtCharge1B = step("BtCharge1B", "-");
    BtCharge2B = step("BtCharge2B", "+");
    BtRalenti1B = step("BtRalenti1B", "-");
    BtRalenti2B = step("BtRalenti2B", "+");
    // Each bank's rows carry their own captions (the language file names
    // them one by one): bank 1 in column 0, bank 2 in column 4.
    grid->addWidget(label(QStringLiteral("LabelBand1"), QStringLiteral("BAND 1")), 0, 0, 1, 4,
                    Qt::AlignCenter);
    grid->addWidget(label(QStringLiteral("LabelBand2"), QStringLiteral("BAND 2")), 0, 4, 1, 4,
                    Qt::AlignCenter);
    struct Row {
        const char *caption1;
        const char *caption2;
        const char *text;
        QPushButton *m1;
        NumericEdit *f1;
        QPushButton *p1;
        QPushButton *m2;
        NumericEdit *f2;
        QPushButton *p2;
    };
    const Row rows[] = {{"Label28", "Label17", "   CHARGE   ", BtCharge1, TxCharge, BtCharge2,
                         BtCharge1B, TxChargeB, BtCharge2B},
                        {"Label27", "Label13", "       IDLE       ", BtRalenti1, TxRalenti,
                         BtRalenti2, BtRalenti1B, TxRalentiB, BtRalenti2B}};
    int r = 1;
    for (const Row &row : rows) {
        grid->addWidget(label(QString::fromLatin1(row.caption1), QString::fromLatin1(row.text)), r,
                        0);
        grid->addWidget(label(QString::fromLatin1(row.caption2), QString::fromLatin1(row.text)), r,
                        4);
        QWidget *cells[] = {row.m1, row.f1, row.p1, row.m2, row.f2, row.p2};
        for (int c = 0; c < 6; ++c)
            grid->addWidget(cells[c], r, c < 3 ? c + 1 : c + 2);
        ++r;
    }
    BoutonCentrale = button(QStringLiteral("BoutonCentrale"), QStringLiteral("PC -->> ECM"));
    BoutonCentrale->setMinimumHeight(36);
    grid->addWidget(BoutonCentrale, r, 0, 1, 8);
    return box;
}
