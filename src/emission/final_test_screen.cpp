#include "emission/final_test_screen.h"

#include "link/frames.h"
#include "link/link.h"
#include "settings/result_block.h"
#include "ui/acknowledgement.h"
#include "ui/app_context.h"
#include "ui/dialogs.h"
#include "ui/page_parts.h"
#include "ui/screens.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QLineEdit *valueField(const QString &name, QWidget *parent) {
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setFixedWidth(56);
    e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return e;
}
} // namespace

FinalTestScreen::FinalTestScreen(AppContext &app, QWidget *parent)
    : Form(QStringLiteral("FnFinTeste"), QStringLiteral("Fin de teste "), parent), m_app(app) {
    auto *column = new QVBoxLayout(this);
    auto *groups = new QHBoxLayout;
    // Text1..Text6 hold the idle results, Text7..Text12 the load results.
    for (int g = 0; g < 2; ++g) {
        const QString caption = g == 0 ? QStringLiteral("Ralenti") : QStringLiteral("Charge");
        QGroupBox *box = pageparts::frame(QStringLiteral("Frame") + caption, caption, this);
        auto *grid = new QGridLayout(box);
        for (int i = 0; i < 6; ++i) {
            const int n = 6 * g + i + 1;
            QLineEdit *e = valueField(QStringLiteral("Text") + QString::number(n), box);
            m_values.at(std::size_t(n - 1)) = e;
            grid->addWidget(pageparts::label(QStringLiteral("LabelText") + QString::number(n),
                                             QString::number(i + 1), box),
                            i, 0);
            grid->addWidget(e, i, 1);
        }
        groups->addWidget(box);
    }
    column->addLayout(groups);

    auto *cycles = new QHBoxLayout;
    cycles->addWidget(
        pageparts::label(QStringLiteral("LabelCycle"), QStringLiteral("Cycles"), this));
    TxCycle = valueField(QStringLiteral("TxCycle"), this);
    cycles->addWidget(TxCycle);
    cycles->addStretch(1);
    column->addLayout(cycles);

    const pageparts::Download d = pageparts::download(this);
    BoutonCentrale = d.BoutonCentrale;
    BoutonPC = d.BoutonPC;
    BoutonPC->setText(QStringLiteral("     ECU -->> PC     "));
    column->addWidget(d.frame);

    connect(BoutonCentrale, &QPushButton::clicked, this, &FinalTestScreen::BoutonCentrale_Click);
    connect(BoutonPC, &QPushButton::clicked, this, &FinalTestScreen::BoutonPC_Click);
    connect(&m_app.link, &Link::dataDecoded, this, [this](int address, int count) {
        if (!m_awaitingAnswer || address > results::FirstAddress ||
            address + count < results::CycleAddress + 1)
            return;
        m_awaitingAnswer = false;
        ShowValue();
        Q_EMIT resultsTransferred(fieldTexts());
    });
}

void FinalTestScreen::ShowValue() {
    const results::Texts texts = results::decode(m_app.link.image);
    for (int n = 1; n <= results::ValueCount; ++n)
        Text(n)->setText(texts.at(std::size_t(n - 1)));
    TxCycle->setText(texts.at(results::CycleText));
}

void FinalTestScreen::BoutonCentrale_Click() {
    results::Texts texts;
    for (int n = 1; n <= results::ValueCount; ++n)
        texts.at(std::size_t(n - 1)) = Text(n)->text();
    texts.at(results::CycleText) = TxCycle->text();
    if (const auto refusal = results::encode(texts, m_app.link.image)) {
        m_app.dialogs.warning(results::refusalText(*refusal));
        return;
    }
    m_app.link.WriteBlock(frames::WriteFinalTest);
    acknowledgement::whenAcknowledged(
        m_app.link, acknowledgement::Write::Block, this,
        [this, written = fieldTexts()] { Q_EMIT resultsTransferred(written); });
}

QStringList FinalTestScreen::fieldTexts() const {
    QStringList out;
    for (int n = 1; n <= results::ValueCount; ++n)
        out.append(Text(n)->text());
    out.append(TxCycle->text());
    return out;
}

void FinalTestScreen::BoutonPC_Click() {
    m_app.link.poll.stopWatchdog();
    m_app.link.poll.stop();
    m_awaitingAnswer = true;
    m_app.link.SendLine(frames::FinalTestRead.toByteArray());
    ShowValue();
}
