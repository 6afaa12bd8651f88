#include "shell/connection_form.h"

#include "files/config_file.h"
#include "link/link.h"
#include "shell/connection_icons.h"
#include "transfer/prog_start_form.h"
#include "ui/app_context.h"
#include "ui/screens.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QToolButton>

namespace {
QToolButton *pictureButton(const char *name, const QIcon &icon, const char *tip, QWidget *parent) {
    auto *b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setIcon(icon);
    b->setIconSize(QSize(28, 28));
    b->setToolTip(QLatin1String(tip));
    b->setAutoRaise(false);
    return b;
}
} // namespace

ConnectionForm::ConnectionForm(AppContext &app, QWidget *parent)
    : Form(QStringLiteral("FnConnection"), QStringLiteral("Connection "), parent), search(app.link),
      m_app(app) {
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(12, 10, 12, 10);
    Label1 = new QLabel(QStringLiteral("Selection of the port serial "), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setMinimumWidth(120);
    // A port the list does not show (not plugged in yet, or beyond what the
    // list tried) can be typed: "7", "COM 27".
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("^ *([Cc][Oo][Mm] *)?[0-9]{0,3} *$|^ No Rs232 $")),
        Combo1));
    Command1 = new QPushButton(QStringLiteral("   Validate    "), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command3 = pictureButton("Command3", connection_icons::validate(), "Validate the port", this);
    Actualise = pictureButton("Actualise", connection_icons::refresh(), "Refresh the list", this);
    Command4 = pictureButton("Command4", connection_icons::search(), "Search the ECU", this);
    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setMinimumHeight(110);

    grid->addWidget(Label1, 0, 0, 1, 4);
    grid->addWidget(Combo1, 1, 0);
    grid->addWidget(Command3, 1, 1);
    grid->addWidget(Actualise, 1, 2);
    grid->addWidget(Command4, 1, 3);
    grid->addWidget(Command1, 2, 0, 1, 4);
    grid->addWidget(Text1, 3, 0, 1, 4);
    grid->setColumnStretch(0, 1);

    connect(Command1, &QPushButton::clicked, this, &ConnectionForm::Command1_Click);
    connect(Command3, &QToolButton::clicked, this, &ConnectionForm::Command1_Click);
    connect(Actualise, &QToolButton::clicked, this, &ConnectionForm::Actualise_Click);
    connect(Command4, &QToolButton::clicked, this, &ConnectionForm::Command4_Click);
    connect(&search, &PortSearch::logged, this, [this](const QString &line) {
        Text1->moveCursor(QTextCursor::End);
        Text1->insertPlainText(QString(line).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    });
    connect(&search, &PortSearch::found, this, &ConnectionForm::searchFound);
}

void ConnectionForm::Form_Load() {
    fillList();
}

// A search does not run on behind a closed form.
void ConnectionForm::Form_Unload() {
    search.TimerTestCom.stop();
}

void ConnectionForm::fillList() {
    Combo1->clear();
    Combo1->addItems(search.buildList());
    Combo1->setCurrentIndex(0);
}

void ConnectionForm::Actualise_Click() {
    m_app.link.ClosePort();
    fillList();
}

void ConnectionForm::Command1_Click() {
    Link &link = m_app.link;
    link.ClosePort();
    hideForm();
    const QString chosen = Combo1->currentText();
    // A typed text is read without its blanks; a list entry as it stands.
    link.setPortNumber(
        PortSearch::entryPort(Combo1->findText(chosen) >= 0 ? chosen : chosen.trimmed()));
    const bool opened = link.OpenPort();
    ConfigFile(m_app.ProgramDir).rememberPort(link.state.PortNumber);
    // Before the first read the fitter goes on from the data-loading form.
    if (opened && !link.state.DataLoaded)
        m_app.screens.startForm->showForm();
}

void ConnectionForm::Command4_Click() {
    Actualise_Click();
    search.start();
}

void ConnectionForm::searchFound(int port) {
    ConfigFile(m_app.ProgramDir).rememberPort(port);
    // The list shows the port found, so that Validate keeps it.
    Combo1->setCurrentIndex(Combo1->findText(PortSearch::entryText(port)));
    m_app.link.StartFullRead();
    hideForm();
}
