#pragma once

#include "ecu/memory_map.h"

#include <QLineEdit>

#include <functional>

class QAbstractButton;

// Allowed-key sets of the numeric fields.
namespace keys {
inline const QString Whole = QStringLiteral("0123456789");
inline const QString Decimal = QStringLiteral("0123456789.");
inline const QString SignedWhole = QStringLiteral("0123456789-");
inline const QString SignedDecimal = QStringLiteral("0123456789.-");
// The set a field's row in the memory map names.
inline const QString &of(ecu::Keys set) {
    static const QString none;
    switch (set) {
    case ecu::Keys::Whole:
        return Whole;
    case ecu::Keys::Decimal:
        return Decimal;
    case ecu::Keys::SignedWhole:
        return SignedWhole;
    case ecu::Keys::SignedDecimal:
        return SignedDecimal;
    case ecu::Keys::None:
        break;
    }
    return none;
}
} // namespace keys

// A text field holding the decimal text of one setting. Typed characters
// outside its allowed set are dropped silently (backspace always passes);
// Enter focuses the page's write button and runs it, and never reaches the
// text; every change of the text, typed or set by code, runs the page's
// validation.
class NumericEdit : public QLineEdit {
    Q_OBJECT
  public:
    // allowed: the key set; empty for a field without key filter.
    NumericEdit(const QString &name, const QString &allowed, QWidget *parent = nullptr);

    // The button Enter focuses and clicks (the page's BoutonCentrale).
    void setEnterButton(QAbstractButton *button) { m_enterButton = button; }
    void setEnterAction(std::function<void()> action) { m_enterAction = std::move(action); }
    // The page's validation procedure, run after every change of the text.
    void setChangeHook(std::function<void()> hook) { m_changeHook = std::move(hook); }

    const QString &allowedKeys() const { return m_allowed; }
    double value() const;
    // Sets the text only when it differs, so an unchanged value causes no
    // repaint and no validation.
    void setTextIfChanged(const QString &text);

  protected:
    void keyPressEvent(QKeyEvent *event) override;

  private:
    QString m_allowed;
    QAbstractButton *m_enterButton = nullptr;
    std::function<void()> m_enterAction;
    std::function<void()> m_changeHook;
};

// Runs a page's validation procedure once at a time: a rewrite of a field by
// the validation fires the change hook again, and that nested call is
// skipped, since the pass in progress already leaves every field corrected.
class ValidationGuard {
  public:
    explicit ValidationGuard(std::function<void()> procedure) : m_procedure(std::move(procedure)) {}
    void operator()();

  private:
    std::function<void()> m_procedure;
    bool m_running = false;
};

// The minus (digit 1) / plus (digit 2) buttons beside a field: parse, add or
// subtract the step, write the formatted result (the change hook clamps it),
// replace a decimal comma where the field needs a point, validate, and run
// the page's write.
struct StepButtons {
    NumericEdit *field = nullptr;
    double step = 1.0;
    bool pointReplacement = false;
    std::function<void()> validate;
    std::function<void()> write;

    void press(int direction) const; // -1 minus, +1 plus
};
