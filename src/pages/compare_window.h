#pragma once

#include "ecu/memory_image.h"

#include <QWidget>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
struct AppContext;

// Compare: the configuration in the tool (as read from the ECU or loaded
// from a file) or a memory file, against another memory file; the
// differences listed by setting with both values as the pages show them.
class CompareWindow : public QWidget {
    Q_OBJECT
  public:
    explicit CompareWindow(AppContext &app, QWidget *parent = nullptr);

    // Side 0 is A, 1 is B. An empty path stands for the configuration in
    // the tool.
    void setSource(int side, const QString &path);
    QString source(int side) const;

    QLineEdit *TxSourceA, *TxSourceB;
    QPushButton *BtEcuA, *BtFileA, *BtEcuB, *BtFileB, *BtCompare;
    QTreeWidget *ListDifferences;
    QLabel *TxSummary;

  public Q_SLOTS:
    void BtCompare_Click();

  private:
    std::optional<MemoryImage> load(int side);
    void chooseFile(int side);
    void caption();

    AppContext &m_app;
    QString m_paths[2];
};
