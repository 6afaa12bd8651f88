// The level sensor page as the fitter sees it: the sensor's range and the
// live readings, the thresholds beside their lamps like a tank gauge, and
// the presets, files and transfer buttons on the right.
#include "pages/level_page.h"
#include "pages/main_parameters_widgets.h"
#include "settings/level_percent.h"
#include "ui/shape.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int LampSize = 24;
// Wide enough for a percentage written with all its digits.
constexpr int PercentWidth = 190;

Shape *lamp(const char *name, int colour) {
    auto *s = new Shape(QString::fromLatin1(name), Shape::Kind::Circle);
    s->setFixedSize(LampSize, LampSize);
    s->setFillColor(colour);
    return s;
}

QFrame *separator() {
    auto *line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

QLabel *LevelPage::label(const char *name, const char *caption) {
    auto *l = new QLabel(QString::fromLatin1(caption));
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

NumericEdit *LevelPage::setting(const char *name) {
    auto *field = new NumericEdit(QString::fromLatin1(name), keys::Whole);
    field->setFixedSize(pagelayout::FieldWidth, pagelayout::RowHeight);
    field->setEnterButton(BoutonCentrale);
    field->setEnterAction([this] { BoutonCentrale_Click(); });
    field->setChangeHook([this] { TestValeurNiveau(); });
    return field;
}

QWidget *LevelPage::sensorFrame() {
    auto *frame = pagelayout::frame("Frame3", " Level sensor");
    auto *columns = new QHBoxLayout(frame);
    auto *range = new QWidget;
    auto *grid = new QGridLayout(range);
    grid->setContentsMargins(0, 0, 12, 0);
    grid->setVerticalSpacing(8);
    grid->addWidget(label("Label3", "   Range correction   "), 0, 0);
    grid->addWidget(TxNiveauPWM, 0, 1);
    grid->addWidget(label("Label23", "     Minimum value     "), 1, 0);
    grid->addWidget(TxNiveauMin, 1, 1);
    grid->addWidget(label("Label5", "     Maximum value     "), 2, 0);
    grid->addWidget(TxNiveauMax, 2, 1);
    grid->addWidget(separator(), 3, 0, 1, 4);
    auto *heading = label("Label6", "    immediate value  %  ");
    grid->addWidget(heading, 4, 2, 1, 2, Qt::AlignRight);
    grid->addWidget(label("Label4", "     immediate value    "), 5, 0);
    grid->addWidget(TxNiveauImediat, 5, 1);
    grid->addWidget(TxNiveau100, 5, 2);
    grid->addWidget(label("Label7", " %  "), 5, 3);
    grid->addWidget(label("Label1", "     Average value     "), 6, 0);
    grid->addWidget(TxNiveauMoyen, 6, 1);
    grid->addWidget(TxNiveau100_2, 6, 2);
    grid->addWidget(pagelayout::unit(" %  "), 6, 3);
    grid->setRowStretch(7, 1);
    columns->addWidget(range);
    columns->addSpacing(24);
    columns->addWidget(thresholdColumn());
    columns->addStretch(1);
    return frame;
}

// The thresholds from full at the top to 1/4, each beside the lamp that
// lights from it up; the red reserve lamp at the bottom.
QWidget *LevelPage::thresholdColumn() {
    auto *column = new QWidget;
    auto *grid = new QGridLayout(column);
    grid->setContentsMargins(12, 0, 0, 0);
    grid->setVerticalSpacing(8);
    grid->addWidget(label("Label2", "       Values       "), 0, 0, 1, 3, Qt::AlignCenter);
    const std::array<Shape *, 5> leds = {led1, led2, led3, led4, led5};
    const std::array<NumericEdit *, 4> fields = {TxNiveau4, TxNiveau3, TxNiveau2, TxNiveau1};
    const std::array<QLabel *, 4> captions = {label("Label10", "1"), label("Label11", "3 / 4"),
                                              label("Label12", "1 / 2"), label("Label13", "1 / 4")};
    for (int i = 0; i < 5; ++i) {
        grid->addWidget(leds[static_cast<std::size_t>(i)], i + 1, 0, Qt::AlignCenter);
        if (i < 4) {
            grid->addWidget(captions[static_cast<std::size_t>(i)], i + 1, 1, Qt::AlignRight);
            grid->addWidget(fields[static_cast<std::size_t>(i)], i + 1, 2);
        }
    }
    grid->setColumnMinimumWidth(1, 48);
    grid->setRowStretch(6, 1);
    return column;
}

QWidget *LevelPage::rightColumn() {
    auto *column = new QWidget;
    auto *box = new QVBoxLayout(column);
    box->setContentsMargins(0, 0, 0, 0);

    auto *presets = pagelayout::frame("Frame5", "Default");
    auto *presetButtons = new QVBoxLayout(presets);
    for (QPushButton *b : {Predef1, Predef2, Predef3})
        presetButtons->addWidget(b);
    box->addWidget(presets);

    auto *files = pagelayout::frame("Frame4", "");
    auto *fileButtons = new QVBoxLayout(files);
    fileButtons->addWidget(SenosorLoad);
    fileButtons->addWidget(SensorSave);
    box->addWidget(files);

    auto *download = pagelayout::frame("Frame2", "Download");
    auto *transfer = new QVBoxLayout(download);
    transfer->addWidget(BoutonCentrale);
    transfer->addWidget(BoutonPC);
    box->addWidget(download);
    box->addStretch(1);
    return column;
}

void LevelPage::buildForm() {
    using pagelayout::button;
    BoutonCentrale = button("BoutonCentrale", "PC -->> ECM");
    BoutonPC = button("BoutonPC", "ECM -->> PC");
    Predef1 = button("Predef1", "0 - 90 Ohms Livello");
    Predef2 = button("Predef2", "0 - 90 Ohms AEB");
    Predef3 = button("Predef3", "10 - 50   AEB");
    SenosorLoad = button("SenosorLoad", "Charger");
    SensorSave = button("SensorSave", "Sauvegarder");
    BtPagePreced = button("BtPagePreced", "        <<  Previous         ");
    BtPageSuivante = button("BtPageSuivante", "  Page suivante >>");
    TxNiveauPWM = setting("TxNiveauPWM");
    TxNiveauMin = setting("TxNiveauMin");
    TxNiveauMax = setting("TxNiveauMax");
    TxNiveau1 = setting("TxNiveau1");
    TxNiveau2 = setting("TxNiveau2");
    TxNiveau3 = setting("TxNiveau3");
    TxNiveau4 = setting("TxNiveau4");
    TxNiveauImediat = pagelayout::computedField("TxNiveauImediat");
    TxNiveau100 = pagelayout::resultField("TxNiveau100", PercentWidth);
    TxNiveauMoyen = pagelayout::computedField("TxNiveauMoyen");
    TxNiveau100_2 = pagelayout::resultField("TxNiveau100_2", PercentWidth);
    led1 = lamp("led1", level::lamp::GreenOff);
    led2 = lamp("led2", level::lamp::GreenOff);
    led3 = lamp("led3", level::lamp::GreenOff);
    led4 = lamp("led4", level::lamp::GreenOff);
    led5 = lamp("led5", level::lamp::RedOff);

    pagelayout::setUpPage(this);
    auto *page = pagelayout::frame("Frame1", " Parameters");
    auto *columns = new QHBoxLayout(page);
    columns->addWidget(sensorFrame(), 3, Qt::AlignTop);
    columns->addWidget(rightColumn(), 1);
    auto *chain = new QHBoxLayout;
    chain->addWidget(BtPagePreced);
    chain->addStretch(1);
    chain->addWidget(BtPageSuivante);
    auto *outer = new QVBoxLayout(this);
    outer->addWidget(page);
    outer->addLayout(chain);

    const QList<std::pair<QPushButton *, void (LevelPage::*)()>> handlers = {
        {Predef1, &LevelPage::Predef1_Click},
        {Predef2, &LevelPage::Predef2_Click},
        {Predef3, &LevelPage::Predef3_Click},
        {SenosorLoad, &LevelPage::SenosorLoad_Click},
        {SensorSave, &LevelPage::SensorSave_Click}};
    for (const auto &[b, handler] : handlers)
        connect(b, &QPushButton::clicked, this, [this, h = handler] { (this->*h)(); });
    connectButtons();
}
