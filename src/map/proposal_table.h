#pragma once

#include "tuning/map_proposal.h"

#include <QGroupBox>

#include <array>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

// The proposed depression-table correction, entry by entry: the current
// value, the proposal (which the fitter may still edit) and the difference.
// Entries the proposal moves are highlighted; entries without data on both
// fuels show no proposal and are left alone by "Apply". Each entry's cells
// stand under that entry's field of the table, "Apply" under the last ones.
class ProposalTable : public QGroupBox {
    Q_OBJECT
  public:
    explicit ProposalTable(QWidget *parent = nullptr);

    // Shows a fresh proposal; an entry the fitter edited is kept as typed
    // while its current value is unchanged.
    void setProposal(const std::array<mapproposal::Entry, 20> &entries);
    // The value "Apply" writes into entry n (1..20); nothing without data.
    std::optional<int> proposed(int n) const;
    // The table fields the cells line up with, entry 1 first; followed as
    // they move.
    void alignTo(const QList<QWidget *> &fields);

    // n = 1..20.
    QLabel *TxCurrent(int n) const { return m_current.at(std::size_t(n - 1)); }
    QLineEdit *TxProposed(int n) const { return m_proposed.at(std::size_t(n - 1)); }
    QLabel *TxDifference(int n) const { return m_difference.at(std::size_t(n - 1)); }
    QPushButton *BtApplyProposal;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

  private:
    void showDifference(int n);
    void placeCells();

    QList<QWidget *> m_fields;
    std::array<QLabel *, 3> m_rowLabels{};

    std::array<mapproposal::Entry, 20> m_entries{};
    std::array<QLabel *, 20> m_current{};
    std::array<QLineEdit *, 20> m_proposed{};
    std::array<QLabel *, 20> m_difference{};
};
