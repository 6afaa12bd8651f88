#include "map/proposal_table.h"

#include "ui/layout_parts.h"

#include <QGridLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace {
using monitorui::button;
using monitorui::label;
using monitorui::tight;

const QString Changed = QStringLiteral("background: #FFE08A;");
} // namespace

ProposalTable::ProposalTable(QWidget *parent) : QGroupBox(parent) {
    setObjectName(QStringLiteral("FrameProposal"));
    // Small print and no title: the screen's tables and graph need the room.
    QFont small = font();
    small.setPixelSize(10);
    setFont(small);
    auto *grid = tight(new QGridLayout(this), 2, 0);
    grid->setHorizontalSpacing(1);
    grid->addWidget(label(QStringLiteral("LabelCurrent"), QStringLiteral("Current Dep")), 0, 0);
    grid->addWidget(label(QStringLiteral("LabelProposed"), QStringLiteral("Proposed")), 1, 0);
    grid->addWidget(label(QStringLiteral("LabelDifference"), QStringLiteral("Difference")), 2, 0);
    for (int n = 1; n <= 20; ++n) {
        auto *current = label(QStringLiteral("TxCurrent%1").arg(n), QString());
        auto *proposed = new QLineEdit;
        proposed->setObjectName(QStringLiteral("TxProposed%1").arg(n));
        proposed->setValidator(new QIntValidator(0, mapproposal::EntryMax, proposed));
        proposed->setEnabled(false);
        proposed->setFixedHeight(17);
        auto *difference = label(QStringLiteral("TxDifference%1").arg(n), QString());
        for (QWidget *w : {static_cast<QWidget *>(current), static_cast<QWidget *>(proposed),
                           static_cast<QWidget *>(difference)})
            w->setFixedWidth(34);
        current->setAlignment(Qt::AlignCenter);
        proposed->setAlignment(Qt::AlignCenter);
        difference->setAlignment(Qt::AlignCenter);
        m_current.at(std::size_t(n - 1)) = current;
        m_proposed.at(std::size_t(n - 1)) = proposed;
        m_difference.at(std::size_t(n - 1)) = difference;
        grid->addWidget(current, 0, n);
        grid->addWidget(proposed, 1, n);
        grid->addWidget(difference, 2, n);
        connect(proposed, &QLineEdit::textEdited, this, [this, n] { showDifference(n); });
    }
    BtApplyProposal = button(QStringLiteral("BtApplyProposal"), QStringLiteral("Apply"));
    BtApplyProposal->setFixedHeight(40);
    grid->addWidget(BtApplyProposal, 0, 21, 3, 1);
    setProposal(m_entries);
}

void ProposalTable::setProposal(const std::array<mapproposal::Entry, 20> &entries) {
    for (int n = 1; n <= 20; ++n) {
        const mapproposal::Entry &e = entries.at(std::size_t(n - 1));
        mapproposal::Entry &shown = m_entries.at(std::size_t(n - 1));
        const bool keepTyped =
            shown.hasData && e.hasData && shown.current == e.current && TxProposed(n)->isModified();
        shown = e;
        TxCurrent(n)->setText(QString::number(e.current));
        TxProposed(n)->setEnabled(e.hasData);
        if (!keepTyped) {
            TxProposed(n)->setText(e.hasData ? QString::number(e.proposed) : QString());
            TxProposed(n)->setModified(false);
        }
        showDifference(n);
    }
    BtApplyProposal->setEnabled(
        std::any_of(entries.begin(), entries.end(), [](const auto &e) { return e.hasData; }));
}

std::optional<int> ProposalTable::proposed(int n) const {
    if (!m_entries.at(std::size_t(n - 1)).hasData)
        return std::nullopt;
    bool ok = false;
    const int value = TxProposed(n)->text().toInt(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

void ProposalTable::showDifference(int n) {
    const std::optional<int> value = proposed(n);
    const int diff = value ? *value - m_entries.at(std::size_t(n - 1)).current : 0;
    TxDifference(n)->setText(value ? QString::asprintf("%+d", diff) : QString());
    const QString style = diff != 0 ? Changed : QString();
    TxProposed(n)->setStyleSheet(style);
    TxDifference(n)->setStyleSheet(style);
}
