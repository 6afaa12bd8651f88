#include "emission/emission_screen.h"

#include "emission/final_test_screen.h"
#include "emission/test_clock.h"
#include "emission/time_graph.h"
#include "link/frames.h"
#include "link/link.h"
#include "settings/number_format.h"
#include "ui/app_context.h"
#include "ui/dialogs.h"
#include "ui/numeric_edit.h"
#include "ui/screens.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

using schedule::Column;

EmissionScreen::EmissionScreen(AppContext &app, QWidget *parent)
    : Form(QStringLiteral("FnEmi"), QStringLiteral("Emission teste"), parent), m_app(app) {
    auto *column = new QVBoxLayout(this);
    column->addWidget(makeGrid());
    column->addLayout(makeClock());
    column->addLayout(makeButtons());

    Temp.setInterval(1000);
    connect(&Temp, &QTimer::timeout, this, &EmissionScreen::Temp_Timer);
    connect(HScroll2, &QScrollBar::valueChanged, this, &EmissionScreen::PutIndexTBemi);
    connect(HScroll1, &QScrollBar::valueChanged, this, &EmissionScreen::HScroll1_Change);
    connect(EmiStart, &QPushButton::clicked, this, &EmissionScreen::EmiStart_Click);
    connect(BtStop, &QPushButton::clicked, this, &EmissionScreen::BtStop_Click);
    connect(Btreset, &QPushButton::clicked, this, &EmissionScreen::Btreset_Click);
    connect(Command1, &QPushButton::clicked, this, &EmissionScreen::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &EmissionScreen::Command2_Click);
    connect(BoutonPC, &QPushButton::clicked, this, &EmissionScreen::BoutonPC_Click);
    connect(BoutonCentrale, &QPushButton::clicked, this, &EmissionScreen::BoutonCentrale_Click);

    // The schedule read started here ends with the grid showing what came in.
    Link &link = m_app.link;
    connect(&link, &Link::fullReadCompleted, this, [this] {
        if (!m_readingSchedule)
            return;
        setReadingSchedule(false);
        scheduleKnown(ScheduleSource::ReadFromEcu);
    });
    for (auto ended : {&Link::fullReadTimedOut, &Link::fullReadStopped, &Link::fullReadAbandoned})
        connect(&link, ended, this, [this] { setReadingSchedule(false); });
    connect(&link, &Link::portOpened, this, [this] {
        if (m_source == ScheduleSource::ReadFromEcu)
            scheduleKnown(ScheduleSource::Unknown);
    });
}

NumericEdit *EmissionScreen::cell(Column column, int k) const {
    return m_cells.at(std::size_t(column)).at(std::size_t(k - 1));
}

// A clock the monitor's Start set going keeps running when the screen
// opens; closing the screen stops it.
void EmissionScreen::Form_Load() {
    place(0, 950);
    PutIndexTBemi();
    Temp.start();
    readScheduleIfUnknown();
}

void EmissionScreen::Form_Unload() {
    EmissionTestRunning = false;
}

void EmissionScreen::EmiStart_Click() {
    EmissionTestRunning = true;
    if (!Temp.isActive())
        Temp.start();
}

void EmissionScreen::scheduleSetByFitter() {
    scheduleKnown(ScheduleSource::SetByFitter);
}

void EmissionScreen::scheduleKnown(ScheduleSource source) {
    m_source = source;
    PutIndexTBemi();
}

void EmissionScreen::setReadingSchedule(bool reading) {
    m_readingSchedule = reading;
    for (QPushButton *button : {Command1, BoutonCentrale, BoutonPC})
        button->setEnabled(!reading);
}

void EmissionScreen::readScheduleIfUnknown() {
    if (!isScheduleKnown() && !m_readingSchedule && m_app.link.state.PortIsOpen)
        BoutonPC_Click();
}

// The grid shows only what the ECU sent or the fitter set: until the
// schedule is known its cells are empty and closed to typing.
void EmissionScreen::PutIndexTBemi() {
    const int s = HScroll2->value();
    for (int k = 1; k <= schedule::VisibleRows; ++k)
        IndexGE(k - 1)->setText(QString::number(s + k));
    for (Column column : schedule::Columns) {
        for (int k = 1; k <= schedule::VisibleRows; ++k) {
            NumericEdit *edit = cell(column, k);
            edit->setEnabled(isScheduleKnown());
            edit->setTextIfChanged(isScheduleKnown() ? QString::number(schedule::decode(
                                                           m_app.link.image, column, s + k - 1))
                                                     : QString());
        }
    }
}

void EmissionScreen::PressEntree() {
    BoutonCentrale->setFocus(Qt::OtherFocusReason);
}

void EmissionScreen::cellEntered(Column column, int k) {
    const int value = schedule::enteredValue(cell(column, k)->text(), column);
    schedule::encode(m_app.link.image, column, HScroll2->value() + k - 1, value);
    PutIndexTBemi();
    PressEntree();
}

void EmissionScreen::HScroll1_Change() {
    TxTemps->setText(QString::number(HScroll1->value()));
    Picture1->setPointeur(HScroll1->value());
}

void EmissionScreen::Temp_Timer() {
    if (!EmissionTestRunning)
        return;
    const QString next = testclock::tick(TxTemps->text());
    TxTemps->setText(next);
    const double seconds = number::parse(next);
    Picture1->setPointeur(seconds);
    if (testclock::scrollFollows(seconds))
        HScroll1->setValue(int(seconds));
}

void EmissionScreen::Btreset_Click() {
    TxTemps->setText(QStringLiteral("0"));
    Picture1->setPointeur(0);
}

void EmissionScreen::Command1_Click() {
    schedule::initialise(m_app.link.image);
    scheduleSetByFitter();
}

void EmissionScreen::Command2_Click() {
    FinalTestScreen *finalTest = m_app.screens.finalTestScreen;
    finalTest->ShowValue();
    finalTest->showForm();
}

void EmissionScreen::BoutonPC_Click() {
    m_app.link.poll.stopWatchdog();
    m_app.link.poll.stop();
    setReadingSchedule(true);
    m_app.link.StartFullRead(schedule::ScheduleBlockEnd);
}

// The whole configuration goes out block by block, the schedule with it, up
// to its last byte and never beyond: the states block runs on into the
// final test's first sign flag, which this screen never read, so the upload
// stops short of it.
void EmissionScreen::BoutonCentrale_Click() {
    if (!isScheduleKnown()) {
        readScheduleIfUnknown();
        m_app.dialogs.information(
            QStringLiteral("Nothing was written to the ECU: the emission schedule has not been "
                           "read from it, so the times, idle, load and state values of its 50 "
                           "entries are not known. \"ECU -->> PC\" reads them, "
                           "\"Initialisation\" sets them all; then the write sends the "
                           "configuration and the whole schedule, never the final test results."));
        return;
    }
    m_app.link.StartUpload(2, schedule::ScheduleBlockEnd, schedule::LastAddress);
}
