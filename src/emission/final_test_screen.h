#pragma once

#include "ui/form.h"

#include <QStringList>

#include <array>

class QLineEdit;
class QPushButton;
struct AppContext;

// FnFinTeste: the result block of the last emission test, twelve signed
// values and the cycle count, shown from the image, edited and written.
class FinalTestScreen : public Form {
    Q_OBJECT
  public:
    explicit FinalTestScreen(AppContext &app, QWidget *parent = nullptr);

    // The fields from the image.
    void ShowValue();
    // Encodes the fields and writes the block; a value the block cannot hold
    // is named in a message and nothing is written.
    void BoutonCentrale_Click();
    // Reads the block. The fields show the image at once, and again when
    // the ECU's answer has been decoded.
    void BoutonPC_Click();

    // Text1..Text12 (n = 1..12).
    QLineEdit *Text(int n) const { return m_values.at(std::size_t(n - 1)); }

    QLineEdit *TxCycle;
    QPushButton *BoutonCentrale;
    QPushButton *BoutonPC;

  Q_SIGNALS:
    // The result block the ECU answered a read with, or acknowledged
    // writing: Text1..Text12 then the cycle count, as the fields show them.
    void resultsTransferred(const QStringList &texts);

  private:
    QStringList fieldTexts() const;

    AppContext &m_app;
    std::array<QLineEdit *, 12> m_values{};
    bool m_awaitingAnswer = false;
};
