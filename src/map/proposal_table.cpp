#include "map/proposal_table.h"

#include "ui/layout_parts.h"

#include <QEvent>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace {
using monitorui::button;
using monitorui::label;

const QString Changed = QStringLiteral("background: #FFE08A;");
constexpr int RowHeight = 18;
} // namespace

ProposalTable::ProposalTable(QWidget *parent) : QGroupBox(parent) {
    setObjectName(QStringLiteral("FrameProposal"));
    // Small print and no title: the screen's tables and graph need the room.
    QFont small = font();
    small.setPixelSize(10);
    setFont(small);
    const struct {
        const char *name, *caption;
    } rows[] = {
        {"LabelCurrent", "Current"}, {"LabelProposed", "Proposed"}, {"LabelDifference", "Diff."}};
    for (std::size_t r = 0; r < m_rowLabels.size(); ++r)
        m_rowLabels.at(r) =
            label(QString::fromLatin1(rows[r].name), QString::fromLatin1(rows[r].caption), this);
    for (int n = 1; n <= 20; ++n) {
        auto *current = label(QStringLiteral("TxCurrent%1").arg(n), QString(), this);
        auto *proposed = new QLineEdit(this);
        proposed->setObjectName(QStringLiteral("TxProposed%1").arg(n));
        proposed->setValidator(new QIntValidator(0, mapproposal::EntryMax, proposed));
        proposed->setEnabled(false);
        auto *difference = label(QStringLiteral("TxDifference%1").arg(n), QString(), this);
        current->setAlignment(Qt::AlignCenter);
        proposed->setAlignment(Qt::AlignCenter);
        difference->setAlignment(Qt::AlignCenter);
        m_current.at(std::size_t(n - 1)) = current;
        m_proposed.at(std::size_t(n - 1)) = proposed;
        m_difference.at(std::size_t(n - 1)) = difference;
        connect(proposed, &QLineEdit::textEdited, this, [this, n] { showDifference(n); });
    }
    BtApplyProposal = button(QStringLiteral("BtApplyProposal"), QStringLiteral("Apply"));
    BtApplyProposal->setParent(this);
    setFixedHeight(4 * RowHeight + 8);
    setProposal(m_entries);
}

void ProposalTable::alignTo(const QList<QWidget *> &fields) {
    // The fields move inside their frame, the frame inside the screen.
    m_fields = fields;
    for (QWidget *w : fields)
        w->installEventFilter(this);
    if (!fields.isEmpty() && fields.front()->parentWidget())
        fields.front()->parentWidget()->installEventFilter(this);
    placeCells();
}

bool ProposalTable::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize)
        placeCells();
    return QGroupBox::eventFilter(watched, event);
}

void ProposalTable::resizeEvent(QResizeEvent *event) {
    QGroupBox::resizeEvent(event);
    placeCells();
}

// Three rows of cells under the fields, the row captions left of the first
// one and "Apply" on a fourth row, right-aligned under the last entries.
void ProposalTable::placeCells() {
    if (m_fields.size() != 20 || !m_fields.front()->parentWidget())
        return;
    const auto column = [this](int n) {
        const QWidget *field = m_fields.at(n - 1);
        return QRect(mapFromGlobal(field->mapToGlobal(QPoint(0, 0))), field->size());
    };
    const int firstLeft = column(1).left();
    for (std::size_t r = 0; r < m_rowLabels.size(); ++r)
        m_rowLabels.at(r)->setGeometry(2, 2 + int(r) * RowHeight, std::max(firstLeft - 4, 0),
                                       RowHeight - 1);
    for (int n = 1; n <= 20; ++n) {
        const QRect c = column(n);
        TxCurrent(n)->setGeometry(c.left(), 2, c.width(), RowHeight - 1);
        TxProposed(n)->setGeometry(c.left(), 2 + RowHeight, c.width(), RowHeight - 1);
        TxDifference(n)->setGeometry(c.left(), 2 + 2 * RowHeight, c.width(), RowHeight - 1);
    }
    const int right = column(20).right();
    const int left = column(17).left();
    BtApplyProposal->setGeometry(left, 2 + 3 * RowHeight, right - left + 1, RowHeight + 3);
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
