#include "pages/ntc_page.h"

#include "link/frames.h"
#include "link/link.h"
#include "settings/ntc_table.h"
#include "ui/app_context.h"
#include "ui/page_parts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

using namespace pageparts;

namespace {
constexpr int FieldWidth = 46;

QLabel *centred(const QString &name, const QString &text, QWidget *parent) {
    QLabel *l = label(name, text, parent);
    l->setAlignment(Qt::AlignCenter);
    return l;
}
} // namespace

NtcPage::NtcPage(AppContext &app, QWidget *parent)
    : ParameterPage(
          QStringLiteral("FnParametres4"), QStringLiteral("NTC"), app,
          {.previous = Turn{2, 3, {}, false}, .next = Turn{4, 4, frames::SecondLivePoll, true}},
          parent) {
    fitScreenArea(this);
    auto *column = new QVBoxLayout(this);
    QVBoxLayout *inside = parametersFrame(column, QStringLiteral("NTC"), this);
    inside->addWidget(makeTable(
        QStringLiteral("FrameEau"), QStringLiteral(" NTC capteur de temperature EAU"),
        QStringLiteral("IndexNE"), QStringLiteral("TxTbEau"), IndexNE, TxTbEau, HScroll1));
    inside->addWidget(makeTable(
        QStringLiteral("FrameGaz"), QStringLiteral(" NTC capteur de temperature GAZ"),
        QStringLiteral("IndexGE"), QStringLiteral("TxTbGaz"), IndexGE, TxTbGaz, HScroll2));
    column->addStretch(1);

    addBottomRow(column);
    BoutonCentrale->setEnabled(false);

    connect(HScroll1, &QScrollBar::valueChanged, this, [this] { HScroll1_Change(); });
    connect(HScroll2, &QScrollBar::valueChanged, this, [this] { HScroll2_Change(); });
}

QGroupBox *NtcPage::makeTable(const QString &name, const QString &caption, const QString &indexStem,
                              const QString &valueStem, std::array<QLabel *, 18> &index,
                              std::array<QLineEdit *, 18> &values, QScrollBar *&scroll) {
    QGroupBox *box = frame(name, caption, this);
    auto *grid = new QGridLayout(box);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    const int span = ntc::WindowSize;
    grid->addWidget(
        centred(name + QStringLiteral("Index"), QStringLiteral("<< -- Byte Valeur -->>"), box), 0,
        0, 1, span);
    grid->addWidget(
        centred(name + QStringLiteral("Valeur"), QStringLiteral("<< -- Temperature °C -->>"), box),
        3, 0, 1, span);
    for (int k = 0; k < ntc::WindowSize; ++k) {
        index.at(static_cast<std::size_t>(k)) =
            centred(indexStem + QString::number(k), QStringLiteral("000"), box);
        grid->addWidget(index.at(static_cast<std::size_t>(k)), 1, k);
        QLineEdit *value = display(valueStem + QString::number(k + 1), FieldWidth, box);
        enlarge(value);
        values.at(static_cast<std::size_t>(k)) = value;
        grid->addWidget(value, 2, k);
    }
    scroll = new QScrollBar(Qt::Horizontal, box);
    scroll->setObjectName(name == QLatin1String("FrameEau") ? QStringLiteral("HScroll1")
                                                            : QStringLiteral("HScroll2"));
    scroll->setRange(0, ntc::ScrollMax);
    scroll->setPageStep(ntc::WindowSize);
    grid->addWidget(scroll, 4, 0, 1, span);
    return box;
}

void NtcPage::showEvent(QShowEvent *event) {
    ParameterPage::showEvent(event);
    PutIndexNTCE();
    PutIndexNTCG();
}

void NtcPage::Form_Load() {
    PutIndexNTCE();
    PutIndexNTCG();
}

void NtcPage::showWindow(const Window &w) {
    const int s = w.scroll->value();
    for (int k = 1; k <= ntc::WindowSize; ++k) {
        const auto slot = static_cast<std::size_t>(k - 1);
        setCaption(w.index->at(slot), QString::number(ntc::indexLabel(s, k)));
        setText(w.values->at(slot),
                QString::number(ntc::windowEntry(m_app.link.image, w.base, s, k)));
    }
}

void NtcPage::PutIndexNTCE() {
    showWindow({HScroll1, &IndexNE, &TxTbEau, ntc::CoolantBase});
}

void NtcPage::PutIndexNTCG() {
    showWindow({HScroll2, &IndexGE, &TxTbGaz, ntc::GasBase});
}
